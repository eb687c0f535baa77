// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/interactiveitems.h"
#include "core/run.h"
#include "outlook/application.h"
#include "outlook/folder.h"
#include "outlook/item.h"

namespace tlm {

QString callIdFilter(const QString& callId) {
    QString quoted = callId;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QStringLiteral("[PCALLID]='") + quoted + QLatin1Char('\'');
}

outlook::ItemPtr findCallItem(Run& run, const outlook::FolderPtr& folder) {
    const QString& callId = run.params[P_P_CALL_ID];
    if (callId.isEmpty() || !folder)
        return nullptr;
    const outlook::ItemPtr found = folder->Items()->Find(callIdFilter(callId));
    return found ? run.mapi->GetItemFromID(found->EntryID()) : nullptr;
}

} // namespace tlm
