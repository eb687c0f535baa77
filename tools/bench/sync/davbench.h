// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the sync benchmark needs around the server: an address book written
// straight into a Radicale folder before the server starts (far faster than
// one PUT per contact), the server's caches filled as after normal use, and
// vdirsyncer syncing the same address book into a folder of files.
#include "tools/bench/common/child.h"

#include <QString>
#include <QUrl>

namespace tlm::bench {

// Writes count contacts and the collection's properties into the Radicale
// server folder serverFolder, as the collection /user/name/ ("Adressbuch").
void seedRadicaleBook(const QString& serverFolder, const QString& user, const QString& name,
                      int count);

// Radicale builds its per-item caches on the first listing and the first
// sync-collection report of a collection written from outside; a server in
// use has them already. Lists the collection both ways.
void warmRadicale(const QUrl& collection, const QString& user, const QString& password);

class Vdirsyncer {
public:
    static bool installed();

    // A pair of the address book at collection and the folder folder/files.
    Vdirsyncer(const QString& folder, const QUrl& collection, const QString& user,
               const QString& password);

    // Forgets everything synced (files and status) and discovers again.
    void reset();
    Usage sync();
    int files() const; // contacts in the folder

private:
    QString m_folder;
};

} // namespace tlm::bench
