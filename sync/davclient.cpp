// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/davclient.h"
#include "sync/syncerror.h"

#include <QAuthenticator>
#include <QBuffer>
#include <QEventLoop>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslError>

using namespace Qt::StringLiterals;

namespace tlm::sync {

namespace {

constexpr int MaxRedirects = 5;

std::function<void(int)>& requestHook() {
    static std::function<void(int)> hook;
    return hook;
}

int& processRequests() {
    static int count = 0;
    return count;
}

bool isRedirect(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

bool sameServer(const QUrl& a, const QUrl& b) {
    return a.scheme() == b.scheme() && a.host().compare(b.host(), Qt::CaseInsensitive) == 0 &&
           a.port(a.scheme() == u"https"_s ? 443 : 80) == b.port(b.scheme() == u"https"_s ? 443 : 80);
}

// The address as a user reads it: no user name, no password, no query.
QString shown(const QUrl& url) {
    return url.toDisplayString(QUrl::RemoveUserInfo | QUrl::RemoveQuery | QUrl::RemoveFragment);
}

SyncError transportError(QNetworkReply::NetworkError code, const QUrl& url) {
    switch (code) {
    case QNetworkReply::SslHandshakeFailedError:
        return SyncError(Failure::Certificate,
                         u"Dem Zertifikat des Servers %1 wird nicht vertraut; die Verbindung "
                         u"wurde nicht aufgebaut."_s.arg(url.host()));
    case QNetworkReply::OperationCanceledError:
    case QNetworkReply::TimeoutError:
        return SyncError(Failure::Unreachable,
                         u"Der Server %1 antwortet nicht."_s.arg(url.host()));
    default:
        return SyncError(Failure::Unreachable,
                         u"Der Server %1 ist nicht erreichbar."_s.arg(shown(url)));
    }
}

} // namespace

struct DavClient::Impl {
    ServerAccess access;
    QNetworkAccessManager network;
    int requests = 0;

