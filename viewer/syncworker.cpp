// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/syncworker.h"

#include "platform/error.h"
#include "store/pimstore.h"
#include "sync/state.h"
#include "sync/syncerror.h"

#include <QCoreApplication>
#include <QThread>

using namespace Qt::StringLiterals;

namespace tlm::viewer {
namespace {
// The item versions of the folders bound to a collection (0 for one whose
// items never changed); a new or dropped binding changes it too.
QHash<QString, qint64> boundVersions(const pim::Store& store) {
    const QHash<QString, qint64> all = store.folderVersions();
    QHash<QString, qint64> bound;
    for (const QString& folderId : store.syncStates(sync::bindingScope()).keys())
        bound.insert(folderId, all.value(folderId, 0));
    return bound;
}
} // namespace

SyncWorker::SyncWorker(const QString& storePath, QObject* parent)
    : QObject(parent), m_path(storePath), m_thread(QThread::create([this] { work(); })) {
    m_thread->setObjectName(u"Abgleich"_s);
    // The sync yields the processor to everything else: a call event that
    // starts while it runs is not held up by it.
    m_thread->start(QThread::IdlePriority);
}

SyncWorker::~SyncWorker() {
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_jobs.clear();
    }
    m_wake.notify_one();
    m_thread->wait();
}

void SyncWorker::post(std::function<void()> job) {
    {
        const std::lock_guard lock(m_mutex);
        m_jobs.push_back(std::move(job));
    }
    m_wake.notify_one();
}

void SyncWorker::work() {
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
            if (m_stopping)
                return;
            job = std::move(m_jobs.front());
            m_jobs.pop_front();
        }
        job();
        // What the network let go of with deleteLater (no event loop of
        // the thread's own would).
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

void SyncWorker::sync(SyncScheduler::Kind kind) {
    post([this, kind] {
        runSync(kind);
        QMetaObject::invokeMethod(this, [this] { Q_EMIT synced(); }, Qt::QueuedConnection);
    });
}

void SyncWorker::addAccount(const sync::NewAccount& request) {
    post([this, request] { runAddAccount(request); });
}

// A change made by another process while the sync ran may lie in a folder
// already synced: the versions from before the sync make the next check
// find it. What the sync itself pulled costs one more sync that finds
// nothing to do.
void SyncWorker::runSync(SyncScheduler::Kind kind) {
    try {
        pim::Store store(m_path, pim::Store::Create::Never);
        const QHash<QString, qint64> versions = boundVersions(store);
        if (kind == SyncScheduler::Kind::Changes && versions == m_synced)
            return;
        m_synced = versions;
        if (!sync::accounts(store).isEmpty())
            sync::syncAccounts(store); // each account keeps its result in the store
    } catch (const Error&) {
        // The store is gone or replaced: the viewer says so; the next sync
        // finds the new one.
        m_synced.clear();
    } catch (const sync::SyncError&) {
        m_synced.clear();
    }
}

void SyncWorker::runAddAccount(const sync::NewAccount& request) {
    QString refused;
    QString name;
    try {
        pim::Store store(m_path, pim::Store::Create::Never);
        name = sync::addAccount(store, request).name;
    } catch (const sync::SyncError& e) {
        // The tool's option has a check box here.
        refused = e.failure() == sync::Failure::InsecureHttp
                      ? u"Unverschlüsseltes HTTP zu %1 wird nicht verwendet: bitte https:// "
                        u"angeben oder „Unverschlüsselte Verbindung (http) erlauben“ ankreuzen."_s
                            .arg(request.url.host())
                      : e.message();
    } catch (const Error& e) {
        refused = e.description();
    }
    QMetaObject::invokeMethod(this, [this, name, refused] {
        if (refused.isEmpty())
            Q_EMIT accountAdded(name);
        else
            Q_EMIT accountRefused(u"Das Konto wurde nicht angelegt.\n"_s + refused);
    }, Qt::QueuedConnection);
}

} // namespace tlm::viewer
