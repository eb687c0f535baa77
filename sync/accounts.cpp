// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/accounts.h"
#include "store/pimstore.h"
#include "numbers/companynumbers.h"
#include "numbers/indexfile.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "sync/credentials.h"
#include "sync/davclient.h"
#include "sync/discovery.h"
#include "sync/synclock.h"
#include "sync/syncerror.h"

#include <QFile>
#include <QSet>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace tlm::sync {

namespace {

struct FolderPlan {
    QString name;
    pim::FolderKind kind;
    QString component;
    const Collection* collection;
};

pim::FolderKind kindOfComponent(const QString& component) {
    if (component == u"VJOURNAL"_s)
        return pim::FolderKind::Journal;
    if (component == u"VTODO"_s)
        return pim::FolderKind::Task;
    return pim::FolderKind::Calendar;
}

QString componentOfKind(pim::FolderKind kind) {
    switch (kind) {
    case pim::FolderKind::Journal: return u"VJOURNAL"_s;
    case pim::FolderKind::Task: return u"VTODO"_s;
    case pim::FolderKind::Calendar: return u"VEVENT"_s;
    default: return {};
    }
}

// One folder per collection and kind; a calendar giving more than one names
// its journal and task folders apart. Names stay unique in the store.
QList<FolderPlan> planFolders(const QList<Collection>& collections) {
    QList<FolderPlan> plans;
    QSet<QString> taken;
    const auto unique = [&taken](QString name) {
        const QString base = name;
        for (int n = 2; taken.contains(name.toLower()); ++n)
            name = base + u" ("_s + QString::number(n) + u')';
        taken.insert(name.toLower());
        return name;
    };
    for (const Collection& c : collections) {
        if (c.kind == CollectionKind::AddressBook) {
            plans.append({unique(c.name()), pim::FolderKind::Contact, QString(), &c});
            continue;
        }
        const bool several = c.components.size() > 1;
        for (const QString& component : {u"VEVENT"_s, u"VJOURNAL"_s, u"VTODO"_s}) {
            if (!c.supports(component))
                continue;
            QString name = c.name();
            if (several && component == u"VJOURNAL"_s)
                name += u" (Journal)"_s;
            else if (several && component == u"VTODO"_s)
                name += u" (Aufgaben)"_s;
            plans.append({unique(name), kindOfComponent(component), component, &c});
        }
    }
    return plans;
}

Binding bindingFor(const QString& folderId, const QString& account, const Collection& c,
                   const QString& component) {
    Binding b;
    b.folderId = folderId;
    b.account = account;
    b.url = c.url;
    b.component = component;
    b.syncCollection = c.syncCollection;
    b.vcard4 = c.vcard4;
    return b;
}

// Address books first: a journal entry, appointment or task names its
// contacts on the server by their UIDs, which a sync knows only for
// contacts that are on the server already (pushed or pulled before it).
QList<Binding> bindings(const pim::Store& store) {
    QList<Binding> out;
    for (const QByteArray& json : store.syncStates(bindingScope()))
        out.append(Binding::fromJson(json));
    std::stable_partition(out.begin(), out.end(),
                          [](const Binding& b) { return b.component.isEmpty(); });
    return out;
}

void saveAccount(pim::Store& store, const Account& a) {
    store.setSyncState(accountScope(), a.name, a.toJson());
}

bool sameServer(const QUrl& a, const QUrl& b) {
    return a.scheme() == b.scheme() && a.host().compare(b.host(), Qt::CaseInsensitive) == 0 &&
           a.port() == b.port();
}

// The call's next lookup must see what the sync changed: today's contact
// index and its lookup table are thrown away, so the next call event builds
// them anew.
void discardContactIndexes() {
    for (const QString& pattern : {indexTablePattern(), companyFilePattern(), indexFilePattern()})
        for (const QString& path : files::matching(paths::workFolder(), pattern))
            QFile::remove(path);
}

void forgetAccount(pim::Store& store, const Account& a) {
    store.transaction([&] {
        for (const Binding& b : bindings(store))
            if (b.account == a.name) {
                store.removeSyncScope(itemScope(b.folderId));
                store.setSyncState(bindingScope(), b.folderId, {});
            }
        store.setSyncState(accountScope(), a.name, {});
        if (!a.storeId.isEmpty())
            store.removeStore(a.storeId);
    });
}

} // namespace

QList<Account> accounts(const pim::Store& store) {
    QList<Account> out;
    for (const QByteArray& json : store.syncStates(accountScope()))
        out.append(Account::fromJson(json));
    return out;
}

Account account(const pim::Store& store, const QString& name) {
    for (const Account& a : accounts(store))
        if (a.name.compare(name, Qt::CaseInsensitive) == 0)
            return a;
    throw SyncError(Failure::Unsupported, u"Ein Konto „%1“ gibt es nicht."_s.arg(name));
}

