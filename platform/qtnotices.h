// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Qt's platform plugins report what they cannot do ("This plugin does not
// support raise()") as warnings. Such a notice says nothing to the person
// who reads a run's output; every other message, ours and Qt's real errors,
// passes unchanged.
#include <QString>
#include <QtGlobal>

namespace tlm::gui {

// True for a platform plugin's notice about a window operation it lacks.
bool isPlatformNotice(QtMsgType type, const QString& message);

// Puts a message handler in front of the one installed so far that drops
// the platform notices and hands every other message on.
void filterPlatformNotices();

} // namespace tlm::gui
