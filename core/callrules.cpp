// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/callrules.h"

#include "core/run.h"
#include "outlook/item.h"

namespace tlm {

std::optional<int> outboundDirection(Run& run, const ErrorExit& exit) {
    bool ok = false;
    const int value = run.params[P_OUTBOUND].trimmed().toInt(&ok);
    if (ok)
        return value;
    run.log.errorLine(exit, err::TypeMismatch, QStringLiteral("Typen unverträglich"));
    return std::nullopt;
}

ShowDecision showRule(Run& run) {
    const std::optional<int> outbound = outboundDirection(run, mainErrorExit);
    const Settings& s = run.settings;
    if ((outbound == 0 && s.InContact == 0) || (outbound == 1 && s.OutContact == 0))
        return ShowDecision::HiddenByDirection;
    if (run.params.internalCall && s.Internal == 0)
        return ShowDecision::HiddenAsInternal;
    return ShowDecision::Show;
}

bool journalWithoutContact(Run& run) {
    const std::optional<int> outbound = outboundDirection(run, mainErrorExit);
    const Settings& s = run.settings;
    const QString refused = QStringLiteral("Rufprotokollierung nicht gewünscht");
    if (!((outbound == 0 && s.InJournal == 1) || (outbound == 1 && s.OutJournal == 1))) {
        run.log.subLog(refused, 43320);
        return false;
    }
    if (run.params.internalCall && s.Internal == 0) {
        run.log.subLog(refused, 43321);
        return false;
    }
    run.log.subLog(QStringLiteral("Rufprotokollierung aktiv"), 43310);
    return true;
}

bool journalWithContact(Run& run) {
    const Settings& s = run.settings;
    bool contactJournal = false;
    if (s.JournalContact == 1) {
        run.log.guard(mainErrorExit, [&] {
            contactJournal = run.lookup.currentContact->flag(QStringLiteral("Journal"));
        });
    }
    const bool wanted = (s.Internal == 1 && run.params.internalCall) ||
                        (s.JournalContact == 1 && contactJournal) || s.JournalContact == 0;
    if (wanted)
        run.log.subLog(QStringLiteral("Rufprotokollierung aktiv"), 43230);
    else
        run.log.subLog(QStringLiteral("Rufprotokollierung nicht gewünscht"), 43240);
    return wanted;
}

} // namespace tlm
