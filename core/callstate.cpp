// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/callstate.h"

#include "core/calldialogs.h"
#include "core/callfile.h"
#include "core/companylookup.h"
#include "core/run.h"
#include "outlook/application.h"

namespace tlm {

outlook::ItemPtr openItem(Run& run, const QString& entryId) {
    outlook::ItemPtr item;
    if (!entryId.isEmpty())
        run.log.guard(mainErrorExit, [&] { item = run.mapi->GetItemFromID(entryId); });
    return item;
}

bool openRecordedContact(Run& run) {
    const QString file = callFilePath(run);
    const outlook::ItemPtr contact =
        openItem(run, fncIniRead(file, QStringLiteral("Contact"), QStringLiteral("Contact-ID")));
    if (!contact)
        return false;
    run.lookup.currentContact = contact;
    run.lookup.matchedField =
        fncIniRead(file, QStringLiteral("Call"), QStringLiteral("NumType")).toInt();
    readRecordedGuess(run.lookup, file);
    return true;
}

void showContactChoice(Run& run) {
    run.chosenEntryId.clear();
    if (callDialogs().contactChoice)
        takeContactChoice(run, callDialogs().contactChoice(run));
    else
        run.lookup.foundCount = 0;
}

} // namespace tlm
