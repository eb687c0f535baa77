// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Loading, saving and the handlers of the second options window.
#include "config/frmoptionen2.h"

#include "config/colourbox.h"
#include "core/run.h"
#include "core/settings.h"
#include "outlook/application.h"
#include "platform/error.h"
#include "platform/messagebox.h"
#include "ui/design.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace tlm {
namespace {
const QString sampleAddress = u"Musterstraße 1,12345 Musterstadt,Deutschland"_s;
const char16_t* const colourKeys[] = {u"ColorDefault", u"ColorFont", u"ColorBack",
                                      u"ColorBackFont"};

void setChecked(QCheckBox* box, const QString& key) {
    box->setChecked(integerOf(readOption(key)).value_or(0) != 0);
}
QString flag(const QCheckBox* box) {
    return box->isChecked() ? u"1"_s : u"0"_s;
}
QString whole(const QLineEdit* box) {
    return QString::number(integerOf(box->text()).value_or(0));
}
// Selects an entry by its text; a text not in the list is shown as typed
// in an editable box, else the first entry.
void selectText(QComboBox* box, const QString& text) {
    const int at = box->findText(text);
    if (at >= 0)
        box->setCurrentIndex(at);
    else if (box->isEditable())
        box->setEditText(text);
}
} // namespace

void frmOptionen2::Form_Load() {
    for (int i = 0; i < 4; ++i) {
        const QString n = QString::number(i + 1);
        txtUserfeld[i]->setText(readOption(u"olUser"_s + n));
        setChecked(chkFeldAusgeben[i], u"olUser"_s + n + u"Print"_s);
        setChecked(chkFeldLink[i], u"olUser"_s + n + u"Link"_s);
        chkFeldAusgeben_Click(i);
        chkFeldLink_Click(i);
    }
    txtMail->setText(readOption(u"Mailaddressee"_s));
    selectText(cbxMailFont, readOption(u"MailFont"_s));
    selectText(cbxMailFontSize, readOption(u"MailFontSize"_s));
    txtMailTab1->setText(readOption(u"MailTabStop1"_s));
    txtMailTab2->setText(readOption(u"MailTabStop2"_s));
    txtAdressSeparator->setText(readOption(u"AddressSeparator"_s));
    txtAdressSeparator_Change();
    selectText(cbxURLHandler, readOption(u"URLHandler"_s));
    const int maps = integerOf(readOption(u"Maps"_s)).value_or(1);
    cbxMaps->setCurrentIndex(maps >= 0 && maps < cbxMaps->count() ? maps : 1);
    setChecked(chkKontaktJournal, u"ContactJournal"_s);
    setChecked(chkDebug, u"Debug"_s);
    txtLogDays->setText(readOption(u"LogDays"_s));
    txtWindowOffsetX->setText(readOption(u"WindowOffsetIndexX"_s));
    txtWindowOffsetY->setText(readOption(u"WindowOffsetIndexY"_s));
    const bool journal = readOption(u"ModeCalendarJournal"_s) == u"Journal"_s;
    imgJournal->setVisible(journal);
    imgKalender->setVisible(!journal);
    for (int i = 0; i < 4; ++i) {
        colours[i]->box()->setText(readOption(QString::fromUtf16(colourKeys[i])));
        colours[i]->leave();
    }
}

void frmOptionen2::Form_Unload() {
    if (m_unloaded)
        return;
    m_unloaded = true;
    for (int i = 0; i < 4; ++i) {
        const QString n = QString::number(i + 1);
        saveSetting(u"olUser"_s + n, txtUserfeld[i]->text());
        saveSetting(u"olUser"_s + n + u"Print"_s, flag(chkFeldAusgeben[i]));
        saveSetting(u"olUser"_s + n + u"Link"_s, flag(chkFeldLink[i]));
    }
    saveSetting(u"AddressSeparator"_s, txtAdressSeparator->text());
    saveSetting(u"Mailaddressee"_s, txtMail->text());
    saveSetting(u"MailFont"_s, cbxMailFont->currentText());
    saveSetting(u"MailFontSize"_s, cbxMailFontSize->currentText());
    saveSetting(u"MailTabStop1"_s, txtMailTab1->text());
    saveSetting(u"MailTabStop2"_s, txtMailTab2->text());
    saveSetting(u"ContactJournal"_s, flag(chkKontaktJournal));
    // A colour box holding no number keeps the colour stored before.
    for (int i = 0; i < 4; ++i)
        if (const auto value = colours[i]->storedValue())
            saveSetting(QString::fromUtf16(colourKeys[i]), QString::number(*value));
    saveSetting(u"URLHandler"_s, cbxURLHandler->currentText());
    saveSetting(u"Maps"_s, QString::number(cbxMaps->currentIndex()));
    saveSetting(u"Debug"_s, flag(chkDebug));
    saveSetting(u"LogDays"_s, whole(txtLogDays));
    saveSetting(u"WindowOffsetIndexX"_s, whole(txtWindowOffsetX));
    saveSetting(u"WindowOffsetIndexY"_s, whole(txtWindowOffsetY));
}

