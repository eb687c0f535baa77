// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "callwindows/frmkontaktabgleich.h"

#include "core/calldialogs.h"
#include "core/contactindex.h"
#include "core/folderreference.h"
#include "core/log.h"
#include "core/itemwindow.h"
#include "core/run.h"
#include "numbers/areainfo.h"
#include "numbers/normalise.h"
#include "outlook/application.h"
#include "outlook/folder.h"
#include "outlook/item.h"
#include "platform/error.h"
#include "platform/messagebox.h"
#include "ui/controls.h"
#include "ui/design.h"
#include "ui/formparts.h"
#include "ui/pictures.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace tlm {
namespace {

constexpr long NoPermission = -2147024891; // &H80070005

struct PhoneType {
    const char16_t* label;
    const char16_t* code;
    const char16_t* field;
    bool mobileOnly;
};
constexpr PhoneType phoneTypes[] = {
    {u"Geschäftlich", u"A0", u"BusinessTelephoneNumber", false},
    {u"Geschäftlich 2", u"B0", u"Business2TelephoneNumber", false},
    {u"Firma", u"C0", u"CompanyMainTelephoneNumber", false},
    {u"Privat", u"D1", u"HomeTelephoneNumber", false},
    {u"Privat 2", u"E1", u"Home2TelephoneNumber", false},
    {u"Mobil", u"F0", u"MobileTelephoneNumber", true},
    {u"Auto", u"G0", u"CarTelephoneNumber", true},
    {u"Assistent", u"H0", u"AssistantTelephoneNumber", false},
    {u"Funkruf", u"I0", u"RadioTelephoneNumber", true},
    {u"Rückmeldung", u"J0", u"CallbackTelephoneNumber", false},
    {u"Weitere", u"K2", u"OtherTelephoneNumber", false},
    {u"Haupttelefon", u"L0", u"PrimaryTelephoneNumber", false},
};

// The address kinds of listOutlookAdresse, by address type.
const QString addressKinds[] = {u"Business"_s, u"Home"_s, u"Other"_s};

// The numbers shown under the selected contact's address, in this order.
constexpr std::pair<const char16_t*, const char16_t*> shownNumbers[] = {
    {u"Firma: ", u"CompanyMainTelephoneNumber"},
    {u"Geschäftlich: ", u"BusinessTelephoneNumber"},
    {u"Geschäftlich2: ", u"Business2TelephoneNumber"},
    {u"Mobil: ", u"MobileTelephoneNumber"},
    {u"Assistent: ", u"AssistantTelephoneNumber"},
    {u"Rückmeldung: ", u"CallbackTelephoneNumber"},
    {u"Auto: ", u"CarTelephoneNumber"},
    {u"Fax (Geschäftlich): ", u"BusinessFaxNumber"},
    {u"Haupttelefon: ", u"PrimaryTelephoneNumber"},
    {u"Funkruf: ", u"RadioTelephoneNumber"},
    {u"Privat: ", u"HomeTelephoneNumber"},
    {u"Privat2: ", u"Home2TelephoneNumber"},
    {u"Fax (Privat): ", u"HomeFaxNumber"},
    {u"Weitere: ", u"OtherTelephoneNumber"},
    {u"Fax (Weiteres): ", u"OtherFaxNumber"},
};

// "Hauptstr. 1" becomes "Hauptstraße 1".
QString streetWritten(QString street) {
    return street.replace(u"str. "_s, u"straße "_s).replace(u"Str. "_s, u"Straße "_s);
}

} // namespace

QString fncContactDisplayName(const Run& run, QString first, QString last, QString company,
                              const QString& entryId) {
    if (!entryId.isEmpty()) {
        ignoreErrors([&] {
            const outlook::ItemPtr contact = run.mapi->GetItemFromID(entryId);
            first = contact->text(u"Title"_s).trimmed() + u' ' + contact->text(u"FirstName"_s);
            last = contact->text(u"LastName"_s);
            company = contact->text(u"CompanyName"_s);
        });
    }
    QString name = last + (first.trimmed().isEmpty() ? QString() : u", "_s + first);
    name = name.trimmed();
    if (name.startsWith(u", "_s))
        name = name.mid(2);
    if (company.isEmpty())
        return name;
    return name.isEmpty() ? company : name + u" ("_s + company + u')';
}

