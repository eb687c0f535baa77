// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Outlook application and its "MAPI" namespace, the top of the Outlook
// interface. Every call may raise tlm::Error (number and description).
#include "outlook/fwd.h"

#include <QList>
#include <QString>
#include <functional>

namespace tlm::outlook {

class Application {
public:
    virtual ~Application() = default;
    // Only "MAPI" exists; any other name raises.
    virtual NamespacePtr GetNamespace(const QString& type) = 0;
    virtual NamespacePtr Session() = 0;
    // A new unsaved item of the default folder of its kind (ItemType: 0 mail,
    // 1 appointment, 3 task, 4 journal entry; 2 contact).
    virtual ItemPtr CreateItem(int itemType) = 0;
    // The object-model version, "16.0.0.0" unless the store reports another.
    virtual QString Version() = 0;
};

struct Recipient {
    QString Name;
    QString Address;
};

// Outlook's name selection: contacts with their e-mail addresses.
class SelectNamesDialog {
public:
    virtual ~SelectNamesDialog() = default;
    virtual void setShowOnlyInitialAddressList(bool only) = 0;
    virtual void setCaption(const QString& caption) = 0;
    // Shows the dialog; false when it was cancelled.
    virtual bool Display() = 0;
    virtual QList<Recipient> Recipients() = 0;
};

class Namespace {
public:
    virtual ~Namespace() = default;
    virtual FolderPtr GetDefaultFolder(int folderType) = 0;
    // Raises when no such folder exists (also for an empty EntryID).
    virtual FolderPtr GetFolderFromID(const QString& entryId, const QString& storeId = {}) = 0;
    virtual ItemPtr GetItemFromID(const QString& entryId, const QString& storeId = {}) = 0;
    // Lets the user choose a folder; nullptr on cancel.
    virtual FolderPtr PickFolder() = 0;
    virtual SelectNamesDialogPtr GetSelectNamesDialog() = 0;
    // The top folders of every store, default store first.
    virtual QList<FolderPtr> Folders() = 0;
};

// Attaches to the Outlook of this machine through the registered back end
// (the local PIM store: TELLMARIN_PIM, else the data folder's pim.sqlite).
// Raises tlm::Error 429 when it cannot be reached, and when no back end is
// registered; the cause stands in brackets.
ApplicationPtr attach();
// The same for an explicit store file.
ApplicationPtr attach(const QString& storePath);

// What stands behind attach(): makes the application for a store path
// (empty: the back end's own default) or raises tlm::Error. The program
// registers one at start-up, before it first attaches; an empty function
// removes it. Registering is not meant to race with attaching.
using Backend = std::function<ApplicationPtr(const QString& storePath)>;
void setBackend(Backend backend);

} // namespace tlm::outlook
