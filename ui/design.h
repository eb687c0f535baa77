// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The look shared by the suite's windows: colours stored as Windows colour
// numbers (red in the low byte) and sizes in twips (1440 to the inch). Every
// window reads a design colour through storedColour, so one stored value
// shows as one colour everywhere.
#include "platform/designcolours.h"

#include <QColor>
#include <QRect>

class QWidget;

namespace tlm::design {

// Twips in pixels at the primary screen's logical resolution (96 dots per
// inch when there is no screen).
int pixels(int twips);
QRect twipsRect(int left, int top, int width, int height);
// Places a widget on its window, all in twips.
void place(QWidget* widget, int left, int top, int width, int height);

// A Windows colour number; one naming a system colour is resolved.
QColor fromWindowsColour(int colour);
// The colour a design setting holds, its text converted as every setting's
// number is; its default when it is missing, not a number or beyond 32 bits.
QColor storedColour(const DesignColour& colour);

void setBackground(QWidget* widget, const QColor& colour);
void setTextColour(QWidget* widget, const QColor& colour);

} // namespace tlm::design
