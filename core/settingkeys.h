// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The names of the settings keys. Every reader and writer of a setting names
// its key here; the key table (settings.cpp) gives each its text, type and
// defaults in the same order, so a key that is not in the table cannot be
// read or written.
#include <QString>

namespace tlm {

struct SettingKey;

namespace keys {

enum Key : int {
    InContact,
    OutContact,
    Internal,
    AutoChoice,
    AutoChoiceJournalCallEnd,
    FolderNewContact,
    NewContactType,
    ModeCalendarJournal,
    InJournal,
    OutJournal,
    JournalContact,
    FolderJournal,
    FolderCalendar,
    JournalCategory,
    Callback,
    BusyStatus,
    DisplayPosContact,
    DisplayPosJournal,
    ContactCallEnd,
    JournalCallEnd,
    AddressSeparator,
    MailFont,
    MailFontSize,
    MailTabStop1,
    MailTabStop2,
    URLHandler,
    Maps,
    LogDays,
    Debug,
    Refresh,
    DefaultFolder,
    Folders,
    DefaultFolderDate,
    ViewCompanyname,
    ColorBack,
    ColorBackFont,
    ColorDefault,
    ColorFont,
    ContactJournal,
    Mailaddressee,
    WindowOffsetIndexX,
    WindowOffsetIndexY,
    olUser1,
    olUser2,
    olUser3,
    olUser4,
    olUser1Link,
    olUser2Link,
    olUser3Link,
    olUser4Link,
    olUser1Print,
    olUser2Print,
    olUser3Print,
    olUser4Print,
    AutoChoiceCallEnd,
    StopWatch,
    ClientDashboard,
    ProgramPath,
    LastRun,
    Monitor1X,
    Monitor1Y,
    Monitor2X,
    Monitor2Y,
    CompanyFallback,
    KeyCount
};

// Keys of one per configured folder: the stem followed by the folder's
// number (FolderID1, FolderID2, ...).
enum Stem : int { FolderID = KeyCount, Folder, FolderDate, StemEnd };

} // namespace keys

// A key as the settings store spells it, with its entry in the key table.
// Made only from a named key or by the numbered-key functions below.
class KeyName {
public:
    KeyName(keys::Key key); // NOLINT(google-explicit-constructor): every key reads as its name
    const QString& text() const { return m_text; }
    const SettingKey& entry() const { return *m_entry; }

private:
    KeyName(const SettingKey& entry, QString text);
    friend KeyName numberedKey(keys::Stem stem, int number);

    const SettingKey* m_entry;
    QString m_text;
};

KeyName numberedKey(keys::Stem stem, int number);

namespace keys {
// The configured folders of the index, counted from 1.
inline KeyName folder(int n) {
    return numberedKey(Folder, n);
}
inline KeyName folderId(int n) {
    return numberedKey(FolderID, n);
}
inline KeyName folderDate(int n) {
    return numberedKey(FolderDate, n);
}
// The four user fields (n = 1 .. 4): caption, link flag and print flag.
Key userField(int n);
Key userFieldLink(int n);
Key userFieldPrint(int n);
// The size of a monitor (n = 1: the further one, 2: the primary one).
Key monitorWidth(int n);
Key monitorHeight(int n);
} // namespace keys

} // namespace tlm
