// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The contact reconciliation window: the caller as the CTI client knows them
// on one side, the Outlook contacts that match the number (or a search) on
// the other. The caller becomes a new contact, a new contact in the company
// of an existing one, or their number or address goes into an existing
// contact. After any change the contact index is rebuilt when the window
// closes.
#include "core/log.h"
#include "outlook/fwd.h"

#include <QWidget>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace tlm {

struct Run;
struct AreaInfo;

class frmKontaktAbgleich : public QWidget {
    Q_OBJECT

public:
    explicit frmKontaktAbgleich(Run& run);
    ~frmKontaktAbgleich() override;

    void subShowIndexMatches();
    void subSearchContacts();
    void showSelectedContact();
    void cmdAnlegen_Click();
    void cmdAnlegenFirma_Click();
    void cmdUebernahmeRufnummer_Click();
    void cmdUebernahmeAdresse_Click();

    bool changed() const { return m_changed; }

    // Opens the window without waiting; the process lives until it closes.
    static bool open(Run& run);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildCallerSide();
    void buildOutlookSide();
    void Form_Load();
    QString selectedEntryId() const;
    QString phoneField() const; // of the selected phone type
    int addressType() const;    // 0 business, 1 home, 2 other, -1 none
    outlook::ItemPtr selectedContact();
    outlook::FolderPtr newContactFolder();
    void fillNewContact(outlook::Item& contact);
    void finishNewContact(const outlook::ItemPtr& contact);
    void handle(const QString& handler, const std::function<void()>& body);

    Run& m_run;
    std::unique_ptr<AreaInfo> m_area;
    bool m_changed = false;
    Step m_step; // of the handler that runs
    bool m_unloaded = false;

    QLabel* lblTKSuite;
    QPlainTextEdit* txtTK1;
    QPlainTextEdit* txtTK2;
    QLineEdit* txtTK3;
    QListWidget* listArt;
    QCheckBox* chkJournal;
    QLabel* imgTKSuite;
    QLabel* imgTKDash;
    QLineEdit* txtSuchen;
    QComboBox* cbxKontakte;
    QListWidget* listOutlookAdresse;
    QPlainTextEdit* txtOutlook1;
    QPlainTextEdit* txtOutlook2;
    QLabel* lblStatus;
    QLabel* lblTip;
    QLabel* imgContact;
    QLabel* imgOutlookFolder;
    QLabel* imgOutlook;
    QFrame* randOutlook;
    QPushButton* cmdAnlegen;
    QPushButton* cmdAnlegenFirma;
    QPushButton* cmdUebernahmeRufnummer;
    QPushButton* cmdUebernahmeAdresse;
    QPushButton* cmdExit;
};

// The name of a contact as the list shows it: "Last, First (Company)", or
// the company alone. With an EntryID that opens a contact, its title, names
// and company are taken instead.
QString fncContactDisplayName(const Run& run, QString first, QString last, QString company,
                              const QString& entryId = {});

} // namespace tlm
