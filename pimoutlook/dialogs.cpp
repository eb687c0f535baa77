// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "pimoutlook/dialogs.h"

#include "platform/messagebox.h"
#include "store/computed.h"
#include "store/properties.h"
#include "ui/design.h"

#include <QAbstractItemView>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHash>
#include <QLabel>
#include <QListWidget>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace tlm::pim::dialogs {

namespace {
// Rows a view shows before it scrolls.
constexpr int MostRowsShown = 18;
constexpr int FewestRowsShown = 8;
const QString FolderTitle = u"Ordner auswählen"_s;

bool answeredAtOnce(const QString& title) {
    if (!msgbox::autoAnswer())
        return false;
    std::fprintf(stderr, "%s: abgebrochen\n", title.toLocal8Bit().constData());
    return true;
}

// A window with the design's title bar and colours around a view, and the
// buttons OK and Cancel below it.
std::unique_ptr<QDialog> designedWindow(const QString& title, QAbstractItemView* view) {
    auto dialog = std::make_unique<QDialog>();
    dialog->setWindowTitle(title);
    design::setBackground(dialog.get(), design::storedColour(design::ColorBack));
    design::setTextColour(dialog.get(), design::storedColour(design::ColorBackFont));
    auto* layout = new QVBoxLayout(dialog.get());
    auto* bar = new QLabel(title);
    bar->setObjectName(u"lblTopic"_s);
    bar->setMargin(bar->fontMetrics().height() / 3);
    QFont bold = bar->font();
    bold.setBold(true);
    bar->setFont(bold);
    design::setBackground(bar, design::storedColour(design::ColorDefault));
    design::setTextColour(bar, design::storedColour(design::ColorFont));
    layout->addWidget(bar);
    view->setAccessibleName(title);
    layout->addWidget(view);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog.get(), &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog.get(), &QDialog::reject);
    layout->addWidget(buttons);
    return dialog;
}

// Makes a view wide enough for its widest entry (indented as it is shown)
// and high enough for its rows, up to a limit past which it scrolls and
// never beyond the screen.
void fitToEntries(QAbstractItemView* view, int rows) {
    view->ensurePolished();
    const int frame = 2 * view->frameWidth();
    const int scrollBar = view->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view);
    int width = view->sizeHintForColumn(0) + frame + scrollBar;
    int rowHeight = std::max(view->sizeHintForRow(0), view->fontMetrics().height());
    int height = std::clamp(rows, FewestRowsShown, MostRowsShown) * rowHeight + frame;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        width = std::min(width, screen->availableSize().width() * 4 / 5);
        height = std::min(height, screen->availableSize().height() * 3 / 5);
    }
    view->setMinimumSize(width, height);
}

QString namesTitle(const QString& caption) {
    return caption.isEmpty() ? u"Namen auswählen: Kontakte"_s : caption;
}

QString entryText(const QString& name, const QString& mail) {
    const QString address = u'<' + mail + u'>';
    return name.isEmpty() ? address : name + u' ' + address;
}
} // namespace

std::unique_ptr<QDialog> folderWindow(const Store& store) {
    auto* tree = new QTreeWidget;
    tree->setObjectName(u"treeFolders"_s);
    tree->setHeaderHidden(true);
    QHash<QString, QTreeWidgetItem*> nodes;
    for (const StoreInfo& s : store.stores()) {
        auto* top = new QTreeWidgetItem(tree, {s.name});
        top->setFlags(Qt::ItemIsEnabled);
        nodes.insert(s.storeId, top);
    }
    for (const FolderInfo& f : store.folders()) {
        QTreeWidgetItem* parent = nodes.value(f.parentId.isEmpty() ? f.storeId : f.parentId);
        auto* node = new QTreeWidgetItem(parent, {f.name});
        node->setData(0, Qt::UserRole, f.entryId);
        nodes.insert(f.entryId, node);
    }
    tree->expandAll();
    auto dialog = designedWindow(FolderTitle, tree);
    fitToEntries(tree, int(nodes.size()));
    return dialog;
}

std::unique_ptr<QDialog> namesWindow(const Store& store, const QString& caption) {
    auto* list = new QListWidget;
    list->setObjectName(u"listNames"_s);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    for (const ItemRecord& r :
         store.items(store.defaultFolder(defaultfolder::Contacts).entryId)) {
        auto get = [&](quint16 id) {
            const PropDef* def = propertyById(id);
            return def ? r.properties.value(propertyName(*def)).toString() : QString();
        };
        const QString mail = r.properties.value(u"Email1Address"_s).toString();
        if (mail.isEmpty())
            continue;
        QString name = computed::value(prop::FullName, get);
        if (name.isEmpty())
            name = get(prop::CompanyName);
        auto* entry = new QListWidgetItem(entryText(name, mail), list);
        entry->setData(Qt::UserRole, name);
        entry->setData(Qt::UserRole + 1, mail);
    }
    auto dialog = designedWindow(namesTitle(caption), list);
    fitToEntries(list, list->count());
    return dialog;
}

QString pickFolder(const Store& store) {
    if (answeredAtOnce(FolderTitle))
        return QString();
    const std::unique_ptr<QDialog> dialog = folderWindow(store);
    auto* tree = dialog->findChild<QTreeWidget*>(u"treeFolders"_s);
    if (dialog->exec() != QDialog::Accepted || !tree->currentItem())
        return QString();
    return tree->currentItem()->data(0, Qt::UserRole).toString();
}

QList<std::pair<QString, QString>> selectNames(const Store& store, const QString& caption) {
    if (answeredAtOnce(namesTitle(caption)))
        return {};
    const std::unique_ptr<QDialog> dialog = namesWindow(store, caption);
    if (dialog->exec() != QDialog::Accepted)
        return {};
    QList<std::pair<QString, QString>> out;
    for (QListWidgetItem* entry : dialog->findChild<QListWidget*>(u"listNames"_s)->selectedItems())
        out.append(
            {entry->data(Qt::UserRole).toString(), entry->data(Qt::UserRole + 1).toString()});
    return out;
}

} // namespace tlm::pim::dialogs
