// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One sync of a store at a time, across processes and threads: the viewer
// and tellmarin-pim syncing the same store take turns. Two syncs at once
// would each pull an item new on the server and each add it to the store.
// The lock is an advisory lock on a file beside the store; the system lets
// go of it when its holder ends, however it ends.
#include <QString>

namespace tlm::sync {

class SyncLock {
public:
    // Waits until no other sync of the store runs. Where the file cannot be
    // made (a read-only folder) the sync runs without it.
    explicit SyncLock(const QString& storePath);
    ~SyncLock();
    SyncLock(const SyncLock&) = delete;
    SyncLock& operator=(const SyncLock&) = delete;

private:
    int m_fd = -1;
};

} // namespace tlm::sync