frmKontaktAbgleich::frmKontaktAbgleich(Run& run)
    : m_run(run), m_area(std::make_unique<AreaInfo>()) {
    setObjectName(u"frmKontaktAbgleich"_s);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFont(QFont(u"Tahoma"_s, 8));
    resize(design::pixels(10500), design::pixels(6600));
    auto* lblTopic = controls::label(this, u"lblTopic"_s, QString(), {0, 0, 10500, 480});
    auto* lblTitel = controls::label(this, u"lblTitel"_s, QString(), {120, 90, 10200, 300});
    auto* lblBottom = controls::label(this, u"lblBottom"_s, QString(), {0, 5880, 10500, 720});
    for (QLabel* bar : {lblTopic, lblBottom})
        design::setBackground(bar, design::storedColour(design::ColorDefault));
    design::setTextColour(lblTitel, design::storedColour(design::ColorFont));
    lblTitel->raise();
    buildCallerSide();
    buildOutlookSide();

    cmdAnlegenFirma =
        controls::button(this, u"cmdAnlegenFirma"_s, u"in &Firma"_s, {1200, 6000, 1035, 420},
                         u"Kontakt mit Firmenangaben in Outlook anlegen und anzeigen"_s);
    cmdAnlegen = controls::button(this, u"cmdAnlegen"_s, u"&neu"_s, {120, 6000, 2115, 420},
                                  u"Kontakt in Outlook anlegen und anzeigen"_s);
    cmdUebernahmeRufnummer =
        controls::button(this, u"cmdUebernahmeRufnummer"_s, u"übe&rnehmen"_s,
                         {2400, 6000, 2115, 420}, u"Rufnummer aktualisieren"_s);
    cmdUebernahmeAdresse = controls::button(this, u"cmdUebernahmeAdresse"_s, u"&Adressübernahme"_s,
                                            {5100, 6000, 2115, 420}, u"Adresse aktualisieren"_s);
    cmdExit = controls::button(this, u"cmdExit"_s, u"Schließen"_s, {8265, 6000, 2115, 420});
    connect(cmdAnlegen, &QPushButton::clicked, this, &frmKontaktAbgleich::cmdAnlegen_Click);
    connect(cmdAnlegenFirma, &QPushButton::clicked, this,
            &frmKontaktAbgleich::cmdAnlegenFirma_Click);
    connect(cmdUebernahmeRufnummer, &QPushButton::clicked, this,
            &frmKontaktAbgleich::cmdUebernahmeRufnummer_Click);
    connect(cmdUebernahmeAdresse, &QPushButton::clicked, this,
            &frmKontaktAbgleich::cmdUebernahmeAdresse_Click);
    connect(cmdExit, &QPushButton::clicked, this, &QWidget::close);
    Form_Load();
}

frmKontaktAbgleich::~frmKontaktAbgleich() = default;

