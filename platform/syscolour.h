// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Windows system colours (GetSysColor), here taken from the desktop's
// palette. A stored colour below 0 or above 0xFFFFFF names one: its low 24
// bits are the system colour index.
namespace tlm::syscolour {

// The colour as 0x00BBGGRR; index out of range gives 0 (black).
int sysColor(int index);

// A stored colour value made concrete: a system colour is resolved, any
// other value is returned as it is.
int resolve(long long value);

} // namespace tlm::syscolour
