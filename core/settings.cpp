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
const SettingKey keyTable[] = {
    {u"InContact", K::Integer, u"0", u"1", &S::InContact},
    {u"OutContact", K::Integer, u"0", u"0", &S::OutContact},
    {u"Internal", K::Integer, u"0", u"0", &S::Internal},
    {u"AutoChoice", K::Integer, u"10", u"10", &S::AutoChoice},
    {u"AutoChoiceJournalCallEnd", K::Integer, u"10", u"10", {}},
    {u"FolderNewContact", K::FolderReference, u"", u"", &S::FolderNewContact},
    {u"NewContactType", K::Integer, u"0", u"0", &S::NewContactType},
    {u"ModeCalendarJournal", K::Text, u"Journal", u"Journal", &S::ModeCalendarJournal},
    {u"InJournal", K::Integer, u"0", u"1", &S::InJournal},
    {u"OutJournal", K::Integer, u"0", u"0", &S::OutJournal},
    {u"JournalContact", K::Integer, u"0", u"0", &S::JournalContact},
    {u"FolderJournal", K::FolderReference, u"", u"", &S::FolderJournal},
    {u"FolderCalendar", K::FolderReference, u"", u"", &S::FolderCalendar},
    {u"JournalCategory", K::Integer, u"0", u"0", &S::JournalCategory},
    {u"Callback", K::Integer, u"1", u"1", &S::Callback},
    {u"BusyStatus", K::Integer, u"0", u"0", &S::BusyStatus},
    {u"DisplayPosContact", K::Integer, u"0", u"0", &S::DisplayPosContact},
    {u"DisplayPosJournal", K::Integer, u"0", u"0", &S::DisplayPosJournal},
    {u"ContactCallEnd", K::Integer, u"0", u"2", &S::ContactCallEnd},
    {u"JournalCallEnd", K::Integer, u"0", u"2", &S::JournalCallEnd},
    {u"AddressSeparator", K::Text, u",", u",", &S::AddressSeparator},
    {u"MailFont", K::Text, u"Calibri", u"Calibri", &S::MailFont},
    {u"MailFontSize", K::Integer, u"11", u"11", &S::MailFontSize},
    {u"MailTabStop1", K::Integer, u"3", u"3", &S::MailTabStop1},
    {u"MailTabStop2", K::Integer, u"8", u"8", &S::MailTabStop2},
    {u"URLHandler", K::Text, u"tel://", u"tel://", &S::URLHandler},
    {u"Maps", K::Text, u"0", u"1", &S::Maps},
    {u"LogDays", K::Integer, u"14", u"30", &S::LogDays},
    {u"Debug", K::Integer, u"0", u"0", {}},
    {u"Refresh", K::Integer, u"0", u"0", {}},
    {u"DefaultFolder", K::Integer, u"", u"1", {}},
    {u"Folders", K::Integer, u"0", u"0", {}},
    {u"FolderID", K::FolderReference, u"", u"", {}, true},
    {u"Folder", K::Text, u"", u"", {}, true},
    {u"DefaultFolderDate", K::DateText, nullptr, nullptr, {}},
    {u"FolderDate", K::DateText, nullptr, nullptr, {}, true},
    {u"ViewCompanyname", K::Integer, u"", u"0", {}},
    {design::ColorBack.key, K::Colour, design::ColorBack.fallback, design::ColorBack.fallback, {}},
    {design::ColorBackFont.key, K::Colour, design::ColorBackFont.fallback,
     design::ColorBackFont.fallback, {}},
    {design::ColorDefault.key, K::Colour, design::ColorDefault.fallback,
     design::ColorDefault.fallback, {}},
    {design::ColorFont.key, K::Colour, design::ColorFont.fallback, design::ColorFont.fallback, {}},
    {u"ContactJournal", K::Integer, u"1", u"0", {}},
    {u"Mailaddressee", K::Text, u"", u"", {}},
    {u"WindowOffsetIndexX", K::Integer, u"0", u"0", {}},
    {u"WindowOffsetIndexY", K::Integer, u"0", u"0", {}},
    {u"olUser1", K::Text, u"", u"", {}},
    {u"olUser2", K::Text, u"", u"", {}},
    {u"olUser3", K::Text, u"", u"", {}},
    {u"olUser4", K::Text, u"", u"", {}},
    {u"olUser1Link", K::Text, u"", u"0", {}},
    {u"olUser2Link", K::Text, u"", u"0", {}},
    {u"olUser3Link", K::Text, u"", u"0", {}},
    {u"olUser4Link", K::Text, u"", u"0", {}},
    {u"olUser1Print", K::Integer, u"0", u"0", {}},
    {u"olUser2Print", K::Integer, u"0", u"0", {}},
    {u"olUser3Print", K::Integer, u"0", u"0", {}},
    {u"olUser4Print", K::Integer, u"0", u"0", {}},
    {u"AutoChoiceCallEnd", K::Untyped, nullptr, nullptr, {}},
    {u"StopWatch", K::Untyped, nullptr, nullptr, {}},
    {u"ClientDashboard", K::Text, nullptr, u"", {}},
    {u"ProgramPath", K::Text, nullptr, nullptr, {}},
    {u"LastRun", K::DateText, nullptr, nullptr, {}},
    {u"Monitor1X", K::Integer, nullptr, nullptr, {}},
    {u"Monitor1Y", K::Integer, nullptr, nullptr, {}},
    {u"Monitor2X", K::Integer, nullptr, nullptr, {}},
    {u"Monitor2Y", K::Integer, nullptr, nullptr, {}},
};
// clang-format on

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

