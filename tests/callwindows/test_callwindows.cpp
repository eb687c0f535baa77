// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// The contact choice window and the end-of-call window, driven through
// their controls as a user (or their timers) would.
#include "callwindows/frmgefunden.h"
#include "callwindows/frmgende.h"
#include "callwindows/frmindexaufbau.h"
#include "callwindows/frmkontaktabgleich.h"
#include "core/calldialogs.h"
#include "core/callfile.h"
#include "core/contactchoice.h"
#include "core/run.h"
#include "outlook/application.h"
#include "outlook/folder.h"
#include "outlook/item.h"
#include "platform/inifile.h"
#include "platform/processlock.h"
#include "platform/settingsstore.h"
#include "store/pimstore.h"
#include "tests/support/testenv.h"
#include "ui/design.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace tlm;
using namespace tlm::outlook;
using namespace Qt::StringLiterals;

namespace {
const QString number = u"0221987654"_s;

class CallWindows : public ::testing::Test {
protected:
    test::TestEnv env;
    tlm::Run run;
    QStringList ids;

    void SetUp() override {
        run.log.setDebug(1);
        run.env.workFolder = env.workFolder();
        run.params.values[P_NUMBER] = number;
        run.params.values[P_MENU_OPTION] = u"0"_s;
        run.params.values[P_P_CALL_ID] = u"5F3A9C21-0001-4B7E"_s;
        { const pim::Store made(env.pimPath()); }
        run.application = attach();
        run.mapi = run.application->GetNamespace(u"MAPI"_s);
        FolderPtr contacts = run.mapi->GetDefaultFolder(olFolderContacts);
        for (const char* first : {"Klaus", "Petra", "Jonas"}) {
            ItemPtr c = contacts->Items()->Add();
            c->set(u"FirstName"_s, QString::fromLatin1(first));
            c->set(u"LastName"_s, u"Wagner"_s);
            c->set(u"CompanyName"_s, first == std::string("Jonas") ? u"Wagner Bau"_s : QString());
            c->Save();
            ids << c->EntryID();
            run.lookup.found << FoundContact{QString::fromLatin1(first) + u" Wagner"_s, 2, false,
                                             c->EntryID()};
        }
        run.lookup.foundCount = 3;
    }
    QString callFile() const { return callFilePath(run); }
    QString mark() const {
        return fncIniRead(callFile(), u"Program"_s, u"ContactChoiceDialogue"_s);
    }
    QStringList callLog() const {
        const QString text = QString::fromUtf8(test::readBytes(run.log.callLogPath()));
        QStringList lines;
        for (const QString& l : text.split(u"\r\n"_s, Qt::SkipEmptyParts))
            lines << l.mid(22, 6).trimmed() + u'|' + l.mid(31);
        return lines;
    }
    template <class T> static T* child(QWidget& w, const char* name) {
        T* c = w.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    static QRect twips(int l, int t, int w, int h) { return design::twipsRect(l, t, w, h); }
};
} // namespace

TEST_F(CallWindows, TheChoiceListPreselectsTheFavouriteAndMarksTheOpenWindow) {
    run.settings.AutoChoice = 0;
    ini::write(env.workFolder() + u"tlmOlfav.ini"_s, u"Favoriten"_s, number, ids[2]);
    {
        frmGefunden window(run);
        EXPECT_EQ(window.windowTitle(), u"Gespräch mit 0221987654"_s);
        auto* list = child<QListWidget>(window, "listGefunden");
        ASSERT_EQ(list->count(), 3);
        EXPECT_EQ(list->item(0)->text(), u"Klaus Wagner"_s);
        EXPECT_EQ(list->currentRow(), 2);
        EXPECT_EQ(
            child<QLabel>(window, "lblTitel")->text(),
            u"Es exisitieren mehrere Kontakte zu dieser Ruf- nummer.  Mit wem sprechen Sie?"_s);
        EXPECT_EQ(child<QLabel>(window, "lblTitel")->buddy(), list);
        EXPECT_EQ(list->accessibleName(), u"Gefundene Kontakte"_s);
        EXPECT_EQ(child<QLabel>(window, "imgContacts")->accessibleName(), u"Mehrere Kontakte"_s);
        // without countdown: no bar, no pause button, a wide OK button
        EXPECT_TRUE(child<QLabel>(window, "lblCountdown")->isHidden());
        EXPECT_TRUE(child<QPushButton>(window, "cmdPause")->isHidden());
        EXPECT_EQ(child<QPushButton>(window, "cmdOK")->geometry(), twips(1950, 3720, 4175, 420));
        EXPECT_FALSE(child<QTimer>(window, "timerMain")->isActive());
        // the window's process holds the call's lock while the mark is set
        EXPECT_FALSE(mark().isEmpty());
        EXPECT_TRUE(processlock::isHeld(choiceLockPath(run)));

        window.cmdOK_Click();
        EXPECT_TRUE(mark().isEmpty());
        EXPECT_FALSE(processlock::isHeld(choiceLockPath(run)));
        takeContactChoice(run, window.choice());
    }
    EXPECT_EQ(run.chosenEntryId, ids[2]);
    ASSERT_TRUE(run.lookup.currentContact);
    EXPECT_EQ(run.lookup.currentContact->EntryID(), ids[2]);
    EXPECT_EQ(run.lookup.foundCount, 1);
    EXPECT_EQ(run.lookup.matchedField, 2);
    EXPECT_EQ(fncIniRead(callFile(), u"Contact"_s, u"Contact-ID"_s), ids[2]);
    EXPECT_EQ(fncIniRead(callFile(), u"Call"_s, u"NumType"_s), u"2"_s);
    const QStringList log = callLog();
    for (const QString& line :
         {u"80000|Dialog 'Kontaktauswahl' anzeigen"_s,
          u"80010|...Auswahlliste mit gefunden Outlook-Kontakten füllen (3 Einträge)"_s,
          u"80021|...Favorit gefunden"_s, u"80110|...Kontaktauswahl: Jonas Wagner; Wagner Bau"_s,
          u"80111|...Favorit speichern"_s, u"80999|Dialog 'Kontaktauswahl' schließen"_s})
        EXPECT_TRUE(log.contains(line)) << line.toStdString();
}

TEST_F(CallWindows, AStaleFavouriteLeavesTheFirstLineAndAMenuChoiceIsNoFavourite) {
    run.settings.AutoChoice = 0;
    run.params.values[P_MENU_OPTION] = u"1"_s;
    const QString favourites = env.workFolder() + u"tlmOlfav.ini"_s;
    ini::write(favourites, u"Favoriten"_s, number, u"0000DEAD"_s);
    frmGefunden window(run);
    EXPECT_EQ(child<QListWidget>(window, "listGefunden")->currentRow(), 0);
    window.cmdOK_Click();
    takeContactChoice(run, window.choice());
    EXPECT_EQ(run.chosenEntryId, ids[0]);
    EXPECT_EQ(ini::read(favourites, u"Favoriten"_s, number), u"0000DEAD"_s);
}

TEST_F(CallWindows, CancelAndOkWithoutALine) {
    run.settings.AutoChoice = 0;
    subIniWrite(callFile(), u"Contact"_s, u"Contact-ID"_s, u"vorher"_s);
    {
        frmGefunden window(run);
        window.cmdAbbruch_Click();
        takeContactChoice(run, window.choice());
    }
    EXPECT_TRUE(run.chosenEntryId.isEmpty());
    EXPECT_EQ(run.lookup.foundCount, 0);
    EXPECT_EQ(fncIniRead(callFile(), u"Contact"_s, u"Contact-ID"_s), u"vorher"_s);
    EXPECT_TRUE(callLog().contains(u"80900|...Abbruch (ohne Kontaktauswahl)"_s));
    {
        frmGefunden window(run);
        child<QListWidget>(window, "listGefunden")->clearSelection();
        window.cmdOK_Click();
    }
    EXPECT_TRUE(fncIniRead(callFile(), u"Contact"_s, u"Contact-ID"_s).isEmpty());
    EXPECT_TRUE(mark().isEmpty());
}

TEST_F(CallWindows, TheCountdownShrinksRestartsPausesAndChoosesByItself) {
    run.settings.AutoChoice = 4;
    frmGefunden window(run);
    auto* list = child<QListWidget>(window, "listGefunden");
    auto* bar = child<QLabel>(window, "lblCountdown");
    auto* pause = child<QPushButton>(window, "cmdPause");
    auto* timerMain = child<QTimer>(window, "timerMain");
    const int full = list->width();
    EXPECT_FALSE(bar->isHidden());
    EXPECT_EQ(bar->width(), full);
    EXPECT_EQ(child<QPushButton>(window, "cmdOK")->geometry(), twips(3100, 3720, 3025, 420));
    EXPECT_TRUE(timerMain->isActive());
    EXPECT_EQ(timerMain->interval(), 4000);
    window.timerSecond_Timer();
    window.timerSecond_Timer();
    EXPECT_EQ(bar->width(), full - full / 2);
    // a click on a line restarts the full countdown
    list->setCurrentRow(1);
    window.listGefunden_Click();
    EXPECT_EQ(bar->width(), full);
    window.timerSecond_Timer();
    EXPECT_EQ(bar->width(), static_cast<int>(full - full / 4.0));
    // pause and go on
    window.cmdPause_Click();
    EXPECT_EQ(pause->text(), u"Automatik"_s);
    EXPECT_TRUE(bar->isHidden());
    EXPECT_FALSE(timerMain->isActive());
    EXPECT_FALSE(child<QTimer>(window, "timerSecond")->isActive());
    window.cmdPause_Click();
    EXPECT_EQ(pause->text(), u"&Stopp"_s);
    EXPECT_FALSE(bar->isHidden());
    EXPECT_EQ(bar->width(), full);
    EXPECT_TRUE(timerMain->isActive());
    // the countdown ends: the selected line is taken
    window.timerMain_Timer();
    takeContactChoice(run, window.choice());
    EXPECT_EQ(run.chosenEntryId, ids[1]);
    EXPECT_EQ(window.result(), QDialog::Accepted);
}

TEST_F(CallWindows, AScriptedRunTakesThePreselectedLineAtOnceAndRunsACountdown) {
    // TELLMARIN_AUTOANSWER=1 is set for the tests
    run.settings.AutoChoice = 0;
    takeContactChoice(run, frmGefunden::show(run));
    EXPECT_EQ(run.chosenEntryId, ids[0]);
    EXPECT_TRUE(mark().isEmpty());

    run.settings.AutoChoice = 1;
    run.chosenEntryId.clear();
    QTimer::singleShot(0, [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* list = w->findChild<QListWidget*>(u"listGefunden"_s))
                list->setCurrentRow(2);
    });
    takeContactChoice(run, frmGefunden::show(run));
    EXPECT_EQ(run.chosenEntryId, ids[2]);
}

