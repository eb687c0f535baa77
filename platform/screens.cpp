// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/screens.h"

#include <QGuiApplication>
#include <QScreen>

namespace tlm::screens {
namespace {

bool haveScreens() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance());
}

Rect toRect(const QRect& r) {
    return {r.left(), r.top(), r.width(), r.height()};
}

} // namespace

Rect workArea() {
    if (!haveScreens())
        return {};
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? toRect(screen->availableGeometry()) : Rect{};
}

int monitorCount() {
    return haveScreens() ? int(QGuiApplication::screens().size()) : 0;
}

QList<Monitor> monitors() {
    QList<Monitor> list;
    if (!haveScreens())
        return list;
    const QScreen* primary = QGuiApplication::primaryScreen();
    for (const QScreen* screen : QGuiApplication::screens())
        list.append({toRect(screen->geometry()), screen == primary});
    return list;
}

} // namespace tlm::screens
