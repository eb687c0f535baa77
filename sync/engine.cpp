// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/engine.h"
#include "store/pimstore.h"
#include "sync/davclient.h"
#include "sync/itemcodec.h"
#include "sync/merge.h"
#include "sync/remote.h"
#include "sync/syncerror.h"

#include <QHash>
#include <QSet>

using namespace Qt::StringLiterals;

namespace tlm::sync {

namespace {

constexpr int MergeAttempts = 3;
constexpr qsizetype ItemsPerTransaction = 50;

// The UID of an item first written to the server by this program: made from
// its EntryID, so that a second try after an interrupted sync finds the
// first one.
QString uidFor(const QString& entryId) {
    return u"tellmarin-"_s + entryId.toLower();
}

// Contact references across every bound address book of the store, read
// when first asked for (an address book's own sync never asks).
ical::ContactRefs contactRefs(const pim::Store& store) {
    struct Maps {
        QHash<QString, QString> toUid, toEntry;
        bool read = false;
    };
    auto maps = std::make_shared<Maps>();
    const auto readOnce = [maps, &store]() -> const Maps& {
        if (maps->read)
            return *maps;
        maps->read = true;
        for (const QByteArray& json : store.syncStates(bindingScope())) {
            const Binding b = Binding::fromJson(json);
            if (!b.component.isEmpty())
                continue;
            for (const QByteArray& item : store.syncStates(itemScope(b.folderId))) {
                const ItemState s = ItemState::fromJson(item);
                maps->toUid.insert(s.entryId, s.uid);
                maps->toEntry.insert(s.uid, s.entryId);
            }
        }
        return *maps;
    };
    return {[readOnce](const QString& id) { return readOnce().toUid.value(id, id); },
            [readOnce](const QString& uid) { return readOnce().toEntry.value(uid, uid); }};
}

Collection collectionOf(const Binding& b) {
    Collection c;
    c.url = b.url;
    c.kind = b.component.isEmpty() ? CollectionKind::AddressBook : CollectionKind::Calendar;
    if (!b.component.isEmpty())
        c.components = {b.component};
    c.syncCollection = b.syncCollection;
    c.vcard4 = b.vcard4;
    return c;
}

class FolderSync {
public:
    FolderSync(pim::Store& store, DavClient& client, const Binding& binding)
        : m_store(store), m_binding(binding), m_remote(client, collectionOf(binding)),
          m_codec(binding.component, binding.vcard4, contactRefs(store)) {
        m_report.folder = store.folder(binding.folderId).folderPath;
    }

    FolderReport run();

private:
    bool fits(const pim::ItemRecord& r) const;
    void loadLocal();
    QByteArray encode(const pim::ItemRecord& item, const QString& uid, const QByteArray& base) const {
        return m_codec.encode(item, uid, base);
    }

    // Local writes, each with the item's new state in one transaction.
    // Returns the item as the store now holds it.
    pim::ItemRecord settle(const QString& path, const QString& entryId, const QString& uid,
                           const QByteArray& etag, const QByteArray& data);
    QString addLocal(pim::ItemRecord record);
    void updateLocal(pim::ItemRecord record, const QString& entryId);
    void dropState(const QString& path);

    QString pullChanges();
    void pullBatch(const QList<RemoteItem>& items, QSet<QString>& fetched);
    const pim::ItemRecord* ownLostItem(const QString& uid) const;
    bool pullLocally(const RemoteItem& item, const Decoded& decoded);
    void pullMerged(const RemoteItem& item, const Decoded& decoded);
    void pulledRemoval(const ItemState& state);
    void pushNew(const pim::ItemRecord& local);
    void pushChanged(const ItemState& state, const pim::ItemRecord& local);
    void pushRemoval(const ItemState& state);
    void mergeBoth(ItemState state, pim::ItemRecord local, RemoteItem remote);
    QByteArray etagAfterPut(const QString& path, const QByteArray& etag);
    bool localChanged(const ItemState& state) const;

