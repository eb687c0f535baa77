// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The call-time windows that the call processing shows modally. The windows
// layer registers them; core knows them only through these hooks. Without a
// registered window the processing goes on as if the window had been
// cancelled (contact choice) or closed by its close box (end of call).
#include <QString>
#include <functional>

namespace tlm {

struct Run;

struct CallDialogs {
    // frmGefunden: sets run.chosenEntryId, run.lookup (current contact,
    // matched field, found count) and the per-call file.
    std::function<void(Run&)> contactChoice = {};
    // frmGEnde: sets run.closeItems.
    std::function<void(Run&)> callEnd = {};
    // frmKontaktAbgleich, shown without waiting: true when it opened, and
    // the process then lives on until it closes.
    std::function<bool(Run&)> contactReconciliation = {};
};

void setCallDialogs(CallDialogs dialogs);
const CallDialogs& callDialogs();

// The lock that the process of an open contact choice window holds: work
// folder + call id (made safe as a file name) + ".lock".
QString choiceLockPath(const Run& run);

} // namespace tlm
