// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Controls of the program's windows placed in twips, with their object name
// and the accessible name a screen reader speaks (a picture speaks its tool
// tip).
#include <QPixmap>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace tlm::controls {

QLabel* label(QWidget* parent, const QString& name, const QString& text, QRect twips);
QLabel* image(QWidget* parent, const QString& name, const QPixmap& picture, const QString& toolTip,
              QRect twips);
QPushButton* button(QWidget* parent, const QString& name, const QString& text, QRect twips,
                    const QString& toolTip = {});

// A button showing a picture; its tool tip is its accessible name.
QPushButton* pictureButton(QWidget* parent, const QString& name, const QPixmap& picture,
                           const QString& toolTip, QRect twips);
QCheckBox* checkBox(QWidget* parent, const QString& name, const QString& text, QRect twips,
                    const QString& toolTip = {});
QComboBox* comboBox(QWidget* parent, const QString& name, const QStringList& entries, QRect twips,
                    const QString& toolTip = {});
QLineEdit* textBox(QWidget* parent, const QString& name, QRect twips, const QString& toolTip = {});
// A text of several lines, read-only unless said otherwise.
QPlainTextEdit* textArea(QWidget* parent, const QString& name, const QString& spoken, QRect twips,
                         bool readOnly = true);
QListWidget* listBox(QWidget* parent, const QString& name, const QString& spoken, QRect twips,
                     const QString& toolTip = {});
// A frame that holds a section of a window; spoken names the section.
QFrame* section(QWidget* parent, const QString& name, const QString& spoken, QRect twips);

// Runs handler when the widget is clicked (left button pressed) or double
// clicked; the widget's own handling goes on.
void onClick(QWidget* widget, std::function<void()> handler);
void onDoubleClick(QWidget* widget, std::function<void()> handler);

} // namespace tlm::controls
