// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The local PIM store: one SQLite file holding stores, folders and items
// (contacts, journal entries, appointments, tasks, mails) the way Outlook
// holds them. This is the raw, value-type access used by the command-line
// tool, the file formats and the Outlook adaptor over the store (pimoutlook/) that the
// program itself uses.
//
// Identifiers: EntryIDs and StoreIDs are uppercase hexadecimal texts, stable
// for the life of the object, unique across stores, at most 140 characters.
//
// Every method raises tlm::Error on failure (unknown EntryID: NotFound; file
// cannot be opened: 75; unknown property: UnknownProperty). Each changing
// method runs in its own transaction unless it runs inside transaction().

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>

namespace tlm::pim {

// Error numbers raised by the store.
constexpr long NotFound = -2147221233;     // MAPI_E_NOT_FOUND: unknown EntryID/StoreID
constexpr long UnknownProperty = 438;      // no such property on this kind of item
constexpr long CannotParse = -2147352567;  // bad filter or bad value
constexpr long StoreUnavailable = 75;      // file cannot be opened or written
constexpr long NoPermission = -2147024891; // E_ACCESSDENIED: a read-only folder

// Outlook's numbers of the default folders (FolderInfo::defaultFor,
// Store::defaultFolder); the Outlook interface uses the same numbers.
namespace defaultfolder {
inline constexpr int DeletedItems = 3;
inline constexpr int Inbox = 6;
inline constexpr int Calendar = 9;
inline constexpr int Contacts = 10;
inline constexpr int Journal = 11;
inline constexpr int Tasks = 13;
inline constexpr int Drafts = 16;
} // namespace defaultfolder

// Outlook's item class numbers (itemClassOf).
namespace itemclass {
inline constexpr int Appointment = 26;
inline constexpr int Contact = 40;
inline constexpr int Journal = 42;
inline constexpr int Mail = 43;
inline constexpr int Task = 48;
} // namespace itemclass

enum class FolderKind { Contact, Calendar, Journal, Task, Mail, Other };

// "contact", "calendar", "journal", "task", "mail", "other".
QString kindName(FolderKind kind);
// The kind for such a name (case-insensitive); raises CannotParse for others.
FolderKind kindFromName(const QString& name);
// The message class of a new item in a folder of this kind ("IPM.Contact",
// "IPM.Appointment", "IPM.Activity", "IPM.Task", "IPM.Note"; Other: "IPM.Note").
QString messageClassOf(FolderKind kind);
// The Outlook item class number of a message class (40 contact, 26
// appointment, 42 journal entry, 48 task, 43 mail).
int itemClassOf(const QString& messageClass);

struct StoreInfo {
    QString storeId;
    QString name; // "Persönliche Ordner" for the default store
};

struct FolderInfo {
    QString entryId;
    QString storeId;
    QString parentId; // empty: a top folder of its store
    QString name;
    FolderKind kind = FolderKind::Other;
    int defaultFor = 0; // the outlook::DefaultFolders number it serves, 0 for none
    // The user may read the folder's items but not change them (as a shared
    // Exchange folder can be): saving or deleting an item there through the
    // Outlook interface raises NoPermission.
    bool readOnly = false;
    // Outlook's form: "\\" + store name + "\" + folder names joined by "\".
    // Filled by the store; ignored by insertFolder.
    QString folderPath;
};

// The window of an item as the program left it.
struct InspectorState {
    bool open = false;
    bool active = false;
    int windowState = 2; // 0 maximized, 1 minimized, 2 normal
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const InspectorState&) const = default;
};

struct UserProperty {
    QString name;
    QString value;
    bool operator==(const UserProperty&) const = default;
};

// One item, completely. properties holds every stored property by its
// Outlook name (canonical spelling), typed: QString, int, bool, double or
// QDateTime (local time); computed properties (FullName, the composed
// addresses, ...) are never in it. Body and HTMLBody are kept apart.
// CreationTime and LastModificationTime are in properties.
struct ItemRecord {
    QString entryId;
    QString folderId;
    QString messageClass; // "IPM.Contact", "IPM.Activity", ...
    QVariantMap properties;
    QList<UserProperty> userProperties; // in the order added
    QStringList links;                  // EntryIDs of linked contacts
    QString body;
    QString htmlBody;
    InspectorState inspector;
    QDateTime timerStarted; // a running journal timer; invalid when stopped
    // A draft: an item the program showed without saving, kept with its
    // window until the user saves or discards it. Outlook's folder
    // operations (Items, Find, tables) do not see drafts.
    bool unsaved = false;
};

// The canonical spelling of a property name for items of this message class
// (names match without regard to case, "CarTelephonenumber" gives
// "CarTelephoneNumber"); empty when there is no such property. Computed
// properties are returned too; isComputedProperty tells them apart.
QString canonicalPropertyName(const QString& messageClass, const QString& name);
bool isComputedProperty(const QString& name);

// Store options (names as options() lists them).
inline constexpr QLatin1String OptionOutlookVersion{"OutlookVersion"}; // default "16.0.0.0"
inline constexpr QLatin1String OptionEditorType{"EditorType"};         // default "4"

class Store {
public:
    enum class Create {
        WithDefaults, // a new file gets "Persönliche Ordner" with the German default folders
        Empty,        // a new file gets no store and no folder (to load a dump into)
        Never,        // only an existing store opens: a missing file raises FileNotFound
                      // (53), an empty one StoreUnavailable
    };

    // TELLMARIN_PIM, else tlm::paths::dataFolder() + "pim.sqlite".
    static QString defaultPath();

