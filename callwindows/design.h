// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The look of the program's windows: the suite's design helpers, and the
// design colours read as the program reads every setting (a bad value is
// logged and its default used).
#include "core/settingkeys.h"
#include "platform/design.h"

#include <QString>

namespace tlm::design {

// A setting holding a colour, with its default when it is missing or bad.
QColor colourSetting(keys::Key key);

} // namespace tlm::design
