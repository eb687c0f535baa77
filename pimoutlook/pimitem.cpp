// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Items of the PIM store behind the Outlook interface, with their user
// properties, links and inspector windows.
#include "pimoutlook/backend.h"
#include "platform/clock.h"
#include "platform/error.h"
#include "platform/messagebox.h"
#include "store/computed.h"
#include "store/properties.h"
#include "store/storeimpl.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace tlm::pim {

namespace {
const QString Subject = u"Subject"_s;

QString stripHtml(const QString& html) {
    QString text = html;
    static const QRegularExpression head(u"<head.*</head>"_s,
                                         QRegularExpression::CaseInsensitiveOption |
                                             QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression breaks(u"</p>|<br\\s*/?>"_s,
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression tags(u"<[^>]*>"_s);
    text.remove(head).replace(breaks, u"\r\n"_s).remove(tags);
    text.replace(u"\n\r\n"_s, u"\r\n"_s);
    text.replace(u"&nbsp;"_s, u" "_s).replace(u"&#9;"_s, u"\t"_s).replace(u"&lt;"_s, u"<"_s);
    text.replace(u"&gt;"_s, u">"_s).replace(u"&quot;"_s, u"\""_s).replace(u"&amp;"_s, u"&"_s);
    return text.trimmed();
}

class PimUserProperties : public outlook::UserProperties {
public:
    explicit PimUserProperties(std::shared_ptr<PimItem> item) : m_item(std::move(item)) {}

    void Add(const QString& name, int type) override {
        m_item->checkAlive();
        if (name.trimmed().isEmpty() || name.contains(u'[') || name.contains(u']'))
            throw Error(err::InvalidArgument,
                        u"Ungültiger Name einer Benutzereigenschaft: \""_s + name + u'"');
        if (type < 1)
            throw Error(err::InvalidArgument, u"Ungültiger Typ einer Benutzereigenschaft."_s);
        if (find(name))
            return;
        m_item->record().userProperties.append({name, QString()});
        m_item->touch();
    }
    bool Contains(const QString& name) override { return find(name) != nullptr; }
    QString Value(const QString& name) override { return existing(name).value; }
    void setValue(const QString& name, const QString& value) override {
        existing(name).value = value;
        m_item->touch();
    }
    int Count() override { return static_cast<int>(m_item->record().userProperties.size()); }
    QString Name(int index) override {
        if (index < 1 || index > Count())
            throw Error(err::InvalidArgument, u"Index außerhalb des gültigen Bereichs."_s);
        return m_item->record().userProperties[index - 1].name;
    }
    void Remove(const QString& name) override {
        auto& list = m_item->record().userProperties;
        list.removeIf(
            [&](const UserProperty& p) { return p.name.compare(name, Qt::CaseInsensitive) == 0; });
        m_item->touch();
    }

private:
    UserProperty* find(const QString& name) {
        for (UserProperty& p : m_item->record().userProperties) {
            if (p.name.compare(name, Qt::CaseInsensitive) == 0)
                return &p;
        }
        return nullptr;
    }
    UserProperty& existing(const QString& name) {
        m_item->checkAlive();
        if (UserProperty* p = find(name))
            return *p;
        throw Error(err::NoObject,
                    u"Objektvariable nicht festgelegt: die Benutzereigenschaft \""_s + name +
                        u"\" ist nicht vorhanden."_s);
    }

    std::shared_ptr<PimItem> m_item;
};

class PimLinks : public outlook::Links {
public:
    explicit PimLinks(std::shared_ptr<PimItem> item) : m_item(std::move(item)) {}

    void Add(const outlook::ItemPtr& contact) override {
        m_item->checkAlive();
        if (!contact)
            throw Error(err::NoObject, u"Objektvariable nicht festgelegt."_s);
        if (contact->Class() != outlook::olContact)
            throw Error(err::TypeMismatch, u"Nur Kontakte können verknüpft werden."_s);
        const QString id = contact->EntryID();
        if (id.isEmpty())
            throw Error(err::InvalidArgument,
                        u"Der Kontakt muss gespeichert sein, bevor er verknüpft wird."_s);
        QStringList& links = m_item->record().links;
        if (!links.contains(id))
            links.append(id);
        m_item->touch();
    }
    int Count() override { return static_cast<int>(m_item->record().links.size()); }
    QString EntryID(int index) override {
        if (index < 1 || index > Count())
            throw Error(err::InvalidArgument, u"Index außerhalb des gültigen Bereichs."_s);
        return m_item->record().links[index - 1];
    }
    outlook::ItemPtr Item(int index) override {
        return loadItem(m_item->session(), EntryID(index));
    }

private:
    std::shared_ptr<PimItem> m_item;
};

class PimInspector : public outlook::Inspector {
public:
    explicit PimInspector(std::shared_ptr<PimItem> item) : m_item(std::move(item)) {}

    int EditorType() override { return m_item->session()->store.editorType(); }
    outlook::DocumentPtr WordEditor() override { return m_item->document(); }
    outlook::ItemPtr CurrentItem() override { return m_item; }
    void Display(bool modal) override { m_item->Display(modal); }
    void Activate() override {
        m_item->checkAlive();
        state().open = true;
        state().active = true;
        store();
    }
    void Close(int saveMode) override { m_item->Close(saveMode); }
    int WindowState() override { return state().windowState; }
    void setWindowState(int v) override {
        if (v < 0 || v > 2)
            throw Error(err::InvalidArgument, u"Ungültiger Fensterzustand."_s);
        update(state().windowState, v);
    }
    int Left() override { return state().left; }
    void setLeft(int v) override { update(state().left, v); }
    int Top() override { return state().top; }
    void setTop(int v) override { update(state().top, v); }
    int Width() override { return state().width; }
    void setWidth(int v) override { update(state().width, v); }
    int Height() override { return state().height; }
    void setHeight(int v) override { update(state().height, v); }

private:
    InspectorState& state() { return m_item->inspectorState(); }
    void update(int& field, int v) {
        m_item->checkAlive();
        field = v;
        m_item->storeInspector();
    }
    void store() {
        m_item->storeInspector();
        m_item->session()->store.impl().activate(m_item->record().entryId);
    }

    std::shared_ptr<PimItem> m_item;
};
} // namespace

[[noreturn]] void unsupported(const QString& member) {
    throw Error(438, u"Objekt unterstützt diese Eigenschaft oder Methode nicht: "_s + member);
}

PimItem::PimItem(SessionPtr session, ItemRecord record, bool saved)
    : m_session(std::move(session)), m_record(std::move(record)),
      m_saved(saved && !m_record.unsaved), m_drafted(m_record.unsaved) {}

// A draft outlives the process that showed it, as Outlook keeps an unsaved
// item open in its window: what was written into it since it was shown is
// kept too.
PimItem::~PimItem() {
    if (m_drafted && !m_saved && !m_deleted) {
        try {
            keepDraft();
        } catch (...) { // nothing may leave a destructor; the shown draft stays
        }
    }
}

void PimItem::keepDraft() {
    if (m_document && m_document->modified()) {
        m_record.body = m_document->plainText();
        m_record.htmlBody = m_document->Html();
    }
    ItemRecord draft = m_record;
    draft.unsaved = true;
    draft.inspector = InspectorState(); // the window is stored apart
    Store& store = m_session->store;
    if (m_drafted) {
        store.updateItem(draft);
    } else {
        store.insertItem(draft);
        m_drafted = true;
    }
}

void PimItem::checkWritable() const {
    if (m_session->store.folder(m_record.folderId).readOnly)
        throw Error(NoPermission, u"Sie verfügen nicht über ausreichende Berechtigungen, um "
                                  u"diesen Vorgang für dieses Objekt auszuführen."_s);
}

quint8 PimItem::kind() const {
    return kindBitOf(m_record.messageClass);
}

void PimItem::checkAlive() const {
    if (m_deleted)
        throw Error(-2147221238, u"Das Element wurde verschoben oder gelöscht."_s);
}

int PimItem::Class() {
    return itemClassOf(m_record.messageClass);
}

QString PimItem::EntryID() {
    return m_saved ? m_record.entryId : QString();
}

QString PimItem::textOf(quint16 id) const {
    const PropDef* def = propertyById(id);
    return def ? m_record.properties.value(propertyName(*def)).toString() : QString();
}

QVariant PimItem::get(const QString& name) {
    checkAlive();
    const QString n = name.trimmed();
    if (n.compare(u"EntryID"_s, Qt::CaseInsensitive) == 0)
        return EntryID();
    if (n.compare(u"Class"_s, Qt::CaseInsensitive) == 0)
        return Class();
    if (n.compare(u"MessageClass"_s, Qt::CaseInsensitive) == 0)
        return m_record.messageClass;
    if (n.compare(u"Body"_s, Qt::CaseInsensitive) == 0)
        return m_document && m_document->modified() ? m_document->plainText() : m_record.body;
    if (n.compare(u"HTMLBody"_s, Qt::CaseInsensitive) == 0)
        return m_document && m_document->modified() ? m_document->Html() : m_record.htmlBody;
    const PropDef* def = findProperty(kind(), n);
    if (!def)
        unsupported(name);
    if (def->computed)
        return computed::value(def->id, [this](quint16 id) { return textOf(id); });
    const QVariant v = m_record.properties.value(propertyName(*def));
    return v.isValid() ? v : emptyValue(*def);
}

void PimItem::setStored(const PropDef& def, const QVariant& value) {
    const QVariant v = convertValue(def, value);
    const bool empty = (def.type == PropType::Text && v.toString().isEmpty()) ||
                       (def.type == PropType::Date && !v.toDateTime().isValid());
    if (empty)
        m_record.properties.remove(propertyName(def));
    else
        m_record.properties.insert(propertyName(def), v);
}

// Start, End and Duration of appointments and journal entries stay consistent.
void PimItem::setTimes(const QString& changed) {
    if (!(kind() & (kindbit::Appointment | kindbit::Journal)))
        return;
    const QDateTime start = m_record.properties.value(u"Start"_s).toDateTime();
    if (!start.isValid())
        return;
    if (changed == u"End"_s) {
        const QDateTime end = m_record.properties.value(u"End"_s).toDateTime();
        if (end.isValid())
            m_record.properties.insert(
                u"Duration"_s, static_cast<int>(std::max<qint64>(0, start.secsTo(end) / 60)));
    } else if (changed == u"Start"_s || changed == u"Duration"_s) {
        const int minutes = m_record.properties.value(u"Duration"_s).toInt();
        m_record.properties.insert(u"End"_s, start.addSecs(qint64{minutes} * 60));
    }
}

void PimItem::set(const QString& name, const QVariant& value) {
    checkAlive();
    const QString n = name.trimmed();
    if (n.compare(u"Body"_s, Qt::CaseInsensitive) == 0) {
        m_record.body = value.toString();
        m_document.reset();
        m_bodySet = true;
    } else if (n.compare(u"HTMLBody"_s, Qt::CaseInsensitive) == 0) {
        m_record.htmlBody = value.toString();
        m_record.body = stripHtml(m_record.htmlBody);
        m_document.reset();
        m_bodySet = true;
    } else if (n.compare(u"MessageClass"_s, Qt::CaseInsensitive) == 0) {
        if (kindBitOf(value.toString()) != kind())
            throw Error(err::InvalidArgument, u"Die Nachrichtenklasse passt nicht zum Element."_s);
        m_record.messageClass = value.toString();
    } else {
        const PropDef* def = findProperty(kind(), n);
        if (!def)
            unsupported(name);
        if (def->computed) {
            if (!computed::assignable(def->id))
                throw Error(438, u"Die Eigenschaft "_s + propertyName(*def) +
                                     u" kann nur gelesen werden."_s);
            for (const auto& [id, text] : computed::split(def->id, value.toString()))
                setStored(*propertyById(id), text);
        } else {
            setStored(*def, value);
            setTimes(propertyName(*def));
        }
    }
    m_dirty = true;
}

std::shared_ptr<outlook::UserProperties> PimItem::UserProperties() {
    checkAlive();
    return std::make_shared<PimUserProperties>(shared_from_this());
}

std::shared_ptr<outlook::Links> PimItem::Links() {
    checkAlive();
    return std::make_shared<PimLinks>(shared_from_this());
}

QList<outlook::Recipient> PimItem::Recipients() {
    checkAlive();
    if (kind() != kindbit::Mail)
        unsupported(u"Recipients"_s);
    QList<outlook::Recipient> out;
    for (const QString& part : textOf(prop::To).split(u';', Qt::SkipEmptyParts)) {
        const QString t = part.trimmed();
        if (!t.isEmpty())
            out.append({t, t});
    }
    return out;
}

std::shared_ptr<RichDocument> PimItem::document() {
    checkAlive();
    if (!m_document)
        m_document = std::make_shared<RichDocument>(m_record.body);
    return m_document;
}

QString PimItem::caption() {
    if (kind() == kindbit::Contact)
        return computed::value(prop::FullName, [this](quint16 id) { return textOf(id); });
    return textOf(prop::Subject);
}

void PimItem::storeInspector() {
    if (!m_saved && !m_drafted && m_record.inspector.open)
        keepDraft(); // a shown unsaved item stays with its window; later changes
                     // are kept when the item is let go
    m_session->store.impl().setInspector(m_record.entryId, caption(), m_record.inspector);
}

void PimItem::Save() {
    checkAlive();
    checkWritable();
    if (m_document && m_document->modified()) {
        m_record.body = m_document->plainText();
        m_record.htmlBody = m_document->Html();
        m_bodySet = true;
    }
    const QDateTime now = clock::now();
    m_record.properties.insert(u"LastModificationTime"_s, now);
    Store& store = m_session->store;
    if (!m_saved)
        m_record.properties.insert(u"CreationTime"_s, now);
    ItemRecord fresh = m_record;
    fresh.unsaved = false;
    fresh.inspector = InspectorState(); // the window is stored apart
    if (m_saved || m_drafted) {
        store.transaction([&] {
            if (!m_bodySet)
                keepStoredBody(fresh);
            store.updateItem(fresh);
        });
    } else {
        store.insertItem(fresh);
    }
    m_record.unsaved = false;
    m_bodySet = false;
    m_saved = true;
    m_drafted = false;
    if (m_record.inspector.open)
        storeInspector();
    m_dirty = false;
}

// A body this object did not write is taken as it is stored now: the user
// may have written notes into the item's window since it was read, and saving
// the item (stopping a journal timer, say) must not take them back.
void PimItem::keepStoredBody(ItemRecord& fresh) {
    const ItemRecord stored = m_session->store.item(m_record.entryId);
    if (stored.body == m_record.body && stored.htmlBody == m_record.htmlBody)
        return;
    fresh.body = m_record.body = stored.body;
    fresh.htmlBody = m_record.htmlBody = stored.htmlBody;
    m_document.reset();
}

void PimItem::Display(bool) {
    checkAlive();
    m_record.inspector.open = true;
    m_record.inspector.active = true;
    storeInspector();
    m_session->store.impl().activate(m_record.entryId);
}

void PimItem::discard() {
    if (m_saved) {
        m_record = m_session->store.item(m_record.entryId);
    } else if (m_drafted) {
        m_session->store.removeItem(m_record.entryId);
        m_drafted = false;
    }
    m_document.reset();
    m_dirty = false;
    m_bodySet = false;
}

void PimItem::Close(int saveMode) {
    checkAlive();
    switch (saveMode) {
    case outlook::olSave:
        Save();
        break;
    case outlook::olDiscard:
        discard();
        break;
    case outlook::olPromptForSave: {
        if (!m_dirty && !(m_document && m_document->modified()))
            break;
        const auto answer =
            msgbox::show(u"Möchten Sie die Änderungen speichern?"_s, msgbox::Buttons::YesNoCancel,
                         msgbox::Icon::Exclamation, caption().isEmpty() ? u"Outlook"_s : caption());
        if (answer == msgbox::Answer::Cancel)
            return;
        if (answer == msgbox::Answer::Yes)
            Save();
        else
            discard();
        break;
    }
    default:
        throw Error(err::InvalidArgument, u"Ungültiger Speichermodus für Close."_s);
    }
    m_record.inspector.open = false;
    m_record.inspector.active = false;
    if (m_saved || m_drafted)
        storeInspector();
}

void PimItem::Delete() {
    checkAlive();
    Store& store = m_session->store;
    if (m_saved) {
        checkWritable();
        const FolderInfo bin = store.defaultFolder(outlook::olFolderDeletedItems);
        store.transaction([&] {
            if (m_record.folderId == bin.entryId) {
                store.removeItem(m_record.entryId);
            } else {
                ItemRecord stored = store.item(m_record.entryId);
                stored.folderId = bin.entryId;
                store.updateItem(stored);
                m_record.inspector = InspectorState();
                storeInspector();
            }
        });
    } else if (m_drafted) {
        store.removeItem(m_record.entryId);
        m_drafted = false;
    } else if (m_record.inspector.open) {
        m_record.inspector = InspectorState();
        storeInspector();
    }
    m_deleted = true;
}

outlook::InspectorPtr PimItem::GetInspector() {
    checkAlive();
    if (outlook::InspectorPtr existing = m_inspector.lock())
        return existing;
    auto inspector = std::make_shared<PimInspector>(shared_from_this());
    m_inspector = inspector;
    return inspector;
}

outlook::FolderPtr PimItem::Parent() {
    checkAlive();
    return makeFolder(m_session, m_session->store.folder(m_record.folderId));
}

void PimItem::Starttimer() {
    checkAlive();
    if (kind() != kindbit::Journal)
        unsupported(u"Starttimer"_s);
    if (m_record.timerStarted.isValid())
        return;
    const QDateTime now = clock::now();
    m_record.timerStarted = now;
    if (!m_record.properties.value(u"Start"_s).toDateTime().isValid())
        m_record.properties.insert(u"Start"_s, now);
    m_dirty = true;
}

void PimItem::StopTimer() {
    checkAlive();
    if (kind() != kindbit::Journal)
        unsupported(u"StopTimer"_s);
    if (!m_record.timerStarted.isValid())
        return;
    const qint64 minutes = std::max<qint64>(0, m_record.timerStarted.secsTo(clock::now()) / 60);
    const int duration =
        m_record.properties.value(u"Duration"_s).toInt() + static_cast<int>(minutes);
    m_record.timerStarted = QDateTime();
    m_record.properties.insert(u"Duration"_s, duration);
    setTimes(u"Duration"_s);
    m_dirty = true;
}

outlook::ItemPtr loadItem(const SessionPtr& session, const QString& entryId) {
    if (entryId.trimmed().isEmpty())
        throw Error(NotFound, u"Das Objekt wurde nicht gefunden (leere EntryID)."_s);
    return std::make_shared<PimItem>(session, session->store.item(entryId), true);
}

outlook::ItemPtr newItem(const SessionPtr& session, const FolderInfo& folder) {
    ItemRecord r;
    r.folderId = folder.entryId;
    r.messageClass = messageClassOf(folder.kind);
    r.entryId = session->store.impl().newItemId(folder.entryId);
    const QDateTime now = clock::now();
    switch (folder.kind) {
    case FolderKind::Journal:
        r.properties.insert(u"Type"_s, u"Telefonanruf"_s);
        r.properties.insert(u"Start"_s, now);
        r.properties.insert(u"End"_s, now);
        r.properties.insert(u"Duration"_s, 0);
        break;
    case FolderKind::Calendar: {
        QDateTime start(now.date(), QTime(now.time().hour(), now.time().minute() < 30 ? 30 : 0));
        if (now.time().minute() >= 30)
            start = start.addSecs(3600);
        r.properties.insert(u"Start"_s, start);
        r.properties.insert(u"End"_s, start.addSecs(1800));
        r.properties.insert(u"Duration"_s, 30);
        r.properties.insert(u"BusyStatus"_s, 2);
        r.properties.insert(u"ReminderSet"_s, true);
        r.properties.insert(u"ReminderMinutesBeforeStart"_s, 15);
        break;
    }
    case FolderKind::Mail:
    case FolderKind::Other:
        r.properties.insert(u"BodyFormat"_s, 2);
        break;
    default:
        break;
    }
    return std::make_shared<PimItem>(session, r, false);
}

} // namespace tlm::pim
