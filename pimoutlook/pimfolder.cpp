// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Folders of the PIM store behind the Outlook interface, with their item
// collections and tables.
#include "pimoutlook/backend.h"
#include "platform/error.h"
#include "store/fields.h"
#include "store/storeimpl.h"

#include <QSet>
#include <numeric>

using namespace Qt::StringLiterals;

namespace tlm::pim {

namespace {
quint8 kindBitOfFolder(FolderKind kind) {
    return kindBitOf(messageClassOf(kind));
}

Field requireField(quint8 kind, const QString& name) {
    if (auto f = resolveField(kind, name))
        return *f;
    throw Error(CannotParse, u"Die Eigenschaft \""_s + name + u"\" ist unbekannt."_s);
}

// Orders rows by one field, keeping the order of equal ones.
void sortRows(QList<RawRow>& rows, const Field& field, bool descending) {
    QList<QVariant> keys;
    keys.reserve(rows.size());
    for (const RawRow& row : rows)
        keys.append(RowSource(row).value(field));
    QList<qsizetype> order(rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        const int c = compareValues(keys[a], keys[b], field.type());
        return descending ? c > 0 : c < 0;
    });
    QList<RawRow> sorted;
    sorted.reserve(rows.size());
    for (qsizetype i : order)
        sorted.append(std::move(rows[i]));
    rows = std::move(sorted);
}

QStringList defaultColumns(FolderKind kind) {
    QStringList columns = {u"EntryID"_s, u"Subject"_s, u"CreationTime"_s, u"LastModificationTime"_s,
                           u"MessageClass"_s};
    if (kind == FolderKind::Contact)
        columns << u"FirstName"_s << u"LastName"_s << u"CompanyName"_s;
    else if (kind == FolderKind::Calendar)
        columns << u"Start"_s << u"End"_s << u"IsRecurring"_s;
    else if (kind == FolderKind::Task)
        columns << u"DueDate"_s << u"PercentComplete"_s << u"IsRecurring"_s << u"Complete"_s;
    return columns;
}

class PimTable;

class PimRow : public outlook::Row {
public:
    PimRow(std::shared_ptr<const QList<Field>> columns, const RawRow& row)
        : m_columns(std::move(columns)), m_row(row) {}

    QVariant Item(int column) override {
        if (column < 1 || column > m_columns->size())
            throw Error(err::InvalidArgument,
                        u"Spalte "_s + QString::number(column) + u" ist nicht vorhanden."_s);
        if (!m_props)
            m_props.emplace(m_row.props); // one walk of the blob for all columns
        return RowSource(m_row, &*m_props).value((*m_columns)[column - 1]);
    }
    QVariant Item(const QString& name) override {
        for (qsizetype i = 0; i < m_columns->size(); ++i) {
            if ((*m_columns)[i].name.compare(name, Qt::CaseInsensitive) == 0)
                return Item(static_cast<int>(i) + 1);
        }
        throw Error(err::InvalidArgument, u"Die Spalte \""_s + name + u"\" ist nicht vorhanden."_s);
    }

private:
    std::shared_ptr<const QList<Field>> m_columns;
    RawRow m_row; // shares the blobs of the table's rows
    std::optional<PropIndex> m_props;
};

class PimTable : public outlook::Table, public std::enable_shared_from_this<PimTable> {
public:
    PimTable(SessionPtr session, FolderInfo folder, Filter filter)
        : m_session(std::move(session)), m_folder(std::move(folder)), m_filter(std::move(filter)),
          m_kind(kindBitOfFolder(m_folder.kind)) {
        auto columns = std::make_shared<QList<Field>>();
        for (const QString& name : defaultColumns(m_folder.kind))
            columns->append(requireField(m_kind, name));
        m_columns = columns;
    }

    std::shared_ptr<outlook::Columns> Columns() override;

    void addColumn(const QString& name) {
        auto columns = std::make_shared<QList<Field>>(*m_columns);
        columns->append(requireField(m_kind, name));
        m_columns = columns;
    }
    int columnCount() const { return static_cast<int>(m_columns->size()); }
    QString columnName(int column) const {
        if (column < 1 || column > m_columns->size())
            throw Error(err::InvalidArgument,
                        u"Spalte "_s + QString::number(column) + u" ist nicht vorhanden."_s);
        return (*m_columns)[column - 1].name;
    }

