// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Callers from a company's extensions, found through its main number
// (CompanyFallback 1): which contact is found, how the guess is shown in the
// choice window, the journal subject, the per-call log and file, the rebuild
// when it is switched on, and that with the setting off every file stays as
// it was.
#include "numbers/companynumbers.h"
#include "tests/core/callfixture.h"

#include <QDir>

namespace tlm::test {
namespace {

class CompanyLookup : public CallFixture {
protected:
    QString zentraleId, hauptId, ninaId, nordId, suedId;

    void SetUp() override {
        CallFixture::SetUp();
        FolderPtr contacts =
            attach()->GetNamespace(u"MAPI"_s)->GetDefaultFolder(olFolderContacts);
        const auto add = [&](const QString& company, const QString& last, const char16_t* field,
                             const QString& number) {
            ItemPtr c = contacts->Items()->Add();
            c->set(u"CompanyName"_s, company);
            c->set(u"LastName"_s, last);
            c->set(QString::fromUtf16(field), number);
            c->Save();
            return c->EntryID();
        };
        // Becker's 03012345678 lies behind both main numbers as well.
        zentraleId = add(u"Zentrale GmbH"_s, QString(), u"BusinessTelephoneNumber",
                         u"+49 30 1234567-0"_s);
        hauptId =
            add(u"Haupt AG"_s, QString(), u"CompanyMainTelephoneNumber", u"030 12345"_s);
        ninaId = add(QString(), u"Nullmann"_s, u"BusinessTelephoneNumber", u"030 4445550"_s);
        nordId = add(u"Kontor Nord"_s, QString(), u"Business2TelephoneNumber", u"0221 777-0"_s);
        suedId = add(u"Kontor Süd"_s, QString(), u"BusinessTelephoneNumber", u"0221/777/0"_s);
    }
    static void switchOn() { set(u"CompanyFallback"_s, u"1"_s); }

