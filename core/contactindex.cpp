// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/contactindex.h"

#include "core/companylookup.h"
#include "core/environment.h"
#include "core/folderreference.h"
#include "core/run.h"
#include "numbers/companynumbers.h"
#include "numbers/indexfile.h"
#include "numbers/indextable.h"
#include "numbers/normalise.h"
#include "numbers/phonefields.h"
#include "outlook/application.h"
#include "outlook/folder.h"
#include "outlook/item.h"
#include "platform/clock.h"
#include "platform/fileio.h"
#include "platform/files.h"
#include "platform/messagebox.h"
#include "platform/processlock.h"
#include "platform/textfile.h"
#include "platform/texts.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace tlm {
namespace {
// Error numbers of the builder (Outlook's object error range).
constexpr long DefaultFolderMissing = -2147221503;    // &H80040001
constexpr long ConfiguredFolderMissing = -2147221502; // &H80040002
constexpr qsizetype WriteBlock = 256 * 1024;

IndexProgressFactory& progressFactory() {
    static IndexProgressFactory factory;
    return factory;
}

QString dateTimeOrZero(const QDateTime& t) {
    // The zero date shows as its time alone.
    return t.isValid() ? texts::dateTime(t) : QStringLiteral("00:00:00");
}

// The signed-in user as Windows names it; elsewhere the login name.
QString userName() {
    const QString windows = qEnvironmentVariable("USERNAME");
    return windows.isEmpty() ? qEnvironmentVariable("USER") : windows;
}

struct FolderCounts {
    int contacts = 0;
    int numbers = 0;
    QDateTime newest;
};

// The builder's state for one run of subCreateFileIndex.
class IndexBuilder {
public:
    explicit IndexBuilder(Run& run)
        : m_run(run), m_index(run.env.indexFile), m_table(indexTablePath(m_index)),
          m_companies(m_index, companyFallbackOn()) {}

    bool build(bool showProgress);

private:
    void start();
    void indexDefaultFolder();
    void indexConfiguredFolders();
    FolderCounts indexFolder(const outlook::FolderPtr& folder);
    void writeRecords(QByteArray& records);
    void logFolder(const outlook::FolderPtr& folder, const FolderCounts& counts);
    void finish();
    void putInPlace();
    void fail(long number, const QString& description, const QString& message);
    QString message(const Error& e, int folder) const;

