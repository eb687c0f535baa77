// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Large vCard and JSON files import with memory for one contact or item at
// a time, not for all of them at once.
#include "tests/support/peakrun.h"
#include "tests/support/testenv.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {
// Peak resident memory of tellmarin-pim run with args, in MiB; -1 when it
// failed.
double peakMiB(const QStringList& args) {
    const tlm::test::PeakRun run = tlm::test::runWithPeak(u"tellmarin-pim"_s, args);
    return run.exitCode == 0 ? run.peakMiB : -1;
}
} // namespace

TEST(PimToolMemory, LargeVcardImportsContactByContact) {
    tlm::test::TestEnv env;
    ASSERT_EQ(peakMiB({u"create"_s}) > 0, true);
    const QString path = env.root() + u"large.vcf"_s;
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    for (int i = 0; f.size() < 10 * 1024 * 1024; ++i)
        f.write(QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Nachname%1;Vorname;;;\r\n"
                               "ORG:Firma %1 GmbH\r\nTEL;TYPE=WORK:+49 30 %1\r\n"
                               "EMAIL:v%1@example.de\r\nNOTE:Kunde seit 2019\\, "
                               "Rückruf vormittags\r\nEND:VCARD\r\n")
                    .arg(i)
                    .toUtf8());
    f.close();
    const double peak = peakMiB({u"import-vcard"_s, path});
    ASSERT_GT(peak, 0);
#if !defined(__SANITIZE_ADDRESS__)
    // The program and SQLite's cache; all contacts at once took more than
    // 150 MiB, the whole file 10 MiB more than now.
    EXPECT_LT(peak, 48.0);
#endif
}

TEST(PimToolMemory, LargeJsonDumpLoadsItemByItem) {
    tlm::test::TestEnv env;
    const QString path = env.root() + u"large.json"_s;
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    // The shape of a dump: the folder's items before its kind and name, the
    // folders before the stores they lie in.
    f.write("{\n  \"folders\": [\n    {\n      \"EntryID\": \"F0\",\n"
            "      \"StoreID\": \"5A\",\n      \"default\": 10,\n      \"items\": [\n");
    int items = 0;
    for (; f.size() < 10 * 1024 * 1024; ++items)
        f.write(QStringLiteral("%1        {\"EntryID\": \"A%2\", \"class\": \"IPM.Contact\",\n"
                               "         \"properties\": {\"LastName\": \"Nachname%3\", "
                               "\"BusinessTelephoneNumber\": \"+49 30 %3\"},\n"
                               "         \"body\": \"Kunde seit 2019, Rückruf vormittags\"}")
                    .arg(items == 0 ? u""_s : u",\n"_s)
                    .arg(QString::number(items, 16).toUpper().rightJustified(8, u'0'))
                    .arg(items)
                    .toUtf8());
    f.write("\n      ],\n      \"kind\": \"contact\",\n      \"name\": \"Kontakte\"\n    }\n  ],\n"
            "  \"format\": \"tellmarin-pim\",\n"
            "  \"stores\": [{\"StoreID\": \"5A\", \"name\": \"Persönliche Ordner\"}],\n"
            "  \"version\": 1\n}\n");
    f.close();
    const QString store = env.root() + u"geladen.sqlite"_s;
    const double peak = peakMiB({u"--store"_s, store, u"load-json"_s, path});
    ASSERT_GT(peak, 0);
    EXPECT_GT(items, 40000);
#if !defined(__SANITIZE_ADDRESS__)
    // The whole document at once took more than 80 MiB.
    EXPECT_LT(peak, 40.0);
#endif
}

// A line without end, from a device, a sparse file or a FIFO that a writer
// keeps filling with one folded line, is refused with its file and line
// once it is longer than a line may be, within the memory of such a line.
TEST(PimToolMemory, EndlessVcardLineIsRefusedWithFileAndLine) {
    tlm::test::TestEnv env;
    ASSERT_EQ(tlm::test::runWithPeak(u"tellmarin-pim"_s, {u"create"_s}).exitCode, 0);
    QFile sparse(env.root() + u"gross.vcf"_s);
    ASSERT_TRUE(sparse.open(QIODevice::WriteOnly));
    ASSERT_TRUE(sparse.resize(qint64(2) << 30));
    sparse.close();
    const QString fifo = env.root() + u"zulauf.vcf"_s;
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QProcess writer;
    writer.start(u"/bin/sh"_s, {u"-c"_s,
                                u"{ printf 'BEGIN:VCARD\\r\\nVERSION:3.0\\r\\nNOTE:Anfang\\r\\n'; "
                                u"yes ' und weiter'; } > \"$0\""_s,
                                fifo});
    const QList<std::pair<QString, int>> inputs = {
        {u"/dev/zero"_s, 1}, {sparse.fileName(), 1}, {fifo, 3}};
    for (const auto& [path, line] : inputs) {
        const tlm::test::PeakRun run =
            tlm::test::runWithPeak(u"tellmarin-pim"_s, {u"import-vcard"_s, path});
        EXPECT_EQ(run.exitCode, 1) << path.toStdString();
        EXPECT_TRUE(run.standardError.contains(
            (path + u':' + QString::number(line) + u": Zeile länger als 4 MiB"_s).toUtf8()))
            << run.standardError.constData();
#if !defined(__SANITIZE_ADDRESS__)
        // Gigabytes before lines were bounded.
        EXPECT_LT(run.peakMiB, 64.0) << path.toStdString();
#endif
    }
    writer.kill(); // it ends anyway once the reader is gone
    writer.waitForFinished(-1);
}
