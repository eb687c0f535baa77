// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/contactitem.h"

using namespace Qt::StringLiterals;

namespace tlm::pim::vcard {

namespace {
const QString ContactClass = u"IPM.Contact"_s;
const QString BodyField = u"Body"_s;
} // namespace

ItemRecord toItem(const Contact& contact, const QString& place, QStringList& warnings) {
    ItemRecord item;
    item.messageClass = ContactClass;
    for (auto it = contact.begin(); it != contact.end(); ++it) {
        if (it.key() == BodyField) {
            item.body = it.value().toString();
            continue;
        }
        const QString name = canonicalPropertyName(ContactClass, it.key());
        if (name.isEmpty() || isComputedProperty(name))
            warnings << place + u": Feld "_s + it.key() + u" wird nicht übernommen"_s;
        else
            item.properties.insert(name, it.value());
    }
    return item;
}

Contact toContact(const ItemRecord& item) {
    Contact contact;
    for (const QString& field : contactFields()) {
        if (field == BodyField)
            continue;
        const QVariant value = item.properties.value(field);
        if (!value.toString().isEmpty())
            contact.insert(field, value.toString());
    }
    if (!item.body.isEmpty())
        contact.insert(BodyField, item.body);
    return contact;
}

} // namespace tlm::pim::vcard
