// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// When the viewer syncs its server accounts: at start, every five minutes,
// and shortly after the store changed; never two syncs at once. A change
// while a sync runs, or several close together, give one sync more. The
// scheduler only decides: it says when a sync is due, the caller runs it
// (off the window thread) and reports its end.
#include <QObject>
#include <QTimer>
#include <chrono>

namespace tlm::viewer {

class SyncScheduler : public QObject {
    Q_OBJECT

public:
    struct Intervals {
        std::chrono::milliseconds period = std::chrono::minutes(5);
        // From a change to its sync (the viewer learns of a change at once, so
        // the sync begins this long after it).
        std::chrono::milliseconds settle = std::chrono::milliseconds(1500);
    };
    // Full: the server may have changed (start, period, asked for); Changes:
    // only the store changed, and the sync may find nothing of its own to do.
    enum class Kind { Full, Changes };
    Q_ENUM(Kind)

    explicit SyncScheduler(Intervals intervals, QObject* parent = nullptr);

    // The first sync now, then one every period; nothing is due before.
    void start();
    // A full sync as soon as none runs.
    void syncNow();
    // The store changed: a sync after the settle interval.
    void storeChanged();
    // The sync announced by due() has ended.
    void finished();
    bool running() const { return m_running; }

Q_SIGNALS:
    // A sync is to run now; the next comes only after finished().
    void due(tlm::viewer::SyncScheduler::Kind kind);

private:
    void runDue();

    QTimer m_period;
    QTimer m_settle;
    bool m_started = false;
    bool m_fullDue = false;
    bool m_changesDue = false;
    bool m_running = false;
};

} // namespace tlm::viewer
