// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/syncscheduler.h"

namespace tlm::viewer {

SyncScheduler::SyncScheduler(Intervals intervals, QObject* parent) : QObject(parent) {
    m_period.setInterval(intervals.period);
    m_settle.setInterval(intervals.settle);
    m_settle.setSingleShot(true);
    connect(&m_period, &QTimer::timeout, this, &SyncScheduler::syncNow);
    connect(&m_settle, &QTimer::timeout, this, [this] {
        m_changesDue = true;
        runDue();
    });
}

void SyncScheduler::start() {
    m_started = true;
    m_period.start();
    syncNow();
}

void SyncScheduler::syncNow() {
    if (!m_started)
        return;
    m_fullDue = true;
    runDue();
}

// The interval runs from the first of several changes: a stream of changes
// does not put the sync off.
void SyncScheduler::storeChanged() {
    if (m_started && !m_settle.isActive())
        m_settle.start();
}

void SyncScheduler::finished() {
    m_running = false;
    runDue();
}

void SyncScheduler::runDue() {
    if (m_running || (!m_fullDue && !m_changesDue))
        return;
    const Kind kind = m_fullDue ? Kind::Full : Kind::Changes;
    m_fullDue = m_changesDue = false;
    m_settle.stop(); // the sync takes in every change made before it
    m_running = true;
    Q_EMIT due(kind);
}

} // namespace tlm::viewer
