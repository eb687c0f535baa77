// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/error.h"
#include "platform/inifile.h"
#include "platform/initext.h"
#include "tests/support/testenv.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <optional>

#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace tlm {
namespace {

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class IniFile : public ::testing::Test {
protected:
    test::TestEnv env;
    QString file = env.workFolder() + u"1A2B3C4D-0001-5E6F.call"_s;
};

TEST_F(IniFile, BuildsSectionsKeysAndBlankLinesByteForByte) {
    ini::write(file, u"Program"_s, u"ContactChoiceDialogue"_s, QString());
    ini::write(file, u"-"_s, u"-"_s, u"-"_s);
    ini::write(file, u"Call"_s, u"Item-ID"_s, QString());
    ini::write(file, u"call"_s, u"Number"_s, u"123"_s);
    ini::write(file, u"-"_s, u"-"_s, u"-"_s);
    ini::write(file, u"Contact"_s, u"Contact-ID"_s, QString());
    // In place, keeping the file's spelling of the key; a new key of the
    // first section goes before the blank line that closes it.
    ini::write(file, u"CALL"_s, u"number"_s, u"0815 Müller"_s);
    ini::write(file, u"program"_s, u"New"_s, u"x"_s);
    EXPECT_EQ(test::readBytes(file),
              QByteArray("[Program]\r\nContactChoiceDialogue=\r\nNew=x\r\n\r\n"
                         "[Call]\r\nItem-ID=\r\nNumber=0815 M\xC3\xBCller\r\n\r\n"
                         "[Contact]\r\nContact-ID=\r\n"));
    EXPECT_EQ(ini::read(file, u"cAlL"_s, u"NUMBER"_s), u"0815 Müller"_s);
}

TEST_F(IniFile, ReadsHandMadeFilesAndMissingParts) {
    writeBytes(file, "junk=1\n[ A ]\n  Key  =  some value  \n[B]\nKey=b\nlast=no newline");
    EXPECT_EQ(ini::read(file, u"a"_s, u"key"_s), u"some value"_s);
    EXPECT_EQ(ini::read(file, u"B"_s, u"LAST"_s), u"no newline"_s);
    EXPECT_EQ(ini::read(file, u"A"_s, u"junk"_s), QString());
    EXPECT_EQ(ini::read(file, u"C"_s, u"Key"_s), QString());
    EXPECT_EQ(ini::read(env.workFolder() + u"none.ini"_s, u"A"_s, u"Key"_s), QString());

    // Lines that are not touched keep their bytes and line ends.
    ini::write(file, u"B"_s, u"new"_s, u"1"_s);
    ini::write(file, u"-"_s, u"-"_s, u"-"_s);
    ini::write(file, u"A"_s, u"key"_s, u"v"_s);
    EXPECT_EQ(test::readBytes(file), QByteArray("junk=1\n[ A ]\nKey=v\n[B]\nKey=b\n"
                                                "last=no newline\r\nnew=1\r\n\r\n"));
}

TEST_F(IniFile, CutsReadValuesUnlessNoCut) {
    const QString longValue(300, u'x');
    ini::write(file, u"Call"_s, u"Item-ID"_s, longValue);
    EXPECT_EQ(ini::read(file, u"Call"_s, u"Item-ID"_s, 254).size(), 254);
    EXPECT_EQ(ini::read(file, u"Call"_s, u"Item-ID"_s), longValue);
}

TEST_F(IniFile, LineBreaksInValuesCannotAddLines) {
    ini::write(file, u"Program"_s, u"ContactChoiceDialogue"_s, QString());
    ini::write(file, u"Contact"_s, u"Adr_Street"_s,
               u"Hauptstr. 1\r\n[Program]\r\nContactChoiceDialogue=open"_s);
    EXPECT_EQ(ini::read(file, u"Program"_s, u"ContactChoiceDialogue"_s), QString());
    EXPECT_EQ(ini::read(file, u"Contact"_s, u"Adr_Street"_s),
              u"Hauptstr. 1 [Program] ContactChoiceDialogue=open"_s);
}

TEST_F(IniFile, UnwritableFileRaisesAccessError) {
    try {
        ini::write(env.root() + u"missing/x.ini"_s, u"A"_s, u"B"_s, u"C"_s);
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), err::FileAccess);
    }
}

