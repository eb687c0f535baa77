// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared set-up of the number tests: a private program folder for handmade
// data files and a registry view with a chosen telephony location.
#include "platform/paths.h"
#include "tests/support/testenv.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace tlm::test {

inline const QString LocationsKey = QStringLiteral(
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Telephony\\Locations");

inline QString dword(int value) {
    return QStringLiteral("dword:%1").arg(value, 8, 16, QLatin1Char('0'));
}

class NumbersTest : public ::testing::Test {
protected:
    NumbersTest() {
        QDir().mkpath(programFolder());
        paths::setProgramFolder(programFolder());
    }

    QString programFolder() const { return env.root() + QStringLiteral("program/"); }

    // Writes a data file of the program folder, bytes as they stand.
    void writeDataFile(const QString& name, const QByteArray& content) const {
        QFile f(programFolder() + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }

    // A registry view with the value CurrentID (a regedit value text such as
    // dword:00000001) and, unless country is negative, the Country of
    // location locationKey.
    void setLocation(const QString& currentId, const QString& locationKey, int country) const {
        QString reg = QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n") +
                      LocationsKey + QStringLiteral("]\r\n\"CurrentID\"=") + currentId +
                      QStringLiteral("\r\n");
        if (country >= 0) {
            reg += QStringLiteral("\r\n") + LocationsKey + QStringLiteral("\\") + locationKey +
                   QStringLiteral("]\r\n\"Country\"=") + dword(country) + QStringLiteral("\r\n");
        }
        env.writeRegistry(reg);
    }
    void setCountry(int country) const {
        setLocation(dword(1), QStringLiteral("Location1"), country);
    }

    TestEnv env;
};

} // namespace tlm::test
