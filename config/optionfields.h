// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings an options window shows: one table per window of control,
// key and the way the control shows the value. The window loads and saves
// by walking its table, so the order of the table is the order in which the
// settings are written.
#include "core/settingkeys.h"

#include <QObject>
#include <stdexcept>

namespace tlm {

template <class Kind> struct OptionField {
    const char* control; // the control's object name
    keys::Key key;
    Kind kind; // the window's own kinds of control
};

// The window's control of a field. A table that names a control the window
// lacks is a fault of the program, not of the settings.
template <class T> T* fieldControl(const QObject* window, const char* name) {
    T* control = window->findChild<T*>(QString::fromLatin1(name));
    if (!control)
        throw std::logic_error(std::string("no control for a setting: ") + name);
    return control;
}

} // namespace tlm
