// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every settings key of the program (named in settingkeys.h) with its type and
// both defaults (the one used while a call is handled, the one the options
// windows show), the readers and the writer that take a named key, and the
// values that start-up step 3 loads for the run.
#include "core/settingkeys.h"
#include "platform/settingnumber.h"

#include <QString>
#include <optional>
#include <span>
#include <variant>

namespace tlm {

class Log;
struct Environment;

struct Settings {
    int InContact = 0;
    int OutContact = 0;
    int Internal = 0;
    int AutoChoice = 0;
    QString FolderNewContact;
    int NewContactType = 0;
    QString ModeCalendarJournal;
    int InJournal = 0;
    int OutJournal = 0;
    int JournalContact = 0;
    QString FolderJournal;
    QString FolderCalendar;
    int JournalCategory = 0;
    int Callback = 0;
    int BusyStatus = 0;
    int DisplayPosContact = 0;
    int DisplayPosJournal = 0;
    int ContactCallEnd = 0;
    int JournalCallEnd = 0;
    QString AddressSeparator;
    QString MailFont;
    int MailFontSize = 0;
    int MailTabStop1 = 0;
    int MailTabStop2 = 0;
    QString URLHandler;
    QString Maps;
    int LogDays = 0;

    // The tab stops in points (centimetres x 28.34646, rounded).
    int tabStop1Points = 0;
    int tabStop2Points = 0;
};

enum class KeyType { Integer, Text, FolderReference, Colour, DateText, Untyped };

struct SettingKey {
    int id;               // its keys::Key or keys::Stem: the table's order
    const char16_t* name; // for numbered keys the stem ("FolderID" of FolderID1, ...)
    KeyType type;
    const char16_t* callDefault;    // nullptr: no default while handling a call
    const char16_t* optionsDefault; // nullptr: none in the options windows
    std::variant<std::monostate, int Settings::*, QString Settings::*> step3;
    bool numbered = false; // stem followed by a folder number
};

// The whole key table, in the order of keys::Key and then keys::Stem.
std::span<const SettingKey> settingKeys();
// The entry of a key as stored (any case; FolderID7 finds FolderID), or null.
const SettingKey* findSettingKey(const QString& name);

// Reads a key as text with its call-processing default.
QString readSetting(const KeyName& key);
// Reads a key as a 32-bit integer with its call-processing default; raises
// tlm::Error 13 for a value that is not a number and 6 for one out of range.
int readSettingInt(const KeyName& key);
// The same, with fallback for a value that is not a number.
int readSettingInt(const KeyName& key, int fallback);
void saveSetting(const KeyName& key, const QString& value);

// The same readers with the defaults that the options windows show.
QString readOption(const KeyName& key);
int readOptionInt(const KeyName& key);

// A decimal number typed by the user (blanks around it, "," or "." as
// decimal point); nullopt for other text.
std::optional<double> decimalOf(const QString& text);

// Start-up step 3: loads the step-3 keys, writes back the corrected ones,
// detects Outlook and reads the screens.
void subReadSettings(Settings& settings, Environment& env, Log& log);

} // namespace tlm
