// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "callwindows/frmgefunden.h"

#include "callwindows/design.h"
#include "core/calldialogs.h"
#include "core/callfile.h"
#include "core/run.h"
#include "outlook/application.h"
#include "outlook/item.h"
#include "platform/clock.h"
#include "platform/error.h"
#include "platform/inifile.h"
#include "platform/processlock.h"
#include "platform/texts.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace tlm {
namespace {
// The found-contact list's fixed layout.
constexpr int DisplayWidth = 150;
constexpr int FieldAt = 150;
constexpr int EntryIdAt = 153;
constexpr int ListLeft = 120, ListWidth = 6005;
} // namespace

frmGefunden::frmGefunden(Run& run) : CallWindow(u"frmGefunden"_s), m_run(run) {
    setWindowTitle(u"Kontaktauswahl"_s);
    resize(design::pixels(6245), design::pixels(4350));
    lblTopic = addLabel(u"lblTopic"_s, QString(), {0, 0, 6245, 1000});
    lblTopic->setFont(QFont(u"MS Sans Serif"_s, 8));
    addImage(u"imgContacts"_s, u":/callwindows/contacts.png"_s, u"Mehrere Kontakte"_s,
             {120, 140, 720, 720});
    lblTitel =
        addLabel(u"lblTitel"_s,
                 u"Es exisitieren mehrere Kontakte zu dieser Ruf- nummer.  Mit wem sprechen Sie?"_s,
                 {960, 140, 5165, 720});
    lblTitel->setWordWrap(true);
    lblTitel->setFont(QFont(u"Tahoma"_s, 9, QFont::Bold));
    listGefunden = new QListWidget(this);
    listGefunden->setObjectName(u"listGefunden"_s);
    listGefunden->setAccessibleName(u"Gefundene Kontakte"_s);
    design::place(listGefunden, ListLeft, 1120, ListWidth, 2300);
    lblTitel->setBuddy(listGefunden);
    design::place(lblCountdown, ListLeft, 3480, ListWidth, 90);
    cmdAbbruch = addButton(u"cmdAbbruch"_s, u"Abbrechen"_s, {120, 3720, 1710, 420});
    cmdPause = addButton(u"cmdPause"_s, u"&Stopp"_s, {1950, 3720, 1030, 420});
    cmdOK = addButton(u"cmdOK"_s, u"&Auswählen"_s, {3100, 3720, 3025, 420});
    cmdOK->setDefault(true);

    connect(cmdOK, &QPushButton::clicked, this, &frmGefunden::cmdOK_Click);
    connect(cmdAbbruch, &QPushButton::clicked, this, &frmGefunden::cmdAbbruch_Click);
    connect(cmdPause, &QPushButton::clicked, this, &frmGefunden::cmdPause_Click);
    connect(listGefunden, &QListWidget::itemClicked, this, &frmGefunden::listGefunden_Click);
    connect(listGefunden, &QListWidget::itemDoubleClicked, this, &frmGefunden::cmdOK_Click);
    connect(timerMain, &QTimer::timeout, this, &frmGefunden::timerMain_Timer);
    connect(timerSecond, &QTimer::timeout, this, &frmGefunden::timerSecond_Timer);
    Form_Load();
}

frmGefunden::~frmGefunden() {
    Form_Unload();
}

QString frmGefunden::favouritesFile() const {
    return m_run.env.workFolder + u"tlmOlfav.ini"_s;
}

QString frmGefunden::selectedLine() const {
    const QListWidgetItem* item = listGefunden->currentItem();
    return item && item->isSelected() ? item->data(Qt::UserRole).toString() : QString();
}

void frmGefunden::Form_Load() {
    Log& log = m_run.log;
    const QString number = m_run.params[P_NUMBER];
    log.subLog(u"Dialog 'Kontaktauswahl' anzeigen"_s, 80000);
    ignoreErrors([&] { m_lock = std::make_unique<processlock::Holder>(choiceLockPath(m_run)); });
    ignoreErrors([&] {
        subIniWrite(callFilePath(m_run), u"Program"_s, u"ContactChoiceDialogue"_s,
                    texts::dateTime(clock::now()));
    });
    setWindowTitle(u"Gespräch mit "_s + number);
    design::setBackground(this, design::colourSetting(keys::ColorBack));
    design::setBackground(lblTopic, design::colourSetting(keys::ColorDefault));
    design::setBackground(lblCountdown, lblTopic->palette().color(QPalette::Window));
    design::setTextColour(lblTitel, design::colourSetting(keys::ColorFont));

    const QStringList& found = m_run.lookup.foundList;
    log.subLog(u"...Auswahlliste mit gefunden Outlook-Kontakten füllen ("_s +
                   QString::number(found.size()) + u" Einträge)"_s,
               80010);
    for (const QString& line : found) {
        auto* item = new QListWidgetItem(line.left(DisplayWidth).trimmed(), listGefunden);
        item->setData(Qt::UserRole, line);
    }
    if (listGefunden->count() > 0)
        listGefunden->setCurrentRow(0);

    log.subLog(u"...Favoriten einlesen"_s, 80020);
    QString favourite;
    ignoreErrors([&] { favourite = ini::read(favouritesFile(), u"Favoriten"_s, number); });
    for (int i = 0; !favourite.isEmpty() && i < listGefunden->count(); ++i) {
        if (listGefunden->item(i)->data(Qt::UserRole).toString().mid(EntryIdAt) == favourite) {
            listGefunden->setCurrentRow(i);
            log.subLog(u"...Favorit gefunden"_s, 80021);
            break;
        }
    }

    const int seconds = m_run.settings.AutoChoice;
    lblCountdown->setVisible(seconds != 0);
    cmdPause->setVisible(seconds != 0);
    if (seconds != 0) {
        lblCountdown->resize(listGefunden->width(), lblCountdown->height());
        design::place(cmdOK, 3100, 3720, 3025, 420);
        restart(timerMain, seconds * 1000);
        m_seconds = 0;
    } else {
        design::place(cmdOK, 1950, 3720, 4175, 420);
        timerMain->stop();
    }
    timerSecond->start();
    QApplication::beep();
}

