// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/colourbox.h"

#include "core/environment.h"
#include "core/settings.h"
#include "platform/error.h"
#include "platform/messagebox.h"
#include "platform/syscolour.h"
#include "ui/controls.h"
#include "ui/formparts.h"

#include <QLabel>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace tlm {
ColourBox::ColourBox(QWidget* parent, const QString& name, const QString& partsName,
                     const QString& label, int defaultValue, int left, int top)
    : QObject(parent), m_label(label), m_default(defaultValue) {
    QLabel* caption =
        controls::label(parent, u"lbl"_s + name.mid(3), label, QRect(left, top + 40, 1900, 260));
    m_box = controls::textBox(parent, name, QRect(left + 1900, top, 1100, 330));
    formparts::names(caption, m_box, label);
    formparts::selectAllOnFocus(m_box);
    connect(m_box, &QLineEdit::editingFinished, this, [this] { leave(); });
    static const QString partNames[] = {u"Rot"_s, u"Grün"_s, u"Blau"_s};
    for (int i = 0; i < 3; ++i) {
        m_parts[i] = controls::textBox(parent, partsName + u'_' + QString::number(i + 1),
                                       QRect(left + 3100 + i * 560, top, 520, 330));
        m_parts[i]->setAccessibleName(label + u' ' + partNames[i]);
        formparts::selectAllOnFocus(m_parts[i]);
        connect(m_parts[i], &QLineEdit::textEdited, this, [this] { partChanged(); });
    }
}

void ColourBox::leave() {
    if (m_box->text().trimmed().isEmpty())
        m_box->setText(QString::number(m_default));
    const auto value = integerOf(m_box->text());
    if (!value) {
        msgbox::show(m_label + u": Ungültiger Farbcode!"_s, msgbox::Buttons::Ok,
                     msgbox::Icon::Critical, u"Tellmarin - Achtung"_s + titleTimeStamp());
        return;
    }
    const int colour = syscolour::resolve(*value);
    if (applied)
        applied(colour);
    m_updating = true;
    m_parts[0]->setText(QString::number(colour & 0xFF));
    m_parts[1]->setText(QString::number((colour & 0xFF00) >> 8));
    m_parts[2]->setText(QString::number((colour & 0xFF0000) >> 16));
    m_updating = false;
}

void ColourBox::setValue(int value) {
    m_box->setText(QString::number(value));
    leave();
}

void ColourBox::partChanged() {
    if (m_updating)
        return;
    int rgb[3];
    for (int i = 0; i < 3; ++i) {
        const int v = static_cast<int>(integerOf(m_parts[i]->text()).value_or(0));
        rgb[i] = qBound(0, v, 255);
        if (v != rgb[i])
            m_parts[i]->setText(QString::number(rgb[i]));
    }
    m_box->setText(QString::number(rgb[0] + rgb[1] * 256 + rgb[2] * 65536));
    leave();
}

std::optional<int> ColourBox::storedValue() const {
    if (m_box->text().trimmed().isEmpty())
        return m_default;
    const auto value = integerOf(m_box->text());
    if (!value)
        return std::nullopt;
    return static_cast<int>(*value);
}

} // namespace tlm
