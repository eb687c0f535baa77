// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/bench/common/benchdata.h"

#include "core/settings.h"
#include "outlook/application.h"
#include "store/pimstore.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace tlm::bench {
namespace {
const char* const PhoneFields[] = {"BusinessTelephoneNumber", "HomeTelephoneNumber",
                                   "MobileTelephoneNumber", "Business2TelephoneNumber",
                                   "OtherTelephoneNumber"};
} // namespace

QString numberOf(int contact, int n) {
    return u"+49 (30) %1-%2"_s.arg(1000 + contact % 9000).arg(contact * 3 + n, 7, 10, QChar(u'0'));
}

QString indexedNumberOf(int contact, int n) {
    QString number = numberOf(contact, n);
    number.remove(u' ').remove(u'(').remove(u')').remove(u'-');
    return number.replace(u"+49"_s, u"0"_s);
}

void useEnvironment(const QString& root) {
    QDir().mkpath(root + u"/temp/Tellmarin"_s);
    qputenv("TEMP", (root + u"/temp"_s).toUtf8());
    qputenv("XDG_CONFIG_HOME", (root + u"/config"_s).toUtf8());
    qputenv("XDG_DATA_HOME", (root + u"/data"_s).toUtf8());
    qputenv("TELLMARIN_PIM", (root + u"/data/pim.sqlite"_s).toUtf8());
    qputenv("TELLMARIN_AUTOANSWER", "1");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QDir().mkpath(root + u"/runtime"_s);
    QFile::setPermissions(root + u"/runtime"_s,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", (root + u"/runtime"_s).toUtf8());
    saveSetting(keys::DefaultFolder, u"1"_s);
}

QString workFolder(const QString& root) {
    return root + u"/temp/Tellmarin/"_s;
}

QString indexFile(const QString& root) {
    return workFolder(root) + u"tlm"_s + QDate::currentDate().toString(u"yyyyMMdd"_s) + u".idx"_s;
}

int fillContacts(int count) {
    pim::Store store;
    const QString folder = store.defaultFolder(outlook::olFolderContacts).entryId;
    int numbers = 0;
    store.transaction([&] {
        for (int i = 0; i < count; ++i) {
            pim::ItemRecord r;
            r.properties.insert(u"FirstName"_s, u"Vorname%1"_s.arg(i));
            r.properties.insert(u"LastName"_s, u"Nachname%1"_s.arg(i));
            const int n = 2 + (i % 2); // 2.5 on average
            for (int k = 0; k < n; ++k)
                r.properties.insert(QString::fromLatin1(PhoneFields[(i + k) % 5]), numberOf(i, k));
            numbers += n;
            store.addItem(folder, r);
        }
    });
    return numbers;
}

QStringList calledEvent(const QString& number, const QString& callId) {
    QStringList event = {number, number,      u"21"_s, u"Zentrale"_s,
                         u"0"_s, u"called"_s, u"0"_s,  u"2026-12-05 14:03:27"_s,
                         u"0"_s, u"1"_s,      callId,  u"U1"_s};
    while (event.size() < 19)
        event << QString();
    return event;
}

double millis(qint64 nanoseconds) {
    return static_cast<double>(nanoseconds) / 1e6;
}

double median(QList<double> values) {
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0.0 : values[values.size() / 2];
}

} // namespace tlm::bench
