#include "callwindows/callwindow.h"

#include "callwindows/design.h"
#include "platform/messagebox.h"

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
    auto* label = new QLabel(text, this);
    label->setObjectName(name);
    design::place(label, twips.x(), twips.y(), twips.width(), twips.height());
    return label;
}

QLabel* CallWindow::addImage(const QString& name, const QString& resource, const QString& toolTip,
                             QRect twips) {
    QLabel* image = addLabel(name, QString(), twips);
    image->setPixmap(QPixmap(resource));
    image->setScaledContents(true);
    image->setToolTip(toolTip);
    image->setAccessibleName(toolTip);
    return image;
}

QPushButton* CallWindow::addButton(const QString& name, const QString& text, QRect twips) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(name);
    design::place(button, twips.x(), twips.y(), twips.width(), twips.height());
    return button;
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
