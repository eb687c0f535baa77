#include "callwindows/controls.h"

#include "callwindows/design.h"

#include <QLabel>
#include <QPushButton>

namespace tlm::controls {

QLabel* label(QWidget* parent, const QString& name, const QString& text, QRect twips) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    design::place(l, twips.x(), twips.y(), twips.width(), twips.height());
    return l;
}

QLabel* image(QWidget* parent, const QString& name, const QPixmap& picture, const QString& toolTip,
              QRect twips) {
    QLabel* l = label(parent, name, QString(), twips);
    l->setPixmap(picture);
    l->setScaledContents(true);
    l->setToolTip(toolTip);
    l->setAccessibleName(toolTip);
    return l;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& text, QRect twips,
                    const QString& toolTip) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setToolTip(toolTip);
    design::place(b, twips.x(), twips.y(), twips.width(), twips.height());
    return b;
}

} // namespace tlm::controls
