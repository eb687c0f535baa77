// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Preparation of the Qt platform before the application object is made: a run
// without a display (neither DISPLAY nor WAYLAND_DISPLAY set, no platform
// chosen) uses the offscreen platform and answers message boxes at once; the
// local time zone is named once for the C library; the platform plugin's
// notices that tell the user nothing stay out of the output.
// Once the application object exists, Qt's own texts (standard buttons,
// standard dialogs) are loaded in German.

namespace tlm::gui {

void prepareEnvironment();
// True when the program decided that nobody can see its windows.
bool headless();

// Loads Qt's German translation into the application, so that standard
// buttons and dialogs speak the language of the program's own texts. False
// when the application object is missing or the translation is not
// installed: the buttons then stay English.
bool loadQtTranslation();

} // namespace tlm::gui
