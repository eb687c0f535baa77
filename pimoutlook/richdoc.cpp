// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "pimoutlook/richdoc.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace tlm::pim {

namespace {
constexpr QChar ParagraphMark = u'\r';

QString escapeHtml(const QString& text) {
    QString out = text.toHtmlEscaped();
    out.replace(u'\t', u"&#9;"_s);
    return out;
}

QString number(double v) {
    return QString::number(v, 'f', 1);
}
} // namespace

RichDocument::RichDocument(const QString& plainBody) {
    QString text = plainBody;
    text.replace(u"\r\n"_s, u"\r"_s).replace(u'\n', ParagraphMark);
    m_text = text;
    m_formats = QList<Format>(text.size(), m_typing);
}

outlook::SelectionPtr RichDocument::Selection() {
    return shared_from_this();
}

QString RichDocument::Text() {
    return m_text.mid(start(), end() - start());
}

outlook::Range RichDocument::Range() {
    return {start(), end()};
}

void RichDocument::replaceSelection(const QString& text, const Format& format) {
    const int from = start();
    m_text.remove(from, end() - from);
    m_formats.remove(from, end() - from);
    m_text.insert(from, text);
    m_formats.insert(from, text.size(), format);
    m_anchor = m_active = from + static_cast<int>(text.size());
    m_modified = true;
}

void RichDocument::TypeText(const QString& text) {
    Format f = m_typing;
    f.link = -1;
    replaceSelection(text, f);
}

void RichDocument::TypeParagraph() {
    TypeText(QString(ParagraphMark));
}

template <typename F> void RichDocument::applyFormat(F change) {
    change(m_typing);
    for (int i = start(); i < end(); ++i)
        change(m_formats[i]);
    m_modified = true;
}

void RichDocument::setFontName(const QString& name) {
    applyFormat([&](Format& f) { f.font = name; });
}

void RichDocument::setFontSize(double points) {
    applyFormat([&](Format& f) { f.size = points; });
}

void RichDocument::setFontBold(bool bold) {
    applyFormat([&](Format& f) { f.bold = bold; });
}

void RichDocument::AddTabStop(double position, int alignment, int leader) {
    for (const TabStop& t : m_tabs) {
        if (qFuzzyCompare(t.position, position))
            return;
    }
    m_tabs.append({position, alignment, leader});
    std::sort(m_tabs.begin(), m_tabs.end(),
              [](const TabStop& a, const TabStop& b) { return a.position < b.position; });
    m_modified = true;
}

void RichDocument::AddHyperlink(const outlook::Range& anchor, const QString& address,
                                const QString& subAddress, const QString& screenTip,
                                const QString& textToDisplay) {
    m_anchor = std::clamp(anchor.Start, 0, static_cast<int>(m_text.size()));
    m_active = std::clamp(anchor.End, m_anchor, static_cast<int>(m_text.size()));
    QString shown = textToDisplay;
    if (shown.isEmpty())
        shown = start() < end() ? Text() : address;
    m_links.append({address, subAddress, screenTip});
    Format f = m_typing;
    f.link = static_cast<int>(m_links.size()) - 1;
    replaceSelection(shown, f);
}

// A character's class for word movement: a link counts as one word.
int RichDocument::stepCharClass(int pos) const {
    if (m_formats[pos].link >= 0)
        return 100 + m_formats[pos].link;
    const QChar c = m_text[pos];
    if (c == ParagraphMark)
        return 1;
    if (c.isSpace())
        return 2;
    if (c.isLetterOrNumber())
        return 3;
    return 4;
}

int RichDocument::nextWord(int pos) const {
    const int size = static_cast<int>(m_text.size());
    if (pos >= size)
        return size;
    const int cls = stepCharClass(pos);
    while (pos < size && stepCharClass(pos) == cls && cls != 1)
        ++pos;
    if (cls == 1)
        ++pos;
    while (pos < size && stepCharClass(pos) == 2) // trailing blanks belong to the word
        ++pos;
    return pos;
}

int RichDocument::previousWord(int pos) const {
    while (pos > 0 && stepCharClass(pos - 1) == 2)
        --pos;
    if (pos == 0)
        return 0;
    const int cls = stepCharClass(pos - 1);
    if (cls == 1)
        return pos - 1;
    while (pos > 0 && stepCharClass(pos - 1) == cls)
        --pos;
    return pos;
}

int RichDocument::nextParagraph(int pos) const {
    const qsizetype mark = m_text.indexOf(ParagraphMark, pos);
    return mark < 0 ? static_cast<int>(m_text.size()) : static_cast<int>(mark) + 1;
}

