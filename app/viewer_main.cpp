// tellmarin-viewer: plays Outlook's visible part where the local PIM store
// stands in for it: the store's folders and items, and a window for every
// inspector that the program opens.
#include "platform/gui.h"
#include "viewer/viewer.h"
#include "viewer/viewerwindow.h"

#include <QApplication>

int main(int argc, char** argv) {
    tlm::gui::prepareEnvironment();
    QApplication app(argc, argv);
    tlm::gui::loadQtTranslation();
    app.setQuitOnLastWindowClosed(false);
    tlm::viewer::Viewer viewer;
    viewer.show();
    QObject::connect(&app, &QApplication::lastWindowClosed, &app, [&] {
        if (!viewer.mainWindow().isVisible())
            app.quit();
    });
    return app.exec();
}
