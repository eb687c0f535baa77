// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A colour of the second options window: a box with the Windows colour
// number (red in the low byte) and three boxes with its red, green and blue
// parts that follow each other.
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class QLineEdit;
class QWidget;

namespace tlm {

class ColourBox : public QObject {
    Q_OBJECT

public:
    // name: the colour box ("txtDesignfarbe"); partsName: the stem of its
    // part boxes ("txtRGB" gives txtRGB_1 .. txtRGB_3); label: its caption,
    // which the invalid-colour message names.
    ColourBox(QWidget* parent, const QString& name, const QString& partsName, const QString& label,
              int defaultValue, int left, int top);

    QLineEdit* box() const { return m_box; }
    QLineEdit* part(int i) const { return m_parts[i - 1]; }
    int defaultValue() const { return m_default; }

    // Leaving the box (and after every programmatic change).
    void leave();
    void setValue(int value);
    // The value to store: the box's number, its own default when empty, and
    // nothing for a text that is not a number.
    std::optional<int> storedValue() const;

    // Called with the colour after each accepted change.
    std::function<void(int)> applied;

private:
    void partChanged();

    QLineEdit* m_box;
    QLineEdit* m_parts[3];
    QString m_label;
    int m_default;
    bool m_updating = false;
};

} // namespace tlm
