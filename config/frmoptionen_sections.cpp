// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// The controls of the options window's three sections.
#include "config/frmoptionen.h"
#include "ui/formparts.h"

#include "ui/controls.h"
#include "ui/design.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace tlm {
namespace {
using controls::label;
using formparts::ColumnStep;
using formparts::names;
using formparts::pic;
using pictures::Kind;

const QString openFolderTip = u"Doppelklick öffnet den Outlook-Ordner"_s;
const QString pickFolderTip = u"Outlook-Ordner auswählen"_s;
const QString refreshTip = u"Outlook-Kontakte jetzt einlesen"_s;

QLineEdit* folderBox(QWidget* f, const QString& name, QRect twips) {
    QLineEdit* box = controls::textBox(f, name, twips, openFolderTip);
    box->setReadOnly(true);
    return box;
}
} // namespace

void frmOptionen::buildSection1() {
    QFrame* f = addSection(1, u"lblRubrikKontakteordner"_s, u"Outlook Kontakte-Ordner"_s,
                           u"frameRubrikKontakteordner"_s, 2750);
    imgOutlook = controls::image(centralWidget(), u"imgOutlook"_s, pic(Kind::Outlook), QString(),
                                 QRect(60, 0, 300, 300));
    imgRubrik[0] = imgOutlook;
    controls::onClick(imgOutlook, [this] { subShowRubrik(1); });

    QLabel* lblFolder1 = label(f, u"lblFolder1"_s, u"Welche Ordner sollen eingebunden werden..."_s,
                               QRect(120, 80, 5000, 260));
    chkOlKontakteStandard =
        controls::checkBox(f, u"chkOlKontakteStandard"_s, QString(), QRect(120, 400, 280, 260));
    lblOlKontakteStandard = label(f, u"lblOlKontakteStandard"_s, u"&Standard-Kontakteordner"_s,
                                  QRect(420, 400, 3000, 260));
    lblOlKontakteStandard->setToolTip(u"Kontakteordner mit Doppelklick öffnen"_s);
    names(lblOlKontakteStandard, chkOlKontakteStandard, u"Standard-Kontakteordner"_s);
    controls::onDoubleClick(lblOlKontakteStandard, [this] { lblOlKontakteStandard_DblClick(); });

    listOutlookOrdner = controls::listBox(f, u"listOutlookOrdner"_s, u"Weitere Kontakteordner"_s,
                                          QRect(120, 720, 5800, 1050),
                                          u"Doppelklick öffnet den Outlook-Kontakteordner"_s);
    lblFolder1->setBuddy(listOutlookOrdner);
    connect(listOutlookOrdner, &QListWidget::itemDoubleClicked, this,
            [this] { listOutlookOrdner_DblClick(); });
    cmdOlFhinzu =
        controls::pictureButton(f, u"cmdOlFhinzu"_s, pic(Kind::FolderAdd),
                                u"Kontaktordner hinzufügen"_s, QRect(6020, 720, 480, 480));
    connect(cmdOlFhinzu, &QPushButton::clicked, this, [this] { cmdOlFhinzu_Click(); });
    cmdOlFloeschen =
        controls::pictureButton(f, u"cmdOlFloeschen"_s, pic(Kind::FolderRemove),
                                u"Kontaktordner entfernen"_s, QRect(6020, 1260, 480, 480));
    connect(cmdOlFloeschen, &QPushButton::clicked, this, [this] { cmdOlFloeschen_Click(); });

    lblFolderInterval = label(f, u"lblFolderInterval"_s, u"Aktualisierungsintervall"_s,
                              QRect(120, 1900, 3000, 260));
    controls::onDoubleClick(lblFolderInterval, [this] { lblFolderInterval_DblClick(); });
    cbxAktualiseren = controls::comboBox(f, u"cbxAktualiseren"_s, {}, QRect(120, 2200, 3700, 340));
    names(lblFolderInterval, cbxAktualiseren, u"Aktualisierungsintervall"_s);
    cmdEinlesen = controls::button(f, u"cmdEinlesen"_s, u"&Einlesen"_s,
                                   QRect(3950, 2180, 1400, 380), refreshTip);
    connect(cmdEinlesen, &QPushButton::clicked, this, [this] { cmdEinlesen_Click(); });
    imgRefreshAn = controls::image(f, u"imgRefreshAn"_s, pic(Kind::RefreshOn), refreshTip,
                                   QRect(5500, 2130, 480, 480));
    imgRefreshAus = controls::image(f, u"imgRefreshAus"_s, pic(Kind::RefreshOff), refreshTip,
                                    QRect(5500, 2130, 480, 480));
    imgRefreshAus->hide();
    controls::onClick(imgRefreshAn, [this] { cmdEinlesen_Click(); });
}

