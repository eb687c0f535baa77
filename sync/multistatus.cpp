// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/multistatus.h"
#include "sync/syncerror.h"

#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

namespace tlm::sync {

namespace {

QString clark(const QXmlStreamReader& xml) {
    return u'{' + xml.namespaceUri() + u'}' + xml.name();
}

bool isDav(const QXmlStreamReader& xml, QStringView local) {
    return xml.namespaceUri() == QStringView(ns::Dav) && xml.name() == local;
}

[[noreturn]] void badAnswer(const QXmlStreamReader& xml, const QString& what) {
    throw SyncError(Failure::BadAnswer,
                    u"Die Antwort des Servers ist nicht lesbar (Zeile %1: %2)."_s.arg(
                        QString::number(xml.lineNumber()), what));
}

// Reads one property element (the reader stands on its start).
DavProperty readProperty(QXmlStreamReader& xml) {
    DavProperty property;
    int depth = 0;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            ++depth;
            if (depth == 1)
                property.children.append(clark(xml));
            property.descendants.append(clark(xml));
            QHash<QString, QString> attributes;
            for (const QXmlStreamAttribute& a : xml.attributes())
                attributes.insert(a.name().toString(), a.value().toString());
            property.descendantAttributes.append(attributes);
            if (isDav(xml, u"href"))
                property.hrefs.append(xml.readElementText().trimmed()), --depth;
            else if (xml.name() == u"comp" && xml.namespaceUri() == QStringView(ns::CalDav))
                property.comps.append(xml.attributes().value(u"name"_s).toString());
        } else if (token == QXmlStreamReader::EndElement) {
            if (depth-- == 0)
                break;
        } else if (token == QXmlStreamReader::Characters && depth == 0) {
            property.text += xml.text();
        }
    }
    property.text = property.text.trimmed();
    return property;
}

// Reads a propstat; found properties go into response.
void readPropstat(QXmlStreamReader& xml, DavResponse& response) {
    QHash<QString, DavProperty> found;
    int status = 0;
    while (xml.readNextStartElement()) {
        if (isDav(xml, u"prop")) {
            while (xml.readNextStartElement())
                found.insert(clark(xml), readProperty(xml));
        } else if (isDav(xml, u"status")) {
            status = statusOfLine(xml.readElementText());
        } else {
            xml.skipCurrentElement();
        }
    }
    if (status == 200)
        response.props.insert(found);
}

DavResponse readResponse(QXmlStreamReader& xml) {
    DavResponse response;
    while (xml.readNextStartElement()) {
        if (isDav(xml, u"href"))
            response.href = xml.readElementText().trimmed();
        else if (isDav(xml, u"status"))
            response.status = statusOfLine(xml.readElementText());
        else if (isDav(xml, u"propstat"))
            readPropstat(xml, response);
        else
            xml.skipCurrentElement();
    }
    return response;
}

} // namespace

const DavProperty* DavResponse::prop(const QString& name) const {
    const auto it = props.constFind(name);
    return it == props.cend() ? nullptr : &*it;
}

QString DavResponse::text(const QString& name) const {
    const DavProperty* p = prop(name);
    return p ? p->text : QString();
}

int statusOfLine(QStringView line) {
    const QStringView rest = line.trimmed();
    const qsizetype space = rest.indexOf(u' ');
    if (space < 0)
        return 0;
    bool ok = false;
    const int status = rest.mid(space + 1, 3).toInt(&ok);
    return ok ? status : 0;
}

Multistatus parseMultistatus(const QByteArray& data) {
    QXmlStreamReader xml(data);
    Multistatus result;
    if (!xml.readNextStartElement() || !isDav(xml, u"multistatus"))
        badAnswer(xml, xml.hasError() ? xml.errorString() : u"kein multistatus"_s);
    while (xml.readNextStartElement()) {
        if (isDav(xml, u"response"))
            result.responses.append(readResponse(xml));
        else if (isDav(xml, u"sync-token"))
            result.syncToken = xml.readElementText().trimmed();
        else
            xml.skipCurrentElement();
    }
    if (xml.hasError())
        badAnswer(xml, xml.errorString());
    return result;
}

} // namespace tlm::sync
