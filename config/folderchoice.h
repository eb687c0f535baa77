// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Outlook folders that the options window lets the user choose: the
// further contact folders of the index (one list line each), the folder for
// new contacts, and the folder for journal entries or appointments. A line
// is the display name padded to 130 characters, "|", the EntryID, "|", the
// StoreID; a folder reference is EntryID "|" StoreID.
#include "core/settingkeys.h"
#include "outlook/fwd.h"

#include <QString>
#include <functional>

namespace tlm::folderchoice {

constexpr int NameWidth = 130;

QString listLine(const QString& name, const QString& entryId, const QString& storeId);
QString lineName(const QString& line);      // the first 130 characters, trimmed
QString lineReference(const QString& line); // from character 132 on

// The kinds of folder a box holds, with what belongs to each.
enum class Kind { Contacts, Journal, Calendar };
struct KindInfo {
    int itemType;      // DefaultItemType of a right folder
    int defaultFolder; // GetDefaultFolder number
    QString defaultText;
    QString wrongType;  // message for a folder of another kind
    keys::Key settingKey; // where the box's reference is kept
};
const KindInfo& info(Kind kind);

// What a folder box shows for a reference: the default text for an empty one
// or one that no longer resolves (then with an empty reference), else the
// folder's name with its path as tool tip.
struct BoxContent {
    QString text;
    QString reference;
    QString toolTip;
};
BoxContent boxContent(const outlook::NamespacePtr& mapi, const QString& reference, Kind kind);
// The box after a folder was picked (the default folder shows as empty).
BoxContent pickedContent(const outlook::NamespacePtr& mapi, const outlook::FolderPtr& folder,
                         Kind kind);

// True when folder is the user's default folder of the kind.
bool isDefault(const outlook::NamespacePtr& mapi, const outlook::FolderPtr& folder, Kind kind);

// Lets the user choose a folder (the store's PickFolder); replaceable for
// tests. Null when nothing was chosen.
using Picker = std::function<outlook::FolderPtr(const outlook::NamespacePtr&)>;
void setPicker(Picker picker);
outlook::FolderPtr pick(const outlook::NamespacePtr& mapi);
// A folder of the kind chosen by the user; one of another kind is refused
// with the wrong-type message. Null when none was taken.
outlook::FolderPtr pickOf(const outlook::NamespacePtr& mapi, Kind kind);

// The messages of a folder that cannot be found, lines joined by CR.
QString listFolderMissing(const QString& name, long number, const QString& description);
QString contactFolderMissing();
QString journalFolderMissing(long number, const QString& description);

} // namespace tlm::folderchoice
