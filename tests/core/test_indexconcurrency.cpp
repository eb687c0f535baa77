// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// A lookup while another process rebuilds the index sees the old or the new
// index, never a missing or half-written one. The test executable runs itself
// again with INDEX_TEST_ROLE set to play the rebuilding process.
#include "core/contactindex.h"
#include "core/run.h"
#include "numbers/indexfile.h"
#include "outlook/application.h"
#include "outlook/folder.h"
#include "outlook/item.h"
#include "platform/settingsstore.h"
#include "store/pimstore.h"
#include "tests/support/testenv.h"

#include <QCoreApplication>
#include <QProcess>
#include <gtest/gtest.h>

using namespace tlm;

namespace {
const char* const RoleVariable = "INDEX_TEST_ROLE";

void prepareRun(tlm::Run& run) {
    run.env.workFolder = qEnvironmentVariable("TEMP") + QStringLiteral("/Tellmarin/");
    run.env.indexFile = run.env.workFolder + QStringLiteral("tlm20261205.idx");
}
} // namespace

TEST(IndexChild, Role) {
    const int rebuilds = qEnvironmentVariableIntValue(RoleVariable);
    if (rebuilds == 0)
        GTEST_SKIP() << "runs only as a child of the concurrency test";
    for (int i = 0; i < rebuilds; ++i) {
        tlm::Run run;
        prepareRun(run);
        ASSERT_TRUE(subCreateFileIndex(run, false));
    }
}

TEST(IndexConcurrency, LookupDuringRebuildSeesACompleteIndex) {
    test::TestEnv env;
    settingsstore::save(QStringLiteral("DefaultFolder"), QStringLiteral("1"));
    {
        { const pim::Store made(env.pimPath()); }
        outlook::ApplicationPtr app = outlook::attach();
        outlook::FolderPtr contacts =
            app->GetNamespace(QStringLiteral("MAPI"))->GetDefaultFolder(outlook::olFolderContacts);
        for (int i = 0; i < 1500; ++i) {
            outlook::ItemPtr c = contacts->Items()->Add();
            c->set(QStringLiteral("LastName"), QStringLiteral("K") + QString::number(i));
            c->set(QStringLiteral("BusinessTelephoneNumber"),
                   QStringLiteral("030 ") + QString::number(100000 + i));
            c->set(QStringLiteral("MobileTelephoneNumber"),
                   QStringLiteral("0171 ") + QString::number(100000 + i));
            c->Save();
        }
    }
    tlm::Run first;
    prepareRun(first);
    ASSERT_TRUE(subCreateFileIndex(first, false));

    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(RoleVariable), QStringLiteral("15"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=IndexChild.Role")});
    ASSERT_TRUE(child.waitForStarted());
    int scans = 0;
    while (child.state() != QProcess::NotRunning) {
        // the last contact's number stands at the end of the file
        ASSERT_EQ(scanIndex(first.env.indexFile, QStringLiteral("0171101499")).size(), 1)
            << "scan " << scans;
        ++scans;
        child.waitForFinished(1);
    }
    EXPECT_EQ(child.exitCode(), 0) << child.readAll().toStdString();
    EXPECT_GT(scans, 10);
}
