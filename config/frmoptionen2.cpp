// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/frmoptionen2.h"

#include "config/colourbox.h"
#include "core/run.h"
#include "core/settings.h"
#include "outlook/application.h"
#include "platform/messagebox.h"
#include "ui/controls.h"
#include "ui/design.h"
#include "ui/formparts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace tlm {
namespace {
using controls::label;
using formparts::names;

constexpr int Width = 8400;
constexpr int FieldLeft = 1900;
struct ColourSpec {
    const char16_t* box;
    const char16_t* parts;
    const char16_t* label;
    int standard;
};
const ColourSpec colourSpecs[] = {
    {u"txtDesignfarbe", u"txtRGB", u"Designfarbe", 8947848},
    {u"txtDesignSchriftfarbe", u"txtRGB1", u"Design-Schriftfarbe", 15790320},
    {u"txtHintergrund", u"txtRGB2", u"Hintergrundfarbe", 13160660},
    {u"txtSchriftfarbe", u"txtRGB3", u"Schriftfarbe", 0}};

} // namespace

frmOptionen2::frmOptionen2(Run& run) : m_run(run) {
    setObjectName(u"frmOptionen2"_s);
    setWindowTitle(u"Tellmarin "_s + run.env.programVersion);
    lblTopic1 = label(this, u"lblTopic1"_s, QString(), QRect(0, 0, Width, 560));
    lblKopfzeile =
        label(this, u"lblKopfzeile"_s, u"sonstige Einstellungen"_s, QRect(120, 100, 5000, 360));
    QFont big = lblKopfzeile->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    lblKopfzeile->setFont(big);
    imgJournal = controls::image(this, u"imgJournal"_s, formparts::pic(pictures::Kind::Journal),
                                 u"Journal"_s, QRect(Width - 600, 40, 480, 480));
    imgKalender = controls::image(this, u"imgKalender"_s, formparts::pic(pictures::Kind::Calendar),
                                  u"Kalender"_s, QRect(Width - 600, 40, 480, 480));
    buildUserFields();
    buildItemDefaults();
    buildSystem();
    buildColours();
    lblFuss = label(this, u"lblFuss"_s, QString(), QRect(0, 9800, Width, 620));
    auto* cmdOk =
        controls::button(this, u"cmdOk"_s, u"Schließen"_s, QRect(Width - 1450, 9910, 1300, 400));
    connect(cmdOk, &QPushButton::clicked, this, &QDialog::accept);
    cmdOk->raise();
    setFixedSize(design::pixels(Width), design::pixels(10420));
}

void frmOptionen2::buildUserFields() {
    m_blockLabels.append(label(this, u"lblElementerstellung"_s,
                               u"Parameter für Elementerstellung"_s, QRect(120, 700, 6000, 280)));
    const std::pair<const char16_t*, int> columns[] = {
        {u"ausgeben", 120}, {u"Feld-Beschriftung", FieldLeft + 200}, {u"als Link", 5300}};
    for (int c = 0; c < 3; ++c)
        m_blockLabels.append(label(this, u"lblParameter_"_s + QString::number(c),
                                   QString::fromUtf16(columns[c].first),
                                   QRect(columns[c].second, 980, 1700, 260)));
    for (int i = 0; i < 4; ++i) {
        const int top = 1260 + i * 380;
        const QString n = QString::number(i + 1);
        const QString caption = u"Benutzerfeld &"_s + n;
        chkFeldAusgeben[i] = controls::checkBox(this, u"chkFeldAusgeben_"_s + QString::number(i),
                                                caption, QRect(120, top, 1700, 300),
                                                u"\"Benutzerfeld "_s + n + u"\" in Outlook"_s);
        txtUserfeld[i] = controls::textBox(this, u"txtUserfeld_"_s + QString::number(i),
                                           QRect(FieldLeft + 200, top, 3000, 320));
        txtUserfeld[i]->setAccessibleName(u"Feld-Beschriftung Benutzerfeld "_s + n);
        chkFeldLink[i] =
            controls::checkBox(this, u"chkFeldLink_"_s + QString::number(i), QString(),
                               QRect(5300, top, 300, 300), u"Feldinhalt als Hyperlink ausgeben"_s);
        chkFeldLink[i]->setAccessibleName(u"Benutzerfeld "_s + n + u" als Link"_s);
        connect(chkFeldAusgeben[i], &QCheckBox::clicked, this,
                [this, i] { chkFeldAusgeben_Click(i); });
        connect(chkFeldLink[i], &QCheckBox::clicked, this, [this, i] { chkFeldLink_Click(i); });
    }
}

