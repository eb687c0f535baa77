// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// One stored design colour shows as one colour in every window: the
// call-time windows and the store's own windows read it the same way.
#include "callwindows/frmindexaufbau.h"
#include "pimoutlook/dialogs.h"
#include "platform/settingsstore.h"
#include "tests/support/testenv.h"

#include <QApplication>
#include <QDialog>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace tlm;

TEST(DesignColours, OneStoredValueShowsAsOneColourInEveryWindow) {
    test::TestEnv env;
    const pim::Store store;
    const QColor grey(0xD4, 0xD0, 0xC8); // the default, 13160660
    const QColor face = QApplication::palette().color(QPalette::Active, QPalette::Button);
    const std::pair<QString, QColor> stored[] = {
        {u"255"_s, QColor(255, 0, 0)},
        {u" 65280 "_s, QColor(0, 255, 0)},
        {u"255,4"_s, QColor(255, 0, 0)},      // a decimal number is rounded
        {u"1e3"_s, QColor(0xE8, 0x03, 0x00)}, // 1000
        {QString::number(-2147483633), face}, // a system colour
        {u"hellgrau"_s, grey},
        {u"99999999999"_s, grey},
    };
    for (const auto& [text, colour] : stored) {
        settingsstore::save(u"ColorBack"_s, text);
        const frmIndexaufbau callWindow;
        const std::unique_ptr<QDialog> storeWindow = pim::dialogs::folderWindow(store);
        EXPECT_EQ(callWindow.palette().color(QPalette::Window), colour) << text.toStdString();
        EXPECT_EQ(storeWindow->palette().color(QPalette::Window), colour) << text.toStdString();
    }
}
