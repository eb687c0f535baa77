#include "core/journal.h"

#include "core/callfile.h"
#include "core/callrules.h"
#include "core/itemwindow.h"
#include "core/run.h"
#include "numbers/normalise.h"
#include "outlook/application.h"
#include "outlook/bodywriter.h"
#include "outlook/document.h"
#include "outlook/folder.h"
#include "outlook/item.h"
#include "outlook/itemtexts.h"

#include <optional>

using namespace Qt::StringLiterals;

namespace tlm {
namespace {

const ErrorExit connectExit{u"subConnect"_s};

// Log lines of the journal go to the per-call log.
enum Step {
    StepGuard = 50010,
    StepCreate = 50020,
    StepProperties = 50030,
    StepSubject = 50040,
    StepTimer = 50050,
    StepEditor = 50060,
    StepTabStops = 50070,
    StepNumber = 50080,
    StepContact = 50090,
    StepNoContact = 50100,
    StepSave = 50110,
};

class Connect {
public:
    explicit Connect(Run& run) : m_run(run), m_log(run.log) {}
    void run();

private:
    bool refused();
    void create();
    void addProperties();
    void startTimerOrSetTimes();
    void openEditor();
    void writeNumberLine();
    void takeContact();
    void takeCallerData();
    void saveAndShow();

    // One step: its errors are logged and the next step follows.
    void step(int number, const std::function<void()>& statement) {
        m_log.setStep(number);
        m_log.guard(connectExit, statement);
    }
    outlook::Item& item() {
        if (!m_item)
            throw Error(err::NoObject,
                        u"Objektvariable oder With-Blockvariable nicht festgelegt"_s);
        return *m_item;
    }
    outlook::BodyWriter& body() {
        if (!m_body)
            throw Error(err::NoObject,
                        u"Objektvariable oder With-Blockvariable nicht festgelegt"_s);
        return *m_body;
    }
    void line(const QString& label, const QString& value, const QString* target = nullptr) {
        body().line(label, value, target);
    }
    // A value linked to its map link (rich body), else plain.
    void addressLine(const QString& label, const QString& address) {
        const QString link = itemtexts::mapLink(address, m_run.settings.Maps);
        line(label, address, &link);
    }
    QString cleaned(const QString& address) {
        return itemtexts::cleanAddress(address, m_run.settings.AddressSeparator,
                                       fncOwnCountryName());
    }