void frmOptionen::buildSection2() {
    QFrame* f = addSection(2, u"lblRubrikKontakt"_s, u"Kontakt"_s, u"frameRubrikKontakt"_s, 3280);
    imgRubrik[1] = controls::image(centralWidget(), u"imgRubrikKontakt"_s, pic(Kind::Contact),
                                   u"Kontakt"_s, QRect(60, 0, 300, 300));
    controls::onClick(imgRubrik[1], [this] { subShowRubrik(2); });

    label(f, u"lblContactView"_s, u"anzeigen bei..."_s, QRect(120, 80, 2000, 260));
    chkInContact = formparts::columnBox(f, u"lblContactIn"_s, u"ein- gehend"_s, u"chkInContact"_s,
                                        120, 380, u"Kontakt anzeigen bei eingehenden Rufen"_s);
    chkOutContact =
        formparts::columnBox(f, u"lblContactOut"_s, u"ab- gehend"_s, u"chkOutContact"_s,
                             120 + ColumnStep, 380, u"Kontakt anzeigen bei abgehenden Rufen"_s);
    cbxDisplayContact =
        controls::comboBox(f, u"cbxDisplayContact"_s, {}, QRect(1850, 560, 2700, 340));
    cbxDisplayContact->setAccessibleName(u"Position des Kontaktfensters"_s);
    QLabel* imgMon1 = controls::image(f, u"imgMon1"_s, pic(Kind::Monitor1), u"Vorschau"_s,
                                      QRect(4700, 480, 480, 480));
    controls::onDoubleClick(imgMon1, [this] { imgMon1_DblClick(); });
    imgMon2 = controls::image(f, u"imgMon2"_s, pic(Kind::Monitor2), u"Bildschirm 2"_s,
                              QRect(5250, 480, 480, 480));

    QLabel* auto1 =
        label(f, u"lblContactAutoChoice"_s, u"Auto-Auswahl bei mehreren Kontakten nach..."_s,
              QRect(120, 1260, 4250, 260));
    txtAutoAuswahl = controls::textBox(f, u"txtAutoAuswahl"_s, QRect(4450, 1220, 560, 330),
                                       u"Sekunden bis zur automatischen Kontaktauswahl"_s);
    names(auto1, txtAutoAuswahl, u"Auto-Auswahl bei mehreren Kontakten nach Sekunden"_s);
    formparts::selectAllOnFocus(txtAutoAuswahl);
    connect(txtAutoAuswahl, &QLineEdit::textChanged, this, [this] { txtAutoAuswahl_Change(); });
    connect(txtAutoAuswahl, &QLineEdit::editingFinished, this,
            [this] { txtAutoAuswahl_LostFocus(); });
    lblContactAutoChoiceSec =
        label(f, u"lblContactAutoChoiceSec"_s, u"Sekunden"_s, QRect(5100, 1260, 1200, 260));

    QLabel* end1 =
        label(f, u"lblContactEnd1"_s, u"Nach Rufende den Kontakt"_s, QRect(120, 1680, 2500, 260));
    cbxContactEnd = controls::comboBox(
        f, u"cbxContactEnd"_s,
        {u"<siehe Rubrik Journal/Kalender>"_s, u"schließen"_s, u"geöffnet lassen"_s},
        QRect(2650, 1640, 3200, 340));
    names(end1, cbxContactEnd, u"Nach Rufende den Kontakt"_s);

    label(f, u"lblNewContact"_s, u"Neuen Kontakt..."_s, QRect(120, 2120, 1600, 260));
    QLabel* with = label(f, u"lblContactAddresstype"_s, u"mit"_s, QRect(1750, 2120, 350, 260));
    cbxAdresstyp = controls::comboBox(f, u"cbxAdresstyp"_s, {u"geschäftlicher"_s, u"privater"_s},
                                      QRect(2150, 2080, 1700, 340), u"Outlook-Adresstyp"_s);
    names(with, cbxAdresstyp, u"Neuen Kontakt mit Adresse"_s);
    label(f, u"lblContactAddresstype2"_s, u"Adresse"_s, QRect(3950, 2120, 1000, 260));
    QLabel* in = label(f, u"lblOutlook1"_s, u"in"_s, QRect(120, 2520, 300, 260));
    txtContactFolder = folderBox(f, u"txtContactFolder"_s, QRect(450, 2480, 4900, 330));
    names(in, txtContactFolder, u"Ordner für neue Kontakte"_s);
    controls::onDoubleClick(txtContactFolder, [this] { txtContactFolder_DblClick(); });
    auto* pickContacts = controls::pictureButton(f, u"cmdKontaktordner"_s, pic(Kind::FolderPick),
                                                 pickFolderTip, QRect(5450, 2420, 480, 450));
    connect(pickContacts, &QPushButton::clicked, this, [this] { cmdKontaktordner_Click(); });
    chkViewCompanyname = controls::checkBox(
        f, u"chkViewCompanyname"_s, u"Firmierung im Kontaktauswahldialog anzeigen"_s,
        QRect(120, 2860, 7500, 300),
        u"Kontaktauswahldialog um die Firmenangabe des Kontakts erweitern"_s);
}

