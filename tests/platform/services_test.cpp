// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/error.h"
#include "platform/gui.h"
#include "platform/inifile.h"
#include "platform/messagebox.h"
#include "platform/paths.h"
#include "platform/screens.h"
#include "platform/settingsstore.h"
#include "tests/support/testenv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace tlm {
namespace {

// Sets environment variables for one scope and restores them afterwards.
class EnvOverride {
public:
    void set(const char* name, const QByteArray& value) {
        remember(name);
        qputenv(name, value);
    }
    void unset(const char* name) {
        remember(name);
        qunsetenv(name);
    }
    ~EnvOverride() {
        for (const auto& [name, value] : m_saved) {
            if (value)
                qputenv(name, *value);
            else
                qunsetenv(name);
        }
    }

private:
    void remember(const char* name) {
        m_saved.push_back({name, qEnvironmentVariableIsSet(name)
                                     ? std::optional<QByteArray>(qgetenv(name))
                                     : std::nullopt});
    }
    std::vector<std::pair<const char*, std::optional<QByteArray>>> m_saved;
};

TEST(SettingsStore, RoundTripsExactValuesAndCreatesItsFolder) {
    test::TestEnv env;
    QDir(env.configFolder()).removeRecursively();
    EXPECT_EQ(settingsstore::get(u"AddressSeparator"_s, u","_s), u","_s);
    EXPECT_FALSE(settingsstore::contains(u"AddressSeparator"_s));
    settingsstore::save(u"AddressSeparator"_s, u", "_s);
    settingsstore::save(u"Mailaddressee"_s, QString());
    settingsstore::save(u"addressseparator"_s, u" ; "_s);
    EXPECT_EQ(settingsstore::filePath(), env.configFolder() + u"Tellmarin.ini"_s);
    EXPECT_EQ(test::readBytes(settingsstore::filePath()),
              QByteArray("[Tellmarin]\r\nAddressSeparator= ; \r\nMailaddressee=\r\n"));
    EXPECT_EQ(settingsstore::get(u"ADDRESSSEPARATOR"_s, u","_s), u" ; "_s);
    EXPECT_TRUE(settingsstore::contains(u"Mailaddressee"_s));
    EXPECT_EQ(settingsstore::get(u"Mailaddressee"_s, u"x"_s), QString());
    const QString longValue(1000, u'x');
    settingsstore::save(u"olUser1"_s, longValue);
    EXPECT_EQ(settingsstore::get(u"olUser1"_s), longValue);

    // Names that would break the file or read back as another key: refused,
    // and saveAll writes none of its keys then.
    const QByteArray before = test::readBytes(settingsstore::filePath());
    for (const QString& bad : {u"a=b"_s, u"[x]"_s, u";c"_s, u" #d"_s, u""_s, u"e\nf"_s})
        EXPECT_THROW(settingsstore::save(bad, u"1"_s), Error) << bad.toStdString();
    EXPECT_THROW(settingsstore::saveAll(QList<ini::text::KeyValue>{{u"Debug", u"1"}, {u"x=y", u"2"}}), Error);
    EXPECT_EQ(test::readBytes(settingsstore::filePath()), before);
}

TEST(SettingsStore, ReadsFilesThatWindowsEditorsSavedAndWritesThemBackAsUtf8) {
    test::TestEnv env;
    const QString body = u"[Tellmarin]\r\nDebug=1\r\nolUser1=Größe\r\n"_s;
    QByteArray utf16le("\xFF\xFE"), utf16be("\xFE\xFF");
    for (const QChar c : body) {
        utf16le += char(c.unicode() & 0xFF), utf16le += char(c.unicode() >> 8);
        utf16be += char(c.unicode() >> 8), utf16be += char(c.unicode() & 0xFF);
    }
    QByteArray crOnly = body.toUtf8();
    crOnly.replace("\r\n", "\r");
    // Some editors leave the byte order mark out of UTF-16.
    const QByteArray forms[] = {"\xEF\xBB\xBF" + body.toUtf8(),
                                utf16le,
                                utf16be,
                                crOnly,
                                utf16le.sliced(2),
                                utf16be.sliced(2)};
    for (const QByteArray& form : forms) {
        QFile f(settingsstore::filePath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(form);
        f.close();
        EXPECT_EQ(settingsstore::get(u"Debug"_s), u"1"_s);
        EXPECT_EQ(settingsstore::get(u"olUser1"_s), u"Größe"_s);
        settingsstore::save(u"LastRun"_s, u"heute"_s);
        EXPECT_EQ(test::readBytes(settingsstore::filePath()),
                  (body + u"LastRun=heute\r\n"_s).toUtf8())
            << form.toHex().toStdString();
    }
}

// The store keeps the file it read, but never past a change by another
// process or an editor: every read after such a change sees it, and every
// save is read back at once.
TEST(SettingsStore, SeesOtherWritersAndReadsBackItsOwnSaves) {
    test::TestEnv env;
    const QString file = settingsstore::filePath();
    settingsstore::save(u"Debug"_s, u"1"_s);
    EXPECT_EQ(settingsstore::get(u"Debug"_s), u"1"_s);

    // another process replaces the file, as the store's writer does
    ini::write(file, u"Tellmarin"_s, u"Debug"_s, u"2"_s);
    EXPECT_EQ(settingsstore::get(u"Debug"_s), u"2"_s);
    // an editor writes the file in place
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Tellmarin]\r\nDebug=3\r\nMaps=1\r\n");
    }
    EXPECT_EQ(settingsstore::get(u"Debug"_s), u"3"_s);
    EXPECT_EQ(settingsstore::get(u"Maps"_s), u"1"_s);
    // the file is gone
    QFile::remove(file);
    EXPECT_EQ(settingsstore::get(u"Debug"_s, u"0"_s), u"0"_s);
    EXPECT_FALSE(settingsstore::contains(u"Maps"_s));

