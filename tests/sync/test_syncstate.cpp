// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// What the sync knows lives in the store and travels in its JSON dump.
#include "formats/json.h"
#include "platform/error.h"
#include "store/pimstore.h"
#include "sync/state.h"
#include "tests/support/testenv.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace tlm;
using namespace tlm::sync;
using tlm::pim::Store;

TEST(SyncState, TravelsInTheDumpAndGoesWithItsStore) {
    test::TestEnv env;
    Store store(env.pimPath());
    const pim::StoreInfo account = store.addStore(u"Büro"_s);
    const pim::FolderInfo book =
        store.addFolder(account.storeId, {}, u"Adressbuch"_s, pim::FolderKind::Contact);
    pim::ItemRecord contact;
    contact.properties = {{u"LastName"_s, u"Becker"_s}};
    const QString id = store.addItem(book.entryId, contact);

    Account a{u"Büro"_s, QUrl(u"https://dav.example.org/"_s), u"u"_s, false, account.storeId,
              {}, {}};
    Binding b{book.entryId, a.name, QUrl(u"https://dav.example.org/u/book/"_s), {}, true, false,
              u"http://radicale.org/ns/sync/1"_s};
    ItemState s{u"/u/book/becker.vcf"_s, id, u"becker-1"_s, "\"e1\"",
                "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:becker-1\r\nFN:Ä\r\nEND:VCARD\r\n", "\x01\x02"};
    store.setSyncState(accountScope(), a.name, a.toJson());
    store.setSyncState(bindingScope(), b.folderId, b.toJson());
    store.setSyncState(itemScope(book.entryId), s.path, s.toJson());

    const QByteArray dump = pim::json::dump(store);
    EXPECT_FALSE(dump.contains("secret"));
    Store copy(env.root() + u"copy.sqlite"_s, Store::Create::Empty);
    pim::json::load(copy, dump, u"dump.json"_s);
    EXPECT_EQ(copy.allSyncStates().size(), 3);
    const ItemState back =
        ItemState::fromJson(copy.syncStates(itemScope(book.entryId)).value(s.path));
    EXPECT_EQ(back.toJson(), s.toJson());
    EXPECT_EQ(Binding::fromJson(copy.syncStates(bindingScope()).value(book.entryId)).syncToken,
              b.syncToken);
    EXPECT_EQ(pim::json::dump(copy), dump);

    // Removing the account's store takes its folders and items; the default
    // store stays.
    store.removeStore(account.storeId);
    EXPECT_FALSE(store.hasItem(id));
    EXPECT_EQ(store.stores().size(), 1);
    EXPECT_THROW(store.removeStore(store.stores().first().storeId), Error);
}
