// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// The vCard commands of tellmarin-pim: contact records to and from items.
#include "formats/contactitem.h"
#include "formats/formaterror.h"
#include "formats/vcard.h"
#include "pimtool/toolcommands.h"

#include "platform/error.h"

#include <QFile>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace tlm::pim::tool {

void importVcard(const Invocation& call) {
    const QString file = call.args.first();
    QFile input(file);
    openInput(input);
    Store store = openStore(call, Store::Create::Never);
    const FolderInfo folder =
        folderArg(store, call.option(u"folder"_s), pim::defaultfolder::Contacts);
    if (folder.kind != FolderKind::Contact)
        throw Error(err::InvalidArgument, u"Kein Kontakte-Ordner: "_s + folder.folderPath);
    // Each contact is stored as it is read, in one transaction: a large file
    // never lies in memory as contacts, and a bad one changes nothing.
    QStringList warnings;
    int count = 0;
    store.transaction([&] {
        vcard::read(
            input, file,
            [&](vcard::Contact&& contact, int line) {
                const ItemRecord item = vcard::toItem(contact, inputPlace(file, line), warnings);
                try {
                    store.addItem(folder.entryId, item);
                } catch (const Error& e) {
                    throw FormatError(file, line, e.description());
                }
                ++count;
            },
            warnings);
    });
    for (const QString& w : std::as_const(warnings))
        *call.err << "Warnung: " << w << '\n';
    *call.out << count << " Kontakte eingelesen nach " << folder.folderPath << '\n';
}

void exportVcard(const Invocation& call) {
    const QString version = call.options.value(u"vcard-version"_s, u"3"_s);
    if (version != u"3"_s && version != u"3.0"_s && version != u"4"_s && version != u"4.0"_s)
        throw UsageError{u"--vcard-version erwartet 3 oder 4"_s};
    const Store store = openStore(call, Store::Create::Never);
    const FolderInfo folder =
        folderArg(store, call.option(u"folder"_s), pim::defaultfolder::Contacts);
    QList<vcard::Contact> contacts;
    for (const ItemRecord& item : store.items(folder.entryId))
        if (item.messageClass.startsWith(u"IPM.Contact"_s, Qt::CaseInsensitive))
            contacts << vcard::toContact(item);
    const QString file = call.args.first();
    writeOutput(
        file,
        vcard::write(contacts, version.startsWith(u'4') ? vcard::Version::V4 : vcard::Version::V3),
        *call.out);
    if (file != u"-"_s)
        *call.out << contacts.size() << " Kontakte geschrieben nach " << file << '\n';
}

} // namespace tlm::pim::tool
