// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// The per-call file: its layout when created, its updates by later events.
#include "core/callfile.h"
#include "core/run.h"
#include "platform/clock.h"
#include "tests/support/testenv.h"

#include <gtest/gtest.h>

using namespace tlm;

namespace {
class CallFile : public ::testing::Test {
protected:
    test::TestEnv env;

    void SetUp() override { clock::setFixed(QDateTime(QDate(2026, 12, 5), QTime(14, 3, 27))); }

    // A run of one event of the call 5F3A9C21-0001-4B7E.
    void event(const QString& name, const QString& duration = QString(),
               const QString& firstName = QStringLiteral("Max")) {
        tlm::Run run;
        run.env.workFolder = env.workFolder();
        run.env.programVersion = QStringLiteral("1.0.0000");
        run.env.outlookVersionText =
            QStringLiteral("Outlook 2016/2019/2021 (64-bit)  Build: 16.0.0.0");
        const QStringList values = {QStringLiteral("03012345678"),
                                    QStringLiteral("03012345678"),
                                    QStringLiteral("21"),
                                    QStringLiteral("Zentrale"),
                                    QStringLiteral("0"),
                                    name,
                                    QStringLiteral("0"),
                                    QStringLiteral("2026-12-05 14:03:20"),
                                    duration,
                                    QStringLiteral("1"),
                                    QStringLiteral("5F3A9C21-0001-4B7E"),
                                    QStringLiteral("U1"),
                                    firstName,
                                    QStringLiteral("Muster"),
                                    QStringLiteral("Muster GmbH"),
                                    QStringLiteral("Weg 1"),
                                    QStringLiteral("10115"),
                                    QStringLiteral("Berlin"),
                                    QStringLiteral("Deutschland")};
        for (int i = 0; i < ParamCount; ++i)
            run.params.values[static_cast<size_t>(i)] = values[i];
        run.params.isSet = true;
        createOrUpdateCallFile(run);
        path = callFilePath(run);
    }

    std::string content() const { return test::readBytes(path).toStdString(); }
    QString path;
};
} // namespace

TEST_F(CallFile, NewFileHasItsSectionsInOrder) {
    event(QStringLiteral("called"), QStringLiteral("7"));
    EXPECT_EQ(path, env.workFolder() + QStringLiteral("5F3A9C21-0001-4B7E.call"));
    EXPECT_EQ(content(),
              "[Program]\r\nContactChoiceDialogue=\r\n\r\n"
              "[Call]\r\nItem-ID=\r\nCalllog_State=1\r\nLine=21\r\nLineName=Zentrale\r\n"
              "Number=03012345678\r\nNumberNorm=03012345678\r\nNumType=1\r\nOutbound=0\r\n"
              "PCallID=5F3A9C21-0001-4B7E\r\n\r\n"
              "[Contact]\r\nContact-ID=\r\nFirst_Name=Max\r\nLast_Name=Muster\r\n"
              "Company=Muster GmbH\r\nAdr_Street=Weg 1\r\nAdr_Zip=10115\r\nAdr_City=Berlin\r\n"
              "Adr_Country=Deutschland\r\n\r\n"
              "[Timestamps]\r\nTimeStamp=2026-12-05 14:03:20\r\nDuration=7\r\n"
              "called=05.12.2026 14:03:27\r\n\r\n"
              "[Environment]\r\nVersion=1.0.0000\r\n"
              "Office=Outlook 2016/2019/2021 (64-bit)  Build: 16.0.0.0\r\n");
}

