// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// The base of the call-time windows: its timers, its countdown bar and the
// modal show of a scripted run.
#include "platform/messagebox.h"
#include "ui/callwindow.h"
#include "ui/design.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace tlm;

namespace {
class Window : public CallWindow {
    Q_OBJECT

public:
    Window() : CallWindow(u"frmProbe"_s) {
        addButton(u"cmdOK"_s, u"OK"_s, {0, 0, 1200, 420});
        addLabel(u"lblText"_s, u"Hallo"_s, {0, 600, 1200, 300});
        QPixmap picture(8, 8);
        picture.fill(Qt::blue);
        addImage(u"imgBild"_s, picture, u"Bild"_s, {0, 1000, 480, 480});
    }
    using CallWindow::lblCountdown;
    using CallWindow::restart;
    using CallWindow::setBarWidth;
    using CallWindow::timerMain;
    using CallWindow::timerSecond;
};
} // namespace

TEST(CallWindowBase, HasItsTimersControlsAndName) {
    Window w;
    EXPECT_EQ(w.objectName(), u"frmProbe"_s);
    EXPECT_TRUE(w.isModal());
    EXPECT_EQ(w.font().family(), u"Tahoma"_s);
    EXPECT_EQ(w.findChild<QTimer*>(u"timerMain"_s), w.timerMain);
    EXPECT_EQ(w.timerSecond->interval(), 1000);
    EXPECT_FALSE(w.timerMain->isActive());
    EXPECT_EQ(w.lblCountdown->accessibleName(), u"Verbleibende Zeit"_s);
    EXPECT_EQ(w.findChild<QPushButton*>(u"cmdOK"_s)->geometry(),
              design::twipsRect(0, 0, 1200, 420));
    EXPECT_EQ(w.findChild<QLabel*>(u"lblText"_s)->text(), u"Hallo"_s);
    EXPECT_EQ(w.findChild<QLabel*>(u"imgBild"_s)->accessibleName(), u"Bild"_s);
}

TEST(CallWindowBase, RestartAndTheCountdownBar) {
    Window w;
    Window::restart(w.timerMain, 5000);
    EXPECT_TRUE(w.timerMain->isActive());
    EXPECT_EQ(w.timerMain->interval(), 5000);
    Window::restart(w.timerMain, 2000);
    EXPECT_EQ(w.timerMain->interval(), 2000);
    w.setBarWidth(120.7);
    EXPECT_EQ(w.lblCountdown->width(), 120);
    w.setBarWidth(-3); // a bar never turns negative
    EXPECT_EQ(w.lblCountdown->width(), 120);
    w.setBarWidth(0);
    EXPECT_EQ(w.lblCountdown->width(), 0);
}

TEST(CallWindowBase, AScriptedRunDoesWhatTheDefaultButtonDoes) {
    ASSERT_TRUE(msgbox::autoAnswer()); // the tests run with TELLMARIN_AUTOANSWER
    Window w;
    int pressed = 0;
    showCallWindow(w, false, [&] { ++pressed; });
    EXPECT_EQ(pressed, 1);
    // With a countdown the window runs; its own timer closes it.
    QTimer::singleShot(0, &w, [&] { w.accept(); });
    showCallWindow(w, true, [&] { ++pressed; });
    EXPECT_EQ(pressed, 1);
    EXPECT_EQ(w.result(), QDialog::Accepted);
}

TEST(CallWindowBase, IsAQObjectWithItsClassName) {
    Window w;
    QObject* object = &w;
    EXPECT_EQ(qobject_cast<CallWindow*>(object), &w);
    EXPECT_NE(qobject_cast<QDialog*>(object), nullptr);
    EXPECT_STREQ(CallWindow::staticMetaObject.className(), "tlm::CallWindow");
    EXPECT_TRUE(w.inherits("tlm::CallWindow"));
}

#include "test_callwindow.moc"
