// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Items changed on both sides: merged value by value, nothing dropped.
#include "sync/merge.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace tlm;
using namespace tlm::sync;

TEST(Merge, TakesEachSidesOwnChangesAndLetsTheServerWinWithTheLocalValueKept) {
    const QVariantMap base{{u"Subject"_s, u"Anruf"_s},
                           {u"Duration"_s, 5},
                           {u"Categories"_s, u"Kunden"_s},
                           {u"Body"_s, u"Notiz"_s}};
    QVariantMap local = base, remote = base;
    local[u"Duration"_s] = 7;              // only here
    remote[u"Categories"_s] = u"Privat"_s; // only there
    local[u"Subject"_s] = u"Anruf Becker"_s;
    remote[u"Subject"_s] = u"Anruf Thomas Becker"_s; // both: the server wins
    local[u"User:PCALLID"_s] = u"42"_s;              // added here
    remote.remove(u"Body"_s);                        // removed there

    const MergeResult m = merge(base, local, remote);
    EXPECT_EQ(m.conflicts, QStringList{u"Subject"_s});
    EXPECT_EQ(m.values.value(u"Duration"_s), 7);
    EXPECT_EQ(m.values.value(u"Categories"_s), u"Privat"_s);
    EXPECT_EQ(m.values.value(u"Subject"_s), u"Anruf Thomas Becker"_s);
    EXPECT_EQ(m.values.value(u"User:PCALLID"_s), u"42"_s);
    EXPECT_EQ(m.values.value(u"Body"_s).toString(),
              conflictHeading() + u"\r\nSubject: Anruf Becker"_s);

    // The same change on both sides is no conflict.
    remote = local;
    EXPECT_TRUE(merge(base, local, remote).conflicts.isEmpty());
}

TEST(Merge, FlattensAndRestoresAWholeItem) {
    pim::ItemRecord item;
    item.entryId = u"E1"_s;
    item.messageClass = u"IPM.Activity"_s;
    item.properties = {{u"Subject"_s, u"S"_s},
                       {u"LastModificationTime"_s, QDateTime(QDate(2026, 12, 7), QTime(9, 0))}};
    item.userProperties = {{u"CallNumber"_s, u"030"_s}, {u"PCALLID"_s, u"X"_s}};
    item.links = {u"E7"_s};
    item.body = u"B"_s;
    const QVariantMap flat = flatten(item);
    EXPECT_FALSE(flat.contains(u"LastModificationTime"_s));
    pim::ItemRecord back = item;
    back.properties.remove(u"Subject"_s);
    back.userProperties.clear();
    back.links.clear();
    unflatten(flat, back); // keeps the item's own modification time
    EXPECT_EQ(back.properties, item.properties);
    EXPECT_EQ(back.userProperties.size(), 2);
    EXPECT_EQ(back.links, item.links);
    EXPECT_EQ(back.body, item.body);
}
