// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// The contact reconciliation window on a call prepared as the program
// prepares it (settings, area info, index lookup), driven through its
// controls.
#include "callwindows/frmkontaktabgleich.h"
#include "core/contactindex.h"
#include "platform/messagebox.h"
#include "tests/core/callfixture.h"
#include "tests/support/textfit.h"
#include "ui/design.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

namespace tlm::test {
namespace {

class Reconciliation : public CallFixture {
protected:
    tlm::Run run;
    std::unique_ptr<frmKontaktAbgleich> window;

    // The CTI client's data: first name, last name, company, street, zip,
    // city, country.
    void open(const QString& number, const QStringList& caller = {}) {
        Event e{u"calledbusy"_s, number};
        e.caller = caller;
        Main(run, commandLine(e));
        run.params.values[P_INVOKED_FROM] = u"contact"_s;
        window = std::make_unique<frmKontaktAbgleich>(run);
    }
    template <class T> T* child(const char* name) {
        T* c = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    QStringList phoneTypes() {
        QStringList labels;
        auto* list = child<QListWidget>("listArt");
        for (int i = 0; i < list->count(); ++i)
            labels << list->item(i)->text();
        return labels;
    }
    QString selectedPhoneType() { return child<QListWidget>("listArt")->currentItem()->text(); }
    void choosePhoneType(const QString& label) {
        auto* list = child<QListWidget>("listArt");
        list->setCurrentItem(list->findItems(label, Qt::MatchExactly).value(0));
    }
    void search(const QString& text) {
        child<QLineEdit>("txtSuchen")->setText(text);
        window->subSearchContacts();
    }
    ItemPtr contact(const QString& id) { return run.mapi->GetItemFromID(id); }
    QList<pim::ItemRecord> contacts() const { return folderItems(olFolderContacts); }
};

TEST_F(Reconciliation, AnUnknownLandlineCallerBecomesABusinessContactTheIndexFindsAgain) {
    set(u"ContactJournal"_s, u"1"_s);
    open(u"030123456"_s,
         {u"Anna"_s, u"Schulz"_s, u"Schulz GmbH"_s, u"Hauptstr. 1"_s, u"10115"_s, u"Potsdam"_s});
    EXPECT_EQ(window->windowTitle(), u"Kontakt-/Rufnummernabgleich mit Outlook "_s);
    EXPECT_EQ(child<QLabel>("lblTKSuite")->text(), u"Kontaktanzeige"_s);
    EXPECT_EQ(child<QPlainTextEdit>("txtTK1")->toPlainText(), u"Schulz GmbH\nAnna Schulz"_s);
    EXPECT_EQ(child<QPlainTextEdit>("txtTK2")->toPlainText(), u"Hauptstr. 1\n10115 Potsdam\n"_s);
    EXPECT_EQ(child<QLineEdit>("txtTK3")->text(), u"+49 (30) 123456"_s);
    EXPECT_EQ(phoneTypes(), QStringList({u"Geschäftlich"_s, u"Geschäftlich 2"_s, u"Firma"_s,
                                         u"Privat"_s, u"Privat 2"_s, u"Assistent"_s,
                                         u"Rückmeldung"_s, u"Weitere"_s, u"Haupttelefon"_s}));
    EXPECT_EQ(selectedPhoneType(), u"Geschäftlich"_s); // NewContactType 0
    EXPECT_TRUE(child<QPushButton>("cmdUebernahmeRufnummer")->isHidden());
    EXPECT_TRUE(child<QPushButton>("cmdUebernahmeAdresse")->isHidden());
    EXPECT_EQ(child<QLabel>("lblTKSuite")->buddy(), nullptr);
    EXPECT_EQ(child<QLabel>("lblRufnummer")->buddy(), child<QLineEdit>("txtTK3"));

    child<QPushButton>("cmdAnlegen")->click();
    EXPECT_TRUE(window->changed());
    EXPECT_FALSE(window->isVisible());
    ASSERT_EQ(contacts().size(), 4);
    const pim::ItemRecord created = contacts().last();
    const ItemPtr anna = contact(created.entryId);
    EXPECT_EQ(anna->text(u"CompanyName"_s), u"Schulz GmbH"_s);
    EXPECT_EQ(anna->text(u"BusinessAddressStreet"_s), u"Hauptstraße 1"_s);
    EXPECT_EQ(anna->text(u"BusinessAddressCity"_s), u"Berlin"_s); // the area's place
    EXPECT_EQ(anna->text(u"BusinessTelephoneNumber"_s), u"+49 (30) 123456"_s);
    EXPECT_EQ(anna->get(u"SelectedMailingAddress"_s).toInt(), 2);
    EXPECT_TRUE(anna->flag(u"Journal"_s));
    EXPECT_EQ(userProperty(created, u"Tellmarin"_s), run.env.programVersion);
    EXPECT_TRUE(created.inspector.open);

    // closing rebuilt the index: the next call finds her
    tlm::Run next;
    Main(next, commandLine({u"calledbusy"_s, u"030123456"_s}));
    EXPECT_EQ(next.lookup.foundCount, 1);
}

TEST_F(Reconciliation, AMobileCallerIsOfferedTheMobileFieldsAndAHomeContact) {
    set(u"NewContactType"_s, u"1"_s);
    open(u"01711234567"_s, {u"Jan"_s, u"Ott"_s, u"Ott AG"_s, u"Hauptstrasse 1"_s, u"50667"_s,
                            u"Köln"_s, u"Deutschland"_s});
    EXPECT_EQ(phoneTypes().size(), 12);
    EXPECT_EQ(selectedPhoneType(), u"Mobil"_s);
    child<QListWidget>("listOutlookAdresse")->setCurrentRow(1); // home
    window->cmdAnlegen_Click();
    const ItemPtr jan = contact(contacts().last().entryId);
    EXPECT_EQ(jan->text(u"CompanyName"_s), QString());
    EXPECT_EQ(jan->text(u"HomeAddressStreet"_s), u"Hauptstrasse 1"_s);
    EXPECT_EQ(jan->text(u"HomeAddressCity"_s), u"Köln"_s); // a mobile prefix has no place
    EXPECT_EQ(jan->text(u"MobileTelephoneNumber"_s), u"+49 (171) 1234567"_s);
    EXPECT_EQ(jan->get(u"SelectedMailingAddress"_s).toInt(), 1);
}

TEST_F(Reconciliation, TakingTheNumberAndAddressOverKeepsWhatTheClientDidNotSend) {
    open(wagner, {QString(), u"Wagner"_s, QString(), QString(), QString(), u"Köln"_s});
    auto* list = child<QComboBox>("cbxKontakte");
    ASSERT_EQ(list->count(), 2);
    EXPECT_FALSE(child<QPushButton>("cmdUebernahmeRufnummer")->isHidden());
    EXPECT_FALSE(child<QPushButton>("cmdUebernahmeAdresse")->isHidden());
    const QString id = list->currentData().toString();
    ItemPtr c = contact(id);
    c->set(u"BusinessAddressStreet"_s, u"Domstr. 4"_s);
    c->set(u"CompanyName"_s, u"Wagner Bau"_s);
    c->Save();

    choosePhoneType(u"Privat 2"_s);
    child<QLineEdit>("txtTK3")->setText(u"0221 987654"_s);
    child<QPushButton>("cmdUebernahmeRufnummer")->click();
    child<QPushButton>("cmdUebernahmeAdresse")->click();
    c = contact(id);
    EXPECT_EQ(c->text(u"Home2TelephoneNumber"_s), u"0221 987654"_s);
    EXPECT_EQ(c->text(u"CompanyName"_s), u"Wagner Bau"_s);
    EXPECT_EQ(c->text(u"BusinessAddressStreet"_s), u"Domstr. 4"_s);
    EXPECT_EQ(c->text(u"BusinessAddressCity"_s), u"Köln"_s);
    EXPECT_TRUE(window->changed());
    EXPECT_TRUE(
        child<QPlainTextEdit>("txtOutlook2")->toPlainText().contains(u"Privat2: 0221 987654"_s));

    // without any name from the client the address cannot be taken over
    tlm::Run other;
    Main(other, commandLine({u"calledbusy"_s, wagner}));
    frmKontaktAbgleich nameless(other);
    EXPECT_TRUE(nameless.findChild<QPushButton*>(u"cmdUebernahmeAdresse"_s)->isHidden());
}

TEST_F(Reconciliation, TheSearchFindsNamesWithApostrophesAndOffersTheCompany) {
    ItemPtr obrien =
        attach()->GetNamespace(u"MAPI"_s)->GetDefaultFolder(olFolderContacts)->Items()->Add();
    obrien->set(u"FirstName"_s, u"Seán"_s);
    obrien->set(u"LastName"_s, u"O'Brien"_s);
    obrien->Save();
    open(u"089123"_s, {u"Eva"_s, u"Roth"_s});
    search(u"O'Brien"_s);
    auto* list = child<QComboBox>("cbxKontakte");
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->currentText(), u"O'Brien, Seán"_s);
    EXPECT_EQ(child<QLabel>("lblStatus")->text(), u"1 Kontakt gefunden"_s);
    EXPECT_FALSE(child<QPushButton>("cmdUebernahmeRufnummer")->isHidden());

