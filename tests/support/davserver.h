// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A real CardDAV/CalDAV server for a test: Radicale or Xandikos from Debian,
// started through scripts/dav-server.sh on a free port of 127.0.0.1 in a
// folder of the test's own, and stopped with the object.
#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <memory>

namespace tlm::test {

class DavServer {
public:
    enum class Kind { Radicale, Xandikos };
    struct Options {
        QString user = QStringLiteral("u");
        QString password = QStringLiteral("secret");
        QString rightsFile; // Radicale: rights for shared collections
        bool tls = false;
    };

    DavServer(Kind kind, const QString& folder, Options options);
    DavServer(Kind kind, const QString& folder) : DavServer(kind, folder, Options()) {}
    ~DavServer();

    QUrl url() const; // "http://127.0.0.1:PORT/" (https with tls)
    QUrl url(const QString& path) const;
    const Options& options() const { return m_options; }

    void stop();  // the server goes away; the port stays reserved for start()
    void start(); // again on the same port, with the same collections

    // Sets up collections the way another client would (extended MKCOL).
    // components empty: an address book.
    void makeCollection(const QString& path, const QString& displayName,
                        const QStringList& components = {});
    // PUT/GET/DELETE of a resource with the test's credentials: status and body.
    int put(const QString& path, const QByteArray& body, const QByteArray& contentType);
    QByteArray get(const QString& path, int* status = nullptr);
    int remove(const QString& path);
    // The hrefs of a collection's resources (PROPFIND, depth 1).
    QStringList list(const QString& path);

private:
    int request(const QByteArray& method, const QString& path, const QByteArray& body,
                const QList<QPair<QByteArray, QByteArray>>& headers, QByteArray* answer);
    void waitUntilAnswering();

    Kind m_kind;
    QString m_folder;
    Options m_options;
    int m_port = 0;
    std::unique_ptr<QProcess> m_process;
};

} // namespace tlm::test
