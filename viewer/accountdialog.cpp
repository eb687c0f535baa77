// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/accountdialog.h"

#include "sync/davclient.h"
#include "ui/design.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace tlm::viewer {
namespace {
QLineEdit* field(QFormLayout* form, const QString& name, const QString& label) {
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    auto* caption = new QLabel(label);
    caption->setObjectName(u"lbl"_s + name.mid(3));
    caption->setBuddy(edit);
    form->addRow(caption, edit);
    return edit;
}

QUrl serverUrl(const QString& typed) {
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return {};
    return QUrl(text.contains(u"://"_s) ? text : u"https://"_s + text, QUrl::StrictMode);
}
} // namespace

AccountDialog::AccountDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(u"frmKonto"_s);
    setWindowTitle(u"Konto hinzufügen"_s);
    design::setBackground(this, design::storedColour(design::ColorBack));
    design::setTextColour(this, design::storedColour(design::ColorBackFont));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(u"Adressbücher und Kalender eines CardDAV-/CalDAV-Servers: jede "
                             u"Sammlung wird ein Ordner des PIM-Speichers und mit dem Server "
                             u"abgeglichen."_s);
    intro->setObjectName(u"lblHinweis"_s);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    auto* form = new QFormLayout;
    txtAdresse = field(form, u"txtAdresse"_s, u"&Adresse des Servers:"_s);
    txtAdresse->setPlaceholderText(u"https://dav.example.org/"_s);
    txtBenutzer = field(form, u"txtBenutzer"_s, u"&Benutzer:"_s);
    txtPasswort = field(form, u"txtPasswort"_s, u"&Passwort:"_s);
    txtPasswort->setEchoMode(QLineEdit::Password);
    txtName = field(form, u"txtName"_s, u"&Name des Kontos:"_s);
    txtName->setPlaceholderText(u"frei lassen: Benutzer@Server"_s);
    layout->addLayout(form);
    chkHttp = new QCheckBox(u"Unverschlüsselte Verbindung (&http) erlauben"_s);
    chkHttp->setObjectName(u"chkHttp"_s);
    layout->addWidget(chkHttp);
    lblMeldung = new QLabel;
    lblMeldung->setObjectName(u"lblMeldung"_s);
    lblMeldung->setWordWrap(true);
    lblMeldung->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblMeldung->hide();
    layout->addWidget(lblMeldung);
    auto* buttons = new QDialogButtonBox;
    cmdOK = buttons->addButton(u"OK"_s, QDialogButtonBox::AcceptRole);
    cmdOK->setObjectName(u"cmdOK"_s);
    cmdOK->setDefault(true);
    cmdAbbrechen = buttons->addButton(u"Abbrechen"_s, QDialogButtonBox::RejectRole);
    cmdAbbrechen->setObjectName(u"cmdAbbrechen"_s);
    layout->addWidget(buttons);
    connect(cmdOK, &QPushButton::clicked, this, &AccountDialog::cmdOK_Click);
    connect(cmdAbbrechen, &QPushButton::clicked, this, &AccountDialog::reject);
    setMinimumWidth(fontMetrics().averageCharWidth() * 60);
}

sync::NewAccount AccountDialog::request() const {
    sync::NewAccount r;
    r.url = serverUrl(txtAdresse->text());
    r.user = txtBenutzer->text().trimmed();
    r.password = txtPasswort->text();
    r.name = txtName->text().trimmed();
    r.allowHttp = chkHttp->isChecked();
    return r;
}

QString AccountDialog::check(QLineEdit** field) const {
    const sync::NewAccount r = request();
    if (!sync::DavClient::isServerUrl(r.url)) {
        *field = txtAdresse;
        return u"Bitte die Adresse des Servers angeben, etwa https://dav.example.org/."_s;
    }
    if (r.user.isEmpty()) {
        *field = txtBenutzer;
        return u"Bitte den Benutzer angeben."_s;
    }
    if (r.password.isEmpty()) {
        *field = txtPasswort;
        return u"Bitte das Passwort angeben."_s;
    }
    return {};
}

void AccountDialog::cmdOK_Click() {
    QLineEdit* wrong = nullptr;
    const QString problem = check(&wrong);
    if (!problem.isEmpty()) {
        showMessage(problem);
        wrong->setFocus();
        return;
    }
    showMessage({});
    setBusy(true);
    Q_EMIT submitted(request());
}

void AccountDialog::setBusy(bool busy) {
    m_busy = busy;
    for (QWidget* w : std::initializer_list<QWidget*>{txtAdresse, txtBenutzer, txtPasswort,
                                                      txtName, chkHttp, cmdOK, cmdAbbrechen})
        w->setEnabled(!busy);
    if (busy)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
}

void AccountDialog::showMessage(const QString& text) {
    lblMeldung->setText(text);
    lblMeldung->setAccessibleName(text);
    lblMeldung->setVisible(!text.isEmpty());
}

QString AccountDialog::message() const {
    return lblMeldung->text();
}

void AccountDialog::reject() {
    if (!m_busy)
        QDialog::reject();
}

} // namespace tlm::viewer
