// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Every picture a window shows comes from one place and is really there.
#include "ui/design.h"
#include "ui/formparts.h"
#include "ui/pictures.h"

#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

using namespace tlm;
using pictures::Kind;

namespace {
// True when some pixel is not fully transparent.
bool showsSomething(const QPixmap& pixmap) {
    const QImage image = pixmap.toImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).alpha() != 0)
                return true;
    return false;
}
} // namespace

TEST(Pictures, EveryPaintedPictureShowsAtItsSize) {
    QList<QImage> seen;
    for (int k = static_cast<int>(Kind::Logo); k <= static_cast<int>(Kind::FolderPick); ++k) {
        const QPixmap p = pictures::picture(static_cast<Kind>(k), 48);
        EXPECT_EQ(p.size(), QSize(48, 48)) << k;
        EXPECT_TRUE(showsSomething(p)) << k;
        EXPECT_FALSE(seen.contains(p.toImage())) << "picture " << k << " repeats another";
        seen << p.toImage();
    }
    EXPECT_EQ(pictures::picture(Kind::Logo).size(), QSize(32, 32));
    EXPECT_EQ(formparts::pic(Kind::Contact).size(),
              QSize(design::pixels(480), design::pixels(480)));
}

TEST(Pictures, TheDrawnPicturesAreBuiltIn) {
    QList<QImage> seen;
    for (auto which :
         {pictures::Drawn::Contact, pictures::Drawn::Contacts, pictures::Drawn::Unknown}) {
        const QPixmap p = pictures::drawn(which);
        ASSERT_FALSE(p.isNull()) << static_cast<int>(which);
        EXPECT_TRUE(showsSomething(p));
        EXPECT_FALSE(seen.contains(p.toImage()));
        seen << p.toImage();
    }
}

TEST(Pictures, TheDesktopPicturesComeFromItsStyle) {
    QWidget widget;
    for (auto which :
         {pictures::Desktop::Computer, pictures::Desktop::Speaker, pictures::Desktop::Network,
          pictures::Desktop::Search, pictures::Desktop::Folder}) {
        const QPixmap p = pictures::desktop(&widget, which);
        EXPECT_FALSE(p.isNull()) << static_cast<int>(which);
        EXPECT_LE(p.width(), 32 * p.devicePixelRatio());
    }
}
