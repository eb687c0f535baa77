// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/companylookup.h"

#include "core/callfile.h"
#include "core/run.h"
#include "numbers/companynumbers.h"

using namespace Qt::StringLiterals;

namespace tlm {
namespace {
const QString contactSection = u"Contact"_s;
const QString extensionKey = u"Extension"_s;
} // namespace

bool companyFallbackOn() {
    return readSettingInt(keys::CompanyFallback, 0) == 1;
}

void lookUpByMainNumber(Run& run, const std::function<void(const QList<IndexMatch>&)>& take) {
    if (!companyFallbackOn())
        return;
    const auto numbers = readCompanyFile(run.env.indexFile);
    if (!numbers)
        return;
    const CompanyMatch match = matchCompanyNumber(*numbers, run.params[P_NUMBER]);
    if (match.records.isEmpty())
        return;
    take(match.records);
    Lookup& lookup = run.lookup;
    if (lookup.foundCount == 0)
        return;
    lookup.extension = match.extension;
    for (FoundContact& f : lookup.found)
        f.display = markedAsGuess(f.display).left(MaxFoundDisplayWidth);
    // The lookup runs inside the event's processing: the line goes to the
    // per-call log at the event's step.
    run.log.subLog(u"...Outlook-Kontakt über die Zentrale "_s + match.prefix +
                       u" gefunden, Durchwahl "_s + match.extension,
                   run.log.step().number());
}

QList<RebuildReason> companyRebuildReasons(const QString& indexFile) {
    if (!companyFallbackOn() || companyFileHolds(indexFile))
        return {};
    return {{u"Neuaufbau, weil die Zentralen-Datei fehlt oder nicht zur Indexdatei passt"_s,
             11005}};
}

QString markedAsGuess(const QString& text) {
    return u'~' + text;
}

QString itemCaption(const Lookup& lookup, const QString& caption) {
    return lookup.extension.isEmpty() ? caption : markedAsGuess(caption);
}

void recordGuess(const Lookup& lookup, const QString& callFile) {
    if (!lookup.extension.isEmpty() ||
        !fncIniRead(callFile, contactSection, extensionKey).isEmpty())
        subIniWrite(callFile, contactSection, extensionKey, lookup.extension);
}

void readRecordedGuess(Lookup& lookup, const QString& callFile) {
    lookup.extension = fncIniRead(callFile, contactSection, extensionKey);
}

} // namespace tlm
