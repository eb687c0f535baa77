#pragma once
// The resident viewer: it follows the store as call-event processes change
// it (polling SQLite's data version, which costs nothing while nothing
// changes) and keeps one window per open inspector.
#include "outlook/pim/pimstore.h"

#include <QMap>
#include <QObject>
#include <memory>

class QTimer;

namespace tlm::viewer {

class ItemWindow;
class ViewerWindow;

class Viewer : public QObject {
public:
    explicit Viewer(const QString& storePath = {});
    ~Viewer() override;

    ViewerWindow& mainWindow() { return *m_main; }
    ItemWindow* inspectorWindow(const QString& entryId) const;
    QList<ItemWindow*> inspectorWindows() const;
    // Looks at the store now (the timer does it every 100 ms); the main
    // window follows 20 ms later.
    void poll();
    // Shows the windows and raises the active inspector.
    void show();

private:
    void sync();

    pim::Store m_store;
    std::unique_ptr<ViewerWindow> m_main;
    QMap<QString, ItemWindow*> m_windows;
    QTimer* m_timer;
    QTimer* m_refresh;
    qint64 m_version = -1;
    bool m_shown = false;
};

} // namespace tlm::viewer
