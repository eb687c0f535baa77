// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Read-only view of the Windows registry. Here it is read from a regedit
// export file, $XDG_CONFIG_HOME/Orvensoft/registry.reg (REGEDIT4 or
// "Windows Registry Editor Version 5.00"; UTF-16LE with byte order mark,
// ANSI or UTF-8); no file means an empty registry. String and dword values.
#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <optional>

namespace tlm::registry {

enum class Root { LocalMachine, CurrentUser, ClassesRoot, Users };

struct Value {
    enum class Type { Empty, String, Dword };
    Type type = Type::Empty;
    QString text;
    quint32 number = 0;

    bool isEmpty() const { return type == Type::Empty; }
    // Text form: the string, the dword in decimal, or empty.
    QString toString() const;
};

// A parsed export file. Key paths and value names match without regard to
// case; the default value of a key has the empty name.
class View {
public:
    // Raises tlm::Error with the file and line when the file is malformed.
    static View parse(const QByteArray& fileContent, const QString& fileName = QString());
    static View load(const QString& path); // missing file: empty view

    Value value(Root root, const QString& keyPath, const QString& valueName) const;
    // True when the file names the key or one of its subkeys.
    bool hasKey(Root root, const QString& keyPath) const;

private:
    QHash<QString, Value> m_values; // "root\key path\\value name" lower-cased
    QSet<QString> m_keys;           // "root\key path" lower-cased, with every parent
};

QString viewFilePath();

// The registry read of the program: a string value (type 1) as text, a dword
// (type 4) as number, anything else or a missing key or value as Empty.
// A 32-bit process on 64-bit Windows sees SOFTWARE\Wow6432Node: a key found
// there takes precedence.
Value fncRegValue(Root root, const QString& keyPath, const QString& valueName);

// Tests point the view elsewhere or drop the cached file.
void reload();

} // namespace tlm::registry
