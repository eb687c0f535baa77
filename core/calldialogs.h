// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The call-time windows that the call processing shows modally. The windows
// layer registers them; core knows them only through these hooks. Without a
// registered window the processing goes on as if the window had been
// cancelled (contact choice) or closed by its close box (end of call). The
// windows answer what the user chose; the run takes the answer.
#include "core/contactchoice.h"

#include <QString>
#include <functional>

namespace tlm {

struct Run;

// The answer of the end-of-call window.
enum class CallEndAnswer {
    None,       // closed by its close box: the run's flag stays as it is
    CloseItems, // the contact and the call's item are closed
    KeepOpen,   // they stay open
};

// The run's close-items flag takes the answer.
void takeCallEndAnswer(Run& run, CallEndAnswer answer);

struct CallDialogs {
    // frmGefunden, for the run's found contacts; its own session keeps the
    // per-call file, the lock and the favourites.
    std::function<ContactChoice(Run&)> contactChoice = {};
    // frmGEnde.
    std::function<CallEndAnswer(const Run&)> callEnd = {};
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
