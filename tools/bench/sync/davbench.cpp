// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/bench/sync/davbench.h"
#include "tools/bench/common/benchdata.h"
#include "sync/davclient.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace tlm::bench {

namespace {

void write(const QString& path, const QByteArray& data) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

// A card as address books hold them: names, a company for every third, two
// or three numbers and an address.
QByteArray card(int i) {
    const QByteArray n = QByteArray::number(i);
    QByteArray c = "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:bench-" + n + "\r\nN:Nachname" + n +
                   ";Vorname" + n + ";;;\r\nFN:Vorname" + n + " Nachname" + n + "\r\n";
    if (i % 3 == 0)
        c += "ORG:Firma " + QByteArray::number(i / 3) + "\r\n";
    const char* const types[] = {"WORK", "HOME", "CELL"};
    for (int k = 0; k < 2 + i % 2; ++k)
        c += QByteArray("TEL;TYPE=") + types[(i + k) % 3] + ':' + numberOf(i, k).toUtf8() + "\r\n";
    c += "EMAIL;TYPE=INTERNET:vorname" + n + "@example.org\r\n"
         "ADR;TYPE=WORK:;;Hauptstr. " + QByteArray::number(1 + i % 200) +
         ";Berlin;;10115;Deutschland\r\nEND:VCARD\r\n";
    return c;
}

void runQuietly(const QString& shellCommand) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(u"sh"_s, {u"-c"_s, shellCommand});
    p.waitForFinished(-1);
    if (p.exitCode() != 0)
        throw std::runtime_error("failed: " + shellCommand.toStdString() + "\n" +
                                 p.readAll().toStdString());
}

} // namespace

void seedRadicaleBook(const QString& serverFolder, const QString& user, const QString& name,
                      int count) {
    const QString folder = serverFolder + u"/collections/collection-root/"_s + user + u'/' + name;
    QDir().mkpath(folder);
    write(folder + u"/.Radicale.props"_s,
          R"({"D:displayname": "Adressbuch", "tag": "VADDRESSBOOK"})");
    for (int i = 0; i < count; ++i)
        write(folder + u"/bench-"_s + QString::number(i) + u".vcf"_s, card(i));
}

void warmRadicale(const QUrl& collection, const QString& user, const QString& password) {
    sync::DavClient client({user, password, false});
    const sync::Reply listing = client.propfind(
        collection, 1, R"(<propfind xmlns="DAV:"><prop><getetag/></prop></propfind>)");
    const sync::Reply report = client.report(
        collection, 0,
        R"(<sync-collection xmlns="DAV:"><sync-token/><sync-level>1</sync-level>)"
        R"(<prop><getetag/></prop></sync-collection>)");
    if (listing.status != 207 || report.status != 207)
        throw std::runtime_error("the server does not list the address book");
}

bool Vdirsyncer::installed() {
    return !QStandardPaths::findExecutable(u"vdirsyncer"_s).isEmpty();
}

Vdirsyncer::Vdirsyncer(const QString& folder, const QUrl& collection, const QString& user,
                       const QString& password)
    : m_folder(folder) {
    QDir().mkpath(folder);
    const QString config =
        u"[general]\nstatus_path = \"%1/status/\"\n\n"
        u"[pair book]\na = \"book_files\"\nb = \"book_server\"\ncollections = null\n"
        u"conflict_resolution = \"b wins\"\n\n"
        u"[storage book_files]\ntype = \"filesystem\"\npath = \"%1/files/\"\nfileext = \".vcf\"\n\n"
        u"[storage book_server]\ntype = \"carddav\"\nurl = \"%2\"\nusername = \"%3\"\n"
        u"password = \"%4\"\n"_s.arg(folder, collection.toString(), user, password);
    write(folder + u"/config"_s, config.toUtf8());
}

void Vdirsyncer::reset() {
    QDir(m_folder + u"/files"_s).removeRecursively();
    QDir(m_folder + u"/status"_s).removeRecursively();
    QDir().mkpath(m_folder + u"/files"_s);
    runQuietly(u"yes | vdirsyncer -c '%1/config' discover"_s.arg(m_folder));
}

Usage Vdirsyncer::sync() {
    return runChild(u"vdirsyncer"_s, {u"-c"_s, m_folder + u"/config"_s, u"sync"_s});
}

int Vdirsyncer::files() const {
    return static_cast<int>(QDir(m_folder + u"/files"_s).entryList({u"*.vcf"_s}, QDir::Files).size());
}

} // namespace tlm::bench
