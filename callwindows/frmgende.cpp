// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "callwindows/frmgende.h"

#include "core/run.h"
#include "numbers/phonefields.h"
#include "outlook/item.h"
#include "ui/design.h"
#include "ui/pictures.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace tlm {
namespace {
constexpr int WindowWidth = 6350;
constexpr int LabelLeft = 960, LabelWidth = 5270;
} // namespace

frmGEnde::frmGEnde(const Run& run) : CallWindow(u"frmGEnde"_s), m_run(run) {
    setWindowTitle(u"Ruf beendet..."_s);
    resize(design::pixels(WindowWidth), design::pixels(2160));
    imgContact = addImage(u"imgContact"_s, pictures::drawn(pictures::Drawn::Contact), u"Kontakt"_s,
                          {120, 150, 720, 720});
    imgUnknown = addImage(u"imgUnknown"_s, pictures::drawn(pictures::Drawn::Unknown),
                          u"Unbekannter Anrufer"_s, {120, 150, 720, 720});
    lblContact = addLabel(u"lblContact"_s, u"<unbekannt>"_s, {LabelLeft, 150, LabelWidth, 360});
    lblContact->setTextFormat(Qt::PlainText);
    lblContact->setFont(QFont(u"Tahoma"_s, 9, QFont::Bold));
    lblNumber = addLabel(u"lblNumber"_s, u"<Rufnummer>"_s, {LabelLeft, 585, LabelWidth, 300});
    lblNumber->setTextFormat(Qt::PlainText);
    lblQuestion = addLabel(u"lblQuestion"_s, u"Was soll mit den Outlook-Elementen geschehen...?"_s,
                           {120, 1020, 6100, 300});
    design::place(lblCountdown, 120, 1380, 6100, 90);
    cmdClose = addButton(u"cmdClose"_s, u"&alle schließen"_s, {120, 1590, 2990, 420});
    cmdGoOn = addButton(u"cmdGoOn"_s, u"&weiter bearbeiten"_s, {3230, 1590, 2990, 420});
    cmdClose->setDefault(true);
    connect(cmdClose, &QPushButton::clicked, this, &frmGEnde::cmdClose_Click);
    connect(cmdGoOn, &QPushButton::clicked, this, &frmGEnde::cmdGoOn_Click);
    connect(timerMain, &QTimer::timeout, this, &frmGEnde::cmdClose_Click);
    connect(timerSecond, &QTimer::timeout, this, &frmGEnde::timerSecond_Timer);
    Form_Load();
}

void frmGEnde::Form_Load() {
    design::setBackground(lblCountdown, design::storedColour(design::ColorDefault));
    design::setBackground(this, design::storedColour(design::ColorBack));
    const QColor text = design::storedColour(design::ColorBackFont);
    for (QLabel* label : {lblContact, lblNumber, lblQuestion})
        design::setTextColour(label, text);
    setWindowTitle(u"Gesprächsende mit... "_s);

    imgContact->show();
    imgUnknown->hide();
    const int field = m_run.lookup.matchedField;
    ignoreErrors([&] {
        outlook::Item& contact = required(m_run.lookup.currentContact);
        const bool privateField = field == 2 || field == 3 || field == 10;
        lblContact->setText(contact.text(privateField ? u"FullName"_s : u"FullNameAndCompany"_s));
    });
    const QString suffix = field != 0 ? u" ("_s + fncPhoneFieldLabel(field) + u')' : QString();

    if (!lblContact->text().contains(u"\r\n"_s)) {
        design::place(lblContact, LabelLeft, 150, LabelWidth, 360);
        design::place(lblNumber, LabelLeft, 585, LabelWidth, 300);
    } else {
        design::place(lblContact, LabelLeft, 100, LabelWidth, 540);
        design::place(lblNumber, LabelLeft, 675, LabelWidth, 300);
    }
    lblContact->setText(lblContact->text().replace(u"\r\n"_s, u"\n"_s));
    QApplication::processEvents();
    lblNumber->setText(m_run.params[P_NUMBER] + suffix);

    m_countdown = readSettingInt(keys::AutoChoiceJournalCallEnd, 10);
    if (m_countdown == 0) {
        lblCountdown->hide();
        timerMain->stop();
        return;
    }
    lblCountdown->show();
    restart(timerMain, m_countdown * 1000);
    restart(timerSecond, 1000);
    m_seconds = 0;
    lblCountdown->resize(design::pixels(6100), lblCountdown->height());
}

void frmGEnde::timerSecond_Timer() {
    ++m_seconds;
    if (m_countdown == 0 || m_countdown == 1)
        return; // with one second the bar keeps its width
    const double full = width() - design::pixels(250);
    setBarWidth(full - (full / (m_countdown - 1)) * m_seconds);
}

void frmGEnde::cmdClose_Click() {
    m_answer = CallEndAnswer::CloseItems;
    accept();
}

void frmGEnde::cmdGoOn_Click() {
    m_answer = CallEndAnswer::KeepOpen;
    accept();
}

CallEndAnswer frmGEnde::show(const Run& run) {
    frmGEnde window(run);
    showCallWindow(window, window.countdownSeconds() != 0, [&] { window.cmdClose_Click(); });
    return window.answer();
}

} // namespace tlm
