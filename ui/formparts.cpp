// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/formparts.h"

#include "ui/controls.h"
#include "ui/design.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>
#include <algorithm>

namespace tlm::formparts {
namespace {
class SelectOnFocus : public QObject {
    Q_OBJECT

public:
    explicit SelectOnFocus(QLineEdit* box) : QObject(box), m_box(box) {
        box->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // After the focus change, so that the click that gave it does not
        // undo the selection.
        if (event->type() == QEvent::FocusIn)
            QTimer::singleShot(0, m_box, [box = m_box] { box->selectAll(); });
        return QObject::eventFilter(watched, event);
    }

private:
    QLineEdit* m_box;
};
} // namespace

QPixmap pic(pictures::Kind kind) {
    return pictures::picture(kind, design::pixels(480));
}

void names(QLabel* label, QWidget* control, const QString& spoken) {
    label->setBuddy(control);
    control->setAccessibleName(spoken);
}

QCheckBox* columnBox(QWidget* parent, const QString& labelName, const QString& caption,
                     const QString& name, int left, int top, const QString& spoken) {
    QLabel* l = controls::label(parent, labelName, caption, QRect(left, top, ColumnWidth, 420));
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    constexpr int BoxWidth = 280;
    QCheckBox* box =
        controls::checkBox(parent, name, QString(),
                           QRect(left + (ColumnWidth - BoxWidth) / 2, top + 450, BoxWidth, 260));
    names(l, box, spoken);
    return box;
}

void selectAllOnFocus(QWidget* box) {
    if (auto* edit = qobject_cast<QLineEdit*>(box))
        new SelectOnFocus(edit);
}

void showWholeRows(QListWidget* list) {
    const int row = list->sizeHintForRow(0);
    if (row <= 0)
        return;
    const int frame = 2 * list->frameWidth();
    const int rows = std::max(1, (list->height() - frame) / row);
    list->resize(list->width(), rows * row + frame);
}

} // namespace tlm::formparts

#include "formparts.moc"
