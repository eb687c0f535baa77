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
#include "platform/settingsstore.h"
#include "ui/design.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace tlm {
namespace {
const QString sampleAddress = u"Musterstraße 1,12345 Musterstadt,Deutschland"_s;

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

enum class frmOptionen2::FieldKind {
    Text,   // a text box: its text
    Whole,  // a text box: its text, saved as a whole number (0 for other text)
    Flag,   // a check box: 1 or 0 (a stored value that is no number reads as 0)
    Choice, // a list box: the text of its entry
    Maps,   // the map provider: the index of its entry (a bad one reads as Google)
    Colour, // a colour box: its number; one that is no number keeps the stored colour
    OptIn,  // a check box of an opt-in setting: as Flag, but written only once it is
            // ticked or stored, so the settings stay as they were until it is used
};

std::span<const frmOptionen2::Field> frmOptionen2::fields() {
    using enum FieldKind;
    static constexpr Field table[] = {
        {"txtUserfeld_0", keys::olUser1, Text},
        {"chkFeldAusgeben_0", keys::olUser1Print, Flag},
        {"chkFeldLink_0", keys::olUser1Link, Flag},
        {"txtUserfeld_1", keys::olUser2, Text},
        {"chkFeldAusgeben_1", keys::olUser2Print, Flag},
        {"chkFeldLink_1", keys::olUser2Link, Flag},
        {"txtUserfeld_2", keys::olUser3, Text},
        {"chkFeldAusgeben_2", keys::olUser3Print, Flag},
        {"chkFeldLink_2", keys::olUser3Link, Flag},
        {"txtUserfeld_3", keys::olUser4, Text},
        {"chkFeldAusgeben_3", keys::olUser4Print, Flag},
        {"chkFeldLink_3", keys::olUser4Link, Flag},
        {"txtAdressSeparator", keys::AddressSeparator, Text},
        {"txtMail", keys::Mailaddressee, Text},
        {"cbxMailFont", keys::MailFont, Choice},
        {"cbxMailFontSize", keys::MailFontSize, Choice},
        {"txtMailTab1", keys::MailTabStop1, Text},
        {"txtMailTab2", keys::MailTabStop2, Text},
        {"chkKontaktJournal", keys::ContactJournal, Flag},
        {"txtDesignfarbe", keys::ColorDefault, Colour},
        {"txtDesignSchriftfarbe", keys::ColorFont, Colour},
        {"txtHintergrund", keys::ColorBack, Colour},
        {"txtSchriftfarbe", keys::ColorBackFont, Colour},
        {"cbxURLHandler", keys::URLHandler, Choice},
        {"cbxMaps", keys::Maps, Maps},
        {"chkDebug", keys::Debug, Flag},
        {"txtLogDays", keys::LogDays, Whole},
        {"txtWindowOffsetX", keys::WindowOffsetIndexX, Whole},
        {"txtWindowOffsetY", keys::WindowOffsetIndexY, Whole},
        {"chkDurchwahlenZentrale", keys::CompanyFallback, OptIn},
    };
    return table;
}

ColourBox* frmOptionen2::colourOf(const char* box) const {
    const QLineEdit* edit = fieldControl<QLineEdit>(this, box);
    for (ColourBox* colour : colours)
        if (colour->box() == edit)
            return colour;
    throw std::logic_error(std::string("no colour box: ") + box);
}

void frmOptionen2::loadField(const Field& field) {
    const QString value = readOption(field.key);
    switch (field.kind) {
    case FieldKind::Text:
    case FieldKind::Whole:
        fieldControl<QLineEdit>(this, field.control)->setText(value);
        break;
    case FieldKind::Flag:
    case FieldKind::OptIn:
        fieldControl<QCheckBox>(this, field.control)->setChecked(integerOf(value).value_or(0) != 0);
        break;
    case FieldKind::Choice:
        selectText(fieldControl<QComboBox>(this, field.control), value);
        break;
    case FieldKind::Maps: {
        auto* box = fieldControl<QComboBox>(this, field.control);
        const int maps = integerOf(value).value_or(1);
        box->setCurrentIndex(maps >= 0 && maps < box->count() ? maps : 1);
        break;
    }
    case FieldKind::Colour: {
        ColourBox* colour = colourOf(field.control);
        colour->box()->setText(value);
        colour->leave();
        break;
    }
    }
}

void frmOptionen2::saveField(const Field& field) {
    switch (field.kind) {
    case FieldKind::Text:
        saveSetting(field.key, fieldControl<QLineEdit>(this, field.control)->text());
        break;
    case FieldKind::Whole:
        saveSetting(field.key, whole(fieldControl<QLineEdit>(this, field.control)));
        break;
    case FieldKind::Flag:
        saveSetting(field.key, flag(fieldControl<QCheckBox>(this, field.control)));
        break;
    case FieldKind::OptIn: {
        const QCheckBox* box = fieldControl<QCheckBox>(this, field.control);
        if (box->isChecked() || settingsstore::contains(KeyName(field.key).text()))
            saveSetting(field.key, flag(box));
        break;
    }
    case FieldKind::Choice:
        saveSetting(field.key, fieldControl<QComboBox>(this, field.control)->currentText());
        break;
    case FieldKind::Maps:
        saveSetting(field.key,
                    QString::number(fieldControl<QComboBox>(this, field.control)->currentIndex()));
        break;
    case FieldKind::Colour:
        if (const auto value = colourOf(field.control)->storedValue())
            saveSetting(field.key, QString::number(*value));
        break;
    }
}

void frmOptionen2::Form_Load() {
    for (const Field& field : fields())
        loadField(field);
    for (int i = 0; i < 4; ++i) {
        chkFeldAusgeben_Click(i);
        chkFeldLink_Click(i);
    }
    txtAdressSeparator_Change();
    const bool journal = readOption(keys::ModeCalendarJournal) == u"Journal"_s;
    imgJournal->setVisible(journal);
    imgKalender->setVisible(!journal);
}

void frmOptionen2::Form_Unload() {
    if (m_unloaded)
        return;
    m_unloaded = true;
    for (const Field& field : fields())
        saveField(field);
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
    for (QCheckBox* box : {chkKontaktJournal, chkDebug, chkDurchwahlenZentrale}) {
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