void frmKontaktAbgleich::buildCallerSide() {
    QFrame* frame = controls::section(this, u"frameTKSuite"_s, u"Anrufer laut CTI-Client"_s,
                                      {120, 600, 4800, 5160});
    auto* rand = controls::section(frame, u"randTKSuite"_s, QString(), {0, 0, 4800, 5160});
    rand->setFrameShape(QFrame::Box);
    auto* rahmen = controls::section(frame, u"rahmenTKSuite"_s, QString(), {60, 60, 4680, 540});
    design::setBackground(rahmen, design::storedColour(design::ColorBack));
    const QPixmap client = pictures::desktop(this, pictures::Desktop::Computer);
    imgTKSuite =
        controls::image(frame, u"imgTKSuite"_s, client, u"TK-Suite Client"_s, {120, 120, 420, 420});
    imgTKDash =
        controls::image(frame, u"imgTKDash"_s, client, u"AGFEO Dashboard"_s, {120, 120, 420, 420});
    imgTKSuite->installEventFilter(this); // a double click shows the index matches again
    imgTKDash->installEventFilter(this);
    lblTKSuite =
        controls::label(frame, u"lblTKSuite"_s, u"AGFEO Dashboard"_s, {720, 180, 3900, 300});
    txtTK1 = controls::textArea(frame, u"txtTK1"_s, u"Firma und Name"_s, {120, 720, 4560, 700});
    txtTK2 = controls::textArea(frame, u"txtTK2"_s, u"Adresse"_s, {120, 1500, 4560, 1000});
    controls::image(frame, u"imgTelefon"_s, pictures::desktop(this, pictures::Desktop::Speaker),
                    u"Rufnummer"_s, {120, 2620, 360, 360});
    auto* lblRufnummer =
        controls::label(frame, u"lblRufnummer"_s, u"Rufnummer"_s, {540, 2660, 1200, 300});
    txtTK3 = new QLineEdit(frame);
    txtTK3->setObjectName(u"txtTK3"_s);
    design::place(txtTK3, 1800, 2620, 2880, 360);
    lblRufnummer->setBuddy(txtTK3);
    listArt = controls::listBox(frame, u"listArt"_s, u"Rufnummernart"_s, {120, 3080, 4560, 1500});
    controls::image(frame, u"imgJournalKontakt"_s, pictures::drawn(pictures::Drawn::Contact),
                    u"Journal-Eigenschaft des Kontakts"_s, {120, 4680, 360, 360});
    chkJournal = new QCheckBox(u"&Journal-Eigenschaft"_s, frame);
    chkJournal->setObjectName(u"chkJournal"_s);
    design::place(chkJournal, 540, 4680, 3000, 360);
    design::setTextColour(chkJournal, design::storedColour(design::ColorBackFont));
}

void frmKontaktAbgleich::buildOutlookSide() {
    QFrame* frame =
        controls::section(this, u"rahmenOutlook"_s, u"Outlook-Kontakte"_s, {5100, 600, 5280, 5160});
    randOutlook = controls::section(frame, u"randOutlook"_s, QString(), {0, 0, 5280, 5160});
    randOutlook->setFrameShape(QFrame::Box);
    randOutlook->installEventFilter(this);
    imgOutlook =
        controls::image(frame, u"imgOutlook"_s, pictures::desktop(this, pictures::Desktop::Network),
                        QString(), {120, 120, 420, 420});
    controls::image(frame, u"imgLupe"_s, pictures::desktop(this, pictures::Desktop::Search),
                    u"Suchen"_s, {720, 180, 360, 360});
    txtSuchen = new QLineEdit(frame);
    txtSuchen->setObjectName(u"txtSuchen"_s);
    txtSuchen->setToolTip(u"Durchsucht werden Namens- und Adressfelder"_s);
    txtSuchen->setAccessibleName(u"Suchen"_s);
    design::place(txtSuchen, 1140, 160, 4020, 360);
    txtSuchen->installEventFilter(this);
    cbxKontakte = new QComboBox(frame);
    cbxKontakte->setObjectName(u"cbxKontakte"_s);
    cbxKontakte->setAccessibleName(u"Kontaktauswahl"_s);
    cbxKontakte->setPlaceholderText(u"Kontaktauswahl"_s);
    design::place(cbxKontakte, 120, 720, 5040, 360);
    listOutlookAdresse =
        controls::listBox(frame, u"listOutlookAdresse"_s, u"Adressart"_s, {120, 1180, 5040, 700});
    imgContact = controls::image(frame, u"imgContact"_s, pictures::drawn(pictures::Drawn::Contact),
                                 QString(), {120, 2000, 480, 480});
    imgContact->installEventFilter(this);
    imgOutlookFolder = controls::image(frame, u"imgOutlookFolder"_s,
                                       pictures::desktop(this, pictures::Desktop::Folder),
                                       QString(), {4680, 2000, 480, 480});
    txtOutlook1 =
        controls::textArea(frame, u"txtOutlook1"_s, u"Name des Kontakts"_s, {720, 2000, 3840, 600});
    txtOutlook2 = controls::textArea(frame, u"txtOutlook2"_s, u"Adresse und Rufnummern"_s,
                                     {120, 2700, 5040, 1560});
    lblStatus = controls::label(frame, u"lblStatus"_s, QString(), {120, 4320, 5040, 280});
    // The search tip takes two lines.
    lblTip = controls::label(frame, u"lblTip"_s, QString(), {120, 4620, 5040, 480});
    lblTip->setWordWrap(true);
    lblTip->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    connect(cbxKontakte, &QComboBox::activated, this, &frmKontaktAbgleich::showSelectedContact);
    connect(listOutlookAdresse, &QListWidget::itemClicked, this,
            &frmKontaktAbgleich::showSelectedContact);
    connect(txtSuchen, &QLineEdit::returnPressed, this, &frmKontaktAbgleich::subSearchContacts);
}

