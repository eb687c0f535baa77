// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/json.h"

#include "formats/formaterror.h"
#include "formats/jsonpieces.h"
#include "store/pimstore.h"
#include "store/properties.h"

#include <QBuffer>
#include <QDataStream>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMetaType>
#include <QSet>
#include <QTemporaryFile>

#include <climits>
#include <functional>

using namespace Qt::StringLiterals;

namespace tlm::pim::json {

namespace {

const QString kFormat = u"tellmarin-pim"_s;
constexpr int kVersion = 1;

// ---------------------------------------------------------------- values

QString dateText(const QDateTime& t) {
    return t.toString(t.time().msec() == 0 ? u"yyyy-MM-ddTHH:mm:ss"_s
                                           : u"yyyy-MM-ddTHH:mm:ss.zzz"_s);
}

QDateTime parseDate(const QString& text) {
    QDateTime t = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (t.isValid())
        t = QDateTime(t.date(), t.time()); // local time
    return t;
}

QJsonValue toJson(const QVariant& v) {
    switch (v.metaType().id()) {
    case QMetaType::UnknownType:
        return QJsonValue::Null;
    case QMetaType::Bool:
        return v.toBool();
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return v.toLongLong();
    case QMetaType::Double:
    case QMetaType::Float:
        return v.toDouble();
    case QMetaType::QDateTime:
        return v.toDateTime().isValid() ? QJsonValue(dateText(v.toDateTime())) : QJsonValue::Null;
    case QMetaType::QDate:
        return v.toDate().toString(Qt::ISODate);
    default:
        return v.toString();
    }
}

QVariant fromJson(const QJsonValue& v) {
    switch (v.type()) {
    case QJsonValue::Bool:
        return v.toBool();
    case QJsonValue::Double: {
        const double d = v.toDouble();
        if (d == double(qint64(d)) && d >= -9.0e15 && d <= 9.0e15)
            return qint64(d) >= INT_MIN && qint64(d) <= INT_MAX ? QVariant(int(d))
                                                                : QVariant(qint64(d));
        return d;
    }
    case QJsonValue::String:
        return v.toString();
    default:
        return {};
    }
}

// ---------------------------------------------------------------- dump

QJsonObject inspectorJson(const InspectorState& s) {
    return QJsonObject{
        {u"open"_s, s.open},    {u"active"_s, s.active}, {u"windowState"_s, s.windowState},
        {u"left"_s, s.left},    {u"top"_s, s.top},       {u"width"_s, s.width},
        {u"height"_s, s.height}};
}

QJsonObject itemJson(const ItemRecord& item) {
    QJsonObject o{{u"EntryID"_s, item.entryId}, {u"class"_s, item.messageClass}};
    QJsonObject props;
    for (auto it = item.properties.begin(); it != item.properties.end(); ++it)
        props.insert(it.key(), toJson(it.value()));
    o.insert(u"properties"_s, props);
    if (!item.userProperties.isEmpty()) {
        QJsonArray user;
        for (const UserProperty& p : item.userProperties)
            user.append(QJsonObject{{u"name"_s, p.name}, {u"value"_s, p.value}});
        o.insert(u"userProperties"_s, user);
    }
    if (!item.links.isEmpty())
        o.insert(u"links"_s, QJsonArray::fromStringList(item.links));
    if (!item.body.isEmpty())
        o.insert(u"body"_s, item.body);
    if (!item.htmlBody.isEmpty())
        o.insert(u"htmlBody"_s, item.htmlBody);
    if (item.inspector != InspectorState{})
        o.insert(u"inspector"_s, inspectorJson(item.inspector));
    if (item.timerStarted.isValid())
        o.insert(u"timerStarted"_s, dateText(item.timerStarted));
    if (item.unsaved)
        o.insert(u"unsaved"_s, true);
    return o;
}

// A folder's members; its items stand apart (writeFolderItems).
QJsonObject folderJson(const FolderInfo& f) {
    QJsonObject o{{u"EntryID"_s, f.entryId},
                  {u"StoreID"_s, f.storeId},
                  {u"name"_s, f.name},
                  {u"kind"_s, kindName(f.kind)},
                  {u"path"_s, f.folderPath}};
    if (!f.parentId.isEmpty())
        o.insert(u"parent"_s, f.parentId);
    if (f.defaultFor != 0)
        o.insert(u"default"_s, f.defaultFor);
    if (f.readOnly)
        o.insert(u"readOnly"_s, true);
    return o;
}

// The dump is written as QJsonDocument would indent it whole, but a folder's
// items one at a time, so that memory holds one item and not the store.
// The folders' "items" first stand as markers in the small rest of the
// document, which the arrays then replace; only a folder's own "items"
// member can read so, as item texts are not in that rest.
const QByteArray ItemsMarker = "\"items\": \"\\u0001items\"";
constexpr int ItemIndent = 16; // root, "folders", folder, "items"

// A folder's "items" array at its place in the indented document.
void writeFolderItems(const Store& store, const FolderInfo& f, QIODevice& out) {
    const QByteArray indent(ItemIndent, ' ');
    out.write("\"items\": [\n");
    bool first = true;
    const auto write = [&](const ItemRecord& item) {
        if (!first)
            out.write(",\n");
        first = false;
        const QByteArray text = QJsonDocument(itemJson(item)).toJson(QJsonDocument::Indented);
        QByteArray shifted;
        shifted.reserve(text.size() * 3 / 2);
        for (const QByteArray& line : text.chopped(1).split('\n'))
            shifted.append(shifted.isEmpty() ? "" : "\n").append(indent).append(line);
        out.write(shifted);
    };
    store.forEachItem(f.entryId, false, write);
    store.forEachItem(f.entryId, true, write);
    out.write(first ? "" : "\n");
    out.write(indent.chopped(4) + ']');
}

// ---------------------------------------------------------------- load

// A fault in the document, at a JSON path.
struct PathError {
    QString path;
    QString text;
    int line = 0; // when known already
};

// Typed access to the members of the document; each fault names its path.
struct Reader {
    static QJsonObject object(const QJsonValue& v, const QString& path) {
        if (!v.isObject())
            throw PathError{path, u"ein Objekt erwartet"_s};
        return v.toObject();
    }
    static QJsonArray array(const QJsonValue& v, const QString& path) {
        if (!v.isArray())
            throw PathError{path, u"eine Liste erwartet"_s};
        return v.toArray();
    }
    static QString text(const QJsonValue& v, const QString& path) {
        if (!v.isString())
            throw PathError{path, u"ein Text erwartet"_s};
        return v.toString();
    }
    static int integer(const QJsonValue& v, const QString& path) {
        if (!v.isDouble() || v.toDouble() != double(v.toInt()))
            throw PathError{path, u"eine ganze Zahl erwartet"_s};
        return v.toInt();
    }
    static bool boolean(const QJsonValue& v, const QString& path) {
        if (!v.isBool())
            throw PathError{path, u"true oder false erwartet"_s};
        return v.toBool();
    }

