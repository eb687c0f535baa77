// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A call event's world for tests: a local store with three contacts (Thomas
// Becker, and Klaus and Petra Wagner sharing a home number), settings that
// show and journal incoming calls, and helpers that run events as the CTI
// client starts them and read what they left.
#include "core/calldialogs.h"
#include "core/callfile.h"
#include "core/params.h"
#include "core/run.h"
#include "outlook/application.h"
#include "outlook/folder.h"
#include "outlook/item.h"
#include "platform/clock.h"
#include "platform/processlock.h"
#include "platform/screens.h"
#include "platform/settingsstore.h"
#include "store/pimstore.h"
#include "tests/support/testenv.h"

#include <QRegularExpression>
#include <functional>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace tlm::test {
using namespace tlm::outlook;

const QString callId = u"5F3A9C21-0001-4B7E"_s;
const QString becker = u"03012345678"_s;
const QString beckerHome = u"0308765432"_s;
const QString wagner = u"0221987654"_s;

struct Event {
    QString event;
    QString number = becker;
    QString outbound = u"0"_s;
    QString id = callId;
    QStringList caller = {}; // first name, last name, company, street, zip, city, country
    QString menu = u"0"_s;
    QString duration = u"12"_s;
    QString state = u"1"_s; // %CALLLOG_STATE%: "absence" for an unanswered call
};

class CallFixture : public ::testing::Test {
protected:
    test::TestEnv env;
    const QDate day = QDate::currentDate();
    QString beckerId, klausId, petraId;

    void at(int h, int m, int s) { clock::setFixed(QDateTime(day, QTime(h, m, s))); }
    static void set(const QString& key, const QString& value) { settingsstore::save(key, value); }

    void SetUp() override {
        at(14, 3, 27);
        for (const auto& [k, v] : {std::pair{u"Debug"_s, u"1"_s},
                                   {u"DefaultFolder"_s, u"1"_s},
                                   {u"InContact"_s, u"1"_s},
                                   {u"InJournal"_s, u"1"_s},
                                   {u"JournalCallEnd"_s, u"1"_s}})
            set(k, v);
        pim::Store(env.pimPath()).setEditorType(1);
        ApplicationPtr app = attach();
        FolderPtr contacts = app->GetNamespace(u"MAPI"_s)->GetDefaultFolder(olFolderContacts);
        const auto add = [&](std::initializer_list<std::pair<QString, QVariant>> props) {
            ItemPtr c = contacts->Items()->Add();
            for (const auto& [k, v] : props)
                c->set(k, v);
            c->Save();
            return c->EntryID();
        };
        beckerId = add({{u"FirstName"_s, u"Thomas"_s},
                        {u"LastName"_s, u"Becker"_s},
                        {u"CompanyName"_s, u"Becker Haustechnik"_s},
                        {u"BusinessTelephoneNumber"_s, u"+49 30 12345678"_s},
                        {u"HomeTelephoneNumber"_s, u"030/8765432"_s},
                        {u"BusinessAddressStreet"_s, u"Hauptstr. 5"_s},
                        {u"BusinessAddressPostalCode"_s, u"10115"_s},
                        {u"BusinessAddressCity"_s, u"Berlin"_s},
                        {u"BusinessAddressCountry"_s, u"Deutschland"_s},
                        {u"HomeAddressStreet"_s, u"Gartenweg 2"_s},
                        {u"HomeAddressPostalCode"_s, u"14163"_s},
                        {u"HomeAddressCity"_s, u"Berlin"_s},
                        {u"CustomerID"_s, u"K-1001"_s},
                        {u"BillingInformation"_s, u"Stunden"_s},
                        {u"Categories"_s, u"Kunde"_s},
                        {u"User1"_s, u"Premium"_s},
                        {u"User2"_s, u"https://becker.example"_s},
                        {u"User3"_s, u"nicht drucken"_s},
                        {u"Journal"_s, false}});
        klausId = add({{u"FirstName"_s, u"Klaus"_s},
                       {u"LastName"_s, u"Wagner"_s},
                       {u"HomeTelephoneNumber"_s, u"(0221) 98 76 54"_s}});
        petraId = add({{u"FirstName"_s, u"Petra"_s},
                       {u"LastName"_s, u"Wagner"_s},
                       {u"HomeTelephoneNumber"_s, u"(0221) 98 76 54"_s}});
    }
    void TearDown() override { setCallDialogs({}); }

    static QString commandLine(const Event& e) {
        QStringList caller = e.caller;
        caller.resize(7);
        QString line = e.number + u' ' + e.number + u" 21 Zentrale "_s + e.menu + u' ' + e.event +
                       u' ' + e.outbound + u" \"2026-12-05 14:03:20\" "_s + e.duration + u' ' +
                       e.state + u' ' + (e.id.isEmpty() ? u"\"\""_s : e.id) + u" U1"_s;
        return line + u' ' + rawCommandLine(caller);
    }
    static void runEvent(const Event& e) {
        tlm::Run run;
        Main(run, commandLine(e));
    }
    // Runs the event and hands the run's state to inspect before it ends.
    static void runEvent(const Event& e, const std::function<void(tlm::Run&)>& inspect) {
        tlm::Run run;
        Main(run, commandLine(e));
        inspect(run);
    }
    void answeredCall(const QString& number = becker) {
        at(14, 3, 27);
        runEvent({u"called"_s, number});
        at(14, 3, 40);
        runEvent({u"connect"_s, number});
        at(14, 9, 2);
        runEvent({u"finished"_s, number});
    }

    pim::Store store() const { return pim::Store(env.pimPath(), pim::Store::Create::Never); }
    QList<pim::ItemRecord> folderItems(int defaultFolder) const {
        const pim::Store s = store();
        return s.items(s.defaultFolder(defaultFolder).entryId);
    }
    pim::ItemRecord only(int defaultFolder) const {
        const auto items = folderItems(defaultFolder);
        EXPECT_EQ(items.size(), 1);
        return items.value(0);
    }
    QString userProperty(const pim::ItemRecord& r, const QString& name) const {
        for (const pim::UserProperty& p : r.userProperties)
            if (p.name == name)
                return p.value;
        return u"<none>"_s;
    }
    QString callFile(const QString& id = callId) const {
        return env.workFolder() + id + u".call"_s;
    }
    // The per-call log without date, time and step columns: "step|text".
    QStringList callLog(const QString& id = callId) const {
        const QString text = QString::fromUtf8(test::readBytes(env.workFolder() + id + u".log"_s));
        QStringList lines;
        for (const QString& l : text.split(u"\r\n"_s, Qt::SkipEmptyParts))
            lines << l.mid(22, 6).trimmed() + u'|' + l.mid(31);
        return lines;
    }
    bool logged(const QString& line, const QString& id = callId) const {
        return callLog(id).contains(line);
    }
};
} // namespace tlm::test
