// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/pimstore.h"

#include "platform/clock.h"
#include "platform/error.h"
#include "platform/paths.h"
#include "store/computed.h"
#include "store/properties.h"
#include "store/storeimpl.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QUuid>

using namespace Qt::StringLiterals;

namespace tlm::pim {

namespace {
// The schema this code creates: tables, the columns added later, the
// folder versions and the sync states. Kept in the file's user_version once
// a store has it all.
constexpr qint64 SchemaLevel = 3;
// The mark of a store file of this program in SQLite's header
// (application_id), "TLMP".
constexpr qint64 ApplicationId = 0x544C4D50;
const QString DefaultStoreName = u"Persönliche Ordner"_s;
const QString StoreIdPrefix = u"0000000038A1BB1005E5101AA1BB08002B2A56C20000"_s;
const QString OptionPrefix = u"option:"_s;

struct DefaultFolderDef {
    const char16_t* name;
    FolderKind kind;
    int number;
};
constexpr DefaultFolderDef DefaultFolders[] = {
    {u"Kontakte", FolderKind::Contact, pim::defaultfolder::Contacts},
    {u"Kalender", FolderKind::Calendar, pim::defaultfolder::Calendar},
    {u"Journal", FolderKind::Journal, pim::defaultfolder::Journal},
    {u"Aufgaben", FolderKind::Task, pim::defaultfolder::Tasks},
    {u"Posteingang", FolderKind::Mail, pim::defaultfolder::Inbox},
    {u"Entwürfe", FolderKind::Mail, pim::defaultfolder::Drafts},
    {u"Gelöschte Elemente", FolderKind::Mail, pim::defaultfolder::DeletedItems},
};

[[noreturn]] void notFound(const QString& what, const QString& id) {
    throw Error(NotFound, u"Das Objekt wurde nicht gefunden ("_s + what + u' ' + id + u")."_s);
}

void checkId(const QString& id, const QString& what) {
    if (!isValidId(id))
        throw Error(CannotParse, u"Ungültige "_s + what + u": \""_s + id + u'"');
}

QString optionDefault(const QString& name) {
    if (name == OptionOutlookVersion)
        return u"16.0.0.0"_s;
    if (name == OptionEditorType)
        return u"4"_s;
    return QString();
}

// A record's properties as a blob: names resolved, values converted,
// assigned wholes split into their parts, empty values left out.
QByteArray propsBlob(const ItemRecord& record) {
    const quint8 kind = kindBitOf(record.messageClass);
    QMap<quint16, QVariant> values;
    for (auto it = record.properties.cbegin(); it != record.properties.cend(); ++it) {
        const PropDef* def = findProperty(kind, it.key());
        if (!def)
            throw Error(UnknownProperty, u"Die Eigenschaft \""_s + it.key() +
                                             u"\" gibt es bei Elementen der Klasse "_s +
                                             record.messageClass + u" nicht."_s);
        if (def->computed) {
            if (!computed::assignable(def->id))
                throw Error(UnknownProperty, u"Die Eigenschaft \""_s + it.key() +
                                                 u"\" kann nicht gesetzt werden."_s);
            for (const auto& [id, text] : computed::split(def->id, it.value().toString()))
                values.insert(id, text);
            continue;
        }
        values.insert(def->id, convertValue(*def, it.value()));
    }
    PropList list;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const QVariant& v = it.value();
        const bool empty = (v.typeId() == QMetaType::QString && v.toString().isEmpty()) ||
                           (v.typeId() == QMetaType::QDateTime && !v.toDateTime().isValid());
        if (!empty)
            list.append({it.key(), v});
    }
    return encodeProps(list);
}

QVariantMap propsMap(const QByteArray& blob) {
    QVariantMap map;
    for (const auto& [id, value] : decodeProps(blob)) {
        if (const PropDef* def = propertyById(id))
            map.insert(propertyName(*def), value);
    }
    return map;
}

void stampTimes(ItemRecord& record) {
    const QDateTime now = clock::now();
    for (const QString& name : {u"CreationTime"_s, u"LastModificationTime"_s}) {
        if (!record.properties.value(name).toDateTime().isValid())
            record.properties.insert(name, now);
    }
}

constexpr const char* ItemColumns =
    "SELECT i.entry_id, i.folder_id, i.message_class, i.props, i.user_props, i.links, i.body, "
    "i.html_body, i.timer_started, s.open, s.active, s.window_state, s.left, s.top, s.width, "
    "s.height, i.unsaved FROM items i LEFT JOIN inspectors s ON s.entry_id = i.entry_id ";

constexpr const char* ItemById =
    "SELECT i.entry_id, i.folder_id, i.message_class, i.props, i.user_props, i.links, i.body, "
    "i.html_body, i.timer_started, s.open, s.active, s.window_state, s.left, s.top, s.width, "
    "s.height, i.unsaved FROM items i LEFT JOIN inspectors s ON s.entry_id = i.entry_id "
    "WHERE i.entry_id = ?";

ItemRecord readRecord(const sql::Stmt& q) {
    ItemRecord r;
    r.entryId = q.text(0);
    r.folderId = q.text(1);
    r.messageClass = q.text(2);
    r.properties = propsMap(q.blobView(3));
    for (const auto& [name, value] : decodeTextPairs(q.blobView(4)))
        r.userProperties.append({name, value});
    const QString links = q.text(5);
    if (!links.isEmpty())
        r.links = links.split(u';');
    r.body = q.text(6);
    r.htmlBody = q.text(7);
    if (!q.isNull(8))
        r.timerStarted = QDateTime::fromMSecsSinceEpoch(q.number(8));
    if (!q.isNull(9)) {
        r.inspector.open = q.number(9) != 0;
        r.inspector.active = q.number(10) != 0;
        r.inspector.windowState = static_cast<int>(q.number(11));
        r.inspector.left = static_cast<int>(q.number(12));
        r.inspector.top = static_cast<int>(q.number(13));
        r.inspector.width = static_cast<int>(q.number(14));
        r.inspector.height = static_cast<int>(q.number(15));
    }
    r.unsaved = q.number(16) != 0;
    return r;
}

FolderInfo readFolder(const sql::Stmt& q) {
    FolderInfo f;
    f.entryId = q.text(0);
    f.storeId = q.text(1);
    f.parentId = q.text(2);
    f.name = q.text(3);
    f.kind = static_cast<FolderKind>(q.number(4));
    f.defaultFor = static_cast<int>(q.number(5));
    f.readOnly = q.number(6) != 0;
    return f;
}

constexpr const char* FolderColumns =
    "SELECT entry_id, store_id, parent_id, name, kind, default_for, read_only FROM folders ";
} // namespace

