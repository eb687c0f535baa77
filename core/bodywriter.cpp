// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/bodywriter.h"

#include "outlook/document.h"
#include "outlook/item.h"

namespace tlm::outlook {
namespace {
const QString crlf = QStringLiteral("\r\n");
}

BodyWriter::BodyWriter(ItemPtr item, SelectionPtr selection, DocumentPtr document, bool rich,
                       BodyFont font)
    : m_item(std::move(item)), m_selection(std::move(selection)), m_document(std::move(document)),
      m_rich(rich), m_font(std::move(font)) {}

void BodyWriter::setFont() {
    m_selection->setFontName(m_font.name);
    m_selection->setFontSize(m_font.size);
    m_selection->setFontBold(false);
}

void BodyWriter::setTabStops(int first, int second) {
    m_selection->Move(wdStory, -1);
    m_selection->AddTabStop(first, 0, 0);
    m_selection->AddTabStop(second, 0, 0);
}

void BodyWriter::line(const QString& label, const QString& value, const QString* target) {
    if (!m_rich) {
        m_item->setBody(m_item->Body() + label + QLatin1Char('\t') + value + crlf);
        return;
    }
    setFont();
    m_selection->TypeText(label + QLatin1Char('\t'));
    setFont();
    if (target) {
        m_document->AddHyperlink(m_selection->Range(), *target, {}, {}, value);
        m_selection->MoveLeft(wdWord, 1, 1);
        setFont();
        m_selection->Move(wdLine, 1);
    } else {
        m_selection->TypeText(value);
    }
    m_selection->TypeParagraph();
}

void BodyWriter::emptyLine() {
    if (m_rich)
        m_selection->TypeParagraph();
    else
        m_item->setBody(m_item->Body() + crlf);
}

} // namespace tlm::outlook
