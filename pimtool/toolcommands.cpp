// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// The store, folder, listing, option and JSON commands of tellmarin-pim.
#include "pimtool/toolcommands.h"

#include "formats/json.h"
#include "platform/error.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTextStream>

#include <optional>

using namespace Qt::StringLiterals;

namespace tlm::pim::tool {

namespace {

const QString kRoot = u"\\\\"_s;

// "\\Store\A\B" or "A\B" as store name and folder names.
QStringList pathParts(const Store& store, const QString& text) {
    QStringList parts;
    if (text.startsWith(kRoot)) {
        parts = text.mid(2).split(u'\\');
    } else {
        const QList<StoreInfo> stores = store.stores();
        if (stores.isEmpty())
            throw Error(NotFound, u"Der Speicher enthält keinen Standardspeicher."_s);
        parts = QStringList{stores.first().name} + text.split(u'\\');
    }
    for (const QString& part : std::as_const(parts))
        if (part.trimmed().isEmpty())
            throw UsageError{u"ungültiger Ordnerpfad: "_s + text};
    return parts;
}

std::optional<FolderInfo> findFolder(const Store& store, const QString& path) {
    try {
        return store.folderByPath(path);
    } catch (const Error& e) {
        if (e.number() == NotFound)
            return std::nullopt;
        throw;
    }
}

FolderKind kindArg(const QString& text) {
    try {
        return kindFromName(text);
    } catch (const Error&) {
        throw UsageError{u"unbekannte Ordnerart: "_s + text +
                         u" (contact, calendar, journal, task, mail, other)"_s};
    }
}

void removeStoreFiles(const QString& path) {
    for (const QString& suffix : {QString(), u"-wal"_s, u"-shm"_s, u"-journal"_s})
        QFile::remove(path + suffix);
}

QString itemLabel(const ItemRecord& item) {
    const QVariantMap& p = item.properties;
    const QString subject = p.value(u"Subject"_s).toString();
    if (!subject.isEmpty() || !item.messageClass.startsWith(u"IPM.Contact"_s))
        return subject;
    QString name = p.value(u"LastName"_s).toString();
    const QString first = p.value(u"FirstName"_s).toString();
    if (!first.isEmpty())
        name += (name.isEmpty() ? QString() : u", "_s) + first;
    const QString company = p.value(u"CompanyName"_s).toString();
    if (company.isEmpty())
        return name;
    return name.isEmpty() ? company : name + u" ("_s + company + u')';
}

} // namespace

// ---------------------------------------------------------------- shared

Store openStore(const Invocation& call, Store::Create mode) {
    if (mode == Store::Create::Never && !QFileInfo::exists(call.storePath))
        throw Error(err::FileNotFound, u"Speicher nicht gefunden: "_s + call.storePath +
                                           u" (anlegen mit: tellmarin-pim create)"_s);
    return Store(call.storePath, mode);
}

QString fullFolderPath(const Store& store, const QString& text) {
    return kRoot + pathParts(store, text).join(u'\\');
}

FolderInfo folderArg(const Store& store, const QString& text, int defaultFolder) {
    if (text.isEmpty())
        return store.defaultFolder(defaultFolder);
    const QString path = fullFolderPath(store, text);
    if (const auto folder = findFolder(store, path))
        return *folder;
    throw Error(NotFound, u"Ordner nicht gefunden: "_s + path);
}

void openInput(QFile& f) {
    if (!f.exists())
        throw Error(err::FileNotFound, u"Datei nicht gefunden: "_s + f.fileName());
    if (!f.open(QIODevice::ReadOnly))
        throw Error(err::FileAccess, u"Datei kann nicht gelesen werden: "_s + f.fileName());
}

void writeOutput(const QString& path, const std::function<void(QIODevice&)>& write,
                 QTextStream& out) {
    if (path == u"-"_s) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        write(buffer);
        out << QString::fromUtf8(buffer.data());
        return;
    }
    // Into the file as it is written, so that a large output need not fit
    // in memory; a write that fails makes the commit fail.
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        throw Error(err::FileAccess, u"Datei kann nicht geschrieben werden: "_s + path);
    write(f);
    if (!f.commit())
        throw Error(err::FileAccess, u"Datei kann nicht geschrieben werden: "_s + path);
}

void writeOutput(const QString& path, const QByteArray& data, QTextStream& out) {
    writeOutput(
        path, [&](QIODevice& device) { device.write(data); }, out);
}

// ---------------------------------------------------------------- commands

void create(const Invocation& call) {
    if (QFileInfo::exists(call.storePath))
        throw Error(err::FileAccess, u"Der Speicher besteht schon: "_s + call.storePath);
    const Store store(call.storePath, Store::Create::WithDefaults);
    *call.out << "Speicher angelegt: " << store.path() << '\n';
}

