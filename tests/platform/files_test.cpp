// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/error.h"
#include "platform/files.h"
#include "platform/textfile.h"
#include "tests/support/testenv.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace tlm {
namespace {

template <typename F> long errorNumber(F&& f) {
    try {
        f();
    } catch (const Error& e) {
        return e.number();
    }
    return 0;
}

TEST(Wildcard, MatchesLikeWindows) {
    const QString callFiles = u"???????\?-???\?-*.call"_s; // "\?" avoids trigraphs
    EXPECT_TRUE(files::wildcardMatch(callFiles, u"1A2B3C4D-0001-5E6F.call"_s));
    EXPECT_TRUE(files::wildcardMatch(callFiles, u"00000000-0000-0301234.call"_s));
    EXPECT_TRUE(files::wildcardMatch(callFiles, u"1a2b3c4d-0001-.CALL"_s));
    EXPECT_FALSE(files::wildcardMatch(callFiles, u"tlm20261205.idx"_s));
    EXPECT_FALSE(files::wildcardMatch(callFiles, u"Tellmarin.log"_s));
    EXPECT_FALSE(files::wildcardMatch(callFiles, u"x.call.bak"_s));
    EXPECT_FALSE(files::wildcardMatch(callFiles, u"1A2B3C4-0001-5E6F.call"_s));
    EXPECT_TRUE(files::wildcardMatch(u"*.call"_s, u"a.call.call"_s));
    EXPECT_FALSE(files::wildcardMatch(u"*.call"_s, u"x.call.bak"_s));
    EXPECT_TRUE(files::wildcardMatch(u"tlm*.idx"_s, u"TLM20261205.IDX"_s));
    EXPECT_TRUE(files::wildcardMatch(u"*a*b*"_s, u"xxaxxaxbx"_s));
    EXPECT_FALSE(files::wildcardMatch(u"a?c"_s, u"ac"_s));
    EXPECT_TRUE(files::wildcardMatch(u"*.*"_s, u"noextension"_s));
    EXPECT_TRUE(files::wildcardMatch(u"Ä*"_s, u"äpfel"_s));
}

TEST(Files, ListsSizesAndRemoves) {
    test::TestEnv env;
    const QString dir = env.workFolder();
    for (const QString& name : {u"b.call"_s, u"A.call"_s, u"c.log"_s})
        textfile::write(dir + name, u"12345"_s);
    QDir(dir).mkdir(u"d.call"_s);
    EXPECT_EQ(files::matching(dir, u"*.call"_s),
              (QStringList{dir + u"A.call"_s, dir + u"b.call"_s}));
    EXPECT_EQ(files::size(dir + u"c.log"_s), 5);
    EXPECT_TRUE(files::modified(dir + u"c.log"_s).isValid());
    EXPECT_EQ(errorNumber([&] { files::size(dir + u"none"_s); }), err::FileNotFound);
    EXPECT_EQ(errorNumber([&] { files::modified(dir + u"none"_s); }), err::FileNotFound);
    EXPECT_TRUE(files::remove(dir + u"c.log"_s));
    EXPECT_FALSE(files::exists(dir + u"c.log"_s));
    EXPECT_FALSE(files::remove(dir + u"c.log"_s));
    EXPECT_FALSE(files::remove(dir + u"d.call"_s));
}

TEST(TextFile, AppendsWritesAndReadsInTheSystemCodePage) {
    test::TestEnv env;
    const QString log = env.workFolder() + u"Tellmarin.log"_s;
    textfile::appendLine(log, u"Größe"_s);
    textfile::append(log, u"a"_s);
    textfile::appendLine(log, u"b"_s);
    EXPECT_EQ(test::readBytes(log), QByteArray("Gr\xC3\xB6\xC3\x9F"
                                               "e\r\nab\r\n"));
    EXPECT_EQ(textfile::read(log), u"Größe\r\nab\r\n"_s);
    textfile::write(log, u"neu"_s);
    EXPECT_EQ(test::readBytes(log), QByteArray("neu"));
    EXPECT_EQ(errorNumber([&] { textfile::read(log + u".x"_s); }), err::FileNotFound);
    EXPECT_EQ(errorNumber([&] { textfile::appendLine(env.root() + u"no/x.log"_s, u"x"_s); }),
              err::FileAccess);
    EXPECT_EQ(errorNumber([&] { textfile::write(env.root() + u"no/x.log"_s, u"x"_s); }),
              err::FileAccess);
}

TEST(TextFile, DecodesForeignFiles) {
    EXPECT_EQ(textfile::decodeForeign("\xEF\xBB\xBF"
                                      "K\xC3\xB6ln"),
              u"Köln"_s);
    EXPECT_EQ(textfile::decodeForeign(QByteArray("\xFF\xFEK\0\xF6\0l\0n\0\xAC\x20", 12)),
              u"Köln€"_s);
    EXPECT_EQ(textfile::decodeForeign("K\xC3\xB6ln \xE2\x82\xAC"), u"Köln €"_s);
    EXPECT_EQ(textfile::decodeForeign("K\xF6ln \x80 \x84x\x93 \x81\x9F"), u"Köln € „x“ \u0081Ÿ"_s);
    EXPECT_EQ(textfile::decodeForeign(QByteArray()), QString());
}

} // namespace
} // namespace tlm