    Reply once(const QByteArray& method, const QUrl& url, const QByteArray& body,
               const Headers& headers, qint64 limit);
};

Reply DavClient::Impl::once(const QByteArray& method, const QUrl& url, const QByteArray& body,
                            const Headers& headers, qint64 limit) {
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    request.setTransferTimeout(TransferTimeoutMs);
    request.setHeader(QNetworkRequest::UserAgentHeader, QByteArrayLiteral("Tellmarin"));
    bool typed = false;
    for (const auto& [name, value] : headers) {
        request.setRawHeader(name, value);
        typed = typed || name.compare("Content-Type", Qt::CaseInsensitive) == 0;
    }
    if (!body.isEmpty() && !typed)
        request.setRawHeader("Content-Type", "application/xml; charset=utf-8");

    ++requests;
    ++processRequests();
    if (requestHook())
        requestHook()(processRequests());
    QNetworkReply* reply = network.sendCustomRequest(request, method, body);
    std::unique_ptr<QNetworkReply> owner(reply);
    Reply answer;
    bool tooLarge = false;
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [&] {
        if (answer.body.size() + reply->bytesAvailable() > limit) {
            tooLarge = true;
            reply->abort();
            return;
        }
        answer.body += reply->readAll();
    });
    int challenges = 0;
    QObject::connect(&network, &QNetworkAccessManager::authenticationRequired, reply,
                     [&](QNetworkReply* which, QAuthenticator* authenticator) {
                         // Answer the challenge once; a second one means the
                         // credentials were refused.
                         if (which != reply || access.user.isEmpty() || challenges++ > 0)
                             return;
                         authenticator->setUser(access.user);
                         authenticator->setPassword(access.password);
                     });
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (tooLarge)
        throw SyncError(Failure::TooLarge,
                        u"Die Antwort des Servers auf %1 ist größer als %2 MiB."_s.arg(
                            shown(url), QString::number(limit / (1024 * 1024))));
    answer.body += reply->readAll();
    answer.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    answer.url = url;
    answer.etag = reply->rawHeader("ETag");
    answer.contentType = reply->rawHeader("Content-Type");
    if (answer.status == 401 || reply->error() == QNetworkReply::AuthenticationRequiredError)
        throw SyncError(Failure::Authentication,
                        u"Der Server %1 hat die Anmeldung als „%2“ abgelehnt (Benutzer oder "
                        u"Passwort falsch)."_s.arg(url.host(), access.user),
                        401);
    if (answer.status == 0)
        throw transportError(reply->error(), url);
    if (isRedirect(answer.status))
        answer.body = reply->rawHeader("Location"); // read by send()
    return answer;
}

DavClient::DavClient(ServerAccess access) : m_impl(std::make_unique<Impl>()) {
    m_impl->access = std::move(access);
    // Credentials are given per challenge and kept by Qt for the session's
    // later requests to the same server.
}

DavClient::~DavClient() = default;

Reply DavClient::send(const QByteArray& method, const QUrl& url, const QByteArray& body,
                      const Headers& headers, qint64 limit) {
    QUrl target = url;
    for (int hop = 0;; ++hop) {
        checkUrl(target, m_impl->access.allowHttp);
        Reply reply = m_impl->once(method, target, body, headers, limit);
        if (!isRedirect(reply.status))
            return reply;
        const QUrl next = target.resolved(QUrl::fromEncoded(reply.body));
        if (!next.isValid() || !sameServer(target, next))
            throw SyncError(Failure::Redirect,
                            u"Der Server %1 leitet auf einen anderen Server um (%2); die "
                            u"Umleitung wurde nicht befolgt."_s.arg(target.host(), shown(next)),
                            reply.status);
        if (hop + 1 >= MaxRedirects)
            throw SyncError(Failure::Redirect,
                            u"Der Server %1 leitet zu oft um."_s.arg(target.host()), reply.status);
        target = next;
    }
}

Reply DavClient::propfind(const QUrl& url, int depth, const QByteArray& xml) {
    return send("PROPFIND", url, xml, {{"Depth", QByteArray::number(depth)}});
}

Reply DavClient::report(const QUrl& url, int depth, const QByteArray& xml) {
    return send("REPORT", url, xml, {{"Depth", QByteArray::number(depth)}});
}

Reply DavClient::get(const QUrl& url, qint64 limit) {
    return send("GET", url, {}, {}, limit);
}

Reply DavClient::put(const QUrl& url, const QByteArray& body, const QByteArray& contentType,
                     const QByteArray& ifMatch) {
    Headers headers{{"Content-Type", contentType}};
    if (ifMatch.isEmpty())
        headers.append(qMakePair(QByteArray("If-None-Match"), QByteArray("*")));
    else
        headers.append(qMakePair(QByteArray("If-Match"), ifMatch));
    return send("PUT", url, body, headers);
}

Reply DavClient::remove(const QUrl& url, const QByteArray& ifMatch) {
    Headers headers;
    if (!ifMatch.isEmpty())
        headers.append(qMakePair(QByteArray("If-Match"), ifMatch));
    return send("DELETE", url, {}, headers);
}

void DavClient::setRequestHook(std::function<void(int)> hook) {
    requestHook() = std::move(hook);
    processRequests() = 0;
}

int DavClient::requestCount() const {
    return m_impl->requests;
}

bool DavClient::isLoopback(const QString& host) {
    if (host.compare(u"localhost"_s, Qt::CaseInsensitive) == 0)
        return true;
    const QHostAddress address(host);
    return !address.isNull() && address.isLoopback();
}

bool DavClient::isServerUrl(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() && (scheme == u"https"_s || scheme == u"http"_s);
}

void DavClient::checkUrl(const QUrl& url, bool allowHttp) {
    if (isServerUrl(url)) {
        if (url.scheme().toLower() == u"https"_s || allowHttp || isLoopback(url.host()))
            return;
        throw SyncError(Failure::InsecureHttp,
                        u"Unverschlüsseltes HTTP zu %1 wird nicht verwendet: bitte https:// "
                        u"angeben oder --allow-http."_s.arg(url.host()));
    }
    throw SyncError(Failure::Unsupported,
                    u"„%1“ ist keine Adresse eines Servers (http:// oder https://)."_s.arg(
                        shown(url)));
}

void expectStatus(const Reply& reply, std::initializer_list<int> expected,
                  const QByteArray& method) {
    for (int status : expected)
        if (reply.status == status)
            return;
    throw SyncError(Failure::Http,
                    u"Der Server antwortete auf %1 %2 mit dem Status %3."_s.arg(
                        QString::fromLatin1(method), shown(reply.url),
                        QString::number(reply.status)),
                    reply.status);
}

} // namespace tlm::sync
