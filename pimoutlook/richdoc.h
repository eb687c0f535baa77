// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rich-text document behind an item window: text with per-character
// formats (font, size, bold, link), tab stops and one selection. It renders
// to the item's HTML body and plain Body when the item is saved.
#include "outlook/document.h"

#include <QList>
#include <QString>
#include <memory>

namespace tlm::pim {

class RichDocument : public outlook::Document,
                     public outlook::Selection,
                     public std::enable_shared_from_this<RichDocument> {
public:
    // A document holding a plain body (CR LF or LF line ends).
    explicit RichDocument(const QString& plainBody = QString());

    bool modified() const { return m_modified; }
    QString plainText() const; // paragraphs joined by CR LF, links as their text

    // Document
    outlook::SelectionPtr Selection() override;
    void AddHyperlink(const outlook::Range& anchor, const QString& address,
                      const QString& subAddress, const QString& screenTip,
                      const QString& textToDisplay) override;
    QString Content() override { return m_text; }
    QString Html() override;

    // Selection
    int Move(int unit, int count) override;
    int MoveLeft(int unit, int count, int extend) override;
    int MoveRight(int unit, int count, int extend) override;
    void TypeText(const QString& text) override;
    void TypeParagraph() override;
    void setFontName(const QString& name) override;
    void setFontSize(double points) override;
    void setFontBold(bool bold) override;
    QString FontName() override { return m_typing.font; }
    double FontSize() override { return m_typing.size; }
    bool FontBold() override { return m_typing.bold; }
    void AddTabStop(double position, int alignment, int leader) override;
    outlook::Range Range() override;
    QString Text() override;

private:
    struct Format {
        QString font = QStringLiteral("Calibri");
        double size = 11;
        bool bold = false;
        int link = -1; // index into m_links
        bool operator==(const Format&) const = default;
    };
    struct Link {
        QString address;
        QString subAddress;
        QString screenTip;
    };
    struct TabStop {
        double position;
        int alignment;
        int leader;
    };

    int start() const { return std::min(m_anchor, m_active); }
    int end() const { return std::max(m_anchor, m_active); }
    void replaceSelection(const QString& text, const Format& format);
    template <typename F> void applyFormat(F change);
    int stepCharClass(int pos) const;
    int nextWord(int pos) const;
    int previousWord(int pos) const;
    int nextParagraph(int pos) const;
    int previousParagraph(int pos) const;
    int moveBy(int pos, int unit, int count, int& moved) const;
    QString htmlParagraph(int from, int to) const;

    QString m_text;
    QList<Format> m_formats; // one per character of m_text
    QList<Link> m_links;
    QList<TabStop> m_tabs;
    Format m_typing;
    int m_anchor = 0;
    int m_active = 0;
    bool m_modified = false;
};

} // namespace tlm::pim
