// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The base of the modal windows shown while a call is handled: controls
// placed in twips in the design font, a countdown of a main timer and a
// one-second timer that shrinks a bar, and the modal show with its rule for
// scripted runs.
#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;
class QTimer;

namespace tlm {

class CallWindow : public QDialog {
    Q_OBJECT

protected:
    explicit CallWindow(const QString& objectName);

    QLabel* addLabel(const QString& name, const QString& text, QRect twips);
    QLabel* addImage(const QString& name, const QPixmap& picture, const QString& toolTip,
                     QRect twips);
    QPushButton* addButton(const QString& name, const QString& text, QRect twips);

    // Disables the timer, sets its interval and enables it again.
    static void restart(QTimer* timer, int milliseconds);
    // The countdown bar's width in pixels; a negative width is not applied.
    void setBarWidth(double pixels);

    QTimer* timerMain;
    QTimer* timerSecond;
    QLabel* lblCountdown;
    int m_seconds = 0; // advanced by timerSecond, 0 at each restart
};

// Shows a call-time window modally. When nobody can answer it (message
// boxes answered at once, or no display) a window without countdown does at
// once what its default button does; one with a countdown runs it.
void showCallWindow(QDialog& window, bool countdown, const std::function<void()>& defaultButton);

} // namespace tlm
