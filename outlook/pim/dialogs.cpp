#include "outlook/pim/dialogs.h"

#include "outlook/pim/computed.h"
#include "outlook/pim/properties.h"
#include "platform/messagebox.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHash>
#include <QListWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace tlm::pim::dialogs {

namespace {
bool answeredAtOnce(const QString& title) {
    if (!msgbox::autoAnswer())
        return false;
    std::fprintf(stderr, "%s: abgebrochen\n", title.toLocal8Bit().constData());
    return true;
}

QDialogButtonBox* addButtons(QDialog& dialog, QVBoxLayout* layout) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    return buttons;
}
} // namespace

QString pickFolder(const Store& store) {
    const QString title = u"Ordner auswählen"_s;
    if (answeredAtOnce(title))
        return QString();
    QDialog dialog;
    dialog.setWindowTitle(title);
    auto* layout = new QVBoxLayout(&dialog);
    auto* tree = new QTreeWidget;
    tree->setObjectName(u"treeFolders"_s);
    tree->setHeaderHidden(true);
    layout->addWidget(tree);
    addButtons(dialog, layout);

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
    if (dialog.exec() != QDialog::Accepted || !tree->currentItem())
        return QString();
    return tree->currentItem()->data(0, Qt::UserRole).toString();
}

QList<std::pair<QString, QString>> selectNames(const Store& store, const QString& caption) {
    const QString title = caption.isEmpty() ? u"Namen auswählen: Kontakte"_s : caption;
    if (answeredAtOnce(title))
        return {};
    QDialog dialog;
    dialog.setWindowTitle(title);
    auto* layout = new QVBoxLayout(&dialog);
    auto* list = new QListWidget;
    list->setObjectName(u"listNames"_s);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    layout->addWidget(list);
    addButtons(dialog, layout);

    for (const ItemRecord& r :
         store.items(store.defaultFolder(outlook::olFolderContacts).entryId)) {
        auto get = [&](quint16 id) {
            const PropDef* def = propertyById(id);
            return def ? r.properties.value(propertyName(*def)).toString() : QString();
        };
        const QString mail = r.properties.value(u"Email1Address"_s).toString();
        if (mail.isEmpty())
            continue;
        const QString name = computed::value(prop::FullName, get);
        auto* entry = new QListWidgetItem(name + u" <"_s + mail + u'>', list);
        entry->setData(Qt::UserRole, name);
        entry->setData(Qt::UserRole + 1, mail);
    }
    if (dialog.exec() != QDialog::Accepted)
        return {};
    QList<std::pair<QString, QString>> out;
    for (QListWidgetItem* entry : list->selectedItems())
        out.append(
            {entry->data(Qt::UserRole).toString(), entry->data(Qt::UserRole + 1).toString()});
    return out;
}

} // namespace tlm::pim::dialogs
