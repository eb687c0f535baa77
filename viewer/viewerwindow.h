#pragma once
// The viewer's main window: the stores and their folders as a tree with item
// counts, the items of the chosen folder as a sortable list with the columns
// of the folder's kind, and a search box that filters the list.
#include "outlook/pim/pimstore.h"

#include <QHash>
#include <QMainWindow>

class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace tlm::viewer {

class ViewerWindow : public QMainWindow {
public:
    explicit ViewerWindow(pim::Store& store);

    // Reads folders and counts again, and of the chosen folder's items those
    // that were added, changed or removed.
    void refresh();
    QString currentFolder() const { return m_folderId; }
    void showFolder(const QString& entryId);

private:
    void fillFolders();
    void fillItems();
    void setRow(QTreeWidgetItem* row, const pim::ItemRecord& record);
    void applySearch();

    pim::Store& m_store;
    QString m_folderId;
    QString m_listedFolder; // the folder whose items the list holds
    struct Row {
        size_t stamp;
        QTreeWidgetItem* item;
    };
    QHash<QString, Row> m_rows;
    QTreeWidget* treeFolders;
    QTreeWidget* listItems;
    QLineEdit* txtSearch;
};

} // namespace tlm::viewer
