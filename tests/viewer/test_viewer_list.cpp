// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's list and status line: contacts as filed, columns as wide
// as their contents and as the user left them, the store's file and its
// last change.
#include "tests/viewer/viewerfixture.h"

#include <QHeaderView>
#include <QLabel>

using namespace Qt::StringLiterals;

namespace tlm::test {
namespace {

QHeaderView* header(viewer::Viewer& v) {
    return v.mainWindow().findChild<QTreeView*>(u"listItems"_s)->header();
}

TEST_F(ViewerTest, ContactsAreListedAndSortedAsFiled) {
    add(outlook::olFolderContacts, {{u"CompanyName"_s, u"Zander GmbH"_s}});
    add(outlook::olFolderContacts,
        {{u"Title"_s, u"Dr."_s}, {u"FirstName"_s, u"Elisabeth"_s}, {u"LastName"_s, u"Krüger"_s}});
    add(outlook::olFolderContacts, {{u"FirstName"_s, u"Thomas"_s}, {u"LastName"_s, u"Becker"_s}});
    add(outlook::olFolderContacts, {{u"LastName"_s, u"Abel"_s}, {u"FileAs"_s, u"Praxis Abel"_s}});
    settle();
    ASSERT_EQ(list()->rowCount(), 4);
    EXPECT_EQ(list()->headerData(0, Qt::Horizontal).toString(), u"Speichern unter"_s);
    EXPECT_EQ(cell(0, 0), u"Becker, Thomas"_s);
    EXPECT_EQ(cell(1, 0), u"Krüger, Elisabeth"_s);
    EXPECT_EQ(cell(2, 0), u"Praxis Abel"_s);
    EXPECT_EQ(cell(3, 0), u"Zander GmbH"_s);
}

TEST_F(ViewerTest, ColumnsFitTheirContentsAndKeepTheUsersWidthsAndOrder) {
    add(outlook::olFolderContacts, {{u"FirstName"_s, u"Maximilian-Alexander"_s},
                                    {u"LastName"_s, u"Schwarzenberg-Hohenlohe"_s},
                                    {u"BusinessTelephoneNumber"_s, u"+49 30 1234567890"_s}});
    settle();
    QHeaderView* h = header(*view);
    for (int c = 0; c + 1 < h->count(); ++c) {
        EXPECT_GE(h->sectionSize(c), h->sectionSizeHint(c)) << c; // the header is not cut
        EXPECT_GE(h->sectionSize(c),
                  h->fontMetrics().horizontalAdvance(cell(0, c)))
            << c;
    }
    h->resizeSection(1, 333);
    h->setSortIndicator(2, Qt::DescendingOrder);

    view.reset();
    view = std::make_unique<viewer::Viewer>(env.pimPath());
    settle();
    EXPECT_EQ(header(*view)->sectionSize(1), 333);
    EXPECT_EQ(header(*view)->sortIndicatorSection(), 2);
    EXPECT_EQ(header(*view)->sortIndicatorOrder(), Qt::DescendingOrder);
}

TEST_F(ViewerTest, TheStatusLineNamesTheStoreAndItsLastChange) {
    add(outlook::olFolderContacts, {{u"LastName"_s, u"Becker"_s}});
    settle();
    const auto label = [&](const QString& name) {
        return view->mainWindow().findChild<QLabel*>(name)->text();
    };
    EXPECT_EQ(label(u"lblStore"_s), u"PIM-Speicher: "_s + env.pimPath());
    EXPECT_TRUE(maskDates(label(u"lblChanged"_s).toUtf8()) == "Letzte Änderung: <DATETIME>")
        << label(u"lblChanged"_s).toStdString();
}

} // namespace
} // namespace tlm::test
