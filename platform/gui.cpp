#include "platform/gui.h"

#include <QByteArray>
#include <QtGlobal>

namespace tlm::gui {
namespace {
bool& headlessFlag() {
    static bool flag = false;
    return flag;
}
} // namespace

void prepareEnvironment() {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty()) {
        const bool noDisplay = qEnvironmentVariableIsEmpty("DISPLAY") &&
                               qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
        if (noDisplay)
            qputenv("QT_QPA_PLATFORM", "offscreen");
        headlessFlag() = noDisplay;
        return;
    }
    // A platform without any screen chosen by the caller: a box shown there
    // would wait for ever, so it is answered at once as well.
    const qsizetype colon = platform.indexOf(':');
    const QByteArray name = colon < 0 ? platform : platform.first(colon);
    headlessFlag() = name == "offscreen" || name == "minimal";
}

bool headless() {
    return headlessFlag();
}

} // namespace tlm::gui
