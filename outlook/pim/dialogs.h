#pragma once
// The small windows of the store: folder choice and name selection. With
// TELLMARIN_AUTOANSWER (or without a display) both answer "cancelled" at once.
#include "outlook/pim/pimstore.h"

#include <QList>
#include <QString>
#include <utility>

namespace tlm::pim::dialogs {

// The EntryID of the folder chosen; empty when cancelled.
QString pickFolder(const Store& store);

// Name and e-mail address of each contact chosen; empty when cancelled.
QList<std::pair<QString, QString>> selectNames(const Store& store, const QString& caption);

} // namespace tlm::pim::dialogs
