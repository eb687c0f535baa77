#pragma once
// The viewer's main window: the stores and their folders as a tree with item
// counts, the items of the chosen folder as a sortable list with the columns
// of the folder's kind, and a search box that filters the list.
#include "outlook/pim/pimstore.h"

#include <QMainWindow>

class QLineEdit;
class QTreeWidget;

namespace tlm::viewer {

class ViewerWindow : public QMainWindow {
public:
    explicit ViewerWindow(pim::Store& store);

    // Reads folders and counts again, and the chosen folder's items.
    void refresh();
    QString currentFolder() const { return m_folderId; }
    void showFolder(const QString& entryId);

private:
    void fillFolders();
    void fillItems();
    void applySearch();

    pim::Store& m_store;
    QString m_folderId;
    QTreeWidget* treeFolders;
    QTreeWidget* listItems;
    QLineEdit* txtSearch;
};

} // namespace tlm::viewer