namespace {
class EndOfCall : public CallWindows {
protected:
    void contact(int field, const QString& company) {
        ItemPtr c = run.mapi->GetItemFromID(ids[0]);
        c->set(u"CompanyName"_s, company);
        c->Save();
        run.lookup.currentContact = c;
        run.lookup.matchedField = field;
    }
};
} // namespace

TEST_F(EndOfCall, HomeNumberShowsTheNameAndItsField) {
    contact(2, u"Wagner Bau"_s);
    frmGEnde window(run);
    EXPECT_EQ(window.windowTitle(), u"Gesprächsende mit... "_s);
    EXPECT_EQ(child<QLabel>(window, "lblContact")->text(), u"Klaus Wagner"_s);
    EXPECT_EQ(child<QLabel>(window, "lblNumber")->text(), u"0221987654 (Privat)"_s);
    EXPECT_EQ(child<QLabel>(window, "lblContact")->geometry(), twips(960, 150, 5270, 360));
    EXPECT_EQ(child<QLabel>(window, "lblNumber")->y(), design::pixels(585));
    EXPECT_FALSE(child<QLabel>(window, "imgContact")->isHidden());
    EXPECT_TRUE(child<QLabel>(window, "imgUnknown")->isHidden());
    EXPECT_EQ(child<QLabel>(window, "lblQuestion")->text(),
              u"Was soll mit den Outlook-Elementen geschehen...?"_s);
}

