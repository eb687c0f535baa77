// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls.h"

#include "ui/design.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

namespace tlm::controls {
namespace {
// Watches one widget for one kind of mouse event of the left button.
class MouseHandler : public QObject {
    Q_OBJECT

public:
    MouseHandler(QWidget* widget, QEvent::Type type, std::function<void()> handler)
        : QObject(widget), m_type(type), m_handler(std::move(handler)) {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == m_type && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            m_handler();
        return QObject::eventFilter(watched, event);
    }

private:
    QEvent::Type m_type;
    std::function<void()> m_handler;
};

template <typename W> W* placed(W* widget, const QString& name, QRect twips, const QString& tip) {
    widget->setObjectName(name);
    widget->setToolTip(tip);
    design::place(widget, twips.x(), twips.y(), twips.width(), twips.height());
    return widget;
}
} // namespace

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

QPushButton* pictureButton(QWidget* parent, const QString& name, const QPixmap& picture,
                           const QString& toolTip, QRect twips) {
    QPushButton* b = button(parent, name, QString(), twips, toolTip);
    b->setIcon(picture);
    b->setIconSize(b->size() * 3 / 4);
    b->setAccessibleName(toolTip);
    return b;
}

QCheckBox* checkBox(QWidget* parent, const QString& name, const QString& text, QRect twips,
                    const QString& toolTip) {
    return placed(new QCheckBox(text, parent), name, twips, toolTip);
}

QComboBox* comboBox(QWidget* parent, const QString& name, const QStringList& entries, QRect twips,
                    const QString& toolTip) {
    auto* box = placed(new QComboBox(parent), name, twips, toolTip);
    box->addItems(entries);
    return box;
}

QLineEdit* textBox(QWidget* parent, const QString& name, QRect twips, const QString& toolTip) {
    return placed(new QLineEdit(parent), name, twips, toolTip);
}

QPlainTextEdit* textArea(QWidget* parent, const QString& name, const QString& spoken, QRect twips,
                         bool readOnly) {
    auto* box = placed(new QPlainTextEdit(parent), name, twips, {});
    box->setAccessibleName(spoken);
    box->setReadOnly(readOnly);
    return box;
}

QListWidget* listBox(QWidget* parent, const QString& name, const QString& spoken, QRect twips,
                     const QString& toolTip) {
    auto* list = placed(new QListWidget(parent), name, twips, toolTip);
    list->setAccessibleName(spoken);
    return list;
}

QFrame* section(QWidget* parent, const QString& name, const QString& spoken, QRect twips) {
    auto* frame = placed(new QFrame(parent), name, twips, {});
    frame->setAccessibleName(spoken);
    return frame;
}

void onClick(QWidget* widget, std::function<void()> handler) {
    new MouseHandler(widget, QEvent::MouseButtonPress, std::move(handler));
}

void onDoubleClick(QWidget* widget, std::function<void()> handler) {
    new MouseHandler(widget, QEvent::MouseButtonDblClick, std::move(handler));
}

} // namespace tlm::controls

#include "controls.moc"