void frmKontaktAbgleich::Form_Load() {
    const Params& p = m_run.params;
    design::setBackground(this, design::storedColour(design::ColorBack));
    imgOutlook->setToolTip(m_run.env.outlookVersionText);
    imgOutlook->setAccessibleName(m_run.env.outlookVersionText);
    for (const char16_t* kind : {u"Geschäftlich", u"Privat", u"Weitere"})
        listOutlookAdresse->addItem(QString::fromUtf16(kind));
    listOutlookAdresse->setCurrentRow(0);
    imgTKSuite->setVisible(!m_run.env.dashboard);
    imgTKDash->setVisible(m_run.env.dashboard);
    setWindowTitle(u"Kontakt-/Rufnummernabgleich "_s + u"mit Outlook "_s);
    findChild<QLabel*>(u"lblTitel"_s)
        ->setText(u"Sie können einen existierenden Outlook-Kontakt aktualisieren oder einen neuen "
                  u"erstellen."_s);
    chkJournal->setChecked(readSettingInt(keys::ContactJournal) != 0);
    subShowIndexMatches();

    *m_area = fncAreaInfo(p[P_NUMBER]);
    const QString& from = p[P_INVOKED_FROM];
    lblTKSuite->setText(from == u"contact"_s     ? u"Kontaktanzeige"_s
                        : from == u"callerlog"_s ? u"Anruferliste"_s
                                                 : u"AGFEO Dashboard"_s);
    const QString person = p[P_FIRST_NAME] + u' ' + p[P_LAST_NAME];
    txtTK1->setPlainText(QString(p[P_COMPANY].trimmed() + u'\n' + person.trimmed()).trimmed());
    const QString city = p[P_ADR_CITY].trimmed().isEmpty() ? m_area->Place : p[P_ADR_CITY];
    const QString place = p[P_ADR_ZIP] + u' ' + city;
    txtTK2->setPlainText(p[P_ADR_STREET] + u"\n"_s + place.trimmed() + u"\n"_s + p[P_ADR_COUNTRY]);
    txtTK3->setText(m_area->Display);
    for (const PhoneType& t : phoneTypes) {
        if (t.mobileOnly && !m_area->IsMobile)
            continue;
        auto* item = new QListWidgetItem(QString::fromUtf16(t.label), listArt);
        item->setData(Qt::UserRole, QString::fromUtf16(t.field));
    }
    int row = m_run.settings.NewContactType == 0 ? 0 : 3;
    if (m_area->IsMobile)
        row = 5;
    listArt->setCurrentRow(row);
    formparts::showWholeRows(listArt);
}

void frmKontaktAbgleich::subShowIndexMatches() {
    const Lookup& lookup = m_run.lookup;
    if (lookup.foundCount < 1) {
        cmdUebernahmeAdresse->hide();
        cmdUebernahmeRufnummer->hide();
    } else {
        cbxKontakte->clear();
        for (const FoundContact& found : lookup.found)
            cbxKontakte->addItem(found.display, found.entryId);
        cbxKontakte->setCurrentIndex(0);
        cmdUebernahmeAdresse->show();
        cmdUebernahmeRufnummer->show();
    }
    if (m_run.params[P_FIRST_NAME].isEmpty() && m_run.params[P_LAST_NAME].isEmpty())
        cmdUebernahmeAdresse->hide();
    showSelectedContact();
}