void frmGefunden::timerSecond_Timer() {
    ++m_seconds;
    const int seconds = m_run.settings.AutoChoice;
    if (seconds != 0) {
        const double full = listGefunden->width();
        setBarWidth(full - (full / seconds) * m_seconds);
    }
}

void frmGefunden::timerMain_Timer() {
    if (listGefunden->count() == 0)
        return;
    if (selectedLine().isEmpty())
        listGefunden->setCurrentRow(0);
    cmdOK_Click();
}

void frmGefunden::restartCountdown() {
    timerMain->stop();
    const int seconds = m_run.settings.AutoChoice;
    if (seconds > 0) {
        restart(timerMain, seconds * 1000);
        m_seconds = 0;
        lblCountdown->resize(listGefunden->width(), lblCountdown->height());
    }
}

void frmGefunden::listGefunden_Click() {
    if (!selectedLine().isEmpty())
        cmdOK->setEnabled(true);
    restartCountdown();
}

void frmGefunden::cmdPause_Click() {
    if (cmdPause->text() == u"&Stopp"_s) {
        cmdPause->setText(u"Automatik"_s);
        lblCountdown->hide();
        timerMain->stop();
        timerSecond->stop();
    } else {
        cmdPause->setText(u"&Stopp"_s);
        restartCountdown();
        lblCountdown->show();
        timerMain->start();
        timerSecond->start();
    }
}

void frmGefunden::cmdOK_Click() {
    const QString file = callFilePath(m_run);
    const QString line = selectedLine();
    try {
        if (line.isEmpty()) {
            subIniWrite(file, u"Contact"_s, u"Contact-ID"_s, QString());
            accept();
            return;
        }
        m_run.log.subLog(u"...Auswahl getroffen"_s, 80100);
        m_run.chosenEntryId = line.mid(EntryIdAt);
        Lookup& lookup = m_run.lookup;
        lookup.currentContact.reset();
        ignoreErrors(
            [&] { lookup.currentContact = m_run.mapi->GetItemFromID(m_run.chosenEntryId); });
        if (const outlook::ItemPtr contact = lookup.currentContact) {
            m_run.log.subLog(u"...Kontaktauswahl: "_s +
                                 contactLogText(contact->text(u"FullNameAndCompany"_s)),
                             80110);
            lookup.matchedField = line.mid(FieldAt, 2).toInt();
            subUpdateCallFileContact(m_run);
            lookup.foundCount = 1;
            subIniWrite(file, u"Contact"_s, u"Contact-ID"_s, contact->EntryID());
        }
        // A choice during a call (not from a menu entry) becomes the favourite.
        bool numeric = false;
        const int menu = m_run.params[P_MENU_OPTION].trimmed().toInt(&numeric);
        if (numeric && menu == 0) {
            m_run.log.subLog(u"...Favorit speichern"_s, 80111);
            ini::write(favouritesFile(), u"Favoriten"_s, m_run.params[P_NUMBER],
                       m_run.chosenEntryId);
        }
        accept();
    } catch (const Error& e) {
        handlerErrorLine(m_run.log, u"frmGefunden.cmdOK_Click"_s, m_run.log.step(), e);
    }
}

void frmGefunden::cmdAbbruch_Click() {
    m_run.log.subLog(u"...Abbruch (ohne Kontaktauswahl)"_s, 80900);
    m_run.chosenEntryId.clear();
    m_run.lookup.foundCount = 0;
    reject();
}

void frmGefunden::done(int result) {
    Form_Unload();
    CallWindow::done(result);
}

void frmGefunden::Form_Unload() {
    if (m_unloaded)
        return;
    m_unloaded = true;
    timerMain->stop();
    timerSecond->stop();
    ignoreErrors([&] {
        subIniWrite(callFilePath(m_run), u"Program"_s, u"ContactChoiceDialogue"_s, QString());
    });
    m_run.log.subLog(u"Dialog 'Kontaktauswahl' schließen"_s, 80999);
    m_lock.reset();
}

void frmGefunden::show(Run& run) {
    frmGefunden window(run);
    showCallWindow(window, run.settings.AutoChoice != 0, [&] { window.cmdOK_Click(); });
}

} // namespace tlm
