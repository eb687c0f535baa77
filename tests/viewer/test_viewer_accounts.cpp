// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// The viewer's server accounts against a real Radicale: the account dialog
// adds one whose folders appear in the tree, or refuses it and leaves
// nothing behind; the viewer syncs at start and after a change of the
// store; the account line shows the last sync and the last error.
#include "platform/messagebox.h"
#include "store/pimstore.h"
#include "sync/accounts.h"
#include "sync/credentials.h"
#include "sync/syncerror.h"
#include "tests/support/davserver.h"
#include "tests/support/testenv.h"
#include "viewer/accountdialog.h"
#include "viewer/viewer.h"
#include "viewer/viewerwindow.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace tlm::test {
namespace {

// Passwords go to the 0600 file, never into the keyring of the session the
// tests run in (where no one answers its prompt).
class NoSecretService {
public:
    NoSecretService() {
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        qunsetenv("XDG_RUNTIME_DIR");
    }
    ~NoSecretService() {
        restore("DBUS_SESSION_BUS_ADDRESS", m_bus);
        restore("XDG_RUNTIME_DIR", m_runtime);
    }

private:
    static void restore(const char* name, const QByteArray& value) {
        if (!value.isNull())
            qputenv(name, value);
    }
    QByteArray m_bus = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    QByteArray m_runtime = qgetenv("XDG_RUNTIME_DIR");
};

class ViewerAccounts : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(sync::credentials::keeper(), sync::credentials::Keeper::File);
        server.makeCollection(u"/u/book/"_s, u"Adressbuch"_s);
        server.makeCollection(u"/u/journal/"_s, u"Anrufjournal"_s, {u"VJOURNAL"_s});
        ASSERT_EQ(server.put(u"/u/book/becker.vcf"_s,
                             "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:becker-1\r\nN:Becker;Thomas;;;\r\n"
                             "FN:Thomas Becker\r\nTEL;TYPE=WORK:+49 30 1234567\r\nEND:VCARD\r\n",
                             "text/vcard"),
                  201);
        // Changes are synced almost at once; the period never comes.
        view = std::make_unique<viewer::Viewer>(env.pimPath(),
                                                viewer::SyncScheduler::Intervals{1h, 10ms});
        synced = std::make_unique<QSignalSpy>(view.get(), &viewer::Viewer::synced);
    }
    void TearDown() override { view.reset(); }

    viewer::AccountDialog* fillDialog(const QString& password) {
        viewer::AccountDialog* dialog = view->addAccount();
        text(dialog, u"txtAdresse"_s)->setText(server.url().toString());
        text(dialog, u"txtBenutzer"_s)->setText(u"u"_s);
        text(dialog, u"txtPasswort"_s)->setText(password);
        text(dialog, u"txtName"_s)->setText(u"Büro"_s);
        return dialog;
    }
    static QLineEdit* text(QWidget* dialog, const QString& name) {
        return dialog->findChild<QLineEdit*>(name);
    }
    static void clickOK(QWidget* dialog) { dialog->findChild<QPushButton*>(u"cmdOK"_s)->click(); }
    // Clicks OK and waits for the answer: the account's name, or why not.
    QString submit(viewer::AccountDialog* dialog) {
        QSignalSpy added(view.get(), &viewer::Viewer::accountAdded);
        QSignalSpy refused(view.get(), &viewer::Viewer::accountRefused);
        clickOK(dialog);
        EXPECT_TRUE(dialog->busy());
        while (added.isEmpty() && refused.isEmpty())
            added.wait(200);
        QCoreApplication::processEvents();
        return added.isEmpty() ? u"abgelehnt: "_s + refused.at(0).at(0).toString()
                               : added.at(0).at(0).toString();
    }
    // The next sync's end (or its check for changes), however long it takes.
    void waitForSync() {
        const qsizetype seen = synced->size();
        while (synced->size() == seen)
            synced->wait(1000);
        view->catchUp();
    }
    QTreeWidgetItem* treeNode(const QString& name) {
        auto* tree = view->mainWindow().findChild<QTreeWidget*>(u"treeFolders"_s);
        const QList<QTreeWidgetItem*> found = tree->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.first();
    }

    NoSecretService noSecretService;
    TestEnv env;
    DavServer server{DavServer::Kind::Radicale, env.root() + u"dav"_s};
    pim::Store other{env.pimPath()}; // stands for a call-event process
    std::unique_ptr<viewer::Viewer> view;
    std::unique_ptr<QSignalSpy> synced;
};