    void Sort(const QString& property, bool descending) override {
        m_sort = requireField(m_kind, property);
        m_descending = descending;
        if (m_loaded) {
            sortRows(m_rows, *m_sort, m_descending);
            m_position = 0;
        } else {
            load(); // a sorted table starts at its first row
            m_position = 0;
        }
    }
    int GetRowCount() override {
        load();
        return static_cast<int>(m_rows.size());
    }
    void MoveToStart() override {
        if (!m_loaded) { // read again from the first row
            m_cursor.reset();
            m_ahead.reset();
            m_exhausted = false;
            m_consumed = 0;
            return;
        }
        m_position = 0;
    }
    outlook::RowPtr GetNextRow() override {
        if (!m_loaded) {
            if (!fetchAhead())
                throw endOfTable();
            ++m_consumed;
            return std::make_shared<PimRow>(m_columns, *std::exchange(m_ahead, std::nullopt));
        }
        if (m_position >= m_rows.size())
            throw endOfTable();
        return std::make_shared<PimRow>(m_columns, m_rows[m_position++]);
    }
    bool EndOfTable() override {
        if (!m_loaded)
            return !fetchAhead();
        return m_position >= m_rows.size();
    }

private:
    static Error endOfTable() {
        return Error(err::InvalidArgument, u"Das Ende der Tabelle ist erreicht."_s);
    }
    bool keeps(const RawRow& row) const {
        return m_filter.isEmpty() || m_filter.matches(RowSource(row));
    }
    // Until a sort order or the row count is asked for, the rows are read
    // from the store as the caller moves on, so that a large folder never
    // lies in memory whole.
    bool fetchAhead() {
        if (m_ahead)
            return true;
        if (m_exhausted)
            return false;
        if (!m_cursor)
            m_cursor = std::make_unique<RowCursor>(m_session->store.impl().db, m_folder.entryId,
                                                   m_filter.usesUserProperties());
        RawRow row;
        while (m_cursor->next(row)) {
            if (keeps(row)) {
                m_ahead = std::move(row);
                return true;
            }
        }
        m_cursor.reset();
        m_exhausted = true;
        return false;
    }
    // Reads every row at once; the position stays where reading had come.
    void load() {
        if (m_loaded)
            return;
        QList<RawRow> rows =
            m_session->store.impl().scan(m_folder.entryId, m_filter.usesUserProperties());
        rows.removeIf([&](const RawRow& row) { return !keeps(row); });
        if (m_sort)
            sortRows(rows, *m_sort, m_descending);
        m_rows = std::move(rows);
        m_loaded = true;
        m_position = std::min<qsizetype>(m_consumed, m_rows.size());
        m_cursor.reset();
        m_ahead.reset();
    }

    SessionPtr m_session;
    FolderInfo m_folder;
    Filter m_filter;
    quint8 m_kind;
    std::shared_ptr<const QList<Field>> m_columns;
    std::optional<Field> m_sort;
    bool m_descending = false;
    bool m_loaded = false;
    QList<RawRow> m_rows;
    qsizetype m_position = 0;
    std::unique_ptr<RowCursor> m_cursor;
    std::optional<RawRow> m_ahead;
    bool m_exhausted = false;
    qsizetype m_consumed = 0;
};

class PimColumns : public outlook::Columns {
public:
    explicit PimColumns(std::shared_ptr<PimTable> table) : m_table(std::move(table)) {}
    void Add(const QString& name) override { m_table->addColumn(name); }
    int Count() override { return m_table->columnCount(); }
    QString Name(int column) override { return m_table->columnName(column); }

private:
    std::shared_ptr<PimTable> m_table;
};

std::shared_ptr<outlook::Columns> PimTable::Columns() {
    return std::make_shared<PimColumns>(shared_from_this());
}

class PimItems : public outlook::Items {
public:
    PimItems(SessionPtr session, FolderInfo folder)
        : m_session(std::move(session)), m_folder(std::move(folder)),
          m_kind(kindBitOfFolder(m_folder.kind)) {}

