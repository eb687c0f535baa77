// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gui.h"

#include "platform/qtnotices.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <QtGlobal>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace tlm::gui {
namespace {
bool& headlessFlag() {
    static bool flag = false;
    return flag;
}
} // namespace

void prepareEnvironment() {
    filterPlatformNotices();
    // Without TZ the C library looks at /etc/localtime again for every local
    // time it computes (an index build converts one per contact); naming the
    // file lets it read the file once. An empty TZ means UTC and stays.
    if (!qEnvironmentVariableIsSet("TZ") && ::access("/etc/localtime", R_OK) == 0)
        qputenv("TZ", ":/etc/localtime");
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

bool loadQtTranslation() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return false;
    const QString name = u"qtbase_de"_s;
    if (app->findChild<QTranslator*>(name, Qt::FindDirectChildrenOnly))
        return true;
    auto* translator = new QTranslator(app);
    translator->setObjectName(name);
    if (!translator->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

} // namespace tlm::gui
