// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared handles of the Outlook interface. An object lives as long as a
// handle refers to it; a null handle is Outlook's Nothing.
#include <memory>

namespace tlm::outlook {

class Application;
class Namespace;
class Folder;
class Items;
class Table;
class Columns;
class Row;
class Item;
class UserProperties;
class Links;
class Inspector;
class Document;
class Selection;
class SelectNamesDialog;

using ApplicationPtr = std::shared_ptr<Application>;
using NamespacePtr = std::shared_ptr<Namespace>;
using FolderPtr = std::shared_ptr<Folder>;
using ItemsPtr = std::shared_ptr<Items>;
using TablePtr = std::shared_ptr<Table>;
using ColumnsPtr = std::shared_ptr<Columns>;
using RowPtr = std::shared_ptr<Row>;
using ItemPtr = std::shared_ptr<Item>;
using UserPropertiesPtr = std::shared_ptr<UserProperties>;
using LinksPtr = std::shared_ptr<Links>;
using InspectorPtr = std::shared_ptr<Inspector>;
using DocumentPtr = std::shared_ptr<Document>;
using SelectionPtr = std::shared_ptr<Selection>;
using SelectNamesDialogPtr = std::shared_ptr<SelectNamesDialog>;

// Item kinds of CreateItem and Folder::DefaultItemType.
enum ItemType {
    olMailItem = 0,
    olAppointmentItem = 1,
    olContactItem = 2,
    olTaskItem = 3,
    olJournalItem = 4
};
// Item classes (Item::Class).
enum ObjectClass { olAppointment = 26, olContact = 40, olJournal = 42, olMail = 43, olTask = 48 };
// Folders of Namespace::GetDefaultFolder.
enum DefaultFolders {
    olFolderDeletedItems = 3,
    olFolderInbox = 6,
    olFolderCalendar = 9,
    olFolderContacts = 10,
    olFolderJournal = 11,
    olFolderTasks = 13,
    olFolderDrafts = 16
};
// Close modes of Item::Close and Inspector::Close.
enum InspectorClose { olSave = 0, olDiscard = 1, olPromptForSave = 2 };
// Editor kinds of Inspector::EditorType.
enum EditorType { olEditorText = 1, olEditorHTML = 2, olEditorRTF = 3, olEditorWord = 4 };
// Window states of Inspector::WindowState.
enum WindowState { olMaximized = 0, olMinimized = 1, olNormalWindow = 2 };

} // namespace tlm::outlook