void frmOptionen::buildSection3() {
    QFrame* f = addSection(3, u"lblRubrikJournal"_s, u"Kalender oder Journal"_s,
                           u"frameRubrikJournal"_s, 4440);
    imgRubrik[2] = controls::image(centralWidget(), u"imgRubrikJournal"_s, pic(Kind::Journal),
                                   u"Journal"_s, QRect(60, 0, 300, 300));
    imgRubrikKalender = controls::image(centralWidget(), u"imgRubrikKalender"_s,
                                        pic(Kind::Calendar), u"Kalender"_s, QRect(60, 0, 300, 300));
    imgRubrikKalender->hide();
    for (QLabel* img : {imgRubrik[2], imgRubrikKalender})
        controls::onClick(img, [this] { subShowRubrik(3); });

    cmdJournalCalender = controls::button(f, u"cmdJournalCalender"_s, u"Journa&leintrag"_s,
                                          QRect(120, 80, 2000, 400),
                                          u"Umschalten zwischen Journal- bzw. Kalendermodus"_s);
    connect(cmdJournalCalender, &QPushButton::clicked, this,
            [this] { cmdJournalCalender_Click(); });
    label(f, u"lblJournalCreate"_s, u"erstellen bei.."_s, QRect(2250, 150, 1500, 260));
    chkInJournal = formparts::columnBox(f, u"lblJournalIn"_s, u"ein- gehend"_s, u"chkInJournal"_s,
                                        120, 560, u"Eintrag erstellen bei eingehenden Rufen"_s);
    chkOutJournal =
        formparts::columnBox(f, u"lblJournalOut"_s, u"ab- gehend"_s, u"chkOutJournal"_s,
                             120 + ColumnStep, 560, u"Eintrag erstellen bei abgehenden Rufen"_s);
    chkMissedJournal = formparts::columnBox(f, u"lblJournalBlock"_s, u"ver- passt"_s,
                                            u"chkMissedJournal"_s, 120 + 2 * ColumnStep, 560,
                                            u"Eintrag erstellen bei verpassten Rufen"_s);
    chkInternal =
        formparts::columnBox(f, u"lblJournalIntern"_s, u"intern"_s, u"chkInternal"_s,
                             120 + 3 * ColumnStep, 560, u"Eintrag erstellen bei internen Rufen"_s);
    controls::image(f, u"imgCheckBusy"_s, pic(Kind::Busy), u"Abwesenheit"_s,
                    QRect(5600, 600, 480, 480));

    const auto line = [&](const QString& name, const QString& text, int top, const QString& tip) {
        return controls::checkBox(f, name, text, QRect(120, top, 7500, 300), tip);
    };
    chkContactJournal =
        line(u"chkContactJournal"_s,
             u"...aber nur in Abhängigkeit der &Journal-Eigenschaft des Outlook-Kontaktes"_s, 1330,
             u"für jeden Outlook-Kontakt individuell bestimmen, ob überhaupt ein Eintrag erstellt "
             u"werden soll"_s);
    chkBusyStatus = line(
        u"chkBusyStatus"_s,
        u"...aber nicht bei Status 'Ab&wesenheit' (lt. persönlichem Outlook-Kalender)"_s, 1660,
        u"Sobald in Ihrem Kalender ein Termin mit Abwesenheit existiert findet keine Kalender- "
        u"bzw. Journaleintrag-Erstellung statt."_s);
    chkCallback = line(u"chkCallback"_s, u"und Rück&ruf-Link einfügen"_s, 1990, QString());
    chkJournalCategory =
        line(u"chkJournalCategory"_s, u"&Kategorie(n) des Kontakts übernehmen"_s, 2320, QString());

    QLabel* store = label(f, u"lblOutlook2"_s, u"ablegen in"_s, QRect(120, 2760, 1100, 260));
    txtJournalFolder = folderBox(f, u"txtJournalFolder"_s, QRect(1250, 2720, 4100, 330));
    names(store, txtJournalFolder, u"ablegen in"_s);
    controls::onDoubleClick(txtJournalFolder, [this] { txtJournalFolder_DblClick(); });
    auto* pickJournal = controls::pictureButton(f, u"cmdJournalordner"_s, pic(Kind::FolderPick),
                                                pickFolderTip, QRect(5450, 2660, 480, 450));
    connect(pickJournal, &QPushButton::clicked, this, [this] { cmdJournalordner_Click(); });

    cbxDisplayJournal =
        controls::comboBox(f, u"cbxDisplayJournal"_s, {}, QRect(1250, 3200, 2700, 340));
    cbxDisplayJournal->setAccessibleName(u"Position des Eintragsfensters"_s);
    QLabel* imgMon1b = controls::image(f, u"imgMon1b"_s, pic(Kind::Monitor1), u"Vorschau"_s,
                                       QRect(4100, 3120, 480, 480));
    controls::onDoubleClick(imgMon1b, [this] { imgMon1b_DblClick(); });
    imgMon2b = controls::image(f, u"imgMon2b"_s, pic(Kind::Monitor2), u"Bildschirm 2"_s,
                               QRect(4650, 3120, 480, 480));

    // Wide enough for the calendar wording, the longer one.
    lblJournalEnd1 = label(f, u"lblJournalEnd1"_s, u"Nach Rufende den Journaleintrag"_s,
                           QRect(120, 3700, 3400, 260));
    lblJournalEnd1->setToolTip(u"Vorgehensweise nach dem Rufende"_s);
    cbxJournalEnd = controls::comboBox(
        f, u"cbxJournalEnd"_s, {u"automatisch schließen"_s, u"schließen"_s, u"geöffnet lassen"_s},
        QRect(3600, 3660, 2700, 340));
    names(lblJournalEnd1, cbxJournalEnd, u"Nach Rufende den Eintrag"_s);
    connect(cbxJournalEnd, &QComboBox::activated, this, [this] { cbxJournalEnd_Click(); });
    lblJournalEnd2 = label(f, u"lblJournalEnd2"_s, u"nach"_s, QRect(3600, 4060, 500, 260));
    txtJournalAutoClose =
        controls::textBox(f, u"txtJournalAutoClose"_s, QRect(4100, 4020, 560, 300),
                          u"Sekunden bis zur automatischen Kontaktauswahl"_s);
    names(lblJournalEnd2, txtJournalAutoClose, u"automatisch schließen nach Sekunden"_s);
    formparts::selectAllOnFocus(txtJournalAutoClose);
    lblJournalEnd3 = label(f, u"lblJournalEnd3"_s, u"Sekunden"_s, QRect(4750, 4060, 1100, 260));
}

} // namespace tlm
