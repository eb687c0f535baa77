// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// The options window on a prepared store, driven through its controls:
// loading with its own defaults, saving on close, the folder choice, the
// index rebuild, the mode switch and the menu entries.
#include "config/folderchoice.h"
#include "config/frmoptionen.h"
#include "config/settingsactions.h"
#include "platform/messagebox.h"
#include "tests/core/callfixture.h"
#include "tests/support/textfit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>

namespace tlm::test {
namespace {

class Options : public CallFixture {
protected:
    tlm::Run run;
    std::unique_ptr<frmOptionen> window;
    QStringList messages;
    msgbox::Answer answer = msgbox::Answer::No;
    FolderPtr picked;
    bool pickCalled = false;

    void SetUp() override {
        CallFixture::SetUp();
        QFile::remove(settingsstore::filePath());
        msgbox::setResponder([this](const QString& title, const QString& text) {
            messages << title + u'|' + text;
            return std::optional(answer);
        });
        folderchoice::setPicker([this](const NamespacePtr&) {
            pickCalled = true;
            return picked;
        });
    }
    void TearDown() override {
        window.reset();
        msgbox::setResponder({});
        folderchoice::setPicker({});
        CallFixture::TearDown();
    }
    void open() {
        ASSERT_EQ(Main(run, QString()), RunEnd::OptionsWindow);
        window = std::make_unique<frmOptionen>(run);
        window->Form_Load();
        window->Form_Activate();
    }
    template <class T> T* child(const char* name) {
        T* c = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    QStringList lines() {
        QStringList out;
        auto* list = child<QListWidget>("listOutlookOrdner");
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }
    FolderPtr addFolder(const QString& name, pim::FolderKind kind) {
        pim::Store s = store();
        const pim::FolderInfo f = s.addFolder(s.stores().front().storeId, {}, name, kind);
        return attach()->GetNamespace(u"MAPI"_s)->GetFolderFromID(f.entryId);
    }
    FolderPtr standard(int number) {
        return attach()->GetNamespace(u"MAPI"_s)->GetDefaultFolder(number);
    }
    static QString get(const QString& key) { return settingsstore::get(key, u"<fehlt>"_s); }
    QString header() { return child<QLabel>("lblRubrikKontakteordner")->text(); }
};

// Where a centred column caption's ink begins and ends across its lines.
std::pair<int, int> inkSpan(const QLabel* label) {
    const QRect room = label->geometry();
    const QRect ink = QFontMetrics(label->font())
                          .boundingRect(QRect(0, 0, room.width(), room.height()),
                                        int(label->alignment()) | Qt::TextWordWrap, label->text());
    return {room.left() + ink.left(), room.left() + ink.right()};
}

// Neighbouring column captions keep two blanks of room between their words,
// so that "ein- gehend" and "ab- gehend" do not read as one.
void expectColumnsApart(const QWidget* window, const QStringList& names) {
    for (qsizetype i = 1; i < names.size(); ++i) {
        auto* left = window->findChild<QLabel*>(names[i - 1]);
        auto* right = window->findChild<QLabel*>(names[i]);
        ASSERT_TRUE(left && right);
        const int blank = QFontMetrics(left->font()).horizontalAdvance(u' ');
        EXPECT_GE(inkSpan(right).first - inkSpan(left).second, 2 * blank)
            << names[i - 1].toStdString() << "/" << names[i].toStdString();
    }
}

// A section keeps as much room below its last row as above its first.
void expectRoomBelowLastRow(const QFrame* frame) {
    int top = frame->height();
    int bottom = 0;
    for (const QWidget* w : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        top = std::min(top, w->geometry().top());
        bottom = std::max(bottom, w->geometry().bottom() + 1);
    }
    EXPECT_GE(frame->height() - bottom, top) << frame->objectName().toStdString();
}

TEST_F(Options, LoadsItsOwnDefaultsAndClosingWritesEveryKeyInOrder) {
    open();
    EXPECT_EQ(window->windowTitle(), u"Tellmarin 1.0.0000"_s);
    EXPECT_TRUE(child<QCheckBox>("chkInContact")->isChecked());
    EXPECT_TRUE(child<QCheckBox>("chkOlKontakteStandard")->isChecked());
    EXPECT_EQ(child<QComboBox>("cbxContactEnd")->currentIndex(), 2);
    EXPECT_EQ(child<QComboBox>("cbxJournalEnd")->currentIndex(), 2);
    EXPECT_EQ(child<QComboBox>("cbxAktualiseren")->count(), 5);
    EXPECT_EQ(child<QLineEdit>("txtAutoAuswahl")->text(), u"10"_s);
    EXPECT_EQ(child<QLineEdit>("txtContactFolder")->text(), u"<persönliche Kontakte>"_s);
    EXPECT_EQ(child<QLineEdit>("txtJournalFolder")->text(), u"<persönliches Journal>"_s);
    EXPECT_EQ(child<QPushButton>("cmdJournalCalender")->text(), u"Journaleintrag"_s);
    // One monitor (offscreen): 14 placements, the second monitor's pictures hidden.
    EXPECT_EQ(child<QComboBox>("cbxDisplayContact")->count(), 14);
    EXPECT_FALSE(child<QLabel>("imgMon2")->isVisibleTo(window.get()));
    EXPECT_TRUE(child<QLabel>("lblCopyright")->text().startsWith(u"© "_s));
    EXPECT_TRUE(child<QWidget>("frameRubrikKontakteordner")->isVisibleTo(window.get()));
    EXPECT_FALSE(child<QWidget>("frameRubrikKontakt")->isVisibleTo(window.get()));
    EXPECT_EQ(child<QLabel>("lblOlKontakteStandard")->buddy(),
              child<QCheckBox>("chkOlKontakteStandard"));

    window->close();
    const QString text = QString::fromUtf8(readBytes(settingsstore::filePath()));
    QStringList order;
    for (const QString& line : text.split(u"\r\n"_s))
        order << line.section(u'=', 0, 0);
    const QStringList saved = {u"DefaultFolder"_s,     u"Folders"_s,
                               u"Refresh"_s,           u"DisplayPosContact"_s,
                               u"InContact"_s,         u"OutContact"_s,
                               u"AutoChoice"_s,        u"FolderNewContact"_s,
                               u"NewContactType"_s,    u"ViewCompanyname"_s,
                               u"DisplayPosJournal"_s, u"ModeCalendarJournal"_s,
                               u"InJournal"_s,         u"OutJournal"_s,
                               u"Internal"_s,          u"Callback"_s,
                               u"BusyStatus"_s,        u"JournalContact"_s,
                               u"JournalCategory"_s,   u"ContactCallEnd"_s,
                               u"JournalCallEnd"_s,    u"AutoChoiceJournalCallEnd"_s};
    const qsizetype first = order.indexOf(saved.front());
    ASSERT_GE(first, 0) << text.toStdString();
    EXPECT_EQ(order.mid(first, saved.size()), saved);
    EXPECT_EQ(get(u"ContactCallEnd"_s), u"2"_s);
    EXPECT_EQ(get(u"InContact"_s), u"1"_s);
}

TEST_F(Options, EveryControlSavesTheValueItLoaded) {
    const FolderPtr contacts = addFolder(u"Neukunden"_s, pim::FolderKind::Contact);
    const QList<std::pair<QString, QString>> stored = {
        {u"DefaultFolder"_s, u"0"_s},
        {u"Folders"_s, u"2"_s},
        {u"Folder1"_s, u"Kunden"_s},
        {u"FolderID1"_s, u"E1|S1"_s},
        {u"Folder2"_s, u"Lieferanten"_s},
        {u"FolderID2"_s, u"E2|S2"_s},
        {u"Refresh"_s, u"3"_s},
        {u"DisplayPosContact"_s, u"5"_s},
        {u"InContact"_s, u"0"_s},
        {u"OutContact"_s, u"1"_s},
        {u"AutoChoice"_s, u"7"_s},
        {u"FolderNewContact"_s, contacts->EntryID() + u'|' + contacts->StoreID()},
        {u"NewContactType"_s, u"1"_s},
        {u"ViewCompanyname"_s, u"1"_s},
        {u"DisplayPosJournal"_s, u"4"_s},
        {u"ModeCalendarJournal"_s, u"Calendar"_s},
        {u"InJournal"_s, u"0"_s},
        {u"OutJournal"_s, u"1"_s},
        {u"Internal"_s, u"1"_s},
        {u"Callback"_s, u"0"_s},
        {u"BusyStatus"_s, u"1"_s},
        {u"JournalContact"_s, u"1"_s},
        {u"JournalCategory"_s, u"1"_s},
        {u"ContactCallEnd"_s, u"1"_s},
        {u"JournalCallEnd"_s, u"0"_s},
        {u"AutoChoiceJournalCallEnd"_s, u"25"_s}};
    for (const auto& [key, value] : stored)
        set(key, value);
    ASSERT_EQ(Main(run, QString()), RunEnd::OptionsWindow);
    run.settings.Callback = 7;
    run.settings.BusyStatus = 7;
    window = std::make_unique<frmOptionen>(run);
    window->Form_Load();
    EXPECT_EQ(child<QLineEdit>("txtContactFolder")->text(), u"Neukunden"_s);
    EXPECT_EQ(child<QPushButton>("cmdJournalCalender")->text(), u"Kalendereintrag"_s);
    // The run takes the callback and busy-status choices as they are loaded.
    EXPECT_EQ(run.settings.Callback, 0);
    EXPECT_EQ(run.settings.BusyStatus, 1);
    // Whatever closing does not write would keep this text.
    for (const auto& [key, value] : stored)
        set(key, u"alt"_s);
    window->close();
    for (const auto& [key, value] : stored)
        EXPECT_EQ(get(key), value) << key.toStdString();
}

TEST_F(Options, EveryTextShowsWholeInBothModesWithRoomAroundIt) {
    open();
    window->QMainWindow::show();
    EXPECT_EQ(cutLabels(window.get()), QStringList());
    window->cmdJournalCalender_Click(); // calendar wording
    ASSERT_EQ(child<QLabel>("lblJournalEnd1")->text(), u"Nach Rufende den Kalendereintrag"_s);
    EXPECT_EQ(cutLabels(window.get()), QStringList());
    window->cmdEinlesen_Click(); // the header with its count
    EXPECT_TRUE(showsWholeText(child<QLabel>("lblRubrikKontakteordner")));
    expectColumnsApart(window.get(), {u"lblContactIn"_s, u"lblContactOut"_s});
    expectColumnsApart(window.get(), {u"lblJournalIn"_s, u"lblJournalOut"_s, u"lblJournalBlock"_s,
                                      u"lblJournalIntern"_s});
    for (const char* frame :
         {"frameRubrikKontakteordner", "frameRubrikKontakt", "frameRubrikJournal"})
        expectRoomBelowLastRow(child<QFrame>(frame));
}

TEST_F(Options, OutlookThatCannotBeReachedStopsLoading) {
    ASSERT_EQ(Main(run, QString()), RunEnd::OptionsWindow);
    qputenv("TELLMARIN_PIM", (env.root() + u"kein/Speicher/da"_s).toUtf8());
    QFile(env.root() + u"kein"_s).open(QIODevice::WriteOnly); // a file where a folder must be
    window = std::make_unique<frmOptionen>(run);
    window->Form_Load();
    qputenv("TELLMARIN_PIM", env.pimPath().toUtf8());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(u"Tellmarin|Microsoft Office Outlook scheint nicht richtig "
                                       u"auf Ihrem Computersystem installiert oder konfiguriert zu "
                                       u"sein!\r\n\r\n429: "_s))
        << messages[0].toStdString();
    EXPECT_EQ(child<QComboBox>("cbxAktualiseren")->count(), 0); // not loaded
}

TEST_F(Options, PlacementPreviewOpensTheFirstItem) {
    set(u"DisplayPosContact"_s, u"2"_s);
    open();
    window->imgMon1b_DblClick(); // no journal entry yet
    EXPECT_EQ(messages.value(0),
              u"Tellmarin - Journalelement-Vorschau|Sie haben kein Journaleintrag "
              u"in Outlook gespeichert. Aus diesem Grund ist keine Vorschau möglich!"_s);
    window->imgMon1_DblClick();
    const auto contacts = folderItems(olFolderContacts);
    int open = 0;
    for (const pim::ItemRecord& r : contacts)
        if (r.inspector.open) {
            ++open;
            EXPECT_EQ(r.inspector.windowState, olMaximized);
        }
    EXPECT_EQ(open, 1);
}

TEST_F(Options, TheNextCallFollowsWhatTheWindowSaved) {
    open();
    child<QCheckBox>("chkInJournal")->setChecked(false);
    window->close();
    answeredCall();
    EXPECT_TRUE(folderItems(olFolderJournal).isEmpty());
}

TEST_F(Options, FolderListKeepsStaleKeysAndCutsNames) {
    const QString longName = QString(140, u'K');
    set(u"Folders"_s, u"3"_s);
    set(u"Folder1"_s, u"Kunden"_s);
    set(u"FolderID1"_s, u"E1|S1"_s);
    set(u"Folder2"_s, longName);
    set(u"FolderID2"_s, u"E2|S2"_s);
    set(u"Folder3"_s, u"Lieferanten"_s);
    set(u"FolderID3"_s, u"E3|S3"_s);
    set(u"Folder4"_s, u"alt"_s);
    open();
    ASSERT_EQ(lines().size(), 3);
    EXPECT_EQ(lines()[0], u"Kunden"_s + QString(124, u' ') + u"|E1|S1"_s);
    EXPECT_EQ(lines()[1], QString(130, u'K') + u"|E2|S2"_s);

    answer = msgbox::Answer::Yes;
    auto* list = child<QListWidget>("listOutlookOrdner");
    list->setCurrentRow(0);
    window->cmdOlFloeschen_Click();
    EXPECT_EQ(get(u"Folders"_s), u"2"_s); // the rebuild saved the list first
    EXPECT_EQ(get(u"Folder2"_s), u"Lieferanten"_s);
    list->setCurrentRow(0);
    window->cmdOlFloeschen_Click();
    list->setCurrentRow(0);
    window->cmdOlFloeschen_Click();
    window->close();
    EXPECT_EQ(get(u"Folders"_s), u"0"_s);
    EXPECT_EQ(get(u"Folder4"_s), u"alt"_s);
    EXPECT_EQ(get(u"FolderID3"_s), u"E3|S3"_s);

    window.reset();
    tlm::Run again;
    Main(again, QString());
    frmOptionen reopened(again);
    reopened.Form_Load();
    EXPECT_EQ(reopened.findChild<QListWidget*>(u"listOutlookOrdner"_s)->count(), 0);
}

TEST_F(Options, SecondsBoxAndJournalEndRules) {
    open();
    auto* seconds = child<QLineEdit>("txtAutoAuswahl");
    seconds->setText(u"45"_s);
    window->txtAutoAuswahl_LostFocus();
    EXPECT_EQ(seconds->text(), u"30"_s);
    seconds->setText(u"-2"_s);
    window->txtAutoAuswahl_LostFocus();
    EXPECT_EQ(seconds->text(), u"0"_s);
    seconds->setText(u"1"_s);
    EXPECT_EQ(child<QLabel>("lblContactAutoChoiceSec")->text(), u"Sekunde"_s);
    seconds->setText(u"2"_s);
    EXPECT_EQ(child<QLabel>("lblContactAutoChoiceSec")->text(), u"Sekunden"_s);

    auto* end = child<QComboBox>("cbxJournalEnd");
    auto* autoClose = child<QLineEdit>("txtJournalAutoClose");
    EXPECT_TRUE(autoClose->isHidden());
    end->setCurrentIndex(0);
    window->cbxJournalEnd_Click();
    EXPECT_FALSE(autoClose->isHidden());
    EXPECT_FALSE(child<QLabel>("lblJournalEnd3")->isHidden());
}

TEST_F(Options, ModeSwitchWritesAtOnceAndShowsTheOtherFolder) {
    const FolderPtr journal = addFolder(u"Telefonate"_s, pim::FolderKind::Journal);
    const FolderPtr calendar = addFolder(u"Rückrufe"_s, pim::FolderKind::Calendar);
    set(u"FolderJournal"_s, journal->EntryID() + u'|' + journal->StoreID());
    set(u"FolderCalendar"_s, calendar->EntryID() + u'|' + calendar->StoreID());
    open();
    auto* box = child<QLineEdit>("txtJournalFolder");
    EXPECT_EQ(box->text(), u"Telefonate"_s);
    EXPECT_EQ(box->toolTip(), journal->FolderPath());
    window->cmdJournalCalender_Click();
    EXPECT_EQ(get(u"ModeCalendarJournal"_s), u"Calendar"_s);
    EXPECT_EQ(child<QPushButton>("cmdJournalCalender")->text(), u"Kalendereintrag"_s);
    EXPECT_EQ(box->text(), u"Rückrufe"_s);
    EXPECT_EQ(header().isEmpty(), false);
    EXPECT_EQ(child<QLabel>("lblRubrikJournal")->text(), u"     Kalender"_s);
    EXPECT_EQ(child<QLabel>("lblJournalEnd1")->text(), u"Nach Rufende den Kalendereintrag"_s);
    EXPECT_TRUE(run.calendarMode);
    window->close();
    EXPECT_EQ(get(u"ModeCalendarJournal"_s), u"Calendar"_s);
}

TEST_F(Options, IndexRebuildCountsNumbersInTheHeader) {
    open();
    window->cmdEinlesen_Click();
    EXPECT_EQ(header(), u"     Outlook Kontakte-Ordner  [4 Rufnummern]"_s);
    // A screen reader hears the count as well.
    EXPECT_EQ(child<QLabel>("lblRubrikKontakteordner")->accessibleName(),
              u"Outlook Kontakte-Ordner  [4 Rufnummern]"_s);
    EXPECT_TRUE(child<QWidget>("frameRubrikKontakt")->isVisibleTo(window.get()));
    EXPECT_TRUE(child<QLabel>("lblFolderInterval")
                    ->toolTip()
                    .startsWith(u"Stand: "_s + day.toString(u"dd.MM.yyyy"_s)));

    // One folder with a single number, added through the folder choice.
    const FolderPtr single = addFolder(u"Notdienst"_s, pim::FolderKind::Contact);
    ItemPtr c = single->Items()->Add();
    c->set(u"LastName"_s, u"Notdienst"_s);
    c->set(u"MobileTelephoneNumber"_s, u"0170 1234567"_s);
    c->Save();
    child<QCheckBox>("chkOlKontakteStandard")->setChecked(false);
    picked = single;
    window->cmdOlFhinzu_Click();
    EXPECT_EQ(header(), u"     Outlook Kontakte-Ordner  [1 Rufnummer]"_s);
    EXPECT_EQ(child<QLabel>("lblRubrikKontakteordner")->accessibleName(),
              u"Outlook Kontakte-Ordner  [1 Rufnummer]"_s);
    EXPECT_EQ(get(u"Folders"_s), u"1"_s);
    EXPECT_EQ(get(u"FolderID1"_s), single->EntryID() + u'|' + single->StoreID());
    EXPECT_EQ(get(u"DefaultFolder"_s), u"0"_s);
}

TEST_F(Options, FolderChoiceRefusesWrongKindsAndTheDefaultFolder) {
    open();
    picked = nullptr; // cancelled
    window->cmdOlFhinzu_Click();
    EXPECT_TRUE(pickCalled);
    EXPECT_TRUE(messages.isEmpty());

    picked = standard(olFolderJournal);
    window->cmdOlFhinzu_Click();
    window->cmdKontaktordner_Click();
    EXPECT_EQ(messages.value(0),
              u"Tellmarin - Falscher Ordnertyp|Dieser Ordner ist kein Kontakteordner."_s);
    EXPECT_EQ(messages.size(), 2);
    EXPECT_TRUE(lines().isEmpty());
    EXPECT_EQ(get(u"FolderNewContact"_s), u"<fehlt>"_s);

    child<QCheckBox>("chkOlKontakteStandard")->setChecked(false);
    picked = standard(olFolderContacts);
    window->cmdOlFhinzu_Click();
    EXPECT_TRUE(messages.last().startsWith(u"Tellmarin|Das ist der Standard-Kontakteordner."_s));
    EXPECT_TRUE(child<QCheckBox>("chkOlKontakteStandard")->isChecked());
    EXPECT_TRUE(lines().isEmpty());

    const FolderPtr other = addFolder(u"Kunden"_s, pim::FolderKind::Contact);
    picked = other;
    window->cmdOlFhinzu_Click();
    window->cmdOlFhinzu_Click();
    EXPECT_EQ(lines().size(), 2); // duplicates are allowed

    window->cmdKontaktordner_Click();
    EXPECT_EQ(get(u"FolderNewContact"_s), other->EntryID() + u'|' + other->StoreID());
    EXPECT_EQ(child<QLineEdit>("txtContactFolder")->text(), u"Kunden"_s);
    picked = standard(olFolderContacts);
    window->cmdKontaktordner_Click();
    EXPECT_EQ(get(u"FolderNewContact"_s), QString());
    EXPECT_EQ(child<QLineEdit>("txtContactFolder")->text(), u"<persönliche Kontakte>"_s);

    picked = addFolder(u"Telefonate"_s, pim::FolderKind::Journal);
    window->cmdJournalordner_Click();
    EXPECT_EQ(get(u"FolderJournal"_s), picked->EntryID() + u'|' + picked->StoreID());
    picked = standard(olFolderJournal);
    window->cmdJournalordner_Click();
    EXPECT_EQ(get(u"FolderJournal"_s), QString());
    picked = standard(olFolderCalendar);
    window->cmdJournalordner_Click();
    EXPECT_EQ(messages.last(),
              u"Tellmarin - Falscher Ordnertyp|Dieser Ordner ist kein Journalordner."_s);
}

TEST_F(Options, MissingFoldersAreReportedWhenOpened) {
    set(u"Folders"_s, u"1"_s);
    set(u"Folder1"_s, u"Verschwunden"_s);
    set(u"FolderID1"_s, u"DEAD|BEEF"_s);
    set(u"FolderNewContact"_s, u"DEAD|BEEF"_s);
    open();
    // An unresolvable new-contact folder shows as the default one.
    EXPECT_EQ(child<QLineEdit>("txtContactFolder")->text(), u"<persönliche Kontakte>"_s);
    EXPECT_TRUE(child<QLineEdit>("txtContactFolder")->property("tag").toString().isEmpty());

    window->txtContactFolder_DblClick();
    EXPECT_TRUE(
        messages.last().contains(u"|Der Kontaktordner wurde nicht gefunden.\r\rGründe hierfür "
                                 u"können sein:\r- der Ordner wurde gelöscht.\r"_s));
    child<QListWidget>("listOutlookOrdner")->setCurrentRow(0);
    answer = msgbox::Answer::No;
    window->listOutlookOrdner_DblClick();
    EXPECT_TRUE(messages.last().startsWith(u"Tellmarin - Ordner nicht gefunden ["_s));
    EXPECT_TRUE(
        messages.last().contains(u"|Der Kontaktordner »Verschwunden« wurde nicht gefunden.\r\r"_s));
    EXPECT_TRUE(messages.last().contains(u"Der Ordnerverweis sollte entfernt werden.\r\r"_s));
    EXPECT_EQ(lines().size(), 1);
    answer = msgbox::Answer::Yes;
    window->listOutlookOrdner_DblClick();
    EXPECT_TRUE(lines().isEmpty());
    window->close();
    EXPECT_EQ(get(u"FolderNewContact"_s), QString());
}

TEST_F(Options, ViewMenuAndCleanUp) {
    open();
    auto* last = window->findChild<QAction*>(u"mnuAnsichtLogLetzter"_s);
    ASSERT_NE(last, nullptr);
    window->mnuAnsicht_Click();
    EXPECT_FALSE(last->isEnabled());
    const QString folder = env.workFolder();
    for (const QString& name : {u"tlmLastCall.log"_s, u"5F3A9C21-0001-4B7E.log"_s,
                                u"5F3A9C21-0001-4B7E.call"_s, u"Tellmarin.log"_s})
        QFile(folder + name).open(QIODevice::WriteOnly);
    window->mnuAnsicht_Click();
    EXPECT_TRUE(last->isEnabled());
    EXPECT_TRUE(window->findChild<QAction*>(u"mnuAnsichtLogFehler"_s)->isEnabled());

    window->mnuExtrasTEMP_Click();
    EXPECT_EQ(messages.last(), u"Tellmarin - TEMP-/LOG-Bereinigung|erledigt...!"_s);
    EXPECT_FALSE(QFile::exists(folder + u"tlmLastCall.log"_s));
    EXPECT_FALSE(QFile::exists(folder + u"5F3A9C21-0001-4B7E.log"_s));
    EXPECT_FALSE(QFile::exists(folder + u"Tellmarin.log"_s));
    EXPECT_TRUE(QFile::exists(folder + u"5F3A9C21-0001-4B7E.call"_s));
    window->mnuAnsicht_Click();
    EXPECT_FALSE(last->isEnabled());
}

TEST_F(Options, HelpEntries) {
    open();
    window->mnuHilfeInfo_Click();
    EXPECT_EQ(messages.last(), u"Info|Tellmarin - Version 1.0.0000\r\rTellmarin - CTI-Anbindung an "
                               u"Microsoft Outlook\r\r© 2026 Tellmarin-Team\r\r"
                               u"https://www.tellmarin.example/"_s);
    testing::internal::CaptureStderr();
    window->mnuHilfeWeb_Click();
    answer = msgbox::Answer::Cancel;
    window->mnuHilfeTeamviewer_Click();
    EXPECT_EQ(
        QString::fromLocal8Bit(testing::internal::GetCapturedStderr()),
        u"Öffnen: https://www.tellmarin.example/\n"
        u"Tellmarin: Sie gelangen jetzt zur Internetpräsenz der TeamViewer Germany GmbH.\n"_s);

    answer = msgbox::Answer::Yes;
    window->mnuHilfeKontakt_Click();
    const pim::Store s = store();
    const auto drafts = s.drafts(s.defaultFolder(olFolderDrafts).entryId);
    ASSERT_EQ(drafts.size(), 1);
    EXPECT_EQ(drafts[0].properties.value(u"Subject"_s).toString(), u"Support-Anfrage"_s);
    EXPECT_EQ(drafts[0].properties.value(u"To"_s).toString(), u"support@tellmarin.example"_s);
    EXPECT_TRUE(drafts[0].body.contains(QString(75, u'-')));
}

} // namespace
} // namespace tlm::test
