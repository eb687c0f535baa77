// The viewer against a store that another connection changes, as the
// call-event processes do: windows appear at the recorded rectangle and
// state, follow and close; the save question's three answers; the timer.
#include "outlook/application.h"
#include "outlook/pim/storeimpl.h"
#include "platform/clock.h"
#include "platform/messagebox.h"
#include "tests/support/testenv.h"
#include "viewer/itemwindow.h"
#include "viewer/viewer.h"
#include "viewer/viewerwindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace tlm::test {
namespace {
using viewer::ItemWindow;

class ViewerTest : public ::testing::Test {
protected:
    TestEnv env;
    pim::Store other{env.pimPath()}; // stands for a call-event process
    std::unique_ptr<viewer::Viewer> view;
    msgbox::Answer answer = msgbox::Answer::Cancel;

    void SetUp() override {
        msgbox::setResponder(
            [this](const QString&, const QString&) { return std::optional(answer); });
        view = std::make_unique<viewer::Viewer>(env.pimPath());
    }
    void TearDown() override {
        view.reset();
        msgbox::setResponder({});
        clock::setFixed(std::nullopt);
    }
    QString add(int folder, QVariantMap props, bool draft = false) {
        pim::ItemRecord r;
        r.properties = std::move(props);
        r.unsaved = draft;
        return other.addItem(other.defaultFolder(folder).entryId, r);
    }
    void openWindow(const QString& id, const QString& caption, pim::InspectorState s) {
        s.open = true;
        other.impl().setInspector(id, caption, s);
    }
    void settle() {
        view->poll();
        view->mainWindow().refresh();
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

TEST_F(ViewerTest, WindowsFollowWhatOtherProcessesRecord) {
    const QString id =
        add(outlook::olFolderContacts, {{u"FirstName"_s, u"Thomas"_s},
                                        {u"LastName"_s, u"Becker"_s},
                                        {u"BusinessTelephoneNumber"_s, u"+49 30 12345678"_s}});
    settle();
    auto* list = view->mainWindow().findChild<QTreeWidget*>(u"listItems"_s);
    ASSERT_EQ(list->topLevelItemCount(), 1);
    EXPECT_EQ(list->topLevelItem(0)->text(0), u"Thomas Becker"_s);
    EXPECT_EQ(list->topLevelItem(0)->text(2), u"+49 30 12345678"_s);
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
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->findItems(u"Thomas Becker"_s, Qt::MatchExactly).value(0)->text(1),
              u"Becker Haustechnik"_s);
    other.removeItem(id);
    settle();
    ASSERT_EQ(list->topLevelItemCount(), 1);
    EXPECT_EQ(list->topLevelItem(0)->text(0), u"Wagner"_s);
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
}

TEST_F(ViewerTest, RunningJournalTimerTicks) {
    const QDateTime now(QDate(2026, 12, 7), QTime(14, 4, 45));
    clock::setFixed(now);
    const QString id =
        add(outlook::olFolderJournal, {{u"Subject"_s, u"Anruf von Thomas Becker"_s}});
    pim::ItemRecord r = other.item(id);
    r.timerStarted = now.addSecs(-65);
    other.updateItem(r);
    openWindow(id, u"Anruf von Thomas Becker"_s, {});
    settle();
    ASSERT_NE(view->inspectorWindow(id), nullptr);
    EXPECT_EQ(view->inspectorWindow(id)->timerText(), u"Zeitmessung läuft: 00:01:05"_s);
    EXPECT_EQ(view->inspectorWindow(id)->windowTitle(),
              u"Anruf von Thomas Becker - Journaleintrag"_s);
}

} // namespace
} // namespace tlm::test
