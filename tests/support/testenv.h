// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Each test gets its own temporary folder holding its work folder ($TEMP),
// settings and registry view ($XDG_CONFIG_HOME), data folder and PIM store.
#include <QString>
#include <QTemporaryDir>
#include <ostream>

// Readable test failures for texts.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace tlm::test {

class TestEnv {
public:
    TestEnv();
    ~TestEnv();
    TestEnv(const TestEnv&) = delete;
    TestEnv& operator=(const TestEnv&) = delete;

    QString root() const;         // the temporary folder, ending with "/"
    QString workFolder() const;   // $TEMP/Tellmarin/
    QString configFolder() const; // $XDG_CONFIG_HOME/Orvensoft/
    QString pimPath() const;      // $TELLMARIN_PIM

    // Writes the registry view file (text as UTF-8) and makes it current.
    void writeRegistry(const QString& regText) const;

private:
    QTemporaryDir m_dir;
};

// Reads a whole file as bytes (empty when missing).
QByteArray readBytes(const QString& path);
// Replaces every "dd.MM.yyyy HH:mm:ss" in text by "<DATETIME>", then every
// remaining "dd.MM.yyyy" by "<DATE>" and "HH:mm:ss" by "<TIME>".
QByteArray maskDates(QByteArray text);

} // namespace tlm::test
