// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Passwords kept where no Secret Service answers: a file only its owner reads.
#include "sync/credentials.h"
#include "sync/syncerror.h"
#include "tests/support/testenv.h"

#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;
using namespace tlm;
using namespace tlm::sync;

namespace {

mode_t modeOf(const QString& path) {
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 0777;
}

} // namespace

TEST(Credentials, ThePasswordFileIsTheOwnersAlone) {
    if (credentials::keeper() != credentials::Keeper::File)
        GTEST_SKIP() << "this session has a Secret Service";
    test::TestEnv env;
    const QString file = credentials::passwordFile();
    credentials::save(u"Büro"_s, u"geheim \"1\""_s);
    credentials::save(u"Privat"_s, u"zwei"_s);
    EXPECT_EQ(modeOf(file), 0600u);
    EXPECT_EQ(credentials::load(u"Büro"_s), u"geheim \"1\""_s);
    credentials::remove(u"Büro"_s);
    EXPECT_EQ(credentials::load(u"Privat"_s), u"zwei"_s);
    EXPECT_THROW(credentials::load(u"Büro"_s), SyncError);

    // A file that others may read is refused, and its password not told.
    ::chmod(QFile::encodeName(file).constData(), 0644);
    try {
        credentials::load(u"Privat"_s);
        ADD_FAILURE() << "a readable password file was used";
    } catch (const SyncError& e) {
        EXPECT_EQ(e.failure(), Failure::Credentials);
        EXPECT_TRUE(e.message().contains(u"chmod 600"_s)) << e.message().toStdString();
        EXPECT_FALSE(e.message().contains(u"zwei"_s));
    }
    EXPECT_THROW(credentials::save(u"Neu"_s, u"x"_s), SyncError);
    EXPECT_EQ(modeOf(file), 0644u); // left as the user made it
}
