// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// tellmarin-viewer: plays Outlook's visible part where the local PIM store
// stands in for it: the store's folders and items, and a window for every
// inspector that the program opens. One viewer per store and session.
#include "platform/error.h"
#include "platform/files.h"
#include "platform/gui.h"
#include "platform/messagebox.h"
#include "store/pimstore.h"
#include "viewer/commandline.h"
#include "viewer/singleinstance.h"
#include "viewer/viewer.h"
#include "viewer/viewerwindow.h"

#include <QApplication>
#include <cstdio>

using namespace Qt::StringLiterals;
using tlm::viewer::CommandLine;

namespace {
void print(FILE* to, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), to);
}

// A missing store is made only when the user asks for it: by --create, or by
// answering the question (its default is not to).
bool storeReady(const QString& path, bool create) {
    if (tlm::files::exists(path))
        return true;
    const QString missing = tlm::viewer::missingStoreText(path);
    if (!create &&
        tlm::msgbox::show(missing + u"\n\nSoll ein neuer PIM-Speicher angelegt werden?"_s,
                          tlm::msgbox::Buttons::YesNo, tlm::msgbox::Icon::Question,
                          u"Tellmarin PIM-Viewer"_s, 2) != tlm::msgbox::Answer::Yes)
        return false;
    try {
        tlm::pim::Store(path, tlm::pim::Store::Create::WithDefaults);
        return true;
    } catch (const tlm::Error& e) {
        tlm::msgbox::show(e.description(), tlm::msgbox::Buttons::Ok, tlm::msgbox::Icon::Critical,
                          u"Tellmarin PIM-Viewer"_s);
        return false;
    }
}
} // namespace

int main(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const CommandLine command = tlm::viewer::parseCommandLine(args);
    switch (command.action) {
    case CommandLine::Action::Help:
        print(stdout, tlm::viewer::helpText());
        return 0;
    case CommandLine::Action::Version:
        print(stdout, tlm::viewer::versionText());
        return 0;
    case CommandLine::Action::Wrong:
        print(stderr, u"tellmarin-viewer: "_s + command.error +
                          u"\n(tellmarin-viewer --help zeigt die Optionen)\n"_s);
        return 2;
    case CommandLine::Action::Run:
        break;
    }
    const QString path = command.store.isEmpty() ? tlm::pim::Store::defaultPath() : command.store;
    if (command.sessionStart && !command.create && !tlm::files::exists(path))
        return 0; // a user without a store is not asked at every login
    tlm::gui::prepareEnvironment();
    QApplication app(argc, argv);
    tlm::gui::loadQtTranslation();
    if (!storeReady(path, command.create))
        return 1;
    std::unique_ptr<tlm::viewer::Viewer> viewer;
    tlm::viewer::SingleInstance instance(path, [&] {
        if (viewer)
            viewer->raise();
    });
    if (!instance.claim()) {
        print(stderr, u"tellmarin-viewer: der Viewer dieses PIM-Speichers läuft schon und ist "
                      u"nach vorn geholt: "_s +
                          path + u'\n');
        return 0;
    }
    app.setQuitOnLastWindowClosed(false);
    viewer = std::make_unique<tlm::viewer::Viewer>(path);
    viewer->show();
    QObject::connect(&app, &QApplication::lastWindowClosed, &app, [&] {
        if (!viewer->mainWindow().isVisible())
            app.quit();
    });
    return app.exec();
}
