// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Contact records of the vCard form to and from the store's items.
#include "formats/vcard.h"
#include "store/pimstore.h"

namespace tlm::pim::vcard {

// A contact record as a store item; fields the store does not hold are
// named in warnings ("place: Feld X wird nicht übernommen").
ItemRecord toItem(const Contact& contact, const QString& place, QStringList& warnings);
// The fields of an item that a vCard carries.
Contact toContact(const ItemRecord& item);

} // namespace tlm::pim::vcard
