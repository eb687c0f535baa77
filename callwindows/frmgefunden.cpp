// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "callwindows/frmgefunden.h"

#include "core/calldialogs.h"
#include "core/callfile.h"
#include "core/run.h"
#include "platform/error.h"
#include "platform/texts.h"
#include "ui/design.h"
#include "ui/pictures.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace tlm {
namespace {
constexpr int ListLeft = 120, ListWidth = 6005;
} // namespace

frmGefunden::frmGefunden(Run& run)
    : CallWindow(u"frmGefunden"_s), m_run(run), m_session(run), m_found(run.lookup.found) {
    setWindowTitle(u"Kontaktauswahl"_s);
    resize(design::pixels(6245), design::pixels(4350));
    lblTopic = addLabel(u"lblTopic"_s, QString(), {0, 0, 6245, 1000});
    lblTopic->setFont(QFont(u"MS Sans Serif"_s, 8));
    addImage(u"imgContacts"_s, pictures::drawn(pictures::Drawn::Contacts), u"Mehrere Kontakte"_s,
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

const FoundContact* frmGefunden::selectedLine() const {
    const QListWidgetItem* item = listGefunden->currentItem();
    return item && item->isSelected() ? &m_found[item->data(Qt::UserRole).toInt()] : nullptr;
}

void frmGefunden::Form_Load() {
    Log& log = m_run.log;
    setWindowTitle(u"Gespräch mit "_s + m_run.params[P_NUMBER]);
    design::setBackground(this, design::storedColour(design::ColorBack));
    design::setBackground(lblTopic, design::storedColour(design::ColorDefault));
    design::setBackground(lblCountdown, lblTopic->palette().color(QPalette::Window));
    design::setTextColour(lblTitel, design::storedColour(design::ColorFont));

    log.subLog(u"...Auswahlliste mit gefunden Outlook-Kontakten füllen ("_s +
                   QString::number(m_found.size()) + u" Einträge)"_s,
               80010);
    for (qsizetype i = 0; i < m_found.size(); ++i) {
        auto* item = new QListWidgetItem(m_found[i].display, listGefunden);
        item->setData(Qt::UserRole, int(i));
    }
    if (listGefunden->count() > 0)
        listGefunden->setCurrentRow(0);

    log.subLog(u"...Favoriten einlesen"_s, 80020);
    const QString favourite = m_session.favourite();
    for (int i = 0; !favourite.isEmpty() && i < listGefunden->count(); ++i) {
        if (m_found[i].entryId == favourite) {
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
    if (!selectedLine())
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
    if (selectedLine())
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
    const FoundContact* line = selectedLine();
    try {
        if (line)
            m_session.choose(*line, m_choice);
        else
            m_session.chooseNone();
        accept();
    } catch (const Error& e) {
        m_run.log.errorLine(ErrorExit::handler(u"frmGefunden.cmdOK_Click"_s), e);
    }
}

void frmGefunden::cmdAbbruch_Click() {
    m_choice = m_session.cancel();
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
    m_session.end();
}

ContactChoice frmGefunden::show(Run& run) {
    frmGefunden window(run);
    showCallWindow(window, run.settings.AutoChoice != 0, [&] { window.cmdOK_Click(); });
    return window.choice();
}

} // namespace tlm
