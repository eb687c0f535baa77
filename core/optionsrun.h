// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The run's state as the options window changes it. The window asks and
// these write, so that no window writes into the run itself.
#include "core/settingkeys.h"

namespace tlm {

struct Run;

namespace optionsrun {

// Attaches to Outlook and its MAPI namespace; raises as outlook::attach does.
void attachOutlook(Run& run);
// The screen's work area now, for the window positions the window offers.
void readWorkArea(Run& run);
// A call setting that takes effect at once as the window loads it; key must
// be one the run keeps as a number.
void takeSetting(Run& run, keys::Key key, int value);
// Journal or calendar mode, as the window shows it.
void setCalendarMode(Run& run, bool calendar);

} // namespace optionsrun
} // namespace tlm
