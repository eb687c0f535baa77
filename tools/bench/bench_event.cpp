// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Benchmark of a whole call event as the CTI client starts it: a "called"
// event of tellmarin with a fresh index beside a bare QApplication and a bare
// QCoreApplication process, run in turns; then the index build of a call
// event beside the sqlite3 shell reading the same rows. Wall time and peak
// memory (the finished child's resource usage) as medians, and their ratios,
// for each store size.
// Usage: bench_event [contacts ...] (default 10000 100000 1000000); BENCH_KEEP=1
// keeps each store and work folder for a profiler.
#include "tools/bench/common/benchdata.h"
#include "tools/bench/common/child.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

using namespace Qt::StringLiterals;
using namespace tlm::bench;

namespace {
struct Figures {
    QList<double> ms, mib;
    void add(const Usage& u) {
        ms << u.ms;
        mib << u.mib;
    }
    double time() const { return median(ms); }
    double memory() const { return median(mib); }
};

void print(const char* what, const Figures& f) {
    std::printf("  %-34s %9.1f ms %7.1f MiB\n", what, f.time(), f.memory());
}

void measure(int contacts) {
    QTemporaryDir dir;
    // BENCH_KEEP=1 keeps the environment for a profiler.
    dir.setAutoRemove(qEnvironmentVariableIsEmpty("BENCH_KEEP"));
    const QString root = dir.path();
    useEnvironment(root);
    QElapsedTimer t;
    t.start();
    const int numbers = fillContacts(contacts);
    std::printf("%d contacts, %d numbers (store made in %.0f s)\n", contacts, numbers,
                millis(t.nsecsElapsed()) / 1000.0);

    const QString bin = QCoreApplication::applicationDirPath();
    const QString tellmarin = bin + u"/tellmarin"_s;
    const QStringList called = calledEvent(indexedNumberOf(contacts / 2, 0), u"BENCH-1"_s);
    runChild(tellmarin, called); // builds the index of the day

    Figures event, gui, core;
    for (int i = 0; i < 15; ++i) {
        event.add(runChild(tellmarin, called));
        gui.add(runChild(bin + u"/bench_bare_gui"_s, {u"-platform"_s, u"offscreen"_s}));
        core.add(runChild(bin + u"/bench_bare_core"_s, {}));
    }
    print("called event, fresh index", event);
    print("bare QApplication (offscreen)", gui);
    print("bare QCoreApplication", core);
    std::printf("  event / QApplication: %.2fx time, %+.1f MiB; event / QCoreApplication: "
                "%.2fx time\n",
                event.time() / gui.time(), event.memory() - gui.memory(),
                event.time() / core.time());

    const QString store = root + u"/data/pim.sqlite"_s;
    const QString query = u"SELECT entry_id, hex(props) FROM items WHERE unsaved = 0 "
                          "ORDER BY seq"_s;
    Figures build, shell;
    const int rounds = contacts >= 1000000 ? 3 : 7;
    for (int i = 0; i < rounds; ++i) {
        QFile::remove(indexFile(root));
        build.add(runChild(tellmarin, called));
        shell.add(runChild(u"sqlite3"_s, {store, query}));
    }
    print("index build in a called event", build);
    print("sqlite3 shell reading the rows", shell);
    std::printf("  build / sqlite3: %.2fx time; build memory %.1f MiB\n\n",
                build.time() / shell.time(), build.memory());
    if (!dir.autoRemove())
        std::printf("  environment kept in %s\n", qPrintable(root));
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QList<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes << QString::fromLatin1(argv[i]).toInt();
    if (sizes.isEmpty())
        sizes = {10000, 100000, 1000000};
    for (int contacts : sizes)
        measure(contacts);
    return 0;
}
