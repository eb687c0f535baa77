// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/syscolour.h"

#include <QGuiApplication>
#include <QPalette>

namespace tlm::syscolour {
namespace {
int windowsColour(const QColor& c) {
    return c.red() | (c.green() << 8) | (c.blue() << 16);
}
} // namespace

int sysColor(int index) {
    // The palette roles that stand for the Windows system colour indexes.
    struct Entry {
        int index;
        QPalette::ColorGroup group;
        QPalette::ColorRole role;
    };
    static const Entry table[] = {
        {0, QPalette::Active, QPalette::Dark},            // scroll bar
        {1, QPalette::Active, QPalette::Window},          // desktop
        {2, QPalette::Active, QPalette::Highlight},       // active caption
        {3, QPalette::Inactive, QPalette::Highlight},     // inactive caption
        {4, QPalette::Active, QPalette::Window},          // menu
        {5, QPalette::Active, QPalette::Base},            // window
        {6, QPalette::Active, QPalette::Shadow},          // window frame
        {7, QPalette::Active, QPalette::WindowText},      // menu text
        {8, QPalette::Active, QPalette::Text},            // window text
        {9, QPalette::Active, QPalette::HighlightedText}, // caption text
        {10, QPalette::Active, QPalette::Mid},            // active border
        {11, QPalette::Inactive, QPalette::Mid},          // inactive border
        {12, QPalette::Active, QPalette::Dark},           // application workspace
        {13, QPalette::Active, QPalette::Highlight},      // highlight
        {14, QPalette::Active, QPalette::HighlightedText},
        {15, QPalette::Active, QPalette::Button}, // button face
        {16, QPalette::Active, QPalette::Dark},   // button shadow
        {17, QPalette::Disabled, QPalette::Text}, // grey text
        {18, QPalette::Active, QPalette::ButtonText},
        {19, QPalette::Inactive, QPalette::HighlightedText},
        {20, QPalette::Active, QPalette::Light},    // button highlight
        {21, QPalette::Active, QPalette::Shadow},   // 3D dark shadow
        {22, QPalette::Active, QPalette::Midlight}, // 3D light
        {23, QPalette::Active, QPalette::ToolTipText},
        {24, QPalette::Active, QPalette::ToolTipBase},
    };
    const QPalette palette = QGuiApplication::instance() ? QGuiApplication::palette() : QPalette();
    for (const Entry& e : table)
        if (e.index == index)
            return windowsColour(palette.color(e.group, e.role));
    return 0;
}

int resolve(long long value) {
    if (value >= 0 && value <= 0xFFFFFF)
        return static_cast<int>(value);
    return sysColor(static_cast<int>(value & 0xFFFFFF));
}

} // namespace tlm::syscolour
