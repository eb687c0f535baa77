// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// The progress window of the index build.
#include "callwindows/frmindexaufbau.h"
#include "core/contactindex.h"
#include "core/run.h"
#include "platform/settingsstore.h"
#include "tests/support/testenv.h"

#include <QApplication>
#include <QLabel>
#include <gtest/gtest.h>

using namespace tlm;

TEST(FrmIndexaufbau, SitsBottomRightWithItsOffsets) {
    // 120 and 690 twips are 8 and 46 pixels; offsets of 300 and 150 twips add 20 and 10
    EXPECT_EQ(frmIndexaufbau::placement(QSize(1920, 1080), QSize(300, 80), 0, 0),
              QPoint(1612, 954));
    EXPECT_EQ(frmIndexaufbau::placement(QSize(1920, 1080), QSize(300, 80), 300, 150),
              QPoint(1592, 944));
}

TEST(FrmIndexaufbau, ShowsItsTextInTheDesignColour) {
    test::TestEnv env;
    settingsstore::save(QStringLiteral("ColorBack"), QStringLiteral("255")); // red
    frmIndexaufbau window;
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Tellmarin"));
    const auto* label = window.findChild<QLabel*>(QStringLiteral("lbl1"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QStringLiteral("Indexaktualisierung - bitte warten...."));
    EXPECT_NE(window.findChild<QLabel*>(QStringLiteral("imgOutlookFolder")), nullptr);
    EXPECT_EQ(window.palette().color(QPalette::Window), QColor(255, 0, 0));
}

TEST(FrmIndexaufbau, IsOpenOnlyWhileABuildWithProgressRuns) {
    test::TestEnv env;
    struct Tracker : IndexProgress {
        explicit Tracker(int& open) : m_open(open) { ++m_open; }
        ~Tracker() override { --m_open; }
        int& m_open;
    };
    int open = 0;
    int made = 0;
    setIndexProgressFactory([&] {
        ++made;
        return std::make_unique<Tracker>(open);
    });
    tlm::Run run;
    run.env.workFolder = env.workFolder();
    run.env.indexFile = env.workFolder() + QStringLiteral("tlm20261205.idx");
    subCreateFileIndex(run, false);
    EXPECT_EQ(made, 0);
    subCreateFileIndex(run, true);
    EXPECT_EQ(made, 1);
    EXPECT_EQ(open, 0);

    registerIndexProgressWindow();
    subCreateFileIndex(run, true);
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(w->objectName() == QStringLiteral("frmIndexaufbau") && w->isVisible());
    setIndexProgressFactory({});
}
