// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// The design colours as every window reads them: one stored text, one colour.
#include "platform/settingsstore.h"
#include "platform/syscolour.h"
#include "tests/support/testenv.h"
#include "ui/design.h"

#include <QApplication>
#include <QLabel>
#include <QPalette>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace tlm;

namespace {
QColor storedAs(const QString& text) {
    settingsstore::save(u"ColorBack"_s, text);
    return design::storedColour(design::ColorBack);
}
} // namespace

TEST(DesignColours, StoredNumbersConvertAsEverySettingDoes) {
    test::TestEnv env;
    EXPECT_EQ(storedAs(u"255"_s), QColor(255, 0, 0)); // red in the low byte
    EXPECT_EQ(storedAs(u"16711680"_s), QColor(0, 0, 255));
    EXPECT_EQ(storedAs(u" 255 "_s), QColor(255, 0, 0));
    // A decimal number, with comma or point, is rounded half to even.
    EXPECT_EQ(storedAs(u"255,4"_s), QColor(255, 0, 0));
    EXPECT_EQ(storedAs(u"254.5"_s), QColor(254, 0, 0));
    EXPECT_EQ(storedAs(u"253.5"_s), QColor(254, 0, 0));
}

TEST(DesignColours, AMissingOrBadValueShowsTheDefault) {
    test::TestEnv env;
    const QColor grey(0xD4, 0xD0, 0xC8); // 13160660
    EXPECT_EQ(design::storedColour(design::ColorBack), grey);
    EXPECT_EQ(storedAs(u"hellgrau"_s), grey);
    EXPECT_EQ(storedAs(QString()), grey);
    EXPECT_EQ(storedAs(u"99999999999"_s), grey); // beyond 32 bits
    EXPECT_EQ(design::storedColour(design::ColorDefault), QColor(0x88, 0x88, 0x88));
    EXPECT_EQ(design::storedColour(design::ColorFont), QColor(0xF0, 0xF0, 0xF0));
    EXPECT_EQ(design::storedColour(design::ColorBackFont), QColor(Qt::black));
}

TEST(DesignColours, ASystemColourIsTakenFromTheDesktop) {
    test::TestEnv env;
    const QColor face = QApplication::palette().color(QPalette::Active, QPalette::Button);
    EXPECT_EQ(storedAs(QString::number(-2147483633)), face); // 0x8000000F: button face
    EXPECT_EQ(design::fromWindowsColour(syscolour::sysColor(15)), face);
}

TEST(DesignColours, BackgroundAndTextReachTheWidget) {
    QLabel label;
    design::setBackground(&label, QColor(1, 2, 3));
    design::setTextColour(&label, QColor(4, 5, 6));
    EXPECT_TRUE(label.autoFillBackground());
    EXPECT_EQ(label.palette().color(QPalette::Window), QColor(1, 2, 3));
    EXPECT_EQ(label.palette().color(label.backgroundRole()), QColor(1, 2, 3));
    EXPECT_EQ(label.palette().color(QPalette::WindowText), QColor(4, 5, 6));
}
