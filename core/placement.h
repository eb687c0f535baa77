// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The screen layouts of item windows: centred with a margin, maximised,
// halves, thirds and quarters of the primary monitor's work area, and the
// same on a second monitor of that size to the right of the first.

namespace tlm::placement {

struct WorkArea {
    int left = 0;
    int width = 0;
    int height = 0;
};

// Top, Left, Width, Height and WindowState (0 maximised, 2 normal window).
struct Placement {
    int top = 0;
    int left = 0;
    int width = 0;
    int height = 0;
    int windowState = 0;
    bool operator==(const Placement&) const = default;
};

// The layout of a position code. With one monitor, codes from 7 on stand
// for 13 on (thirds and quarters); unknown codes give all zeros.
Placement layout(int code, const WorkArea& area, int monitorCount);

} // namespace tlm::placement
