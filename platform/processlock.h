// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An exclusive advisory lock that a process holds on a file for as long as it
// lives (the system releases it when the process ends, however it ends), and
// the test whether any live process holds one. Lock files are never opened
// through a symbolic link, and opening one never blocks.
#include <QString>
#include <QtGlobal>

namespace tlm::processlock {

class Holder {
public:
    // Creates the file when missing and locks it; held() tells whether that
    // worked.
    explicit Holder(const QString& path);
    ~Holder(); // removes the file and releases the lock
    Holder(const Holder&) = delete;
    Holder& operator=(const Holder&) = delete;
    bool held() const { return m_fd >= 0; }

private:
    QString m_path;
    int m_fd = -1;
};

// True when a live process holds the lock on path.
bool isHeld(const QString& path);

// True when a process of that id runs.
bool isRunning(qint64 pid);

} // namespace tlm::processlock
