// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rows of the viewer's item list: one per saved item of the shown folder,
// with the texts of the folder's columns. Follows the folder by stamps, so a
// change re-reads and re-sorts only the rows it touches.
#include "store/pimstore.h"
#include "viewer/itemkinds.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QSet>
#include <vector>

namespace tlm::viewer {

class ItemList : public QAbstractTableModel {
    Q_OBJECT

public:
    // The role the list sorts by: dates and numbers as values, texts as shown.
    static constexpr int SortRole = Qt::UserRole;
    static constexpr int EntryIdRole = Qt::UserRole + 1;

    using QAbstractTableModel::QAbstractTableModel;

    // Empties the list and gives it the columns of another folder.
    void setColumns(QList<Field> columns);
    // Of the folder's items now, the entry IDs that are new or changed.
    QSet<QString> changed(const QList<pim::Store::ItemStamp>& stamps) const;
    // Brings the rows to stamps: rows not in it go, records (the new and
    // changed items, as changed() named them) are filled in or appended.
    void apply(const QList<pim::Store::ItemStamp>& stamps,
               const QHash<QString, pim::ItemRecord>& records);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct Row {
        QString entryId;
        size_t stamp = 0;
        QStringList texts;
        QVariantList sortKeys;
    };
    Row rowOf(const pim::ItemRecord& record, size_t stamp) const;
    void removeGone(const QSet<QString>& present);
    void reindex();

    QList<Field> m_columns;
    std::vector<Row> m_rows;
    QHash<QString, int> m_index; // entry ID -> row
};

} // namespace tlm::viewer
