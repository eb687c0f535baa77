// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Settings defaults, corrections and write-backs of start-up step 3.
#include "core/environment.h"
#include "core/log.h"
#include "core/params.h"
#include "core/settings.h"
#include "platform/settingsstore.h"
#include "tests/support/testenv.h"

#include <gtest/gtest.h>

using namespace tlm;

namespace {
class SettingsTest : public ::testing::Test {
protected:
    test::TestEnv env;
    Params params;
    Log log{env.workFolder(), 0, &params};
    Environment environment;

    Settings read() {
        Settings s;
        subReadSettings(s, environment, log);
        return s;
    }
};
} // namespace

TEST_F(SettingsTest, FirstRunStoresTheCallProcessingDefaults) {
    const Settings s = read();
    EXPECT_EQ(s.InContact, 0);
    EXPECT_EQ(s.AutoChoice, 10);
    EXPECT_EQ(s.Callback, 1);
    EXPECT_EQ(s.ModeCalendarJournal, QStringLiteral("Journal"));
    EXPECT_EQ(s.AddressSeparator, QStringLiteral(","));
    EXPECT_EQ(s.tabStop1Points, 85);
    EXPECT_EQ(s.tabStop2Points, 227);
    const std::pair<const char*, const char*> stored[] = {
        {"MailFont", "Calibri"}, {"MailFontSize", "11"},   {"MailTabStop1", "3"},
        {"MailTabStop2", "8"},   {"URLHandler", "tel://"}, {"Maps", "0"},
        {"LogDays", "14"}};
    for (const auto& [key, value] : stored)
        EXPECT_EQ(settingsstore::get(QString::fromLatin1(key), QStringLiteral("<missing>")),
                  QString::fromLatin1(value))
            << key;
    EXPECT_FALSE(settingsstore::contains(QStringLiteral("InContact")));
}

TEST_F(SettingsTest, OutOfRangeValuesAreCorrectedAndStoredBack) {
    struct Case {
        const char* key;
        const char* value;
        const char* stored;
    } cases[] = {{"MailFontSize", "19", "11"}, {"MailFontSize", "18", "18"},
                 {"MailFontSize", "5", "11"},  {"MailTabStop1", "0", "3"},
                 {"MailTabStop1", "15", "15"}, {"MailTabStop2", "2", "8"},
                 {"MailTabStop2", "16", "8"},  {"MailTabStop2", "3", "3"}};
    for (const Case& c : cases) {
        settingsstore::save(QString::fromLatin1(c.key), QString::fromLatin1(c.value));
        read();
        EXPECT_EQ(settingsstore::get(QString::fromLatin1(c.key)), QString::fromLatin1(c.stored))
            << c.key << "=" << c.value;
    }
}

TEST_F(SettingsTest, ANumberThatDoesNotConvertIsLoggedKeptAndReplacedByTheDefault) {
    settingsstore::save(QStringLiteral("InContact"), QStringLiteral("ja"));
    settingsstore::save(QStringLiteral("OutContact"), QStringLiteral(" 1 "));
    settingsstore::save(QStringLiteral("AutoChoice"), QStringLiteral("zehn"));
    settingsstore::save(QStringLiteral("LogDays"), QStringLiteral("99999999999"));
    settingsstore::save(QStringLiteral("MailFontSize"), QStringLiteral("groß"));
    log.setDebug(1);
    const Settings s = read();
    EXPECT_EQ(s.InContact, 0);
    EXPECT_EQ(s.OutContact, 1);
    EXPECT_EQ(s.AutoChoice, 10);
    // beyond 32 bits: not 0 (which would delete every per-call file), but 14
    EXPECT_EQ(s.LogDays, 14);
    EXPECT_EQ(settingsstore::get(QStringLiteral("LogDays")), QStringLiteral("99999999999"));
    EXPECT_EQ(s.MailFontSize, 11);
    EXPECT_EQ(settingsstore::get(QStringLiteral("MailFontSize")), QStringLiteral("groß"));
    const QByteArray programLog = test::maskDates(test::readBytes(log.programLogPath()));
    EXPECT_TRUE(programLog.contains(
        "<DATETIME> mdlMain.subReadSettings_10300: Err 13: Typen unverträglich\r\n"))
        << programLog.toStdString();
}

TEST(SettingsKeys, EveryKeyIsFoundWithItsDefaults) {
    ASSERT_NE(findSettingKey(QStringLiteral("FolderID3")), nullptr);
    EXPECT_EQ(QString::fromUtf16(findSettingKey(QStringLiteral("FolderID3"))->name),
              QStringLiteral("FolderID"));
    EXPECT_EQ(QString::fromUtf16(findSettingKey(QStringLiteral("Folder12"))->name),
              QStringLiteral("Folder"));
    EXPECT_EQ(findSettingKey(QStringLiteral("Folder")), nullptr);
    EXPECT_EQ(QString::fromUtf16(findSettingKey(QStringLiteral("Folders"))->name),
              QStringLiteral("Folders"));
    EXPECT_EQ(QString::fromUtf16(findSettingKey(QStringLiteral("colorback"))->callDefault),
              QStringLiteral("13160660"));
    EXPECT_EQ(QString::fromUtf16(findSettingKey(QStringLiteral("InJournal"))->optionsDefault),
              QStringLiteral("1"));
    EXPECT_EQ(findSettingKey(QStringLiteral("NoSuchKey")), nullptr);
}

TEST(SettingsConversion, FollowsTheNumericConversion) {
    EXPECT_EQ(toInteger(QStringLiteral("42")), 42);
    EXPECT_EQ(toInteger(QStringLiteral(" -7 ")), -7);
    EXPECT_EQ(toInteger(QStringLiteral("2,5")), 2);
    EXPECT_EQ(toInteger(QStringLiteral("3.5")), 4);
    EXPECT_THROW(toInteger(QString()), Error);
    EXPECT_THROW(toInteger(QStringLiteral("abc")), Error);
    EXPECT_THROW(toInteger(QStringLiteral("99999999999")), Error);
}

TEST(SettingsKeys, EveryNamedKeyIsItsOwnEntryAndNumberedKeysAreSpelledAsStored) {
    for (int id = 0; id < keys::KeyCount; ++id) {
        const KeyName key(static_cast<keys::Key>(id));
        EXPECT_EQ(findSettingKey(key.text()), &key.entry()) << key.text().toStdString();
        EXPECT_EQ(key.entry().id, id) << key.text().toStdString();
    }
    const std::pair<KeyName, const char16_t*> spelled[] = {
        {keys::folder(12), u"Folder12"},          {keys::folderId(3), u"FolderID3"},
        {keys::folderDate(1), u"FolderDate1"},    {keys::userField(2), u"olUser2"},
        {keys::userFieldLink(4), u"olUser4Link"}, {keys::userFieldPrint(1), u"olUser1Print"},
        {keys::monitorWidth(2), u"Monitor2X"},    {keys::monitorHeight(1), u"Monitor1Y"}};
    for (const auto& [key, text] : spelled) {
        EXPECT_EQ(key.text(), QString::fromUtf16(text));
        EXPECT_EQ(findSettingKey(key.text()), &key.entry()) << key.text().toStdString();
    }
}
