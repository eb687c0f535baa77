// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Benchmark of the contact index: the build from a store of many contacts
// (with the lookup table beside the index), the lookup of one number through
// the table side by side with the scan of the whole index and "grep -F -c" on
// the same file (the floor for scanning it), and a whole "called" event of tellmarin side
// by side with a bare start that ends at start-up step 8; then a whole
// answered call (called, connect, finished) with contact and journal entry.
// Usage: bench_index [contacts] (default 100000, about 2.5 numbers each).
#include "core/contactindex.h"
#include "core/run.h"
#include "core/settings.h"
#include "numbers/indexfile.h"
#include "numbers/indextable.h"
#include "outlook/application.h"
#include "pimoutlook/register.h"
#include "store/pimstore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {
const char* const PhoneFields[] = {"BusinessTelephoneNumber", "HomeTelephoneNumber",
                                   "MobileTelephoneNumber", "Business2TelephoneNumber",
                                   "OtherTelephoneNumber"};

QString numberOf(int contact, int n) {
    return QStringLiteral("+49 (30) %1-%2")
        .arg(1000 + contact % 9000)
        .arg(contact * 3 + n, 7, 10, QLatin1Char('0'));
}

void fillStore(int count) {
    tlm::pim::Store store;
    const QString folder = store.defaultFolder(tlm::outlook::olFolderContacts).entryId;
    store.transaction([&] {
        for (int i = 0; i < count; ++i) {
            tlm::pim::ItemRecord r;
            r.properties.insert(QStringLiteral("FirstName"), QStringLiteral("Vorname%1").arg(i));
            r.properties.insert(QStringLiteral("LastName"), QStringLiteral("Nachname%1").arg(i));
            const int numbers = 2 + (i % 2); // 2.5 on average
            for (int n = 0; n < numbers; ++n)
                r.properties.insert(QString::fromLatin1(PhoneFields[(i + n) % 5]), numberOf(i, n));
            store.addItem(folder, r);
        }
    });
}