void addFolder(const Invocation& call) {
    Store store = openStore(call, Store::Create::Never);
    const QStringList parts = pathParts(store, call.args.first());
    if (parts.size() < 2)
        throw UsageError{u"Ordnerpfad ohne Ordnernamen: "_s + call.args.first()};
    const QString target = kRoot + parts.join(u'\\');
    if (findFolder(store, target))
        throw Error(err::FileAccess, u"Den Ordner gibt es schon: "_s + target);
    const std::optional<FolderKind> kind = call.options.contains(u"kind"_s)
                                               ? std::optional(kindArg(call.option(u"kind"_s)))
                                               : std::nullopt;
    FolderInfo folder;
    store.transaction([&] {
        QString storeId;
        for (const StoreInfo& s : store.stores())
            if (s.name.compare(parts.first(), Qt::CaseInsensitive) == 0)
                storeId = s.storeId;
        if (storeId.isEmpty())
            storeId = store.addStore(parts.first()).storeId;
        std::optional<FolderInfo> parent;
        for (qsizetype i = 1; i < parts.size(); ++i) {
            const QString path = kRoot + parts.mid(0, i + 1).join(u'\\');
            if (auto existing = findFolder(store, path)) {
                parent = existing;
                continue;
            }
            const FolderKind k = kind ? *kind : parent ? parent->kind : FolderKind::Mail;
            const bool readOnly = i == parts.size() - 1 && call.options.contains(u"read-only"_s);
            parent =
                store.addFolder(parent ? QString() : storeId, parent ? parent->entryId : QString(),
                                parts.at(i), k, readOnly);
        }
        folder = *parent;
    });
    *call.out << "Ordner angelegt: " << folder.folderPath << '\t' << kindName(folder.kind) << '\t'
              << folder.entryId << (folder.readOnly ? "\tschreibgeschützt" : "") << '\n';
}

void loadJson(const Invocation& call) {
    const QString file = call.args.first();
    QFile input(file);
    openInput(input);
    const bool existed = QFileInfo::exists(call.storePath);
    try {
        Store store(call.storePath, Store::Create::Empty);
        json::load(store, input, file);
    } catch (const Error&) {
        if (!existed)
            removeStoreFiles(call.storePath);
        throw;
    }
    const Store store(call.storePath, Store::Create::Never);
    qsizetype items = 0;
    const QList<FolderInfo> folders = store.folders();
    for (const FolderInfo& f : folders)
        items += store.itemCount(f.entryId);
    *call.out << "Abzug geladen: " << folders.size() << " Ordner, " << items << " Elemente\n";
}

void dumpJson(const Invocation& call) {
    const Store store = openStore(call, Store::Create::Never);
    writeOutput(
        call.args.value(0, u"-"_s), [&](QIODevice& out) { json::dump(store, out); }, *call.out);
}

void list(const Invocation& call) {
    const Store store = openStore(call, Store::Create::Never);
    QTextStream& out = *call.out;
    if (call.args.isEmpty()) {
        for (const FolderInfo& f : store.folders())
            out << f.folderPath << '\t' << kindName(f.kind) << '\t'
                << store.itemIds(f.entryId).size() << '\t' << f.entryId
                << (f.readOnly ? "\tschreibgeschützt" : "") << '\n';
        return;
    }
    const FolderInfo folder = folderArg(store, call.args.first(), 0);
    for (const ItemRecord& item : store.items(folder.entryId))
        out << item.entryId << '\t' << item.messageClass << '\t' << itemLabel(item) << '\n';
}

void inspectors(const Invocation& call) {
    const Store store = openStore(call, Store::Create::Never);
    static const char* const states[] = {"maximiert", "minimiert", "normal"};
    for (const Store::OpenInspector& i : store.openInspectors()) {
        const InspectorState& s = i.state;
        const int state = s.windowState >= 0 && s.windowState <= 2 ? s.windowState : 2;
        *call.out << i.entryId << '\t' << states[state] << (s.active ? " aktiv" : "") << '\t'
                  << s.left << ',' << s.top << ',' << s.width << ',' << s.height << '\t'
                  << i.caption << '\n';
    }
}

void closeInspector(const Invocation& call) {
    const bool save = call.options.contains(u"save"_s);
    const bool discard = call.options.contains(u"discard"_s);
    if (save && discard)
        throw UsageError{u"--save und --discard schließen einander aus"_s};
    Store store = openStore(call, Store::Create::Never);
    const QString id = call.args.first();
    const ItemRecord item = store.item(id); // raises for an unknown EntryID
    store.transaction([&] {
        store.closeInspector(id);
        if (item.unsaved && save)
            store.saveDraft(id);
        else if (item.unsaved && discard)
            store.removeItem(id);
    });
    *call.out << (item.unsaved ? (save      ? "gespeichert: "
                                  : discard ? "verworfen: "
                                            : "geschlossen: ")
                               : "geschlossen: ")
              << id << '\n';
}

void options(const Invocation& call) {
    Store store = openStore(call, Store::Create::Never);
    const QString version = call.option(u"outlook-version"_s);
    const QString editor = call.option(u"editor-type"_s);
    if (call.options.contains(u"outlook-version"_s) &&
        !QRegularExpression(u"^\\d+(\\.\\d+){0,3}$"_s).match(version).hasMatch())
        throw UsageError{u"--outlook-version erwartet eine Versionsnummer wie 16.0.0.0"_s};
    if (call.options.contains(u"editor-type"_s) && editor != u"1"_s && editor != u"4"_s)
        throw UsageError{u"--editor-type erwartet 1 (Nur-Text) oder 4 (Word)"_s};
    store.transaction([&] {
        if (call.options.contains(u"outlook-version"_s))
            store.setOutlookVersion(version);
        if (call.options.contains(u"editor-type"_s))
            store.setEditorType(editor.toInt());
    });
    const QMap<QString, QString> values = store.options();
    for (auto it = values.begin(); it != values.end(); ++it)
        *call.out << it.key() << '=' << it.value() << '\n';
}

} // namespace tlm::pim::tool
