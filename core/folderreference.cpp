// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/folderreference.h"

#include "outlook/application.h"
#include "platform/error.h"

namespace tlm {

FolderReference FolderReference::parse(const QString& reference) {
    const qsizetype bar = reference.indexOf(QLatin1Char('|'));
    if (bar < 0)
        return {reference, QString()};
    return {reference.left(bar), reference.mid(bar + 1)};
}

outlook::FolderPtr FolderReference::resolve(const outlook::NamespacePtr& mapi) const {
    try {
        return mapi->GetFolderFromID(entryId, storeId);
    } catch (const Error&) {
        return nullptr;
    }
}

} // namespace tlm
