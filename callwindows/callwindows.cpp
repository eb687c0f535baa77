// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "callwindows/callwindows.h"

#include "callwindows/frmgefunden.h"
#include "callwindows/frmgende.h"
#include "callwindows/frmkontaktabgleich.h"
#include "core/calldialogs.h"

namespace tlm {

void registerCallWindows() {
    CallDialogs dialogs;
    dialogs.contactChoice = frmGefunden::show;
    dialogs.callEnd = frmGEnde::show;
    dialogs.contactReconciliation = frmKontaktAbgleich::open;
    setCallDialogs(std::move(dialogs));
}

} // namespace tlm