void frmKontaktAbgleich::subSearchContacts() {
    cbxKontakte->clear();
    const QString text = txtSuchen->text();
    if (text.isEmpty()) {
        subShowIndexMatches();
        return;
    }
    // A "'" is doubled inside the quoted values, so no text changes the
    // filter's meaning.
    QString quoted = text;
    quoted.replace(u'\'', u"''"_s);
    static const char16_t* const properties[] = {u"urn:schemas:contacts:workaddress",
                                                 u"urn:schemas:contacts:homepostaladdress",
                                                 u"urn:schemas:contacts:otherpostaladdress",
                                                 u"urn:schemas:contacts:companyname",
                                                 u"urn:schemas:contacts:o",
                                                 u"urn:schemas:contacts:sn",
                                                 u"urn:schemas:contacts:givenName",
                                                 u"urn:schemas:contacts:middlename"};
    QStringList terms;
    for (const char16_t* property : properties)
        terms << u'"' + QString::fromUtf16(property) + u"\" LIKE '%"_s + quoted + u"%'"_s;
    const QString filter = u"@SQL="_s + terms.join(u" OR "_s);
    handle(u"frmKontaktAbgleich.subSearchContacts"_s, [&] {
        for (const outlook::FolderPtr& folder : indexedContactFolders(m_run.mapi)) {
            const outlook::TablePtr table = folder->GetTable(filter, 0);
            table->Sort(u"[FullNameAndCompany]"_s);
            table->MoveToStart();
            while (!table->EndOfTable()) {
                const outlook::RowPtr row = table->GetNextRow();
                const QString entryId = row->Item(1).toString();
                cbxKontakte->addItem(fncContactDisplayName(m_run, row->Item(6).toString(),
                                                           row->Item(7).toString(),
                                                           row->Item(8).toString()),
                                     entryId);
            }
        }
    });
    const int count = cbxKontakte->count();
    if (count > 0) {
        cbxKontakte->setCurrentIndex(0);
        lblStatus->setText(QString::number(count) + u" Kontakt"_s +
                           (count == 1 ? QString() : u"e"_s) + u" gefunden"_s);
        lblStatus->setToolTip(u"gefundene Kontakte"_s);
        cmdUebernahmeRufnummer->show();
        if (!m_run.params[P_FIRST_NAME].isEmpty() || !m_run.params[P_LAST_NAME].isEmpty())
            cmdUebernahmeAdresse->show();
    } else {
        lblStatus->clear();
        lblStatus->setToolTip(QString());
    }
    txtSuchen->selectAll();
    showSelectedContact();
}

QString frmKontaktAbgleich::selectedEntryId() const {
    return cbxKontakte->currentIndex() < 0 ? QString() : cbxKontakte->currentData().toString();
}

QString frmKontaktAbgleich::phoneField() const {
    const QListWidgetItem* item = listArt->currentItem();
    return item ? item->data(Qt::UserRole).toString() : QString();
}

int frmKontaktAbgleich::addressType() const {
    return listOutlookAdresse->currentRow();
}

outlook::ItemPtr frmKontaktAbgleich::selectedContact() {
    outlook::ItemPtr contact;
    const QString id = selectedEntryId();
    if (!id.isEmpty())
        ignoreErrors([&] { contact = m_run.mapi->GetItemFromID(id); });
    return contact;
}

void frmKontaktAbgleich::showSelectedContact() {
    const outlook::ItemPtr contact = selectedContact();
    if (!contact) {
        txtOutlook1->clear();
        txtOutlook2->clear();
        imgContact->setToolTip(QString());
        imgOutlookFolder->setToolTip(QString());
        imgOutlookFolder->hide();
        return;
    }
    const int type = std::max(0, addressType());
    const auto text = [&](const QString& name) { return contact->text(name); };
    const bool company = !text(u"CompanyName"_s).trimmed().isEmpty();
    design::place(cmdAnlegen, 120, 6000, type == 0 && company ? 1035 : 2115, 420);
    const QString person = text(u"FirstName"_s) + u' ' + text(u"LastName"_s);
    const QString name = text(u"Title"_s) + u"\n"_s + person.trimmed();
    txtOutlook1->setPlainText(
        type == 0 && company ? text(u"CompanyName"_s) + u"\n"_s + text(u"FullName"_s) : name);
    QString address = text(addressKinds[type] + u"Address"_s);
    address.replace(u"\r\n\r\n"_s, u"\r\n"_s);
    QStringList lines{address};
    for (const auto& [label, field] : shownNumbers) {
        const QString number = text(QString::fromUtf16(field));
        if (!number.isEmpty())
            lines << QString::fromUtf16(label) + number;
    }
    txtOutlook2->setPlainText(lines.join(u'\n').replace(u"\r\n"_s, u"\n"_s));
    ignoreErrors([&] {
        imgOutlookFolder->setToolTip(contact->Parent()->FolderPath());
        imgOutlookFolder->setAccessibleName(imgOutlookFolder->toolTip());
    });
    imgOutlookFolder->show();
    imgContact->setToolTip(u"Outlook-Kontakt \""_s + text(u"FullNameAndCompany"_s) +
                           u"\" mit Doppelklick öffnen"_s);
    imgContact->setAccessibleName(imgContact->toolTip());
}