    Run& m_run;
    QString m_index;
    QString m_table;
    QString m_temporary;
    IndexTableWriter m_tableWriter;
    QString m_indexLog;
    Step m_step{60000};
    QDateTime m_started;
    int m_contacts = 0;
    bool m_result = false;
    outlook::NamespacePtr m_mapi;
    CompanyFileWriter m_companies; // the company main numbers, beside the index
};

void IndexBuilder::fail(long number, const QString& description, const QString& text) {
    m_run.log.appendProgramLog(
        texts::dateTime(clock::now()) + QStringLiteral(" mdlMain.subCreateFileIndex_") +
        m_step.digits() + QStringLiteral(": ") + text +
        QStringLiteral("(Err ") + QString::number(number) + QStringLiteral("...") + description +
        QLatin1Char(')'));
}

QString IndexBuilder::message(const Error& e, int folder) const {
    switch (e.number()) {
    case DefaultFolderMissing:
        return QStringLiteral(
            "Auf den persönlichen Kontakteordner konnte nicht zugegriffen werden.");
    case ConfiguredFolderMissing:
        return QStringLiteral("Auf den Kontakteordner '") + readSetting(keys::folder(folder)) +
               QStringLiteral("' ") + QStringLiteral("konnte nicht zugegriffen werden.");
    case err::CannotCreateObject: {
        const QString text =
            QStringLiteral("Es konnte keine Verbindung zu Microsoft Outlook hergestellt werden.") +
            QStringLiteral("\r\r") +
            QStringLiteral("Entweder ist die Installation fehlerhaft, oder es ist kein Profil für "
                           "den derzeit ") +
            QStringLiteral("\r") + QStringLiteral("angemeldeten Benutzer ") + QLatin1Char('"') +
            userName() + QLatin1Char('"') + QStringLiteral(" konfiguriert.");
        return text;
    }
    default:
        return e.description();
    }
}

// A build that was killed leaves its temporary index ("tlm<day>.idx.<pid>.new")
// and table ("tlm<day>.idx.tab.<pid>.new") and company file
// ("tlm<day>.zen.<pid>.new"); those of processes that no longer run are removed.
void removeAbandonedTemporaries(const QString& folder, const QString& pattern) {
    for (const QString& path : files::matching(folder, pattern + QStringLiteral(".*.new"))) {
        const QString name = QFileInfo(path).fileName();
        const QStringList parts = name.split(QLatin1Char('.'));
        bool ok = false;
        const qint64 pid =
            parts.size() == 4 || parts.size() == 5 ? parts[parts.size() - 2].toLongLong(&ok) : 0;
        if (ok && pid != QCoreApplication::applicationPid() && !processlock::isRunning(pid))
            files::remove(path);
    }
}

void IndexBuilder::start() {
    m_step = 60010;
    m_run.indexRecordsTotal = 0;
    const QString folder = m_run.env.workFolder;
    // Index files of other days and all index logs go; the index of the day
    // stays until the new one replaces it, so a lookup meanwhile still finds.
    const std::pair<QString, QString> kept[] = {{QStringLiteral("*.idx"), m_index},
                                                {companyFilePattern(), companyFilePath(m_index)},
                                                {indexTablePattern(), m_table}};
    for (const auto& [pattern, today] : kept)
        for (const QString& old : files::matching(folder, pattern))
            if (old != today)
                files::remove(old);
    for (const QString& old : files::matching(folder, QStringLiteral("tlm20*.log")))
        files::remove(old);
    m_indexLog = indexLogPath(m_index);
    m_temporary = m_index + QStringLiteral(".") +
                  QString::number(QCoreApplication::applicationPid()) + QStringLiteral(".new");
    removeAbandonedTemporaries(folder, indexFilePattern());
    removeAbandonedTemporaries(folder, companyFilePattern());
    files::remove(m_temporary);
    QString block = fncVersionText(m_run.env);
    block.replace(QLatin1Char('\r'), QStringLiteral("\r\n"));
    textfile::write(m_indexLog, block + QStringLiteral("\r\n\r\n") +
                                    QStringLiteral("Index generiert am ") +
                                    texts::dateTime(clock::now()) + QStringLiteral("\r\n\r\n"));
    m_mapi = outlook::attach()->GetNamespace(QStringLiteral("MAPI"));
}

FolderCounts IndexBuilder::indexFolder(const outlook::FolderPtr& folder) {
    const outlook::TablePtr table = folder->GetTable();
    const auto columns = table->Columns();
    columns->Add(QStringLiteral("Journal"));
    for (const PhoneField& f : PhoneFields)
        columns->Add(f.column.toString());
    table->MoveToStart();
    ++m_step;

    const QString ownCode = fncOwnCountryCode();
    FolderCounts counts;
    QByteArray records;
    records.reserve(WriteBlock + 4096);
    while (!table->EndOfTable()) {
        const outlook::RowPtr row = table->GetNextRow();
        ++counts.contacts;
        const QDateTime modified = row->Item(4).toDateTime();
        if (!counts.newest.isValid() || modified > counts.newest)
            counts.newest = modified;
        const QString entryId = row->Item(1).toString();
        const bool journal = row->Item(9).toBool();
        for (int c = 10; c <= 21; ++c) {
            QString number = row->Item(c).toString();
            if (number.isEmpty())
                continue;
            ++counts.numbers;
            const MainNumber kind = m_companies.kindOf(number, c - 9); // before it is normalised
            const QString dialling = fncNormNumber(number, ownCode);
            appendIndexRecord(records, dialling, entryId, c - 9, journal);
            m_companies.add(kind, dialling, entryId, c - 9, journal);
        }
        if (records.size() >= WriteBlock)
            writeRecords(records);
    }
    writeRecords(records);
    m_run.indexRecordsTotal += counts.numbers;
    return counts;
}

// Records go to the temporary index in blocks, so the index never lies in
// memory whole.
void IndexBuilder::writeRecords(QByteArray& records) {
    if (!fileio::append(m_temporary, records))
        fileio::raiseAccess();
    m_tableWriter.add(records);
    records.resize(0); // keeps the block's capacity
}

void IndexBuilder::logFolder(const outlook::FolderPtr& folder, const FolderCounts& counts) {
    ++m_step;
    const QString crlf = QStringLiteral("\r\n");
    textfile::append(
        m_indexLog,
        folder->Name() + crlf + QStringLiteral("  Ordnerpfad        : ") + folder->FolderPath() +
            crlf + QStringLiteral("  Kontakteinträge   : ") + QString::number(counts.contacts) +
            crlf + QStringLiteral("  Rufnummerneinträge: ") + QString::number(counts.numbers) +
            crlf + QStringLiteral("  Stand             : ") + dateTimeOrZero(counts.newest) + crlf +
            QStringLiteral("  EntryID: ") + folder->EntryID() + crlf +
            QStringLiteral("  StoreID: ") + folder->StoreID() + crlf + crlf);
    m_contacts += counts.contacts;
    m_result = true;
}

void IndexBuilder::indexDefaultFolder() {
    m_step = 60020;
    if (readSettingInt(keys::DefaultFolder, 0) != 1)
        return;
    m_step = 60100;
    outlook::FolderPtr folder;
    try {
        folder = m_mapi->GetDefaultFolder(outlook::olFolderContacts);
    } catch (const Error&) {
    }
    if (!folder)
        throw Error(DefaultFolderMissing, QStringLiteral("Der Standard-Kontakteordner fehlt."));
    m_step = 60101;
    const FolderCounts counts = indexFolder(folder);
    saveSetting(keys::DefaultFolderDate, dateTimeOrZero(counts.newest));
    logFolder(folder, counts);
}

void IndexBuilder::indexConfiguredFolders() {
    m_step = 60200;
    int count = 0;
    try {
        count = readSettingInt(keys::Folders);
    } catch (const Error& e) {
        fail(e.number(), e.description(), e.description());
    }
    for (int i = 1; i <= count; ++i) {
        m_step = 60201;
        const outlook::FolderPtr folder =
            FolderReference::parse(readSetting(keys::folderId(i))).resolve(m_mapi);
        if (!folder) {
            const Error e(ConfiguredFolderMissing,
                          QStringLiteral("Der Kontakteordner ist nicht erreichbar."));
            fail(e.number(), e.description(), message(e, i));
            return; // the remaining folders are not indexed
        }
        const FolderCounts counts = indexFolder(folder);
        saveSetting(keys::folderDate(i), dateTimeOrZero(counts.newest));
        logFolder(folder, counts);
    }
}

void IndexBuilder::finish() {
    m_step = 60205;
    const int seconds = static_cast<int>(m_started.secsTo(clock::now()));
    const QString crlf = QStringLiteral("\r\n");
    const QString elapsed = QStringLiteral("%1:%2")
                                .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
                                .arg(seconds % 60, 2, 10, QLatin1Char('0'));
    try {
        textfile::append(
            m_indexLog,
            crlf + QStringLiteral("Zusammenfassung") + crlf +
                QStringLiteral("  Kontakteinträge   : ") + QString::number(m_contacts) + crlf +
                QStringLiteral("  Rufnummerneinträge: ") +
                QString::number(m_run.indexRecordsTotal) + crlf +
                QStringLiteral("  Verarbeitungsdauer: ") + elapsed + QStringLiteral(" min:sek  (") +
                QString::number(seconds) + QStringLiteral(" Sekunde") +
                (seconds == 1 ? QString() : QStringLiteral("n")) + QLatin1Char(')') + crlf);
    } catch (const Error& e) {
        fail(e.number(), e.description(), e.description());
    }
    // The new index takes the place of the old one in one step, its company
    // file just before it; a build that indexed no folder leaves neither.
    if (m_result && files::exists(m_temporary)) {
        m_companies.place(m_temporary, m_tableWriter.checksum());
        putInPlace();
        if (!m_result)
            m_companies.remove();
    } else if (m_result) {
        files::remove(m_table);
        textfile::write(m_index, QString()); // folders without any number
        m_companies.place(m_index);
    } else {
        files::remove(m_table);
        files::remove(m_index);
        m_companies.remove();
    }
    files::remove(m_temporary);
    files::remove(m_companies.temporary());
    m_mapi.reset();
}

namespace {
bool renameFile(const QString& from, const QString& to) {
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}
} // namespace

// The table goes into place first: until the index follows, the table does
// not fit the index there and lookups scan it. Without a table (one that
// could not be written) lookups scan the new index.
void IndexBuilder::putInPlace() {
    const QString tableTemporary = m_table + m_temporary.mid(m_index.size());
    if (!m_tableWriter.write(m_temporary, tableTemporary) ||
        !renameFile(tableTemporary, m_table))
        files::remove(m_table);
    files::remove(tableTemporary);
    if (!renameFile(m_temporary, m_index)) {
        fail(err::FileAccess, QStringLiteral("Fehler beim Zugriff auf Pfad/Datei"),
             QStringLiteral("Fehler beim Zugriff auf Pfad/Datei"));
        files::remove(m_table);
        m_result = false;
    }
}

bool IndexBuilder::build(bool showProgress) {
    m_started = clock::now();
    std::unique_ptr<IndexProgress> progress;
    if (showProgress && progressFactory())
        progress = progressFactory()();
    try {
        start();
        try {
            indexDefaultFolder();
        } catch (const Error& e) {
            fail(e.number(), e.description(), message(e, 0));
        }
        indexConfiguredFolders();
    } catch (const Error& e) {
        fail(e.number(), e.description(), message(e, 0));
        if (e.number() == err::CannotCreateObject)
            msgbox::show(message(e, 0), msgbox::Buttons::Ok, msgbox::Icon::Critical,
                         productName + QStringLiteral(" - Outlook-Fehler") + titleTimeStamp());
        m_result = false;
    }
    finish();
    return m_result;
}
} // namespace

