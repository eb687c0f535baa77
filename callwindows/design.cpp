// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "callwindows/design.h"

#include "core/settings.h"

namespace tlm::design {

QColor colourSetting(keys::Key key) {
    const SettingKey& k = KeyName(key).entry();
    const int fallback = k.callDefault ? QString::fromUtf16(k.callDefault).toInt() : 0;
    return fromWindowsColour(readSettingInt(key, fallback));
}

} // namespace tlm::design
