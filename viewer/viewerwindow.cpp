// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/viewerwindow.h"

#include "platform/files.h"
#include "platform/texts.h"
#include "sync/accounts.h"
#include "ui/design.h"
#include "viewer/columnmemory.h"
#include "viewer/itemlist.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QStatusBar>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <optional>

using namespace Qt::StringLiterals;

namespace tlm::viewer {
namespace {
constexpr int IdRole = Qt::UserRole;
// Up to this many changed items are read one by one; more in one pass over
// the folder.
constexpr qsizetype ReadOneByOne = 16;

// The store's last change: the later of its file's and its write-ahead
// log's modification times.
QDateTime lastChange(const QString& path) {
    QDateTime last;
    for (const QString& file : {path, QString(path + u"-wal"_s)})
        if (files::exists(file))
            last = std::max(last, files::modified(file));
    return last;
}

// The search box's clear button is a picture: a screen reader says its tooltip.
void nameClearButton(QLineEdit* edit) {
    for (QToolButton* b : edit->findChildren<QToolButton*>()) {
        b->setToolTip(u"Suche leeren"_s);
        b->setAccessibleName(u"Suche leeren"_s);
    }
}

// "Konto „Büro“: zuletzt abgeglichen 07.12.2026 19:30:00", or its last
// error; full: every line of the error, else its first.
QString accountText(const sync::Account& a, bool full) {
    const QString name = u"Konto „"_s + a.name + u"“: "_s;
    if (!a.lastError.isEmpty()) {
        const QString error = full ? a.lastError : a.lastError.section(u'\n', 0, 0);
        return name + u"Abgleich fehlgeschlagen: "_s + error;
    }
    if (a.lastSync.isValid())
        return name + u"zuletzt abgeglichen "_s + texts::dateTime(a.lastSync);
    return name + u"noch nicht abgeglichen"_s;
}
} // namespace

ViewerWindow::ViewerWindow() {
    setObjectName(u"ViewerWindow"_s);
    setWindowTitle(u"Tellmarin - PIM-Speicher"_s);
    setWindowIconText(windowTitle());
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
    txtSearch->setClearButtonEnabled(true);
    nameClearButton(txtSearch);
    searchLabel->setBuddy(txtSearch);
    searchRow->addWidget(searchLabel);
    searchRow->addWidget(txtSearch);
    layout->addLayout(searchRow);

    m_list = new ItemList(this);
    m_sorted = new QSortFilterProxyModel(this);
    m_sorted->setSourceModel(m_list);
    m_sorted->setSortRole(ItemList::SortRole);
    m_sorted->setSortCaseSensitivity(Qt::CaseInsensitive);
    m_sorted->setSortLocaleAware(true);
    m_sorted->setFilterCaseSensitivity(Qt::CaseInsensitive);
    m_sorted->setFilterKeyColumn(-1);
    listItems = new QTreeView(right);
    listItems->setObjectName(u"listItems"_s);
    listItems->setAccessibleName(u"Elemente"_s);
    listItems->setRootIsDecorated(false);
    listItems->setUniformRowHeights(true);
    listItems->setAllColumnsShowFocus(true);
    listItems->setModel(m_sorted);
    listItems->setSortingEnabled(true);
    listItems->sortByColumn(0, Qt::AscendingOrder);
    m_columns = new ColumnMemory(listItems);
    layout->addWidget(listItems);
    splitter->setStretchFactor(1, 3);
    auto* central = new QWidget(this);
    auto* centralLayout = new QVBoxLayout(central);
    centralLayout->setContentsMargins(0, 0, 0, 0);
    centralLayout->addWidget(splitter, 1);
    lblKonten = new QLabel(central);
    lblKonten->setObjectName(u"lblKonten"_s);
    lblKonten->setWordWrap(true);
    lblKonten->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblKonten->hide();
    centralLayout->addWidget(lblKonten);
    setCentralWidget(central);
    buildMenu();

    lblStatus = new QLabel(this);
    lblStatus->setObjectName(u"lblStatus"_s);
    lblStore = new QLabel(this);
    lblStore->setObjectName(u"lblStore"_s);
    lblStore->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblChanged = new QLabel(this);
    lblChanged->setObjectName(u"lblChanged"_s);
    statusBar()->setObjectName(u"statusBar"_s);
    statusBar()->addWidget(lblStatus, 1);
    statusBar()->addPermanentWidget(lblStore);
    statusBar()->addPermanentWidget(lblChanged);

    design::setBackground(this, design::storedColour(design::ColorBack));
    design::setTextColour(this, design::storedColour(design::ColorBackFont));
    resize(900, 560);

    connect(treeFolders, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        const QString id = item ? item->data(0, IdRole).toString() : QString();
        if (!id.isEmpty() && id != m_folderId) {
            m_folderId = id;
            fillItems();
        }
    });
    connect(txtSearch, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_sorted->setFilterFixedString(text.trimmed()); });
}

ViewerWindow::~ViewerWindow() {
    m_columns->flush();
}

void ViewerWindow::setStore(pim::Store* store) {
    m_store = store;
    m_versions.clear();
    m_counts.clear();
    m_tree.clear();
    m_listedFolder.clear();
    m_folderId.clear();
    {
        const QSignalBlocker block(treeFolders);
        treeFolders->clear();
    }
    m_list->setColumns({});
    if (m_store)
        m_folderId = m_store->defaultFolder(pim::defaultfolder::Contacts).entryId;
    refresh();
}

