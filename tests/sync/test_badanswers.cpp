// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// A server that answers badly: a clear error, and the store as it was.
#include "store/pimstore.h"
#include "sync/accounts.h"
#include "sync/credentials.h"
#include "sync/syncerror.h"
#include "tests/support/testenv.h"

#include <QProcess>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace tlm;
using namespace tlm::sync;

namespace {

class BadAnswers : public ::testing::Test {
protected:
    void SetUp() override {
        peer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        peer.start(u"python3"_s, {QStringLiteral(TM_HOSTILE_SERVER)});
        ASSERT_TRUE(peer.waitForStarted(-1));
        while (!peer.canReadLine())
            ASSERT_TRUE(peer.waitForReadyRead(-1));
        port = peer.readLine().trimmed().toInt();
    }
    void TearDown() override {
        peer.kill();
        peer.waitForFinished(-1);
    }
    // Adds an account on the given collection; returns the failure, if any.
    std::optional<SyncError> add(pim::Store& store, const QString& kind) {
        NewAccount request{QUrl(u"http://127.0.0.1:%1/%2/"_s.arg(port).arg(kind)), u"u"_s,
                           u"geheim-42"_s, kind, false};
        try {
            addAccount(store, request);
        } catch (const SyncError& e) {
            return e;
        }
        return std::nullopt;
    }

    test::TestEnv env;
    QProcess peer;
    int port = 0;
};

} // namespace

TEST_F(BadAnswers, AreRefusedClearlyAndLeaveTheStoreAsItWas) {
    pim::Store store(env.pimPath());
    const struct {
        const char16_t* kind;
        Failure failure;
    } cases[] = {{u"garbage", Failure::BadAnswer},
                 {u"huge", Failure::TooLarge},
                 {u"wrongtype", Failure::Http},
                 {u"redirect", Failure::Redirect}};
    for (const auto& c : cases) {
        const QString kind = QString::fromUtf16(c.kind);
        const std::optional<SyncError> error = add(store, kind);
        ASSERT_TRUE(error.has_value()) << kind.toStdString();
        EXPECT_EQ(error->failure(), c.failure) << kind.toStdString() << ": "
                                               << error->message().toStdString();
        EXPECT_FALSE(error->message().contains(u"geheim-42"_s));
        EXPECT_EQ(store.stores().size(), 1) << kind.toStdString();
        EXPECT_EQ(store.folders().size(), 7) << kind.toStdString();
        EXPECT_TRUE(accounts(store).isEmpty()) << kind.toStdString();
        EXPECT_THROW(credentials::load(kind), SyncError) << kind.toStdString();
    }
}

TEST_F(BadAnswers, ResourcesOutsideTheCollectionAreIgnored) {
    pim::Store store(env.pimPath());
    const std::optional<SyncError> error = add(store, u"many"_s);
    ASSERT_FALSE(error.has_value()) << error->message().toStdString();
    const QList<pim::FolderInfo> folders = store.folders();
    int contacts = 0;
    for (const pim::FolderInfo& f : folders)
        if (f.name == u"many"_s)
            contacts = store.itemCount(f.entryId);
    EXPECT_EQ(contacts, 1);
}