    // The contacts the called event of number found, and its extension.
    std::pair<QStringList, QString> called(const QString& number, const QString& id) {
        QStringList found;
        QString extension;
        runEvent({u"called"_s, number, u"0"_s, id}, [&](tlm::Run& run) {
            for (const FoundContact& f : run.lookup.found)
                found << f.entryId;
            extension = run.lookup.extension;
        });
        return {found, extension};
    }
    QStringList programLog() const {
        const QString text = QString::fromUtf8(readBytes(env.workFolder() + u"Tellmarin.log"_s));
        QStringList lines;
        for (const QString& l : text.split(u"\r\n"_s, Qt::SkipEmptyParts))
            lines << l.mid(22, 6).trimmed() + u'|' + l.mid(31);
        return lines;
    }
    QString companyFile() const {
        return env.workFolder() + u"tlm"_s + day.toString(u"yyyyMMdd"_s) + u".zen"_s;
    }
};

TEST_F(CompanyLookup, ExtensionsOfOneToFiveDigitsFindTheCompanyAndTheLongestMainNumberWins) {
    switchOn();
    // 0301234567 (switchboard form) and 03012345 (main field) both lie before it
    EXPECT_EQ(called(u"03012345679"_s, u"A0000001-0001-1"_s),
              std::pair(QStringList{zentraleId}, u"9"_s));
    EXPECT_EQ(called(u"030123456712345"_s, u"A0000001-0001-2"_s),
              std::pair(QStringList{zentraleId}, u"12345"_s));
    // six digits behind the switchboard, eight behind the main field: none
    EXPECT_EQ(called(u"0301234567123456"_s, u"A0000001-0001-3"_s).first, QStringList());
    // the main field alone
    EXPECT_EQ(called(u"0301234599"_s, u"A0000001-0001-4"_s),
              std::pair(QStringList{hauptId}, u"99"_s));
    // a person's direct number that ends in 0 is no switchboard
    EXPECT_EQ(called(u"0304445551"_s, u"A0000001-0001-5"_s).first, QStringList());
    EXPECT_TRUE(logged(u"41100|Kein passenden Outlook-Kontakt gefunden"_s, u"A0000001-0001-5"_s));
}

TEST_F(CompanyLookup, AnExactMatchAlwaysWins) {
    switchOn();
    EXPECT_EQ(called(becker, callId), std::pair(QStringList{beckerId}, QString()));
    EXPECT_TRUE(callLog().filter(u"Zentrale"_s).isEmpty());
    EXPECT_EQ(fncIniRead(callFile(), u"Contact"_s, u"Extension"_s), QString());
    EXPECT_FALSE(test::readBytes(callFile()).contains("Extension"));
}

TEST_F(CompanyLookup, TheGuessIsMarkedInTheSubjectAndNamedInTheLogAndCallFile) {
    switchOn();
    answeredCall(u"03012345679"_s);
    EXPECT_EQ(only(olFolderJournal).properties.value(u"Subject"_s).toString(),
              u"Anruf von ~Zentrale GmbH (Geschäftlich 03012345679): "_s);
    EXPECT_TRUE(logged(u"41000|...Outlook-Kontakt über die Zentrale 0301234567 gefunden, "
                       u"Durchwahl 9"_s));
    EXPECT_TRUE(logged(u"41200|Outlook-Kontakt: Zentrale GmbH"_s));
    EXPECT_EQ(fncIniRead(callFile(), u"Contact"_s, u"Extension"_s), u"9"_s);
    EXPECT_EQ(fncIniRead(callFile(), u"Contact"_s, u"Contact-ID"_s), zentraleId);
}

TEST_F(CompanyLookup, SeveralContactsOnOneMainNumberGoToTheChoiceWindowMarked) {
    switchOn();
    QStringList lines;
    setCallDialogs({.contactChoice = [&](tlm::Run& run) {
        for (const FoundContact& f : run.lookup.found)
            lines << f.display;
        const ContactChoice nord{ContactChoice::Kind::Chosen, nordId,
                                 run.mapi->GetItemFromID(nordId), 5, true};
        subUpdateCallFileContact(run, nord.contact, nord.field);
        return nord;
    }});
    answeredCall(u"022177712"_s);
    EXPECT_EQ(lines, QStringList({u"~Kontor Nord"_s, u"~Kontor Süd"_s}));
    EXPECT_TRUE(logged(u"41000|...Outlook-Kontakt über die Zentrale 0221777 gefunden, "
                       u"Durchwahl 12"_s));
    EXPECT_EQ(only(olFolderJournal).properties.value(u"Subject"_s).toString(),
              u"Anruf von ~Kontor Nord (Geschäftlich 022177712): "_s);
}

TEST_F(CompanyLookup, SwitchingItOnRebuildsTheIndexAtTheNextEvent) {
    EXPECT_EQ(called(u"03012345679"_s, u"B0000001-0001-1"_s).first, QStringList());
    EXPECT_FALSE(QFile::exists(companyFile()));

    switchOn();
    const QString reason =
        u"11005|Neuaufbau, weil die Zentralen-Datei fehlt oder nicht zur Indexdatei passt"_s;
    EXPECT_EQ(called(u"03012345679"_s, u"B0000001-0001-2"_s).first, QStringList{zentraleId});
    EXPECT_TRUE(QFile::exists(companyFile()));
    EXPECT_EQ(programLog().count(reason), 1);
    called(u"03012345679"_s, u"B0000001-0001-3"_s);
    EXPECT_EQ(programLog().count(reason), 1); // it holds now

    // a company file of another index is not used, and rebuilt
    QFile index(env.workFolder() + u"tlm"_s + day.toString(u"yyyyMMdd"_s) + u".idx"_s);
    ASSERT_TRUE(index.open(QIODevice::Append));
    index.write("\"1\",\"X\",1,0\r\n");
    index.close();
    EXPECT_EQ(called(u"03012345679"_s, u"B0000001-0001-4"_s).first, QStringList{zentraleId});
    EXPECT_EQ(programLog().count(reason), 2);
}

// With the setting off (stored as 0) a call leaves the same per-call log,
// per-call file, index, index log and work folder as without the key.
TEST_F(CompanyLookup, OffEveryFileStaysAsWithoutTheSetting) {
    const QString indexName = u"tlm"_s + day.toString(u"yyyyMMdd"_s);
    struct Files {
        QStringList callLog;
        QString callFile;
        QByteArray index, indexLog;
        QStringList folder;
    };
    const auto callOf = [&](const QString& id) {
        QFile::remove(env.workFolder() + indexName + u".idx"_s); // built by this call
        for (const QString& number : {u"03012345679"_s, becker}) {
            const QString call = id + number.right(1);
            at(14, 3, 27);
            runEvent({u"called"_s, number, u"0"_s, call});
            at(14, 3, 40);
            runEvent({u"connect"_s, number, u"0"_s, call});
            at(14, 9, 2);
            runEvent({u"finished"_s, number, u"0"_s, call});
        }
        const QString call = id + u"9"_s;
        // the files of the work folder other than those of the calls
        QStringList folder = QDir(env.workFolder()).entryList(QDir::Files, QDir::Name);
        folder.removeIf([](const QString& name) { return name.contains(u"0000001-0001-"_s); });
        // the call file with its own call id and journal entry masked
        QString file = QString::fromUtf8(maskDates(readBytes(callFile(call))));
        file.replace(id, u"<ID>"_s).replace(QRegularExpression(u"Item-ID=\\w+"_s), u"<ITEM>"_s);
        return Files{callLog(call), file,
                     readBytes(env.workFolder() + indexName + u".idx"_s),
                     maskDates(readBytes(env.workFolder() + indexName + u".log"_s)), folder};
    };
    const Files without = callOf(u"C0000001-0001-"_s);
    set(u"CompanyFallback"_s, u"0"_s);
    const Files off = callOf(u"D0000001-0001-"_s);
    EXPECT_EQ(off.callLog, without.callLog);
    EXPECT_EQ(off.callFile, without.callFile);
    EXPECT_TRUE(off.callFile.contains(u"<ITEM>"_s));
    EXPECT_EQ(off.index, without.index);
    EXPECT_EQ(off.indexLog.toStdString(), without.indexLog.toStdString());
    EXPECT_FALSE(QFile::exists(companyFile()));
    EXPECT_EQ(off.folder, without.folder);
    EXPECT_TRUE(without.callLog.contains(u"41100|Kein passenden Outlook-Kontakt gefunden"_s));
}

} // namespace
} // namespace tlm::test
