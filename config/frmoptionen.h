// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The options window: which contact folders the index covers and when it is
// refreshed, what is shown and journaled for which kind of call, where new
// contacts and journal or calendar entries go. It reads every setting when
// it loads and writes all of them when it closes; the mode and the folder
// picks are written at once. Its menu bar leads to the second options
// window, the settings backup, the CTI client set-up and help.
#include "config/folderchoice.h"
#include "config/optionfields.h"

#include <QMainWindow>
#include <functional>
#include <span>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QMenuBar;
class QPushButton;

namespace tlm {

struct Run;
class Error;

class frmOptionen : public QMainWindow {
    Q_OBJECT

public:
    explicit frmOptionen(Run& run);
    ~frmOptionen() override;

    void Form_Load();
    void Form_Activate();
    void subOptionenSpeichern();
    void subModeCalendarJournal();
    void subShowRubrik(int section);
    void subApplyDesign();

    // Handlers of the window's own controls.
    void cmdEinlesen_Click();
    void cmdJournalCalender_Click();
    void txtAutoAuswahl_Change();
    void txtAutoAuswahl_LostFocus();
    void cbxJournalEnd_Click();
    void imgMon1_DblClick();
    void imgMon1b_DblClick();
    void lblFolderInterval_DblClick();

    // Folder choice.
    void cmdOlFhinzu_Click();
    void cmdOlFloeschen_Click();
    void listOutlookOrdner_DblClick();
    void cmdKontaktordner_Click();
    void cmdJournalordner_Click();
    void txtContactFolder_DblClick();
    void txtJournalFolder_DblClick();
    void lblOlKontakteStandard_DblClick();

    // Menu entries.
    void mnuAnsicht_Click();
    void mnuDateiEinstellungSichern_Click();
    void mnuDateiEinstellungLaden_Click();
    void mnuExtrasTEMP_Click();
    void mnuExtrasKonfigDashboard_Click();
    void mnuHilfeInfo_Click();
    void mnuHilfeHandbuch_Click();
    void mnuHilfeWeb_Click();
    void mnuHilfeKontakt_Click();
    void mnuHilfeTeamviewer_Click();

    // Opens the window and waits until it is closed (at once when nobody can
    // answer it: it then loads and saves as a close would).
    static void show(Run& run);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildHeader();
    void buildSection1();
    void buildSection2();
    void buildSection3();
    void buildFooter();
    void buildMenu();
    // A section header's caption, indented for the section's picture; a
    // screen reader speaks it without the indent.
    void setSectionHeader(int number, const QString& text);
    QFrame* addSection(int number, const QString& name, const QString& title,
                       const QString& frameName, int height);
    void fillDisplayList(QComboBox* box);
    void setFolderBox(QLineEdit* box, const folderchoice::BoxContent& content);
    folderchoice::Kind journalKind() const;
    bool journalMode() const;
    void attach();
    void placementPreview(int defaultFolder, int position, const QString& message,
                          const QString& titleSuffix);
    // The controls that show a setting, in the order they are saved.
    enum class FieldKind;
    using Field = OptionField<FieldKind>;
    static std::span<const Field> fields();
    void loadField(const Field& field);
    void saveField(const Field& field);
    void openFolder(const QString& reference, int defaultFolder,
                    const std::function<void(const Error&)>& missing);
    void Form_Unload();

    Run& m_run;
    bool m_unloaded = false;
    bool m_restored = false; // set by the settings restore: no save on close
    bool m_activated = false;
    std::function<void()> m_onClosed;

    QMenuBar* m_menuBar;
    QMenu* mnuAnsicht;
    QAction* mnuAnsichtLogLetzter;
    QAction* mnuAnsichtLogIndex;
    QAction* mnuAnsichtLogFehler;
    QAction* mnuExtrasKonfigDashboard;

    QLabel* lblTopic;
    QLabel* lblInfo;
    QLabel* lblCopyright;
    QLabel* lblFuss;
    QPushButton* cmdOk;

    QLabel* lblRubrik[3];
    QLabel* lblRubrikHeader[3];
    QLabel* imgRubrik[3];
    QLabel* imgRubrikKalender;
    QFrame* frames[3];
    int m_headerTop = 0;

    QLabel* imgOutlook;
    QCheckBox* chkOlKontakteStandard;
    QLabel* lblOlKontakteStandard;
    QListWidget* listOutlookOrdner;
    QPushButton* cmdOlFhinzu;
    QPushButton* cmdOlFloeschen;
    QLabel* lblFolderInterval;
    QComboBox* cbxAktualiseren;
    QPushButton* cmdEinlesen;
    QLabel* imgRefreshAn;
    QLabel* imgRefreshAus;

    QCheckBox* chkInContact;
    QCheckBox* chkOutContact;
    QComboBox* cbxDisplayContact;
    QLabel* imgMon2;
    QLineEdit* txtAutoAuswahl;
    QLabel* lblContactAutoChoiceSec;
    QComboBox* cbxContactEnd;
    QComboBox* cbxAdresstyp;
    QLineEdit* txtContactFolder;
    QCheckBox* chkViewCompanyname;

    QPushButton* cmdJournalCalender;
    QCheckBox* chkInJournal;
    QCheckBox* chkOutJournal;
    QCheckBox* chkMissedJournal;
    QCheckBox* chkInternal;
    QCheckBox* chkContactJournal;
    QCheckBox* chkBusyStatus;
    QCheckBox* chkCallback;
    QCheckBox* chkJournalCategory;
    QLineEdit* txtJournalFolder;
    QComboBox* cbxDisplayJournal;
    QLabel* imgMon2b;
    QLabel* lblJournalEnd1;
    QComboBox* cbxJournalEnd;
    QLabel* lblJournalEnd2;
    QLineEdit* txtJournalAutoClose;
    QLabel* lblJournalEnd3;
};

} // namespace tlm
