// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/callwindow.h"

#include "platform/messagebox.h"
#include "ui/controls.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace tlm {

CallWindow::CallWindow(const QString& objectName) {
    setObjectName(objectName);
    setModal(true);
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    timerMain = new QTimer(this);
    timerMain->setObjectName(QStringLiteral("timerMain"));
    timerSecond = new QTimer(this);
    timerSecond->setObjectName(QStringLiteral("timerSecond"));
    timerSecond->setInterval(1000);
    lblCountdown = addLabel(QStringLiteral("lblCountdown"), QString(), {});
    lblCountdown->setAccessibleName(QStringLiteral("Verbleibende Zeit"));
}

QLabel* CallWindow::addLabel(const QString& name, const QString& text, QRect twips) {
    return controls::label(this, name, text, twips);
}

QLabel* CallWindow::addImage(const QString& name, const QPixmap& picture, const QString& toolTip,
                             QRect twips) {
    return controls::image(this, name, picture, toolTip, twips);
}

QPushButton* CallWindow::addButton(const QString& name, const QString& text, QRect twips) {
    return controls::button(this, name, text, twips);
}

void CallWindow::restart(QTimer* timer, int milliseconds) {
    timer->stop();
    timer->setInterval(milliseconds);
    timer->start();
}

void CallWindow::setBarWidth(double pixels) {
    if (pixels >= 0)
        lblCountdown->resize(static_cast<int>(pixels), lblCountdown->height());
}

void showCallWindow(QDialog& window, bool countdown, const std::function<void()>& defaultButton) {
    if (!countdown && msgbox::autoAnswer()) {
        defaultButton();
        return;
    }
    window.exec();
}

} // namespace tlm
