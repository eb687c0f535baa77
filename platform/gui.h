#pragma once
// Preparation of the Qt platform before the application object is made: a run
// without a display (neither DISPLAY nor WAYLAND_DISPLAY set, no platform
// chosen) uses the offscreen platform and answers message boxes at once; the
// local time zone is named once for the C library.

namespace tlm::gui {

void prepareEnvironment();
// True when the program decided that nobody can see its windows.
bool headless();

} // namespace tlm::gui
