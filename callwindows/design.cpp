#include "callwindows/design.h"

#include "core/settings.h"

namespace tlm::design {

QColor fromWindowsColour(int colour) {
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

QColor colourSetting(const QString& key) {
    const SettingKey* k = findSettingKey(key);
    const int fallback = k && k->callDefault ? QString::fromUtf16(k->callDefault).toInt() : 0;
    return fromWindowsColour(readSettingInt(key, fallback));
}

} // namespace tlm::design