    // Members of an object, checked against the names allowed.
    static void checkKeys(const QJsonObject& o, const QString& path, const QStringList& allowed) {
        for (auto it = o.begin(); it != o.end(); ++it)
            if (!allowed.contains(it.key()))
                throw PathError{member(path, it.key()), u"unbekannter Eintrag"_s};
    }
    static QJsonValue required(const QJsonObject& o, const QString& path, const QString& key) {
        if (!o.contains(key))
            throw PathError{path, u"\""_s + key + u"\" fehlt"_s};
        return o.value(key);
    }
    static QString member(const QString& path, const QString& key) {
        return path.isEmpty() ? key : path + u'.' + key;
    }
    static QString element(const QString& path, qsizetype index) {
        return path + u'[' + QString::number(index) + u']';
    }
};

InspectorState readInspector(const QJsonValue& v, const QString& path) {
    const QJsonObject o = Reader::object(v, path);
    Reader::checkKeys(
        o, path,
        {u"open"_s, u"active"_s, u"windowState"_s, u"left"_s, u"top"_s, u"width"_s, u"height"_s});
    InspectorState s;
    const auto flag = [&](const QString& k, bool& out) {
        if (o.contains(k))
            out = Reader::boolean(o.value(k), Reader::member(path, k));
    };
    const auto number = [&](const QString& k, int& out) {
        if (o.contains(k))
            out = Reader::integer(o.value(k), Reader::member(path, k));
    };
    flag(u"open"_s, s.open);
    flag(u"active"_s, s.active);
    number(u"windowState"_s, s.windowState);
    number(u"left"_s, s.left);
    number(u"top"_s, s.top);
    number(u"width"_s, s.width);
    number(u"height"_s, s.height);
    return s;
}

// A property's value in the form the dump writes it: texts and dates as
// strings, numbers as numbers, flags as true or false.
bool fitsJsonType(PropType type, const QJsonValue& v) {
    switch (type) {
    case PropType::Text:
    case PropType::Date:
        return v.isString();
    case PropType::Bool:
        return v.isBool();
    case PropType::Int:
    case PropType::Double:
        return v.isDouble();
    }
    return false;
}

QString expectedFor(PropType type) {
    switch (type) {
    case PropType::Text:
        return u"ein Text erwartet"_s;
    case PropType::Date:
        return u"ein Datum als Text erwartet"_s;
    case PropType::Bool:
        return u"true oder false erwartet"_s;
    default:
        return u"eine Zahl erwartet"_s;
    }
}

struct LoadedItem {
    ItemRecord record;
    QString path;
};

LoadedItem readItem(const QJsonValue& v, const QString& path, const QString& folderId) {
    const QJsonObject o = Reader::object(v, path);
    Reader::checkKeys(o, path,
                      {u"EntryID"_s, u"class"_s, u"properties"_s, u"userProperties"_s, u"links"_s,
                       u"body"_s, u"htmlBody"_s, u"inspector"_s, u"timerStarted"_s, u"unsaved"_s});
    const auto at = [&](const QString& k) { return Reader::member(path, k); };
    ItemRecord r;
    r.folderId = folderId;
    r.entryId = Reader::text(Reader::required(o, path, u"EntryID"_s), at(u"EntryID"_s));
    r.messageClass = Reader::text(Reader::required(o, path, u"class"_s), at(u"class"_s));
    if (o.contains(u"properties"_s)) {
        const QJsonObject props = Reader::object(o.value(u"properties"_s), at(u"properties"_s));
        for (auto it = props.begin(); it != props.end(); ++it) {
            const QString where = Reader::member(at(u"properties"_s), it.key());
            const PropDef* def = findProperty(kindBitOf(r.messageClass), it.key());
            if (def == nullptr || def->computed)
                throw PathError{where, u"unbekannte Eigenschaft für "_s + r.messageClass};
            if (!fitsJsonType(def->type, it.value()))
                throw PathError{where, expectedFor(def->type)};
            try {
                r.properties.insert(propertyName(*def), convertValue(*def, fromJson(it.value())));
            } catch (const Error& e) {
                throw PathError{where, e.description()};
            }
        }
    }
    if (o.contains(u"userProperties"_s)) {
        const QJsonArray user =
            Reader::array(o.value(u"userProperties"_s), at(u"userProperties"_s));
        for (qsizetype i = 0; i < user.size(); ++i) {
            const QString where = Reader::element(at(u"userProperties"_s), i);
            const QJsonObject p = Reader::object(user.at(i), where);
            Reader::checkKeys(p, where, {u"name"_s, u"value"_s});
            r.userProperties.append(
                {Reader::text(Reader::required(p, where, u"name"_s),
                              Reader::member(where, u"name"_s)),
                 p.contains(u"value"_s)
                     ? Reader::text(p.value(u"value"_s), Reader::member(where, u"value"_s))
                     : QString()});
        }
    }
    if (o.contains(u"links"_s)) {
        const QJsonArray links = Reader::array(o.value(u"links"_s), at(u"links"_s));
        for (qsizetype i = 0; i < links.size(); ++i)
            r.links << Reader::text(links.at(i), Reader::element(at(u"links"_s), i));
    }
    if (o.contains(u"body"_s))
        r.body = Reader::text(o.value(u"body"_s), at(u"body"_s));
    if (o.contains(u"htmlBody"_s))
        r.htmlBody = Reader::text(o.value(u"htmlBody"_s), at(u"htmlBody"_s));
    if (o.contains(u"inspector"_s))
        r.inspector = readInspector(o.value(u"inspector"_s), at(u"inspector"_s));
    if (o.contains(u"timerStarted"_s)) {
        r.timerStarted = parseDate(Reader::text(o.value(u"timerStarted"_s), at(u"timerStarted"_s)));
        if (!r.timerStarted.isValid())
            throw PathError{at(u"timerStarted"_s), u"kein Datum yyyy-MM-ddTHH:mm:ss"_s};
    }
    if (o.contains(u"unsaved"_s))
        r.unsaved = Reader::boolean(o.value(u"unsaved"_s), at(u"unsaved"_s));
    return {r, path};
}

struct Document {
    QMap<QString, QString> options;
    QList<StoreInfo> stores;
    QList<std::pair<FolderInfo, QString>> folders; // with their paths
    QList<Store::SyncState> syncStates;
};

// A folder's own members; its items are read one at a time (loadItems).
FolderInfo readFolder(const QJsonObject& o, const QString& path) {
    Reader::checkKeys(o, path,
                      {u"EntryID"_s, u"StoreID"_s, u"parent"_s, u"name"_s, u"kind"_s, u"default"_s,
                       u"path"_s, u"readOnly"_s, u"items"_s});
    const auto at = [&](const QString& k) { return Reader::member(path, k); };
    FolderInfo f;
    f.entryId = Reader::text(Reader::required(o, path, u"EntryID"_s), at(u"EntryID"_s));
    f.storeId = Reader::text(Reader::required(o, path, u"StoreID"_s), at(u"StoreID"_s));
    f.name = Reader::text(Reader::required(o, path, u"name"_s), at(u"name"_s));
    const QString kind = Reader::text(Reader::required(o, path, u"kind"_s), at(u"kind"_s));
    try {
        f.kind = kindFromName(kind);
    } catch (const Error&) {
        throw PathError{at(u"kind"_s), u"unbekannte Ordnerart: "_s + kind};
    }
    if (o.contains(u"parent"_s))
        f.parentId = Reader::text(o.value(u"parent"_s), at(u"parent"_s));
    if (o.contains(u"default"_s)) {
        f.defaultFor = Reader::integer(o.value(u"default"_s), at(u"default"_s));
        static const QList<int> defaults = {3, 6, 9, 10, 11, 13, 16};
        if (!defaults.contains(f.defaultFor))
            throw PathError{at(u"default"_s),
                            u"kein Standardordner (3, 6, 9, 10, 11, 13 oder 16)"_s};
    }
    if (o.contains(u"path"_s))
        Reader::text(o.value(u"path"_s), at(u"path"_s));
    if (o.contains(u"readOnly"_s))
        f.readOnly = Reader::boolean(o.value(u"readOnly"_s), at(u"readOnly"_s));
    if (o.contains(u"items"_s))
        Reader::array(o.value(u"items"_s), at(u"items"_s));
    return f;
}

// Each default folder is served once per store.
void checkDefaults(const Document& doc) {
    QSet<QString> served;
    for (const auto& [folder, path] : doc.folders) {
        if (folder.defaultFor == 0)
            continue;
        const QString key = folder.storeId + u'|' + QString::number(folder.defaultFor);
        if (served.contains(key))
            throw PathError{Reader::member(path, u"default"_s),
                            u"dieser Standardordner ist schon vergeben"_s};
        served.insert(key);
    }
}

Document readDocument(const QJsonObject& root) {
    Reader::checkKeys(root, QString(),
                      {u"format"_s, u"version"_s, u"options"_s, u"stores"_s, u"folders"_s,
                       u"sync"_s});
    if (Reader::text(Reader::required(root, QString(), u"format"_s), u"format"_s) != kFormat)
        throw PathError{u"format"_s, u"kein Abzug eines Tellmarin-PIM-Speichers"_s};
    const int version =
        Reader::integer(Reader::required(root, QString(), u"version"_s), u"version"_s);
    if (version != kVersion)
        throw PathError{u"version"_s, u"nicht unterstützte Version "_s + QString::number(version)};
    Document doc;
    if (root.contains(u"options"_s)) {
        const QJsonObject options = Reader::object(root.value(u"options"_s), u"options"_s);
        for (auto it = options.begin(); it != options.end(); ++it)
            doc.options.insert(it.key(), Reader::text(it.value(), u"options."_s + it.key()));
    }
    const QJsonArray stores =
        Reader::array(Reader::required(root, QString(), u"stores"_s), u"stores"_s);
    for (qsizetype i = 0; i < stores.size(); ++i) {
        const QString path = Reader::element(u"stores"_s, i);
        const QJsonObject o = Reader::object(stores.at(i), path);
        Reader::checkKeys(o, path, {u"StoreID"_s, u"name"_s});
        doc.stores.append(
            {Reader::text(Reader::required(o, path, u"StoreID"_s), path + u".StoreID"_s),
             Reader::text(Reader::required(o, path, u"name"_s), path + u".name"_s)});
    }
    const QJsonArray folders =
        Reader::array(Reader::required(root, QString(), u"folders"_s), u"folders"_s);
    for (qsizetype i = 0; i < folders.size(); ++i) {
        const QString path = Reader::element(u"folders"_s, i);
        doc.folders.append({readFolder(Reader::object(folders.at(i), path), path), path});
    }
    checkDefaults(doc);
    // What the server sync knew, so that a store loaded from the dump syncs on.
    const QJsonArray sync = root.contains(u"sync"_s)
                                ? Reader::array(root.value(u"sync"_s), u"sync"_s)
                                : QJsonArray();
    for (qsizetype i = 0; i < sync.size(); ++i) {
        const QString path = Reader::element(u"sync"_s, i);
        const QJsonObject o = Reader::object(sync.at(i), path);
        Reader::checkKeys(o, path, {u"scope"_s, u"key"_s, u"value"_s});
        doc.syncStates.append(
            {Reader::text(Reader::required(o, path, u"scope"_s), path + u".scope"_s),
             Reader::text(Reader::required(o, path, u"key"_s), path + u".key"_s),
             Reader::text(Reader::required(o, path, u"value"_s), path + u".value"_s).toUtf8()});
    }
    return doc;
}

// Writes the document; a store error is reported at the path of the part
// that caused it.
void writeDocument(Store& store, const Document& doc) {
    const auto at = [](const QString& path, const std::function<void()>& step) {
        try {
            step();
        } catch (const Error& e) {
            throw PathError{path, e.description()};
        }
    };
    for (auto it = doc.options.begin(); it != doc.options.end(); ++it)
        at(u"options."_s + it.key(), [&] { store.setOption(it.key(), it.value()); });
    for (qsizetype i = 0; i < doc.stores.size(); ++i)
        at(Reader::element(u"stores"_s, i), [&] { store.insertStore(doc.stores.at(i)); });
    for (const auto& folder : doc.folders)
        at(folder.second, [&] { store.insertFolder(folder.first); });
    for (qsizetype i = 0; i < doc.syncStates.size(); ++i) {
        const Store::SyncState& s = doc.syncStates.at(i);
        at(Reader::element(u"sync"_s, i), [&] { store.setSyncState(s.scope, s.key, s.value); });
    }
}

// ---------------------------------------------------------------- pieces

// The document apart from its items, as pieces of text keyed by their path
// ("format", "folders[2].name"); the lines where objects that were entered
// begin, for faults about a member that is missing.
// The line of the value at path inside piece, which stands at piecePath.
int lineWithin(const Piece& piece, const QString& piecePath, const QString& path) {
    QString rest = path.mid(piecePath.size());
    if (rest.startsWith(u'.'))
        rest.remove(0, 1);
    return piece.line + lineOf(piece.text, rest) - 1;
}

struct Pieces {
    bool rootIsObject = true;
    QMap<QString, Piece> values;
    QHash<QString, int> objectLines;
    QList<QStringList> folderMembers; // names per folder entered, in order
    bool foldersEntered = false;