Account addAccount(pim::Store& store, const NewAccount& request, SyncRun* firstSync) {
    Account a;
    a.name = request.name.isEmpty() ? request.user + u'@' + request.url.host() : request.name;
    a.url = request.url;
    a.user = request.user;
    a.allowHttp = request.allowHttp;
    for (const Account& other : accounts(store))
        if (other.name.compare(a.name, Qt::CaseInsensitive) == 0)
            throw SyncError(Failure::Unsupported, u"Ein Konto „%1“ gibt es schon."_s.arg(a.name));
    for (const pim::StoreInfo& s : store.stores())
        if (s.name.compare(a.name, Qt::CaseInsensitive) == 0)
            throw SyncError(Failure::Unsupported,
                            u"Einen Speicher „%1“ gibt es schon."_s.arg(a.name));

    DavClient client({request.user, request.password, request.allowHttp});
    const QList<Collection> collections = discover(client, request.url);
    store.transaction([&] {
        a.storeId = store.addStore(a.name).storeId;
        for (const FolderPlan& plan : planFolders(collections)) {
            const pim::FolderInfo folder = store.addFolder(a.storeId, {}, plan.name, plan.kind);
            const Binding b = bindingFor(folder.entryId, a.name, *plan.collection, plan.component);
            store.setSyncState(bindingScope(), b.folderId, b.toJson());
        }
        saveAccount(store, a);
    });
    try {
        credentials::save(a.name, request.password);
        SyncRun run = syncAccounts(store, a.name);
        if (!run.ok())
            throw SyncError(run.firstFailure, run.errors.join(u'\n'));
        if (firstSync)
            *firstSync = run;
    } catch (...) {
        forgetAccount(store, a);
        try {
            credentials::remove(a.name);
        } catch (const SyncError&) {
        }
        throw;
    }
    return account(store, a.name);
}

Binding bind(pim::Store& store, const QString& folderPath, const QUrl& url,
             const QString& accountName) {
    const SyncLock lock(store.path()); // a sync running now would write the old binding back
    const pim::FolderInfo folder = store.folderByPath(folderPath);
    Account a;
    if (!accountName.isEmpty()) {
        a = account(store, accountName);
    } else {
        const QList<Account> all = accounts(store);
        const auto it = std::find_if(all.cbegin(), all.cend(),
                                     [&](const Account& x) { return sameServer(x.url, url); });
        if (it == all.cend())
            throw SyncError(Failure::Unsupported,
                            u"Für %1 gibt es kein Konto; bitte --account angeben."_s.arg(url.host()));
        a = *it;
    }
    DavClient client({a.user, credentials::load(a.name), a.allowHttp});
    const Collection c = describeCollection(client, url);
    const QString component = componentOfKind(folder.kind);
    if (folder.kind == pim::FolderKind::Contact) {
        if (c.kind != CollectionKind::AddressBook)
            throw SyncError(Failure::Unsupported,
                            u"„%1“ ist kein Adressbuch; ein Kontakte-Ordner wird nur an ein "
                            u"Adressbuch gebunden."_s.arg(c.name()));
    } else if (component.isEmpty()) {
        throw SyncError(Failure::Unsupported,
                        u"Nur Kontakte-, Kalender-, Journal- und Aufgabenordner werden mit einem "
                        u"Server abgeglichen."_s);
    } else if (c.kind != CollectionKind::Calendar || !c.supports(component)) {
        throw SyncError(
            Failure::Unsupported,
            component == u"VJOURNAL"_s
                ? u"Der Kalender „%1“ nimmt keine Journaleinträge (VJOURNAL) auf. Ausweg: in den "
                  u"Optionen den Kalendermodus wählen; Anrufe werden dann als Termine in einen "
                  u"Kalenderordner eingetragen."_s.arg(c.name())
                : u"„%1“ nimmt keine Einträge der Art %2 auf."_s.arg(c.name(), component));
    }
    const Binding b = bindingFor(folder.entryId, a.name, c, component);
    store.transaction([&] {
        store.removeSyncScope(itemScope(folder.entryId));
        store.setSyncState(bindingScope(), b.folderId, b.toJson());
    });
    return b;
}

SyncRun syncAccounts(pim::Store& store, const QString& accountName, const QString& folderPath) {
    const SyncLock lock(store.path());
    SyncRun run;
    const QString onlyFolder = folderPath.isEmpty() ? QString() : store.folderByPath(folderPath).entryId;
    const QList<Account> chosen =
        accountName.isEmpty() ? accounts(store) : QList<Account>{account(store, accountName)};
    bool contactsChanged = false;
    for (Account a : chosen) {
        QStringList errors;
        const auto failed = [&](Failure failure, const QString& text) {
            if (run.errors.isEmpty() && errors.isEmpty())
                run.firstFailure = failure;
            errors.append(text);
        };
        try {
            DavClient client({a.user, credentials::load(a.name), a.allowHttp});
            for (const Binding& b : bindings(store)) {
                if (b.account != a.name || (!onlyFolder.isEmpty() && b.folderId != onlyFolder))
                    continue;
                try {
                    const FolderReport report = syncFolder(store, client, b);
                    contactsChanged =
                        contactsChanged || (b.component.isEmpty() && report.contactsChanged());
                    run.folders.append(report);
                } catch (const SyncError& e) {
                    failed(e.failure(), store.folder(b.folderId).folderPath + u": "_s + e.message());
                    if (e.failure() == Failure::Unreachable ||
                        e.failure() == Failure::Authentication ||
                        e.failure() == Failure::Certificate)
                        break; // the other folders would fail the same way
                } catch (const Error& e) {
                    failed(Failure::Store,
                           store.folder(b.folderId).folderPath + u": "_s + e.description());
                }
            }
        } catch (const SyncError& e) {
            failed(e.failure(), a.name + u": "_s + e.message());
        }
        a.lastError = errors.join(u'\n');
        if (errors.isEmpty())
            a.lastSync = QDateTime::currentDateTime();
        saveAccount(store, a);
        run.errors.append(errors);
    }
    if (contactsChanged)
        discardContactIndexes();
    return run;
}

void removeAccount(pim::Store& store, const QString& name) {
    const SyncLock lock(store.path()); // a sync running now would write its states back
    const Account a = account(store, name);
    forgetAccount(store, a);
    credentials::remove(a.name);
}

} // namespace tlm::sync
