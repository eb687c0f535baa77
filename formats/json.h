// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The whole local store as one JSON document, to inspect it, to seed tests
// and to move it between machines. A dump loaded into a new store dumps the
// same bytes again: keys are sorted, folders come parent first, items in the
// order they were created, and empty members are left out.
//
//   { "format": "tellmarin-pim", "version": 1,
//     "options": { "EditorType": "4", "OutlookVersion": "16.0.0.0" },
//     "stores":  [ { "StoreID": "...", "name": "Persönliche Ordner" } ],
//     "folders": [ { "EntryID": "...", "StoreID": "...", "parent": "<EntryID>",
//                    "name": "Kontakte", "kind": "contact", "default": 10,
//                    "path": "\\\\Persönliche Ordner\\Kontakte",
//                    "items": [ { "EntryID": "...", "class": "IPM.Contact",
//                                 "properties": { "FirstName": "Anna", ... },
//                                 "userProperties": [ { "name": "PCALLID", "value": "..." } ],
//                                 "links": [ "<EntryID>" ], "body": "...", "htmlBody": "...",
//                                 "inspector": { "open": true, ... },
//                                 "timerStarted": "2024-05-02T10:15:00" } ] } ] }
//
// Dates are local times in ISO form ("yyyy-MM-ddTHH:mm:ss", milliseconds
// only when not zero). "path" is written for the reader and ignored when
// loading.
#include <QByteArray>
#include <QString>

class QIODevice;

namespace tlm::pim {
class Store;
}

namespace tlm::pim::json {

// Written item by item, so that memory holds one item at a time.
void dump(const Store& store, QIODevice& out);
QByteArray dump(const Store& store);

// Loads a dump into store, which must not hold any store yet. The document
// is read once, in blocks: its items wait in a temporary file until the
// folders they go into are known, so memory stays bounded by the largest
// single item. Everything is written in one transaction, so a bad document
// leaves the store as it was. Errors raise tlm::Error (BadFileFormat) with
// "fileName:line: text".
void load(Store& store, QIODevice& in, const QString& fileName);
void load(Store& store, const QByteArray& data, const QString& fileName);

// The line (1-based) on which the value at path starts in a JSON text, path
// written as "folders[2].items[0].properties.Start"; the nearest enclosing
// value that exists when path does not, 1 for an empty path.
int lineOf(const QByteArray& text, const QString& path);

} // namespace tlm::pim::json
