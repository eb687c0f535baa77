// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A thin RAII layer over the SQLite C API for the PIM store: one connection,
// prepared statements, and errors raised as tlm::Error.
#include <QByteArray>
#include <QString>
#include <memory>
#include <unordered_map>

struct sqlite3;
struct sqlite3_stmt;

namespace tlm::pim::sql {

class Stmt;

class Db {
public:
    Db() = default;
    ~Db();
    Db(const Db&) = delete;
    Db& operator=(const Db&) = delete;

    // Opens (creating when create is set) the file; raises StoreUnavailable.
    void open(const QString& path, bool create);
    void exec(const char* sql);
    sqlite3* handle() const { return m_db; }
    qint64 changes() const;
    qint64 totalChanges() const; // rows changed through this connection since it opened
    [[noreturn]] void raise(const char* what) const;

    // A statement prepared once per connection; sql must be a literal.
    Stmt& cached(const char* sql);

private:
    sqlite3* m_db = nullptr;
    std::unordered_map<const char*, std::unique_ptr<Stmt>> m_cache;
};

class Stmt {
public:
    Stmt(const Db& db, const char* sql);
    ~Stmt();
    Stmt(const Stmt&) = delete;
    Stmt& operator=(const Stmt&) = delete;

    Stmt& bind(int index, const QString& text); // 1-based; a null QString binds NULL
    Stmt& bind(int index, qint64 number);
    Stmt& bind(int index, const QByteArray& blob);
    // Steps once: true while a row is available.
    bool step();
    // Steps a statement that yields no row.
    void run();
    void reset();

    QString text(int column) const; // 0-based
    qint64 number(int column) const;
    bool isNull(int column) const;
    // The blob of a column without a copy; valid until the next step.
    QByteArray blobView(int column) const;

private:
    const Db& m_db;
    sqlite3_stmt* m_stmt = nullptr;
};

// Uses a cached statement and resets it when leaving the scope, so that no
// read stays open between calls.
class Use {
public:
    Use(Db& db, const char* sql);
    ~Use();
    Use(const Use&) = delete;
    Use& operator=(const Use&) = delete;
    Stmt* operator->() const { return &m_stmt; }
    Stmt& operator*() const { return m_stmt; }

private:
    Stmt& m_stmt;
};

} // namespace tlm::pim::sql