TEST_F(EndOfCall, BusinessNumberWithCompanyTakesTwoLinesWithoutOne) {
    contact(1, u"Wagner Bau"_s);
    {
        frmGEnde window(run);
        EXPECT_EQ(child<QLabel>(window, "lblContact")->text(), u"Klaus Wagner\nWagner Bau"_s);
        EXPECT_EQ(child<QLabel>(window, "lblContact")->geometry(), twips(960, 100, 5270, 540));
        EXPECT_EQ(child<QLabel>(window, "lblNumber")->y(), design::pixels(675));
        EXPECT_EQ(child<QLabel>(window, "lblNumber")->text(), u"0221987654 (Geschäftlich)"_s);
    }
    contact(1, QString());
    frmGEnde window(run);
    EXPECT_EQ(child<QLabel>(window, "lblContact")->y(), design::pixels(150));
    EXPECT_EQ(child<QLabel>(window, "lblNumber")->y(), design::pixels(585));
}

TEST_F(EndOfCall, AnswersAndTheCountdown) {
    contact(0, QString());
    settingsstore::save(u"AutoChoiceJournalCallEnd"_s, u"3"_s);
    {
        frmGEnde window(run);
        EXPECT_EQ(child<QLabel>(window, "lblNumber")->text(), number); // no field, no suffix
        auto* bar = child<QLabel>(window, "lblCountdown");
        EXPECT_EQ(bar->width(), design::pixels(6100));
        EXPECT_EQ(child<QTimer>(window, "timerMain")->interval(), 3000);
        const double full = window.width() - design::pixels(250);
        window.timerSecond_Timer();
        EXPECT_EQ(bar->width(), static_cast<int>(full - full / 2));
        window.timerSecond_Timer();
        EXPECT_EQ(bar->width(), 0);
        window.timerSecond_Timer(); // would be negative: kept
        EXPECT_EQ(bar->width(), 0);
        window.cmdGoOn_Click();
        takeCallEndAnswer(run, window.answer());
    }
    EXPECT_FALSE(run.closeItems);
    {
        frmGEnde window(run);
        window.reject(); // the close box leaves the flag as it was
        takeCallEndAnswer(run, window.answer());
    }
    EXPECT_FALSE(run.closeItems);
    // unanswered, the countdown closes all items
    settingsstore::save(u"AutoChoiceJournalCallEnd"_s, u"1"_s);
    takeCallEndAnswer(run, frmGEnde::show(run));
    EXPECT_TRUE(run.closeItems);

    settingsstore::save(u"AutoChoiceJournalCallEnd"_s, u"0"_s);
    run.closeItems = false;
    {
        frmGEnde window(run);
        EXPECT_TRUE(child<QLabel>(window, "lblCountdown")->isHidden());
        EXPECT_FALSE(child<QTimer>(window, "timerMain")->isActive());
    }
    takeCallEndAnswer(run, frmGEnde::show(run)); // scripted: closes at once
    EXPECT_TRUE(run.closeItems);
}

