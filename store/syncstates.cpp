// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// The server sync's documents in the store, and removing a whole store.
#include "store/pimstore.h"
#include "store/sqlite.h"
#include "store/storeimpl.h"
#include "platform/error.h"

using namespace Qt::StringLiterals;

namespace tlm::pim {

namespace {
QByteArray copied(const QByteArray& view) {
    return QByteArray(view.constData(), view.size());
}
} // namespace

void Store::Impl::addSyncStates() {
    db.exec("CREATE TABLE IF NOT EXISTS sync_states(scope TEXT NOT NULL, key TEXT NOT NULL,"
            " value BLOB NOT NULL, PRIMARY KEY(scope, key)) WITHOUT ROWID");
}

QMap<QString, QByteArray> Store::syncStates(const QString& scope) const {
    sql::Stmt q(m_impl->db, "SELECT key, value FROM sync_states WHERE scope = ?");
    q.bind(1, scope);
    QMap<QString, QByteArray> out;
    while (q.step())
        out.insert(q.text(0), copied(q.blobView(1)));
    return out;
}

void Store::setSyncState(const QString& scope, const QString& key, const QByteArray& value) {
    transaction([&] {
        if (value.isEmpty())
            sql::Stmt(m_impl->db, "DELETE FROM sync_states WHERE scope = ? AND key = ?")
                .bind(1, scope)
                .bind(2, key)
                .run();
        else
            sql::Stmt(m_impl->db, "INSERT OR REPLACE INTO sync_states VALUES(?, ?, ?)")
                .bind(1, scope)
                .bind(2, key)
                .bind(3, value)
                .run();
    });
}

void Store::removeSyncScope(const QString& scope) {
    transaction([&] {
        sql::Stmt(m_impl->db, "DELETE FROM sync_states WHERE scope = ?").bind(1, scope).run();
    });
}

QList<Store::SyncState> Store::allSyncStates() const {
    sql::Stmt q(m_impl->db, "SELECT scope, key, value FROM sync_states ORDER BY scope, key");
    QList<SyncState> out;
    while (q.step())
        out.append({q.text(0), q.text(1), copied(q.blobView(2))});
    return out;
}

void Store::removeStore(const QString& storeId) {
    const QList<StoreInfo> all = stores();
    if (!all.isEmpty() && all.first().storeId == storeId)
        throw Error(CannotParse, u"Der Standardspeicher kann nicht entfernt werden."_s);
    store(storeId); // raises NotFound
    transaction([&] {
        sql::Db& db = m_impl->db;
        sql::Stmt(db, "DELETE FROM inspectors WHERE entry_id IN (SELECT i.entry_id FROM items i"
                      " JOIN folders f ON f.entry_id = i.folder_id WHERE f.store_id = ?)")
            .bind(1, storeId)
            .run();
        sql::Stmt(db, "DELETE FROM items WHERE folder_id IN (SELECT entry_id FROM folders"
                      " WHERE store_id = ?)")
            .bind(1, storeId)
            .run();
        sql::Stmt(db, "DELETE FROM folders WHERE store_id = ?").bind(1, storeId).run();
        sql::Stmt(db, "DELETE FROM stores WHERE store_id = ?").bind(1, storeId).run();
    });
}

} // namespace tlm::pim
