// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/shell.h"

#include "platform/messagebox.h"

#include <QDesktopServices>
#include <QUrl>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace tlm::shell {

void open(const QString& target) {
    if (msgbox::autoAnswer()) {
        std::fputs((u"Öffnen: "_s + target + u'\n').toLocal8Bit().constData(), stderr);
        std::fflush(stderr);
        return;
    }
    const QUrl url = target.contains(u"://"_s) || target.startsWith(u"mailto:"_s)
                         ? QUrl(target)
                         : QUrl::fromLocalFile(target);
    QDesktopServices::openUrl(url);
}

} // namespace tlm::shell
