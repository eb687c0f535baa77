// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/placement.h"

#include <cmath>

namespace tlm::placement {
namespace {
// A fraction of a length, to the nearest whole pixel.
int part(int length, int divisor) {
    return static_cast<int>(std::lround(static_cast<double>(length) / divisor));
}
} // namespace

Placement layout(int code, const WorkArea& area, int monitorCount) {
    if (code >= 7 && monitorCount == 1)
        code += 6;
    const int W = area.width;
    const int H = area.height;
    const int half = part(W, 2), third = part(W, 3), quarter = part(W, 4), halfH = part(H, 2);
    // clang-format off
    switch (code) {
    case 1: return {50, 50, W - 100, H - 100, 2};
    case 2: return {0, 0, W, H, 0};
    case 3: return {0, 0, half, H, 2};
    case 4: return {0, half, half, H, 2};
    case 5: return {0, 0, W, halfH, 2};
    case 6: return {halfH, 0, W, halfH, 2};
    case 7: return {50, W + 50, W - 100, H - 100, 2};
    case 8: return {0, area.left, 0, 0, 0};
    case 9: return {0, W, half, H, 2};
    case 10: return {0, W + half, half, H, 2};
    case 11: return {0, W, W, halfH, 2};
    case 12: return {halfH, W, W, halfH, 2};
    case 13: return {0, 0, third, H, 2};
    case 14: return {0, third, third, H, 2};
    case 15: return {0, 2 * third, third, H, 2};
    case 16: return {0, 0, quarter, H, 2};
    case 17: return {0, quarter, quarter, H, 2};
    case 18: return {0, half, quarter, H, 2};
    case 19: return {0, 3 * quarter, quarter, H, 2};
    default: return {};
    }
    // clang-format on
}

} // namespace tlm::placement
