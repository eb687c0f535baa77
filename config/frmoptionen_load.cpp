// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Loading and saving the options window, and the handlers of its own
// controls.
#include "config/frmoptionen.h"

#include "core/contactindex.h"
#include "core/itemwindow.h"
#include "core/log.h"
#include "core/optionsrun.h"
#include "core/run.h"
#include "core/settings.h"
#include "core/versioninfo.h"
#include "outlook/application.h"
#include "outlook/folder.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/messagebox.h"
#include "platform/screens.h"
#include "platform/shell.h"
#include "platform/texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>

using namespace Qt::StringLiterals;

namespace tlm {
namespace {

const QStringList refreshEntries = {u"täglich beim ersten Start"_s,
                                    u"1x vormittags < 12:00 > 1x nachmittags"_s, u"stündlich"_s,
                                    u"halbstündlich"_s, u"nur manuell"_s};
const QStringList oneMonitor = {
    u"<keine>"_s,      u"normal"_s,        u"maximiert"_s, u"linke Hälfte"_s, u"rechte Hälfte"_s,
    u"obere Hälfte"_s, u"untere Hälfte"_s, u"X--"_s,       u"-X- Mitte"_s,    u"--X"_s,
    u"X---"_s,         u"-X--"_s,          u"--X-"_s,      u"---X"_s};
const QStringList twoMonitors = {u"<keine>"_s,     u"1:normal"_s, u"1:maximiert"_s, u"1:links"_s,
                                 u"1:rechts"_s,    u"1:oben"_s,   u"1:unten"_s,     u"2:normal"_s,
                                 u"2:maximiert"_s, u"2:links"_s,  u"2:rechts"_s,    u"2:oben"_s,
                                 u"2:unten"_s};

void save(const KeyName& key, int value) {
    saveSetting(key, QString::number(value));
}

QString indexStand(const QString& indexFile) {
    if (!files::exists(indexFile))
        return u"Stand: "_s;
    return u"Stand: "_s + texts::dateTime(files::modified(indexFile));
}

} // namespace

enum class frmOptionen::FieldKind {
    Check,           // a check box: 1 or 0
    RunCheck,        // the same, and the run takes the value at once
    Index,           // a list box: the index of its entry
    Text,            // a text box: its text
    FolderList,      // the further contact folders: their count, then name and reference each
    ContactFolder,   // the folder for new contacts: its reference
    CalendarJournal, // the mode button: "Journal" or "Calendar"
};

std::span<const frmOptionen::Field> frmOptionen::fields() {
    using enum FieldKind;
    static constexpr Field table[] = {
        {"chkOlKontakteStandard", keys::DefaultFolder, Check},
        {"listOutlookOrdner", keys::Folders, FolderList},
        {"cbxAktualiseren", keys::Refresh, Index},
        {"cbxDisplayContact", keys::DisplayPosContact, Index},
        {"chkInContact", keys::InContact, Check},
        {"chkOutContact", keys::OutContact, Check},
        {"txtAutoAuswahl", keys::AutoChoice, Text},
        {"txtContactFolder", keys::FolderNewContact, ContactFolder},
        {"cbxAdresstyp", keys::NewContactType, Index},
        {"chkViewCompanyname", keys::ViewCompanyname, Check},
        {"cbxDisplayJournal", keys::DisplayPosJournal, Index},
        {"cmdJournalCalender", keys::ModeCalendarJournal, CalendarJournal},
        {"chkInJournal", keys::InJournal, Check},
        {"chkOutJournal", keys::OutJournal, Check},
        {"chkInternal", keys::Internal, Check},
        {"chkCallback", keys::Callback, RunCheck},
        {"chkBusyStatus", keys::BusyStatus, RunCheck},
        {"chkContactJournal", keys::JournalContact, Check},
        {"chkJournalCategory", keys::JournalCategory, Check},
        {"cbxContactEnd", keys::ContactCallEnd, Index},
        {"cbxJournalEnd", keys::JournalCallEnd, Index},
        {"txtJournalAutoClose", keys::AutoChoiceJournalCallEnd, Text},
    };
    return table;
}

void frmOptionen::loadField(const Field& field) {
    switch (field.kind) {
    case FieldKind::Check:
    case FieldKind::RunCheck: {
        auto* box = fieldControl<QCheckBox>(this, field.control);
        box->setChecked(readOptionInt(field.key) != 0);
        if (field.kind == FieldKind::RunCheck)
            optionsrun::takeSetting(m_run, field.key, box->isChecked() ? 1 : 0);
        break;
    }
    case FieldKind::Index:
        fieldControl<QComboBox>(this, field.control)->setCurrentIndex(readOptionInt(field.key));
        break;
    case FieldKind::Text:
        fieldControl<QLineEdit>(this, field.control)->setText(readOption(field.key));
        break;
    case FieldKind::FolderList: {
        auto* list = fieldControl<QListWidget>(this, field.control);
        list->clear();
        const int count = readOptionInt(field.key);
        for (int n = 1; n <= count; ++n)
            list->addItem(fitted(readOption(keys::folder(n)), folderchoice::NameWidth) + u'|' +
                          readOption(keys::folderId(n)));
        break;
    }
    case FieldKind::ContactFolder:
        setFolderBox(fieldControl<QLineEdit>(this, field.control),
                     folderchoice::boxContent(m_run.mapi, readOption(field.key),
                                              folderchoice::Kind::Contacts));
        break;
    case FieldKind::CalendarJournal:
        fieldControl<QPushButton>(this, field.control)->setText(readOption(field.key));
        subModeCalendarJournal();
        break;
    }
}

void frmOptionen::saveField(const Field& field) {
    switch (field.kind) {
    case FieldKind::Check:
    case FieldKind::RunCheck:
        save(field.key, fieldControl<QCheckBox>(this, field.control)->isChecked() ? 1 : 0);
        break;
    case FieldKind::Index:
        save(field.key, fieldControl<QComboBox>(this, field.control)->currentIndex());
        break;
    case FieldKind::Text:
        saveSetting(field.key, fieldControl<QLineEdit>(this, field.control)->text());
        break;
    case FieldKind::FolderList: {
        const auto* list = fieldControl<QListWidget>(this, field.control);
        save(field.key, list->count());
        for (int i = 0; i < list->count(); ++i) {
            const QString line = list->item(i)->text();
            saveSetting(keys::folder(i + 1), folderchoice::lineName(line));
            saveSetting(keys::folderId(i + 1), folderchoice::lineReference(line));
        }
        break;
    }
    case FieldKind::ContactFolder:
        saveSetting(field.key,
                    fieldControl<QLineEdit>(this, field.control)->property("tag").toString());
        break;
    case FieldKind::CalendarJournal:
        saveSetting(field.key, journalMode() ? u"Journal"_s : u"Calendar"_s);
        break;
    }
}

bool frmOptionen::journalMode() const {
    return cmdJournalCalender->text().startsWith(u'J');
}

folderchoice::Kind frmOptionen::journalKind() const {
    return journalMode() ? folderchoice::Kind::Journal : folderchoice::Kind::Calendar;
}

void frmOptionen::attach() {
    optionsrun::attachOutlook(m_run);
}

void frmOptionen::setFolderBox(QLineEdit* box, const folderchoice::BoxContent& content) {
    box->setText(content.text);
    box->setProperty("tag", content.reference);
    box->setToolTip(content.toolTip.isEmpty() ? u"Doppelklick öffnet den Outlook-Ordner"_s
                                              : content.toolTip);
    box->setCursorPosition(0);
}

void frmOptionen::fillDisplayList(QComboBox* box) {
    box->clear();
    box->addItems(screens::monitorCount() > 1 ? twoMonitors : oneMonitor);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect virtualScreen = screen ? screen->virtualGeometry() : QRect();
    box->setToolTip(u"Bildschirm-Arbeitsbereich: "_s + QString::number(virtualScreen.width()) +
                    u" x "_s + QString::number(virtualScreen.height()));
}

void frmOptionen::Form_Load() {
    std::vector<std::function<void()>> statements = {
        [this] { attach(); },
        [this] { setWindowTitle(u"Tellmarin "_s + m_run.env.programVersion); },
        [this] { subApplyDesign(); },
        [this] {
            mnuExtrasKonfigDashboard->setEnabled(!readOption(keys::ClientDashboard).isEmpty());
        },
        [this] { lblCopyright->setText(versioninfo::copyrightLine()); },
        [this] { subShowRubrik(0); },
        [this] { optionsrun::readWorkArea(m_run); },
        [this] {
            fillDisplayList(cbxDisplayContact);
            fillDisplayList(cbxDisplayJournal);
            const bool two = screens::monitorCount() > 1;
            imgMon2->setVisible(two);
            imgMon2b->setVisible(two);
        },
        [this] {
            imgOutlook->setToolTip(m_run.env.outlookVersionText);
            imgOutlook->setAccessibleName(m_run.env.outlookVersionText);
        },
        [this] { lblFolderInterval->setToolTip(indexStand(m_run.env.indexFile)); },
        [this] {
            cbxAktualiseren->clear();
            cbxAktualiseren->addItems(refreshEntries);
        },
    };
    for (const Field& field : fields())
        statements.emplace_back([this, &field] { loadField(field); });
    statements.emplace_back([this] { cbxJournalEnd_Click(); });
    for (const auto& statement : statements) {
        try {
            statement();
        } catch (const Error& e) {
            if (e.number() == err::CannotCreateObject) {
                msgbox::show(u"Microsoft Office Outlook scheint nicht richtig auf Ihrem "
                             u"Computersystem installiert oder konfiguriert zu sein!\r\n\r\n"_s +
                                 QString::number(e.number()) + u": "_s + e.description(),
                             msgbox::Buttons::Ok, msgbox::Icon::Critical, u"Tellmarin"_s);
                return;
            }
            msgbox::show(u"Fehler: "_s + QString::number(e.number()) + u"\r\n\r\n"_s +
                             e.description(),
                         msgbox::Buttons::Ok, msgbox::Icon::Critical, u"Tellmarin - Fehler"_s);
        }
    }
}

void frmOptionen::subOptionenSpeichern() {
    for (const Field& field : fields())
        saveField(field);
}

void frmOptionen::subModeCalendarJournal() {
    ignoreErrors([this] {
        if (!m_run.mapi)
            attach();
    });
    const bool journal = journalMode();
    optionsrun::setCalendarMode(m_run, !journal);
    cmdJournalCalender->setText(journal ? u"Journaleintrag"_s : u"Kalendereintrag"_s);
    const QString title = journal ? u"Journal"_s : u"Kalender"_s;
    setSectionHeader(3, title);
    frames[2]->setAccessibleName(title);
    imgRubrik[2]->setVisible(journal);
    imgRubrikKalender->setVisible(!journal);
    const QString element = journal ? u"Journalelement"_s : u"Kalenderelement"_s;
    chkCallback->setToolTip(u"somit ist eine sofortige CTI-Wahl aus dem "_s + element +
                            u" möglich"_s);
    lblJournalEnd1->setText(journal ? u"Nach Rufende den Journaleintrag"_s
                                    : u"Nach Rufende den Kalendereintrag"_s);
    chkJournalCategory->setToolTip((journal ? u"Journaleintrag"_s : u"Kalendereintrag"_s) +
                                   u" derselben Kategorie des Kontaktes zuordnen"_s);
    const folderchoice::Kind kind = journalKind();
    setFolderBox(txtJournalFolder,
                 folderchoice::boxContent(m_run.mapi,
                                          readOption(folderchoice::info(kind).settingKey), kind));
}

void frmOptionen::cmdJournalCalender_Click() {
    ignoreErrors([this] {
        const bool toCalendar = journalMode();
        cmdJournalCalender->setText(toCalendar ? u"Ka&lendereintrag"_s : u"Journa&leintrag"_s);
        saveSetting(keys::ModeCalendarJournal, toCalendar ? u"Calendar"_s : u"Journal"_s);
    });
    ignoreErrors([this] { subModeCalendarJournal(); });
}

void frmOptionen::txtAutoAuswahl_Change() {
    const auto value = decimalOf(txtAutoAuswahl->text());
    lblContactAutoChoiceSec->setText(value == 1.0 ? u"Sekunde"_s : u"Sekunden"_s);
}

void frmOptionen::txtAutoAuswahl_LostFocus() {
    const auto value = decimalOf(txtAutoAuswahl->text());
    if (!value)
        return;
    if (*value < 0)
        txtAutoAuswahl->setText(u"0"_s);
    else if (*value >= 31)
        txtAutoAuswahl->setText(u"30"_s);
}

void frmOptionen::cbxJournalEnd_Click() {
    const bool automatic = cbxJournalEnd->currentIndex() == 0;
    for (QWidget* w :
         {static_cast<QWidget*>(lblJournalEnd2), static_cast<QWidget*>(txtJournalAutoClose),
          static_cast<QWidget*>(lblJournalEnd3)})
        w->setVisible(automatic);
}

void frmOptionen::cmdEinlesen_Click() {
    ignoreErrors([this] {
        cmdEinlesen->setEnabled(false);
        imgRefreshAn->hide();
        imgRefreshAus->show();
    });
    ignoreErrors([this] { subOptionenSpeichern(); });
    ignoreErrors([this] {
        if (!m_run.mapi)
            attach();
        subCreateFileIndex(m_run, true);
    });
    ignoreErrors([this] { lblFolderInterval->setToolTip(indexStand(m_run.env.indexFile)); });
    cmdEinlesen->setEnabled(true);
    imgRefreshAus->hide();
    imgRefreshAn->show();
    const int count = m_run.indexRecordsTotal;
    setSectionHeader(1, u"Outlook Kontakte-Ordner  ["_s + texts::grouped(count) + u" Rufnummer"_s +
                            (count == 1 ? QString() : u"n"_s) + u']');
    subShowRubrik(2);
}

void frmOptionen::placementPreview(int defaultFolder, int position, const QString& message,
                                   const QString& titleSuffix) {
    try {
        if (!m_run.mapi)
            attach();
        const outlook::FolderPtr folder = m_run.mapi->GetDefaultFolder(defaultFolder);
        const outlook::ItemsPtr items = folder ? folder->Items() : nullptr;
        if (!items || items->Count() == 0) {
            msgbox::show(message, msgbox::Buttons::Ok, msgbox::Icon::Exclamation,
                         u"Tellmarin"_s + titleSuffix);
            return;
        }
        showItem(m_run, items->Item(1), position);
    } catch (const Error& e) {
        m_run.log.errorLine(ErrorExit::handler(u"frmOptionen.imgMon1_DblClick"_s), Step(), e);
    }
}

void frmOptionen::imgMon1_DblClick() {
    placementPreview(outlook::olFolderContacts, cbxDisplayContact->currentIndex(),
                     u"Sie haben keinen Kontakt in Outlook gespeichert. Aus diesem Grund ist keine "
                     u"Vorschau möglich!"_s,
                     u" - Kontaktelement-Vorschau"_s);
}

void frmOptionen::imgMon1b_DblClick() {
    if (journalMode())
        placementPreview(outlook::olFolderJournal, cbxDisplayJournal->currentIndex(),
                         u"Sie haben kein Journaleintrag in Outlook gespeichert. Aus diesem Grund "
                         u"ist keine Vorschau möglich!"_s,
                         u" - Journalelement-Vorschau"_s);
    else
        placementPreview(outlook::olFolderCalendar, cbxDisplayJournal->currentIndex(),
                         u"Sie haben kein Kalendereintrag in Outlook gespeichert. Aus diesem "
                         u"Grund ist keine Vorschau möglich!"_s,
                         u" - Kalendereintrag-Vorschau"_s);
}

void frmOptionen::lblFolderInterval_DblClick() {
    const QString folder = m_run.env.workFolder;
    shell::open(folder);
    const QString todayLog =
        folder + u"tlmOl"_s + clock::today().toString(u"yyyyMMdd"_s) + u".txt"_s;
    if (files::exists(todayLog))
        shell::open(todayLog);
}

} // namespace tlm
