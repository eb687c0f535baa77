// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// The viewer and the store under it: its own saves reach its lists and
// counts, and a store file that is replaced or deleted while it runs.
#include "tests/viewer/viewerfixture.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <filesystem>

using namespace Qt::StringLiterals;

namespace tlm::test {
namespace {

QString folderCount(viewer::ViewerWindow& w, const QString& name) {
    const auto* tree = w.findChild<QTreeWidget*>(u"treeFolders"_s);
    const QList<QTreeWidgetItem*> found = tree->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? QString() : found.front()->text(1);
}

TEST_F(ViewerTest, OwnSavesReachTheListAndTheCounts) {
    const QString id =
        add(outlook::olFolderContacts, {{u"FirstName"_s, u"Thomas"_s},
                                        {u"LastName"_s, u"Becker"_s},
                                        {u"BusinessTelephoneNumber"_s, u"030 111"_s}});
    openWindow(id, u"Thomas Becker"_s, {});
    settle();
    ASSERT_EQ(cell(0, 2), u"030 111"_s);
    auto* phone = view->inspectorWindow(id)->findChild<QLineEdit*>(u"txtBusinessTelephoneNumber"_s);
    phone->setText(u"030 222"_s);
    phone->setModified(true);
    view->inspectorWindow(id)->findChild<QPushButton*>(u"cmdSaveClose"_s)->click();
    settle();
    EXPECT_EQ(other.item(id).properties.value(u"BusinessTelephoneNumber"_s), u"030 222"_s);
    EXPECT_EQ(cell(0, 2), u"030 222"_s);

    // A saved draft counts in its folder.
    EXPECT_EQ(folderCount(view->mainWindow(), u"Kalender"_s), u"0"_s);
    const QString draft = add(outlook::olFolderCalendar, {{u"Subject"_s, u"Rückruf"_s}}, true);
    openWindow(draft, u"Rückruf"_s, {});
    settle();
    view->inspectorWindow(draft)->findChild<QPushButton*>(u"cmdSaveClose"_s)->click();
    settle();
    EXPECT_FALSE(other.item(draft).unsaved);
    EXPECT_EQ(folderCount(view->mainWindow(), u"Kalender"_s), u"1"_s);

    // And later changes of other processes still arrive.
    add(outlook::olFolderCalendar, {{u"Subject"_s, u"Termin"_s}});
    settle();
    EXPECT_EQ(folderCount(view->mainWindow(), u"Kalender"_s), u"2"_s);
    EXPECT_EQ(cell(0, 2), u"030 222"_s);
}

// Without a second connection: the viewer alone holds the old file, as it
// does when a user moves another store into its place.
class ViewerFileTest : public ::testing::Test {
protected:
    TestEnv env;
    std::unique_ptr<viewer::Viewer> view;

    void TearDown() override { view.reset(); }
    static QString makeStore(const QString& path, const QString& lastName) {
        pim::Store s(path);
        pim::ItemRecord r;
        r.properties.insert(u"LastName"_s, lastName);
        return s.addItem(s.defaultFolder(outlook::olFolderContacts).entryId, r);
    }
    void settle() {
        view->catchUp();
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QAbstractItemModel* list() {
        return view->mainWindow().findChild<QTreeView*>(u"listItems"_s)->model();
    }
};

TEST_F(ViewerFileTest, AReplacedStoreIsOpenedAnewAndADeletedOneReported) {
    makeStore(env.pimPath(), u"Alt"_s);
    view = std::make_unique<viewer::Viewer>(env.pimPath());
    settle();
    ASSERT_EQ(list()->rowCount(), 1);
    EXPECT_EQ(view->mainWindow().status(), QString());

    const QString replacement = env.root() + u"andere.sqlite"_s;
    const QString id = makeStore(replacement, u"Neu"_s);
    std::filesystem::rename(replacement.toStdString(), env.pimPath().toStdString());
    settle();
    EXPECT_TRUE(view->mainWindow().status().startsWith(
        u"Der PIM-Speicher wurde ersetzt und neu geöffnet"_s));
    ASSERT_EQ(list()->rowCount(), 1);
    EXPECT_EQ(list()->index(0, 0).data().toString(), u"Neu"_s);

    // A call after that: its window appears.
    {
        pim::Store event(env.pimPath(), pim::Store::Create::Never);
        event.impl().setInspector(id, u"Neu"_s, {true, true, 2, 10, 10, 400, 300});
    }
    settle();
    ASSERT_NE(view->inspectorWindow(id), nullptr);

    ASSERT_TRUE(QFile::remove(env.pimPath()));
    settle();
    EXPECT_TRUE(view->mainWindow().status().startsWith(u"Der PIM-Speicher ist gelöscht"_s));
    EXPECT_TRUE(view->mainWindow().status().endsWith(env.pimPath()));
    EXPECT_EQ(list()->rowCount(), 0);
    EXPECT_EQ(view->mainWindow().findChild<QTreeWidget*>(u"treeFolders"_s)->topLevelItemCount(), 0);
    EXPECT_TRUE(view->inspectorWindows().isEmpty());
    EXPECT_FALSE(QFile::exists(env.pimPath())); // not made again behind the user's back

    makeStore(env.pimPath(), u"Wieder"_s);
    settle();
    ASSERT_EQ(list()->rowCount(), 1);
    EXPECT_EQ(list()->index(0, 0).data().toString(), u"Wieder"_s);
}

} // namespace
} // namespace tlm::test