TEST_F(CallFile, LaterEventsKeepTheCallStateAndAddTheirTimeStamp) {
    event(QStringLiteral("called"));
    subIniWrite(path, QStringLiteral("Call"), QStringLiteral("Item-ID"), QStringLiteral("ITEM1"));
    subIniWrite(path, QStringLiteral("Contact"), QStringLiteral("Contact-ID"),
                QStringLiteral("C1"));
    subIniWrite(path, QStringLiteral("Call"), QStringLiteral("NumType"), QStringLiteral("4"));
    clock::setFixed(QDateTime(QDate(2026, 12, 5), QTime(14, 5, 0)));
    event(QStringLiteral("connect"), QStringLiteral("abc"), QStringLiteral("Moritz"));
    clock::setFixed(QDateTime(QDate(2026, 12, 5), QTime(14, 9, 0)));
    event(QStringLiteral("connect"), QStringLiteral("95"));
    EXPECT_EQ(fncIniRead(path, QStringLiteral("Call"), QStringLiteral("Item-ID")),
              QStringLiteral("ITEM1"));
    EXPECT_EQ(fncIniRead(path, QStringLiteral("contact"), QStringLiteral("contact-id")),
              QStringLiteral("C1"));
    EXPECT_EQ(fncIniRead(path, QStringLiteral("Call"), QStringLiteral("NumType")),
              QStringLiteral("4"));
    EXPECT_EQ(fncIniRead(path, QStringLiteral("Contact"), QStringLiteral("First_Name")),
              QStringLiteral("Max"));
    const std::string c = content();
    EXPECT_NE(
        c.find("[Timestamps]\r\nTimeStamp=2026-12-05 14:03:20\r\nDuration=95\r\n"
               "called=05.12.2026 14:03:27\r\nconnect=05.12.2026 14:09:00\r\n\r\n[Environment]"),
        std::string::npos)
        << c;
}

TEST_F(CallFile, LaterEventChangesItsKeysAndLeavesEveryOtherByte) {
    event(QStringLiteral("called"), QStringLiteral("7"));
    clock::setFixed(QDateTime(QDate(2026, 12, 5), QTime(14, 9, 0)));
    event(QStringLiteral("connect"), QStringLiteral("95"), QStringLiteral("Moritz"));
    EXPECT_EQ(content(),
              "[Program]\r\nContactChoiceDialogue=\r\n\r\n"
              "[Call]\r\nItem-ID=\r\nCalllog_State=1\r\nLine=21\r\nLineName=Zentrale\r\n"
              "Number=03012345678\r\nNumberNorm=03012345678\r\nNumType=1\r\nOutbound=0\r\n"
              "PCallID=5F3A9C21-0001-4B7E\r\n\r\n"
              "[Contact]\r\nContact-ID=\r\nFirst_Name=Moritz\r\nLast_Name=Muster\r\n"
              "Company=Muster GmbH\r\nAdr_Street=Weg 1\r\nAdr_Zip=10115\r\nAdr_City=Berlin\r\n"
              "Adr_Country=Deutschland\r\n\r\n"
              "[Timestamps]\r\nTimeStamp=2026-12-05 14:03:20\r\nDuration=95\r\n"
              "called=05.12.2026 14:03:27\r\nconnect=05.12.2026 14:09:00\r\n\r\n"
              "[Environment]\r\nVersion=1.0.0000\r\n"
              "Office=Outlook 2016/2019/2021 (64-bit)  Build: 16.0.0.0\r\n");
}

TEST_F(CallFile, EmptyOrBadDurationIsZeroAndLongValuesAreCutOnReading) {
    event(QStringLiteral("called"), QString());
    EXPECT_EQ(fncIniRead(path, QStringLiteral("Timestamps"), QStringLiteral("Duration")),
              QStringLiteral("0"));
    subIniWrite(path, QStringLiteral("Contact"), QStringLiteral("Company"),
                QString(300, QLatin1Char('x')));
    EXPECT_EQ(fncIniRead(path, QStringLiteral("Contact"), QStringLiteral("Company")),
              QString(254, QLatin1Char('x')));
    EXPECT_EQ(fncIniRead(path, QStringLiteral("Nope"), QStringLiteral("x")), QString());
    EXPECT_EQ(fncIniRead(env.workFolder() + QStringLiteral("missing.call"), QStringLiteral("Call"),
                         QStringLiteral("x")),
              QString());
}
