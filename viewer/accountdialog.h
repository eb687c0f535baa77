// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Konto hinzufügen": the address of a CardDAV/CalDAV server, the user and
// the password, optionally a name for the account and leave for plain HTTP.
// OK hands the entries on (submitted) and waits, busy, for the answer: the
// dialog closes when the account is added and otherwise shows why not,
// keeping the entries.
#include "sync/accounts.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tlm::viewer {

class AccountDialog : public QDialog {
    Q_OBJECT

public:
    explicit AccountDialog(QWidget* parent = nullptr);

    // The entries as they stand; an address without a scheme is https.
    sync::NewAccount request() const;
    // While busy the entries and buttons are locked and the dialog cannot be
    // closed.
    void setBusy(bool busy);
    bool busy() const { return m_busy; }
    void showMessage(const QString& text);
    QString message() const;

    void reject() override;

Q_SIGNALS:
    void submitted(const tlm::sync::NewAccount& request);

private:
    void cmdOK_Click();
    // What is missing or wrong in the entries, and the field to fix; empty
    // when they can be tried.
    QString check(QLineEdit** field) const;

    QLineEdit* txtAdresse;
    QLineEdit* txtBenutzer;
    QLineEdit* txtPasswort;
    QLineEdit* txtName;
    QCheckBox* chkHttp;
    QLabel* lblMeldung;
    QPushButton* cmdOK;
    QPushButton* cmdAbbrechen;
    bool m_busy = false;
};

} // namespace tlm::viewer
