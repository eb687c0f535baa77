// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two-way sync of one store folder with its server collection.
//
// Each item's state is saved in the same transaction as the item (pulled
// items go several to a transaction, never across a request to the
// server), so a sync that is killed or loses the server half-way leaves a
// store that the next sync finishes: nothing is lost and nothing is created twice (a new item is
// written to the server under a name made from its EntryID, so a second try
// finds the first one instead of adding another). The collection's sync
// token is kept only after every item is settled.
//
// Rules: a change on one side goes to the other. Changed on both sides:
// merged value by value (the server's value wins where both changed the
// same one; the local value is kept in the body). Deleted on one side and
// changed on the other: the changed item stays on both sides. Drafts are
// not synced until they are saved.
#include "sync/state.h"

#include <QString>

namespace tlm::pim {
class Store;
}

namespace tlm::sync {

class DavClient;

struct FolderReport {
    QString folder; // the folder's path
    int pulledNew = 0, pulledChanged = 0, pulledRemoved = 0;
    int pushedNew = 0, pushedChanged = 0, pushedRemoved = 0;
    int conflicts = 0;
    bool contactsChanged() const { return pulledNew + pulledChanged + pulledRemoved > 0; }
    // "Adressbuch: vom Server 1 neu, 0 geändert, 0 gelöscht; zum Server ..."
    QString line() const;
};

// Syncs the bound folder; raises SyncError when the server cannot be used
// (what was settled before stays settled).
FolderReport syncFolder(pim::Store& store, DavClient& client, const Binding& binding);

} // namespace tlm::sync
