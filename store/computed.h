// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The computed contact properties as Outlook derives them (full name, name
// orders, the composed postal addresses) and the splitting of an assigned
// whole back into its parts.
#include <QList>
#include <QString>
#include <functional>
#include <utility>

namespace tlm::pim::computed {

// Reads a stored text property by id.
using TextGetter = std::function<QString(quint16)>;
using Parts = QList<std::pair<quint16, QString>>;

// The value of computed property id (see prop:: in properties.h).
QString value(quint16 id, const TextGetter& get);

// Street, CR LF, postal code, blank, city, CR LF, country; empty parts are
// left out. base is the id of the address's Street property.
QString composeAddress(quint16 base, const TextGetter& get);

// The stored parts that assigning text to computed property id sets
// (an address or FullName); empty for properties that cannot be assigned.
Parts split(quint16 id, const QString& text);
bool assignable(quint16 id);

} // namespace tlm::pim::computed
