// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Item filters as Items.Find, GetTable and Restrict take them:
//  - Jet: [Name] compared (=, <>, <, <=, >, >=) with a quoted text ('..' or
//    ".."; a doubled quote stands for one), a number, True/False, or a date
//    "dd.mm.yyyy hh:nn"; AND, OR, NOT, parentheses. A name that is no
//    property of the kind of item is a user property.
//  - DASL: "@SQL=" with "urn:schemas:..." names in double quotes, the same
//    operators and LIKE '%text%' (case-insensitive), AND, OR, NOT,
//    parentheses.
// Texts compare without regard to case. A filter that does not parse raises
// CannotParse with the position and what was expected.
#include "store/fields.h"

#include <QList>
#include <QString>
#include <memory>

namespace tlm::pim {

class Filter {
public:
    Filter(); // matches everything
    static Filter parse(const QString& text, quint8 kind);

    bool isEmpty() const { return !m_root; }
    bool matches(const ValueSource& item) const;
    // True when evaluating needs the user properties of an item.
    bool usesUserProperties() const { return m_usesUserProperties; }

    struct Node;

private:
    std::shared_ptr<const Node> m_root;
    bool m_usesUserProperties = false;
};

// Compares two values of one field for sorting (texts by German collation).
int compareValues(const QVariant& a, const QVariant& b, PropType type);

} // namespace tlm::pim