outlook::FolderPtr frmKontaktAbgleich::newContactFolder() {
    outlook::FolderPtr folder;
    const QString& reference = m_run.settings.FolderNewContact;
    ignoreErrors([&] {
        folder = reference.isEmpty() ? m_run.mapi->GetDefaultFolder(outlook::olFolderContacts)
                                     : FolderReference::parse(reference).resolve(m_run.mapi);
    });
    if (!folder)
        msgbox::show(u"Auf den Ordner zum Ablegen neuer Kontakte kann nicht zugegriffen werden!"_s,
                     msgbox::Buttons::Ok, msgbox::Icon::Critical,
                     productName + u" - Outlook-Fehler"_s + titleTimeStamp());
    return folder;
}

void frmKontaktAbgleich::fillNewContact(outlook::Item& contact) {
    const Params& p = m_run.params;
    contact.set(u"FirstName"_s, p[P_FIRST_NAME]);
    contact.set(u"LastName"_s, p[P_LAST_NAME]);
    const int type = std::max(0, addressType());
    const QString kind = addressKinds[type] + u"Address"_s;
    if (type == 0)
        contact.set(u"CompanyName"_s, p[P_COMPANY]);
    contact.set(kind + u"Street"_s, streetWritten(p[P_ADR_STREET]));
    contact.set(kind + u"PostalCode"_s, p[P_ADR_ZIP]);
    contact.set(kind + u"City"_s,
                m_area->Place.trimmed().isEmpty() ? p[P_ADR_CITY] : m_area->Place);
    QString number = p[P_NUMBER];
    contact.set(kind + u"Country"_s,
                p[P_ADR_COUNTRY].isEmpty() ? fncCountryName(number, false) : p[P_ADR_COUNTRY]);
    static const int mailing[] = {2, 1, 3};
    contact.set(u"SelectedMailingAddress"_s, mailing[type]);
}

void frmKontaktAbgleich::finishNewContact(const outlook::ItemPtr& contact) {
    m_step = 2180;
    if (!phoneField().isEmpty())
        contact->set(phoneField(), m_area->Display);
    m_step = 2185;
    showItem(m_run, contact, 0);
    contact->set(u"Journal"_s, chkJournal->isChecked());
    contact->UserProperties()->Add(u"Tellmarin"_s, 1);
    contact->UserProperties()->setValue(u"Tellmarin"_s, m_run.env.programVersion);
    m_step = 2190;
    contact->Save();
    m_changed = true;
    m_step = 2196;
    close();
}

void frmKontaktAbgleich::cmdAnlegen_Click() {
    handle(u"frmKontaktAbgleich.cmdAnlegen_Click"_s, [&] {
        m_step = 2100;
        const outlook::FolderPtr folder = newContactFolder();
        if (!folder)
            return;
        m_step = 2110;
        const outlook::ItemPtr contact = folder->Items()->Add();
        m_step = 2120;
        fillNewContact(*contact);
        finishNewContact(contact);
    });
}

void frmKontaktAbgleich::cmdAnlegenFirma_Click() {
    handle(u"frmKontaktAbgleich.cmdAnlegenFirma_Click"_s, [&] {
        m_step = 2100;
        const outlook::FolderPtr folder = newContactFolder();
        const outlook::ItemPtr company = selectedContact();
        if (!folder || !company)
            return;
        m_step = 2110;
        const outlook::ItemPtr contact = folder->Items()->Add();
        contact->set(u"FirstName"_s, m_run.params[P_FIRST_NAME]);
        contact->set(u"LastName"_s, m_run.params[P_LAST_NAME]);
        m_step = 2130;
        for (const char16_t* field :
             {u"BusinessAddress", u"CompanyName", u"BusinessTelephoneNumber",
              u"Business2TelephoneNumber", u"BusinessFaxNumber", u"CompanyMainTelephoneNumber",
              u"OrganizationalIDNumber"}) {
            const QString name = QString::fromUtf16(field);
            contact->set(name, company->get(name));
        }
        contact->set(u"SelectedMailingAddress"_s, 2);
        finishNewContact(contact);
    });
}