// ---------------------------------------------------------------- helpers

QString kindName(FolderKind kind) {
    switch (kind) {
    case FolderKind::Contact:
        return u"contact"_s;
    case FolderKind::Calendar:
        return u"calendar"_s;
    case FolderKind::Journal:
        return u"journal"_s;
    case FolderKind::Task:
        return u"task"_s;
    case FolderKind::Mail:
        return u"mail"_s;
    case FolderKind::Other:
        break;
    }
    return u"other"_s;
}

FolderKind kindFromName(const QString& name) {
    for (FolderKind k : {FolderKind::Contact, FolderKind::Calendar, FolderKind::Journal,
                         FolderKind::Task, FolderKind::Mail, FolderKind::Other}) {
        if (name.compare(kindName(k), Qt::CaseInsensitive) == 0)
            return k;
    }
    throw Error(CannotParse, u"Unbekannte Ordnerart \""_s + name + u'"');
}

QString messageClassOf(FolderKind kind) {
    switch (kind) {
    case FolderKind::Contact:
        return u"IPM.Contact"_s;
    case FolderKind::Calendar:
        return u"IPM.Appointment"_s;
    case FolderKind::Journal:
        return u"IPM.Activity"_s;
    case FolderKind::Task:
        return u"IPM.Task"_s;
    default:
        return u"IPM.Note"_s;
    }
}

int itemClassOf(const QString& messageClass) {
    switch (kindBitOf(messageClass)) {
    case kindbit::Contact:
        return itemclass::Contact;
    case kindbit::Appointment:
        return itemclass::Appointment;
    case kindbit::Journal:
        return itemclass::Journal;
    case kindbit::Task:
        return itemclass::Task;
    default:
        return itemclass::Mail;
    }
}

QString canonicalPropertyName(const QString& messageClass, const QString& name) {
    const PropDef* def = findProperty(kindBitOf(messageClass), name);
    return def ? propertyName(*def) : QString();
}

bool isComputedProperty(const QString& name) {
    const PropDef* def = findProperty(kindbit::All, name);
    return def && def->computed;
}

QString newGuidHex() {
    return QUuid::createUuid().toString(QUuid::Id128).toUpper();
}

