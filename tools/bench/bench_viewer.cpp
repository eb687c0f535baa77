// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Benchmark of tellmarin-viewer with a store of many contacts, the viewer
// shown (offscreen). By default: the delay from a connection in this process
// recording an open inspector to the viewer's window for it painted (median
// and worst of 50), and the viewer's CPU use while nothing changes. With
// --end-to-end: the delay from starting a "called" event of tellmarin to
// the caller's contact painted in the viewer (median and worst of 20), for
// each store size.
// Usage: bench_viewer [contacts] (default 100000)
//        bench_viewer --end-to-end [contacts ...] (default 100000 1000000)
#include "core/settings.h"
#include "outlook/application.h"
#include "store/pimstore.h"
#include "store/storeimpl.h"
#include "tools/bench/common/benchdata.h"
#include "tools/bench/common/child.h"
#include "viewer/itemwindow.h"
#include "viewer/viewer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileSystemWatcher>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>

using namespace Qt::StringLiterals;
using namespace tlm::bench;

namespace {
double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

void reap(pid_t pid) {
    int status = 0;
    if (pid > 0)
        waitpid(pid, &status, 0);
}

// Runs the event loop until done() (or five seconds passed); waits for
// events without spinning, so a child process has the machine.
template <typename Done> void waitFor(const Done& done) {
    QElapsedTimer t;
    t.start();
    QTimer limit;
    limit.start(5000);
    while (!done() && t.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void pause(int ms) {
    QElapsedTimer t;
    t.start();
    QTimer end;
    end.start(ms);
    waitFor([&] { return t.elapsed() >= ms; });
}

// When the first inspector window painted since start() was painted, and
// when the last notice of the file system before it came in.
class PaintClock : public QObject {
public:
    explicit PaintClock(const tlm::viewer::Viewer& viewer) {
        qApp->installEventFilter(this);
        const auto* notices = viewer.storeWatcher().findChild<QFileSystemWatcher*>();
        const auto noticed = [this] {
            if (m_entryId.isEmpty())
                m_noticeMs = millis(m_clock.nsecsElapsed());
        };
        connect(notices, &QFileSystemWatcher::fileChanged, this, noticed);
        connect(notices, &QFileSystemWatcher::directoryChanged, this, noticed);
    }
    void start() {
        m_entryId.clear();
        m_noticeMs = 0;
        m_clock.start();
    }
    bool painted() const { return !m_entryId.isEmpty(); }
    QString entryId() const { return m_entryId; }
    double ms() const { return m_ms; }
    // From the notice to the paint: what the viewer itself took.
    double viewerMs() const { return m_ms - m_noticeMs; }

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Paint && m_entryId.isEmpty())
            if (const auto* w = qobject_cast<tlm::viewer::ItemWindow*>(o)) {
                m_ms = millis(m_clock.nsecsElapsed());
                m_entryId = w->entryId();
            }
        return false;
    }

private:
    QElapsedTimer m_clock;
    QString m_entryId;
    double m_ms = 0;
    double m_noticeMs = 0;
};

// Closes the window's inspector as the user would elsewhere and lets the
// viewer's main window catch up, so that the next round starts quiet.
void closeAndSettle(tlm::pim::Store& writer, tlm::viewer::Viewer& viewer, const QString& id,
                    int round) {
    writer.closeInspector(id);
    waitFor([&] { return viewer.inspectorWindow(id) == nullptr; });
    pause(300 + (round * 37) % 100);
}

QString summary(QList<double> delays) {
    if (delays.isEmpty())
        return u"none"_s;
    if (qEnvironmentVariableIsSet("BENCH_ALL"))
        for (double d : delays)
            std::printf("%.1f%c", d, &d == &delays.back() ? '\n' : ' ');
    std::sort(delays.begin(), delays.end());
    return u"median %1 ms, worst %2 ms of %3"_s.arg(delays[delays.size() / 2], 0, 'f', 1)
        .arg(delays.back(), 0, 'f', 1)
        .arg(delays.size());
}

void recordedToShown(int count) {
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
    const double openMs = millis(start.nsecsElapsed());
    viewer.show();
    pause(500);

    PaintClock clock(viewer);
    QList<double> delays, own;
    for (int i = 0; i < 50; ++i) {
        const QString id = ids[(i * 7919) % ids.size()];
        clock.start();
        writer.impl().setInspector(id, QString(), {true, true, 2, 10, 10, 400, 300});
        waitFor([&] { return clock.painted(); });
        delays << clock.ms();
        own << clock.viewerMs();
        closeAndSettle(writer, viewer, id, i);
    }

    pause(500);
    const double cpuBefore = cpuSeconds();
    QElapsedTimer idle;
    idle.start();
    QTimer::singleShot(5000, qApp, &QCoreApplication::quit);
    qApp->exec(); // only the viewer's own timers and notices run
    const double cpu = cpuSeconds() - cpuBefore;
    const double idleSeconds = static_cast<double>(idle.elapsed()) / 1000.0;
    std::printf("%d contacts: viewer open %.0f ms; inspector recorded to window painted: %s "
                "(from the notice: %s); idle CPU %.2f %% over %.1f s (%s)\n",
                count, openMs, qPrintable(summary(delays)), qPrintable(summary(own)),
                100.0 * cpu / idleSeconds, idleSeconds,
                viewer.storeWatcher().watching() ? "notices" : "poll");
}

void endToEnd(int contacts) {
    QTemporaryDir dir;
    const QString root = dir.path();
    useEnvironment(root);
    tlm::saveSetting(tlm::keys::InContact, u"1"_s);
    QElapsedTimer t;
    t.start();
    fillContacts(contacts);
    const double fillSeconds = millis(t.nsecsElapsed()) / 1000.0;
    const QString tellmarin = QCoreApplication::applicationDirPath() + u"/tellmarin"_s;
    const auto event = [&](int round) {
        return calledEvent(indexedNumberOf((contacts / 20) * (round % 20), 0),
                           u"BENCH-%1"_s.arg(round));
    };
    t.restart();
    reap(startChild(tellmarin, event(0))); // builds the index of the day
    const double indexSeconds = millis(t.nsecsElapsed()) / 1000.0;
    QList<double> alone; // the whole event, no viewer running
    for (int i = 1; i <= 20; ++i) {
        t.restart();
        reap(startChild(tellmarin, event(i)));
        alone << millis(t.nsecsElapsed());
    }

    const QString path = root + u"/data/pim.sqlite"_s;
    tlm::pim::Store writer(path, tlm::pim::Store::Create::Never);
    for (const tlm::pim::Store::OpenInspector& i : writer.openInspectors())
        writer.closeInspector(i.entryId);
    t.restart();
    tlm::viewer::Viewer viewer(path);
    viewer.show();
    const double openSeconds = millis(t.nsecsElapsed()) / 1000.0;
    pause(500);

    PaintClock clock(viewer);
    QList<double> delays, own;
    for (int i = 1; i <= 20; ++i) {
        clock.start();
        const pid_t called = startChild(tellmarin, event(20 + i));
        waitFor([&] { return clock.painted(); });
        reap(called);
        if (!clock.painted()) {
            std::printf("  round %d: no window within 5 s\n", i);
            continue;
        }
        delays << clock.ms();
        own << clock.viewerMs();
        closeAndSettle(writer, viewer, clock.entryId(), i);
    }
    std::printf("%d contacts (store made in %.0f s, index in %.1f s, viewer open in %.1f s): "
                "called started to contact painted: %s (from the notice: %s); the event "
                "alone, start to end: %s\n",
                contacts, fillSeconds, indexSeconds, openSeconds, qPrintable(summary(delays)),
                qPrintable(summary(own)), qPrintable(summary(alone)));
}
} // namespace

int main(int argc, char** argv) {
    // The offscreen platform's complaints about raising windows, hundreds.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("TELLMARIN_AUTOANSWER", "1");
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool whole = args.removeAll(u"--end-to-end"_s) > 0;
    QList<int> sizes;
    for (const QString& a : args)
        sizes << a.toInt();
    if (whole) {
        for (int contacts : sizes.isEmpty() ? QList<int>{100000, 1000000} : sizes)
            endToEnd(contacts);
    } else {
        recordedToShown(sizes.isEmpty() ? 100000 : sizes.front());
    }
    return 0;
}