double median(QList<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double millis(const QElapsedTimer& t) {
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

// Milliseconds of one run of a program, the median of several.
double timeProgram(const QString& program, const QStringList& args, int runs) {
    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        QProcess p;
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QElapsedTimer t;
        t.start();
        p.start(program, args);
        p.waitForFinished(-1);
        times << millis(t);
    }
    return median(times);
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    tlm::pim::registerOutlookBackend();
    const int count = argc > 1 ? QString::fromLatin1(argv[1]).toInt() : 100000;
    QTemporaryDir dir;
    const QString root = dir.path();
    QDir().mkpath(root + QStringLiteral("/temp/Tellmarin"));
    qputenv("TEMP", (root + QStringLiteral("/temp")).toUtf8());
    qputenv("XDG_CONFIG_HOME", (root + QStringLiteral("/config")).toUtf8());
    qputenv("XDG_DATA_HOME", (root + QStringLiteral("/data")).toUtf8());
    qputenv("TELLMARIN_PIM", (root + QStringLiteral("/data/pim.sqlite")).toUtf8());
    qputenv("TELLMARIN_AUTOANSWER", "1");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QDir().mkpath(root + QStringLiteral("/runtime"));
    QFile::setPermissions(root + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", (root + QStringLiteral("/runtime")).toUtf8());
    tlm::saveSetting(tlm::keys::DefaultFolder, QStringLiteral("1"));

    QElapsedTimer t;
    t.start();
    fillStore(count);
    std::printf("store with %d contacts made in %.0f ms\n", count, millis(t));

    tlm::Run run;
    run.env.workFolder = root + QStringLiteral("/temp/Tellmarin/");
    run.env.indexFile = run.env.workFolder + QStringLiteral("tlm") +
                        QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) +
                        QStringLiteral(".idx");
    t.restart();
    tlm::subCreateFileIndex(run, false);
    std::printf("index build: %d records, %.0f ms (%.2f us per record), file %lld bytes, "
                "lookup table %lld bytes\n",
                run.indexRecordsTotal, millis(t), millis(t) * 1000.0 / run.indexRecordsTotal,
                static_cast<long long>(QFileInfo(run.env.indexFile).size()),
                static_cast<long long>(QFileInfo(tlm::indexTablePath(run.env.indexFile)).size()));

    // The last contact's first number: its record stands near the end.
    QString wanted = numberOf(count - 1, 0);
    wanted.remove(QLatin1Char(' '))
        .remove(QLatin1Char('('))
        .remove(QLatin1Char(')'))
        .remove(QLatin1Char('-'));
    wanted.replace(QStringLiteral("+49"), QStringLiteral("0"));
    QList<double> scans, tables, lookups;
    for (int i = 0; i < 15; ++i) {
        t.restart();
        const auto found = tlm::scanIndex(run.env.indexFile, wanted);
        scans << millis(t);
        if (found.size() != 1)
            std::printf("unexpected: %lld matches\n", static_cast<long long>(found.size()));
    }
    for (int i = 0; i < 101; ++i) {
        t.restart();
        const auto found = tlm::lookupInTable(run.env.indexFile, wanted);
        tables << millis(t);
        if (!found || found->size() != 1)
            std::printf("unexpected: the table %s\n", found ? "finds no single match" : "not used");
    }
    run.params.values[tlm::P_NUMBER] = wanted;
    run.application = tlm::outlook::attach();
    run.mapi = run.application->GetNamespace(QStringLiteral("MAPI"));
    for (int i = 0; i < 15; ++i) {
        run.lookup = {};
        t.restart();
        tlm::subIndexLookup(run);
        lookups << millis(t);
    }
    const double grep =
        timeProgram(QStringLiteral("grep"),
                    {QStringLiteral("-F"), QStringLiteral("-c"),
                     QLatin1Char('"') + wanted + QLatin1Char('"'), run.env.indexFile},
                    15);
    const double spawn = timeProgram(QStringLiteral("true"), {}, 15);
    std::printf("lookup of %s: through the table %.3f ms, scan of the index %.2f ms, "
                "lookup with opening the contact %.2f ms; "
                "grep -F -c %.2f ms (of which %.2f ms starting a process)\n",
                qPrintable(wanted), median(tables), median(scans), median(lookups), grep, spawn);

    const QString tellmarin = QCoreApplication::applicationDirPath() + QStringLiteral("/tellmarin");
    QStringList called = {wanted,
                          wanted,
                          QStringLiteral("21"),
                          QStringLiteral("Zentrale"),
                          QStringLiteral("0"),
                          QStringLiteral("called"),
                          QStringLiteral("0"),
                          QStringLiteral("2026-12-05 14:03:27"),
                          QStringLiteral("0"),
                          QStringLiteral("1"),
                          QStringLiteral("BENCH000-0001-X"),
                          QStringLiteral("U1")};
    for (int i = 0; i < 7; ++i)
        called << QString();
    QStringList bare = called;
    bare[0].clear(); // no number: the run ends at step 8
    std::printf("tellmarin: called event %.1f ms, bare start ending at step 8 %.1f ms\n",
                timeProgram(tellmarin, called, 9), timeProgram(tellmarin, bare, 9));

    // A whole answered call with the contact shown, the call journaled and
    // the items closed at its end: one process per event, as in real use.
    for (const tlm::keys::Key key :
         {tlm::keys::InContact, tlm::keys::InJournal, tlm::keys::JournalCallEnd})
        tlm::saveSetting(key, QStringLiteral("1"));
    std::printf("tellmarin: called event showing the contact %.1f ms\n",
                timeProgram(tellmarin, called, 9));
    QList<double> calls;
    for (int i = 0; i < 9; ++i) {
        QStringList event = called;
        event[10] = QStringLiteral("BENCH000-0002-%1").arg(i);
        QElapsedTimer whole;
        whole.start();
        for (const char* name : {"called", "connect", "finished"}) {
            event[5] = QString::fromLatin1(name);
            timeProgram(tellmarin, event, 1);
        }
        calls << millis(whole);
    }
    std::printf("tellmarin: called/connect/finished sequence %.1f ms\n", median(calls));
    return 0;
}
