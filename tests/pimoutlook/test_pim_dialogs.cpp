// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// The store's folder picker and address-book picker as a person sees them:
// every entry whole, a company contact named, the design's colours.
#include "pimoutlook/dialogs.h"
#include "tests/support/testenv.h"
#include "ui/design.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QStyle>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace tlm::pim;

namespace {

// The room an entry's text needs beside its indent: the text and the
// delegate's margins.
int textRoom(const QAbstractItemView* view, const QString& text) {
    const int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    return view->fontMetrics().horizontalAdvance(text) + 2 * margin;
}

// True when the entry at this place lies whole inside the view.
bool shownWhole(const QAbstractItemView* view, QRect place, const QString& text) {
    return place.top() >= 0 && place.bottom() < view->viewport()->height() &&
           place.left() + textRoom(view, text) <= view->viewport()->width();
}

void showLaidOut(QDialog& dialog) {
    dialog.show();
    QApplication::processEvents();
}

void expectDesign(QDialog& dialog, const QString& title) {
    EXPECT_EQ(dialog.windowTitle(), title);
    auto* bar = dialog.findChild<QLabel*>(u"lblTopic"_s);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->text(), title);
    using namespace tlm::design;
    EXPECT_EQ(bar->palette().color(QPalette::Window), storedColour(ColorDefault));
    EXPECT_EQ(bar->palette().color(QPalette::WindowText), storedColour(ColorFont));
    EXPECT_EQ(dialog.palette().color(QPalette::Window), storedColour(ColorBack));
    EXPECT_EQ(dialog.palette().color(QPalette::WindowText), storedColour(ColorBackFont));
}

TEST(StoreDialogs, TheFolderPickerShowsEveryFolderWhole) {
    tlm::test::TestEnv env;
    Store store;
    const QString storeId = store.stores().front().storeId;
    const FolderInfo projects = store.addFolder(storeId, {}, u"Projekte"_s, FolderKind::Contact);
    const FolderInfo archive =
        store.addFolder({}, projects.entryId, u"Projekt-Kunden-Archiv-Projekte 2019 bis 2024"_s,
                        FolderKind::Contact);
    store.addFolder({}, archive.entryId, u"Ehemalige Ansprechpartner der Kunden"_s,
                    FolderKind::Contact);
    const std::unique_ptr<QDialog> dialog = dialogs::folderWindow(store);
    showLaidOut(*dialog);
    expectDesign(*dialog, u"Ordner auswählen"_s);
    auto* tree = dialog->findChild<QTreeWidget*>(u"treeFolders"_s);
    ASSERT_NE(tree, nullptr);
    int entries = 0;
    for (QTreeWidgetItemIterator it(tree); *it; ++it, ++entries) {
        const QString text = (*it)->text(0);
        EXPECT_TRUE(shownWhole(tree, tree->visualItemRect(*it), text)) << text.toStdString();
    }
    EXPECT_EQ(entries, 1 + 7 + 3); // the store, its seven folders and the three added
}

TEST(StoreDialogs, TheAddressBookShowsWholeAddressesAndNamesCompanies) {
    tlm::test::TestEnv env;
    Store store;
    const QString contacts = store.defaultFolder(tlm::pim::defaultfolder::Contacts).entryId;
    const auto add = [&](const QVariantMap& properties) {
        ItemRecord r;
        r.messageClass = u"IPM.Contact"_s;
        r.properties = properties;
        store.addItem(contacts, r);
    };
    add({{u"FirstName"_s, u"Anna"_s},
         {u"LastName"_s, u"Schulz-Oberndorfer"_s},
         {u"Email1Address"_s, u"anna.schulz-oberndorfer@steuerberatung-oberndorfer.example"_s}});
    add({{u"CompanyName"_s, u"Kontor GmbH"_s}, {u"Email1Address"_s, u"info@kontor.example"_s}});
    add({{u"LastName"_s, u"Ohne Adresse"_s}});
    const std::unique_ptr<QDialog> dialog = dialogs::namesWindow(store, QString());
    showLaidOut(*dialog);
    expectDesign(*dialog, u"Namen auswählen: Kontakte"_s);
    auto* list = dialog->findChild<QListWidget*>(u"listNames"_s);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(
        list->item(0)->text(),
        u"Anna Schulz-Oberndorfer <anna.schulz-oberndorfer@steuerberatung-oberndorfer.example>"_s);
    EXPECT_EQ(list->item(1)->text(), u"Kontor GmbH <info@kontor.example>"_s);
    EXPECT_EQ(list->item(1)->data(Qt::UserRole).toString(), u"Kontor GmbH"_s);
    for (int i = 0; i < list->count(); ++i) {
        const QString text = list->item(i)->text();
        EXPECT_TRUE(shownWhole(list, list->visualItemRect(list->item(i)), text))
            << text.toStdString();
    }
}

} // namespace
