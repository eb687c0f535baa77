// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// tellmarin-pim: the command-line tool of the local PIM store.
#include "pimtool/tool.h"
#include "platform/gui.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    tlm::gui::loadQtTranslation();
    QTextStream out(stdout);
    QTextStream err(stderr);
    return tlm::pim::tool::run(QCoreApplication::arguments().mid(1), out, err);
}
