// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/testenv.h"

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/registry.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace tlm::test {
namespace {
// Below the temporary folder the process started with: each TestEnv points
// TMPDIR into its own folder, which is gone once that TestEnv ends.
QString folderTemplate() {
    static const QString base = QDir::tempPath();
    return base + QStringLiteral("/tellmarin-test-XXXXXX");
}
} // namespace

TestEnv::TestEnv() : m_dir(folderTemplate()) {
    const QString base = root();
    QDir().mkpath(base + QStringLiteral("temp"));
    QDir().mkpath(base + QStringLiteral("config/Orvensoft"));
    QDir().mkpath(base + QStringLiteral("data"));
    qputenv("TEMP", (base + QStringLiteral("temp")).toUtf8());
    qputenv("TMPDIR", (base + QStringLiteral("temp")).toUtf8());
    qputenv("XDG_CONFIG_HOME", (base + QStringLiteral("config")).toUtf8());
    qputenv("XDG_DATA_HOME", (base + QStringLiteral("data")).toUtf8());
    qputenv("TELLMARIN_PIM", pimPath().toUtf8());
    qputenv("USERNAME", "tester");
    qunsetenv("TELLMARIN_NOW");
    QDir().mkpath(workFolder());
    // The desktop folder (settings backup) lies in the test's folder too.
    QFile dirs(base + QStringLiteral("config/user-dirs.dirs"));
    if (dirs.open(QIODevice::WriteOnly))
        dirs.write("XDG_DESKTOP_DIR=\"" + (base + QStringLiteral("Desktop")).toUtf8() + "\"\n");
    clock::setFixed(std::nullopt);
    paths::setProgramFolder(QString());
    registry::reload();
}

TestEnv::~TestEnv() {
    clock::setFixed(std::nullopt);
    paths::setProgramFolder(QString());
    registry::reload();
}

QString TestEnv::root() const {
    return m_dir.path() + QLatin1Char('/');
}
QString TestEnv::workFolder() const {
    return root() + QStringLiteral("temp/Tellmarin/");
}
QString TestEnv::configFolder() const {
    return root() + QStringLiteral("config/Orvensoft/");
}
QString TestEnv::pimPath() const {
    return root() + QStringLiteral("data/pim.sqlite");
}

void TestEnv::writeRegistry(const QString& regText) const {
    QFile f(configFolder() + QStringLiteral("registry.reg"));
    if (f.open(QIODevice::WriteOnly))
        f.write(regText.toUtf8());
    f.close();
    registry::reload();
}

QByteArray readBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

QByteArray maskDates(QByteArray text) {
    QString s = QString::fromUtf8(text);
    static const QRegularExpression dt(
        QStringLiteral("\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d"));
    static const QRegularExpression d(QStringLiteral("\\d\\d\\.\\d\\d\\.\\d{4}"));
    static const QRegularExpression t(QStringLiteral("\\d\\d:\\d\\d:\\d\\d"));
    s.replace(dt, QStringLiteral("<DATETIME>"));
    s.replace(d, QStringLiteral("<DATE>"));
    s.replace(t, QStringLiteral("<TIME>"));
    return s.toUtf8();
}

} // namespace tlm::test
