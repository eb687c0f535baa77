// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One contact that the index lookup found for the call number.
#include <QString>

namespace tlm {

// The longest display text of a found contact.
inline constexpr int MaxFoundDisplayWidth = 150;

struct FoundContact {
    // "Last, First (Company)" (the company only with ViewCompanyname 1), or
    // the company alone; at most 150 characters, without blanks around.
    QString display = {};
    int field = 0;        // the phone field whose number matched
    bool journal = false; // the contact's journal flag
    QString entryId = {};
};

} // namespace tlm
