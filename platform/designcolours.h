// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The design's four colours: their setting keys and the Windows colour
// numbers (red in the low byte) that stand when a setting is missing. Every
// window of the suite takes its colours from these settings.

namespace tlm::design {

struct DesignColour {
    const char16_t* key;
    const char16_t* fallback;
};

inline constexpr DesignColour ColorBack{u"ColorBack", u"13160660"};      // window background
inline constexpr DesignColour ColorBackFont{u"ColorBackFont", u"0"};     // text on it
inline constexpr DesignColour ColorDefault{u"ColorDefault", u"8947848"}; // title bar
inline constexpr DesignColour ColorFont{u"ColorFont", u"15790320"};      // title text

} // namespace tlm::design
