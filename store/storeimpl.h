// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The inside of the PIM store, shared by the raw store API and the
// Outlook adaptor over it (pimoutlook/).
#include "store/pimstore.h"
#include "store/sqlite.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace tlm::pim {

// One item as a table pass reads it: identifiers and undecoded blobs.
struct RawRow {
    QString entryId;
    QString messageClass;
    QByteArray props;     // property blob (properties.h)
    QByteArray userProps; // text pairs; empty unless asked for
};

// Reads the saved items of a folder one at a time, in creation order; the
// read lasts as long as the cursor.
class RowCursor {
public:
    RowCursor(const sql::Db& db, const QString& folderId, bool withUserProps);
    ~RowCursor();
    RowCursor(const RowCursor&) = delete;
    RowCursor& operator=(const RowCursor&) = delete;
    bool next(RawRow& row); // false at the end

private:
    std::unique_ptr<sql::Stmt> m_stmt;
    bool m_withUserProps;
    QString m_lastClass; // shared by the rows of one message class
};

struct Store::Impl {
    mutable sql::Db db; // caches prepared statements
    QString path;
    int depth = 0; // transaction nesting

    // What the opened file holds, as far as this program is concerned.
    enum class FileKind {
        Marked,   // a store of this program with its mark in the header
        Unmarked, // a store made before stores were marked: the schema is ours
        Empty,    // no table at all (a new or zero-length file)
        Foreign,  // another program's database
    };
    FileKind fileKind() const;
    // Creates or completes the schema; refuses a foreign file, and an empty
    // one unless mode allows a new store, changing nothing in either.
    void createSchema(Create mode);
    void createDefaults();
    void addMissingColumns();
    void addFolderVersions();
    void addSyncStates();

    // All items of a folder in creation order, one query.
    QList<RawRow> scan(const QString& folderId, bool withUserProps) const;

    // Inspector windows, kept by EntryID (also for items not saved yet).
    InspectorState inspector(const QString& entryId) const;
    void setInspector(const QString& entryId, const QString& caption, const InspectorState& state);
    // Makes entryId the one active window.
    void activate(const QString& entryId);

    // The store part of new identifiers.
    QString storeGuid(const QString& storeId) const;
    QString newItemId(const QString& folderId) const;
};

// A fresh 32-digit uppercase hexadecimal unique number.
QString newGuidHex();
// True for an uppercase hexadecimal text of 2 to 140 characters.
bool isValidId(const QString& id);

} // namespace tlm::pim
