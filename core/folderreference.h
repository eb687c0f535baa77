// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Folder references as the settings keep them: the folder's EntryID, "|",
// the StoreID of its store.
#include "outlook/fwd.h"

#include <QString>

namespace tlm {

struct FolderReference {
    QString entryId;
    QString storeId;

    // Split at the first "|"; without one the whole text is the EntryID.
    static FolderReference parse(const QString& reference);
    // The folder, or null when it cannot be resolved.
    outlook::FolderPtr resolve(const outlook::NamespacePtr& mapi) const;
};

} // namespace tlm