    search(u"Becker"_s);
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->currentText(), u"Becker, Thomas (Becker Haustechnik)"_s);
    EXPECT_EQ(child<QPushButton>("cmdAnlegen")->width(), design::pixels(1035));
    EXPECT_TRUE(
        child<QPlainTextEdit>("txtOutlook1")->toPlainText().startsWith(u"Becker Haustechnik\n"_s));
    window->cmdAnlegenFirma_Click();
    const ItemPtr eva = contact(contacts().last().entryId);
    EXPECT_EQ(eva->text(u"FullName"_s), u"Eva Roth"_s);
    EXPECT_EQ(eva->text(u"CompanyName"_s), u"Becker Haustechnik"_s);
    EXPECT_EQ(eva->text(u"BusinessAddressStreet"_s), u"Hauptstr. 5"_s);
    EXPECT_EQ(eva->text(u"BusinessTelephoneNumber"_s), u"+49 (89) 123"_s);

    search(u"Wagner"_s);
    EXPECT_EQ(child<QLabel>("lblStatus")->text(), u"2 Kontakte gefunden"_s);

    // a double click on the client's picture goes back to the index matches
    QMouseEvent click(QEvent::MouseButtonDblClick, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(child<QLabel>("imgTKSuite"), &click);
    EXPECT_EQ(list->count(), 0);
    EXPECT_TRUE(child<QPushButton>("cmdUebernahmeRufnummer")->isHidden());
}

// Rows of a list that the list shows only in part.
QStringList rowsCut(const QListWidget* list) {
    QStringList cut;
    const QRect shown = list->viewport()->rect();
    for (int i = 0; i < list->count(); ++i) {
        const QRect row = list->visualItemRect(list->item(i));
        if (row.intersects(shown) && !shown.contains(row))
            cut << list->item(i)->text();
    }
    return cut;
}

TEST_F(Reconciliation, EveryTextShowsWholeWithoutLyingOnAnother) {
    open(u"01711234567"_s, {u"Jan"_s, u"Ott"_s});
    window->show();
    search(u"Wagner"_s);
    QFocusEvent focus(QEvent::FocusIn);
    QApplication::sendEvent(child<QLineEdit>("txtSuchen"), &focus); // the search tip shows
    ASSERT_EQ(child<QLabel>("lblStatus")->text(), u"2 Kontakte gefunden"_s);
    ASSERT_FALSE(child<QLabel>("lblTip")->text().isEmpty());
    EXPECT_EQ(cutLabels(window.get()), QStringList());
    EXPECT_EQ(overlappingLabels(child<QWidget>("rahmenOutlook")), QStringList());
    // The tip lies inside its section, above the section's bottom line.
    auto* tip = child<QLabel>("lblTip");
    EXPECT_LT(tip->geometry().bottom(), child<QWidget>("randOutlook")->geometry().bottom());
    // The type list shows whole lines only, with twelve types and with nine.
    EXPECT_EQ(phoneTypes().size(), 12);
    EXPECT_EQ(rowsCut(child<QListWidget>("listArt")), QStringList());
    open(u"030123456"_s);
    window->show();
    EXPECT_EQ(phoneTypes().size(), 9);
    EXPECT_EQ(rowsCut(child<QListWidget>("listArt")), QStringList());
}

TEST_F(Reconciliation, ANumberForAReadOnlyFolderIsRefusedWithTheFolderNamed) {
    pim::Store raw(env.pimPath());
    const pim::FolderInfo team = raw.addFolder(raw.stores().first().storeId, QString(), u"Team"_s,
                                               pim::FolderKind::Contact, true);
    pim::ItemRecord record;
    record.properties = {{u"LastName"_s, u"Lang"_s}, {u"HomeTelephoneNumber"_s, u"089 123"_s}};
    const QString id = raw.addItem(team.entryId, record);
    set(u"Folders"_s, u"1"_s);
    set(u"FolderID1"_s, team.entryId + u'|' + team.storeId);

    open(u"089123"_s, {u"Lea"_s, u"Lang"_s});
    ASSERT_EQ(child<QComboBox>("cbxKontakte")->count(), 1);
    testing::internal::CaptureStderr();
    child<QPushButton>("cmdUebernahmeRufnummer")->click();
    const QString shown = QString::fromLocal8Bit(testing::internal::GetCapturedStderr());
    EXPECT_TRUE(
        shown.contains(u"Tellmarin - Outlook-Fehler: Sie besitzen nicht das Recht im "
                       u"Kontaktordner '\\\\Persönliche Ordner\\Team\n' bestehende Kontake zu "
                       u"bearbeiten."_s))
        << shown.toStdString();
    EXPECT_FALSE(window->changed());
    EXPECT_EQ(raw.item(id).properties.value(u"BusinessTelephoneNumber"_s), QVariant());
}

TEST(ContactDisplayName, NameCompanyAndTheirAbsence) {
    tlm::Run run;
    EXPECT_EQ(fncContactDisplayName(run, u"Anna"_s, u"Schulz"_s, u"Schulz GmbH"_s),
              u"Schulz, Anna (Schulz GmbH)"_s);
    EXPECT_EQ(fncContactDisplayName(run, QString(), u"Schulz"_s, QString()), u"Schulz"_s);
    EXPECT_EQ(fncContactDisplayName(run, u"Anna"_s, QString(), QString()), u"Anna"_s);
    EXPECT_EQ(fncContactDisplayName(run, QString(), QString(), u"Schulz GmbH"_s), u"Schulz GmbH"_s);
}

} // namespace
} // namespace tlm::test
