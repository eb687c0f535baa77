// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qtnotices.h"

using namespace Qt::StringLiterals;

namespace tlm::gui {
namespace {
QtMessageHandler& previousHandler() {
    static QtMessageHandler handler = nullptr;
    return handler;
}

void dropPlatformNotices(QtMsgType type, const QMessageLogContext& context,
                         const QString& message) {
    if (isPlatformNotice(type, message))
        return;
    if (QtMessageHandler previous = previousHandler())
        previous(type, context, message);
}
} // namespace

bool isPlatformNotice(QtMsgType type, const QString& message) {
    // QPlatformWindow's defaults for raise(), lower(), setParent, window
    // opacity, masks, size hints and grabs all begin like this.
    return (type == QtDebugMsg || type == QtInfoMsg || type == QtWarningMsg) &&
           message.startsWith(u"This plugin does not support "_s);
}

void filterPlatformNotices() {
    const QtMessageHandler previous = qInstallMessageHandler(dropPlatformNotices);
    if (previous != dropPlatformNotices)
        previousHandler() = previous;
}

} // namespace tlm::gui
