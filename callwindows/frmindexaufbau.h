// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The small window that says the contact index is being rebuilt. It sits at
// the bottom right of the screen while the build runs.
#include <QWidget>

namespace tlm {

class frmIndexaufbau : public QWidget {
    Q_OBJECT

public:
    frmIndexaufbau();
    // Left and top in pixels for a screen of the given size, with the
    // configured offsets (twips) applied.
    static QPoint placement(const QSize& screen, const QSize& window, int offsetXTwips,
                            int offsetYTwips);
};

// Registers the window as the index build's progress window.
void registerIndexProgressWindow();

} // namespace tlm
