// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings.h"

#include "core/environment.h"
#include "core/log.h"
#include "platform/designcolours.h"
#include "platform/error.h"
#include "platform/settingsstore.h"

#include <QSet>
#include <QtMath>

namespace tlm {
namespace {
using S = Settings;
using K = KeyType;
constexpr double PointsPerCentimetre = 28.34646;

// clang-format off
constexpr SettingKey keyTable[] = {
    {keys::InContact, u"InContact", K::Integer, u"0", u"1", &S::InContact},
    {keys::OutContact, u"OutContact", K::Integer, u"0", u"0", &S::OutContact},
    {keys::Internal, u"Internal", K::Integer, u"0", u"0", &S::Internal},
    {keys::AutoChoice, u"AutoChoice", K::Integer, u"10", u"10", &S::AutoChoice},
    {keys::AutoChoiceJournalCallEnd, u"AutoChoiceJournalCallEnd", K::Integer, u"10", u"10", {}},
    {keys::FolderNewContact, u"FolderNewContact", K::FolderReference, u"", u"", &S::FolderNewContact},
    {keys::NewContactType, u"NewContactType", K::Integer, u"0", u"0", &S::NewContactType},
    {keys::ModeCalendarJournal, u"ModeCalendarJournal", K::Text, u"Journal", u"Journal", &S::ModeCalendarJournal},
    {keys::InJournal, u"InJournal", K::Integer, u"0", u"1", &S::InJournal},
    {keys::OutJournal, u"OutJournal", K::Integer, u"0", u"0", &S::OutJournal},
    {keys::JournalContact, u"JournalContact", K::Integer, u"0", u"0", &S::JournalContact},
    {keys::FolderJournal, u"FolderJournal", K::FolderReference, u"", u"", &S::FolderJournal},
    {keys::FolderCalendar, u"FolderCalendar", K::FolderReference, u"", u"", &S::FolderCalendar},
    {keys::JournalCategory, u"JournalCategory", K::Integer, u"0", u"0", &S::JournalCategory},
    {keys::Callback, u"Callback", K::Integer, u"1", u"1", &S::Callback},
    {keys::BusyStatus, u"BusyStatus", K::Integer, u"0", u"0", &S::BusyStatus},
    {keys::DisplayPosContact, u"DisplayPosContact", K::Integer, u"0", u"0", &S::DisplayPosContact},
    {keys::DisplayPosJournal, u"DisplayPosJournal", K::Integer, u"0", u"0", &S::DisplayPosJournal},
    {keys::ContactCallEnd, u"ContactCallEnd", K::Integer, u"0", u"2", &S::ContactCallEnd},
    {keys::JournalCallEnd, u"JournalCallEnd", K::Integer, u"0", u"2", &S::JournalCallEnd},
    {keys::AddressSeparator, u"AddressSeparator", K::Text, u",", u",", &S::AddressSeparator},
    {keys::MailFont, u"MailFont", K::Text, u"Calibri", u"Calibri", &S::MailFont},
    {keys::MailFontSize, u"MailFontSize", K::Integer, u"11", u"11", &S::MailFontSize},
    {keys::MailTabStop1, u"MailTabStop1", K::Integer, u"3", u"3", &S::MailTabStop1},
    {keys::MailTabStop2, u"MailTabStop2", K::Integer, u"8", u"8", &S::MailTabStop2},
    {keys::URLHandler, u"URLHandler", K::Text, u"tel://", u"tel://", &S::URLHandler},
    {keys::Maps, u"Maps", K::Text, u"0", u"1", &S::Maps},
    {keys::LogDays, u"LogDays", K::Integer, u"14", u"30", &S::LogDays},
    {keys::Debug, u"Debug", K::Integer, u"0", u"0", {}},
    {keys::Refresh, u"Refresh", K::Integer, u"0", u"0", {}},
    {keys::DefaultFolder, u"DefaultFolder", K::Integer, u"", u"1", {}},
    {keys::Folders, u"Folders", K::Integer, u"0", u"0", {}},
    {keys::DefaultFolderDate, u"DefaultFolderDate", K::DateText, nullptr, nullptr, {}},
    {keys::ViewCompanyname, u"ViewCompanyname", K::Integer, u"", u"0", {}},
    {keys::ColorBack, design::ColorBack.key, K::Colour, design::ColorBack.fallback, design::ColorBack.fallback, {}},
    {keys::ColorBackFont, design::ColorBackFont.key, K::Colour, design::ColorBackFont.fallback, design::ColorBackFont.fallback, {}},
    {keys::ColorDefault, design::ColorDefault.key, K::Colour, design::ColorDefault.fallback, design::ColorDefault.fallback, {}},
    {keys::ColorFont, design::ColorFont.key, K::Colour, design::ColorFont.fallback, design::ColorFont.fallback, {}},
    {keys::ContactJournal, u"ContactJournal", K::Integer, u"1", u"0", {}},
    {keys::Mailaddressee, u"Mailaddressee", K::Text, u"", u"", {}},
    {keys::WindowOffsetIndexX, u"WindowOffsetIndexX", K::Integer, u"0", u"0", {}},
    {keys::WindowOffsetIndexY, u"WindowOffsetIndexY", K::Integer, u"0", u"0", {}},
    {keys::olUser1, u"olUser1", K::Text, u"", u"", {}},
    {keys::olUser2, u"olUser2", K::Text, u"", u"", {}},
    {keys::olUser3, u"olUser3", K::Text, u"", u"", {}},
    {keys::olUser4, u"olUser4", K::Text, u"", u"", {}},
    {keys::olUser1Link, u"olUser1Link", K::Text, u"", u"0", {}},
    {keys::olUser2Link, u"olUser2Link", K::Text, u"", u"0", {}},
    {keys::olUser3Link, u"olUser3Link", K::Text, u"", u"0", {}},
    {keys::olUser4Link, u"olUser4Link", K::Text, u"", u"0", {}},
    {keys::olUser1Print, u"olUser1Print", K::Integer, u"0", u"0", {}},
    {keys::olUser2Print, u"olUser2Print", K::Integer, u"0", u"0", {}},
    {keys::olUser3Print, u"olUser3Print", K::Integer, u"0", u"0", {}},
    {keys::olUser4Print, u"olUser4Print", K::Integer, u"0", u"0", {}},
    {keys::AutoChoiceCallEnd, u"AutoChoiceCallEnd", K::Untyped, nullptr, nullptr, {}},
    {keys::StopWatch, u"StopWatch", K::Untyped, nullptr, nullptr, {}},
    {keys::ClientDashboard, u"ClientDashboard", K::Text, nullptr, u"", {}},
    {keys::ProgramPath, u"ProgramPath", K::Text, nullptr, nullptr, {}},
    {keys::LastRun, u"LastRun", K::DateText, nullptr, nullptr, {}},
    {keys::Monitor1X, u"Monitor1X", K::Integer, nullptr, nullptr, {}},
    {keys::Monitor1Y, u"Monitor1Y", K::Integer, nullptr, nullptr, {}},
    {keys::Monitor2X, u"Monitor2X", K::Integer, nullptr, nullptr, {}},
    {keys::Monitor2Y, u"Monitor2Y", K::Integer, nullptr, nullptr, {}},
    {keys::CompanyFallback, u"CompanyFallback", K::Integer, u"0", u"0", {}},
    // numbered keys
    {keys::FolderID, u"FolderID", K::FolderReference, u"", u"", {}, true},
    {keys::Folder, u"Folder", K::Text, u"", u"", {}, true},
    {keys::FolderDate, u"FolderDate", K::DateText, nullptr, nullptr, {}, true},
};
// clang-format on

constexpr bool inKeyOrder() {
    int id = 0;
    for (const SettingKey& k : keyTable)
        if (k.id != id++)
            return false;
    return id == keys::StemEnd;
}
static_assert(inKeyOrder(), "the key table lists every key once, in the order of its names");

QString text(const char16_t* s) {
    return s ? QString::fromUtf16(s) : QString();
}

// A numbered key's stem: "FolderID12" -> "FolderID"; other names unchanged.
QString stemOf(const QString& name) {
    qsizetype end = name.size();
    while (end > 0 && name.at(end - 1).isDigit())
        --end;
    return name.left(end);
}

int clampedOr(int value, int low, int high, int fallback) {
    return value < low || value > high ? fallback : value;
}
} // namespace

std::span<const SettingKey> settingKeys() {
    return keyTable;
}

const SettingKey* findSettingKey(const QString& name) {
    const QString stem = stemOf(name);
    for (const SettingKey& k : settingKeys()) {
        const QString keyName = text(k.name);
        if (k.numbered ? (stem.compare(keyName, Qt::CaseInsensitive) == 0 && stem != name)
                       : name.compare(keyName, Qt::CaseInsensitive) == 0)
            return &k;
    }
    return nullptr;
}

KeyName::KeyName(keys::Key key) : KeyName(keyTable[key], QString::fromUtf16(keyTable[key].name)) {}

KeyName::KeyName(const SettingKey& entry, QString text)
    : m_entry(&entry), m_text(std::move(text)) {}

KeyName numberedKey(keys::Stem stem, int number) {
    const SettingKey& entry = keyTable[stem];
    return KeyName(entry, QString::fromUtf16(entry.name) + QString::number(number));
}

namespace keys {
namespace {
Key nth(Key first, int n, int step = 1) {
    Q_ASSERT(n >= 1 && n <= 4);
    return static_cast<Key>(first + (n - 1) * step);
}
} // namespace
Key userField(int n) {
    return nth(olUser1, n);
}
Key userFieldLink(int n) {
    return nth(olUser1Link, n);
}
Key userFieldPrint(int n) {
    return nth(olUser1Print, n);
}
Key monitorWidth(int n) {
    return nth(Monitor1X, n, 2);
}
Key monitorHeight(int n) {
    return nth(Monitor1Y, n, 2);
}
} // namespace keys

QString readSetting(const KeyName& key) {
    return settingsstore::get(key.text(), text(key.entry().callDefault));
}

std::optional<double> decimalOf(const QString& text) {
    bool ok = false;
    const double value =
        QString(text.trimmed()).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

int readSettingInt(const KeyName& key) {
    return toInteger(readSetting(key));
}

int readSettingInt(const KeyName& key, int fallback) {
    return integerOf(readSetting(key)).value_or(fallback);
}

QString readOption(const KeyName& key) {
    return settingsstore::get(key.text(), text(key.entry().optionsDefault));
}

int readOptionInt(const KeyName& key) {
    return toInteger(readOption(key));
}

void saveSetting(const KeyName& key, const QString& value) {
    settingsstore::save(key.text(), value);
}

void subReadSettings(Settings& s, Environment& env, Log& log) {
    log.subLog(QStringLiteral(" 3/15 - Programmparameter einlesen"), 10300);
    const ErrorExit exit{QStringLiteral("subReadSettings")};
    // A number that does not convert (or lies beyond 32 bits) is logged and
    // the run takes the key's default; its stored text stays as it is.
    QSet<int> unconverted;
    for (int id = 0; id < keys::KeyCount; ++id) {
        const SettingKey& k = keyTable[id];
        const KeyName name(static_cast<keys::Key>(id));
        if (auto intMember = std::get_if<int Settings::*>(&k.step3)) {
            try {
                s.*(*intMember) = readSettingInt(name);
            } catch (const Error& e) {
                log.errorLine(exit, e);
                s.*(*intMember) = k.callDefault ? toInteger(text(k.callDefault)) : 0;
                unconverted.insert(id);
            }
        } else if (auto textMember = std::get_if<QString Settings::*>(&k.step3))
            log.guard(exit, [&] { s.** textMember = readSetting(name); });
    }
    const auto writeBack = [&](keys::Key key, const QString& value) {
        if (!unconverted.contains(key))
            log.guard(exit, [&] { saveSetting(key, value); });
    };
    writeBack(keys::MailFont, s.MailFont);
    s.MailFontSize = clampedOr(s.MailFontSize, 6, 18, 11);
    writeBack(keys::MailFontSize, QString::number(s.MailFontSize));
    s.MailTabStop1 = clampedOr(s.MailTabStop1, 1, 15, 3);
    writeBack(keys::MailTabStop1, QString::number(s.MailTabStop1));
    s.tabStop1Points = qRound(s.MailTabStop1 * PointsPerCentimetre);
    s.MailTabStop2 = clampedOr(s.MailTabStop2, 3, 15, 8);
    writeBack(keys::MailTabStop2, QString::number(s.MailTabStop2));
    s.tabStop2Points = qRound(s.MailTabStop2 * PointsPerCentimetre);
    writeBack(keys::URLHandler, s.URLHandler);
    writeBack(keys::Maps, s.Maps);
    writeBack(keys::LogDays, QString::number(s.LogDays));

    log.guard(exit, [&] { detectOutlook(env); });
    log.guard(exit, [&] { readScreens(env); });
}

} // namespace tlm
