// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Says when the viewer should look at its store again. The file system tells
// of every write to the store's file and to its write-ahead log (where SQLite
// writes first) and of files coming and going in the store's folder (a store
// deleted, or moved or copied into its place); each such notice makes one
// look, however many notices came together. Where no notices can be had (the
// folder cannot be watched, the watch was lost with its folder, or a network
// file system on which other machines write unseen) a poll stands in.
//
// SQLite makes a commit visible to readers just after its last write to the
// log, so a look at once may come a moment too early: a few more looks
// follow the last notice, quickly at first, then seldom, then none.
#include "platform/files.h"

#include <QObject>
#include <QString>
#include <chrono>

class QFileSystemWatcher;
class QTimer;

namespace tlm::viewer {

class StoreWatcher : public QObject {
    Q_OBJECT

public:
    struct Settings {
        bool notices = true; // false: the poll alone
        // The poll's interval where notices fail; zero: no poll at all.
        std::chrono::milliseconds poll = std::chrono::milliseconds(100);
    };

    StoreWatcher(const QString& path, Settings settings, QObject* parent = nullptr);

    // True while notices of the store's files arrive; the poll runs while
    // they do not (or cannot be trusted, on a network file system).
    bool watching() const { return m_watching; }
    bool polling() const;

Q_SIGNALS:
    // Time to look at the store: it or its file may have changed.
    void look();

private:
    struct Watched {
        QString path;
        files::Identity identity; // of the file the watch was set on
    };
    void noticed();
    void lookNow();
    void lookLater();
    // Sets the watches the files need now: a file replaced by another is
    // watched anew, one deleted no longer, one that appeared from now on.
    void arm();
    bool watchFile(Watched& file);

    Settings m_settings;
    QString m_folder;
    Watched m_store;
    Watched m_log;
    bool m_remote; // a network file system: others' writes send no notices
    bool m_watching = false;
    QFileSystemWatcher* m_notices;
    QTimer* m_soon;  // one look for every notice queued before it fires
    QTimer* m_after; // the looks that follow the last notice
    int m_afterStep = 0;
    QTimer* m_poll;
};

} // namespace tlm::viewer
