#pragma once
// The viewer's main window: the stores and their folders as a tree with item
// counts, the items of the chosen folder as a sortable list with the columns
// of the folder's kind, and a search box that filters the list.
#include "outlook/pim/pimstore.h"

#include <QHash>
#include <QMainWindow>

class QLineEdit;
class QSortFilterProxyModel;
class QTreeView;
class QTreeWidget;

namespace tlm::viewer {

class ItemList;

class ViewerWindow : public QMainWindow {
public:
    explicit ViewerWindow(pim::Store& store);

    // Reads the folders again, and of those whose items changed the counts
    // and, for the chosen one, the items that were added, changed or removed.
    void refresh();
    QString currentFolder() const { return m_folderId; }
    void showFolder(const QString& entryId);

private:
    void fillFolders();
    void fillItems();

    pim::Store& m_store;
    QString m_folderId;
    QString m_listedFolder;            // the folder whose items the list holds
    QHash<QString, qint64> m_versions; // of the folders as last read
    QHash<QString, int> m_counts;      // items per folder as last counted
    QStringList m_tree;                // the folders the tree shows
    QTreeWidget* treeFolders;
    QTreeView* listItems;
    QLineEdit* txtSearch;
    ItemList* m_list;
    QSortFilterProxyModel* m_sorted;
};

} // namespace tlm::viewer
