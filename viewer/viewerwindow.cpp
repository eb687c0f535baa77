#include "viewer/viewerwindow.h"

#include "outlook/application.h"
#include "viewer/itemkinds.h"

#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSet>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace tlm::viewer {
namespace {
constexpr int IdRole = Qt::UserRole;
}

ViewerWindow::ViewerWindow(pim::Store& store) : m_store(store) {
    setObjectName(u"ViewerWindow"_s);
    setWindowTitle(u"Tellmarin - PIM-Speicher"_s);
    auto* splitter = new QSplitter(this);
    treeFolders = new QTreeWidget(splitter);
    treeFolders->setObjectName(u"treeFolders"_s);
    treeFolders->setAccessibleName(u"Ordner"_s);
    treeFolders->setHeaderLabels({u"Ordner"_s, u"Elemente"_s});
    auto* right = new QWidget(splitter);
    auto* layout = new QVBoxLayout(right);
    auto* searchRow = new QHBoxLayout;
    auto* searchLabel = new QLabel(u"&Suchen:"_s, right);
    txtSearch = new QLineEdit(right);
    txtSearch->setObjectName(u"txtSearch"_s);
    txtSearch->setAccessibleName(u"Suchen"_s);
    txtSearch->setClearButtonEnabled(true);
    searchLabel->setBuddy(txtSearch);
    searchRow->addWidget(searchLabel);
    searchRow->addWidget(txtSearch);
    layout->addLayout(searchRow);
    listItems = new QTreeWidget(right);
    listItems->setObjectName(u"listItems"_s);
    listItems->setAccessibleName(u"Elemente"_s);
    listItems->setRootIsDecorated(false);
    listItems->setSortingEnabled(true);
    layout->addWidget(listItems);
    splitter->setStretchFactor(1, 3);
    setCentralWidget(splitter);
    resize(900, 560);

    connect(treeFolders, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        const QString id = item ? item->data(0, IdRole).toString() : QString();
        if (!id.isEmpty() && id != m_folderId) {
            m_folderId = id;
            fillItems();
        }
    });
    connect(txtSearch, &QLineEdit::textChanged, this, [this] { applySearch(); });
    m_folderId = m_store.defaultFolder(outlook::olFolderContacts).entryId;
    refresh();
}

void ViewerWindow::showFolder(const QString& entryId) {
    m_folderId = entryId;
    refresh();
}

void ViewerWindow::refresh() {
    fillFolders();
    fillItems();
}

void ViewerWindow::fillFolders() {
    const QSignalBlocker block(treeFolders);
    treeFolders->clear();
    QHash<QString, QTreeWidgetItem*> nodes;
    for (const pim::StoreInfo& s : m_store.stores()) {
        auto* top = new QTreeWidgetItem(treeFolders, {s.name});
        nodes.insert(s.storeId, top);
    }
    for (const pim::FolderInfo& f : m_store.folders()) {
        QTreeWidgetItem* parent = nodes.value(f.parentId.isEmpty() ? f.storeId : f.parentId);
        auto* node =
            new QTreeWidgetItem(parent, {f.name, QString::number(m_store.itemCount(f.entryId))});
        node->setData(0, IdRole, f.entryId);
        nodes.insert(f.entryId, node);
        if (f.entryId == m_folderId)
            treeFolders->setCurrentItem(node);
    }
    treeFolders->expandAll();
    treeFolders->resizeColumnToContents(0);
}

void ViewerWindow::setRow(QTreeWidgetItem* row, const pim::ItemRecord& record) {
    const QList<Field> fields = columns(m_store.folder(m_folderId).kind);
    for (int c = 0; c < fields.size(); ++c)
        row->setText(c, text(record, fields[c].property));
    row->setData(0, IdRole, record.entryId);
}

void ViewerWindow::fillItems() {
    if (m_listedFolder != m_folderId) {
        QStringList headers;
        for (const Field& f : columns(m_store.folder(m_folderId).kind))
            headers << f.label;
        listItems->clear();
        listItems->setHeaderLabels(headers);
        m_rows.clear();
        m_listedFolder = m_folderId;
    }
    QHash<QString, Row> kept;
    QSet<QString> changed;
    for (const pim::Store::ItemStamp& s : m_store.itemStamps(m_folderId)) {
        auto old = m_rows.find(s.entryId);
        if (old != m_rows.end() && old->stamp == s.stamp) {
            kept.insert(s.entryId, *old);
            m_rows.erase(old);
            continue;
        }
        QTreeWidgetItem* row = old != m_rows.end() ? old->item : new QTreeWidgetItem(listItems);
        if (old != m_rows.end())
            m_rows.erase(old);
        kept.insert(s.entryId, {s.stamp, row});
        changed << s.entryId;
    }
    const bool removed = !m_rows.isEmpty();
    if (changed.isEmpty() && !removed) {
        m_rows = std::move(kept);
        return; // nothing of this folder changed
    }
    listItems->setSortingEnabled(false);
    for (const Row& gone : std::as_const(m_rows))
        delete gone.item;
    m_rows = std::move(kept);
    // A first fill reads the folder in one pass; later only what changed.
    if (changed.size() > 16) {
        for (const pim::ItemRecord& r : m_store.items(m_folderId))
            if (changed.contains(r.entryId))
                setRow(m_rows.value(r.entryId).item, r);
    } else {
        for (const QString& id : std::as_const(changed))
            setRow(m_rows.value(id).item, m_store.item(id));
    }
    listItems->setSortingEnabled(true);
    applySearch();
}

void ViewerWindow::applySearch() {
    const QString needle = txtSearch->text().trimmed();
    for (int i = 0; i < listItems->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = listItems->topLevelItem(i);
        bool match = needle.isEmpty();
        for (int c = 0; !match && c < row->columnCount(); ++c)
            match = row->text(c).contains(needle, Qt::CaseInsensitive);
        row->setHidden(!match);
    }
}

} // namespace tlm::viewer
