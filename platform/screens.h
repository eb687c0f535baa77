// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Screen work area and monitors (QScreen here). Needs a QGuiApplication.
#include <QList>

namespace tlm::screens {

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// The primary monitor's desktop without the task bar, in pixels.
Rect workArea();
int monitorCount();

struct Monitor {
    Rect rect; // full rectangle
    bool primary = false;
};
QList<Monitor> monitors();

} // namespace tlm::screens
