#pragma once
// The look shared by the program's windows: colours stored as Windows colour
// numbers (red in the low byte) and sizes in twips.
#include <QColor>
#include <QString>

namespace tlm::design {

// 15 twips make one pixel at 96 dots per inch.
constexpr int TwipsPerPixel = 15;
constexpr int pixels(int twips) {
    return twips / TwipsPerPixel;
}

QColor fromWindowsColour(int colour);

// A setting holding a colour, with its default when it is missing or bad.
QColor colourSetting(const QString& key);

} // namespace tlm::design
