// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The text side of the INI profile strings: finding a key and producing the
// text with a key set, on the bytes of the file (system code page). Lines
// that are not touched keep their bytes and line ends.
#include <QByteArray>
#include <QString>
#include <QStringView>
#include <optional>
#include <span>

namespace tlm::ini::text {

// How a value is read: blanks around it trimmed, or exactly as written.
enum class ValueForm { Trimmed, Exact };

// The value of key in the first section named section (names without regard
// to case, blanks around names trimmed); nullopt when missing.
std::optional<QString> find(const QByteArray& content, const QString& section, const QString& key,
                            ValueForm form = ValueForm::Trimmed);

// content with key set to value: replaced in place, else appended after the
// last non-blank line of the section, else a new section at the end. Line
// breaks inside section, key or value are written as blanks, so that a value
// can never add lines or sections to the file.
QByteArray withValue(const QByteArray& content, const QString& section, const QString& key,
                     const QString& value);

// One key and the value it gets.
struct KeyValue {
    QStringView key;
    QStringView value;
};

// content with every key set to its value: the same text as withValue for
// each pair in turn would give (the last value of a key counts), made in one
// pass, so that the time grows with the size of content and the number of
// keys, not with their product.
QByteArray withValues(const QByteArray& content, const QString& section,
                      std::span<const KeyValue> values);

// content with one empty line appended.
QByteArray withBlankLine(const QByteArray& content);

} // namespace tlm::ini::text
