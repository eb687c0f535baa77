// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// The floor of a call-event process that may show a window: a QApplication
// that starts, processes its events once and ends.
#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCoreApplication::processEvents();
    return 0;
}
