// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calldialogs.h"

#include "core/log.h"
#include "core/run.h"

namespace tlm {
namespace {
CallDialogs& registered() {
    static CallDialogs dialogs;
    return dialogs;
}
} // namespace

void setCallDialogs(CallDialogs dialogs) {
    registered() = std::move(dialogs);
}

const CallDialogs& callDialogs() {
    return registered();
}

void takeCallEndAnswer(Run& run, CallEndAnswer answer) {
    if (answer != CallEndAnswer::None)
        run.closeItems = answer == CallEndAnswer::CloseItems;
}

QString choiceLockPath(const Run& run) {
    return run.env.workFolder + callFileBaseName(run.params) + QStringLiteral(".lock");
}

} // namespace tlm
