// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One folder's items as server resources and back: contacts as vCard,
// journal entries, appointments and tasks as iCalendar.
#include "store/pimstore.h"
#include "sync/icalendar.h"

#include <QByteArray>
#include <QString>

namespace tlm::sync {

struct Decoded {
    QString uid;
    pim::ItemRecord record;
};

class ItemCodec {
public:
    // component empty: contacts (vCard 4.0 when vcard4, else 3.0).
    ItemCodec(QString component, bool vcard4, ical::ContactRefs refs);

    // Raises SyncError(BadAnswer) for a resource that is no such item.
    Decoded decode(const QByteArray& data) const;
    // base: the server's last version (what other programs added is kept).
    QByteArray encode(const pim::ItemRecord& item, const QString& uid, const QByteArray& base) const;
    // A digest of an item's content, to tell whether it changed since.
    static QByteArray digest(const pim::ItemRecord& item);
    bool contacts() const { return m_component.isEmpty(); }

private:
    QString m_component;
    bool m_vcard4;
    ical::ContactRefs m_refs;
};

} // namespace tlm::sync