    pim::Store& m_store;
    Binding m_binding;
    RemoteCollection m_remote;
    ItemCodec m_codec;
    QHash<QString, ItemState> m_states;           // by path
    QHash<QString, pim::ItemRecord> m_local;      // saved items of the folder, by EntryID
    QSet<QString> m_settled;                      // paths settled in this run
    FolderReport m_report;
};

bool FolderSync::fits(const pim::ItemRecord& r) const {
    if (m_codec.contacts())
        return r.messageClass.startsWith(u"IPM.Contact"_s, Qt::CaseInsensitive);
    return ical::componentFor(r.messageClass) == m_binding.component;
}

void FolderSync::loadLocal() {
    const auto states = m_store.syncStates(itemScope(m_binding.folderId));
    for (const QByteArray& json : states) {
        const ItemState s = ItemState::fromJson(json);
        m_states.insert(s.path, s);
    }
    m_store.forEachItem(m_binding.folderId, false, [this](const pim::ItemRecord& r) {
        if (fits(r))
            m_local.insert(r.entryId, r);
    });
}

bool FolderSync::localChanged(const ItemState& state) const {
    const auto it = m_local.constFind(state.entryId);
    return it != m_local.cend() && ItemCodec::digest(*it) != state.localDigest;
}

pim::ItemRecord FolderSync::settle(const QString& path, const QString& entryId,
                                   const QString& uid, const QByteArray& etag,
                                   const QByteArray& data) {
    pim::ItemRecord stored = m_store.item(entryId);
    ItemState s{path, entryId, uid, etag, data, ItemCodec::digest(stored)};
    m_store.setSyncState(itemScope(m_binding.folderId), path, s.toJson());
    m_states.insert(path, s);
    m_settled.insert(path);
    return stored;
}

QString FolderSync::addLocal(pim::ItemRecord record) {
    record.entryId.clear();
    record.folderId = m_binding.folderId;
    return m_store.addItem(m_binding.folderId, record);
}

void FolderSync::updateLocal(pim::ItemRecord record, const QString& entryId) {
    record.entryId = entryId;
    record.folderId = m_binding.folderId;
    if (!record.properties.contains(u"LastModificationTime"_s))
        record.properties.insert(u"LastModificationTime"_s, QDateTime::currentDateTime());
    m_store.updateItem(record);
}

void FolderSync::dropState(const QString& path) {
    m_store.setSyncState(itemScope(m_binding.folderId), path, {});
    m_states.remove(path);
    m_settled.insert(path);
}

QByteArray FolderSync::etagAfterPut(const QString& path, const QByteArray& etag) {
    // Some servers answer a PUT without an ETag: ask for it.
    return etag.isEmpty() ? m_remote.etagOf(path) : etag;
}

// One of ours whose state was lost (a sync killed after writing it to the
// server): its UID names the local item.
const pim::ItemRecord* FolderSync::ownLostItem(const QString& uid) const {
    const QString prefix = uidFor(QString());
    if (!uid.startsWith(prefix))
        return nullptr;
    const auto it = m_local.constFind(uid.mid(prefix.size()).toUpper());
    return it != m_local.cend() && uidFor(it->entryId) == uid ? &*it : nullptr;
}

// Settles an item the server added or changed when no request is needed;
// false when it must be merged with the local version.
bool FolderSync::pullLocally(const RemoteItem& item, const Decoded& decoded) {
    const auto state = m_states.constFind(item.path);
    if (state == m_states.cend()) {
        if (ownLostItem(decoded.uid))
            return false;
        const QString entryId = addLocal(decoded.record);
        m_local.insert(entryId, settle(item.path, entryId, decoded.uid, item.etag, item.data));
        ++m_report.pulledNew;
        return true;
    }
    const auto local = m_local.constFind(state->entryId);
    if (local == m_local.cend()) {
        // Deleted here, changed there: the changed item comes back.
        const QString entryId = addLocal(decoded.record);
        m_local.insert(entryId, settle(item.path, entryId, decoded.uid, item.etag, item.data));
        ++m_report.pulledNew;
        return true;
    }
    if (localChanged(*state))
        return false;
    // Another program changed only what it keeps for itself: the item here
    // stays as it is (with what the server cannot hold, such as a text's
    // trailing blank or the rich body).
    const bool ownValuesChanged =
        state->serverData.isEmpty() ||
        flatten(m_codec.decode(state->serverData).record) != flatten(decoded.record);
    const QString entryId = state->entryId;
    if (ownValuesChanged) {
        pim::ItemRecord record = decoded.record;
        record.inspector = local->inspector;
        record.timerStarted = local->timerStarted; // a call still running here
        updateLocal(record, entryId);
        ++m_report.pulledChanged;
    }
    m_local.insert(entryId, settle(item.path, entryId, decoded.uid, item.etag, item.data));
    return true;
}

void FolderSync::pullMerged(const RemoteItem& item, const Decoded& decoded) {
    const auto state = m_states.constFind(item.path);
    if (state != m_states.cend()) {
        mergeBoth(*state, m_local.value(state->entryId), item);
        return;
    }
    const pim::ItemRecord local = *ownLostItem(decoded.uid);
    mergeBoth({item.path, local.entryId, decoded.uid, {}, {}, {}}, local, item);
}

// Fetched items are settled a few dozen to a transaction, each item with
// its state: few commits, and a call event that writes waits for one short
// transaction at most. Those that need the server again follow one by one,
// so the store is never held while waiting for the network.
void FolderSync::pullBatch(const QList<RemoteItem>& items, QSet<QString>& fetched) {
    QList<std::pair<RemoteItem, Decoded>> merges;
    for (qsizetype at = 0; at < items.size(); at += ItemsPerTransaction)
        m_store.transaction([&] {
            for (const RemoteItem& item : items.mid(at, ItemsPerTransaction)) {
                fetched.insert(item.path);
                Decoded decoded = m_codec.decode(item.data);
                if (!fits(decoded.record))
                    continue; // another kind of item in a shared calendar
                if (!pullLocally(item, decoded))
                    merges.append({item, std::move(decoded)});
            }
        });
    for (const auto& [item, decoded] : std::as_const(merges))
        pullMerged(item, decoded);
}

void FolderSync::pulledRemoval(const ItemState& state) {
    if (!m_local.contains(state.entryId)) {
        dropState(state.path); // gone on both sides
        return;
    }
    if (localChanged(state)) {
        // Changed here, deleted there: the changed item goes back.
        const pim::ItemRecord local = m_local.value(state.entryId);
        const QByteArray data = encode(local, state.uid, state.serverData);
        const auto written = m_remote.put(state.path, data, {});
        if (written.status == 412) {
            m_states.remove(state.path); // it is back already: settled next time
            return;
        }
        settle(state.path, state.entryId, state.uid, etagAfterPut(state.path, written.etag), data);
        ++m_report.pushedNew;
        return;
    }
    m_store.transaction([&] {
        m_store.removeItem(state.entryId);
        dropState(state.path);
    });
    m_local.remove(state.entryId);
    ++m_report.pulledRemoved;
}

void FolderSync::pushNew(const pim::ItemRecord& local) {
    const QString uid = uidFor(local.entryId);
    const QString path = m_remote.newPath(uid);
    const QByteArray data = encode(local, uid, {});
    const auto written = m_remote.put(path, data, {});
    if (written.status == 412) {
        // Something lies there already: ours from an interrupted sync, or a
        // stranger's. Ours is merged; a stranger's is left alone.
        const QList<RemoteItem> there = m_remote.fetch({path});
        if (!there.isEmpty() && m_codec.decode(there.first().data).uid == uid)
            mergeBoth({path, local.entryId, uid, {}, {}, {}}, local, there.first());
        else
            throw SyncError(Failure::Http,
                            u"Auf dem Server liegt unter %1 schon ein fremder Eintrag."_s.arg(path),
                            412);
        return;
    }
    settle(path, local.entryId, uid, etagAfterPut(path, written.etag), data);
    ++m_report.pushedNew;
}

void FolderSync::pushChanged(const ItemState& state, const pim::ItemRecord& local) {
    const QByteArray data = encode(local, state.uid, state.serverData);
    const auto written = m_remote.put(state.path, data, state.etag);
    if (written.status == 412) {
        // Changed on the server meanwhile: merge with its version.
        const QList<RemoteItem> there = m_remote.fetch({state.path});
        if (there.isEmpty()) {
            const auto again = m_remote.put(state.path, data, {});
            if (again.status != 412)
                settle(state.path, local.entryId, state.uid,
                       etagAfterPut(state.path, again.etag), data);
            return;
        }
        mergeBoth(state, local, there.first());
        return;
    }
    settle(state.path, local.entryId, state.uid, etagAfterPut(state.path, written.etag), data);
    ++m_report.pushedChanged;
}

void FolderSync::pushRemoval(const ItemState& state) {
    const int status = m_remote.remove(state.path, state.etag);
    if (status == 412) {
        // Deleted here, changed there: the changed item comes back.
        const QList<RemoteItem> there = m_remote.fetch({state.path});
        if (!there.isEmpty()) {
            const Decoded decoded = m_codec.decode(there.first().data);
            m_store.transaction([&] {
                const QString entryId = addLocal(decoded.record);
                settle(state.path, entryId, decoded.uid, there.first().etag, there.first().data);
            });
            ++m_report.pulledNew;
            return;
        }
    }
    dropState(state.path);
    ++m_report.pushedRemoved;
}

void FolderSync::mergeBoth(ItemState state, pim::ItemRecord local, RemoteItem remote) {
    for (int attempt = 0;; ++attempt) {
        const Decoded theirs = m_codec.decode(remote.data);
        const QVariantMap base = state.serverData.isEmpty()
                                     ? flatten(theirs.record)
                                     : flatten(m_codec.decode(state.serverData).record);
        const MergeResult merged = merge(base, flatten(local), flatten(theirs.record));
        pim::ItemRecord result = local;
        unflatten(merged.values, result);
        const QByteArray data = encode(result, state.uid, remote.data);
        const auto written = m_remote.put(state.path, data, remote.etag);
        if (written.status != 412) {
            m_store.transaction([&] {
                updateLocal(result, local.entryId);
                settle(state.path, local.entryId, state.uid,
                       etagAfterPut(state.path, written.etag), data);
            });
            if (!merged.conflicts.isEmpty())
                ++m_report.conflicts;
            ++m_report.pushedChanged;
            return;
        }
        const QList<RemoteItem> there = m_remote.fetch({state.path});
        if (there.isEmpty() || attempt + 1 >= MergeAttempts)
            throw SyncError(Failure::Http,
                            u"Der Eintrag %1 ändert sich auf dem Server laufend; er wird beim "
                            u"nächsten Abgleich zusammengeführt."_s.arg(state.path),
                            412);
        remote = there.first();
    }
}

// Brings what the server changed into the store; returns the collection's
// new sync token, kept once the local changes are on the server too.
QString FolderSync::pullChanges() {
    const Listing listing = m_remote.changes(m_binding.syncToken);
    QStringList wanted;
    QSet<QString> present;
    for (const RemoteEntry& e : listing.present) {
        present.insert(e.path);
        const auto it = m_states.constFind(e.path);
        if (it == m_states.cend() || it->etag != e.etag)
            wanted.append(e.path);
    }
    QSet<QString> fetched;
    for (qsizetype at = 0; at < wanted.size(); at += RemoteCollection::BatchSize)
        pullBatch(m_remote.fetch(wanted.mid(at, RemoteCollection::BatchSize)), fetched);
    QStringList removed = listing.removed;
    for (const QString& path : std::as_const(wanted))
        if (!fetched.contains(path) && m_states.contains(path))
            removed.append(path); // gone between listing and fetching
    if (listing.full)
        for (auto it = m_states.cbegin(); it != m_states.cend(); ++it)
            if (!present.contains(it.key()))
                removed.append(it.key());
    for (const QString& path : std::as_const(removed))
        if (m_states.contains(path) && !m_settled.contains(path))
            pulledRemoval(m_states.value(path));
    return listing.syncToken;
}

FolderReport FolderSync::run() {
    loadLocal();
    const QString token = pullChanges();

    // What changed here.
    QSet<QString> tracked;
    const QList<ItemState> states = m_states.values();
    for (const ItemState& state : states) {
        tracked.insert(state.entryId);
        if (m_settled.contains(state.path))
            continue;
        if (!m_local.contains(state.entryId))
            pushRemoval(state);
        else if (localChanged(state))
            pushChanged(state, m_local.value(state.entryId));
    }
    const QList<pim::ItemRecord> locals = m_local.values();
    for (const pim::ItemRecord& local : locals)
        if (!tracked.contains(local.entryId) && !m_states.contains(m_remote.newPath(uidFor(local.entryId))))
            pushNew(local);

    m_binding.syncToken = token;
    m_store.setSyncState(bindingScope(), m_binding.folderId, m_binding.toJson());
    return m_report;
}

} // namespace

QString FolderReport::line() const {
    return u"%1: vom Server %2 neu, %3 geändert, %4 gelöscht; zum Server %5 neu, %6 geändert, "
           u"%7 gelöscht; %8 Konflikte"_s.arg(folder)
        .arg(pulledNew)
        .arg(pulledChanged)
        .arg(pulledRemoved)
        .arg(pushedNew)
        .arg(pushedChanged)
        .arg(pushedRemoved)
        .arg(conflicts);
}

FolderReport syncFolder(pim::Store& store, DavClient& client, const Binding& binding) {
    return FolderSync(store, client, binding).run();
}

} // namespace tlm::sync
