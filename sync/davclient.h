// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// HTTP for CardDAV and CalDAV: one request at a time, the caller waits for
// the answer (the tool calls it from main, the viewer from its sync thread;
// a client belongs to the thread that made it).
//
// - Credentials answer the server's challenge (Basic or Digest); they never
//   appear in an error message.
// - HTTPS certificates are verified. Plain HTTP is refused unless the host is
//   a loopback address or the account allows it.
// - Redirects are followed on the same server only (scheme, host and port),
//   at most five times; the method and body go along.
// - An answer above the limit is cut off and refused.
// Transport failures, a refused login and a refused redirect raise
// SyncError; every other HTTP status is returned for the caller to judge.
#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QUrl>
#include <functional>
#include <memory>

namespace tlm::sync {

struct ServerAccess {
    QString user;
    QString password;
    bool allowHttp = false; // plain HTTP to other hosts than loopback
};

struct Reply {
    int status = 0;
    QByteArray body;
    QUrl url;         // where the answer came from, after redirects
    QByteArray etag;  // the ETag header as sent (quotes included); may be empty
    QByteArray contentType;
    bool ok() const { return status >= 200 && status < 300; }
};

using Headers = QList<QPair<QByteArray, QByteArray>>;

class DavClient {
public:
    static constexpr qint64 AnswerLimit = 256ll * 1024 * 1024;
    // Without a byte moving. Generous: Radicale answers a listing only once
    // it has read every resource, and the first listing of a big collection
    // (its caches not yet built) stays silent for minutes.
    static constexpr int TransferTimeoutMs = 300'000;

    explicit DavClient(ServerAccess access);
    ~DavClient();
    DavClient(const DavClient&) = delete;
    DavClient& operator=(const DavClient&) = delete;

    // Any request; an XML body is sent as "application/xml; charset=utf-8"
    // unless headers name a Content-Type.
    Reply send(const QByteArray& method, const QUrl& url, const QByteArray& body = {},
               const Headers& headers = {}, qint64 limit = AnswerLimit);

    Reply propfind(const QUrl& url, int depth, const QByteArray& xml);
    Reply report(const QUrl& url, int depth, const QByteArray& xml);
    Reply get(const QUrl& url, qint64 limit = AnswerLimit);
    // ifMatch empty: a new resource (If-None-Match: *).
    Reply put(const QUrl& url, const QByteArray& body, const QByteArray& contentType,
              const QByteArray& ifMatch);
    Reply remove(const QUrl& url, const QByteArray& ifMatch);

    // Requests sent so far (redirects count), for the benchmarks and tests.
    int requestCount() const;

    // Tests: called before every request of the process with its number
    // (from 1); it may throw to interrupt the sync there, or end the process.
    static void setRequestHook(std::function<void(int)> hook);

    // Raises InsecureHttp for plain HTTP where it is not allowed, and
    // Unsupported for schemes other than http and https.
    static void checkUrl(const QUrl& url, bool allowHttp);
    static bool isLoopback(const QString& host);
    // A valid http or https address with a host.
    static bool isServerUrl(const QUrl& url);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

// Raises an Http failure naming the request and the status unless the
// reply's status is one of expected.
void expectStatus(const Reply& reply, std::initializer_list<int> expected,
                  const QByteArray& method);

} // namespace tlm::sync
