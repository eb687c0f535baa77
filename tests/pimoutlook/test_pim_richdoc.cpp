// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// The rich-text document behind item windows: selection movement as the item
// builders use it, formats, links and the HTML and plain renderings.
#include "pimoutlook/richdoc.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace tlm::outlook;
using tlm::pim::RichDocument;

namespace {

std::shared_ptr<RichDocument> document(const QString& body = {}) {
    return std::make_shared<RichDocument>(body);
}

TEST(PimRichDocument, TypingAtTheStartOfAnExistingBody) {
    auto doc = document(u"alt 1\nalt 2"_s);
    EXPECT_EQ(doc->Content(), u"alt 1\ralt 2"_s);
    EXPECT_FALSE(doc->modified());
    SelectionPtr sel = doc->Selection();
    sel->Move(wdStory, 1);
    EXPECT_EQ(sel->Range().Start, 11);
    EXPECT_EQ(sel->Move(wdStory, -1), -1);
    sel->TypeText(u"neu"_s);
    sel->TypeParagraph();
    EXPECT_TRUE(doc->modified());
    EXPECT_EQ(doc->plainText(), u"neu\r\nalt 1\r\nalt 2"_s);
    EXPECT_EQ(sel->Move(wdStory, -1), -1);
    EXPECT_EQ(sel->Move(wdStory, -1), 0); // already there
}

TEST(PimRichDocument, WordParagraphAndCharacterMovement) {
    auto doc = document();
    SelectionPtr sel = doc->Selection();
    sel->TypeText(u"Hallo schöne Welt"_s);
    EXPECT_EQ(sel->MoveLeft(wdWord, 1, 1), 1);
    EXPECT_EQ(sel->Text(), u"Welt"_s);
    EXPECT_EQ(sel->MoveLeft(wdWord, 1, 1), 1);
    EXPECT_EQ(sel->Text(), u"schöne Welt"_s);
    // Typing replaces the selection.
    sel->TypeText(u"Leute"_s);
    EXPECT_EQ(doc->Content(), u"Hallo Leute"_s);
    sel->MoveLeft(wdCharacter, 2, 0);
    sel->TypeText(u"-"_s);
    EXPECT_EQ(doc->Content(), u"Hallo Leu-te"_s);
    sel->Move(wdStory, -1);
    sel->TypeText(u"Erste\r"_s);
    sel->Move(wdParagraph, 1);
    EXPECT_EQ(sel->Range().Start, static_cast<int>(doc->Content().size())); // no further mark
    sel->Move(wdParagraph, -1);
    EXPECT_EQ(sel->Range().Start, 6);
    EXPECT_EQ(sel->MoveRight(wdCharacter, 5, 1), 5);
    EXPECT_EQ(sel->Text(), u"Hallo"_s);
    // Collapsing a selection counts as the first unit of a move.
    EXPECT_EQ(sel->Move(wdLine, 1), 1);
    EXPECT_EQ(sel->Range().Start, 11);
    EXPECT_EQ(sel->Range().End, 11);
}

TEST(PimRichDocument, FontsApplyToTheSelectionAndToWhatFollows) {
    auto doc = document();
    SelectionPtr sel = doc->Selection();
    sel->setFontName(u"Arial"_s);
    sel->setFontSize(10);
    sel->TypeText(u"normal "_s);
    sel->setFontBold(true);
    sel->TypeText(u"fett"_s);
    sel->MoveLeft(wdWord, 1, 1);
    sel->setFontSize(14); // only "fett" and what is typed next
    sel->Move(wdStory, 1);
    sel->TypeText(u"!"_s);
    EXPECT_TRUE(sel->FontBold());
    EXPECT_DOUBLE_EQ(sel->FontSize(), 14);
    const QString html = doc->Html();
    EXPECT_TRUE(
        html.contains(u"<span style=\"font-family:'Arial';font-size:10.0pt\">normal </span>"_s))
        << html.toStdString();
    EXPECT_TRUE(html.contains(
        u"<span style=\"font-family:'Arial';font-size:14.0pt;font-weight:bold\">fett!</span>"_s))
        << html.toStdString();
}

TEST(PimRichDocument, HyperlinksTabStopsAndEmptyParagraphs) {
    auto doc = document();
    SelectionPtr sel = doc->Selection();
    sel->AddTabStop(113);
    sel->AddTabStop(57);
    sel->AddTabStop(57); // the same stop once
    sel->TypeText(u"Adresse:\t"_s);
    doc->AddHyperlink(sel->Range(), u"https://maps.example/?q=\"A&B\""_s, {}, u"Karte"_s,
                      u"Hauptstr. 1, Berlin"_s);
    sel->TypeParagraph();
    sel->TypeParagraph();
    doc->AddHyperlink(sel->Range(), u"mailto:eva@example.de"_s, {}, {}, {});
    EXPECT_EQ(doc->plainText(), u"Adresse:\tHauptstr. 1, Berlin\r\n\r\nmailto:eva@example.de"_s);
    const QString html = doc->Html();
    EXPECT_TRUE(html.contains(u"tab-stops: left 57.0pt left 113.0pt"_s)) << html.toStdString();
    EXPECT_TRUE(html.contains(
        u"<a href=\"https://maps.example/?q=&quot;A&amp;B&quot;\" title=\"Karte\">"_s));
    EXPECT_TRUE(html.contains(u"<p style=\"margin:0\">&nbsp;</p>"_s));
    EXPECT_TRUE(html.contains(u"Adresse:&#9;"_s));
    // Text typed after a link is not part of it.
    sel->TypeText(u" Ende"_s);
    EXPECT_TRUE(doc->Html().contains(u"</a><span"_s));
}

} // namespace
