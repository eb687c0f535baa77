// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/davserver.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QSslError>
#include <QTcpSocket>
#include <QThread>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace tlm::test {

DavServer::DavServer(Kind kind, const QString& folder, Options options)
    : m_kind(kind), m_folder(folder), m_options(std::move(options)) {
    start();
}

DavServer::~DavServer() {
    stop();
}

void DavServer::start() {
    QStringList args{QStringLiteral(TM_DAV_SERVER_SCRIPT),
                     m_kind == Kind::Radicale ? u"radicale"_s : u"xandikos"_s, m_folder,
                     u"--user"_s, m_options.user, u"--password"_s, m_options.password};
    if (!m_options.rightsFile.isEmpty())
        args << u"--rights"_s << m_options.rightsFile;
    if (m_options.tls)
        args << u"--tls"_s;
    if (m_port != 0)
        args << u"--port"_s << QString::number(m_port);
    m_process = std::make_unique<QProcess>();
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process->start(u"bash"_s, args);
    if (!m_process->waitForStarted(-1))
        throw std::runtime_error("dav-server.sh did not start");
    while (!m_process->canReadLine()) {
        if (!m_process->waitForReadyRead(-1))
            throw std::runtime_error("dav-server.sh printed no port");
    }
    m_port = m_process->readLine().trimmed().toInt();
    waitUntilAnswering();
}

void DavServer::waitUntilAnswering() {
    // Until the port takes connections, or the server has died.
    for (;;) {
        QTcpSocket socket;
        socket.connectToHost(u"127.0.0.1"_s, static_cast<quint16>(m_port));
        if (socket.waitForConnected(-1))
            return;
        if (m_process->state() == QProcess::NotRunning)
            throw std::runtime_error("the DAV server ended at start; see its log");
        QThread::msleep(20);
    }
}

void DavServer::stop() {
    if (!m_process)
        return;
    m_process->terminate();
    if (!m_process->waitForFinished(-1))
        m_process->kill();
    m_process.reset();
}

QUrl DavServer::url() const {
    return QUrl(u"%1://127.0.0.1:%2/"_s.arg(m_options.tls ? u"https"_s : u"http"_s)
                    .arg(m_port));
}

QUrl DavServer::url(const QString& path) const {
    return url().resolved(QUrl(path));
}

int DavServer::request(const QByteArray& method, const QString& path, const QByteArray& body,
                       const QList<QPair<QByteArray, QByteArray>>& headers, QByteArray* answer) {
    QNetworkAccessManager network;
    QNetworkRequest request(url(path));
    const QByteArray login = (m_options.user + u':' + m_options.password).toUtf8().toBase64();
    request.setRawHeader("Authorization", "Basic " + login);
    for (const auto& [name, value] : headers)
        request.setRawHeader(name, value);
    QNetworkReply* reply = network.sendCustomRequest(request, method, body);
    if (m_options.tls)
        reply->ignoreSslErrors();
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec();
    if (answer)
        *answer = reply->readAll();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    reply->deleteLater();
    return status;
}

void DavServer::makeCollection(const QString& path, const QString& displayName,
                               const QStringList& components) {
    QString comps;
    for (const QString& c : components)
        comps += u"<C:comp name=\"%1\"/>"_s.arg(c);
    const QString type = components.isEmpty() ? u"<CR:addressbook/>"_s : u"<C:calendar/>"_s;
    const QString set = components.isEmpty()
                            ? QString()
                            : u"<C:supported-calendar-component-set>"_s + comps +
                                  u"</C:supported-calendar-component-set>"_s;
    const QString xml =
        u"<?xml version=\"1.0\" encoding=\"utf-8\"?>"
        u"<D:mkcol xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\" "
        u"xmlns:CR=\"urn:ietf:params:xml:ns:carddav\"><D:set><D:prop>"
        u"<D:resourcetype><D:collection/>"_s +
        type + u"</D:resourcetype>"_s +
        (displayName.isEmpty()
             ? QString()
             : u"<D:displayname>"_s + displayName.toHtmlEscaped() + u"</D:displayname>"_s) +
        set + u"</D:prop></D:set></D:mkcol>"_s;
    const int status = request("MKCOL", path, xml.toUtf8(),
                               {{"Content-Type", "application/xml; charset=utf-8"}}, nullptr);
    if (status != 201)
        throw std::runtime_error("MKCOL " + path.toStdString() + ": " + std::to_string(status));
}

int DavServer::put(const QString& path, const QByteArray& body, const QByteArray& contentType) {
    return request("PUT", path, body, {{"Content-Type", contentType}}, nullptr);
}

QByteArray DavServer::get(const QString& path, int* status) {
    QByteArray answer;
    const int s = request("GET", path, {}, {}, &answer);
    if (status)
        *status = s;
    return answer;
}

int DavServer::remove(const QString& path) {
    return request("DELETE", path, {}, {}, nullptr);
}

QStringList DavServer::list(const QString& path) {
    QByteArray answer;
    request("PROPFIND", path,
            "<?xml version=\"1.0\"?><propfind xmlns=\"DAV:\"><prop><getetag/></prop></propfind>",
            {{"Depth", "1"}, {"Content-Type", "application/xml; charset=utf-8"}}, &answer);
    QStringList hrefs;
    static const QRegularExpression href(u"<(?:[A-Za-z0-9]+:)?href>([^<]*)</"_s);
    for (auto m = href.globalMatch(QString::fromUtf8(answer)); m.hasNext();) {
        const QString h = m.next().captured(1);
        if (!h.endsWith(u'/'))
            hrefs.append(h);
    }
    return hrefs;
}

} // namespace tlm::test
