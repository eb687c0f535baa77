// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every picture the windows show, from one place: the small pictures
// painted at run time, the drawn pictures of the call-time windows (built
// into the program, drawn by tools/draw_call_pictures.py) and the desktop's
// standard pictures.
#include <QPixmap>

class QWidget;

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

enum class Drawn {
    Contact,  // one person
    Contacts, // several people
    Unknown   // an unknown caller
};

QPixmap drawn(Drawn which);

enum class Desktop {
    Computer, // the CTI client
    Speaker,  // a telephone number
    Network,  // Outlook
    Search,   // a magnifying glass
    Folder    // a folder
};

// The desktop style's picture as the widget shows it, 32 pixels square.
QPixmap desktop(const QWidget* widget, Desktop which);

} // namespace tlm::pictures
