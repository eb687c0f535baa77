// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A viewer on the test's store, and a second connection to the store that
// stands for a call-event process.
#include "outlook/application.h"
#include "platform/clock.h"
#include "platform/messagebox.h"
#include "store/pimstore.h"
#include "store/storeimpl.h"
#include "tests/support/testenv.h"
#include "viewer/itemwindow.h"
#include "viewer/viewer.h"
#include "viewer/viewerwindow.h"

#include <QApplication>
#include <QTreeView>
#include <gtest/gtest.h>

namespace tlm::test {

class ViewerTest : public ::testing::Test {
protected:
    TestEnv env;
    pim::Store other{env.pimPath()}; // stands for a call-event process
    std::unique_ptr<viewer::Viewer> view;
    msgbox::Answer answer = msgbox::Answer::Cancel;

    void SetUp() override {
        msgbox::setResponder(
            [this](const QString&, const QString&) { return std::optional(answer); });
        view = std::make_unique<viewer::Viewer>(env.pimPath());
    }
    void TearDown() override {
        view.reset();
        msgbox::setResponder({});
        clock::setFixed(std::nullopt);
    }
    QString add(int folder, QVariantMap props, bool draft = false) {
        pim::ItemRecord r;
        r.properties = std::move(props);
        r.unsaved = draft;
        return other.addItem(other.defaultFolder(folder).entryId, r);
    }
    void openWindow(const QString& id, const QString& caption, pim::InspectorState s) {
        s.open = true;
        other.impl().setInspector(id, caption, s);
    }
    // What the viewer's timers would do next, at once.
    void settle() {
        view->catchUp();
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    const QAbstractItemModel* list() {
        return view->mainWindow().findChild<QTreeView*>(QStringLiteral("listItems"))->model();
    }
    QString cell(int row, int column) { return list()->index(row, column).data().toString(); }
};

} // namespace tlm::test
