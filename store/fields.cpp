// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/fields.h"

#include "store/computed.h"

using namespace Qt::StringLiterals;

namespace tlm::pim {

std::optional<Field> resolveField(quint8 kind, const QString& name) {
    QString n = name.trimmed();
    if (n.startsWith(u'[') && n.endsWith(u']'))
        n = n.mid(1, n.size() - 2).trimmed();
    if (n.compare(u"EntryID"_s, Qt::CaseInsensitive) == 0)
        return Field{Field::Kind::EntryId, nullptr, u"EntryID"_s};
    if (n.compare(u"MessageClass"_s, Qt::CaseInsensitive) == 0)
        return Field{Field::Kind::MessageClass, nullptr, u"MessageClass"_s};
    if (const PropDef* def = findProperty(kind, n))
        return Field{Field::Kind::Property, def, propertyName(*def)};
    return std::nullopt;
}

Field userField(const QString& name) {
    return Field{Field::Kind::UserProperty, nullptr, name};
}

QVariant RowSource::value(const Field& field) const {
    switch (field.kind) {
    case Field::Kind::EntryId:
        return m_row.entryId;
    case Field::Kind::MessageClass:
        return m_row.messageClass;
    case Field::Kind::UserProperty:
        for (const auto& [name, text] : decodeTextPairs(m_row.userProps)) {
            if (name.compare(field.name, Qt::CaseInsensitive) == 0)
                return text;
        }
        return QVariant();
    case Field::Kind::Property:
        break;
    }
    if (field.def->computed) {
        return computed::value(field.def->id, [this](quint16 id) {
            const QVariant v = property(id);
            return v.isValid() ? v.toString() : QString();
        });
    }
    const QVariant v = property(field.def->id);
    return v.isValid() ? v : emptyValue(*field.def);
}

QVariant RowSource::property(quint16 id) const {
    return m_props != nullptr ? m_props->value(id) : findProp(m_row.props, id);
}

} // namespace tlm::pim
