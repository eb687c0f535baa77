// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Folders, their item collections and tables.
#include "outlook/fwd.h"

#include <QList>
#include <QString>
#include <QVariant>

namespace tlm::outlook {

class Folder {
public:
    virtual ~Folder() = default;
    virtual QString Name() = 0;
    // "\\" + store name + "\" + folder names joined by "\".
    virtual QString FolderPath() = 0;
    virtual QString FullFolderPath() = 0;
    virtual QString EntryID() = 0;
    virtual QString StoreID() = 0;
    virtual int DefaultItemType() = 0;         // ItemType
    virtual QString DefaultMessageClass() = 0; // "IPM.Contact", ...
    virtual std::shared_ptr<outlook::Items> Items() = 0;
    // The folder's table, filtered (Jet "[Name] = 'x'" or DASL "@SQL=...";
    // empty: every item). Raises on a filter that does not parse.
    virtual TablePtr GetTable(const QString& filter = {}, int tableContents = 0) = 0;
    virtual QList<FolderPtr> Folders() = 0; // subfolders
    virtual FolderPtr Parent() = 0;         // nullptr for a top folder
    // Shows the folder (recorded in the store for the viewer).
    virtual void Display() = 0;
};

class Items {
public:
    virtual ~Items() = default;
    virtual int Count() = 0;
    // 1-based; raises outside 1..Count.
    virtual ItemPtr Item(int index) = 0;
    // A new unsaved item of the folder's kind.
    virtual ItemPtr Add() = 0;
    // The first item matching the filter, nullptr when none.
    virtual ItemPtr Find(const QString& filter) = 0;
    virtual ItemPtr FindNext() = 0;
    // Orders the collection by a property ("[LastName]" or "LastName").
    virtual void Sort(const QString& property, bool descending = false) = 0;
};

class Table {
public:
    virtual ~Table() = default;
    virtual std::shared_ptr<outlook::Columns> Columns() = 0;
    virtual void Sort(const QString& property, bool descending = false) = 0;
    virtual int GetRowCount() = 0;
    virtual void MoveToStart() = 0;
    // The next row; raises past the end.
    virtual RowPtr GetNextRow() = 0;
    virtual bool EndOfTable() = 0;
};

// The columns of a table, numbered from 1: the folder kind's own columns
// (contacts: EntryID, Subject, CreationTime, LastModificationTime,
// MessageClass, FirstName, LastName, CompanyName), then the added ones.
class Columns {
public:
    virtual ~Columns() = default;
    // Adds a column by property name (any case); raises for unknown names.
    virtual void Add(const QString& name) = 0;
    virtual int Count() = 0;
    virtual QString Name(int column) = 0; // canonical spelling
};

class Row {
public:
    virtual ~Row() = default;
    // By 1-based column number; texts, numbers, flags, dates.
    virtual QVariant Item(int column) = 0;
    virtual QVariant Item(const QString& columnName) = 0;
};

} // namespace tlm::outlook