TEST_F(IniFile, ConcurrentWritersLoseNoKey) {
    constexpr int writers = 4;
    constexpr int keys = 50;
    int gate[2];
    ASSERT_EQ(::pipe(gate), 0);
    QList<pid_t> children;
    for (int w = 0; w < writers; ++w) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::close(gate[1]);
            char c;
            (void)!::read(gate[0], &c, 1); // wait until all writers exist
            int failures = 0;
            for (int k = 0; k < keys; ++k) {
                try {
                    ini::write(file, u"S%1"_s.arg(k % 3), u"w%1k%2"_s.arg(w).arg(k),
                               QString::number(k));
                } catch (const Error&) {
                    ++failures;
                }
            }
            ::_exit(failures == 0 ? 0 : 1);
        }
        children << pid;
    }
    ::close(gate[0]);
    ::close(gate[1]);
    for (const pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    int found = 0;
    for (int w = 0; w < writers; ++w) {
        for (int k = 0; k < keys; ++k) {
            if (ini::read(file, u"S%1"_s.arg(k % 3), u"w%1k%2"_s.arg(w).arg(k)) ==
                QString::number(k))
                ++found;
        }
    }
    EXPECT_EQ(found, writers * keys);
    // Only the file itself is left: no lock or temporary files.
    EXPECT_EQ(QDir(env.workFolder()).entryList(QDir::Files | QDir::Hidden),
              QStringList{u"1A2B3C4D-0001-5E6F.call"_s});
}

// A series of writes in one replacement leaves the bytes that one write per
// entry leaves, on a missing file as on files of any form, blank lines
// included.
TEST_F(IniFile, SeriesOfWritesLeavesTheBytesOfOneWriteEach) {
    const QList<std::optional<QByteArray>> starts = {
        std::nullopt,
        QByteArray("[Program]\r\nContactChoiceDialogue=\r\n\r\n[Call]\r\nItem-ID=X\r\n"),
        QByteArray("; Kopf\n[CALL]\n number = 1 \nNUMBER=2\n[Timestamps]\ncalled=gestern"),
    };
    const QList<ini::Entry> entries = {
        {u"Program"_s, u"ContactChoiceDialogue"_s, QString()},
        ini::blankLine(),
        {u"Call"_s, u"Number"_s, u"030123"_s},
        {u"call"_s, u"Item-ID"_s, QString()},
        ini::blankLine(),
        {u"Timestamps"_s, u"Duration"_s, u"7"_s},
        {u"Timestamps"_s, u"Duration"_s, u"0"_s},
        {u"Timestamps"_s, u"called"_s, u"05.12.2026 14:03:27"_s},
        {u"Contact"_s, u"First_Name"_s, u"Zeile\r\nzwei"_s},
    };
    const QString stepwise = env.workFolder() + u"00000000-0000-1.call"_s;
    for (const auto& start : starts) {
        QFile::remove(file);
        QFile::remove(stepwise);
        if (start) {
            writeBytes(file, *start);
            writeBytes(stepwise, *start);
        }
        for (const ini::Entry& e : entries)
            ini::write(stepwise, e.section, e.key, e.value);
        ini::writeSeries(file, entries);
        EXPECT_EQ(test::readBytes(file), test::readBytes(stepwise))
            << start.value_or("(keine Datei)").constData();
    }
}

// Setting many keys in one pass gives the text that setting them one after
// the other gives, whatever the file looks like.
TEST(IniTextManyKeys, GiveTheSameTextAsOneKeyAtATime) {
    const QList<QByteArray> files = {
        "",
        "[Tellmarin]\r\nDebug=1\r\n",
        "; Kopf\r\n[andere]\r\na=1\r\n\r\n[TELLMARIN]\r\n Debug = 1 \r\ndebug=2\r\n\r\n\r\n"
        "[Tellmarin]\r\nLogDays=3\r\n",
        "[Tellmarin]\r\nMaps=0",                    // no line end at the end
        "[Tellmarin]\nkein Schlüssel\n[Rest]\nx=y", // LF alone, a line without "="
        "[andere]\r\nx=1",
        "[Tellmarin]\r\nDebug=0\r\nMaps=0", // every key there, no line end at the end
    };
    const QList<std::pair<QString, QString>> pairs = {
        {u"Debug"_s, u"0"_s},       {u"Neu"_s, u"eins"_s},    {u"DEBUG"_s, u"5"_s},
        {u" Maps "_s, u"1"_s},      {u"Größe"_s, u"ä"_s},     {u"neu"_s, u"zwei"_s},
        {u"Zeilen"_s, u"a\r\nb"_s}, {u"LogDays"_s, u" 7 "_s}, {u"GRÖSSE"_s, u"ü"_s}};
    const QList<std::pair<QString, QString>> onlyKnown = {{u"maps"_s, u"1"_s},
                                                          {u"Debug"_s, u"3"_s}};
    for (const auto& list : {pairs, onlyKnown}) {
        QList<ini::text::KeyValue> views;
        for (const auto& [key, value] : list)
            views.append({key, value});
        for (const QByteArray& content : files) {
            QByteArray stepwise = content;
            for (const auto& [key, value] : list)
                stepwise = ini::text::withValue(stepwise, u"Tellmarin"_s, key, value);
            EXPECT_EQ(ini::text::withValues(content, u"Tellmarin"_s, views), stepwise)
                << content.constData();
        }
    }
}

} // namespace
} // namespace tlm
