// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// The viewer against a store that another connection changes, as the
// call-event processes do: windows appear at the recorded rectangle and
// state, follow and close; the save question's three answers; the timer.
#include "platform/settingsstore.h"
#include "tests/viewer/viewerfixture.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTreeView>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace tlm::test {
namespace {
using viewer::ItemWindow;

TEST_F(ViewerTest, WindowsFollowWhatOtherProcessesRecord) {
    const QString id =
        add(outlook::olFolderContacts, {{u"FirstName"_s, u"Thomas"_s},
                                        {u"LastName"_s, u"Becker"_s},
                                        {u"BusinessTelephoneNumber"_s, u"+49 30 12345678"_s}});
    settle();
    ASSERT_EQ(list()->rowCount(), 1);
    EXPECT_EQ(cell(0, 0), u"Becker, Thomas"_s);
    EXPECT_EQ(cell(0, 2), u"+49 30 12345678"_s);
    EXPECT_EQ(view->inspectorWindow(id), nullptr);

    openWindow(id, u"Thomas Becker"_s, {true, true, 2, 40, 50, 500, 420});
    settle();
    ItemWindow* w = view->inspectorWindow(id);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), u"Thomas Becker - Kontakt"_s);
    EXPECT_EQ(w->geometry(), QRect(40, 50, 500, 420));
    EXPECT_EQ(w->findChild<QLineEdit*>(u"txtLastName"_s)->text(), u"Becker"_s);

    openWindow(id, u"Thomas Becker"_s, {true, true, 0, 40, 50, 500, 420});
    settle();
    EXPECT_TRUE(view->inspectorWindow(id)->windowState() & Qt::WindowMaximized);

    other.closeInspector(id);
    settle();
    EXPECT_EQ(view->inspectorWindow(id), nullptr);

    // A changed item changes its row; a removed one leaves the list.
    pim::ItemRecord r = other.item(id);
    r.properties.insert(u"CompanyName"_s, u"Becker Haustechnik"_s);
    other.updateItem(r);
    add(outlook::olFolderContacts, {{u"LastName"_s, u"Wagner"_s}});
    settle();
    ASSERT_EQ(list()->rowCount(), 2);
    EXPECT_EQ(cell(0, 0), u"Becker, Thomas"_s); // sorted by name
    EXPECT_EQ(cell(0, 1), u"Becker Haustechnik"_s);
    EXPECT_EQ(cell(1, 0), u"Wagner"_s);
    view->mainWindow().findChild<QLineEdit*>(u"txtSearch"_s)->setText(u"haustechnik"_s);
    ASSERT_EQ(list()->rowCount(), 1);
    view->mainWindow().findChild<QLineEdit*>(u"txtSearch"_s)->clear();
    other.removeItem(id);
    settle();
    ASSERT_EQ(list()->rowCount(), 1);
    EXPECT_EQ(cell(0, 0), u"Wagner"_s);
}

// tellmarin-pim as a separate process: what it imports appears in the list,
// and the draft it saves leaves the screen as a saved item of its folder.
TEST_F(ViewerTest, FollowsAnotherProcess) {
    const auto pim = [](const QStringList& args) {
        QProcess p;
        p.start(QCoreApplication::applicationDirPath() + u"/tellmarin-pim"_s, args);
        return p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit ? p.exitCode()
                                                                                  : -1;
    };
    const QString vcf = env.root() + u"becker.vcf"_s;
    QFile f(vcf);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Becker;Thomas;;;\r\nFN:Thomas Becker\r\n"
            "TEL;TYPE=WORK:+49 30 12345678\r\nEND:VCARD\r\n");
    f.close();
    settle();
    ASSERT_EQ(pim({u"import-vcard"_s, vcf}), 0);
    settle();
    ASSERT_EQ(list()->rowCount(), 1);
    EXPECT_EQ(cell(0, 0), u"Becker, Thomas"_s);

    const QString draft =
        add(outlook::olFolderCalendar, {{u"Subject"_s, u"Rückruf Becker"_s}}, true);
    openWindow(draft, u"Rückruf Becker"_s, {});
    settle();
    ASSERT_NE(view->inspectorWindow(draft), nullptr);
    ASSERT_EQ(pim({u"close"_s, draft, u"--save"_s}), 0);
    settle();
    EXPECT_EQ(view->inspectorWindow(draft), nullptr);
    EXPECT_FALSE(other.item(draft).unsaved);
}