    // The line of the value at path, or of the nearest enclosing one.
    int lineOf(const QString& path) const {
        for (QString at = path;; at = enclosing(at)) {
            const auto piece = values.constFind(at);
            if (piece != values.cend())
                return lineWithin(*piece, at, path);
            if (objectLines.contains(at) || at.isEmpty())
                return objectLines.value(at, 1);
        }
    }

    static QString enclosing(const QString& path) {
        const qsizetype cut = std::max(path.lastIndexOf(u'.'), path.lastIndexOf(u'['));
        return cut < 0 ? QString() : path.left(cut);
    }
};

// The items of the document wait in a temporary file while the rest is
// read: the folder and the store they go into may stand after them.
class ItemSpill {
public:
    ItemSpill() {
        if (!m_file.open())
            throw Error(err::FileAccess,
                        u"Zwischendatei kann nicht angelegt werden: "_s + m_file.fileTemplate());
        m_stream.setDevice(&m_file);
    }

    void add(int folder, int index, const Piece& item) {
        m_stream << qint32(folder) << qint32(index) << qint32(item.line) << item.text;
        if (m_stream.status() != QDataStream::Ok)
            throw Error(err::FileAccess,
                        u"Zwischendatei kann nicht geschrieben werden: "_s + m_file.fileName());
    }

