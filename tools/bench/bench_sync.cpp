// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Benchmark of the server sync against a local Radicale, beside vdirsyncer
// on the same address book: the first sync (a fresh store and add-account;
// vdirsyncer into an empty folder of files) and a sync with nothing changed,
// as medians. Then a "called" event of tellmarin on the store alone and
// while another process runs first syncs into the same store, one after
// another, as the viewer runs them (in a thread at idle priority).
// Usage: bench_sync [--quick] [contacts ...] (default 2000); --quick runs
// 200 contacts once with few call events, for scripts. BENCH_KEEP=1 keeps
// the server's folder and the stores.
#include "store/pimstore.h"
#include "sync/accounts.h"
#include "tests/support/davserver.h"
#include "tools/bench/common/benchdata.h"
#include "tools/bench/common/child.h"
#include "tools/bench/sync/davbench.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <cstdio>

using namespace Qt::StringLiterals;
using namespace tlm;
using namespace tlm::bench;

namespace {

const QString User = u"u"_s;
const QString Password = u"secret"_s;
constexpr int CallContacts = 10000; // in the store's own contact folder

struct Run {
    QList<int> sizes;
    int rounds = 0;      // 0: by size
    int callSamples = 15;
};

sync::NewAccount accountOn(const QUrl& server, const QString& name) {
    return {server, User, Password, name, false};
}

int moved(const sync::SyncRun& run) {
    int n = 0;
    for (const sync::FolderReport& r : run.folders)
        n += r.pulledNew + r.pulledChanged + r.pulledRemoved + r.pushedNew + r.pushedChanged +
             r.pushedRemoved;
    return n;
}

struct Times {
    QList<double> first, unchanged;
};

// Ours: a fresh store gets the account (discovery and first sync), then
// syncs again with nothing changed.
void syncOurs(const QUrl& server, const QString& storePath, int contacts, Times& times) {
    pim::Store store(storePath);
    QElapsedTimer t;
    t.start();
    sync::SyncRun first;
    sync::addAccount(store, accountOn(server, u"Bench"_s), &first);
    times.first << millis(t.nsecsElapsed());
    t.restart();
    const sync::SyncRun again = sync::syncAccounts(store);
    times.unchanged << millis(t.nsecsElapsed());
    if (moved(first) != contacts || !again.ok() || moved(again) != 0)
        std::printf("  (our sync moved %d, then %d items%s)\n", moved(first), moved(again),
                    again.ok() ? "" : qPrintable(u", "_s + again.errors.join(u"; "_s)));
}

void syncVdirsyncer(Vdirsyncer& vdirsyncer, int contacts, Times& times) {
    vdirsyncer.reset();
    times.first << vdirsyncer.sync().ms;
    if (vdirsyncer.files() != contacts)
        std::printf("  (vdirsyncer wrote %d files)\n", vdirsyncer.files());
    times.unchanged << vdirsyncer.sync().ms;
}

void printRow(int contacts, const char* what, const QList<double>& ours,
              const QList<double>& theirs) {
    std::printf("%9d  %-10s %10.2f s %12.2f s %8.2fx\n", contacts, what, median(ours) / 1000,
                median(theirs) / 1000, median(ours) / median(theirs));
    std::fflush(stdout);
}

// Called events with and without a sync in another process, in turns: the
// syncing child is stopped for each event alone (after a moment for the
// server to finish its answer), so that other load on the machine meets
// both alike.
class CallEvents {
public:
    CallEvents(const QString& root, int contacts)
        : m_stop(root + u"/stop-sync"_s),
          m_event(calledEvent(indexedNumberOf(contacts / 2, 0), u"BENCH-1"_s)) {
        runChild(m_tellmarin, m_event); // builds the index of the day
    }

    struct Figures {
        QList<double> alone, duringSync;
    };

