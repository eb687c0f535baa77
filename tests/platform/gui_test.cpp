// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Qt's own texts in German, and the platform notices kept out of the output.
#include "platform/gui.h"
#include "platform/qtnotices.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace tlm {
namespace {

QString plain(QString text) {
    return text.remove(u'&');
}

// Loads the translation for one test and takes it out again, so that the
// other tests of this program see Qt's texts as they were.
class QtTranslation : public ::testing::Test {
protected:
    void SetUp() override {
        const QString file =
            QLibraryInfo::path(QLibraryInfo::TranslationsPath) + u"/qtbase_de.qm"_s;
        if (!QFile::exists(file))
            GTEST_SKIP() << "no Qt translation at " << file.toStdString();
        ASSERT_TRUE(gui::loadQtTranslation());
    }
    void TearDown() override {
        for (QTranslator* t : QCoreApplication::instance()->findChildren<QTranslator*>(
                 QString(), Qt::FindDirectChildrenOnly)) {
            QCoreApplication::removeTranslator(t);
            delete t;
        }
    }
};

TEST_F(QtTranslation, MessageBoxesAndButtonBoxesSpeakGerman) {
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Ok |
                           QMessageBox::Cancel);
    EXPECT_EQ(plain(box.button(QMessageBox::Yes)->text()), u"Ja"_s);
    EXPECT_EQ(plain(box.button(QMessageBox::No)->text()), u"Nein"_s);
    EXPECT_EQ(plain(box.button(QMessageBox::Ok)->text()), u"OK"_s);
    EXPECT_EQ(plain(box.button(QMessageBox::Cancel)->text()), u"Abbrechen"_s);

    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    EXPECT_EQ(plain(buttons.button(QDialogButtonBox::Cancel)->text()), u"Abbrechen"_s);
}

TEST_F(QtTranslation, TheFileDialogSpeaksGerman) {
    QFileDialog dialog(nullptr, u"Datei öffnen"_s);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    auto* lookIn = dialog.findChild<QLabel*>(u"lookInLabel"_s);
    auto* fileName = dialog.findChild<QLabel*>(u"fileNameLabel"_s);
    auto* buttons = dialog.findChild<QDialogButtonBox*>(u"buttonBox"_s);
    ASSERT_TRUE(lookIn && fileName && buttons);
    EXPECT_EQ(plain(lookIn->text()), u"Suchen in:"_s);
    EXPECT_EQ(plain(fileName->text()), u"Dateiname:"_s);
    EXPECT_EQ(plain(buttons->button(QDialogButtonBox::Open)->text()), u"Öffnen"_s);
}

QStringList& seen() {
    static QStringList messages;
    return messages;
}

void remember(QtMsgType, const QMessageLogContext&, const QString& message) {
    seen() << message;
}

TEST(PlatformNotices, TheFilterHandsEveryOtherMessageOn) {
    const QtMessageHandler before = qInstallMessageHandler(remember);
    gui::filterPlatformNotices();
    qWarning("This plugin does not support raise()");
    qWarning("Datei nicht gefunden");
    qCritical("This plugin does not support raise()");
    qInstallMessageHandler(before);
    EXPECT_EQ(seen(),
              QStringList({u"Datei nicht gefunden"_s, u"This plugin does not support raise()"_s}));
}

} // namespace
} // namespace tlm
