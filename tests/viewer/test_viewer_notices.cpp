// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// How the viewer learns of changes: from the file system's notices, without
// a poll (changes of other connections and processes, its own saves, a store
// file replaced or deleted); the poll where notices are off or their watch
// was lost; and one look for a burst of writes.
#include "tests/viewer/viewerfixture.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <filesystem>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace tlm::test {
namespace {
using viewer::StoreWatcher;

// Runs the event loop until done(): each pass waits for the next event
// (a notice, a timer), so nothing here depends on how fast the machine is.
template <typename Done> void waitFor(const Done& done) {
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

pim::ItemRecord contact(const QString& lastName) {
    pim::ItemRecord r;
    r.properties.insert(u"LastName"_s, lastName);
    return r;
}

QString makeStore(const QString& path, const QString& lastName) {
    pim::Store s(path);
    return s.addItem(s.defaultFolder(outlook::olFolderContacts).entryId, contact(lastName));
}

class StoreNotices : public ViewerTest {
protected:
    void start(const QString& path, StoreWatcher::Settings watch) {
        view = std::make_unique<viewer::Viewer>(path, viewer::SyncScheduler::Intervals{}, watch);
    }
    const StoreWatcher& watcher() { return view->storeWatcher(); }
    bool listed(int rows) { return list()->rowCount() == rows; }
    QString status() { return view->mainWindow().status(); }
};

TEST_F(StoreNotices, ChangesOfOtherProcessesAndOwnSavesArriveWithoutThePoll) {
    start(env.pimPath(), {true, 0ms});
    ASSERT_TRUE(watcher().watching());
    EXPECT_FALSE(watcher().polling());

    // A second connection, as a call event writes.
    const QString id = add(outlook::olFolderContacts, {{u"LastName"_s, u"Becker"_s}});
    openWindow(id, u"Becker"_s, {true, true, 2, 10, 10, 400, 300});
    waitFor([&] { return view->inspectorWindow(id) != nullptr; });
    waitFor([&] { return listed(1); });

    // Another process.
    const QString card = env.root() + u"karte.vcf"_s;
    QFile file(card);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Wagner;Anna;;;\r\nFN:Anna Wagner\r\nEND:VCARD\r\n");
    file.close();
    QProcess pim;
    pim.start(QCoreApplication::applicationDirPath() + u"/tellmarin-pim"_s,
              {u"--store"_s, env.pimPath(), u"import-vcard"_s, card});
    ASSERT_TRUE(pim.waitForFinished(-1));
    ASSERT_EQ(pim.exitCode(), 0) << pim.readAllStandardError().toStdString();
    waitFor([&] { return listed(2); });

    // The viewer's own save, through the file like any other.
    auto* phone = view->inspectorWindow(id)->findChild<QLineEdit*>(u"txtBusinessTelephoneNumber"_s);
    phone->setText(u"030 222"_s);
    phone->setModified(true);
    view->inspectorWindow(id)->findChild<QPushButton*>(u"cmdSaveClose"_s)->click();
    waitFor([&] { return cell(0, 2) == u"030 222"_s; });
    EXPECT_FALSE(watcher().polling());
}

TEST_F(StoreNotices, ThePollStandsInWhereNoticesAreOff) {
    start(env.pimPath(), {false, 100ms});
    EXPECT_FALSE(watcher().watching());
    EXPECT_TRUE(watcher().polling());
    const QString id = add(outlook::olFolderContacts, {{u"LastName"_s, u"Becker"_s}});
    openWindow(id, u"Becker"_s, {true, true, 2, 10, 10, 400, 300});
    waitFor([&] { return view->inspectorWindow(id) != nullptr; });
    waitFor([&] { return listed(1); });
}

// The viewer alone holds the old file, as when a user moves another store
// into its place.
TEST_F(StoreNotices, AStoreReplacedDeletedOrMadeInPlaceIsNoticedAndWatched) {
    const QString path = env.root() + u"eigener.sqlite"_s;
    makeStore(path, u"Alt"_s);
    start(path, {true, 0ms});
    waitFor([&] { return listed(1); });

    const QString replacement = env.root() + u"andere.sqlite"_s;
    const QString id = makeStore(replacement, u"Neu"_s);
    std::filesystem::rename(replacement.toStdString(), path.toStdString());
    waitFor([&] { return status().startsWith(u"Der PIM-Speicher wurde ersetzt"_s); });
    waitFor([&] { return listed(1) && list()->index(0, 0).data().toString() == u"Neu"_s; });
    {
        pim::Store event(path, pim::Store::Create::Never);
        event.impl().setInspector(id, u"Neu"_s, {true, true, 2, 10, 10, 400, 300});
    }
    waitFor([&] { return view->inspectorWindow(id) != nullptr; });

    ASSERT_TRUE(QFile::remove(path));
    waitFor([&] { return status().startsWith(u"Der PIM-Speicher ist gelöscht"_s); });
    EXPECT_TRUE(view->inspectorWindows().isEmpty());

    // A file that is no store yet, then made one in place (the same file):
    // the viewer opens it once it is one.
    QFile empty(path);
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    waitFor([&] { return status().startsWith(u"Der PIM-Speicher kann nicht geöffnet werden"_s); });
    makeStore(path, u"Wieder"_s);
    waitFor([&] { return listed(1) && list()->index(0, 0).data().toString() == u"Wieder"_s; });
    EXPECT_TRUE(watcher().watching());
}

TEST_F(StoreNotices, AWatchLostWithItsFolderGivesWayToThePollUntilItCanBeSetAgain) {
    const QString folder = env.root() + u"ablage/"_s;
    ASSERT_TRUE(QDir().mkpath(folder));
    makeStore(folder + u"pim.sqlite"_s, u"Alt"_s);
    start(folder + u"pim.sqlite"_s, {true, 100ms});
    ASSERT_TRUE(watcher().watching());
    EXPECT_FALSE(watcher().polling());

    ASSERT_TRUE(QDir(folder).removeRecursively());
    waitFor([&] { return watcher().polling(); });
    waitFor([&] { return status().startsWith(u"Der PIM-Speicher ist gelöscht"_s); });
    EXPECT_FALSE(watcher().watching());

    // No notice can tell of the new folder: the poll finds the store.
    ASSERT_TRUE(QDir().mkpath(folder));
    makeStore(folder + u"pim.sqlite"_s, u"Wieder"_s);
    waitFor([&] { return listed(1) && list()->index(0, 0).data().toString() == u"Wieder"_s; });
    waitFor([&] { return watcher().watching(); });
    EXPECT_FALSE(watcher().polling());
}

TEST_F(StoreNotices, ABurstOfWritesGivesOneLook) {
    start(env.pimPath(), {true, 0ms});
    int changes = 0;
    QObject::connect(view.get(), &viewer::Viewer::storeChanged, [&] { ++changes; });
    const QString folder = other.defaultFolder(outlook::olFolderContacts).entryId;
    for (int i = 0; i < 50; ++i) // each its own commit, with its own notices
        other.addItem(folder, contact(u"Nachname%1"_s.arg(i)));
    waitFor([&] { return listed(50); });
    EXPECT_EQ(changes, 1);
}

} // namespace
} // namespace tlm::test
