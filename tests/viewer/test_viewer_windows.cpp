// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// The item windows as a person meets them: the address a contact has, what a
// screen reader says, where windows without a rectangle open, the texts of
// captions and dates, and notes written into a running journal entry while
// the call-event process writes the same entry.
#include "outlook/folder.h"
#include "outlook/item.h"
#include "tests/viewer/viewerfixture.h"

#include <QAccessible>
#include <QGroupBox>
#include <QLineEdit>
#include <QTextBrowser>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace tlm::test {
namespace {
using viewer::ItemWindow;

TEST_F(ViewerTest, AContactShowsTheAddressItHasWithItsKind) {
    const QString home = add(outlook::olFolderContacts, {{u"LastName"_s, u"Roth"_s},
                                                         {u"HomeAddressStreet"_s, u"Ringstr. 4"_s},
                                                         {u"HomeAddressPostalCode"_s, u"10115"_s},
                                                         {u"HomeAddressCity"_s, u"Berlin"_s}});
    const QString mailing =
        add(outlook::olFolderContacts, {{u"LastName"_s, u"Wagner"_s},
                                        {u"BusinessAddressCity"_s, u"Köln"_s},
                                        {u"OtherAddressCity"_s, u"Bonn"_s},
                                        {u"SelectedMailingAddress"_s, 3}});
    const QString none = add(outlook::olFolderContacts, {{u"LastName"_s, u"Ohne"_s}});
    for (const QString& id : {home, mailing, none})
        openWindow(id, {}, {});
    settle();
    const auto field = [&](const QString& id, const QString& name) {
        const auto* e = view->inspectorWindow(id)->findChild<QLineEdit*>(u"txt"_s + name);
        return e ? e->text() : u"<fehlt>"_s;
    };
    const auto frame = [&](const QString& id) {
        return view->inspectorWindow(id)->findChild<QGroupBox*>(u"fraAddress"_s)->title();
    };
    EXPECT_EQ(field(home, u"HomeAddressStreet"_s), u"Ringstr. 4"_s);
    EXPECT_EQ(field(home, u"HomeAddressCity"_s), u"Berlin"_s);
    EXPECT_EQ(frame(home), u"Adresse (privat)"_s);
    EXPECT_EQ(field(mailing, u"OtherAddressCity"_s), u"Bonn"_s);
    EXPECT_EQ(frame(mailing), u"Adresse (weitere)"_s);
    EXPECT_EQ(field(none, u"BusinessAddressCity"_s), QString());
    EXPECT_EQ(frame(none), u"Adresse (geschäftlich)"_s);

    // Typed into the address shown, saved into that address.
    auto* city = view->inspectorWindow(home)->findChild<QLineEdit*>(u"txtHomeAddressCity"_s);
    city->setText(u"Potsdam"_s);
    city->setModified(true);
    answer = msgbox::Answer::Yes;
    EXPECT_TRUE(view->inspectorWindow(home)->close());
    EXPECT_EQ(other.item(home).properties.value(u"HomeAddressCity"_s), u"Potsdam"_s);
    EXPECT_FALSE(other.item(home).properties.contains(u"BusinessAddressCity"_s));
}

TEST_F(ViewerTest, AScreenReaderHearsNamesAndWindows) {
    const auto* search = view->mainWindow().findChild<QLineEdit*>(u"txtSearch"_s);
    const QList<QToolButton*> buttons = search->findChildren<QToolButton*>();
    ASSERT_FALSE(buttons.isEmpty());
    for (const QToolButton* b : buttons)
        EXPECT_EQ(b->accessibleName(), u"Suche leeren"_s);

    const QString id = add(outlook::olFolderJournal, {{u"Subject"_s, u"Anruf von Roth"_s}});
    openWindow(id, u"Anruf von Roth"_s, {true, true, 1, 10, 10, 400, 300}); // minimised
    settle();
    ItemWindow* w = view->inspectorWindow(id);
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(w->isMinimized());
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->role(), QAccessible::Window);
    EXPECT_EQ(a->text(QAccessible::Name), u"Anruf von Roth - Journaleintrag"_s);
    QAccessibleInterface* main = QAccessible::queryAccessibleInterface(&view->mainWindow());
    view->mainWindow().setWindowState(Qt::WindowMinimized);
    EXPECT_EQ(main->text(QAccessible::Name), u"Tellmarin - PIM-Speicher"_s);
}

TEST_F(ViewerTest, WindowsWithoutARectangleCascade) {
    const QString a = add(outlook::olFolderTasks, {{u"Subject"_s, u"Eins"_s}}, true);
    const QString b = add(outlook::olFolderCalendar, {{u"Subject"_s, u"Zwei"_s}}, true);
    const QString c = add(outlook::olFolderJournal, {{u"Subject"_s, u"Drei"_s}});
    openWindow(a, {}, {});
    openWindow(b, {}, {});
    openWindow(c, {}, {true, true, 2, 0, 0, 400, 300}); // its own rectangle, kept
    settle();
    const QPoint main = view->mainWindow().geometry().topLeft();
    const QPoint pa = view->inspectorWindow(a)->pos();
    const QPoint pb = view->inspectorWindow(b)->pos();
    EXPECT_NE(pa, main);
    EXPECT_NE(pb, main);
    EXPECT_NE(pa, pb);
    EXPECT_EQ(view->inspectorWindow(c)->geometry(), QRect(0, 0, 400, 300));
}