QString readSetting(const QString& key) {
    const SettingKey* k = findSettingKey(key);
    return settingsstore::get(key, k ? text(k->callDefault) : QString());
}

std::optional<double> decimalOf(const QString& text) {
    bool ok = false;
    const double value =
        QString(text.trimmed()).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

int readSettingInt(const QString& key) {
    return toInteger(readSetting(key));
}

int readSettingInt(const QString& key, int fallback) {
    return integerOf(readSetting(key)).value_or(fallback);
}

QString readOption(const QString& key) {
    const SettingKey* k = findSettingKey(key);
    return settingsstore::get(key, k ? text(k->optionsDefault) : QString());
}

int readOptionInt(const QString& key) {
    return toInteger(readOption(key));
}

void saveSetting(const QString& key, const QString& value) {
    settingsstore::save(key, value);
}

void subReadSettings(Settings& s, Environment& env, Log& log) {
    log.subLog(QStringLiteral(" 3/15 - Programmparameter einlesen"), 10300);
    const ErrorExit exit{QStringLiteral("subReadSettings")};
    // A number that does not convert (or lies beyond 32 bits) is logged and
    // the run takes the key's default; its stored text stays as it is.
    QSet<QString> unconverted;
    for (const SettingKey& k : settingKeys()) {
        const QString name = text(k.name);
        if (auto intMember = std::get_if<int Settings::*>(&k.step3)) {
            try {
                s.*(*intMember) = readSettingInt(name);
            } catch (const Error& e) {
                log.errorLine(exit, e);
                s.*(*intMember) = k.callDefault ? toInteger(text(k.callDefault)) : 0;
                unconverted.insert(name);
            }
        } else if (auto textMember = std::get_if<QString Settings::*>(&k.step3))
            log.guard(exit, [&] { s.** textMember = readSetting(name); });
    }
    const auto writeBack = [&](const char16_t* key, const QString& value) {
        const QString name = QString::fromUtf16(key);
        if (!unconverted.contains(name))
            log.guard(exit, [&] { saveSetting(name, value); });
    };
    writeBack(u"MailFont", s.MailFont);
    s.MailFontSize = clampedOr(s.MailFontSize, 6, 18, 11);
    writeBack(u"MailFontSize", QString::number(s.MailFontSize));
    s.MailTabStop1 = clampedOr(s.MailTabStop1, 1, 15, 3);
    writeBack(u"MailTabStop1", QString::number(s.MailTabStop1));
    s.tabStop1Points = qRound(s.MailTabStop1 * PointsPerCentimetre);
    s.MailTabStop2 = clampedOr(s.MailTabStop2, 3, 15, 8);
    writeBack(u"MailTabStop2", QString::number(s.MailTabStop2));
    s.tabStop2Points = qRound(s.MailTabStop2 * PointsPerCentimetre);
    writeBack(u"URLHandler", s.URLHandler);
    writeBack(u"Maps", s.Maps);
    writeBack(u"LogDays", QString::number(s.LogDays));

    log.guard(exit, [&] { detectOutlook(env); });
    log.guard(exit, [&] { readScreens(env); });
}

} // namespace tlm
