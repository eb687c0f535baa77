// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Benchmark of the local PIM store: importing contacts and one pass over the
// contact table with "Journal" and the twelve phone columns added, as the
// contact index reads it. Usage: bench_pim_store [count ...] (default 10000
// and 100000).
#include "outlook/application.h"
#include "outlook/folder.h"
#include "pimoutlook/register.h"
#include "store/pimstore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

const QStringList PhoneColumns = {
    u"BusinessTelephoneNumber"_s, u"HomeTelephoneNumber"_s,      u"Home2TelephoneNumber"_s,
    u"MobileTelephoneNumber"_s,   u"Business2TelephoneNumber"_s, u"CompanyMainTelephoneNumber"_s,
    u"CallbackTelephoneNumber"_s, u"CarTelephonenumber"_s,       u"AssistantTelephoneNumber"_s,
    u"OtherTelephoneNumber"_s,    u"PrimaryTelephoneNumber"_s,   u"RadioTelephoneNumber"_s};

tlm::pim::ItemRecord makeContact(int i, QRandomGenerator& random) {
    tlm::pim::ItemRecord r;
    r.properties.insert(u"FirstName"_s, QString(u"Vorname"_s + QString::number(i)));
    r.properties.insert(u"LastName"_s, QString(u"Nachname"_s + QString::number(i)));
    if (i % 3 == 0)
        r.properties.insert(u"CompanyName"_s, QString(u"Firma "_s + QString::number(i / 3)));
    r.properties.insert(u"BusinessAddressCity"_s, u"Berlin"_s);
    r.properties.insert(u"Journal"_s, i % 4 == 0);
    // 1 to 4 numbers, 2.5 on average, in random phone fields.
    const int numbers = 1 + static_cast<int>(random.bounded(4));
    for (int n = 0; n < numbers; ++n) {
        const QString field = PhoneColumns[static_cast<int>(random.bounded(12))];
        r.properties.insert(
            field, QString(u"+49 (30) "_s + QString::number(1000000 + random.bounded(8999999))));
    }
    return r;
}

void run(int count) {
    QTemporaryDir dir;
    const QString path = dir.path() + u"/bench.sqlite"_s;
    QRandomGenerator random(4711);

    QElapsedTimer timer;
    timer.start();
    qint64 stored = 0;
    {
        tlm::pim::Store store(path);
        const QString folder = store.defaultFolder(tlm::outlook::olFolderContacts).entryId;
        store.transaction([&] {
            for (int i = 0; i < count; ++i)
                store.addItem(folder, makeContact(i, random));
        });
        stored = store.itemIds(folder).size();
    }
    const double importMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;

    timer.restart();
    auto app = tlm::outlook::attach(path);
    auto table = app->GetNamespace(u"MAPI"_s)->GetDefaultFolder(10)->GetTable();
    table->Columns()->Add(u"Journal"_s);
    for (const QString& c : PhoneColumns)
        table->Columns()->Add(c);
    table->MoveToStart();
    qint64 rows = 0, numbers = 0, journals = 0;
    QDateTime newest;
    while (!table->EndOfTable()) {
        auto row = table->GetNextRow();
        ++rows;
        const QString id = row->Item(1).toString();
        const QDateTime modified = row->Item(4).toDateTime();
        if (!newest.isValid() || modified > newest)
            newest = modified;
        journals += row->Item(9).toBool() ? 1 : 0;
        for (int c = 10; c <= 21; ++c) {
            if (!row->Item(c).toString().isEmpty() && !id.isEmpty())
                ++numbers;
        }
    }
    const double passMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;

    std::printf("%7d contacts (%lld stored): import %8.1f ms (%6.2f us/contact); "
                "table pass %8.1f ms over %lld rows, %lld numbers (%5.2f us/row)\n",
                count, static_cast<long long>(stored), importMs, importMs * 1000 / count, passMs,
                static_cast<long long>(rows), static_cast<long long>(numbers),
                passMs * 1000 / static_cast<double>(std::max<qint64>(rows, 1)));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    tlm::pim::registerOutlookBackend();
    QList<int> counts;
    for (int i = 1; i < argc; ++i)
        counts.append(QString::fromLocal8Bit(argv[i]).toInt());
    if (counts.isEmpty())
        counts = {10000, 100000};
    for (int count : counts)
        run(count);
    return 0;
}
