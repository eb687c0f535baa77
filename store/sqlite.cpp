// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/sqlite.h"

#include "platform/error.h"
#include "store/pimstore.h"

#include <sqlite3.h>

namespace tlm::pim::sql {

namespace {
constexpr int BusyTimeoutMs = 15000;
}

Db::~Db() {
    m_cache.clear();
    if (m_db)
        sqlite3_close_v2(m_db);
}

void Db::open(const QString& path, bool create) {
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
    if (create)
        flags |= SQLITE_OPEN_CREATE;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString message =
            m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString::fromUtf8(sqlite3_errstr(rc));
        if (m_db)
            sqlite3_close_v2(m_db);
        m_db = nullptr;
        throw Error(StoreUnavailable, QStringLiteral("Der PIM-Speicher ") + path +
                                          QStringLiteral(" kann nicht geöffnet werden: ") +
                                          message);
    }
    sqlite3_busy_timeout(m_db, BusyTimeoutMs);
    sqlite3_extended_result_codes(m_db, 1);
}

void Db::exec(const char* sql) {
    char* message = nullptr;
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        const QString text = QString::fromUtf8(message ? message : "?");
        sqlite3_free(message);
        throw Error(StoreUnavailable, QStringLiteral("PIM-Speicher: ") + text);
    }
}

Stmt& Db::cached(const char* sql) {
    std::unique_ptr<Stmt>& slot = m_cache[sql];
    if (!slot)
        slot = std::make_unique<Stmt>(*this, sql);
    return *slot;
}

Use::Use(Db& db, const char* sql) : m_stmt(db.cached(sql)) {
    m_stmt.reset();
}

Use::~Use() {
    m_stmt.reset();
}

qint64 Db::changes() const {
    return sqlite3_changes(m_db);
}

qint64 Db::totalChanges() const {
    return sqlite3_total_changes64(m_db);
}

void Db::raise(const char* what) const {
    throw Error(StoreUnavailable, QStringLiteral("PIM-Speicher (") + QString::fromUtf8(what) +
                                      QStringLiteral("): ") +
                                      QString::fromUtf8(sqlite3_errmsg(m_db)));
}

Stmt::Stmt(const Db& db, const char* sql) : m_db(db) {
    if (sqlite3_prepare_v2(db.handle(), sql, -1, &m_stmt, nullptr) != SQLITE_OK)
        db.raise(sql);
}

Stmt::~Stmt() {
    sqlite3_finalize(m_stmt);
}

Stmt& Stmt::bind(int index, const QString& text) {
    int rc;
    if (text.isNull())
        rc = sqlite3_bind_null(m_stmt, index);
    else
        rc = sqlite3_bind_text16(m_stmt, index, text.utf16(), static_cast<int>(text.size() * 2),
                                 SQLITE_TRANSIENT);
    if (rc != SQLITE_OK)
        m_db.raise("bind");
    return *this;
}

Stmt& Stmt::bind(int index, qint64 number) {
    if (sqlite3_bind_int64(m_stmt, index, number) != SQLITE_OK)
        m_db.raise("bind");
    return *this;
}

Stmt& Stmt::bind(int index, const QByteArray& blob) {
    if (sqlite3_bind_blob(m_stmt, index, blob.constData(), static_cast<int>(blob.size()),
                          SQLITE_TRANSIENT) != SQLITE_OK)
        m_db.raise("bind");
    return *this;
}

bool Stmt::step() {
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    m_db.raise(sqlite3_sql(m_stmt));
}

void Stmt::run() {
    step();
    sqlite3_reset(m_stmt);
}

void Stmt::reset() {
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

QString Stmt::text(int column) const {
    const void* data = sqlite3_column_text16(m_stmt, column);
    if (!data)
        return QString();
    const int bytes = sqlite3_column_bytes16(m_stmt, column);
    return QString(reinterpret_cast<const QChar*>(data), bytes / 2);
}

qint64 Stmt::number(int column) const {
    return sqlite3_column_int64(m_stmt, column);
}

bool Stmt::isNull(int column) const {
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

QByteArray Stmt::blobView(int column) const {
    const void* data = sqlite3_column_blob(m_stmt, column);
    const int bytes = sqlite3_column_bytes(m_stmt, column);
    return QByteArray::fromRawData(static_cast<const char*>(data), bytes);
}

} // namespace tlm::pim::sql
