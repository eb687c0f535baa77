// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fuzz target of the lookup table beside the index.
#include <QByteArrayView>
#include <QString>

namespace tlm::fuzz {

// The input is the lookup table beside a small index of the scratch folder;
// every lookup must give the scan's answer, or the target aborts.
void indexTable(const QString& scratch, QByteArrayView input);

} // namespace tlm::fuzz