    Run& m_run;
    Log& m_log;
    outlook::ItemPtr m_item;
    std::optional<outlook::BodyWriter> m_body;
    int m_editorType = 0;
};

bool Connect::refused() {
    const Settings& s = m_run.settings;
    QString reason;
    const std::optional<int> outbound = outboundDirection(m_run, connectExit);
    if (m_run.params.internalCall && s.Internal == 0)
        reason = u"Interner Ruf: keine Protokollierung"_s;
    else if (outbound == 0 && s.InJournal == 0)
        reason = u"Ankommender Ruf: keine Protokollierung"_s;
    else if (outbound == 1 && s.OutJournal == 0)
        reason = u"Ausgehender Ruf: keine Protokollierung"_s;
    if (reason.isEmpty())
        return false;
    m_log.subLog(reason, StepGuard);
    m_log.subLog(u"*** Event-Ende"_s, StepGuard);
    return true;
}

void Connect::create() {
    step(StepCreate, [&] {
        if (m_run.alternativeFolder) {
            m_item = m_run.alternativeFolder->Items()->Add();
            m_log.subLog((m_item->Class() == outlook::olJournal ? u"Journal"_s : u"Termin"_s) +
                             u"-Element im alternativen Outlook-Ordner erstellen"_s,
                         StepCreate);
        } else if (m_run.calendarMode) {
            m_log.subLog(u"Termin-Element im persönlichen Ordner erstellen"_s, StepCreate);
            m_item = m_run.application->CreateItem(outlook::olAppointmentItem);
        } else {
            m_log.subLog(u"Journal-Element im persönlichen Ordner erstellen"_s, StepCreate);
            m_item = m_run.application->CreateItem(outlook::olJournalItem);
        }
    });
}

void Connect::addProperties() {
    step(StepProperties, [&] {
        m_log.subLog(u"...Outlook-Element-Properties/Tags"_s, StepProperties);
        const auto props = item().UserProperties();
        const auto add = [&](const QString& name, const QString& value) {
            props->Add(name, 1);
            props->setValue(name, value);
        };
        add(u"CallNumber"_s, m_run.params[P_NUMBER]);
        add(u"PCALLID"_s, m_run.params[P_P_CALL_ID]);
        add(u"Tellmar"_s, m_run.env.programVersion);
    });
    step(StepSubject, [&] {
        const bool incoming = outboundDirection(m_run, connectExit) == 0;
        item().setSubject(u"Anruf "_s + (incoming ? u"von"_s : u"bei"_s) + u' ');
    });
}

void Connect::startTimerOrSetTimes() {
    step(StepTimer, [&] {
        if (item().Class() == outlook::olJournal) {
            item().Starttimer();
            m_log.subLog(u"...Zeitgeber starten"_s, StepTimer);
            return;
        }
        item().set(u"Location"_s, u"Telefon/Remote"_s);
        item().set(u"ReminderSet"_s, false);
        item().set(u"Start"_s, itemtexts::callTime(1, m_run.params[P_TIMESTAMP]));
    });
}

void Connect::openEditor() {
    step(StepEditor, [&] {
        const outlook::InspectorPtr inspector = item().GetInspector();
        const int editorType = m_editorType = inspector->EditorType();
        static const char16_t* const names[] = {u"Text", u"HTML", u"RTF", u"WordEditor"};
        const QString name = editorType >= 1 && editorType <= 4
                                 ? QString::fromUtf16(names[editorType - 1])
                                 : QString();
        m_log.subLog(u"...EditorType: "_s + QString::number(editorType) + u'-' + name, StepEditor);
        const outlook::DocumentPtr document = inspector->WordEditor();
        m_body.emplace(m_item, document->Selection(), document, editorType == outlook::olEditorWord,
                       outlook::BodyFont{m_run.settings.MailFont, m_run.settings.MailFontSize});
    });
    step(StepTabStops, [&] {
        if (body().rich())
            body().setTabStops(m_run.settings.tabStop1Points, m_run.settings.tabStop2Points);
    });
}

void Connect::writeNumberLine() {
    step(StepNumber, [&] {
        if (m_run.settings.Callback == 1) {
            m_log.subLog(u"...Rufnummer"_s, StepNumber);
            const QString& number = m_run.params[P_NUMBER];
            const QString target = m_run.settings.URLHandler + number;
            line(u"Rufnummer:"_s, body().rich() ? number : target, &target);
        }
        body().emptyLine();
    });
}

void Connect::takeContact() {
    const outlook::ItemPtr contact = m_run.lookup.currentContact;
    const auto text = [&](const QString& name) { return contact->text(name); };
    m_log.subLog(u"...Outlook-Kontakt-Eigenschaften übernehmen"_s, StepContact);
    step(StepContact + 1, [&] {
        item().setSubject(
            item().Subject() +
            itemtexts::contactCaption(text(u"LastNameAndFirstName"_s), text(u"CompanyName"_s),
                                      m_run.lookup.matchedField, m_run.params[P_NUMBER]) +
            u": "_s);
    });
    step(StepContact + 2, [&] {
        item().set(u"BillingInformation"_s, text(u"BillingInformation"_s));
        item().set(u"Companies"_s, text(u"CompanyName"_s));
    });
    step(StepContact + 3, [&] {
        const QString categories = text(u"Categories"_s);
        if (m_run.settings.JournalCategory == 1 && !categories.isEmpty())
            item().set(u"Categories"_s, categories);
    });
    step(StepContact + 4, [&] {
        const int field = m_run.lookup.matchedField;
        QString property = u"OtherAddress"_s, logText = u"...Weitere Addresse"_s,
                label = u"Adresse:"_s;
        if (field == 2 || field == 3) {
            property = u"HomeAddress"_s, logText = u"...Privatadresse"_s, label = u"Privat:"_s;
        } else if (field == 1 || (field >= 4 && field <= 9)) {
            property = u"BusinessAddress"_s, logText = u"...Geschäftsadresse"_s;
            label = u"Geschäftlich:"_s;
        }
        m_log.subLog(logText, StepContact + 4);
        const QString address = text(property);
        if (!address.trimmed().isEmpty())
            addressLine(label, cleaned(address));
    });
    step(StepContact + 5, [&] {
        const QString customer = text(u"CustomerID"_s);
        if (customer.trimmed().isEmpty())
            return;
        m_log.subLog(u"...Kunden-Nr."_s, StepContact + 5);
        line(u"Kunden-Nr.:"_s, customer);
        body().emptyLine();
    });
    for (int n = 1; n <= 4; ++n) {
        step(StepContact + 6, [&] {
            const QString user = u"User"_s + QString::number(n);
            const QString setting = u"olUser"_s + QString::number(n);
            const QString value = text(user);
            if (value.trimmed().isEmpty() || readSettingInt(setting + u"Print"_s, 0) != 1)
                return;
            m_log.subLog(u"..."_s + user, StepContact + 6);
            const QString caption = readSetting(setting);
            const bool linked = readSetting(setting + u"Link"_s) == u"1"_s;
            if (body().rich())
                line(caption + u':', value, linked ? &value : nullptr);
            else
                line(caption + u": "_s, linked ? u'"' + value + u'"' : value);
        });
    }
    step(StepContact + 7, [&] { body().emptyLine(); });
    m_log.subLog(u"...Outlook-Kontaktverknüpfung hinzugefügt"_s, StepContact + 8);
    ignoreErrors([&] { item().Links()->Add(contact); });
    step(StepContact + 9, [&] {
        const auto props = item().UserProperties();
        props->Add(u"CID"_s, 1);
        props->setValue(u"CID"_s, contact->EntryID());
    });
}

void Connect::takeCallerData() {
    const Params& p = m_run.params;
    m_log.subLog(u"...ohne Outlook-Kontaktverweis (aber u. U. im Telefonbuch der TK-Anlage)"_s,
                 StepNoContact);
    m_log.subLog(u"...Betreff"_s, StepNoContact + 1);
    step(StepNoContact + 2, [&] {
        QString name = p[P_LAST_NAME] + u", "_s + p[P_FIRST_NAME];
        if (name.startsWith(u", "_s))
            name = name.mid(2).trimmed();
        if (name.isEmpty() && !p[P_COMPANY].isEmpty())
            name = p[P_COMPANY];
        const QString caption = name.isEmpty() ? p[P_NUMBER] : name + u" ("_s + p[P_NUMBER] + u')';
        item().setSubject(item().Subject() + caption + u": "_s);
    });
    step(StepNoContact + 3, [&] {
        const QString& separator = m_run.settings.AddressSeparator;
        const QString address = cleaned(p[P_ADR_STREET] + separator + u' ' + p[P_ADR_ZIP] + u' ' +
                                        p[P_ADR_CITY] + separator + u' ' + p[P_ADR_COUNTRY]);
        if (address.isEmpty())
            return;
        m_log.subLog(u"...Adresse ("_s + QString::number(m_editorType) + u')', StepNoContact + 3);
        addressLine(u"Adresse:"_s, address);
        if (body().rich())
            body().emptyLine();
    });
}

void Connect::saveAndShow() {
    step(StepSave, [&] { item().Save(); });
    step(StepSave + 1,
         [&] { subIniWrite(callFilePath(m_run), u"Call"_s, u"Item-ID"_s, item().EntryID()); });
    m_log.subLog(u"...anzeigen"_s, StepSave + 2);
    if (m_item)
        showItem(m_run, m_item, m_run.settings.DisplayPosJournal);
}

void Connect::run() {
    if (refused())
        return;
    create();
    addProperties();
    startTimerOrSetTimes();
    openEditor();
    writeNumberLine();
    if (m_run.lookup.currentContact)
        takeContact();
    else
        takeCallerData();
    saveAndShow();
    m_run.currentItem = m_item;
}

} // namespace

void subConnect(Run& run) {
    Connect(run).run();
}

} // namespace tlm
