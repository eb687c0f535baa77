// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// The application and namespace objects of the PIM store behind the
// Outlook interface.
#include "pimoutlook/backend.h"
#include "pimoutlook/dialogs.h"
#include "pimoutlook/register.h"
#include "platform/error.h"

using namespace Qt::StringLiterals;

namespace tlm::pim {

namespace {
class PimSelectNamesDialog : public outlook::SelectNamesDialog {
public:
    explicit PimSelectNamesDialog(SessionPtr session) : m_session(std::move(session)) {}
    void setShowOnlyInitialAddressList(bool) override {}
    void setCaption(const QString& caption) override { m_caption = caption; }
    bool Display() override {
        m_recipients.clear();
        for (const auto& [name, address] : dialogs::selectNames(m_session->store, m_caption))
            m_recipients.append({name, address});
        return !m_recipients.isEmpty();
    }
    QList<outlook::Recipient> Recipients() override { return m_recipients; }

private:
    SessionPtr m_session;
    QString m_caption;
    QList<outlook::Recipient> m_recipients;
};

class PimNamespace : public outlook::Namespace {
public:
    explicit PimNamespace(SessionPtr session) : m_session(std::move(session)) {}

    outlook::FolderPtr GetDefaultFolder(int folderType) override {
        return makeFolder(m_session, m_session->store.defaultFolder(folderType));
    }
    outlook::FolderPtr GetFolderFromID(const QString& entryId, const QString& storeId) override {
        if (entryId.trimmed().isEmpty())
            throw Error(NotFound, u"Das Objekt wurde nicht gefunden (leere EntryID)."_s);
        const FolderInfo f = m_session->store.folder(entryId.trimmed());
        if (!storeId.trimmed().isEmpty() && storeId.trimmed() != f.storeId)
            throw Error(NotFound, u"Der Ordner "_s + entryId + u" liegt nicht im Speicher "_s +
                                      storeId + u'.');
        return makeFolder(m_session, f);
    }
    outlook::ItemPtr GetItemFromID(const QString& entryId, const QString& storeId) override {
        outlook::ItemPtr item = loadItem(m_session, entryId.trimmed());
        if (!storeId.trimmed().isEmpty() && item->Parent()->StoreID() != storeId.trimmed())
            throw Error(NotFound, u"Das Element "_s + entryId + u" liegt nicht im Speicher "_s +
                                      storeId + u'.');
        return item;
    }
    outlook::FolderPtr PickFolder() override {
        const QString id = dialogs::pickFolder(m_session->store);
        return id.isEmpty() ? nullptr : makeFolder(m_session, m_session->store.folder(id));
    }
    outlook::SelectNamesDialogPtr GetSelectNamesDialog() override {
        return std::make_shared<PimSelectNamesDialog>(m_session);
    }
    QList<outlook::FolderPtr> Folders() override {
        QList<outlook::FolderPtr> out;
        for (const FolderInfo& f : m_session->store.folders()) {
            if (f.parentId.isEmpty())
                out.append(makeFolder(m_session, f));
        }
        return out;
    }

private:
    SessionPtr m_session;
};

class PimApplication : public outlook::Application {
public:
    explicit PimApplication(SessionPtr session)
        : m_session(std::move(session)), m_namespace(std::make_shared<PimNamespace>(m_session)) {}

    outlook::NamespacePtr GetNamespace(const QString& type) override {
        if (type.compare(u"MAPI"_s, Qt::CaseInsensitive) != 0)
            throw Error(err::InvalidArgument,
                        u"Ungültiger Prozeduraufruf oder ungültiges Argument: GetNamespace(\""_s +
                            type + u"\")"_s);
        return m_namespace;
    }
    outlook::NamespacePtr Session() override { return m_namespace; }
    outlook::ItemPtr CreateItem(int itemType) override {
        int folder = 0;
        switch (itemType) {
        case outlook::olMailItem:
            folder = outlook::olFolderDrafts;
            break;
        case outlook::olAppointmentItem:
            folder = outlook::olFolderCalendar;
            break;
        case outlook::olContactItem:
            folder = outlook::olFolderContacts;
            break;
        case outlook::olTaskItem:
            folder = outlook::olFolderTasks;
            break;
        case outlook::olJournalItem:
            folder = outlook::olFolderJournal;
            break;
        default:
            throw Error(err::InvalidArgument,
                        u"Ungültiger Prozeduraufruf oder ungültiges Argument: CreateItem("_s +
                            QString::number(itemType) + u')');
        }
        return newItem(m_session, m_session->store.defaultFolder(folder));
    }
    QString Version() override { return m_session->store.outlookVersion(); }

private:
    SessionPtr m_session;
    outlook::NamespacePtr m_namespace;
};
} // namespace

outlook::ApplicationPtr createApplication(const QString& storePath) {
    return std::make_shared<PimApplication>(std::make_shared<Session>(storePath));
}

void registerOutlookBackend() {
    outlook::setBackend(&createApplication);
}

// The store keeps Outlook's numbers for default folders and item classes.
static_assert(defaultfolder::DeletedItems == outlook::olFolderDeletedItems &&
              defaultfolder::Inbox == outlook::olFolderInbox &&
              defaultfolder::Calendar == outlook::olFolderCalendar &&
              defaultfolder::Contacts == outlook::olFolderContacts &&
              defaultfolder::Journal == outlook::olFolderJournal &&
              defaultfolder::Tasks == outlook::olFolderTasks &&
              defaultfolder::Drafts == outlook::olFolderDrafts);
static_assert(itemclass::Appointment == outlook::olAppointment &&
              itemclass::Contact == outlook::olContact &&
              itemclass::Journal == outlook::olJournal && itemclass::Mail == outlook::olMail &&
              itemclass::Task == outlook::olTask);

} // namespace tlm::pim
