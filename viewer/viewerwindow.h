// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The viewer's main window: the stores and their folders as a tree with item
// counts, the items of the chosen folder as a sortable list with the columns
// of the folder's kind, a search box that filters the list, and a status
// line with the store's file, the time of its last change and what happened
// to the file. Below the list, each server account's last sync or last
// error; the menu "Konten" adds an account and syncs at once.
#include "store/pimstore.h"

#include <QHash>
#include <QMainWindow>

class QLabel;
class QLineEdit;
class QSortFilterProxyModel;
class QTreeView;
class QTreeWidget;

namespace tlm::viewer {

class ColumnMemory;
class ItemList;

class ViewerWindow : public QMainWindow {
    Q_OBJECT

public:
    ViewerWindow();
    ~ViewerWindow() override;

    // The store to show (nullptr: none, its file is gone); what was shown of
    // another store is forgotten.
    void setStore(pim::Store* store);
    // Reads the folders again, and of those whose items changed the counts
    // and, for the chosen one, the items that were added, changed or removed.
    void refresh();
    QString currentFolder() const { return m_folderId; }
    void showFolder(const QString& entryId);
    // A message in the status line; it stays until the next.
    void setStatus(const QString& message);
    QString status() const;
    // What the account line says ("" without accounts).
    QString accountsLine() const;

Q_SIGNALS:
    void addAccountRequested();
    void syncRequested();

private:
    void buildMenu();
    void showAccounts();
    void fillFolders();
    void fillItems();
    void showStoreLine();

    pim::Store* m_store = nullptr;
    QString m_folderId;
    QString m_listedFolder;            // the folder whose items the list holds
    QHash<QString, qint64> m_versions; // of the folders as last read
    QHash<QString, int> m_counts;      // items per folder as last counted
    QStringList m_tree;                // the folders the tree shows
    QTreeWidget* treeFolders;
    QTreeView* listItems;
    QLineEdit* txtSearch;
    QLabel* lblStore;
    QLabel* lblChanged;
    QLabel* lblStatus;
    QLabel* lblKonten;
    ItemList* m_list;
    QSortFilterProxyModel* m_sorted;
    ColumnMemory* m_columns;
};

} // namespace tlm::viewer
