// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// The controls and form pieces every window is built from: placed in twips,
// named for tests and for a screen reader.
#include "ui/controls.h"
#include "ui/design.h"
#include "ui/formparts.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace tlm;

TEST(Controls, ArePlacedInTwipsWithTheirNames) {
    QWidget window;
    const QRect twips(120, 240, 1440, 360);
    QWidget* made[] = {
        controls::label(&window, u"lblA"_s, u"Text"_s, twips),
        controls::button(&window, u"cmdA"_s, u"&OK"_s, twips, u"Bestätigen"_s),
        controls::checkBox(&window, u"chkA"_s, u"&Journal"_s, twips),
        controls::comboBox(&window, u"cbxA"_s, {u"eins"_s, u"zwei"_s}, twips),
        controls::textBox(&window, u"txtA"_s, twips),
        controls::textArea(&window, u"txtB"_s, u"Adresse"_s, twips),
        controls::listBox(&window, u"listA"_s, u"Adressart"_s, twips, u"Tipp"_s),
        controls::section(&window, u"frameA"_s, u"Anrufer"_s, twips),
    };
    for (QWidget* w : made) {
        EXPECT_EQ(w->parentWidget(), &window) << w->objectName().toStdString();
        EXPECT_EQ(w->geometry(), design::twipsRect(120, 240, 1440, 360))
            << w->objectName().toStdString();
        EXPECT_EQ(window.findChild<QWidget*>(w->objectName()), w);
    }
    EXPECT_EQ(design::twipsRect(0, 0, 1440, 720).size(),
              QSize(design::pixels(1440), design::pixels(720)));
    EXPECT_EQ(window.findChild<QPushButton*>(u"cmdA"_s)->toolTip(), u"Bestätigen"_s);
    EXPECT_EQ(window.findChild<QListWidget*>(u"listA"_s)->accessibleName(), u"Adressart"_s);
    EXPECT_EQ(window.findChild<QListWidget*>(u"listA"_s)->toolTip(), u"Tipp"_s);
    EXPECT_EQ(window.findChild<QFrame*>(u"frameA"_s)->accessibleName(), u"Anrufer"_s);
    auto* area = window.findChild<QPlainTextEdit*>(u"txtB"_s);
    EXPECT_EQ(area->accessibleName(), u"Adresse"_s);
    EXPECT_TRUE(area->isReadOnly());
    EXPECT_FALSE(controls::textArea(&window, u"txtC"_s, u"Notiz"_s, twips, false)->isReadOnly());
    // No control speaks its object name.
    for (QWidget* w : made)
        EXPECT_NE(w->accessibleName(), w->objectName());
}

TEST(Controls, PicturesSpeakTheirToolTip) {
    QWidget window;
    QPixmap picture(16, 16);
    picture.fill(Qt::red);
    QLabel* image = controls::image(&window, u"imgA"_s, picture, u"Kontakt"_s, {0, 0, 480, 480});
    EXPECT_EQ(image->accessibleName(), u"Kontakt"_s);
    EXPECT_EQ(image->toolTip(), u"Kontakt"_s);
    EXPECT_FALSE(image->pixmap().isNull());
    QPushButton* button = controls::pictureButton(&window, u"cmdA"_s, picture,
                                                  u"Ordner hinzufügen"_s, {0, 0, 480, 480});
    EXPECT_EQ(button->accessibleName(), u"Ordner hinzufügen"_s);
    EXPECT_TRUE(button->text().isEmpty());
    EXPECT_FALSE(button->icon().isNull());
}

TEST(Controls, ClickHandlersRunForTheLeftButtonOnly) {
    QLabel label;
    int clicks = 0;
    int doubleClicks = 0;
    controls::onClick(&label, [&] { ++clicks; });
    controls::onDoubleClick(&label, [&] { ++doubleClicks; });
    const auto send = [&](QEvent::Type type, Qt::MouseButton button) {
        QMouseEvent event(type, QPointF(1, 1), QPointF(1, 1), button, button, Qt::NoModifier);
        QApplication::sendEvent(&label, &event);
    };
    send(QEvent::MouseButtonPress, Qt::LeftButton);
    send(QEvent::MouseButtonPress, Qt::RightButton);
    send(QEvent::MouseButtonRelease, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(doubleClicks, 0);
    send(QEvent::MouseButtonDblClick, Qt::LeftButton);
    send(QEvent::MouseButtonDblClick, Qt::RightButton);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(doubleClicks, 1);
}

TEST(FormParts, ALabelNamesItsControl) {
    QWidget window;
    QLabel* label = controls::label(&window, u"lblA"_s, u"&Ort"_s, {0, 0, 900, 260});
    QLineEdit* box = controls::textBox(&window, u"txtA"_s, {900, 0, 900, 260});
    formparts::names(label, box, u"Ort"_s);
    EXPECT_EQ(label->buddy(), box);
    EXPECT_EQ(box->accessibleName(), u"Ort"_s);

    QCheckBox* column = formparts::columnBox(&window, u"lblIn"_s, u"ein- gehend"_s, u"chkIn"_s,
                                             1200, 300, u"Eingehende Anrufe"_s);
    auto* caption = window.findChild<QLabel*>(u"lblIn"_s);
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->buddy(), column);
    EXPECT_EQ(column->accessibleName(), u"Eingehende Anrufe"_s);
    EXPECT_TRUE(column->text().isEmpty());
    // The box sits centred under its caption.
    EXPECT_NEAR(column->geometry().center().x(), caption->geometry().center().x(), 1);
    EXPECT_GT(column->y(), caption->y());
}

TEST(FormParts, AListShowsWholeRowsOnly) {
    QWidget window;
    QListWidget* list = controls::listBox(&window, u"listA"_s, u"Liste"_s, {0, 0, 2000, 1000});
    list->resize(list->width(), 0);
    formparts::showWholeRows(list); // without rows it stays as it is
    EXPECT_EQ(list->height(), 0);
    for (const char* entry : {"eins", "zwei", "drei", "vier", "fünf", "sechs"})
        list->addItem(QString::fromUtf8(entry));
    const int row = list->sizeHintForRow(0);
    const int frame = 2 * list->frameWidth();
    ASSERT_GT(row, 0);
    list->resize(list->width(), frame + 2 * row + row / 2); // two and a half rows
    formparts::showWholeRows(list);
    EXPECT_EQ(list->height(), frame + 2 * row);
    list->resize(list->width(), frame + row / 2); // less than one: one row stays
    formparts::showWholeRows(list);
    EXPECT_EQ(list->height(), frame + row);
}
