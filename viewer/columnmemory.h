// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The item list's columns as the user left them: widths and sort order per
// kind of folder, kept in the viewer's own settings file. A kind the user
// never arranged gets columns as wide as their contents.
#include "store/pimstore.h"

#include <QObject>

class QTimer;
class QTreeView;

namespace tlm::viewer {

class ColumnMemory : public QObject {
    Q_OBJECT

public:
    explicit ColumnMemory(QTreeView* view);

    // The list now shows a folder of this kind: its columns are arranged as
    // remembered, else sized to their contents once there are rows.
    void arrange(pim::FolderKind kind);
    // The list's rows changed.
    void rowsChanged();
    // Writes what the user changed and is not written yet (while the view lives).
    void flush();

    // $XDG_CONFIG_HOME/Orvensoft/tellmarin-viewer.ini
    static QString settingsPath();

private:
    void remember();
    void write();
    void fitToContents();

    QTreeView* m_view;
    QTimer* m_write; // a drag resizes a column many times: written once it ends
    pim::FolderKind m_kind = pim::FolderKind::Other;
    bool m_arranged = false; // a folder's columns are in place: changes are the user's
    bool m_fit = false;      // to be sized to their contents when rows come
};

} // namespace tlm::viewer