TEST_F(EndOfCall, EachWindowIsAQObjectOfItsOwnClass) {
    contact(2, QString());
    frmGefunden choice(run);
    frmGEnde end(run);
    frmIndexaufbau progress;
    frmKontaktAbgleich reconciliation(run);
    const std::pair<QObject*, const char*> windows[] = {
        {&choice, "tlm::frmGefunden"},
        {&end, "tlm::frmGEnde"},
        {&progress, "tlm::frmIndexaufbau"},
        {&reconciliation, "tlm::frmKontaktAbgleich"}};
    for (const auto& [window, name] : windows) {
        EXPECT_STREQ(window->metaObject()->className(), name);
        EXPECT_TRUE(window->inherits(name));
        EXPECT_NE(qobject_cast<QWidget*>(window), nullptr) << name;
    }
    EXPECT_EQ(qobject_cast<frmGefunden*>(static_cast<QObject*>(&choice)), &choice);
    EXPECT_EQ(qobject_cast<frmGEnde*>(static_cast<QObject*>(&end)), &end);
    EXPECT_EQ(qobject_cast<frmGEnde*>(static_cast<QObject*>(&choice)), nullptr);
    EXPECT_EQ(qobject_cast<CallWindow*>(static_cast<QObject*>(&end)), &end);
    EXPECT_EQ(qobject_cast<CallWindow*>(static_cast<QObject*>(&progress)), nullptr);
    EXPECT_EQ(qobject_cast<frmKontaktAbgleich*>(static_cast<QObject*>(&reconciliation)),
              &reconciliation);
}

TEST_F(EndOfCall, AWindowWithoutAContactKeepsItsPlaceholder) {
    // Without a contact the name cannot be read: the statement is skipped
    // with error 91, as in every other handler, and the window still opens.
    frmGEnde end(run);
    const auto* label = end.findChild<QLabel*>(u"lblContact"_s);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), u"<unbekannt>"_s);
}
