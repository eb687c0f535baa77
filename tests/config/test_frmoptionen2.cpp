// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// The second options window driven through its boxes: colour parts,
// separator, font size, the colour buttons, system colours and saving.
#include "config/colourbox.h"
#include "config/frmoptionen.h"
#include "config/frmoptionen2.h"
#include "core/run.h"
#include "platform/messagebox.h"
#include "platform/settingsstore.h"
#include "tests/support/testenv.h"
#include "tests/support/textfit.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPalette>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace tlm::test {
namespace {

class Options2 : public ::testing::Test {
protected:
    TestEnv env;
    tlm::Run run;
    std::unique_ptr<frmOptionen2> window;
    msgbox::Answer answer = msgbox::Answer::No;

    void SetUp() override {
        msgbox::setResponder(
            [this](const QString&, const QString&) { return std::optional(answer); });
    }
    void TearDown() override {
        window.reset();
        msgbox::setResponder({});
    }
    void open() {
        window = std::make_unique<frmOptionen2>(run);
        window->Form_Load();
    }
    QLineEdit* box(const char* name) {
        auto* b = window->findChild<QLineEdit*>(QString::fromLatin1(name));
        EXPECT_NE(b, nullptr) << name;
        return b;
    }
    // Types into a box as the user does and leaves it.
    void type(QLineEdit* b, const QString& text) {
        b->selectAll();
        QTest::keyClicks(b, text);
        Q_EMIT b->editingFinished();
    }
    static QString get(const QString& key) { return settingsstore::get(key, u"<fehlt>"_s); }
};

TEST_F(Options2, TheWindowsAndColourBoxesAreQObjectsOfTheirOwnClass) {
    open();
    EXPECT_STREQ(window->metaObject()->className(), "tlm::frmOptionen2");
    EXPECT_EQ(qobject_cast<frmOptionen2*>(static_cast<QObject*>(window.get())), window.get());
    const QList<ColourBox*> colours = window->findChildren<ColourBox*>();
    ASSERT_EQ(colours.size(), 4);
    EXPECT_STREQ(colours.front()->metaObject()->className(), "tlm::ColourBox");
    frmOptionen options(run);
    EXPECT_STREQ(options.metaObject()->className(), "tlm::frmOptionen");
    EXPECT_NE(qobject_cast<QMainWindow*>(static_cast<QObject*>(&options)), nullptr);
    EXPECT_EQ(qobject_cast<frmOptionen2*>(static_cast<QObject*>(&options)), nullptr);
}

TEST_F(Options2, ColourPartsFollowEachOther) {
    open();
    EXPECT_EQ(box("txtDesignfarbe")->text(), u"8947848"_s); // 0x888888
    EXPECT_EQ(box("txtRGB_1")->text(), u"136"_s);
    type(box("txtRGB_1"), u"12"_s);
    EXPECT_EQ(box("txtDesignfarbe")->text(), QString::number(12 + 136 * 256 + 136 * 65536));
    type(box("txtRGB_3"), u"300"_s);
    EXPECT_EQ(box("txtRGB_3")->text(), u"255"_s);
    EXPECT_EQ(box("txtDesignfarbe")->text(), QString::number(12 + 136 * 256 + 255 * 65536));
    type(box("txtHintergrund"), u"255"_s);
    EXPECT_EQ(box("txtRGB2_1")->text(), u"255"_s);
    EXPECT_EQ(box("txtRGB2_2")->text(), u"0"_s);
    window->findChild<QPushButton*>(u"cmdWeiss"_s)->click();
    EXPECT_EQ(box("txtDesignSchriftfarbe")->text(), u"16777215"_s);
}

TEST_F(Options2, SystemColoursShowTheirParts) {
    settingsstore::save(u"ColorBack"_s, QString::number(-2147483633)); // 0x8000000F: button face
    open();
    const QColor face = QApplication::palette().color(QPalette::Active, QPalette::Button);
    EXPECT_EQ(box("txtRGB2_1")->text(), QString::number(face.red()));
    EXPECT_EQ(box("txtRGB2_3")->text(), QString::number(face.blue()));
}

// What a person sees at the back of a check box: a pixel in its corner, away
// from box and caption.
QColor backOf(QCheckBox* box) {
    const QImage picture = box->grab().toImage();
    return picture.pixelColor(picture.width() - 1, picture.height() - 1);
}

TEST_F(Options2, CheckBoxesShowTheBackgroundColour) {
    settingsstore::save(u"ColorBack"_s, QString::number(0x3080C0)); // blue-ish 0xC08030
    open();
    window->QDialog::show();
    QStringList names;
    for (int i = 0; i < 4; ++i)
        names << u"chkFeldAusgeben_%1"_s.arg(i) << u"chkFeldLink_%1"_s.arg(i);
    names << u"chkKontaktJournal"_s << u"chkDebug"_s;
    for (const QString& name : names) {
        auto* box = window->findChild<QCheckBox*>(name);
        ASSERT_NE(box, nullptr) << name.toStdString();
        EXPECT_EQ(backOf(box), QColor(0xC0, 0x80, 0x30)) << name.toStdString();
    }
    EXPECT_EQ(tlm::test::cutLabels(window.get()), QStringList()); // and every text whole
    // The preview follows a colour typed in.
    type(box("txtHintergrund"), u"255"_s);
    EXPECT_EQ(backOf(window->findChild<QCheckBox*>(u"chkDebug"_s)), QColor(Qt::red));
}

TEST_F(Options2, StandardColoursOnlyAfterYes) {
    open();
    type(box("txtSchriftfarbe"), u"255"_s);
    window->cmdDefault_Click();
    EXPECT_EQ(box("txtSchriftfarbe")->text(), u"255"_s);
    answer = msgbox::Answer::Yes;
    window->cmdDefault_Click();
    EXPECT_EQ(box("txtDesignfarbe")->text(), u"8947848"_s);
    EXPECT_EQ(box("txtDesignSchriftfarbe")->text(), u"15790320"_s);
    EXPECT_EQ(box("txtHintergrund")->text(), u"13160660"_s);
    EXPECT_EQ(box("txtSchriftfarbe")->text(), u"0"_s);
}

TEST_F(Options2, SeparatorFontSizeAndTabStopRules) {
    open();
    auto* separator = box("txtAdressSeparator");
    auto* preview = window->findChild<QLabel*>(u"lblAdressVorschau"_s);
    separator->setText(u";"_s);
    EXPECT_EQ(separator->text(), u";"_s);
    EXPECT_TRUE(preview->text().contains(u"Musterstraße 1;12345"_s));
    separator->setText(u"x"_s);
    EXPECT_EQ(separator->text(), u","_s);
    separator->setText(u";x"_s);
    EXPECT_EQ(separator->text(), u";x"_s);

    auto* size = window->findChild<QComboBox*>(u"cbxMailFontSize"_s);
    for (const auto& [typed, kept] :
         {std::pair{u"5"_s, u"11"_s}, {u"49"_s, u"11"_s}, {u"48"_s, u"48"_s}}) {
        size->setEditText(typed);
        window->cbxMailFontSize_LostFocus();
        EXPECT_EQ(size->currentText(), kept) << typed.toStdString();
    }
    type(box("txtMailTab1"), u"16"_s);
    EXPECT_EQ(box("txtMailTab1")->text(), u"3"_s);
    type(box("txtMailTab2"), u"0"_s);
    EXPECT_EQ(box("txtMailTab2")->text(), u"8"_s);
}

TEST_F(Options2, ClosingWritesEveryKey) {
    settingsstore::save(u"ColorFont"_s, u"255"_s);
    open();
    window->findChild<QCheckBox*>(u"chkFeldAusgeben_1"_s)->click();
    EXPECT_TRUE(box("txtUserfeld_1")->isEnabled());
    EXPECT_FALSE(box("txtUserfeld_0")->isEnabled());
    box("txtUserfeld_1")->setText(u"Vertrag"_s);
    window->findChild<QCheckBox*>(u"chkFeldLink_1"_s)->click();
    EXPECT_TRUE(box("txtUserfeld_1")->font().underline());
    box("txtHintergrund")->setText(QString());       // empty: the box's own default
    box("txtDesignSchriftfarbe")->setText(u"rot"_s); // no number: the stored value stays
    box("txtLogDays")->setText(u"7,6"_s);
    window->findChild<QComboBox*>(u"cbxMaps"_s)->setCurrentIndex(0);
    window->accept();
    EXPECT_EQ(get(u"olUser2"_s), u"Vertrag"_s);
    EXPECT_EQ(get(u"olUser2Print"_s), u"1"_s);
    EXPECT_EQ(get(u"olUser2Link"_s), u"1"_s);
    EXPECT_EQ(get(u"olUser1Print"_s), u"0"_s);
    EXPECT_EQ(get(u"ColorBack"_s), u"13160660"_s);
    EXPECT_EQ(get(u"ColorFont"_s), u"255"_s);
    EXPECT_EQ(get(u"ColorBackFont"_s), u"0"_s);
    EXPECT_EQ(get(u"Maps"_s), u"0"_s);
    EXPECT_EQ(get(u"LogDays"_s), u"8"_s);
    EXPECT_EQ(get(u"MailFont"_s), u"Calibri"_s);
    EXPECT_EQ(get(u"MailFontSize"_s), u"11"_s);
    EXPECT_EQ(get(u"URLHandler"_s), u"tel://"_s);
    EXPECT_EQ(get(u"WindowOffsetIndexX"_s), u"0"_s);
}

TEST_F(Options2, EveryBoxSavesTheValueItLoadedInAFixedOrder) {
    // On an empty settings file, closing writes the keys in this order.
    const QList<std::pair<QString, QString>> stored = {{u"olUser1"_s, u"Vertrag"_s},
                                                       {u"olUser1Print"_s, u"1"_s},
                                                       {u"olUser1Link"_s, u"1"_s},
                                                       {u"olUser2"_s, u"Kundennummer"_s},
                                                       {u"olUser2Print"_s, u"0"_s},
                                                       {u"olUser2Link"_s, u"1"_s},
                                                       {u"olUser3"_s, u"Branche"_s},
                                                       {u"olUser3Print"_s, u"1"_s},
                                                       {u"olUser3Link"_s, u"0"_s},
                                                       {u"olUser4"_s, u"Region"_s},
                                                       {u"olUser4Print"_s, u"1"_s},
                                                       {u"olUser4Link"_s, u"1"_s},
                                                       {u"AddressSeparator"_s, u";"_s},
                                                       {u"Mailaddressee"_s, u"Zentrale"_s},
                                                       {u"MailFont"_s, u"Tahoma"_s},
                                                       {u"MailFontSize"_s, u"14"_s},
                                                       {u"MailTabStop1"_s, u"4"_s},
                                                       {u"MailTabStop2"_s, u"9"_s},
                                                       {u"ContactJournal"_s, u"1"_s},
                                                       {u"ColorDefault"_s, u"255"_s},
                                                       {u"ColorFont"_s, u"65280"_s},
                                                       {u"ColorBack"_s, u"16711680"_s},
                                                       {u"ColorBackFont"_s, u"8421504"_s},
                                                       {u"URLHandler"_s, u"tksuite://"_s},
                                                       {u"Maps"_s, u"0"_s},
                                                       {u"Debug"_s, u"1"_s},
                                                       {u"LogDays"_s, u"12"_s},
                                                       {u"WindowOffsetIndexX"_s, u"5"_s},
                                                       {u"WindowOffsetIndexY"_s, u"-3"_s}};
    QFile::remove(settingsstore::filePath());
    open();
    window->accept();
    QFile file(settingsstore::filePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QStringList order;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u"\r\n"_s))
        if (line.contains(u'='))
            order << line.section(u'=', 0, 0);
    QStringList expected;
    for (const auto& [key, value] : stored)
        expected << key;
    EXPECT_EQ(order, expected);

    for (const auto& [key, value] : stored)
        settingsstore::save(key, value);
    open();
    EXPECT_EQ(box("txtUserfeld_3")->text(), u"Region"_s);
    EXPECT_EQ(window->findChild<QComboBox*>(u"cbxMailFont"_s)->currentText(), u"Tahoma"_s);
    // Whatever closing does not write would keep this text.
    for (const auto& [key, value] : stored)
        settingsstore::save(key, u"alt"_s);
    window->accept();
    for (const auto& [key, value] : stored)
        EXPECT_EQ(get(key), value) << key.toStdString();
}

} // namespace
} // namespace tlm::test
