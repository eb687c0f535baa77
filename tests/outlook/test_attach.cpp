// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Attaching goes through the back end the program registered; whatever keeps
// Outlook out of reach, a missing back end included, is error 429 with the
// cause in brackets.
#include "outlook/application.h"
#include "platform/error.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

using namespace tlm;
using namespace Qt::StringLiterals;

class Attach : public ::testing::Test {
protected:
    void TearDown() override { outlook::setBackend({}); }

    static Error failure(const QString& path) {
        try {
            outlook::attach(path);
        } catch (const Error& e) {
            return e;
        }
        ADD_FAILURE() << "attach did not fail";
        return Error(0, QString());
    }
};

TEST_F(Attach, WithoutBackEndOutlookIsOutOfReach) {
    const Error e = failure(QString());
    EXPECT_EQ(e.number(), err::CannotCreateObject);
    EXPECT_EQ(e.description(), u"Objekterstellung durch ActiveX-Komponente nicht möglich "
                               u"(kein Outlook-Zugang eingerichtet)"_s);
}

TEST_F(Attach, BackEndFailureKeepsItsCauseInBrackets) {
    outlook::setBackend([](const QString&) -> outlook::ApplicationPtr {
        throw Error(err::FileAccess, u"Speicher kann nicht geöffnet werden"_s);
    });
    const Error e = failure(u"pim.sqlite"_s);
    EXPECT_EQ(e.number(), err::CannotCreateObject);
    EXPECT_EQ(e.description(), u"Objekterstellung durch ActiveX-Komponente nicht möglich "
                               u"(Speicher kann nicht geöffnet werden)"_s);
}

TEST_F(Attach, BackEndGetsTheStorePathUntilItIsRemoved) {
    QStringList paths;
    outlook::setBackend([&paths](const QString& path) {
        paths << path;
        return outlook::ApplicationPtr();
    });
    outlook::attach();
    outlook::attach(u"/tmp/a.sqlite"_s);
    EXPECT_EQ(paths, (QStringList{QString(), u"/tmp/a.sqlite"_s}));

    outlook::setBackend({});
    EXPECT_EQ(failure(QString()).number(), err::CannotCreateObject);
    EXPECT_EQ(paths.size(), 2);
}

} // namespace
