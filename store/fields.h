// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What tables, filters and sorting read from an item: a field (a catalogue
// property, EntryID, MessageClass or a user property) and its value in a
// stored row, decoded only as far as asked.
#include "store/properties.h"
#include "store/storeimpl.h"

#include <QString>
#include <QVariant>
#include <optional>

namespace tlm::pim {

struct Field {
    enum class Kind { EntryId, MessageClass, Property, UserProperty };
    Kind kind = Kind::Property;
    const PropDef* def = nullptr; // Property
    QString name;                 // canonical name; user property name as given

    PropType type() const { return def ? def->type : PropType::Text; }
};

// A property, EntryID or MessageClass by name (any case, optionally in
// brackets); nullopt when the kind of item has no such property.
std::optional<Field> resolveField(quint8 kind, const QString& name);
Field userField(const QString& name);

// The source of field values: one item.
class ValueSource {
public:
    virtual ~ValueSource() = default;
    // Invalid QVariant for a user property the item does not have; the empty
    // value of the type for an unset property.
    virtual QVariant value(const Field& field) const = 0;
};

// A stored row as a value source.
// With props, the row's properties are read through that index of its blob.
class RowSource : public ValueSource {
public:
    explicit RowSource(const RawRow& row, const PropIndex* props = nullptr)
        : m_row(row), m_props(props) {}
    QVariant value(const Field& field) const override;

private:
    QVariant property(quint16 id) const;

    const RawRow& m_row;
    const PropIndex* m_props;
};

} // namespace tlm::pim
