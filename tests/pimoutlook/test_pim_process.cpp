// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Several processes on one store: the test executable runs itself again
// with PIM_TEST_ROLE set, and the child test PimChild.Role plays that role
// on the parent's store (TELLMARIN_PIM is inherited).
#include "outlook/application.h"
#include "outlook/document.h"
#include "outlook/folder.h"
#include "outlook/item.h"
#include "platform/clock.h"
#include "store/pimstore.h"
#include "tests/support/testenv.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSet>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace tlm::outlook;

namespace {

const char* const RoleVariable = "PIM_TEST_ROLE";

QProcess* startChild(const QString& role, const QString& now = {}) {
    auto* p = new QProcess;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(RoleVariable), role);
    if (!now.isEmpty())
        env.insert(u"TELLMARIN_NOW"_s, now);
    p->setProcessEnvironment(env);
    p->setProcessChannelMode(QProcess::MergedChannels);
    p->start(QCoreApplication::applicationFilePath(),
             {u"--gtest_filter=PimChild.Role"_s, u"--gtest_brief=1"_s});
    return p;
}

void expectSuccess(QProcess* p) {
    ASSERT_TRUE(p->waitForFinished(120000));
    EXPECT_EQ(p->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p->exitCode(), 0) << p->readAll().toStdString();
    delete p;
}

void addContacts(const QString& tag, int count) {
    ApplicationPtr app = attach();
    FolderPtr contacts = app->GetNamespace(u"MAPI"_s)->GetDefaultFolder(olFolderContacts);
    for (int i = 0; i < count; ++i) {
        ItemPtr c = contacts->Items()->Add();
        c->set(u"LastName"_s, tag + QString::number(i));
        c->Save();
    }
}

// The second process of a call: finds the journal entry by its call id,
// stops its timer and closes it (saving).
void stopCall(const QString& callId) {
    ApplicationPtr app = attach();
    ItemPtr found = app->GetNamespace(u"MAPI"_s)
                        ->GetDefaultFolder(olFolderJournal)
                        ->Items()
                        ->Find(u"[PCALLID]='"_s + callId + u"'"_s);
    ASSERT_NE(found, nullptr);
    ItemPtr item = app->GetNamespace(u"MAPI"_s)->GetItemFromID(found->EntryID());
    ASSERT_EQ(item->Class(), olJournal);
    item->StopTimer();
    if (item->number(u"Duration"_s) == 0)
        item->set(u"Duration"_s, 1);
    item->Close(olSave);
}

TEST(PimChild, Role) {
    const QString role = qEnvironmentVariable(RoleVariable);
    if (role.isEmpty())
        GTEST_SKIP() << "runs only as a child of the process tests";
    const QStringList parts = role.split(u':');
    if (parts[0] == u"write"_s)
        addContacts(parts[1], parts[2].toInt());
    else if (parts[0] == u"stop"_s)
        stopCall(parts[1]);
    else
        FAIL() << "unknown role " << role.toStdString();
}

TEST(PimProcesses, TwoProcessesWriteAtOnce) {
    tlm::test::TestEnv env;
    { const tlm::pim::Store made(env.pimPath()); } // before the writers start
    QProcess* first = startChild(u"write:A:150"_s);
    QProcess* second = startChild(u"write:B:150"_s);
    addContacts(u"P"_s, 150);
    expectSuccess(first);
    expectSuccess(second);

    tlm::pim::Store store;
    const QList<tlm::pim::ItemRecord> items =
        store.items(store.defaultFolder(tlm::outlook::olFolderContacts).entryId);
    ASSERT_EQ(items.size(), 450);
    QSet<QString> ids, names;
    for (const auto& r : items) {
        ids.insert(r.entryId);
        names.insert(r.properties.value(u"LastName"_s).toString());
    }
    EXPECT_EQ(ids.size(), 450);
    EXPECT_EQ(names.size(), 450);
}

TEST(PimProcesses, SecondProcessStopsAndClosesTheJournalEntry) {
    tlm::test::TestEnv env;
    tlm::clock::setFixed(QDateTime(QDate(2026, 12, 5), QTime(14, 30, 0)));
    { const tlm::pim::Store made(env.pimPath()); }
    ApplicationPtr app = attach();
    NamespacePtr ns = app->GetNamespace(u"MAPI"_s);

    ItemPtr contact = ns->GetDefaultFolder(olFolderContacts)->Items()->Add();
    contact->set(u"FirstName"_s, u"Eva"_s);
    contact->set(u"LastName"_s, u"Schulz"_s);
    contact->Save();

    ItemPtr journal = app->CreateItem(olJournalItem);
    for (const auto& [name, value] :
         {std::pair{u"CallNumber"_s, u"030123456"_s}, std::pair{u"PCALLID"_s, u"C-77"_s},
          std::pair{u"Tellmar"_s, u"1.0.0001"_s}}) {
        journal->UserProperties()->Add(name, 1);
        journal->UserProperties()->setValue(name, value);
    }
    journal->setSubject(u"Anruf von Eva Schulz: "_s);
    journal->Starttimer();
    SelectionPtr sel = journal->GetInspector()->WordEditor()->Selection();
    sel->TypeText(u"Rufnummer:\t"_s);
    journal->GetInspector()->WordEditor()->AddHyperlink(sel->Range(), u"tel://030123456"_s, {}, {},
                                                        u"030123456"_s);
    sel->TypeParagraph();
    journal->Links()->Add(contact);
    journal->UserProperties()->Add(u"CID"_s, 1);
    journal->UserProperties()->setValue(u"CID"_s, contact->EntryID());
    journal->Save();
    journal->GetInspector()->Display();
    const QString id = journal->EntryID();

    expectSuccess(startChild(u"stop:C-77"_s, u"2026-12-05T14:34:20"_s));

    tlm::pim::Store store;
    const tlm::pim::ItemRecord r = store.item(id);
    EXPECT_FALSE(r.timerStarted.isValid());
    EXPECT_EQ(r.properties.value(u"Duration"_s).toInt(), 4);
    EXPECT_FALSE(r.inspector.open);
    EXPECT_EQ(r.links, QStringList{contact->EntryID()});
    EXPECT_EQ(r.userProperties.size(), 4);
    EXPECT_EQ(r.body, u"Rufnummer:\t030123456\r\n"_s);
    EXPECT_TRUE(r.htmlBody.contains(u"href=\"tel://030123456\""_s));
    EXPECT_EQ(r.properties.value(u"Subject"_s).toString(), u"Anruf von Eva Schulz: "_s);
}

} // namespace
