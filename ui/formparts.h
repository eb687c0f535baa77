// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small pieces that the windows build their forms from.
#include "ui/pictures.h"

#include <QRect>
#include <QString>

class QCheckBox;
class QLabel;
class QListWidget;
class QWidget;

namespace tlm::formparts {

// A picture at the windows' image size (480 twips).
QPixmap pic(pictures::Kind kind);

// A label that names a control: it becomes the control's buddy, and spoken
// its accessible name.
void names(QLabel* label, QWidget* control, const QString& spoken);

// A check box without caption under its column label ("ein- gehend"). A
// column is ColumnWidth wide; columns side by side lie ColumnStep apart, so
// that their captions keep room between them.
constexpr int ColumnWidth = 780;
constexpr int ColumnStep = 840;
QCheckBox* columnBox(QWidget* parent, const QString& labelName, const QString& caption,
                     const QString& name, int left, int top, const QString& spoken);

// Selects a text box's whole text whenever it takes the focus.
void selectAllOnFocus(QWidget* box);

// Shrinks a list to the whole rows that fit its height, so that no row
// shows cut in half.
void showWholeRows(QListWidget* list);

} // namespace tlm::formparts