    // Calls f(folder, index, item) for every item in the order added.
    template <class F> void forEach(F f) {
        m_file.flush();
        m_file.seek(0);
        QDataStream in(&m_file);
        while (!in.atEnd()) {
            qint32 folder = 0, index = 0, line = 0;
            Piece item;
            in >> folder >> index >> line >> item.text;
            if (in.status() != QDataStream::Ok)
                throw Error(err::FileAccess,
                            u"Zwischendatei kann nicht gelesen werden: "_s + m_file.fileName());
            item.line = line;
            f(folder, index, item);
        }
    }

private:
    QTemporaryFile m_file;
    QDataStream m_stream;
};

// A member of an entered object, refused when it stands there twice.
void addMember(PieceReader& in, Pieces& pieces, QStringList& names, const QString& path,
               const QString& key) {
    if (names.contains(key))
        throw SyntaxError{in.line(), u"\""_s + key + u"\" steht zweimal in "_s +
                                         (path.isEmpty() ? u"dem Abzug"_s : path)};
    names << key;
    pieces.values.insert(Reader::member(path, key), in.take());
}

// One folder of "folders": its items go to the spill as they are read.
void readFolderPieces(PieceReader& in, Pieces& pieces, ItemSpill& spill) {
    const int index = int(pieces.folderMembers.size());
    const QString path = Reader::element(u"folders"_s, index);
    pieces.folderMembers.append(QStringList());
    if (in.peek() != '{') {
        pieces.values.insert(path, in.take());
        return;
    }
    pieces.objectLines.insert(path, in.line());
    in.enter('{');
    QStringList& names = pieces.folderMembers.last();
    while (in.more('}')) {
        const QString key = in.key();
        if (key != u"items"_s || in.peek() != '[' || names.contains(key)) {
            addMember(in, pieces, names, path, key);
            continue;
        }
        names << key;
        in.enter('[');
        for (int item = 0; in.more(']'); ++item)
            spill.add(index, item, in.take());
    }
}

void readPieces(QIODevice& device, Pieces& pieces, ItemSpill& spill) {
    PieceReader in(device);
    if (in.peek() != '{') {
        pieces.rootIsObject = false;
        pieces.values.insert(QString(), in.take());
        in.finish();
        return;
    }
    pieces.objectLines.insert(QString(), in.line());
    in.enter('{');
    QStringList names;
    while (in.more('}')) {
        const QString key = in.key();
        if (key != u"folders"_s || in.peek() != '[' || names.contains(key)) {
            addMember(in, pieces, names, QString(), key);
            continue;
        }
        names << key;
        pieces.foldersEntered = true;
        pieces.objectLines.insert(key, in.line());
        in.enter('[');
        while (in.more(']'))
            readFolderPieces(in, pieces, spill);
    }
    in.finish();
}

// The document without its items, as QJsonDocument would have read it.
QJsonObject rootObject(const Pieces& pieces) {
    QJsonObject root;
    for (auto it = pieces.values.begin(); it != pieces.values.end(); ++it)
        if (!it.key().startsWith(u"folders["_s))
            root.insert(it.key(), parse(it.value()));
    if (pieces.foldersEntered) {
        QJsonArray folders;
        for (qsizetype i = 0; i < pieces.folderMembers.size(); ++i) {
            const QString path = Reader::element(u"folders"_s, i);
            if (pieces.values.contains(path)) {
                folders.append(parse(pieces.values.value(path)));
                continue;
            }
            QJsonObject folder;
            for (const QString& key : pieces.folderMembers.at(i))
                if (pieces.values.contains(Reader::member(path, key)))
                    folder.insert(key, parse(pieces.values.value(Reader::member(path, key))));
            folders.append(folder);
        }
        root.insert(u"folders"_s, folders);
    }
    return root;
}

// The items from the spill, read and written one at a time; none may take
// a folder's EntryID. A fault names its line within the document.
void loadItems(Store& store, const Document& doc, ItemSpill& spill) {
    QSet<QString> folderIds;
    for (const auto& folder : doc.folders)
        folderIds.insert(folder.first.entryId);
    spill.forEach([&](int folder, int index, const Piece& piece) {
        const QString path =
            Reader::element(Reader::element(u"folders"_s, folder) + u".items"_s, index);
        try {
            const LoadedItem item =
                readItem(parse(piece), path, doc.folders.at(folder).first.entryId);
            if (folderIds.contains(item.record.entryId))
                throw PathError{Reader::member(item.path, u"EntryID"_s),
                                u"die EntryID eines Ordners"_s};
            try {
                store.insertItem(item.record);
            } catch (const Error& e) {
                throw PathError{path, e.description()};
            }
        } catch (PathError& e) {
            e.line = lineWithin(piece, path, e.path);
            throw;
        }
    });
}

} // namespace

void dump(const Store& store, QIODevice& out) {
    QJsonObject root{{u"format"_s, kFormat}, {u"version"_s, kVersion}};
    QJsonObject options;
    const QMap<QString, QString> values = store.options();
    for (auto it = values.begin(); it != values.end(); ++it)
        options.insert(it.key(), it.value());
    root.insert(u"options"_s, options);
    QJsonArray stores;
    for (const StoreInfo& s : store.stores())
        stores.append(QJsonObject{{u"StoreID"_s, s.storeId}, {u"name"_s, s.name}});
    root.insert(u"stores"_s, stores);
    QJsonArray folders;
    const QList<FolderInfo> list = store.folders();
    for (const FolderInfo& f : list) {
        QJsonObject folder = folderJson(f);
        folder.insert(u"items"_s, u"\x01items"_s);
        folders.append(folder);
    }
    root.insert(u"folders"_s, folders);
    QJsonArray sync;
    for (const Store::SyncState& s : store.allSyncStates())
        sync.append(QJsonObject{
            {u"scope"_s, s.scope}, {u"key"_s, s.key}, {u"value"_s, QString::fromUtf8(s.value)}});
    if (!sync.isEmpty())
        root.insert(u"sync"_s, sync);
    const QByteArray rest = QJsonDocument(root).toJson(QJsonDocument::Indented);
    qsizetype from = 0;
    for (const FolderInfo& f : list) {
        const qsizetype at = rest.indexOf(ItemsMarker, from);
        if (at < 0)
            throw FormatError(u"Abzug: Ordner "_s + f.folderPath + u" fehlt"_s);
        out.write(rest.constData() + from, at - from);
        writeFolderItems(store, f, out);
        from = at + ItemsMarker.size();
    }
    out.write(rest.constData() + from, rest.size() - from);
}

QByteArray dump(const Store& store) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    dump(store, buffer);
    return buffer.data();
}

void load(Store& store, const QByteArray& data, const QString& fileName) {
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    load(store, buffer, fileName);
}

void load(Store& store, QIODevice& in, const QString& fileName) {
    try {
        Pieces pieces;
        ItemSpill spill;
        readPieces(in, pieces, spill);
        try {
            if (!pieces.rootIsObject)
                throw PathError{QString(), u"ein Objekt erwartet"_s};
            const Document doc = readDocument(rootObject(pieces));
            if (!store.stores().isEmpty())
                throw FormatError(u"der Speicher "_s + store.path() +
                                  u" ist nicht leer; ein Abzug wird nur in einen "
                                  u"neuen Speicher geladen"_s);
            store.transaction([&] {
                writeDocument(store, doc);
                loadItems(store, doc, spill);
            });
        } catch (const PathError& e) {
            throw FormatError(fileName, e.line > 0 ? e.line : pieces.lineOf(e.path),
                              (e.path.isEmpty() ? QString() : e.path + u": "_s) + e.text);
        }
    } catch (const SyntaxError& e) {
        throw FormatError(fileName, e.line, u"kein gültiges JSON: "_s + e.text);
    }
}

} // namespace tlm::pim::json