TEST_F(ViewerTest, DraftsAskWhetherToSave) {
    const QString keep =
        add(outlook::olFolderCalendar, {{u"Subject"_s, u"Rückruf Becker"_s}}, true);
    const QString drop = add(outlook::olFolderTasks, {{u"Subject"_s, u"Angebot"_s}}, true);
    openWindow(keep, u"Rückruf Becker"_s, {});
    openWindow(drop, u"Angebot"_s, {});
    settle();
    ASSERT_NE(view->inspectorWindow(keep), nullptr);
    EXPECT_EQ(view->inspectorWindow(drop)->windowTitle(), u"Angebot - Aufgabe"_s);

    answer = msgbox::Answer::Cancel;
    EXPECT_FALSE(view->inspectorWindow(keep)->close());
    EXPECT_TRUE(other.item(keep).unsaved);

    answer = msgbox::Answer::Yes;
    view->inspectorWindow(keep)->findChild<QLineEdit*>(u"txtLocation"_s)->setText(u"Büro"_s);
    view->inspectorWindow(keep)->findChild<QLineEdit*>(u"txtLocation"_s)->setModified(true);
    EXPECT_TRUE(view->inspectorWindow(keep)->close());
    settle();
    EXPECT_FALSE(other.item(keep).unsaved);
    EXPECT_EQ(other.item(keep).properties.value(u"Location"_s).toString(), u"Büro"_s);
    EXPECT_FALSE(other.item(keep).inspector.open);
    EXPECT_EQ(view->inspectorWindow(keep), nullptr);

    answer = msgbox::Answer::No;
    EXPECT_TRUE(view->inspectorWindow(drop)->close());
    settle();
    EXPECT_FALSE(other.hasItem(drop));

    // "Speichern & schließen" saves without asking.
    const QString task = add(outlook::olFolderTasks, {{u"Subject"_s, u"Rückruf"_s}}, true);
    openWindow(task, u"Rückruf"_s, {});
    settle();
    answer = msgbox::Answer::Cancel; // would keep the window open if asked
    view->inspectorWindow(task)->findChild<QPushButton*>(u"cmdSaveClose"_s)->click();
    settle();
    EXPECT_EQ(view->inspectorWindow(task), nullptr);
    EXPECT_FALSE(other.item(task).unsaved);
    EXPECT_FALSE(other.item(task).inspector.open);
}

TEST_F(ViewerTest, RunningJournalTimerTicks) {
    const QDateTime now(QDate(2026, 12, 7), QTime(14, 4, 45));
    clock::setFixed(now);
    const QString id =
        add(outlook::olFolderJournal, {{u"Subject"_s, u"Anruf von Thomas Becker"_s}});
    pim::ItemRecord r = other.item(id);
    r.timerStarted = now.addSecs(-65);
    other.updateItem(r);
    settingsstore::save(u"ColorDefault"_s, u"255"_s); // the design's title colour: red
    openWindow(id, u"Anruf von Thomas Becker"_s, {});
    settle();
    ASSERT_NE(view->inspectorWindow(id), nullptr);
    EXPECT_EQ(view->inspectorWindow(id)->timerText(), u"Zeitmessung läuft: 00:01:05"_s);
    const auto* timer = view->inspectorWindow(id)->findChild<QLabel*>(u"lblTimer"_s);
    EXPECT_EQ(timer->palette().color(QPalette::Window), QColor(255, 0, 0));
    EXPECT_EQ(view->inspectorWindow(id)->palette().color(QPalette::Window),
              QColor(0xD4, 0xD0, 0xC8)); // the default background
    EXPECT_EQ(view->inspectorWindow(id)->windowTitle(),
              u"Anruf von Thomas Becker - Journaleintrag"_s);
}

} // namespace
} // namespace tlm::test
