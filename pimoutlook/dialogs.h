// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The small windows of the store: folder choice and name selection. With
// TELLMARIN_AUTOANSWER (or without a display) both answer "cancelled" at once.
// Both wear the program's design (title bar, colours) and open large enough
// for their entries.
#include "store/pimstore.h"

#include <QList>
#include <QString>
#include <memory>
#include <utility>

class QDialog;

namespace tlm::pim::dialogs {

// The EntryID of the folder chosen; empty when cancelled.
QString pickFolder(const Store& store);

// Name and e-mail address of each contact chosen; empty when cancelled.
QList<std::pair<QString, QString>> selectNames(const Store& store, const QString& caption);

// The two windows as they open, not yet shown: the folder tree
// "treeFolders", and the contacts with a mail address in "listNames", each
// entry "Name <address>" (a contact without a person's name is named by its
// company).
std::unique_ptr<QDialog> folderWindow(const Store& store);
std::unique_ptr<QDialog> namesWindow(const Store& store, const QString& caption);

} // namespace tlm::pim::dialogs
