// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// The contact choice as the run takes it, and the choice window's session:
// its mark and lock, the per-call file and the favourite of the number.
#include "core/contactchoice.h"
#include "core/foundcontact.h"
#include "platform/inifile.h"
#include "tests/core/callfixture.h"

using namespace tlm;
using namespace tlm::test;

namespace {
class ContactChoiceTest : public CallFixture {
protected:
    tlm::Run run;

    void SetUp() override {
        CallFixture::SetUp();
        run.log.setDebug(1);
        run.env.workFolder = env.workFolder();
        run.params.values[P_NUMBER] = wagner;
        run.params.values[P_MENU_OPTION] = u"0"_s;
        run.params.values[P_P_CALL_ID] = callId;
        run.application = attach();
        run.mapi = run.application->GetNamespace(u"MAPI"_s);
        run.lookup.foundCount = 2;
        run.lookup.matchedField = 7;
    }
    QString callFileValue(const QString& section, const QString& key) const {
        return fncIniRead(callFilePath(run), section, key);
    }
    QString favourite() const {
        return ini::read(env.workFolder() + u"tlmOlfav.ini"_s, u"Favoriten"_s, wagner);
    }
};
} // namespace

TEST_F(ContactChoiceTest, TheRunTakesEachKindOfAnswer) {
    run.chosenEntryId = u"vorher"_s;
    takeContactChoice(run, {});
    EXPECT_EQ(run.chosenEntryId, u"vorher"_s);
    EXPECT_EQ(run.lookup.foundCount, 2);

    // a line whose contact no longer opens: its EntryID, but no contact
    takeContactChoice(run, {ContactChoice::Kind::Chosen, u"weg"_s, nullptr, 3, false});
    EXPECT_EQ(run.chosenEntryId, u"weg"_s);
    EXPECT_FALSE(run.lookup.currentContact);
    EXPECT_EQ(run.lookup.matchedField, 7);
    EXPECT_EQ(run.lookup.foundCount, 2);

    const outlook::ItemPtr petra = run.mapi->GetItemFromID(petraId);
    takeContactChoice(run, {ContactChoice::Kind::Chosen, petraId, petra, 2, true});
    EXPECT_EQ(run.lookup.currentContact, petra);
    EXPECT_EQ(run.lookup.matchedField, 2);
    EXPECT_EQ(run.lookup.foundCount, 1);

    takeContactChoice(run, {ContactChoice::Kind::Cancelled});
    EXPECT_TRUE(run.chosenEntryId.isEmpty());
    EXPECT_EQ(run.lookup.foundCount, 0);
}

TEST_F(ContactChoiceTest, TheCallEndAnswerSetsTheFlagOnlyWhenGiven) {
    takeCallEndAnswer(run, CallEndAnswer::CloseItems);
    EXPECT_TRUE(run.closeItems);
    takeCallEndAnswer(run, CallEndAnswer::None);
    EXPECT_TRUE(run.closeItems);
    takeCallEndAnswer(run, CallEndAnswer::KeepOpen);
    EXPECT_FALSE(run.closeItems);
}

TEST_F(ContactChoiceTest, TheSessionMarksTheCallAndEndsOnce) {
    const QString lock = choiceLockPath(run);
    {
        ContactChoiceSession session(run);
        EXPECT_FALSE(callFileValue(u"Program"_s, u"ContactChoiceDialogue"_s).isEmpty());
        EXPECT_TRUE(processlock::isHeld(lock));
        session.end();
        EXPECT_TRUE(callFileValue(u"Program"_s, u"ContactChoiceDialogue"_s).isEmpty());
        EXPECT_FALSE(processlock::isHeld(lock));
        // a later mark of another window is not cleared by a second end
        subIniWrite(callFilePath(run), u"Program"_s, u"ContactChoiceDialogue"_s, u"x"_s);
        session.end();
    }
    EXPECT_EQ(callFileValue(u"Program"_s, u"ContactChoiceDialogue"_s), u"x"_s);
    EXPECT_EQ(callLog().filter(u"80999|"_s).size(), 1);
}

TEST_F(ContactChoiceTest, AChosenLineIsRecordedAndBecomesTheFavourite) {
    ContactChoiceSession session(run);
    ContactChoice answer;
    session.choose({u"Petra Wagner"_s, 2, false, petraId}, answer);
    EXPECT_EQ(answer.kind, ContactChoice::Kind::Chosen);
    EXPECT_EQ(answer.entryId, petraId);
    ASSERT_TRUE(answer.contact);
    EXPECT_EQ(answer.contact->EntryID(), petraId);
    EXPECT_EQ(answer.field, 2);
    EXPECT_TRUE(answer.recorded);
    EXPECT_EQ(callFileValue(u"Contact"_s, u"Contact-ID"_s), petraId);
    EXPECT_EQ(callFileValue(u"Call"_s, u"NumType"_s), u"2"_s);
    EXPECT_EQ(favourite(), petraId);
    EXPECT_EQ(session.favourite(), petraId);

    // a line that no longer opens: nothing recorded, but still the favourite
    session.choose({u"Weg"_s, 3, false, u"0000DEAD"_s}, answer);
    EXPECT_EQ(answer.entryId, u"0000DEAD"_s);
    EXPECT_FALSE(answer.contact);
    EXPECT_FALSE(answer.recorded);
    EXPECT_EQ(callFileValue(u"Contact"_s, u"Contact-ID"_s), petraId);
    EXPECT_EQ(favourite(), u"0000DEAD"_s);

    session.chooseNone();
    EXPECT_TRUE(callFileValue(u"Contact"_s, u"Contact-ID"_s).isEmpty());
    EXPECT_EQ(session.cancel().kind, ContactChoice::Kind::Cancelled);
}
