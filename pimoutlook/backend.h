// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Outlook interface over the local PIM store.
#include "outlook/application.h"
#include "outlook/folder.h"
#include "outlook/item.h"
#include "pimoutlook/richdoc.h"
#include "store/filter.h"
#include "store/pimstore.h"

#include <memory>

namespace tlm::pim {

// What every object of one attached application shares: the store connection.
// Attaching never makes a store: a missing file or one that is no store
// cannot be attached to, as Outlook that cannot be reached.
struct Session {
    explicit Session(const QString& path) : store(path, Store::Create::Never) {}
    Store store;
};
using SessionPtr = std::shared_ptr<Session>;

// The attachment point behind outlook::attach() (see register.h).
outlook::ApplicationPtr createApplication(const QString& storePath);

[[noreturn]] void unsupported(const QString& member);

outlook::FolderPtr makeFolder(const SessionPtr& session, const FolderInfo& info);
outlook::ItemPtr loadItem(const SessionPtr& session, const QString& entryId);
outlook::ItemPtr newItem(const SessionPtr& session, const FolderInfo& folder);

class PimItem : public outlook::Item, public std::enable_shared_from_this<PimItem> {
public:
    PimItem(SessionPtr session, ItemRecord record, bool saved);
    ~PimItem() override;

    int Class() override;
    QString EntryID() override;
    QString MessageClass() override { return m_record.messageClass; }
    QVariant get(const QString& name) override;
    void set(const QString& name, const QVariant& value) override;
    using outlook::Item::set;
    std::shared_ptr<outlook::UserProperties> UserProperties() override;
    std::shared_ptr<outlook::Links> Links() override;
    QList<outlook::Recipient> Recipients() override;
    void Save() override;
    void Display(bool modal) override;
    void Close(int saveMode) override;
    void Delete() override;
    outlook::InspectorPtr GetInspector() override;
    outlook::FolderPtr Parent() override;
    void Starttimer() override;
    void StopTimer() override;

    // For the item's parts.
    ItemRecord& record() { return m_record; }
    void touch() { m_dirty = true; }
    void checkAlive() const;
    const SessionPtr& session() const { return m_session; }
    std::shared_ptr<RichDocument> document();
    InspectorState& inspectorState() { return m_record.inspector; }
    void storeInspector();
    QString caption();

private:
    quint8 kind() const;
    QString textOf(quint16 id) const;
    void setStored(const PropDef& def, const QVariant& value);
    void setTimes(const QString& name);
    void discard();
    void keepDraft();
    void keepStoredBody(ItemRecord& fresh);
    void checkWritable() const;

    SessionPtr m_session;
    ItemRecord m_record; // entryId is reserved for an unsaved item
    bool m_saved;
    bool m_drafted = false; // an unsaved item kept in the store as a draft
    bool m_dirty = false;
    bool m_bodySet = false; // the body was written through this object
    bool m_deleted = false;
    std::shared_ptr<RichDocument> m_document;
    std::weak_ptr<outlook::Inspector> m_inspector; // the inspector holds the item
};

} // namespace tlm::pim
