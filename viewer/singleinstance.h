// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One viewer per store and desktop session: the first viewer of a store holds
// a lock file and listens on a local socket, both named after the store's
// canonical path and the user; a second start finds the lock, asks the first
// through the socket to come to the front, and ends.
#include <QLockFile>
#include <QObject>
#include <functional>

class QLocalServer;

namespace tlm::viewer {

class SingleInstance : public QObject {
    Q_OBJECT

public:
    // storePath must name an existing file; raise runs in the first viewer
    // whenever a later start asks for it.
    SingleInstance(const QString& storePath, std::function<void()> raise);
    ~SingleInstance() override;

    // True when this process is now the store's viewer; false when another
    // one is (it has been asked to come to the front).
    bool claim();

    // The name of the socket (a path in the user's runtime folder); the lock
    // file is the same with ".lock".
    static QString socketName(const QString& storePath);

private:
    void askFirstToRaise() const;

    QString m_name;
    QLockFile m_lock;
    QLocalServer* m_server = nullptr;
    std::function<void()> m_raise;
};

} // namespace tlm::viewer
