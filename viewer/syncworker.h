// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The viewer's server work on a thread of its own: syncs and the adding of
// accounts, strictly one after the other, each with a connection to the
// store and network objects of its own, so the windows never wait for a
// server. What it reports arrives on the thread that made the worker.
//
// The jobs wait in a queue of their own, not as events: the network and the
// keyring wait for their answers in local event loops, which would
// otherwise start the next job in the middle of the running one.
#include "sync/accounts.h"
#include "viewer/syncscheduler.h"

#include <QHash>
#include <QObject>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

class QThread;

namespace tlm::viewer {

class SyncWorker : public QObject {
    Q_OBJECT

public:
    explicit SyncWorker(const QString& storePath, QObject* parent = nullptr);
    // Waits for the job in hand; those queued behind it are dropped.
    ~SyncWorker() override;

    // Syncs every account. Changes: only when items of a bound folder changed
    // since the last sync began (the sync's own writes to the store come
    // back to the viewer as changes too; they end here).
    void sync(SyncScheduler::Kind kind);
    // Adds the account and runs its first sync.
    void addAccount(const sync::NewAccount& request);

Q_SIGNALS:
    void synced();
    void accountAdded(const QString& name);
    // Nothing of the account is left behind; message says why, in German.
    void accountRefused(const QString& message);

private:
    void post(std::function<void()> job);
    void work(); // the thread's loop
    // On the worker's thread:
    void runSync(SyncScheduler::Kind kind);
    void runAddAccount(const sync::NewAccount& request);

    const QString m_path;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::function<void()>> m_jobs; // guarded by m_mutex
    bool m_stopping = false;                  // guarded by m_mutex
    // Items' versions of the bound folders when the last sync began; only
    // the worker's thread touches it.
    QHash<QString, qint64> m_synced;
    std::unique_ptr<QThread> m_thread;
};

} // namespace tlm::viewer