void frmOptionen2::buildItemDefaults() {
    m_blockLabels.append(label(this, u"lblMail"_s, u"Standardparameter für Outlook-Elemente"_s,
                               QRect(120, 2900, 6000, 280)));
    const auto row = [this](const QString& name, const QString& text, int top, QWidget* control) {
        QLabel* l = label(this, name, text, QRect(120, top + 40, FieldLeft - 200, 260));
        names(l, control, text);
    };
    txtMail = controls::textBox(this, u"txtMail"_s, QRect(FieldLeft, 3200, 3600, 330));
    row(u"lblEmpfaenger"_s, u"Empfänger"_s, 3200, txtMail);
    auto* pick =
        controls::button(this, u"cmdMailAddressee"_s, u"..."_s, QRect(5550, 3180, 450, 370),
                         u"Empfänger aus dem Adressbuch wählen"_s);
    pick->setAccessibleName(u"Empfänger aus dem Adressbuch wählen"_s);
    connect(pick, &QPushButton::clicked, this, [this] { cmdMailAddressee_Click(); });

    cbxMailFont = controls::comboBox(
        this, u"cbxMailFont"_s,
        {u"Arial"_s, u"Calibri"_s, u"Consolas"_s, u"New Times Roman"_s, u"Tahoma"_s},
        QRect(FieldLeft, 3600, 2200, 340));
    row(u"lblSchriftart"_s, u"Schriftart"_s, 3600, cbxMailFont);
    cbxMailFontSize = controls::comboBox(
        this, u"cbxMailFontSize"_s,
        {u"6"_s, u"7"_s, u"8"_s, u"9"_s, u"10"_s, u"11"_s, u"12"_s, u"14"_s, u"16"_s, u"18"_s},
        QRect(4200, 3600, 900, 340));
    cbxMailFontSize->setEditable(true);
    cbxMailFontSize->setAccessibleName(u"Schriftgröße"_s);
    connect(cbxMailFontSize->lineEdit(), &QLineEdit::editingFinished, this,
            [this] { cbxMailFontSize_LostFocus(); });

    txtMailTab1 = controls::textBox(this, u"txtMailTab1"_s, QRect(FieldLeft, 4000, 600, 330));
    row(u"lblTabStopps"_s, u"TabStopps"_s, 4000, txtMailTab1);
    txtMailTab2 = controls::textBox(this, u"txtMailTab2"_s, QRect(FieldLeft + 700, 4000, 600, 330));
    txtMailTab2->setAccessibleName(u"zweiter TabStopp"_s);
    connect(txtMailTab1, &QLineEdit::editingFinished, this, [this] { txtMailTab_LostFocus(1); });
    connect(txtMailTab2, &QLineEdit::editingFinished, this, [this] { txtMailTab_LostFocus(2); });

    txtAdressSeparator =
        controls::textBox(this, u"txtAdressSeparator"_s, QRect(FieldLeft, 4400, 600, 330),
                          u"zulässige Zeichen: , ; /"_s);
    row(u"lblAdressSeparator"_s, u"Adress-Separator"_s, 4400, txtAdressSeparator);
    connect(txtAdressSeparator, &QLineEdit::textChanged, this,
            [this] { txtAdressSeparator_Change(); });
    lblAdressVorschau =
        label(this, u"lblAdressVorschau"_s, QString(), QRect(FieldLeft + 700, 4440, 5700, 260));
    lblAdressVorschau->setToolTip(u"fiktive Adresse und dient nur als Beispiel"_s);

    cbxURLHandler = controls::comboBox(this, u"cbxURLHandler"_s, {u"tel://"_s, u"tksuite://"_s},
                                       QRect(FieldLeft, 4800, 2200, 340));
    row(u"lblURLHandler"_s, u"URL-Handler"_s, 4800, cbxURLHandler);
    cbxMaps = controls::comboBox(this, u"cbxMaps"_s, {u"Microsoft Bing"_s, u"Google Maps"_s},
                                 QRect(FieldLeft, 5200, 2200, 340));
    row(u"lblKartenanbieter"_s, u"Kartenanbieter"_s, 5200, cbxMaps);

    m_blockLabels.append(label(this, u"lblKontaktparameter"_s,
                               u"Standardparameter bei Kontakt-Elementerstellung"_s,
                               QRect(120, 5700, 6000, 280)));
    chkKontaktJournal =
        controls::checkBox(this, u"chkKontaktJournal"_s, u"&Journal-Eigenschaft setzen"_s,
                           QRect(120, 6000, 5000, 300));
}

