// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Company main numbers: the switchboard form, the prefix a phone field
// gives, the extension rule and the company file beside the index.
#include "numbers/companynumbers.h"
#include "numbers/indexseal.h"
#include "tests/support/testenv.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace tlm;
using namespace Qt::StringLiterals;

namespace {
CompanyNumber company(const QString& prefix, const QString& entryId, int field = 1) {
    return {prefix, {entryId, field, 0}};
}

QStringList entryIds(const QList<IndexMatch>& records) {
    QStringList ids;
    for (const IndexMatch& m : records)
        ids << m.entryId;
    return ids;
}
} // namespace

TEST(CompanyNumbers, SwitchboardFormNeedsASeparatorBeforeTheFinalZero) {
    for (const QString& written : {u"030 1234567-0"_s, u"+49 30 1234567/0"_s, u"030 1234567 0"_s,
                                   u"030.1234567.0"_s, u"030 1234567 - 0"_s, u" 030 1234567-0 "_s})
        EXPECT_TRUE(isSwitchboardForm(written)) << written.toStdString();
    // a person's direct number that ends in 0, and other ends
    for (const QString& written : {u"030 5551230"_s, u"030 1234567-10"_s, u"030 1234567-0 1"_s,
                                   u"-0"_s, u"0"_s, u"030 1234567-"_s, QString()})
        EXPECT_FALSE(isSwitchboardForm(written)) << written.toStdString();
}

TEST(CompanyNumbers, PrefixOfTheSwitchboardFormAndOfTheMainField) {
    const auto prefix = [](QStringView written, QStringView dialling, int field) {
        return companyPrefix(mainNumberOf(written, field), dialling);
    };
    EXPECT_EQ(prefix(u"+49 30 1234567-0", u"03012345670", 1), u"0301234567"_s);
    // a main field in the switchboard form is taken as a switchboard
    EXPECT_EQ(prefix(u"030 1234567-0", u"03012345670", CompanyMainField), u"0301234567"_s);
    EXPECT_EQ(prefix(u"030 1234567", u"0301234567", CompanyMainField), u"0301234567"_s);
    EXPECT_EQ(prefix(u"030 5551230", u"0305551230", 1), QString());
    EXPECT_EQ(prefix(u"030 1234567", u"0301234567", 1), QString());
    // only numbers of digits take part (internal and empty numbers do not)
    EXPECT_EQ(prefix(u"-", u"", CompanyMainField), QString());
    EXPECT_EQ(prefix(u"#21", u"#21", CompanyMainField), QString());
}

TEST(CompanyNumbers, ExtensionsOfOneToFiveDigitsAndTheLongestPrefixWins) {
    const QList<CompanyNumber> numbers = {company(u"03012345"_s, u"SHORT"_s),
                                          company(u"0301234567"_s, u"LONG1"_s),
                                          company(u"0301234567"_s, u"LONG2"_s, CompanyMainField)};
    CompanyMatch m = matchCompanyNumber(numbers, u"03012345678");
    EXPECT_EQ(m.prefix, u"0301234567"_s);
    EXPECT_EQ(m.extension, u"8"_s);
    EXPECT_EQ(entryIds(m.records), QStringList({u"LONG1"_s, u"LONG2"_s}));
    EXPECT_EQ(m.records[1].field, CompanyMainField);

    m = matchCompanyNumber(numbers, u"030123456712345");
    EXPECT_EQ(m.extension, u"12345"_s);
    EXPECT_EQ(entryIds(m.records), QStringList({u"LONG1"_s, u"LONG2"_s}));

    // six digits after the long prefix are too many (and eight after the short)
    EXPECT_TRUE(matchCompanyNumber(numbers, u"0301234567123456").records.isEmpty());
    // the short prefix alone
    m = matchCompanyNumber(numbers, u"030123459");
    EXPECT_EQ(entryIds(m.records), QStringList({u"SHORT"_s}));
    EXPECT_EQ(m.extension, u"9"_s);
    // the main number itself, a number of another form and one with letters
    // behind the prefix are no extensions
    EXPECT_TRUE(matchCompanyNumber({numbers[1]}, u"0301234567").records.isEmpty());
    EXPECT_TRUE(matchCompanyNumber(numbers, u"004930123456789").records.isEmpty());
    EXPECT_TRUE(matchCompanyNumber(numbers, u"0301234567#1").records.isEmpty());
    EXPECT_TRUE(matchCompanyNumber({}, u"0301234567").records.isEmpty());
}

