// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/folderchoice.h"

#include "core/folderreference.h"
#include "core/log.h"
#include "outlook/application.h"
#include "outlook/folder.h"
#include "platform/messagebox.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace tlm::folderchoice {
namespace {

Picker& currentPicker() {
    static Picker picker;
    return picker;
}

QString lines(const QStringList& list) {
    return list.join(u'\r');
}

} // namespace

QString listLine(const QString& name, const QString& entryId, const QString& storeId) {
    return fitted(name, NameWidth) + u'|' + entryId + u'|' + storeId;
}

QString lineName(const QString& line) {
    return line.left(NameWidth).trimmed();
}

QString lineReference(const QString& line) {
    return line.mid(NameWidth + 1);
}

const KindInfo& info(Kind kind) {
    static const KindInfo kinds[] = {
        {outlook::olContactItem, outlook::olFolderContacts, u"<persönliche Kontakte>"_s,
         u"Dieser Ordner ist kein Kontakteordner."_s, keys::FolderNewContact},
        {outlook::olJournalItem, outlook::olFolderJournal, u"<persönliches Journal>"_s,
         u"Dieser Ordner ist kein Journalordner."_s, keys::FolderJournal},
        {outlook::olAppointmentItem, outlook::olFolderCalendar, u"<persönlicher Kalender>"_s,
         u"Dieser Ordner ist kein Kalenderordner."_s, keys::FolderCalendar}};
    return kinds[static_cast<int>(kind)];
}

BoxContent boxContent(const outlook::NamespacePtr& mapi, const QString& reference, Kind kind) {
    const BoxContent fallback{info(kind).defaultText, QString(), QString()};
    if (reference.isEmpty() || !mapi)
        return fallback;
    const outlook::FolderPtr folder = FolderReference::parse(reference).resolve(mapi);
    if (!folder)
        return fallback;
    return {folder->Name(), reference, folder->FolderPath()};
}

bool isDefault(const outlook::NamespacePtr& mapi, const outlook::FolderPtr& folder, Kind kind) {
    const outlook::FolderPtr standard = mapi->GetDefaultFolder(info(kind).defaultFolder);
    return standard && standard->EntryID() == folder->EntryID();
}

BoxContent pickedContent(const outlook::NamespacePtr& mapi, const outlook::FolderPtr& folder,
                         Kind kind) {
    if (isDefault(mapi, folder, kind))
        return {info(kind).defaultText, QString(), QString()};
    return {folder->Name(), folder->EntryID() + u'|' + folder->StoreID(), folder->FolderPath()};
}

void setPicker(Picker picker) {
    currentPicker() = std::move(picker);
}

outlook::FolderPtr pick(const outlook::NamespacePtr& mapi) {
    if (currentPicker())
        return currentPicker()(mapi);
    return mapi->PickFolder();
}

outlook::FolderPtr pickOf(const outlook::NamespacePtr& mapi, Kind kind) {
    const outlook::FolderPtr folder = pick(mapi);
    if (!folder || folder->DefaultItemType() == info(kind).itemType)
        return folder;
    msgbox::show(info(kind).wrongType, msgbox::Buttons::Ok, msgbox::Icon::Information,
                 u"Tellmarin - Falscher Ordnertyp"_s);
    return nullptr;
}

QString listFolderMissing(const QString& name, long number, const QString& description) {
    return lines({u"Der Kontaktordner »"_s + name + u"« wurde nicht gefunden."_s, QString(),
                  u"Gründe hierfür können sein:"_s, u"- der Ordner wurde gelöscht."_s,
                  u"- der Ordner wurde in einen anderen Informationsspeicher verschoben"_s,
                  u"- Sie haben keinen Zugriff auf den Ordner."_s,
                  u"- Im Exchange Server-Betrieb (Cache-Modus) kann es Synchronisierungsprobleme "
                  u"geben."_s,
                  QString(), u"Der Ordnerverweis sollte entfernt werden."_s, QString(),
                  QString::number(number) + u':' + description});
}

QString contactFolderMissing() {
    return lines({u"Der Kontaktordner wurde nicht gefunden."_s, QString(),
                  u"Gründe hierfür können sein:"_s, u"- der Ordner wurde gelöscht."_s,
                  u"- der Ordner wurde in einen anderen Informationsspeicher verschoben"_s,
                  u"- Sie haben keinen Zugriff (mehr) auf den Ordner."_s,
                  u"- in einer Exchange Umgebung (Cache-Modus) kann es Synchronisierungsprobleme "
                  u"geben."_s,
                  QString(), u"Der Ordnerverweis sollte aktualisiert werden!"_s});
}

QString journalFolderMissing(long number, const QString& description) {
    return lines({u"Der Journalordner wurde nicht gefunden."_s, QString(),
                  u"Gründe hierfür können sein:"_s, u"- der Ordner wurde gelöscht."_s,
                  u"- der Ordner wurde in einen anderen Informationsspeicher verschoben"_s,
                  u"- Sie haben keinen Zugriff (mehr) auf den Ordner."_s,
                  u"- Im Exchange Server-Betrieb (Cache-Modus) kann es Synchronisierungsprobleme "
                  u"geben."_s,
                  QString(), u"Der Ordnerweise sollte entfernt und u. U. neu angelegt werden."_s,
                  QString(), QString::number(number) + u':' + description});
}

} // namespace tlm::folderchoice