void setIndexProgressFactory(IndexProgressFactory factory) {
    progressFactory() = std::move(factory);
}

QString indexLogPath(const QString& indexFile) {
    return indexFile.left(indexFile.size() - 3) + QStringLiteral("log");
}

bool subCreateFileIndex(Run& run, bool showProgress) {
    IndexBuilder builder(run);
    return builder.build(showProgress);
}

} // namespace tlm

namespace tlm {
namespace {

FoundContact foundContact(const outlook::ItemPtr& contact, int field, bool viewCompany) {
    const QString name = contact->get(QStringLiteral("LastNameAndFirstName")).toString();
    const QString company = contact->get(QStringLiteral("CompanyName")).toString();
    QString display = company;
    if (!name.isEmpty()) {
        display = name;
        if (!company.isEmpty() && viewCompany)
            display += QStringLiteral(" (") + company + QLatin1Char(')');
    }
    const bool journal = contact->get(QStringLiteral("Journal")).toBool();
    return {display.left(MaxFoundDisplayWidth).trimmed(), field, journal, contact->EntryID()};
}
} // namespace

QList<outlook::FolderPtr> indexedContactFolders(const outlook::NamespacePtr& mapi) {
    QList<outlook::FolderPtr> folders;
    if (readSettingInt(keys::DefaultFolder, 0) == 1)
        ignoreErrors([&] { folders << mapi->GetDefaultFolder(outlook::olFolderContacts); });
    const int count = readSettingInt(keys::Folders, 0);
    for (int i = 1; i <= count; ++i) {
        const outlook::FolderPtr folder =
            FolderReference::parse(readSetting(keys::folderId(i))).resolve(mapi);
        if (!folder)
            break;
        folders << folder;
    }
    folders.removeAll(nullptr);
    return folders;
}

void subIndexLookup(Run& run) {
    const bool viewCompany = readSettingInt(keys::ViewCompanyname, 0) == 1;
    Lookup& found = run.lookup;
    const auto take = [&](const QList<IndexMatch>& matches) {
        for (const IndexMatch& m : matches) {
            ignoreErrors([&] {
                const outlook::ItemPtr contact = run.mapi->GetItemFromID(m.entryId);
                if (!contact)
                    return;
                FoundContact entry = foundContact(contact, m.field, viewCompany);
                found.currentContact = contact;
                ++found.foundCount;
                found.matchedField = m.field;
                found.found.append(std::move(entry));
            });
        }
    };
    take(lookupIndex(run.env.indexFile, run.params[P_NUMBER]));
    if (found.foundCount == 0)
        lookUpByMainNumber(run, take);
}

} // namespace tlm
