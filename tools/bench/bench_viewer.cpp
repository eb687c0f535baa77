// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Benchmark of tellmarin-viewer: the delay from a process recording an open
// inspector to the viewer showing its window (median and worst of 50), and
// the viewer's CPU use while nothing changes, with a store of many contacts.
// Usage: bench_viewer [contacts] (default 100000); runs offscreen.
#include "outlook/application.h"
#include "store/pimstore.h"
#include "store/storeimpl.h"
#include "viewer/viewer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {
double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

template <typename Done> double waitMs(const Done& done) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::usleep(500);
    }
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("TELLMARIN_AUTOANSWER", "1");
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 100000;
    QTemporaryDir dir;
    const QString path = dir.path() + u"/bench.sqlite"_s;
    tlm::pim::Store writer(path);
    const QString folder = writer.defaultFolder(tlm::outlook::olFolderContacts).entryId;
    QStringList ids;
    writer.transaction([&] {
        for (int i = 0; i < count; ++i) {
            tlm::pim::ItemRecord r;
            r.properties.insert(u"LastName"_s, QString(u"Nachname"_s + QString::number(i)));
            r.properties.insert(u"BusinessTelephoneNumber"_s,
                                QString(u"+49 30 "_s + QString::number(1000000 + i)));
            ids << writer.addItem(folder, r);
        }
    });

    QElapsedTimer start;
    start.start();
    tlm::viewer::Viewer viewer(path);
    const double openMs = static_cast<double>(start.nsecsElapsed()) / 1e6;

    QList<double> delays;
    for (int i = 0; i < 50; ++i) {
        const QString id = ids[(i * 7919) % ids.size()];
        writer.impl().setInspector(id, QString(), {true, true, 2, 10, 10, 400, 300});
        delays << waitMs([&] { return viewer.inspectorWindow(id) != nullptr; });
        writer.closeInspector(id);
        waitMs([&] { return viewer.inspectorWindow(id) == nullptr; });
        // Let the main window's refresh of the closing end, and record the
        // next inspector at another point of the viewer's polling period.
        QElapsedTimer settle;
        settle.start();
        waitMs([&, pause = 400 + (i * 37) % 100] { return settle.elapsed() >= pause; });
    }
    std::sort(delays.begin(), delays.end());

    QElapsedTimer quiet;
    quiet.start();
    waitMs([&] { return quiet.elapsed() >= 500; });
    const double cpuBefore = cpuSeconds();
    QElapsedTimer idle;
    idle.start();
    QTimer::singleShot(5000, &app, &QCoreApplication::quit);
    app.exec(); // only the viewer's own timer runs
    const double cpu = cpuSeconds() - cpuBefore;
    std::printf("%d contacts: viewer open %.0f ms; window shown after median %.1f ms, worst %.1f "
                "ms (50 inspectors); idle CPU %.2f %% over %.1f s\n",
                count, openMs, delays[delays.size() / 2], delays.back(),
                100.0 * cpu / (static_cast<double>(idle.elapsed()) / 1000.0),
                static_cast<double>(idle.elapsed()) / 1000.0);
    return 0;
}
