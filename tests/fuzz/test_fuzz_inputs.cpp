// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Every fuzz target once more over its seeds and over the inputs that once
// made it fail, so that a mended fault stays mended under the normal and
// the sanitizer builds.
#include "fuzz/harness.h"
#include "tests/support/testenv.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {
QStringList inputsOf(const char* target) {
    QStringList files;
    for (const QString& root : {u"" TM_FUZZ_SEEDS ""_s, u"" TM_FUZZ_INPUTS ""_s}) {
        const QDir dir(root + u'/' + QString::fromLatin1(target));
        for (const QString& name : dir.entryList(QDir::Files, QDir::Name))
            files << dir.filePath(name);
    }
    return files;
}
} // namespace

TEST(FuzzInputs, EveryTargetTakesItsSeedsAndKeptInputs) {
    tlm::test::TestEnv env;
    tlm::fuzz::initialise(true);
    for (const tlm::fuzz::Target& t : tlm::fuzz::targets()) {
        const QStringList files = inputsOf(t.name);
        EXPECT_FALSE(files.isEmpty()) << t.name << " has no seed";
        for (const QString& path : files) {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << qPrintable(path);
            const QByteArray input = f.readAll();
            SCOPED_TRACE(path.toStdString());
            t.run(input);
        }
    }
}
