// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The small pictures of the options windows, painted at run time.
#include <QPixmap>

namespace tlm::pictures {

enum class Kind {
    Logo,         // the product's mark
    Klick,        // the CTI client's product
    Outlook,      // contact folders
    Contact,      // a person
    Journal,      // a journal book
    Calendar,     // a calendar sheet
    RefreshOn,    // idle: circular arrow
    RefreshOff,   // busy: hourglass
    Monitor1,     // a screen with "1"
    Monitor2,     // a screen with "2"
    Busy,         // absence sign
    FolderAdd,    // folder with "+"
    FolderRemove, // folder with "-"
    FolderPick    // open folder
};

QPixmap picture(Kind kind, int size = 32);

} // namespace tlm::pictures
