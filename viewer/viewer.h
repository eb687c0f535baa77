// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The resident viewer: it follows the store as call-event processes and its
// own windows change it (it looks at SQLite's data version whenever the file
// system tells of a write to the store's files, or the poll that stands in
// for such notices says so), keeps one window per open inspector, and
// watches the store's file: one deleted is reported, one replaced by another
// file is opened anew. It syncs the store's server accounts (SyncScheduler says
// when, SyncWorker does it off the window thread) and adds accounts through
// the account dialog.
#include "platform/files.h"
#include "store/pimstore.h"
#include "viewer/storewatcher.h"
#include "viewer/syncscheduler.h"

#include <QMap>
#include <QObject>
#include <QPointer>
#include <array>
#include <memory>

class QTimer;

namespace tlm::viewer {

class AccountDialog;
class ItemWindow;
class SyncWorker;
class ViewerWindow;

class Viewer : public QObject {
    Q_OBJECT

public:
    // storePath names an existing store; it is never created here.
    explicit Viewer(const QString& storePath, SyncScheduler::Intervals syncIntervals = {},
                    StoreWatcher::Settings watch = {});
    ~Viewer() override;

    ViewerWindow& mainWindow() { return *m_main; }
    ItemWindow* inspectorWindow(const QString& entryId) const;
    QList<ItemWindow*> inspectorWindows() const;
    // Looks at the file and the store now (the store's watcher says when);
    // the main window follows within 20 ms.
    void look();
    // The same, and the main window's refresh at once.
    void catchUp();
    // Shows the windows and raises the active inspector.
    void show();
    // Brings the main window to the front (a second start of the viewer).
    void raise();
    // Opens the account dialog (the menu entry "Konto hinzufügen…"); the
    // open one while it is open.
    AccountDialog* addAccount();
    const SyncScheduler& syncScheduler() const { return *m_scheduler; }
    const StoreWatcher& storeWatcher() const { return *m_watcher; }

Q_SIGNALS:
    // A change of the store or its file was taken in: the inspectors' windows
    // follow it already, the main window within 20 ms.
    void storeChanged();
    // A sync of the accounts (or its check for changes) has ended.
    void synced();
    // The account dialog's account was added, or refused (the dialog shows why).
    void accountAdded(const QString& name);
    void accountRefused(const QString& message);

private:
    bool checkFile();
    void openStore();
    void dropWindows();
    void sync();
    QPoint cascadePosition() const;

    QString m_path;
    files::Identity m_identity;
    std::array<qint64, 4> m_refused{}; // the file's stamp when it could not be opened
    std::unique_ptr<pim::Store> m_store; // none while the file is gone
    std::unique_ptr<ViewerWindow> m_main;
    QMap<QString, ItemWindow*> m_windows;
    StoreWatcher* m_watcher = nullptr;
    QTimer* m_refresh;
    qint64 m_version = -1;
    bool m_shown = false;
    std::unique_ptr<SyncWorker> m_worker;
    SyncScheduler* m_scheduler;
    QPointer<AccountDialog> m_accountDialog;
};

} // namespace tlm::viewer
