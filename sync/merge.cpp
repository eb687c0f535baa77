// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/merge.h"

#include <QSet>

using namespace Qt::StringLiterals;

namespace tlm::sync {

namespace {

const QString Body = u"Body"_s;
const QString Links = u"Links"_s;
const QString UserPrefix = u"User:"_s;

bool same(const QVariant& a, const QVariant& b) {
    if (!a.isValid() || !b.isValid())
        return a.isValid() == b.isValid() ||
               (a.isValid() ? a.toString().isEmpty() : b.toString().isEmpty());
    if (a.typeId() == QMetaType::QDateTime || b.typeId() == QMetaType::QDateTime)
        return a.toDateTime() == b.toDateTime();
    return a == b;
}

QString shown(const QVariant& value) {
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime().toString(u"dd.MM.yyyy HH:mm:ss"_s);
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(u", "_s);
    return value.toString();
}

} // namespace

QString conflictHeading() {
    return u"--- Beim Abgleich mit dem Server ersetzte lokale Werte ---"_s;
}

QVariantMap flatten(const pim::ItemRecord& item) {
    QVariantMap values = item.properties;
    values.remove(u"LastModificationTime"_s); // every save changes it
    if (!item.body.isEmpty())
        values.insert(Body, item.body);
    for (const pim::UserProperty& u : item.userProperties)
        values.insert(UserPrefix + u.name, u.value);
    if (!item.links.isEmpty())
        values.insert(Links, item.links);
    return values;
}

void unflatten(const QVariantMap& values, pim::ItemRecord& item) {
    const QVariant modified = item.properties.value(u"LastModificationTime"_s);
    item.properties.clear();
    item.userProperties.clear();
    item.links.clear();
    item.body.clear();
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        if (it.key() == Body)
            item.body = it.value().toString();
        else if (it.key() == Links)
            item.links = it.value().toStringList();
        else if (it.key().startsWith(UserPrefix))
            item.userProperties.append({it.key().mid(UserPrefix.size()), it.value().toString()});
        else
            item.properties.insert(it.key(), it.value());
    }
    if (modified.isValid())
        item.properties.insert(u"LastModificationTime"_s, modified);
}

MergeResult merge(const QVariantMap& base, const QVariantMap& local, const QVariantMap& remote) {
    MergeResult result;
    QSet<QString> names;
    for (const QVariantMap* m : {&base, &local, &remote})
        for (auto it = m->cbegin(); it != m->cend(); ++it)
            names.insert(it.key());
    QStringList sorted(names.cbegin(), names.cend());
    sorted.sort();
    QStringList kept;
    for (const QString& name : sorted) {
        const QVariant b = base.value(name), l = local.value(name), r = remote.value(name);
        const bool localChanged = !same(b, l), remoteChanged = !same(b, r);
        const QVariant chosen = localChanged && !remoteChanged ? l : r;
        if (chosen.isValid() && !(chosen.typeId() == QMetaType::QString && chosen.toString().isEmpty()))
            result.values.insert(name, chosen);
        if (localChanged && remoteChanged && !same(l, r)) {
            result.conflicts.append(name);
            if (l.isValid() && !shown(l).isEmpty())
                kept.append(name + u": "_s + shown(l));
        }
    }
    if (!kept.isEmpty()) {
        QString body = result.values.value(Body).toString();
        if (!body.isEmpty())
            body += u"\r\n\r\n"_s;
        body += conflictHeading() + u"\r\n"_s + kept.join(u"\r\n"_s);
        result.values.insert(Body, body);
    }
    return result;
}

} // namespace tlm::sync