int RichDocument::previousParagraph(int pos) const {
    if (pos == 0)
        return 0;
    const qsizetype mark = m_text.lastIndexOf(ParagraphMark, pos - 2);
    return mark < 0 ? 0 : static_cast<int>(mark) + 1;
}

int RichDocument::moveBy(int pos, int unit, int count, int& moved) const {
    const int size = static_cast<int>(m_text.size());
    const int direction = count < 0 ? -1 : 1;
    for (int i = 0; i < std::abs(count); ++i) {
        int next = pos;
        switch (unit) {
        case outlook::wdStory:
            next = direction < 0 ? 0 : size;
            break;
        case outlook::wdWord:
        case outlook::wdSentence:
            next = direction < 0 ? previousWord(pos) : nextWord(pos);
            break;
        case outlook::wdLine:
        case outlook::wdParagraph:
            next = direction < 0 ? previousParagraph(pos) : nextParagraph(pos);
            break;
        default:
            next = std::clamp(pos + direction, 0, size);
            break;
        }
        if (next == pos)
            break;
        pos = next;
        moved += direction;
    }
    return pos;
}

int RichDocument::Move(int unit, int count) {
    int moved = 0;
    if (m_anchor != m_active && count != 0) {
        m_anchor = m_active = count > 0 ? end() : start(); // collapsing counts as one unit
        moved = count > 0 ? 1 : -1;
        count -= moved;
    }
    m_anchor = m_active = moveBy(m_active, unit, count, moved);
    return moved;
}

int RichDocument::MoveLeft(int unit, int count, int extend) {
    if (!extend && m_anchor != m_active) {
        m_anchor = m_active = start();
        --count;
    }
    int moved = 0;
    m_active = moveBy(m_active, unit, -count, moved);
    if (!extend)
        m_anchor = m_active;
    return -moved;
}

int RichDocument::MoveRight(int unit, int count, int extend) {
    if (!extend && m_anchor != m_active) {
        m_anchor = m_active = end();
        --count;
    }
    int moved = 0;
    m_active = moveBy(m_active, unit, count, moved);
    if (!extend)
        m_anchor = m_active;
    return moved;
}

QString RichDocument::plainText() const {
    QString out = m_text;
    return out.replace(ParagraphMark, u"\r\n"_s);
}

QString RichDocument::htmlParagraph(int from, int to) const {
    QString out = u"<p style=\"margin:0\">"_s;
    if (from == to)
        return out + u"&nbsp;</p>\n"_s;
    int i = from;
    while (i < to) {
        int j = i;
        while (j < to && m_formats[j] == m_formats[i])
            ++j;
        const Format& f = m_formats[i];
        QString span = u"<span style=\"font-family:'"_s + f.font.toHtmlEscaped() +
                       u"';font-size:"_s + number(f.size) + u"pt"_s +
                       (f.bold ? u";font-weight:bold"_s : QString()) + u"\">"_s +
                       escapeHtml(m_text.mid(i, j - i)) + u"</span>"_s;
        if (f.link >= 0) {
            const Link& link = m_links[f.link];
            QString href = link.address;
            if (!link.subAddress.isEmpty())
                href += u'#' + link.subAddress;
            span = u"<a href=\""_s + href.toHtmlEscaped() + u'"' +
                   (link.screenTip.isEmpty()
                        ? QString()
                        : u" title=\""_s + link.screenTip.toHtmlEscaped() + u'"') +
                   u'>' + span + u"</a>"_s;
        }
        out += span;
        i = j;
    }
    return out + u"</p>\n"_s;
}

QString RichDocument::Html() {
    QStringList stops;
    for (const TabStop& t : m_tabs)
        stops.append((t.alignment == 1   ? u"center "_s
                      : t.alignment == 2 ? u"right "_s
                                         : u"left "_s) +
                     number(t.position) + u"pt"_s);
    QString out = u"<html>\n<head>\n<meta http-equiv=\"Content-Type\" content=\"text/html; "
                  u"charset=utf-8\">\n<style>p { tab-stops: "_s +
                  (stops.isEmpty() ? u"none"_s : stops.join(u' ')) +
                  u"; }</style>\n</head>\n<body>\n"_s;
    int from = 0;
    const int size = static_cast<int>(m_text.size());
    while (from < size) {
        const int mark = static_cast<int>(m_text.indexOf(ParagraphMark, from));
        const int to = mark < 0 ? size : mark;
        out += htmlParagraph(from, to);
        from = to + 1;
    }
    return out + u"</body>\n</html>\n"_s;
}

} // namespace tlm::pim
