// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writes the lines of an item's body: appended to its plain Body, or typed
// into its window's rich-text document with the mail font, tab stops and
// links.
#include "outlook/fwd.h"

#include <QString>

namespace tlm::outlook {

struct BodyFont {
    QString name;
    int size = 11;
};

class BodyWriter {
public:
    // rich: type into the inspector's document (EditorType 4), else append
    // to the item's Body.
    BodyWriter(ItemPtr item, SelectionPtr selection, DocumentPtr document, bool rich,
               BodyFont font);

    bool rich() const { return m_rich; }
    // Rich body: moves to the start and sets two left tab stops (points).
    void setTabStops(int first, int second);
    // label + tab + value; in the rich body the value is a link to target
    // when target is not null.
    void line(const QString& label, const QString& value, const QString* target = nullptr);
    void emptyLine();

private:
    void setFont();

    ItemPtr m_item;
    SelectionPtr m_selection;
    DocumentPtr m_document;
    bool m_rich;
    BodyFont m_font;
};

} // namespace tlm::outlook
