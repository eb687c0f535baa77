// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz/harness.h"

#include "fuzz/indextable.h"
#include "config/settingsbackup.h"
#include "core/callfile.h"
#include "core/log.h"
#include "core/params.h"
#include "formats/json.h"
#include "formats/vcard.h"
#include "numbers/indexfile.h"
#include "outlook/application.h"
#include "platform/error.h"
#include "platform/initext.h"
#include "platform/registry.h"
#include "store/filter.h"
#include "store/pimstore.h"
#include "store/properties.h"
#include "store/storeimpl.h"
#include "sync/itemcodec.h"
#include "sync/multistatus.h"
#include "sync/syncerror.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>

using namespace Qt::StringLiterals;

namespace tlm::fuzz {
namespace {
QString& scratch() {
    static QString folder;
    return folder;
}

QString fileWith(const QString& name, QByteArrayView input) {
    const QString path = scratch() + name;
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(input.data(), input.size());
    return path;
}

QString text(QByteArrayView input) {
    return QString::fromUtf8(input.data(), input.size());
}

template <typename F> void refusable(const F& read) {
    try {
        read();
    } catch (const Error&) {
        // a clear refusal of a bad input
    }
}

void commandLine(QByteArrayView input) {
    const QString line = text(input);
    Params params;
    Log log(scratch(), 0, &params);
    refusable([&] { subC2P(line, params, log, u"Tellmarin"_s, scratch(), scratch()); });
    rawCommandLine(line.split(QChar(u'\n')));
}

void iniText(QByteArrayView input) {
    const QByteArray content = input.toByteArray();
    ini::text::find(content, u"Tellmarin"_s, u"Folders"_s);
    ini::text::find(content, u"Call"_s, u"Start"_s, ini::text::ValueForm::Exact);
    const QByteArray changed = ini::text::withValue(content, u"Call"_s, u"Start"_s, u"x"_s);
    ini::text::find(changed, u"Call"_s, u"Start"_s);
    ini::text::withBlankLine(content);
}

void callFile(QByteArrayView input) {
    const QString file = fileWith(u"fuzz.call"_s, input);
    refusable([&] {
        fncIniRead(file, u"Call"_s, u"CallID"_s);
        fncIniRead(file, u"Timestamps"_s, u"called"_s);
        subIniWrite(file, u"Timestamps"_s, u"connect"_s, u"2026-12-07 10:00:00"_s);
        fncIniRead(file, u"Timestamps"_s, u"connect"_s);
    });
}

void registryView(QByteArrayView input) {
    refusable([&] {
        const registry::View view = registry::View::parse(input.toByteArray(), u"fuzz.reg"_s);
        view.value(registry::Root::CurrentUser,
                   u"Software\\Microsoft\\Office\\16.0\\Outlook\\Options\\Calendar"_s,
                   u"CalDefStart"_s);
        view.hasKey(registry::Root::LocalMachine, u"Software\\Microsoft"_s);
    });
}

// The first line is the number looked up, the rest the index file.
void indexFile(QByteArrayView input) {
    const qsizetype end = input.indexOf('\n');
    const QString number = text(end < 0 ? input : input.first(end));
    const QString file =
        fileWith(u"tlm20261207.idx"_s, end < 0 ? QByteArrayView() : input.sliced(end + 1));
    scanIndex(file, number);
}

// The lookup table beside a small index (fuzz/indextable.cpp).
void indexTableFile(QByteArrayView input) {
    indexTable(scratch(), input);
}

void vcard(QByteArrayView input) {
    refusable([&] { pim::vcard::read(input.toByteArray(), u"fuzz.vcf"_s); });
}

void json(QByteArrayView input) {
    static std::unique_ptr<pim::Store> store;
    const QString path = scratch() + u"fuzz.sqlite"_s;
    if (!store)
        store = std::make_unique<pim::Store>(path, pim::Store::Create::Empty);
    try {
        pim::json::load(*store, input.toByteArray(), u"fuzz.json"_s);
    } catch (const Error&) {
        return;
    }
    // A document that loaded fills the store: the next input needs an empty one.
    store.reset();
    for (const QString& suffix : {QString(), u"-wal"_s, u"-shm"_s})
        QFile::remove(path + suffix);
}

// A contact that the filters are matched against.
const pim::RawRow& sampleContact() {
    static pim::RawRow row = [] {
        pim::Store store(scratch() + u"filter.sqlite"_s);
        const QString folder = store.defaultFolder(outlook::olFolderContacts).entryId;
        pim::ItemRecord r;
        r.properties = {{u"FirstName"_s, u"Thomas"_s},
                        {u"LastName"_s, u"Becker"_s},
                        {u"CompanyName"_s, u"Becker Haustechnik"_s},
                        {u"BusinessTelephoneNumber"_s, u"+49 30 12345678"_s},
                        {u"Journal"_s, true}};
        r.userProperties = {{u"Kundennummer"_s, u"4711"_s}};
        store.addItem(folder, r);
        return store.impl().scan(folder, true).value(0);
    }();
    return row;
}

void filter(const QString& expression) {
    const pim::RawRow& row = sampleContact();
    refusable([&] {
        const pim::Filter f = pim::Filter::parse(expression, pim::kindBitOf(u"IPM.Contact"_s));
        f.matches(pim::RowSource(row));
    });
}

void jetFilter(QByteArrayView input) {
    filter(text(input));
}

void daslFilter(QByteArrayView input) {
    filter(u"@SQL="_s + text(input));
}

// The restore's keys merged into a settings file in one pass must give
// the same text as setting them one at a time.
void restoreFile(QByteArrayView input) {
    const QString file = fileWith(u"Tellmarin_all.ini"_s, input);
    refusable([&] {
        const backup::RestoreFile restored = backup::readRestoreFile(file);
        const QByteArray settings = "; Einstellungen\r\n[Tellmarin]\r\nDebug=0\r\nMAPS = 1\r\n\r\n"
                                    "[Andere]\r\nDebug=2\r\n[tellmarin]\r\nFolders=1";
        const QByteArray merged = ini::text::withValues(settings, u"Tellmarin"_s, restored.entries);
        if (restored.entries.size() > 64)
            return;
        QByteArray stepwise = settings;
        for (const ini::text::KeyValue& pair : restored.entries)
            stepwise = ini::text::withValue(stepwise, u"Tellmarin"_s, pair.key.toString(),
                                            pair.value.toString());
        if (merged != stepwise)
            std::abort();
    });
}

// A server's answer to a PROPFIND or REPORT; a bad one is refused with
// SyncError.
void davAnswer(QByteArrayView input) {
    try {
        (void)sync::parseMultistatus(input.toByteArray());
    } catch (const sync::SyncError&) {
    }
}

// A contact card as a server hands it over, with the program's own X-
// properties read back into the item.
void serverCard(QByteArrayView input) {
    const sync::ItemCodec contacts({}, false, {});
    try {
        const sync::Decoded decoded = contacts.decode(input.toByteArray());
        (void)contacts.encode(decoded.record, decoded.uid, input.toByteArray());
    } catch (const sync::SyncError&) {
    }
}

constexpr std::array<Target, 13> Targets{{
    {"commandline", &commandLine},
    {"ini", &iniText},
    {"callfile", &callFile},
    {"registry", &registryView},
    {"index", &indexFile},
    {"indextable", &indexTableFile},
    {"vcard", &vcard},
    {"json", &json},
    {"jet", &jetFilter},
    {"dasl", &daslFilter},
    {"restore", &restoreFile},
    {"davanswer", &davAnswer},
    {"servercard", &serverCard},
}};
} // namespace

std::span<const Target> targets() {
    return Targets;
}

const Target* target(const char* name) {
    for (const Target& t : Targets)
        if (std::strcmp(t.name, name) == 0)
            return &t;
    return nullptr;
}

void initialise(bool keepEnvironment) {
    static QTemporaryDir folder;
    scratch() = folder.path() + u'/';
    if (!keepEnvironment) {
        qputenv("TEMP", folder.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (folder.path() + u"/config"_s).toUtf8());
        qputenv("XDG_DATA_HOME", (folder.path() + u"/data"_s).toUtf8());
        qputenv("TELLMARIN_PIM", (folder.path() + u"/pim.sqlite"_s).toUtf8());
    }
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char name[] = "tellmarin-fuzz";
        static char* argv[] = {name, nullptr};
        new QCoreApplication(argc, argv);
    }
}

} // namespace tlm::fuzz
