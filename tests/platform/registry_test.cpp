// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/error.h"
#include "platform/registry.h"
#include "tests/support/testenv.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace tlm {
namespace {

using registry::Root;
using registry::Value;
using registry::View;

QByteArray utf16WithBom(const QString& text) {
    QByteArray bytes("\xFF\xFE", 2);
    for (const QChar c : text) {
        bytes += char(c.unicode() & 0xFF);
        bytes += char(c.unicode() >> 8);
    }
    return bytes;
}

const QString body = u"\r\n; comment\r\n"
                     "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Orven]\r\n"
                     "@=\"default\"\r\n"
                     "\"Path\"=\"C:\\\\Program Files\\\\Say \\\"Hi\\\"\"\r\n"
                     "\"Count\"=dword:0000001e\r\n"
                     "\"Bin\"=hex:01,02,\\\r\n  03,04\r\n"
                     "\"Multi\"=hex(7):41,00,00,00\r\n"
                     "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Gone]\r\n"
                     "[HKEY_CURRENT_USER\\Software\\Orven\\Sub]\r\n"
                     "\"Name\"=\"Müller €\"\r\n"_s;

void expectBody(const View& view) {
    EXPECT_EQ(view.value(Root::LocalMachine, u"software\\orven"_s, QString()).text, u"default"_s);
    const Value path = view.value(Root::LocalMachine, u"SOFTWARE\\Orven"_s, u"PATH"_s);
    EXPECT_EQ(path.type, Value::Type::String);
    EXPECT_EQ(path.text, u"C:\\Program Files\\Say \"Hi\""_s);
    const Value count = view.value(Root::LocalMachine, u"SOFTWARE\\Orven"_s, u"Count"_s);
    EXPECT_EQ(count.type, Value::Type::Dword);
    EXPECT_EQ(count.number, 30u);
    EXPECT_EQ(count.toString(), u"30"_s);
    EXPECT_TRUE(view.value(Root::LocalMachine, u"SOFTWARE\\Orven"_s, u"Bin"_s).isEmpty());
    EXPECT_TRUE(view.value(Root::LocalMachine, u"SOFTWARE\\Orven"_s, u"Multi"_s).isEmpty());
    EXPECT_EQ(view.value(Root::CurrentUser, u"Software\\Orven\\Sub"_s, u"name"_s).text,
              u"Müller €"_s);
    EXPECT_TRUE(view.value(Root::LocalMachine, u"Software\\Orven\\Sub"_s, u"Name"_s).isEmpty());
}

TEST(RegistryView, ReadsAllEncodingsAndBothHeaders) {
    SCOPED_TRACE("version 5, UTF-16LE");
    expectBody(View::parse(utf16WithBom(u"Windows Registry Editor Version 5.00\r\n"_s + body)));
    SCOPED_TRACE("REGEDIT4, UTF-8 with BOM");
    expectBody(View::parse("\xEF\xBB\xBF" + (u"REGEDIT4\r\n"_s + body).toUtf8()));
    SCOPED_TRACE("REGEDIT4, UTF-8 with LF line ends");
    expectBody(View::parse(QString(u"REGEDIT4\n"_s + body).remove(u'\r').toUtf8()));
    SCOPED_TRACE("REGEDIT4, Windows-1252");
    QByteArray ansi = (u"REGEDIT4\r\n"_s + body).toUtf8();
    ansi.replace("\xC3\xBC", "\xFC").replace("\xE2\x82\xAC", "\x80");
    expectBody(View::parse(ansi));
}

TEST(RegistryView, MalformedLinesNameFileAndLine) {
    const auto errorOf = [](const QByteArray& content) {
        try {
            View::parse(content, u"/x/registry.reg"_s);
        } catch (const Error& e) {
            return e.description();
        }
        return u"no error"_s;
    };
    EXPECT_TRUE(errorOf("REGEDIT4\r\n\r\n[HKEY_USERS\\A]\r\n\"Name\"=dword:xyz\r\n")
                    .startsWith(u"/x/registry.reg, Zeile 4:"_s));
    EXPECT_TRUE(errorOf("REGEDIT4\n[HKEY_USERS\\A]\n\"Name\"=\"open\n").contains(u"Zeile 3"_s));
    EXPECT_TRUE(errorOf("REGEDIT4\n\"Name\"=\"before any key\"\n").contains(u"Zeile 2"_s));
    EXPECT_TRUE(errorOf("REGEDIT4\n[HKEY_NOWHERE\\A]\n").contains(u"Zeile 2"_s));
    EXPECT_TRUE(errorOf("REGEDIT5\n").contains(u"Zeile 1"_s));
    EXPECT_EQ(errorOf("REGEDIT4\n[HKEY_CURRENT_CONFIG\\A]\n\"x\"=\"y\"\n"), u"no error"_s);
}

TEST(RegistryRead, SeesTheViewOfA32BitProcess) {
    test::TestEnv env;
    env.writeRegistry(u"REGEDIT4\n"
                      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Both]\n"
                      "\"Where\"=\"32\"\n"
                      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Both]\n"
                      "\"Where\"=\"64\"\n"
                      "\"Only64\"=\"x\"\n"
                      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Plain]\n"
                      "\"Where\"=\"64\"\n"
                      "[HKEY_LOCAL_MACHINE\\SYSTEM\\Wow6432Node\\Other]\n"
                      "\"Where\"=\"32\"\n"_s);
    EXPECT_EQ(registry::fncRegValue(Root::LocalMachine, u"Software\\Both"_s, u"Where"_s).text,
              u"32"_s);
    // A key found under Wow6432Node hides the other view's values.
    EXPECT_TRUE(
        registry::fncRegValue(Root::LocalMachine, u"SOFTWARE\\Both"_s, u"Only64"_s).isEmpty());
    EXPECT_EQ(registry::fncRegValue(Root::LocalMachine, u"SOFTWARE\\Plain"_s, u"Where"_s).text,
              u"64"_s);
    EXPECT_TRUE(
        registry::fncRegValue(Root::LocalMachine, u"SYSTEM\\Other"_s, u"Where"_s).isEmpty());
    EXPECT_TRUE(
        registry::fncRegValue(Root::CurrentUser, u"SOFTWARE\\Both"_s, u"Where"_s).isEmpty());
}

TEST(RegistryRead, MissingOrMalformedFileIsAnEmptyRegistry) {
    test::TestEnv env;
    EXPECT_TRUE(registry::fncRegValue(Root::LocalMachine, u"A"_s, u"B"_s).isEmpty());
    env.writeRegistry(u"REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"B\"=\"1\"\n"_s);
    EXPECT_EQ(registry::fncRegValue(Root::LocalMachine, u"A"_s, u"B"_s).text, u"1"_s);
    env.writeRegistry(u"REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"B\"=1\n"_s);
    EXPECT_TRUE(registry::fncRegValue(Root::LocalMachine, u"A"_s, u"B"_s).isEmpty());
}

} // namespace
} // namespace tlm