class CompanyFile : public ::testing::Test {
protected:
    test::TestEnv env;
    const QString index = env.workFolder() + u"tlm20261205.idx"_s;
    const QString file = env.workFolder() + u"tlm20261205.zen"_s;

    void SetUp() override { writeIndex("\"0301234567\",\"A\",6,0\r\n"); }
    void writeIndex(const QByteArray& bytes) const {
        QFile f(index);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    void placeFile() const {
        CompanyFileWriter writer(index, true);
        const auto add = [&](QStringView written, QStringView dialling, const QString& id,
                             int field, bool journal) {
            writer.add(writer.kindOf(written, field), dialling, id, field, journal);
        };
        add(u"030 1234567", u"0301234567", u"A"_s, CompanyMainField, false);
        add(u"030 5551230", u"0305551230", u"B"_s, 1, false); // no main number
        add(u"+49 221 98-0", u"0221980", u"C,D"_s, 2, true);
        ASSERT_TRUE(writer.place(index));
        EXPECT_FALSE(QFile::exists(writer.temporary()));
    }
};

TEST_F(CompanyFile, HoldsTheMainNumbersOfTheIndexItWasMadeWith) {
    EXPECT_EQ(companyFilePath(index), file);
    placeFile();
    const QByteArray bytes = test::readBytes(file);
    ASSERT_TRUE(bytes.startsWith("Tellmarin-Zentralen 1\n"));
    EXPECT_TRUE(bytes.endsWith("\n0301234567,6,0,A\n022198,2,-1,C,D\n")) << bytes.toStdString();
    EXPECT_EQ(bytes.size(), 22 + SealSize + 1 + 17 + 16);
    const auto numbers = readCompanyFile(index);
    ASSERT_TRUE(numbers.has_value());
    ASSERT_EQ(numbers->size(), 2);
    EXPECT_EQ((*numbers)[1].prefix, u"022198"_s);
    EXPECT_EQ((*numbers)[1].record.entryId, u"C,D"_s);
    EXPECT_EQ((*numbers)[1].record.field, 2);
    EXPECT_EQ((*numbers)[1].record.journal, -1);
    EXPECT_TRUE(companyFileHolds(index));
}

TEST_F(CompanyFile, IsNotTrustedForAnotherIndexNorWhenCutOrForeign) {
    placeFile();
    writeIndex("\"0301234567\",\"A\",6,0\r\n\"1\",\"B\",1,0\r\n"); // a new index
    EXPECT_FALSE(readCompanyFile(index).has_value());

    placeFile();
    const QByteArray good = test::readBytes(file);
    ASSERT_TRUE(readCompanyFile(index).has_value());
    const auto writeFile = [&](const QByteArray& bytes) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    // rewriting the company file leaves the index's seal as it was
    writeFile(good.chopped(1)); // the last line cut short
    EXPECT_FALSE(readCompanyFile(index).has_value());
    writeFile("Anderes 1\n" + good.mid(22));
    EXPECT_FALSE(readCompanyFile(index).has_value());
    writeFile(good.left(30));
    EXPECT_FALSE(readCompanyFile(index).has_value());
    QFile::remove(file);
    EXPECT_FALSE(companyFileHolds(index));
}

TEST_F(CompanyFile, OffTheWriterCollectsNothingAndRemovesTheDaysFile) {
    placeFile();
    CompanyFileWriter writer(index, false);
    EXPECT_EQ(writer.kindOf(u"030 1234567", CompanyMainField), MainNumber::None);
    EXPECT_TRUE(writer.place(index));
    EXPECT_FALSE(QFile::exists(file));
    // an index that cannot be sealed leaves no file
    CompanyFileWriter on(index, true);
    EXPECT_FALSE(on.place(env.workFolder() + u"fehlt.idx"_s));
    EXPECT_FALSE(QFile::exists(file));
}