void frmOptionen2::done(int result) {
    try {
        Form_Unload();
    } catch (const Error& e) {
        msgbox::show(u"Fehler: "_s + QString::number(e.number()) + u"\r\n\r\n"_s + e.description(),
                     msgbox::Buttons::Ok, msgbox::Icon::Critical, u"Tellmarin - Fehler"_s);
    }
    QDialog::done(result);
}

void frmOptionen2::show(Run& run) {
    frmOptionen2 window(run);
    window.Form_Load();
    if (msgbox::autoAnswer())
        window.accept();
    else
        window.exec();
}

void frmOptionen2::applyPreview() {
    const auto colour = [this](int i) {
        return design::fromWindowsColour(
            colours[i]->storedValue().value_or(colours[i]->defaultValue()));
    };
    design::setBackground(lblTopic1, colour(0));
    design::setBackground(lblFuss, colour(0));
    design::setTextColour(lblKopfzeile, colour(1));
    for (int i = 0; i < 4; ++i) {
        design::setBackground(chkFeldAusgeben[i], colour(2));
        design::setBackground(chkFeldLink[i], colour(2));
        design::setTextColour(chkFeldAusgeben[i], colour(3));
    }
    for (QCheckBox* box : {chkKontaktJournal, chkDebug}) {
        design::setBackground(box, colour(2));
        design::setTextColour(box, colour(3));
    }
    for (QLabel* l : m_blockLabels)
        design::setTextColour(l, colour(3));
}

void frmOptionen2::cmdMailAddressee_Click() {
    try {
        const outlook::ApplicationPtr app = outlook::attach();
        const outlook::SelectNamesDialogPtr dialog = app->Session()->GetSelectNamesDialog();
        dialog->setShowOnlyInitialAddressList(true);
        if (!dialog->Display())
            return;
        const QList<outlook::Recipient> recipients = dialog->Recipients();
        if (!recipients.isEmpty())
            txtMail->setText(recipients.front().Name);
    } catch (const Error&) {
        // no address book: the box keeps its text
    }
}

void frmOptionen2::cmdDefault_Click() {
    if (msgbox::show(u"Auf Standardwerte zurücksetzen?"_s, msgbox::Buttons::YesNo,
                     msgbox::Icon::Question, u"Tellmarin - Farben"_s, 2) != msgbox::Answer::Yes)
        return;
    for (ColourBox* c : colours)
        c->setValue(c->defaultValue());
}

void frmOptionen2::txtAdressSeparator_Change() {
    const QString text = txtAdressSeparator->text();
    if (text.isEmpty() || !QStringView(u",;/").contains(text.front())) {
        txtAdressSeparator->setText(u","_s); // runs this handler again
        return;
    }
    QString preview = sampleAddress;
    preview.replace(u","_s, text);
    lblAdressVorschau->setText(u"Vorschau: "_s + preview);
}

void frmOptionen2::cbxMailFontSize_LostFocus() {
    const auto size = decimalOf(cbxMailFontSize->currentText());
    const long rounded = size ? std::lround(*size) : 0;
    if (rounded < 6 || rounded > 48)
        cbxMailFontSize->setEditText(u"11"_s);
}

void frmOptionen2::txtMailTab_LostFocus(int which) {
    QLineEdit* box = which == 1 ? txtMailTab1 : txtMailTab2;
    const auto value = decimalOf(box->text());
    if (!value || *value < 1 || *value > 15)
        box->setText(which == 1 ? u"3"_s : u"8"_s);
}

void frmOptionen2::chkFeldAusgeben_Click(int i) {
    txtUserfeld[i]->setEnabled(chkFeldAusgeben[i]->isChecked());
}

void frmOptionen2::chkFeldLink_Click(int i) {
    const bool link = chkFeldLink[i]->isChecked();
    QPalette palette = txtUserfeld[i]->palette();
    palette.setColor(QPalette::Text, link ? QColor(0, 0, 255) : QColor(Qt::black));
    txtUserfeld[i]->setPalette(palette);
    QFont font = txtUserfeld[i]->font();
    font.setUnderline(link);
    txtUserfeld[i]->setFont(font);
}

} // namespace tlm
