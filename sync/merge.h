// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Merging an item changed on both sides since the last sync, value by
// value against the version both last agreed on: a value changed on one
// side only takes that side's; a value changed on both sides to different
// things takes the server's, and the local one is kept in the body under a
// line saying so. Nothing is dropped.
//
// Items are compared flattened: the stored properties by name, the body as
// "Body", each user property as "User:" + name, the links as "Links".
#include "store/pimstore.h"

#include <QStringList>
#include <QVariantMap>

namespace tlm::sync {

QVariantMap flatten(const pim::ItemRecord& item);
// Writes a flattened map back into item (message class, IDs and window kept).
void unflatten(const QVariantMap& values, pim::ItemRecord& item);

struct MergeResult {
    QVariantMap values;
    QStringList conflicts; // names changed on both sides, where the server's value won
};

MergeResult merge(const QVariantMap& base, const QVariantMap& local, const QVariantMap& remote);

// The line that heads the local values kept in the body after a conflict.
QString conflictHeading();

} // namespace tlm::sync