TEST_F(ViewerTest, CaptionsAndDatesReadAsAGermanProgramWrites) {
    const QString mail = add(outlook::olFolderInbox, {{u"To"_s, u"roth@example.de"_s}}, true);
    const QString journal = add(outlook::olFolderJournal, {{u"Subject"_s, u"x"_s}});
    const QString task = add(outlook::olFolderTasks, {{u"Subject"_s, u"Angebot"_s},
                                                      {u"DueDate"_s, u"2026-12-09T00:00:00"_s}});
    openWindow(mail, {}, {});
    openWindow(journal, u"Anruf von  Thomas Becker"_s, {});
    openWindow(task, {}, {});
    settle();
    EXPECT_EQ(view->inspectorWindow(mail)->windowTitle(), u"(kein Betreff) - Nachricht"_s);
    EXPECT_EQ(view->inspectorWindow(journal)->windowTitle(),
              u"Anruf von Thomas Becker - Journaleintrag"_s);
    EXPECT_EQ(view->inspectorWindow(task)->findChild<QLineEdit*>(u"txtDueDate"_s)->text(),
              u"09.12.2026"_s);
    view->mainWindow().showFolder(other.defaultFolder(outlook::olFolderTasks).entryId);
    settle();
    EXPECT_EQ(cell(0, 1), u"09.12.2026"_s);
}

// Notes typed into a running journal entry, and the call-event process that
// stops its timer and saves it (as "finished" does) in either order.
class JournalNotes : public ViewerTest {
protected:
    QString id;
    void SetUp() override {
        clock::setFixed(QDateTime(QDate(2026, 12, 7), QTime(14, 4, 45)));
        ViewerTest::SetUp();
        id = add(outlook::olFolderJournal, {{u"Subject"_s, u"Anruf von Thomas Becker"_s}});
        pim::ItemRecord r = other.item(id);
        r.body = u"Telefon: 030 12345678\r\n"_s;
        r.timerStarted = clock::now().addSecs(-120);
        other.updateItem(r);
        openWindow(id, u"Anruf von Thomas Becker"_s, {});
        settle();
    }
    QTextBrowser* body() { return view->inspectorWindow(id)->findChild<QTextBrowser*>(u"txtBody"_s); }
    void type(const QString& text) {
        QTextCursor c = body()->textCursor();
        c.movePosition(QTextCursor::End);
        body()->setTextCursor(c);
        body()->insertPlainText(text);
    }
    // The event's item, read now and saved later.
    outlook::ItemPtr eventItem() {
        return outlook::attach(env.pimPath())->GetNamespace(u"MAPI"_s)->GetItemFromID(id);
    }
    pim::ItemRecord stored() { return other.item(id); }
};

TEST_F(JournalNotes, NotesTypedBeforeTheEventReadsTheEntryStay) {
    ASSERT_FALSE(body()->isReadOnly());
    type(u"Rückruf morgen"_s);
    view->inspectorWindow(id)->saveNotes();
    EXPECT_TRUE(stored().body.contains(u"Rückruf morgen"_s));
    outlook::ItemPtr item = eventItem();
    item->StopTimer();
    item->Close(outlook::olSave);
    settle();
    EXPECT_TRUE(stored().body.contains(u"Rückruf morgen"_s));
    EXPECT_TRUE(stored().body.startsWith(u"Telefon: 030 12345678"_s));
    EXPECT_FALSE(stored().timerStarted.isValid());
    EXPECT_EQ(stored().properties.value(u"Duration"_s).toInt(), 2);
    EXPECT_EQ(view->inspectorWindow(id), nullptr);
}

TEST_F(JournalNotes, NotesSavedWhileTheEventHoldsTheEntryStayAndSoDoesItsWrite) {
    outlook::ItemPtr item = eventItem(); // read before the notes are saved
    type(u"Angebot schicken"_s);
    view->inspectorWindow(id)->saveNotes();
    item->StopTimer();
    item->Save();
    settle();
    EXPECT_TRUE(stored().body.contains(u"Angebot schicken"_s));
    EXPECT_FALSE(stored().timerStarted.isValid());
    EXPECT_EQ(stored().properties.value(u"Duration"_s).toInt(), 2);
    // The window follows the stopped timer and keeps the notes.
    EXPECT_TRUE(view->inspectorWindow(id)->timerText().isEmpty());
    EXPECT_TRUE(body()->toPlainText().contains(u"Angebot schicken"_s));
}

TEST_F(JournalNotes, NotesNotYetSavedWhenTheEventClosesTheEntryAreSaved) {
    type(u"Preis nennen"_s);
    outlook::ItemPtr item = eventItem();
    item->StopTimer();
    item->Close(outlook::olSave);
    settle(); // the window goes, its notes into the entry
    EXPECT_EQ(view->inspectorWindow(id), nullptr);
    EXPECT_TRUE(stored().body.contains(u"Preis nennen"_s));
    EXPECT_EQ(stored().properties.value(u"Duration"_s).toInt(), 2);
}

TEST_F(JournalNotes, AStoppedEntryTakesNoNotesInANewWindow) {
    outlook::ItemPtr item = eventItem();
    item->StopTimer();
    item->Save();
    other.closeInspector(id);
    settle();
    openWindow(id, u"Anruf von Thomas Becker"_s, {});
    settle();
    EXPECT_TRUE(body()->isReadOnly());
    EXPECT_TRUE(view->inspectorWindow(id)->findChild<QLineEdit*>(u"txtSubject"_s)->isReadOnly());
}

} // namespace
} // namespace tlm::test
