// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Large vCard and JSON files import with memory for one contact or item at
// a time, not for all of them at once.
#include "tests/support/testenv.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {
// Peak resident memory of tellmarin-pim run with args, in MiB; -1 when it
// failed. The helper peakrss starts it, so that the figure is the tool's own
// and not inflated by the memory of this test process.
double peakMiB(const QStringList& args) {
    const QString dir = QCoreApplication::applicationDirPath();
    QProcess run;
    run.start(dir + u"/peakrss"_s, QStringList{dir + u"/tellmarin-pim"_s} + args);
    if (!run.waitForFinished(-1) || run.exitStatus() != QProcess::NormalExit || run.exitCode() != 0)
        return -1;
    // The tool's own output comes first, the figure on the last line.
    const QList<QByteArray> lines = run.readAllStandardOutput().trimmed().split('\n');
    return lines.last().toDouble() / 1024.0;
}
} // namespace

TEST(PimToolMemory, LargeVcardImportsContactByContact) {
    tlm::test::TestEnv env;
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
    // The file (10 MiB), the program and SQLite's cache; all contacts at once
    // took more than 150 MiB.
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