void frmKontaktAbgleich::cmdUebernahmeRufnummer_Click() {
    if (phoneField().isEmpty() || selectedEntryId().isEmpty())
        return;
    handle(u"frmKontaktAbgleich.cmdUebernahmeRufnummer_Click"_s, [&] {
        m_step = 2400;
        const outlook::ItemPtr contact = m_run.mapi->GetItemFromID(selectedEntryId());
        m_step = 2410;
        contact->set(phoneField(), txtTK3->text());
        m_step = 2420;
        try {
            contact->Save();
        } catch (const Error& e) {
            if (e.number() != NoPermission)
                throw;
            msgbox::show(u"Sie besitzen nicht das Recht im Kontaktordner '"_s +
                             contact->Parent()->FullFolderPath() +
                             u"\r' bestehende Kontake zu bearbeiten."_s,
                         msgbox::Buttons::Ok, msgbox::Icon::Critical,
                         productName + u" - Outlook-Fehler"_s);
            return;
        }
        m_changed = true;
        m_step = 2430;
        showSelectedContact();
    });
}

void frmKontaktAbgleich::cmdUebernahmeAdresse_Click() {
    if (phoneField().isEmpty() || selectedEntryId().isEmpty() || addressType() < 0)
        return;
    handle(u"frmKontaktAbgleich.cmdUebernahmeAdresse_Click"_s, [&] {
        const Params& p = m_run.params;
        const outlook::ItemPtr contact = m_run.mapi->GetItemFromID(selectedEntryId());
        const QString kind = addressKinds[addressType()] + u"Address"_s;
        // An empty value from the CTI client leaves the contact's field as it is.
        const auto take = [&](const QString& field, const QString& value) {
            if (!value.trimmed().isEmpty())
                contact->set(field, value);
        };
        if (addressType() == 0)
            take(u"CompanyName"_s, p[P_COMPANY]);
        take(kind + u"Street"_s, streetWritten(p[P_ADR_STREET]));
        take(kind + u"PostalCode"_s, p[P_ADR_ZIP]);
        take(kind + u"City"_s, p[P_ADR_CITY]);
        take(kind + u"Country"_s, p[P_ADR_COUNTRY]);
        contact->Save();
        m_changed = true;
        showSelectedContact();
    });
}

void frmKontaktAbgleich::handle(const QString& handler, const std::function<void()>& body) {
    try {
        body();
    } catch (const Error& e) {
        m_run.log.errorLine(ErrorExit::handler(handler), m_step, e);
    }
}

bool frmKontaktAbgleich::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == imgTKSuite || watched == imgTKDash) &&
        event->type() == QEvent::MouseButtonDblClick) {
        txtSuchen->clear();
        cbxKontakte->clear();
        lblStatus->clear();
        subShowIndexMatches();
        return true;
    }
    if ((watched == imgContact || watched == randOutlook) &&
        event->type() == QEvent::MouseButtonDblClick) {
        if (const outlook::ItemPtr contact = selectedContact())
            ignoreErrors([&] { contact->Display(); });
        return true;
    }
    if (watched == txtSuchen && event->type() == QEvent::FocusIn)
        lblTip->setText(
            u"Suche in allen Outlook-Namens- und Adressfeldern Ihrer ausgewählten Kontakte-Ordner"_s);
    if (watched == txtSuchen && event->type() == QEvent::FocusOut) {
        lblTip->clear();
        subSearchContacts();
    }
    return QWidget::eventFilter(watched, event);
}

void frmKontaktAbgleich::closeEvent(QCloseEvent* event) {
    if (!m_unloaded && m_changed) {
        m_unloaded = true;
        subCreateFileIndex(m_run, false);
    }
    QWidget::closeEvent(event);
}

bool frmKontaktAbgleich::open(Run& run) {
    auto* window = new frmKontaktAbgleich(run);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return true;
}

} // namespace tlm