TEST_F(ViewerAccounts, TheDialogAddsAnAccountWhoseFoldersAppearAndChangesReachTheServer) {
    view->show();
    waitForSync(); // at start: no account yet, nothing to do
    auto* menuEntry = view->mainWindow().findChild<QAction*>(u"mnuKontoHinzufuegen"_s);
    ASSERT_NE(menuEntry, nullptr);
    EXPECT_EQ(menuEntry->text(), u"Konto &hinzufügen…"_s);
    menuEntry->trigger();
    viewer::AccountDialog* dialog = fillDialog(u"secret"_s);
    EXPECT_EQ(text(dialog, u"txtPasswort"_s)->echoMode(), QLineEdit::Password);
    for (const QString& field : {u"Adresse"_s, u"Benutzer"_s, u"Passwort"_s, u"Name"_s})
        EXPECT_EQ(dialog->findChild<QLabel*>(u"lbl"_s + field)->buddy(),
                  text(dialog, u"txt"_s + field)); // a screen reader names each field
    ASSERT_EQ(submit(dialog), u"Büro"_s);
    view->catchUp();

    QTreeWidgetItem* account = treeNode(u"Büro"_s);
    ASSERT_NE(account, nullptr);
    QTreeWidgetItem* book = treeNode(u"Adressbuch"_s);
    ASSERT_NE(book, nullptr);
    EXPECT_EQ(book->parent(), account);
    EXPECT_EQ(book->text(1), u"1"_s);
    ASSERT_NE(treeNode(u"Anrufjournal"_s), nullptr);
    EXPECT_TRUE(view->mainWindow().accountsLine().startsWith(
        u"Konto „Büro“: zuletzt abgeglichen "_s))
        << view->mainWindow().accountsLine().toStdString();
    EXPECT_EQ(sync::credentials::load(u"Büro"_s), u"secret"_s);

    // A contact written by another process reaches the server without
    // anyone asking.
    pim::ItemRecord kraus;
    kraus.properties = {{u"LastName"_s, u"Kraus"_s}, {u"BusinessTelephoneNumber"_s, u"+49 40 555"_s}};
    QString bookId;
    for (const pim::FolderInfo& f : other.folders())
        if (f.name == u"Adressbuch"_s)
            bookId = f.entryId;
    other.addItem(bookId, kraus);
    while (server.list(u"/u/book/"_s).size() < 2)
        waitForSync();
    EXPECT_EQ(server.list(u"/u/book/"_s).size(), 2);
    EXPECT_EQ(other.itemCount(bookId), 2);
}

TEST_F(ViewerAccounts, AWrongPasswordShowsWhyAndLeavesNothingBehind) {
    viewer::AccountDialog* dialog = fillDialog(u"geraten-7"_s);
    text(dialog, u"txtBenutzer"_s)->clear();
    clickOK(dialog);
    EXPECT_FALSE(dialog->busy()); // an entry is missing: nothing is tried
    EXPECT_EQ(dialog->message(), u"Bitte den Benutzer angeben."_s);

    text(dialog, u"txtBenutzer"_s)->setText(u"u"_s);
    // Plain HTTP to another machine: the way out is the check box.
    text(dialog, u"txtAdresse"_s)->setText(u"http://dav.example.org/"_s);
    EXPECT_TRUE(submit(dialog).endsWith(
        u"„Unverschlüsselte Verbindung (http) erlauben“ ankreuzen."_s));

    text(dialog, u"txtAdresse"_s)->setText(server.url().toString());
    ASSERT_TRUE(submit(dialog).startsWith(u"abgelehnt: "_s));
    ASSERT_EQ(view->addAccount(), dialog); // still open, with what was typed
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->busy());
    EXPECT_TRUE(dialog->message().startsWith(u"Das Konto wurde nicht angelegt.\n"_s));
    EXPECT_TRUE(dialog->message().contains(u"abgelehnt"_s)) << dialog->message().toStdString();
    EXPECT_FALSE(dialog->message().contains(u"geraten-7"_s));
    EXPECT_EQ(text(dialog, u"txtPasswort"_s)->text(), u"geraten-7"_s);
    EXPECT_EQ(text(dialog, u"txtAdresse"_s)->text(), server.url().toString());

    EXPECT_TRUE(sync::accounts(other).isEmpty());
    EXPECT_EQ(other.stores().size(), 1);
    EXPECT_THROW(sync::credentials::load(u"Büro"_s), sync::SyncError);
    view->catchUp();
    EXPECT_EQ(treeNode(u"Büro"_s), nullptr);
    EXPECT_TRUE(view->mainWindow().accountsLine().isEmpty());

    const QPointer<viewer::AccountDialog> closing = dialog;
    dialog->findChild<QPushButton*>(u"cmdAbbrechen"_s)->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closing.isNull());
}

TEST_F(ViewerAccounts, TheAccountLineShowsTheLastSyncAndTheLastError) {
    sync::NewAccount request{server.url(), u"u"_s, u"secret"_s, u"Büro"_s, false};
    sync::addAccount(other, request);
    // The first sync's time comes from the viewer's own sync at start.
    sync::Account before = sync::account(other, u"Büro"_s);
    before.lastSync = {};
    other.setSyncState(sync::accountScope(), before.name, before.toJson());
    view->catchUp();
    EXPECT_EQ(view->mainWindow().accountsLine(), u"Konto „Büro“: noch nicht abgeglichen"_s);
    view->show();
    waitForSync();
    EXPECT_TRUE(view->mainWindow().accountsLine().startsWith(
        u"Konto „Büro“: zuletzt abgeglichen "_s))
        << view->mainWindow().accountsLine().toStdString();

    server.stop();
    view->mainWindow().findChild<QAction*>(u"mnuKontenAbgleichen"_s)->trigger();
    while (!view->mainWindow().accountsLine().contains(u"Abgleich fehlgeschlagen"_s))
        waitForSync();
    EXPECT_TRUE(view->mainWindow().accountsLine().contains(u"nicht erreichbar"_s))
        << view->mainWindow().accountsLine().toStdString();

    server.start();
    view->mainWindow().findChild<QAction*>(u"mnuKontenAbgleichen"_s)->trigger();
    while (!view->mainWindow().accountsLine().contains(u"zuletzt abgeglichen"_s))
        waitForSync();
}

} // namespace
} // namespace tlm::test