    // saves are read back within the run, and the file holds them
    settingsstore::save(u"Maps"_s, u"0"_s);
    settingsstore::saveAll(QList<ini::text::KeyValue>{{u"Debug", u"4"}, {u"LogDays", u"9"}});
    EXPECT_EQ(settingsstore::get(u"Maps"_s), u"0"_s);
    EXPECT_EQ(settingsstore::get(u"Debug"_s), u"4"_s);
    EXPECT_EQ(settingsstore::get(u"LogDays"_s), u"9"_s);
    EXPECT_EQ(test::readBytes(file), QByteArray("[Tellmarin]\r\nMaps=0\r\nDebug=4\r\nLogDays=9\r\n"));

    // a save of the value the file holds leaves the file untouched; one that
    // another process changed in between is written again
    const QByteArray before = test::readBytes(file);
    const QDateTime modified = QFileInfo(file).lastModified();
    settingsstore::save(u"Maps"_s, u"0"_s);
    EXPECT_EQ(QFileInfo(file).lastModified(), modified);
    EXPECT_EQ(test::readBytes(file), before);
    ini::write(file, u"Tellmarin"_s, u"Maps"_s, u"1"_s);
    settingsstore::save(u"Maps"_s, u"0"_s);
    EXPECT_EQ(test::readBytes(file), before);
}

TEST(MessageBox, AutoAnswerGivesTheDefaultButtonAndPrintsTheBox) {
    EnvOverride env;
    env.set("TELLMARIN_AUTOANSWER", "1");
    ASSERT_TRUE(msgbox::autoAnswer());
    testing::internal::CaptureStderr();
    EXPECT_EQ(msgbox::show(u"Zeile 1\r\nZeile 2"_s, msgbox::Buttons::YesNo, msgbox::Icon::Question,
                           u"Tellmarin"_s, 2),
              msgbox::Answer::No);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Tellmarin: Zeile 1\nZeile 2\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(msgbox::show(u"t"_s, msgbox::Buttons::YesNoCancel, msgbox::Icon::None, u"x"_s, 3),
              msgbox::Answer::Cancel);
    EXPECT_EQ(msgbox::show(u"t"_s, msgbox::Buttons::OkCancel, msgbox::Icon::None, u"x"_s, 9),
              msgbox::Answer::Ok);
    testing::internal::GetCapturedStderr();
}

TEST(Gui, RunWithoutDisplayIsHeadless) {
    EnvOverride env;
    env.unset("QT_QPA_PLATFORM");
    env.unset("WAYLAND_DISPLAY");
    env.set("DISPLAY", ":0");
    gui::prepareEnvironment();
    EXPECT_FALSE(gui::headless());
    EXPECT_FALSE(qEnvironmentVariableIsSet("QT_QPA_PLATFORM"));
    env.unset("DISPLAY");
    gui::prepareEnvironment();
    EXPECT_TRUE(gui::headless());
    EXPECT_EQ(qgetenv("QT_QPA_PLATFORM"), "offscreen");
    env.set("TELLMARIN_AUTOANSWER", "0");
    EXPECT_TRUE(msgbox::autoAnswer());
}

TEST(Paths, FollowTheEnvironment) {
    EnvOverride env;
    env.set("TEMP", "/t/temp/");
    env.set("TMPDIR", "/t/tmpdir");
    EXPECT_EQ(paths::workFolder(), u"/t/temp/Tellmarin/"_s);
    env.set("TEMP", "");
    EXPECT_EQ(paths::workFolder(), u"/t/tmpdir/Tellmarin/"_s);
    env.unset("TMPDIR");
    EXPECT_EQ(paths::workFolder(), u"/tmp/Tellmarin/"_s);
    env.set("XDG_CONFIG_HOME", "/x/config");
    env.set("XDG_DATA_HOME", "relative/ignored");
    EXPECT_EQ(paths::configFolder(), u"/x/config/Orvensoft/"_s);
    EXPECT_EQ(paths::dataFolder(), QDir::homePath() + u"/.local/share/Orvensoft/"_s);
    paths::setProgramFolder(u"/opt/tm"_s);
    EXPECT_EQ(paths::programFolder(), u"/opt/tm/"_s);
    paths::setProgramFolder(QString());
    EXPECT_TRUE(QDir(paths::programFolder()).exists(u"tests_platform"_s));
}

TEST(Screens, ReportTheOffscreenScreen) {
    ASSERT_GE(screens::monitorCount(), 1);
    const screens::Rect area = screens::workArea();
    EXPECT_GT(area.width, 0);
    EXPECT_GT(area.height, 0);
    const auto monitors = screens::monitors();
    ASSERT_EQ(monitors.size(), screens::monitorCount());
    EXPECT_TRUE(monitors.front().primary);
}

} // namespace
} // namespace tlm