    int Count() override { return static_cast<int>(ids().size()); }
    outlook::ItemPtr Item(int index) override {
        const QStringList& all = ids();
        if (index < 1 || index > all.size())
            throw Error(err::InvalidArgument, u"Index "_s + QString::number(index) +
                                                  u" außerhalb des gültigen Bereichs."_s);
        return loadItem(m_session, all[index - 1]);
    }
    outlook::ItemPtr Add() override {
        m_ids.reset();
        return newItem(m_session, m_folder);
    }
    outlook::ItemPtr Find(const QString& filter) override {
        m_find = Filter::parse(filter, m_kind);
        m_findRows = rows(m_find.usesUserProperties());
        m_findPosition = 0;
        return FindNext();
    }
    outlook::ItemPtr FindNext() override {
        while (m_findPosition < m_findRows.size()) {
            const RawRow& row = m_findRows[m_findPosition++];
            if (m_find.matches(RowSource(row)))
                return loadItem(m_session, row.entryId);
        }
        return nullptr;
    }
    void Sort(const QString& property, bool descending) override {
        m_sort = requireField(m_kind, property);
        m_descending = descending;
        m_ids.reset();
    }

private:
    QList<RawRow> rows(bool withUserProps) const {
        QList<RawRow> all = m_session->store.impl().scan(m_folder.entryId, withUserProps);
        if (m_sort)
            sortRows(all, *m_sort, m_descending);
        return all;
    }
    const QStringList& ids() {
        if (!m_ids) {
            QStringList list;
            for (const RawRow& row : rows(false))
                list.append(row.entryId);
            m_ids = list;
        }
        return *m_ids;
    }

    SessionPtr m_session;
    FolderInfo m_folder;
    quint8 m_kind;
    std::optional<Field> m_sort;
    bool m_descending = false;
    std::optional<QStringList> m_ids;
    Filter m_find;
    QList<RawRow> m_findRows;
    qsizetype m_findPosition = 0;
};

int defaultItemType(FolderKind kind) {
    switch (kind) {
    case FolderKind::Contact:
        return outlook::olContactItem;
    case FolderKind::Calendar:
        return outlook::olAppointmentItem;
    case FolderKind::Journal:
        return outlook::olJournalItem;
    case FolderKind::Task:
        return outlook::olTaskItem;
    default:
        return outlook::olMailItem;
    }
}

class PimFolder : public outlook::Folder {
public:
    PimFolder(SessionPtr session, FolderInfo info)
        : m_session(std::move(session)), m_info(std::move(info)) {}

    QString Name() override { return m_info.name; }
    QString FolderPath() override { return m_info.folderPath; }
    QString FullFolderPath() override { return m_info.folderPath; }
    QString EntryID() override { return m_info.entryId; }
    QString StoreID() override { return m_info.storeId; }
    int DefaultItemType() override { return defaultItemType(m_info.kind); }
    QString DefaultMessageClass() override { return messageClassOf(m_info.kind); }
    std::shared_ptr<outlook::Items> Items() override {
        return std::make_shared<PimItems>(m_session, m_info);
    }
    outlook::TablePtr GetTable(const QString& filter, int) override {
        return std::make_shared<PimTable>(m_session, m_info,
                                          Filter::parse(filter, kindBitOfFolder(m_info.kind)));
    }
    QList<outlook::FolderPtr> Folders() override {
        QList<outlook::FolderPtr> out;
        for (const FolderInfo& f : m_session->store.folders()) {
            if (f.parentId == m_info.entryId)
                out.append(makeFolder(m_session, f));
        }
        return out;
    }
    outlook::FolderPtr Parent() override {
        if (m_info.parentId.isEmpty())
            return nullptr;
        return makeFolder(m_session, m_session->store.folder(m_info.parentId));
    }
    void Display() override {
        Store::Impl& impl = m_session->store.impl();
        sql::Stmt(impl.db, "INSERT OR REPLACE INTO meta VALUES('view:folder', ?)")
            .bind(1, m_info.entryId)
            .run();
    }

private:
    SessionPtr m_session;
    FolderInfo m_info;
};
} // namespace

outlook::FolderPtr makeFolder(const SessionPtr& session, const FolderInfo& info) {
    return std::make_shared<PimFolder>(session, info);
}

} // namespace tlm::pim