bool isValidId(const QString& id) {
    if (id.size() < 2 || id.size() > 140)
        return false;
    for (QChar c : id) {
        if (!((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F')))
            return false;
    }
    return true;
}

// ---------------------------------------------------------------- Impl

Store::Impl::FileKind Store::Impl::fileKind() const {
    {
        sql::Stmt id(db, "PRAGMA application_id");
        if (id.step() && id.number(0) == ApplicationId)
            return FileKind::Marked;
    }
    sql::Stmt tables(db, "SELECT count(*), count(CASE WHEN type = 'table' AND name IN"
                         " ('meta', 'stores', 'folders', 'items', 'inspectors') THEN 1 END)"
                         " FROM sqlite_master");
    tables.step();
    if (tables.number(0) == 0)
        return FileKind::Empty;
    if (tables.number(1) < 5)
        return FileKind::Foreign;
    sql::Stmt schema(db, "SELECT count(*) FROM meta WHERE key = 'schema'");
    return schema.step() && schema.number(0) == 1 ? FileKind::Unmarked : FileKind::Foreign;
}

void Store::Impl::createSchema(Create mode) {
    db.exec("PRAGMA synchronous = NORMAL");
    const FileKind kind = fileKind();
    // A store whose schema is complete says so in its header; only a new or
    // older one takes the write lock to create or complete it.
    if (kind == FileKind::Marked) {
        sql::Stmt level(db, "PRAGMA user_version");
        if (level.step() && level.number(0) == SchemaLevel)
            return;
    }
    if (kind == FileKind::Foreign || (kind == FileKind::Empty && mode == Create::Never))
        throw Error(StoreUnavailable, u"Die Datei "_s + path +
                                          u" ist kein PIM-Speicher von Tellmarin; sie bleibt "
                                          u"unverändert."_s);
    db.exec("PRAGMA encoding = 'UTF-16le'");
    db.exec("PRAGMA journal_mode = WAL");
    db.exec("BEGIN IMMEDIATE");
    try {
        sql::Stmt has(db, "SELECT count(*) FROM sqlite_master WHERE name = 'meta'");
        has.step();
        if (has.number(0) == 0) {
            db.exec(
                "CREATE TABLE meta(key TEXT PRIMARY KEY, value TEXT);"
                "CREATE TABLE stores(seq INTEGER PRIMARY KEY, store_id TEXT UNIQUE NOT NULL,"
                " name TEXT NOT NULL);"
                "CREATE TABLE folders(seq INTEGER PRIMARY KEY, entry_id TEXT UNIQUE NOT NULL,"
                " store_id TEXT NOT NULL, parent_id TEXT, name TEXT NOT NULL,"
                " kind INTEGER NOT NULL, default_for INTEGER NOT NULL DEFAULT 0,"
                " read_only INTEGER NOT NULL DEFAULT 0);"
                "CREATE TABLE items(seq INTEGER PRIMARY KEY, entry_id TEXT UNIQUE NOT NULL,"
                " folder_id TEXT NOT NULL, message_class TEXT NOT NULL, props BLOB,"
                " user_props BLOB, links TEXT, body TEXT, html_body TEXT,"
                " timer_started INTEGER, unsaved INTEGER NOT NULL DEFAULT 0);"
                "CREATE INDEX items_by_folder ON items(folder_id, seq);"
                "CREATE TABLE inspectors(entry_id TEXT PRIMARY KEY, caption TEXT,"
                " open INTEGER NOT NULL, active INTEGER NOT NULL, window_state INTEGER NOT NULL,"
                " left INTEGER NOT NULL, top INTEGER NOT NULL, width INTEGER NOT NULL,"
                " height INTEGER NOT NULL);"
                "INSERT INTO meta VALUES('schema', '1');");
            if (mode == Create::WithDefaults)
                createDefaults();
        }
        addMissingColumns();
        addFolderVersions();
        addSyncStates();
        db.exec(QByteArray("PRAGMA user_version = " + QByteArray::number(SchemaLevel) +
                           "; PRAGMA application_id = " + QByteArray::number(ApplicationId))
                    .constData());
        db.exec("COMMIT");
    } catch (...) {
        db.exec("ROLLBACK");
        throw;
    }
}

// Stores made before folders could be read-only and items could be drafts
// get the columns with their defaults.
void Store::Impl::addMissingColumns() {
    const auto addColumn = [&](const char* table, const char* column, const char* definition) {
        sql::Stmt has(db, "SELECT count(*) FROM pragma_table_info(?) WHERE name = ?");
        has.bind(1, QString::fromLatin1(table)).bind(2, QString::fromLatin1(column)).step();
        if (has.number(0) == 0)
            db.exec(QByteArray(QByteArray("ALTER TABLE ") + table + " ADD COLUMN " + column + ' ' +
                               definition)
                        .constData());
    };
    addColumn("folders", "read_only", "INTEGER NOT NULL DEFAULT 0");
    addColumn("items", "unsaved", "INTEGER NOT NULL DEFAULT 0");
}

// Every change to a folder's items counts up the folder's version, so that a
// reader that follows the store reads again only the folders that changed.
void Store::Impl::addFolderVersions() {
    db.exec("CREATE TABLE IF NOT EXISTS folder_versions(folder_id TEXT PRIMARY KEY,"
            " version INTEGER NOT NULL) WITHOUT ROWID;"
            "CREATE TRIGGER IF NOT EXISTS items_added AFTER INSERT ON items BEGIN"
            " INSERT INTO folder_versions VALUES(NEW.folder_id, 1)"
            " ON CONFLICT(folder_id) DO UPDATE SET version = version + 1; END;"
            "CREATE TRIGGER IF NOT EXISTS items_changed AFTER UPDATE ON items BEGIN"
            " INSERT INTO folder_versions VALUES(OLD.folder_id, 1)"
            " ON CONFLICT(folder_id) DO UPDATE SET version = version + 1;"
            " INSERT INTO folder_versions VALUES(NEW.folder_id, 1)"
            " ON CONFLICT(folder_id) DO UPDATE SET version = version + 1; END;"
            "CREATE TRIGGER IF NOT EXISTS items_removed AFTER DELETE ON items BEGIN"
            " INSERT INTO folder_versions VALUES(OLD.folder_id, 1)"
            " ON CONFLICT(folder_id) DO UPDATE SET version = version + 1; END;");
}

void Store::Impl::createDefaults() {
    const QString storeId = StoreIdPrefix + newGuidHex();
    sql::Stmt(db, "INSERT INTO stores(store_id, name) VALUES(?, ?)")
        .bind(1, storeId)
        .bind(2, DefaultStoreName)
        .run();
    sql::Stmt add(db, "INSERT INTO folders(entry_id, store_id, parent_id, name, kind, default_for)"
                      " VALUES(?, ?, NULL, ?, ?, ?)");
    for (const DefaultFolderDef& d : DefaultFolders) {
        add.bind(1, u"00000000"_s + storeGuid(storeId) + u"0100"_s + newGuidHex())
            .bind(2, storeId)
            .bind(3, QString::fromUtf16(d.name))
            .bind(4, static_cast<qint64>(d.kind))
            .bind(5, static_cast<qint64>(d.number))
            .run();
    }
}

RowCursor::RowCursor(const sql::Db& db, const QString& folderId, bool withUserProps)
    : m_stmt(std::make_unique<sql::Stmt>(
          db, withUserProps ? "SELECT entry_id, message_class, props, user_props FROM items"
                              " WHERE folder_id = ? AND unsaved = 0 ORDER BY seq"
                            : "SELECT entry_id, message_class, props FROM items"
                              " WHERE folder_id = ? AND unsaved = 0 ORDER BY seq")),
      m_withUserProps(withUserProps) {
    m_stmt->bind(1, folderId);
}

RowCursor::~RowCursor() = default;

bool RowCursor::next(RawRow& row) {
    if (!m_stmt || !m_stmt->step()) {
        m_stmt.reset(); // ends the read
        return false;
    }
    row.entryId = m_stmt->text(0);
    row.messageClass = m_stmt->text(1);
    if (row.messageClass == m_lastClass)
        row.messageClass = m_lastClass; // share the text
    else
        m_lastClass = row.messageClass;
    const QByteArray props = m_stmt->blobView(2);
    row.props = QByteArray(props.constData(), props.size());
    if (m_withUserProps) {
        const QByteArray user = m_stmt->blobView(3);
        row.userProps = QByteArray(user.constData(), user.size());
    }
    return true;
}

QList<RawRow> Store::Impl::scan(const QString& folderId, bool withUserProps) const {
    RowCursor cursor(db, folderId, withUserProps);
    QList<RawRow> rows;
    RawRow row;
    while (cursor.next(row))
        rows.append(std::exchange(row, {}));
    return rows;
}

InspectorState Store::Impl::inspector(const QString& entryId) const {
    sql::Stmt q(db, "SELECT open, active, window_state, left, top, width, height FROM inspectors"
                    " WHERE entry_id = ?");
    q.bind(1, entryId);
    InspectorState s;
    if (q.step()) {
        s.open = q.number(0) != 0;
        s.active = q.number(1) != 0;
        s.windowState = static_cast<int>(q.number(2));
        s.left = static_cast<int>(q.number(3));
        s.top = static_cast<int>(q.number(4));
        s.width = static_cast<int>(q.number(5));
        s.height = static_cast<int>(q.number(6));
    }
    return s;
}

void Store::Impl::setInspector(const QString& entryId, const QString& caption,
                               const InspectorState& s) {
    sql::Stmt(db, "INSERT OR REPLACE INTO inspectors VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?)")
        .bind(1, entryId)
        .bind(2, caption)
        .bind(3, qint64{s.open})
        .bind(4, qint64{s.active})
        .bind(5, qint64{s.windowState})
        .bind(6, qint64{s.left})
        .bind(7, qint64{s.top})
        .bind(8, qint64{s.width})
        .bind(9, qint64{s.height})
        .run();
}

void Store::Impl::activate(const QString& entryId) {
    sql::Stmt(db, "UPDATE inspectors SET active = (entry_id = ?)").bind(1, entryId).run();
}

QList<Store::OpenInspector> Store::openInspectors() const {
    sql::Stmt q(m_impl->db, "SELECT entry_id, caption, active, window_state, left, top, width,"
                            " height FROM inspectors WHERE open <> 0");
    QList<OpenInspector> out;
    while (q.step()) {
        OpenInspector i;
        i.entryId = q.text(0);
        i.caption = q.text(1);
        i.state.open = true;
        i.state.active = q.number(2) != 0;
        i.state.windowState = static_cast<int>(q.number(3));
        i.state.left = static_cast<int>(q.number(4));
        i.state.top = static_cast<int>(q.number(5));
        i.state.width = static_cast<int>(q.number(6));
        i.state.height = static_cast<int>(q.number(7));
        out.append(i);
    }
    return out;
}

void Store::closeInspector(const QString& entryId) {
    sql::Stmt(m_impl->db, "UPDATE inspectors SET open = 0, active = 0 WHERE entry_id = ?")
        .bind(1, entryId)
        .run();
}

void Store::saveDraft(const QString& entryId) {
    sql::Stmt(m_impl->db, "UPDATE items SET unsaved = 0 WHERE entry_id = ?").bind(1, entryId).run();
}

QHash<QString, qint64> Store::folderVersions() const {
    sql::Stmt q(m_impl->db, "SELECT folder_id, version FROM folder_versions");
    QHash<QString, qint64> out;
    while (q.step())
        out.insert(q.text(0), q.number(1));
    return out;
}

qint64 Store::dataVersion() const {
    sql::Stmt q(m_impl->db, "PRAGMA data_version");
    const qint64 others = q.step() ? q.number(0) : 0;
    return others + m_impl->db.totalChanges();
}

QString Store::Impl::storeGuid(const QString& storeId) const {
    return storeId.size() >= 32 ? storeId.right(32) : storeId.rightJustified(32, u'0');
}

QString Store::Impl::newItemId(const QString& folderId) const {
    sql::Use q(db, "SELECT store_id FROM folders WHERE entry_id = ?");
    q->bind(1, folderId);
    if (!q->step())
        notFound(u"Ordner"_s, folderId);
    return u"00000000"_s + storeGuid(q->text(0)) + u"0700"_s + newGuidHex();
}

// ---------------------------------------------------------------- Store

QString Store::defaultPath() {
    const QString env = qEnvironmentVariable("TELLMARIN_PIM");
    return env.isEmpty() ? paths::dataFolder() + u"pim.sqlite"_s : env;
}

Store::Store(const QString& path, Create mode) : m_impl(std::make_unique<Impl>()) {
    m_impl->path = path.isEmpty() ? defaultPath() : path;
    const QFileInfo info(m_impl->path);
    if (mode == Create::Never && !info.exists())
        throw Error(err::FileNotFound,
                    u"Der PIM-Speicher "_s + m_impl->path + u" wurde nicht gefunden."_s);
    if (!info.exists())
        QDir().mkpath(info.absolutePath());
    m_impl->db.open(m_impl->path, mode != Create::Never);
    m_impl->createSchema(mode);
}

Store::~Store() = default;
Store::Store(Store&&) noexcept = default;
Store& Store::operator=(Store&&) noexcept = default;

QString Store::path() const {
    return m_impl->path;
}

void Store::transaction(const std::function<void()>& work) {
    Impl& d = *m_impl;
    const bool outer = d.depth == 0;
    d.db.exec(outer ? "BEGIN IMMEDIATE" : "SAVEPOINT nested");
    ++d.depth;
    try {
        work();
    } catch (...) {
        --d.depth;
        if (outer) {
            d.db.exec("ROLLBACK");
        } else {
            d.db.exec("ROLLBACK TO nested");
            d.db.exec("RELEASE nested");
        }
        throw;
    }
    --d.depth;
    d.db.exec(outer ? "COMMIT" : "RELEASE nested");
}

QList<StoreInfo> Store::stores() const {
    sql::Stmt q(m_impl->db, "SELECT store_id, name FROM stores ORDER BY seq");
    QList<StoreInfo> out;
    while (q.step())
        out.append({q.text(0), q.text(1)});
    return out;
}

StoreInfo Store::store(const QString& storeId) const {
    sql::Use q(m_impl->db, "SELECT store_id, name FROM stores WHERE store_id = ?");
    q->bind(1, storeId);
    if (!q->step())
        notFound(u"Speicher"_s, storeId);
    return {q->text(0), q->text(1)};
}

StoreInfo Store::addStore(const QString& name) {
    StoreInfo info{StoreIdPrefix + newGuidHex(), name};
    insertStore(info);
    return info;
}

void Store::insertStore(const StoreInfo& info) {
    checkId(info.storeId, u"StoreID"_s);
    if (info.name.trimmed().isEmpty())
        throw Error(CannotParse, u"Ein Speicher braucht einen Namen."_s);
    transaction([&] {
        sql::Stmt q(m_impl->db, "SELECT count(*) FROM stores WHERE store_id = ?");
        q.bind(1, info.storeId).step();
        if (q.number(0) != 0)
            throw Error(CannotParse, u"Die StoreID "_s + info.storeId + u" ist schon vergeben."_s);
        sql::Stmt(m_impl->db, "INSERT INTO stores(store_id, name) VALUES(?, ?)")
            .bind(1, info.storeId)
            .bind(2, info.name)
            .run();
    });
}

QList<FolderInfo> Store::folders() const {
    QHash<QString, QString> storeNames;
    QList<StoreInfo> storeList = stores();
    for (const StoreInfo& s : storeList)
        storeNames.insert(s.storeId, s.name);
    sql::Stmt q(m_impl->db, QByteArray(QByteArray(FolderColumns) + "ORDER BY seq").constData());
    QList<FolderInfo> all;
    while (q.step())
        all.append(readFolder(q));
    // Depth first, each parent before its children, siblings in creation order.
    QList<FolderInfo> out;
    std::function<void(const QString&, const QString&, const QString&)> visit =
        [&](const QString& storeId, const QString& parentId, const QString& parentPath) {
            for (const FolderInfo& f : all) {
                if (f.storeId != storeId || f.parentId != parentId)
                    continue;
                FolderInfo copy = f;
                copy.folderPath = parentPath + u'\\' + f.name;
                out.append(copy);
                visit(storeId, f.entryId, copy.folderPath);
            }
        };
    for (const StoreInfo& s : storeList)
        visit(s.storeId, QString(), u"\\\\"_s + s.name);
    return out;
}

FolderInfo Store::folder(const QString& entryId) const {
    sql::Use q(m_impl->db, "SELECT entry_id, store_id, parent_id, name, kind, default_for,"
                           " read_only FROM folders WHERE entry_id = ?");
    auto lookup = [&](const QString& id) {
        q->reset();
        q->bind(1, id);
        if (!q->step())
            notFound(u"Ordner"_s, id);
        return readFolder(*q);
    };
    FolderInfo f = lookup(entryId);
    QString path = u'\\' + f.name;
    QString parent = f.parentId;
    for (int depth = 0; !parent.isEmpty() && depth < 64; ++depth) {
        const FolderInfo p = lookup(parent);
        path.prepend(u'\\' + p.name);
        parent = p.parentId;
    }
    f.folderPath = u"\\\\"_s + store(f.storeId).name + path;
    return f;
}

FolderInfo Store::folderByPath(const QString& folderPath) const {
    QString wanted = folderPath.trimmed();
    while (wanted.endsWith(u'\\') && !wanted.endsWith(u"\\\\"_s))
        wanted.chop(1);
    for (const FolderInfo& f : folders()) {
        if (f.folderPath.compare(wanted, Qt::CaseInsensitive) == 0)
            return f;
    }
    notFound(u"Ordner"_s, folderPath);
}

FolderInfo Store::defaultFolder(int number) const {
    const QList<StoreInfo> all = stores();
    if (!all.isEmpty()) {
        for (const FolderInfo& f : folders()) {
            if (f.defaultFor == number && f.storeId == all.first().storeId)
                return f;
        }
    }
    throw Error(NotFound,
                u"Der Standardordner "_s + QString::number(number) + u" ist nicht vorhanden."_s);
}

FolderInfo Store::addFolder(const QString& storeId, const QString& parentId, const QString& name,
                            FolderKind kind, bool readOnly) {
    FolderInfo f;
    f.readOnly = readOnly;
    f.storeId = parentId.isEmpty() ? storeId : folder(parentId).storeId;
    f.parentId = parentId;
    f.name = name;
    f.kind = kind;
    f.entryId = u"00000000"_s + m_impl->storeGuid(f.storeId) + u"0100"_s + newGuidHex();
    insertFolder(f);
    return folder(f.entryId);
}

void Store::insertFolder(const FolderInfo& f) {
    checkId(f.entryId, u"EntryID"_s);
    if (f.name.trimmed().isEmpty() || f.name.contains(u'\\'))
        throw Error(CannotParse, u"Ungültiger Ordnername \""_s + f.name + u'"');
    transaction([&] {
        store(f.storeId);
        if (!f.parentId.isEmpty() && folder(f.parentId).storeId != f.storeId)
            throw Error(CannotParse,
                        u"Der übergeordnete Ordner liegt in einem anderen Speicher."_s);
        for (const FolderInfo& other : folders()) {
            if (other.entryId == f.entryId)
                throw Error(CannotParse, u"Die EntryID "_s + f.entryId + u" ist schon vergeben."_s);
            if (other.storeId == f.storeId && other.parentId == f.parentId &&
                other.name.compare(f.name, Qt::CaseInsensitive) == 0)
                throw Error(CannotParse,
                            u"Ein Ordner namens \""_s + f.name + u"\" ist dort schon vorhanden."_s);
        }
        sql::Stmt(m_impl->db, "INSERT INTO folders(entry_id, store_id, parent_id, name, kind,"
                              " default_for, read_only) VALUES(?, ?, ?, ?, ?, ?, ?)")
            .bind(1, f.entryId)
            .bind(2, f.storeId)
            .bind(3, f.parentId.isEmpty() ? QString() : f.parentId)
            .bind(4, f.name)
            .bind(5, static_cast<qint64>(f.kind))
            .bind(6, static_cast<qint64>(f.defaultFor))
            .bind(7, qint64{f.readOnly})
            .run();
    });
}

int Store::itemCount(const QString& folderId) const {
    sql::Stmt q(m_impl->db, "SELECT count(*) FROM items WHERE folder_id = ? AND unsaved = 0");
    q.bind(1, folderId);
    return q.step() ? static_cast<int>(q.number(0)) : 0;
}

QList<Store::ItemStamp> Store::itemStamps(const QString& folderId) const {
    sql::Stmt q(m_impl->db, "SELECT entry_id, props FROM items WHERE folder_id = ? AND"
                            " unsaved = 0 ORDER BY seq");
    q.bind(1, folderId);
    QList<ItemStamp> out;
    while (q.step()) {
        const QByteArray props = q.blobView(1);
        out.append({q.text(0), qHashBits(props.constData(), size_t(props.size()))});
    }
    return out;
}

QStringList Store::itemIds(const QString& folderId) const {
    folder(folderId);
    sql::Stmt q(m_impl->db,
                "SELECT entry_id FROM items WHERE folder_id = ? AND unsaved = 0 ORDER BY seq");
    q.bind(1, folderId);
    QStringList out;
    while (q.step())
        out.append(q.text(0));
    return out;
}

namespace {
void forEachRecord(sql::Db& db, const QString& folderId, bool drafts,
                   const std::function<void(const ItemRecord&)>& f) {
    sql::Stmt q(db, QByteArray(QByteArray(ItemColumns) +
                               "WHERE i.folder_id = ? AND i.unsaved = ? ORDER BY i.seq")
                        .constData());
    q.bind(1, folderId).bind(2, qint64{drafts});
    while (q.step())
        f(readRecord(q));
}

QList<ItemRecord> recordsOf(sql::Db& db, const QString& folderId, bool drafts) {
    QList<ItemRecord> out;
    forEachRecord(db, folderId, drafts, [&](const ItemRecord& r) { out.append(r); });
    return out;
}
} // namespace

QList<ItemRecord> Store::items(const QString& folderId) const {
    folder(folderId);
    return recordsOf(m_impl->db, folderId, false);
}

QList<ItemRecord> Store::drafts(const QString& folderId) const {
    folder(folderId);
    return recordsOf(m_impl->db, folderId, true);
}

void Store::forEachItem(const QString& folderId, bool drafts,
                        const std::function<void(const ItemRecord&)>& f) const {
    folder(folderId);
    forEachRecord(m_impl->db, folderId, drafts, f);
}

ItemRecord Store::item(const QString& entryId) const {
    sql::Use q(m_impl->db, ItemById);
    q->bind(1, entryId);
    if (!q->step())
        notFound(u"Element"_s, entryId);
    return readRecord(*q);
}

bool Store::hasItem(const QString& entryId) const {
    sql::Use q(m_impl->db, "SELECT count(*) FROM items WHERE entry_id = ?");
    q->bind(1, entryId).step();
    return q->number(0) != 0;
}

QString Store::addItem(const QString& folderId, const ItemRecord& record) {
    ItemRecord r = record;
    r.folderId = folderId;
    r.entryId = m_impl->newItemId(folderId);
    insertItem(r);
    return r.entryId;
}

void Store::insertItem(const ItemRecord& record) {
    checkId(record.entryId, u"EntryID"_s);
    for (const QString& link : record.links)
        checkId(link, u"Verknüpfung"_s);
    ItemRecord r = record;
    transaction([&] {
        const FolderInfo f = folder(r.folderId);
        if (r.messageClass.isEmpty())
            r.messageClass = messageClassOf(f.kind);
        if (hasItem(r.entryId))
            throw Error(CannotParse, u"Die EntryID "_s + r.entryId + u" ist schon vergeben."_s);
        stampTimes(r);
        TextPairs user;
        for (const UserProperty& p : r.userProperties)
            user.append({p.name, p.value});
        sql::Use(m_impl->db, "INSERT INTO items(entry_id, folder_id, message_class, props,"
                             " user_props, links, body, html_body, unsaved)"
                             " VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?)")
            ->bind(1, r.entryId)
            .bind(2, r.folderId)
            .bind(3, r.messageClass)
            .bind(4, propsBlob(r))
            .bind(5, encodeTextPairs(user))
            .bind(6, r.links.join(u';'))
            .bind(7, r.body)
            .bind(8, r.htmlBody)
            .bind(9, qint64{r.unsaved})
            .run();
        if (r.timerStarted.isValid())
            sql::Stmt(m_impl->db, "UPDATE items SET timer_started = ? WHERE entry_id = ?")
                .bind(1, r.timerStarted.toMSecsSinceEpoch())
                .bind(2, r.entryId)
                .run();
        if (r.inspector != InspectorState())
            m_impl->setInspector(r.entryId, r.properties.value(u"Subject"_s).toString(),
                                 r.inspector);
    });
}

void Store::updateItem(const ItemRecord& record) {
    for (const QString& link : record.links)
        checkId(link, u"Verknüpfung"_s);
    ItemRecord r = record;
    transaction([&] {
        folder(r.folderId);
        TextPairs user;
        for (const UserProperty& p : r.userProperties)
            user.append({p.name, p.value});
        sql::Use use(m_impl->db, "UPDATE items SET folder_id = ?, message_class = ?, props = ?,"
                                 " user_props = ?, links = ?, body = ?, html_body = ?,"
                                 " timer_started = ?, unsaved = ? WHERE entry_id = ?");
        sql::Stmt& q = *use;
        q.bind(1, r.folderId)
            .bind(2, r.messageClass)
            .bind(3, propsBlob(r))
            .bind(4, encodeTextPairs(user))
            .bind(5, r.links.join(u';'))
            .bind(6, r.body)
            .bind(7, r.htmlBody);
        if (r.timerStarted.isValid())
            q.bind(8, r.timerStarted.toMSecsSinceEpoch());
        else
            q.bind(8, QString());
        q.bind(9, qint64{r.unsaved}).bind(10, r.entryId).run();
        if (m_impl->db.changes() == 0)
            notFound(u"Element"_s, r.entryId);
    });
}

void Store::removeItem(const QString& entryId) {
    transaction([&] {
        sql::Stmt(m_impl->db, "DELETE FROM items WHERE entry_id = ?").bind(1, entryId).run();
        if (m_impl->db.changes() == 0)
            notFound(u"Element"_s, entryId);
        sql::Stmt(m_impl->db, "DELETE FROM inspectors WHERE entry_id = ?").bind(1, entryId).run();
    });
}

QMap<QString, QString> Store::options() const {
    QMap<QString, QString> out;
    out.insert(OptionOutlookVersion, optionDefault(OptionOutlookVersion));
    out.insert(OptionEditorType, optionDefault(OptionEditorType));
    sql::Stmt q(m_impl->db, "SELECT key, value FROM meta WHERE key LIKE 'option:%'");
    while (q.step())
        out.insert(q.text(0).mid(OptionPrefix.size()), q.text(1));
    return out;
}

QString Store::option(const QString& name) const {
    sql::Stmt q(m_impl->db, "SELECT value FROM meta WHERE key = ?");
    q.bind(1, OptionPrefix + name);
    return q.step() ? q.text(0) : optionDefault(name);
}

void Store::setOption(const QString& name, const QString& value) {
    if (name == OptionEditorType) {
        bool ok = false;
        const int n = value.toInt(&ok);
        if (!ok || n < 1 || n > 4)
            throw Error(CannotParse,
                        u"EditorType muss 1, 2, 3 oder 4 sein, nicht \""_s + value + u"\"."_s);
    }
    if (name.trimmed().isEmpty())
        throw Error(CannotParse, u"Eine Option braucht einen Namen."_s);
    transaction([&] {
        sql::Stmt(m_impl->db, "INSERT OR REPLACE INTO meta VALUES(?, ?)")
            .bind(1, OptionPrefix + name)
            .bind(2, value)
            .run();
    });
}

QString Store::outlookVersion() const {
    return option(OptionOutlookVersion);
}
void Store::setOutlookVersion(const QString& version) {
    setOption(OptionOutlookVersion, version);
}
int Store::editorType() const {
    return option(OptionEditorType).toInt();
}
void Store::setEditorType(int editorType) {
    setOption(OptionEditorType, QString::number(editorType));
}

} // namespace tlm::pim
