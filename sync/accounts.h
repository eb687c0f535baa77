// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Server accounts of a store: adding one (its collections become folders of
// a store of its own, bound to them), binding further folders, syncing and
// removing. Used by tellmarin-pim and the viewer.
#include "sync/engine.h"
#include "sync/state.h"
#include "sync/syncerror.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace tlm::pim {
class Store;
}

namespace tlm::sync {

struct NewAccount {
    QUrl url;
    QString user;
    QString password;
    QString name; // empty: user + "@" + host
    bool allowHttp = false;
};

struct SyncRun {
    QList<FolderReport> folders;
    QStringList errors;                   // one line per account or folder that failed
    Failure firstFailure = Failure::Http; // the kind of the first error
    bool ok() const { return errors.isEmpty(); }
};

// Discovers the collections, adds the account's store with one folder per
// collection and kind, keeps the password and runs the first sync. Raises
// SyncError; a failed call leaves no account, store or password behind.
Account addAccount(pim::Store& store, const NewAccount& request, SyncRun* firstSync = nullptr);

QList<Account> accounts(const pim::Store& store);
Account account(const pim::Store& store, const QString& name); // raises when unknown

// Ties a folder to a collection with the named account's credentials (empty:
// the account on the same scheme, host and port). A journal folder is only
// bound to a calendar that holds journal entries.
Binding bind(pim::Store& store, const QString& folderPath, const QUrl& collection,
             const QString& accountName);

// Syncs every bound folder of the named account (empty: all accounts), or
// only folderPath. Failures are reported per account, not raised.
SyncRun syncAccounts(pim::Store& store, const QString& accountName = {},
                     const QString& folderPath = {});

// Removes the account's store, its bindings, what the sync knew and its
// password here; nothing on the server.
void removeAccount(pim::Store& store, const QString& name);

} // namespace tlm::sync
