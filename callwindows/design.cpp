// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "callwindows/design.h"

#include "core/settings.h"

namespace tlm::design {

QColor colourSetting(const QString& key) {
    const SettingKey* k = findSettingKey(key);
    const int fallback = k && k->callDefault ? QString::fromUtf16(k->callDefault).toInt() : 0;
    return fromWindowsColour(readSettingInt(key, fallback));
}

} // namespace tlm::design