void ViewerWindow::setStatus(const QString& message) {
    lblStatus->setText(message);
    lblStatus->setAccessibleName(message);
}

QString ViewerWindow::status() const {
    return lblStatus->text();
}

void ViewerWindow::buildMenu() {
    auto* menu = new QMenu(u"&Konten"_s, this);
    menu->setObjectName(u"mnuKonten"_s);
    QAction* add = menu->addAction(u"Konto &hinzufügen…"_s);
    add->setObjectName(u"mnuKontoHinzufuegen"_s);
    connect(add, &QAction::triggered, this, &ViewerWindow::addAccountRequested);
    QAction* now = menu->addAction(u"Jetzt &abgleichen"_s);
    now->setObjectName(u"mnuKontenAbgleichen"_s);
    connect(now, &QAction::triggered, this, &ViewerWindow::syncRequested);
    menuBar()->addMenu(menu);
}

QString ViewerWindow::accountsLine() const {
    return lblKonten->text();
}

// Read on every change of the store: a sync by the viewer or by the tool
// shows alike.
void ViewerWindow::showAccounts() {
    QStringList shown, full;
    if (m_store)
        for (const sync::Account& a : sync::accounts(*m_store)) {
            shown << accountText(a, false);
            full << accountText(a, true);
        }
    const QString text = shown.join(u'\n');
    if (text == lblKonten->text())
        return;
    lblKonten->setText(text);
    lblKonten->setToolTip(full.join(u'\n'));
    lblKonten->setAccessibleName(text);
    lblKonten->setVisible(!text.isEmpty());
}

void ViewerWindow::showFolder(const QString& entryId) {
    m_folderId = entryId;
    refresh();
}

void ViewerWindow::showStoreLine() {
    if (!m_store) {
        lblChanged->clear();
        return;
    }
    lblStore->setText(u"PIM-Speicher: "_s + m_store->path());
    const QDateTime changed = lastChange(m_store->path());
    lblChanged->setText(changed.isValid() ? u"Letzte Änderung: "_s + texts::dateTime(changed)
                                          : QString());
}

void ViewerWindow::refresh() {
    showStoreLine();
    showAccounts();
    if (!m_store)
        return;
    const QHash<QString, qint64> versions = m_store->folderVersions();
    const bool listChanged = versions.value(m_folderId, -1) != m_versions.value(m_folderId, -1);
    for (auto it = versions.cbegin(); it != versions.cend(); ++it)
        if (m_versions.value(it.key(), -1) != it.value())
            m_counts.remove(it.key());
    m_versions = versions;
    fillFolders();
    if (listChanged || m_listedFolder != m_folderId)
        fillItems();
}

void ViewerWindow::fillFolders() {
    const QList<pim::FolderInfo> folders = m_store->folders();
    QStringList shape;
    for (const pim::FolderInfo& f : folders)
        shape << f.entryId + u'\n' + f.parentId + u'\n' + f.name;
    const auto countOf = [this](const QString& id) {
        auto it = m_counts.find(id);
        if (it == m_counts.end())
            it = m_counts.insert(id, m_store->itemCount(id));
        return QString::number(*it);
    };
    if (shape == m_tree) { // the same folders: only counts may differ
        for (QTreeWidgetItemIterator it(treeFolders); *it; ++it) {
            const QString id = (*it)->data(0, IdRole).toString();
            if (!id.isEmpty())
                (*it)->setText(1, countOf(id));
        }
        return;
    }
    m_tree = shape;
    const QSignalBlocker block(treeFolders);
    treeFolders->clear();
    QHash<QString, QTreeWidgetItem*> nodes;
    for (const pim::StoreInfo& s : m_store->stores())
        nodes.insert(s.storeId, new QTreeWidgetItem(treeFolders, {s.name}));
    for (const pim::FolderInfo& f : folders) {
        QTreeWidgetItem* parent = nodes.value(f.parentId.isEmpty() ? f.storeId : f.parentId);
        auto* node = new QTreeWidgetItem(parent, {f.name, countOf(f.entryId)});
        node->setData(0, IdRole, f.entryId);
        nodes.insert(f.entryId, node);
        if (f.entryId == m_folderId)
            treeFolders->setCurrentItem(node);
    }
    treeFolders->expandAll();
    treeFolders->resizeColumnToContents(0);
}

void ViewerWindow::fillItems() {
    std::optional<pim::FolderKind> another; // the kind of a folder listed anew
    if (m_listedFolder != m_folderId) {
        another = m_store->folder(m_folderId).kind;
        m_list->setColumns(columns(*another));
        m_listedFolder = m_folderId;
    }
    const QList<pim::Store::ItemStamp> stamps = m_store->itemStamps(m_folderId);
    const QSet<QString> changed = m_list->changed(stamps);
    QHash<QString, pim::ItemRecord> records;
    if (changed.size() > ReadOneByOne) {
        for (pim::ItemRecord& r : m_store->items(m_folderId))
            if (changed.contains(r.entryId))
                records.insert(r.entryId, std::move(r));
    } else {
        for (const QString& id : changed)
            records.insert(id, m_store->item(id));
    }
    m_list->apply(stamps, records);
    if (another)
        m_columns->arrange(*another);
    else
        m_columns->rowsChanged();
}

} // namespace tlm::viewer
