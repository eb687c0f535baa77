// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/state.h"

#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace tlm::sync {

namespace {

QByteArray compact(const QJsonObject& o) {
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

QJsonObject object(const QByteArray& json) {
    return QJsonDocument::fromJson(json).object();
}

QString base64(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.toBase64());
}

QByteArray unbase64(const QJsonValue& v) {
    return QByteArray::fromBase64(v.toString().toLatin1());
}

} // namespace

QByteArray Account::toJson() const {
    return compact({{u"name"_s, name},
                    {u"url"_s, url.toString()},
                    {u"user"_s, user},
                    {u"allowHttp"_s, allowHttp},
                    {u"storeId"_s, storeId},
                    {u"lastSync"_s, lastSync.isValid() ? lastSync.toString(Qt::ISODate) : QString()},
                    {u"lastError"_s, lastError}});
}

Account Account::fromJson(const QByteArray& json) {
    const QJsonObject o = object(json);
    Account a;
    a.name = o.value(u"name"_s).toString();
    a.url = QUrl(o.value(u"url"_s).toString());
    a.user = o.value(u"user"_s).toString();
    a.allowHttp = o.value(u"allowHttp"_s).toBool();
    a.storeId = o.value(u"storeId"_s).toString();
    a.lastSync = QDateTime::fromString(o.value(u"lastSync"_s).toString(), Qt::ISODate);
    a.lastError = o.value(u"lastError"_s).toString();
    return a;
}

QByteArray Binding::toJson() const {
    return compact({{u"folderId"_s, folderId},
                    {u"account"_s, account},
                    {u"url"_s, url.toString()},
                    {u"component"_s, component},
                    {u"syncCollection"_s, syncCollection},
                    {u"vcard4"_s, vcard4},
                    {u"syncToken"_s, syncToken}});
}

Binding Binding::fromJson(const QByteArray& json) {
    const QJsonObject o = object(json);
    Binding b;
    b.folderId = o.value(u"folderId"_s).toString();
    b.account = o.value(u"account"_s).toString();
    b.url = QUrl(o.value(u"url"_s).toString());
    b.component = o.value(u"component"_s).toString();
    b.syncCollection = o.value(u"syncCollection"_s).toBool();
    b.vcard4 = o.value(u"vcard4"_s).toBool();
    b.syncToken = o.value(u"syncToken"_s).toString();
    return b;
}

QByteArray ItemState::toJson() const {
    return compact({{u"path"_s, path},
                    {u"entryId"_s, entryId},
                    {u"uid"_s, uid},
                    {u"etag"_s, QString::fromUtf8(etag)},
                    {u"serverData"_s, QString::fromUtf8(serverData)},
                    {u"localDigest"_s, base64(localDigest)}});
}

ItemState ItemState::fromJson(const QByteArray& json) {
    const QJsonObject o = object(json);
    ItemState s;
    s.path = o.value(u"path"_s).toString();
    s.entryId = o.value(u"entryId"_s).toString();
    s.uid = o.value(u"uid"_s).toString();
    s.etag = o.value(u"etag"_s).toString().toUtf8();
    s.serverData = o.value(u"serverData"_s).toString().toUtf8();
    s.localDigest = unbase64(o.value(u"localDigest"_s));
    return s;
}

QString accountScope() {
    return u"account"_s;
}

QString bindingScope() {
    return u"binding"_s;
}

QString itemScope(const QString& folderId) {
    return u"item:"_s + folderId;
}

} // namespace tlm::sync