    // Opens the store file (empty path: defaultPath()), creating it and its
    // folder when missing as mode says. Raises StoreUnavailable when it
    // cannot be opened or created, and for a file that is no store of this
    // program (another program's database), which stays unchanged. Stores
    // are marked in the file's header; one made before that is recognised
    // by its tables and marked when it is opened.
    explicit Store(const QString& path = QString(), Create mode = Create::WithDefaults);
    ~Store();
    Store(Store&&) noexcept;
    Store& operator=(Store&&) noexcept;

    QString path() const;

    // Runs work in one transaction: everything or nothing. A raised error
    // rolls back and is passed on. Nested calls join the outer transaction.
    void transaction(const std::function<void()>& work);

    // Stores and folders ------------------------------------------------
    QList<StoreInfo> stores() const; // in creation order; the first is the default store
    StoreInfo store(const QString& storeId) const;
    StoreInfo addStore(const QString& name);
    void insertStore(const StoreInfo& store); // keeps the StoreID

    QList<FolderInfo> folders() const; // all stores, each parent before its children
    FolderInfo folder(const QString& entryId) const;
    // By FolderPath ("\\Persönliche Ordner\Kontakte"; case-insensitive);
    // raises NotFound.
    FolderInfo folderByPath(const QString& folderPath) const;
    // The default folder of the default store (outlook::DefaultFolders numbers).
    FolderInfo defaultFolder(int number) const;
    // parentId empty: a top folder of storeId; else storeId may be empty.
    FolderInfo addFolder(const QString& storeId, const QString& parentId, const QString& name,
                         FolderKind kind, bool readOnly = false);
    // Keeps EntryID, StoreID, defaultFor and readOnly.
    void insertFolder(const FolderInfo& folder);

    // Items ---------------------------------------------------------------
    // The saved items of a folder, in order of creation; drafts apart.
    QStringList itemIds(const QString& folderId) const;
    QList<ItemRecord> items(const QString& folderId) const;
    QList<ItemRecord> drafts(const QString& folderId) const;
    // The same one at a time, for folders too large to hold at once.
    void forEachItem(const QString& folderId, bool drafts,
                     const std::function<void(const ItemRecord&)>& f) const;
    ItemRecord item(const QString& entryId) const; // a saved item or a draft
    // The number of saved items of a folder.
    int itemCount(const QString& folderId) const;
    // Each saved item of a folder with a stamp that changes whenever its
    // properties change, in order of creation: lets a reader find what
    // changed without decoding every item.
    struct ItemStamp {
        QString entryId;
        size_t stamp = 0;
    };
    QList<ItemStamp> itemStamps(const QString& folderId) const;
    bool hasItem(const QString& entryId) const;

    // Adds record to folderId with a new EntryID and returns it. The message
    // class defaults to the folder's; property names are resolved as
    // canonicalPropertyName does and values converted to the property's type
    // (texts "true"/"false", ISO dates, numbers); a composed address is split
    // into its parts; an unknown name raises UnknownProperty. CreationTime and
    // LastModificationTime default to now.
    QString addItem(const QString& folderId, const ItemRecord& record);
    // The same, keeping record.entryId and record.folderId (raises when the
    // EntryID is taken or the folder unknown).
    void insertItem(const ItemRecord& record);
    // Replaces the stored item record.entryId (moving it when folderId
    // changed). LastModificationTime as given in record.properties.
    void updateItem(const ItemRecord& record);
    void removeItem(const QString& entryId); // deletes for good

    // Inspectors (the windows of items) ------------------------------------
    struct OpenInspector {
        QString entryId;
        QString caption; // as the program set it; may be empty
        InspectorState state;
    };
    // Every open inspector, in no particular order.
    QList<OpenInspector> openInspectors() const;
    // Marks the item's window closed (the user closed it).
    void closeInspector(const QString& entryId);
    // A draft becomes a saved item of its folder.
    void saveDraft(const QString& entryId);

    // A number that grows whenever a change to the file is committed, by
    // another connection (SQLite's data_version) or by this one (its count of
    // changed rows); cheap enough to poll.
    qint64 dataVersion() const;
    // For each folder whose items ever changed, a number that changes
    // whenever one of its items is added, changed or removed.
    QHash<QString, qint64> folderVersions() const;

    // Options -------------------------------------------------------------
    QMap<QString, QString> options() const; // with defaults filled in
    QString option(const QString& name) const;
    void setOption(const QString& name, const QString& value);
    QString outlookVersion() const;
    void setOutlookVersion(const QString& version);
    int editorType() const; // 1 plain text, 4 Word
    void setEditorType(int editorType);

    // Server sync ---------------------------------------------------------
    // What the server sync keeps beside the items: small documents by scope
    // and key, which the store keeps whole without reading them. They travel
    // in the JSON dump.
    QMap<QString, QByteArray> syncStates(const QString& scope) const; // by key
    // An empty value removes the key.
    void setSyncState(const QString& scope, const QString& key, const QByteArray& value);
    void removeSyncScope(const QString& scope);
    struct SyncState {
        QString scope;
        QString key;
        QByteArray value;
    };
    QList<SyncState> allSyncStates() const; // by scope and key
    // Removes a store with its folders, their items and windows. The default
    // store (the first) cannot be removed.
    void removeStore(const QString& storeId);

    // For the store's own parts and the Outlook adaptor over it.
    struct Impl;
    Impl& impl() const { return *m_impl; }

private:
    std::unique_ptr<Impl> m_impl;
};

} // namespace tlm::pim
