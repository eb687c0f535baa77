// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/environment.h"

#include "core/log.h"
#include "core/settings.h"
#include "numbers/indexfile.h"
#include "outlook/application.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/peversion.h"
#include "platform/registry.h"
#include "platform/texts.h"

#include <QFile>
#include <QSysInfo>
#include <utility>

namespace tlm {
namespace {
using registry::Root;

// Where the registry names no Outlook, the local PIM store stands in for it
// with the version it reports; a store that cannot be opened now is reported
// later, when the program attaches to it.
QString localStoreVersion(Environment& env) {
    try {
        env.localStore = outlook::attach();
        return env.localStore->Version();
    } catch (const Error&) {
        return QStringLiteral("16.0.0.0");
    }
}

QString prettyOsName() {
    QFile f(QStringLiteral("/etc/os-release"));
    if (f.open(QIODevice::ReadOnly)) {
        while (!f.atEnd()) {
            const QString line = QString::fromUtf8(f.readLine()).trimmed();
            if (line.startsWith(QStringLiteral("PRETTY_NAME="))) {
                QString value = line.mid(12);
                value.remove(QLatin1Char('"'));
                return value;
            }
        }
    }
    return QSysInfo::prettyProductName();
}

QString systemLine() {
    const QString key = QStringLiteral("Software\\Microsoft\\Windows NT\\CurrentVersion");
    const QString product =
        registry::fncRegValue(Root::LocalMachine, key, QStringLiteral("ProductName")).toString();
    const QString bitness =
        QSysInfo::WordSize == 64 ? QStringLiteral("(64-bit)") : QStringLiteral("(32-bit)");
    if (product.isEmpty())
        return prettyOsName() + QLatin1Char(' ') + bitness;
    const QString csd =
        registry::fncRegValue(Root::LocalMachine, key, QStringLiteral("CSDVersion")).toString();
    return product + QLatin1Char(' ') + csd + QLatin1Char(' ') + bitness;
}

void setOutlook(Environment& env, const QString& version, const QString& bitness) {
    env.outlookVersion = version;
    if (!version.isEmpty()) {
        env.outlookMajor = version.section(QLatin1Char('.'), 0, 0).toInt();
        env.outlookCompatible = env.outlookMajor >= 15;
    }
    env.outlookVersionText = QStringLiteral("Outlook ") + outlookVersionName(env.outlookMajor) +
                             QStringLiteral(" (") + bitness + QStringLiteral(")  Build: ") +
                             version;
}
} // namespace

QString outlookVersionName(int major) {
    if (major >= 17)
        return QStringLiteral(">2021");
    switch (major) {
    case 16:
        return QStringLiteral("2016/2019/2021");
    case 15:
        return QStringLiteral("2013");
    case 14:
        return QStringLiteral("2010");
    case 12:
        return QStringLiteral("2007");
    default:
        return QString();
    }
}

QString dashboardFolderFrom(const QString& defaultIcon) {
    QString value = defaultIcon;
    value.remove(QLatin1Char('"'));
    const qsizetype at = value.indexOf(QStringLiteral("ctimon.exe"));
    // The separator in front of the file name goes too; without the file name
    // (or with nothing before it) the value stays as it is.
    return at >= 1 ? value.left(at - 1) : value;
}

void setUpEnvironment(Environment& env, Log& log) {
    env.programVersion = QStringLiteral("%1.%2.%3")
                             .arg(TM_VERSION_MAJOR)
                             .arg(TM_VERSION_MINOR)
                             .arg(TM_VERSION_PATCH, 4, 10, QLatin1Char('0'));
    env.programVersionDisplay = QStringLiteral("%1.%2 (Build %3)")
                                    .arg(TM_VERSION_MAJOR)
                                    .arg(TM_VERSION_MINOR)
                                    .arg(TM_VERSION_PATCH, 4, 10, QLatin1Char('0'));
    env.programFolder = paths::programFolder();
    ignoreErrors([&] {
        QString folder = env.programFolder;
        folder.chop(1);
        saveSetting(keys::ProgramPath, folder);
    });
    env.workFolder = paths::workFolder();
    files::ensureFolder(env.workFolder);
    ignoreErrors([&] { saveSetting(keys::LastRun, texts::dateTime(clock::now())); });
    env.indexFile = env.workFolder + indexFileName(clock::today());
    log.subLog(programStartLine(), 10000);

    const QString icon =
        registry::fncRegValue(Root::LocalMachine,
                              QStringLiteral("Software\\Classes\\.dashboard-account\\DefaultIcon"),
                              QString())
            .toString();
    env.dashboardFolder = dashboardFolderFrom(icon);
    ignoreErrors([&] { saveSetting(keys::ClientDashboard, env.dashboardFolder); });
    env.dashboard = !env.dashboardFolder.isEmpty();
}

void detectOutlook(Environment& env) {
    const registry::Value path = registry::fncRegValue(
        Root::LocalMachine,
        QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Outlook.exe"),
        QStringLiteral("Path"));
    if (path.isEmpty()) {
        setOutlook(env, localStoreVersion(env), QStringLiteral("64-bit"));
        return;
    }
    const QString folder = path.toString();
    const QString version =
        fncFileVersion(paths::join(folder, QStringLiteral("Outlook.exe")), true);
    const QString bitness = folder.contains(QStringLiteral("x86")) ? QStringLiteral("32-bit")
                                                                   : QStringLiteral("64-bit");
    setOutlook(env, version, bitness);
}

outlook::ApplicationPtr attachOutlookOnce(Environment& env) {
    if (outlook::ApplicationPtr kept = std::exchange(env.localStore, nullptr))
        return kept;
    return outlook::attach();
}

void readScreens(Environment& env) {
    env.workArea = screens::workArea();
    for (const screens::Monitor& m : screens::monitors()) {
        const int n = m.primary ? 2 : 1;
        saveSetting(keys::monitorWidth(n), QString::number(m.rect.width));
        saveSetting(keys::monitorHeight(n), QString::number(m.rect.height));
    }
}

QString fncVersionText(const Environment& env) {
    return QStringLiteral("Tellmarin - Version ") + env.programVersion + QLatin1Char('\r') +
           systemLine() + QLatin1Char('\r') + QStringLiteral("Microsoft ") + env.outlookVersionText;
}

QString titleTimeStamp() {
    return QStringLiteral(" [") + clock::now().toString(QStringLiteral("HH:mm''ss")) +
           QLatin1Char(']');
}

} // namespace tlm