    // The child adds one account after another, each a first sync, until
    // told to stop; only events that ended while it ran count.
    Figures measure(const QUrl& server, int samples) {
        QFile::remove(m_stop);
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {u"--sync-child"_s, server.toString(), m_stop});
        child.waitForStarted(-1);
        const auto pid = static_cast<pid_t>(child.processId());
        QThread::msleep(500); // into the first sync
        Figures f;
        while (f.duringSync.size() < samples && !child.waitForFinished(0)) {
            ::kill(pid, SIGSTOP);
            QThread::msleep(300);
            f.alone << runChild(m_tellmarin, m_event).ms;
            ::kill(pid, SIGCONT);
            QThread::msleep(100);
            const double during = runChild(m_tellmarin, m_event).ms;
            if (!child.waitForFinished(0))
                f.duringSync << during;
        }
        QFile(m_stop).open(QIODevice::WriteOnly);
        child.waitForFinished(-1);
        return f;
    }

private:
    QString m_stop;
    QString m_tellmarin = QCoreApplication::applicationDirPath() + u"/tellmarin"_s;
    QStringList m_event;
};

// Syncs as the viewer does: in a thread of its own at idle priority, so
// that call events get the processor first.
int syncChild(const QUrl& server, const QString& stopFile) {
    std::unique_ptr<QThread> worker(QThread::create([&] {
        try {
            pim::Store store;
            for (int round = 1; !QFile::exists(stopFile); ++round)
                sync::addAccount(store, accountOn(server, u"Hintergrund %1"_s.arg(round)));
        } catch (const std::exception& e) {
            std::printf("  (the sync failed: %s)\n", e.what());
        }
    }));
    worker->start(QThread::IdlePriority);
    worker->wait();
    return 0;
}

void measure(int contacts, const Run& run) {
    QTemporaryDir dir;
    // BENCH_KEEP=1 keeps the server's folder and the stores for a profiler.
    dir.setAutoRemove(qEnvironmentVariableIsEmpty("BENCH_KEEP"));
    const QString root = dir.path();
    useEnvironment(root);
    seedRadicaleBook(root + u"/dav"_s, User, u"book"_s, contacts);
    test::DavServer server(test::DavServer::Kind::Radicale, root + u"/dav"_s,
                           {User, Password, QString(), false});
    const QUrl book = server.url(u"/u/book/"_s);
    warmRadicale(book, User, Password);

    Vdirsyncer vdirsyncer(root + u"/vdirsyncer"_s, book, User, Password);
    Times ours, theirs;
    const int rounds = run.rounds > 0 ? run.rounds : contacts >= 10000 ? 1 : 3;
    for (int i = 0; i < rounds; ++i) {
        syncOurs(server.url(), root + u"/ours-%1.sqlite"_s.arg(i), contacts, ours);
        syncVdirsyncer(vdirsyncer, contacts, theirs);
    }
    printRow(contacts, "first", ours.first, theirs.first);
    printRow(contacts, "no change", ours.unchanged, theirs.unchanged);

    fillContacts(CallContacts);
    CallEvents events(root, CallContacts);
    const CallEvents::Figures f = events.measure(server.url(), run.callSamples);
    std::printf("%9d  called event alone %.1f ms, during a sync %.1f ms (%+.1f%%; %lld pairs)\n",
                contacts, median(f.alone), median(f.duringSync),
                (median(f.duringSync) / median(f.alone) - 1) * 100,
                static_cast<long long>(f.duringSync.size()));
    if (!dir.autoRemove())
        std::printf("  environment kept in %s\n", qPrintable(root));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.size() == 3 && args[0] == u"--sync-child"_s)
        return syncChild(QUrl(args[1]), args[2]);
    if (!Vdirsyncer::installed()) {
        std::printf("vdirsyncer is not installed (scripts/install-deps.sh installs it)\n");
        return 1;
    }
    qunsetenv("DBUS_SESSION_BUS_ADDRESS"); // the password goes to the 0600 file
    Run run;
    if (args.removeAll(u"--quick"_s) > 0)
        run = {{200}, 1, 5};
    for (const QString& a : std::as_const(args))
        run.sizes << a.toInt();
    if (run.sizes.isEmpty())
        run.sizes = {2000};
    std::printf("%9s  %-10s %12s %14s %9s\n", "contacts", "sync", "ours", "vdirsyncer", "ratio");
    for (int contacts : std::as_const(run.sizes)) {
        try {
            measure(contacts, run);
        } catch (const std::exception& e) {
            std::printf("%9d  failed: %s\n", contacts, e.what());
        }
    }
    return 0;
}
