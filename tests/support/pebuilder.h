// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Builds small Windows PE executables with a version resource, so that the
// version reader and the Outlook detection can be tested anywhere.
#include <QByteArray>
#include <QString>
#include <array>

namespace tlm::test {

struct PeVersion {
    std::array<quint16, 4> file{};
    std::array<quint16, 4> product{};
};

// A PE32 (or PE32+ when wide) image with one .rsrc section holding the
// version resource; without a version, a resource section without one.
QByteArray buildPe(const PeVersion* version, bool wide = false);
// Writes buildPe's result to path.
void writePe(const QString& path, const PeVersion* version, bool wide = false);

} // namespace tlm::test
