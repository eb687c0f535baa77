#pragma once
// Controls of the program's windows placed in twips, with their object name
// and the accessible name a screen reader speaks (a picture speaks its tool
// tip).
#include <QPixmap>
#include <QRect>
#include <QString>

class QLabel;
class QPushButton;
class QWidget;

namespace tlm::controls {

QLabel* label(QWidget* parent, const QString& name, const QString& text, QRect twips);
QLabel* image(QWidget* parent, const QString& name, const QPixmap& picture, const QString& toolTip,
              QRect twips);
QPushButton* button(QWidget* parent, const QString& name, const QString& text, QRect twips,
                    const QString& toolTip = {});

} // namespace tlm::controls
