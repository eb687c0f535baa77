// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/itemlist.h"

#include <algorithm>

namespace tlm::viewer {
namespace {
// Removing rows one by one costs a signal each; past this many the list is
// rebuilt at once.
constexpr qsizetype RemoveOneByOne = 64;

QVariant sortKey(const pim::ItemRecord& record, const QString& property, const QString& shown) {
    const QVariant v = record.properties.value(property);
    switch (v.typeId()) {
    case QMetaType::QDateTime:
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Double:
        return v;
    default:
        return shown;
    }
}
} // namespace

void ItemList::setColumns(QList<Field> columns) {
    beginResetModel();
    m_columns = std::move(columns);
    m_rows.clear();
    m_index.clear();
    endResetModel();
}

QSet<QString> ItemList::changed(const QList<pim::Store::ItemStamp>& stamps) const {
    QSet<QString> out;
    for (const pim::Store::ItemStamp& s : stamps) {
        const auto it = m_index.constFind(s.entryId);
        if (it == m_index.cend() || m_rows[size_t(*it)].stamp != s.stamp)
            out.insert(s.entryId);
    }
    return out;
}

ItemList::Row ItemList::rowOf(const pim::ItemRecord& record, size_t stamp) const {
    Row row{record.entryId, stamp, {}, {}};
    for (const Field& f : m_columns) {
        row.texts.append(text(record, f.property));
        row.sortKeys.append(sortKey(record, f.property, row.texts.last()));
    }
    return row;
}

void ItemList::apply(const QList<pim::Store::ItemStamp>& stamps,
                     const QHash<QString, pim::ItemRecord>& records) {
    QSet<QString> present;
    present.reserve(stamps.size());
    for (const pim::Store::ItemStamp& s : stamps)
        present.insert(s.entryId);
    removeGone(present);

    std::vector<Row> added;
    for (const pim::Store::ItemStamp& s : stamps) {
        const auto record = records.constFind(s.entryId);
        if (record == records.cend())
            continue;
        const auto at = m_index.constFind(s.entryId);
        if (at == m_index.cend()) {
            added.push_back(rowOf(*record, s.stamp));
            continue;
        }
        m_rows[size_t(*at)] = rowOf(*record, s.stamp);
        Q_EMIT dataChanged(index(*at, 0), index(*at, columnCount() - 1));
    }
    if (added.empty())
        return;
    const int first = rowCount();
    beginInsertRows({}, first, first + int(added.size()) - 1);
    for (Row& r : added) {
        m_index.insert(r.entryId, int(m_rows.size()));
        m_rows.push_back(std::move(r));
    }
    endInsertRows();
}

void ItemList::removeGone(const QSet<QString>& present) {
    QList<int> gone;
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (!present.contains(m_rows[i].entryId))
            gone.append(int(i));
    if (gone.isEmpty())
        return;
    const auto isGone = [&](const Row& r) { return !present.contains(r.entryId); };
    if (gone.size() > RemoveOneByOne) {
        beginResetModel();
        std::erase_if(m_rows, isGone);
        reindex();
        endResetModel();
        return;
    }
    for (auto it = gone.crbegin(); it != gone.crend(); ++it) {
        beginRemoveRows({}, *it, *it);
        m_rows.erase(m_rows.begin() + *it);
        endRemoveRows();
    }
    reindex();
}

void ItemList::reindex() {
    m_index.clear();
    m_index.reserve(qsizetype(m_rows.size()));
    for (size_t i = 0; i < m_rows.size(); ++i)
        m_index.insert(m_rows[i].entryId, int(i));
}

int ItemList::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ItemList::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant ItemList::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || size_t(index.row()) >= m_rows.size())
        return {};
    const Row& row = m_rows[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return row.texts.value(index.column());
    case SortRole:
        return row.sortKeys.value(index.column());
    case EntryIdRole:
        return row.entryId;
    default:
        return {};
    }
}

QVariant ItemList::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < m_columns.size())
        return m_columns[section].label;
    return QAbstractTableModel::headerData(section, orientation, role);
}

} // namespace tlm::viewer
