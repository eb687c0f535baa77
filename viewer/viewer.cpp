#include "viewer/viewer.h"

#include "viewer/itemwindow.h"
#include "viewer/viewerwindow.h"

#include <QSet>
#include <QTimer>

namespace tlm::viewer {

Viewer::Viewer(const QString& storePath)
    : m_store(storePath), m_main(std::make_unique<ViewerWindow>(m_store)),
      m_timer(new QTimer(this)) {
    m_refresh = new QTimer(this);
    m_refresh->setSingleShot(true);
    m_refresh->setInterval(20);
    connect(m_refresh, &QTimer::timeout, this, [this] { m_main->refresh(); });
    m_timer->setInterval(100);
    connect(m_timer, &QTimer::timeout, this, &Viewer::poll);
    m_timer->start();
    poll();
}

Viewer::~Viewer() {
    const auto windows = m_windows;
    m_windows.clear();
    for (ItemWindow* w : windows) {
        w->disconnect(this);
        delete w;
    }
}

ItemWindow* Viewer::inspectorWindow(const QString& entryId) const {
    return m_windows.value(entryId);
}

QList<ItemWindow*> Viewer::inspectorWindows() const {
    return m_windows.values();
}

void Viewer::show() {
    m_shown = true;
    m_main->show();
    for (ItemWindow* w : std::as_const(m_windows))
        w->show();
    sync();
}

void Viewer::poll() {
    const qint64 version = m_store.dataVersion();
    if (version == m_version)
        return;
    m_version = version;
    sync(); // the windows first: they are what the user waits for; the main
            // window follows once they are painted
    m_refresh->start();
}

void Viewer::sync() {
    QSet<QString> open;
    ItemWindow* active = nullptr;
    for (const pim::Store::OpenInspector& i : m_store.openInspectors()) {
        if (!m_store.hasItem(i.entryId))
            continue;
        open.insert(i.entryId);
        ItemWindow* w = m_windows.value(i.entryId);
        if (!w) {
            w = new ItemWindow(m_store, i);
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
    // Windows whose inspector was closed elsewhere.
    for (auto it = m_windows.begin(); it != m_windows.end();) {
        if (!open.contains(it.key())) {
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