void frmOptionen2::buildSystem() {
    m_blockLabels.append(label(this, u"lblSystem"_s, u"System"_s, QRect(120, 6450, 3000, 280)));
    chkDebug = controls::checkBox(this, u"chkDebug"_s, u"Debu&g-Protokolle"_s,
                                  QRect(120, 6750, 3000, 300), u"Debug-Protokoll aktivieren"_s);
    // In the free space of the block's heading line, so that no other
    // control of the window moves.
    chkDurchwahlenZentrale = controls::checkBox(
        this, u"chkDurchwahlenZentrale"_s, u"Durchwahlen über die Zentrale der Firma zuordnen"_s,
        QRect(3200, 6440, Width - 3260, 300),
        u"Anrufer, deren Rufnummer nicht im Index steht, über die Zentrale ihrer Firma finden"_s);
    const auto field = [this](const QString& name, const QString& labelName, const QString& text,
                              QRect at, const QString& tip) {
        QLabel* l = label(this, labelName, text, QRect(at.x() - 1500, at.y() + 40, 1450, 260));
        QLineEdit* box = controls::textBox(this, name, at, tip);
        names(l, box, text);
        l->setToolTip(tip);
        formparts::selectAllOnFocus(box);
        return box;
    };
    const QString offsetTip = u"Positionskorrektur des Fensters \"Indexaktualisierung\""_s;
    txtLogDays = field(u"txtLogDays"_s, u"lblLogDays"_s, u"Tage vorhalten"_s,
                       QRect(5400, 6750, 700, 330), u"erweiterte Rufinformationen aufbewahren"_s);
    txtWindowOffsetX = field(u"txtWindowOffsetX"_s, u"lblWindowOffsetX"_s, u"X-Offset"_s,
                             QRect(1700, 7150, 800, 330), offsetTip);
    txtWindowOffsetY = field(u"txtWindowOffsetY"_s, u"lblWindowOffsetY"_s, u"Y-Offset"_s,
                             QRect(4200, 7150, 800, 330), offsetTip);
    for (QLineEdit* box : {txtMail, txtMailTab1, txtMailTab2, txtAdressSeparator})
        formparts::selectAllOnFocus(box);
    for (QLineEdit* box : txtUserfeld)
        formparts::selectAllOnFocus(box);
}

void frmOptionen2::buildColours() {
    m_blockLabels.append(label(this, u"lblFarben"_s, u"Farben"_s, QRect(120, 7650, 3000, 280)));
    for (int i = 0; i < 4; ++i) {
        const ColourSpec& c = colourSpecs[i];
        colours[i] = new ColourBox(this, QString::fromUtf16(c.box), QString::fromUtf16(c.parts),
                                   QString::fromUtf16(c.label), c.standard, 120, 7950 + i * 420);
        colours[i]->applied = [this](int) { applyPreview(); };
    }
    const struct {
        const char16_t* name;
        const char16_t* text;
        int colour;
        int value;
    } buttons[] = {{u"cmdSchwarz", u"Schwarz", 1, 0},
                   {u"cmdWeiss", u"Weiß", 1, 16777215},
                   {u"cmdGrau", u"Grau", 2, 13160660},
                   {u"cmdSchwarz2", u"Schwarz", 3, 0},
                   {u"cmdWeiss2", u"Weiß", 3, 16777215}};
    int column[4] = {0, 0, 0, 0};
    for (const auto& b : buttons) {
        const int left = 5000 + column[b.colour]++ * 1050;
        auto* button =
            controls::button(this, QString::fromUtf16(b.name), QString::fromUtf16(b.text),
                             QRect(left, 7945 + b.colour * 420, 1000, 340));
        button->setAccessibleName(QString::fromUtf16(colourSpecs[b.colour].label) + u": "_s +
                                  button->text());
        ColourBox* box = colours[b.colour];
        const int value = b.value;
        connect(button, &QPushButton::clicked, this, [box, value] { box->setValue(value); });
    }
    auto* standard =
        controls::button(this, u"cmdDefault"_s, u"Standard"_s, QRect(Width - 1350, 7640, 1200, 360),
                         u"Farben auf Standardwerte zurücksetzen"_s);
    connect(standard, &QPushButton::clicked, this, [this] { cmdDefault_Click(); });
}

} // namespace tlm
