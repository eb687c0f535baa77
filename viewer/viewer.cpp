// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/viewer.h"

#include "platform/clock.h"
#include "platform/error.h"
#include "platform/texts.h"
#include "viewer/accountdialog.h"
#include "viewer/itemwindow.h"
#include "viewer/syncworker.h"
#include "viewer/viewerwindow.h"

#include <QFileInfo>
#include <QSet>
#include <QTimer>
#include <array>

using namespace Qt::StringLiterals;

namespace tlm::viewer {
namespace {
// Windows the program gave no rectangle open this far apart, from the main
// window's corner on.
constexpr int CascadeStep = 32;
constexpr int CascadeSteps = 10;

// Size and modification time of the store's file and of its log.
std::array<qint64, 4> fileStamp(const QString& path) {
    const QFileInfo file(path);
    const QFileInfo log(path + u"-wal"_s);
    return {file.size(), file.lastModified().toMSecsSinceEpoch(), log.size(),
            log.exists() ? log.lastModified().toMSecsSinceEpoch() : 0};
}
} // namespace

Viewer::Viewer(const QString& storePath, SyncScheduler::Intervals syncIntervals,
               StoreWatcher::Settings watch)
    : m_path(storePath), m_main(std::make_unique<ViewerWindow>()),
      m_worker(std::make_unique<SyncWorker>(storePath)),
      m_scheduler(new SyncScheduler(syncIntervals, this)) {
    connect(m_scheduler, &SyncScheduler::due, m_worker.get(), &SyncWorker::sync);
    connect(m_worker.get(), &SyncWorker::synced, this, [this] {
        m_scheduler->finished();
        Q_EMIT synced();
    });
    connect(m_worker.get(), &SyncWorker::accountAdded, this, &Viewer::accountAdded);
    connect(m_worker.get(), &SyncWorker::accountRefused, this, &Viewer::accountRefused);
    connect(m_main.get(), &ViewerWindow::addAccountRequested, this, &Viewer::addAccount);
    connect(m_main.get(), &ViewerWindow::syncRequested, m_scheduler, &SyncScheduler::syncNow);
    m_refresh = new QTimer(this);
    m_refresh->setSingleShot(true);
    m_refresh->setInterval(20);
    connect(m_refresh, &QTimer::timeout, this, [this] { m_main->refresh(); });
    m_identity = files::identity(m_path);
    openStore();
    // Watched once the store is open: its write-ahead log is there then.
    m_watcher = new StoreWatcher(m_path, watch, this);
    connect(m_watcher, &StoreWatcher::look, this, &Viewer::look);
    look();
}

Viewer::~Viewer() {
    dropWindows();
}

ItemWindow* Viewer::inspectorWindow(const QString& entryId) const {
    return m_windows.value(entryId);
}

QList<ItemWindow*> Viewer::inspectorWindows() const {
    return m_windows.values();
}

void Viewer::show() {
    const bool first = !m_shown;
    m_shown = true;
    m_main->show();
    for (ItemWindow* w : std::as_const(m_windows))
        w->show();
    sync();
    if (first)
        m_scheduler->start(); // the accounts are synced from the first showing on
}

void Viewer::raise() {
    m_main->show();
    if (m_main->isMinimized())
        m_main->showNormal();
    m_main->raise();
    m_main->activateWindow();
}

void Viewer::look() {
    const bool fileChanged = checkFile();
    const qint64 version = m_store ? m_store->dataVersion() : -1;
    if (version == m_version && !fileChanged)
        return;
    m_version = version;
    if (m_store) {
        m_scheduler->storeChanged();
        sync(); // the windows first: they are what the user waits for; the
                // main window follows once they are painted
        // Not restarted by later changes: a stream of them still shows.
        if (!m_refresh->isActive())
            m_refresh->start();
    }
    Q_EMIT storeChanged();
}

void Viewer::catchUp() {
    look();
    if (m_refresh->isActive()) {
        m_refresh->stop();
        m_main->refresh();
    }
}

AccountDialog* Viewer::addAccount() {
    if (m_accountDialog) {
        m_accountDialog->raise();
        m_accountDialog->activateWindow();
        return m_accountDialog;
    }
    auto* dialog = new AccountDialog(m_main.get());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    m_accountDialog = dialog;
    connect(dialog, &AccountDialog::submitted, m_worker.get(), &SyncWorker::addAccount);
    connect(this, &Viewer::accountAdded, dialog, [dialog] {
        dialog->setBusy(false);
        dialog->accept();
    });
    connect(this, &Viewer::accountRefused, dialog, [dialog](const QString& message) {
        dialog->setBusy(false);
        dialog->showMessage(message);
    });
    dialog->open();
    return dialog;
}

// The file is known by its identity: a store moved or copied into its
// place is another file even when it looks the same. A file that could not
// be opened (one still being made, say) is tried again once it or its log
// changed; trying it, which may make and remove a log, is no such change.
// True when the viewer's store is another now (or none).
bool Viewer::checkFile() {
    const files::Identity now = files::identity(m_path);
    if (now == m_identity) {
        if (m_store || !now.exists || fileStamp(m_path) == m_refused)
            return false;
    } else {
        m_identity = now;
        if (!now.exists) {
            dropWindows();
            m_store.reset();
            m_main->setStore(nullptr);
            m_main->setStatus(u"Der PIM-Speicher ist gelöscht ("_s +
                              texts::time(clock::now().time()) + u"): "_s + m_path);
            return true;
        }
    }
    openStore();
    if (m_store)
        m_main->setStatus(u"Der PIM-Speicher wurde ersetzt und neu geöffnet ("_s +
                          texts::time(clock::now().time()) + u")."_s);
    return true;
}

void Viewer::openStore() {
    dropWindows();
    m_store.reset();
    m_version = -1;
    try {
        m_store = std::make_unique<pim::Store>(m_path, pim::Store::Create::Never);
    } catch (const Error& e) {
        m_refused = fileStamp(m_path);
        m_main->setStore(nullptr);
        m_main->setStatus(u"Der PIM-Speicher kann nicht geöffnet werden: "_s + e.description());
        return;
    }
    m_main->setStore(m_store.get());
}

// The windows of a store that is let go: nothing is asked or written, the
// file they belong to is gone.
void Viewer::dropWindows() {
    const auto windows = m_windows;
    m_windows.clear();
    for (ItemWindow* w : windows) {
        w->disconnect(this);
        delete w;
    }
}

QPoint Viewer::cascadePosition() const {
    int placed = 0;
    for (const ItemWindow* w : m_windows)
        if (w->unplaced())
            ++placed;
    const int step = CascadeStep * (1 + placed % CascadeSteps);
    return m_main->geometry().topLeft() + QPoint(step, step);
}

void Viewer::sync() {
    if (!m_store)
        return;
    QSet<QString> open;
    ItemWindow* active = nullptr;
    for (const pim::Store::OpenInspector& i : m_store->openInspectors()) {
        if (!m_store->hasItem(i.entryId))
            continue;
        open.insert(i.entryId);
        ItemWindow* w = m_windows.value(i.entryId);
        if (!w) {
            w = new ItemWindow(*m_store, i);
            if (w->unplaced())
                w->move(cascadePosition());
            m_windows.insert(i.entryId, w);
            connect(w, &QObject::destroyed, this, [this, id = i.entryId] { m_windows.remove(id); });
            if (m_shown)
                w->show();
        } else {
            w->follow(i);
        }
        if (i.state.active)
            active = w;
    }
    // Windows whose inspector was closed elsewhere; notes typed there are kept.
    for (auto it = m_windows.begin(); it != m_windows.end();) {
        if (!open.contains(it.key())) {
            if (m_store->hasItem(it.key()))
                it.value()->saveNotes();
            it.value()->disconnect(this);
            it.value()->deleteLater();
            it = m_windows.erase(it);
        } else {
            ++it;
        }
    }
    if (active && m_shown) {
        active->raise();
        active->activateWindow();
    }
}

} // namespace tlm::viewer
