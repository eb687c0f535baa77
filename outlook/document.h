// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rich-text document of an item window (Outlook's WordEditor): a
// selection that types text and paragraphs, fonts, two or more tab stops and
// hyperlinks. Saving the item turns it into the HTML body and the plain Body.
#include "outlook/fwd.h"

#include <QString>

namespace tlm::outlook {

// Units of Selection::Move.
enum Unit { wdCharacter = 1, wdWord = 2, wdSentence = 3, wdParagraph = 4, wdLine = 5, wdStory = 6 };

struct Range {
    int Start = 0; // character positions in the document
    int End = 0;
};

class Selection {
public:
    virtual ~Selection() = default;
    // Collapses the selection and moves it count units (negative: back).
    virtual int Move(int unit, int count) = 0;
    // Moves the active end left; extend keeps the other end (a selection).
    virtual int MoveLeft(int unit = wdCharacter, int count = 1, int extend = 0) = 0;
    virtual int MoveRight(int unit = wdCharacter, int count = 1, int extend = 0) = 0;
    virtual void TypeText(const QString& text) = 0;
    virtual void TypeParagraph() = 0;
    // Font of the selection and of what is typed next.
    virtual void setFontName(const QString& name) = 0;
    virtual void setFontSize(double points) = 0;
    virtual void setFontBold(bool bold) = 0;
    virtual QString FontName() = 0;
    virtual double FontSize() = 0;
    virtual bool FontBold() = 0;
    // ParagraphFormat.TabStops.Add: position in points, alignment 0 left,
    // leader 0 none.
    virtual void AddTabStop(double position, int alignment = 0, int leader = 0) = 0;
    virtual outlook::Range Range() = 0;
    virtual QString Text() = 0; // the selected text
};

class Document {
public:
    virtual ~Document() = default;
    // Windows(1).Selection
    virtual SelectionPtr Selection() = 0;
    // Hyperlinks.Add: replaces the anchor range by textToDisplay (the
    // address when empty), linked to address; the selection ends after it.
    virtual void AddHyperlink(const outlook::Range& anchor, const QString& address,
                              const QString& subAddress = {}, const QString& screenTip = {},
                              const QString& textToDisplay = {}) = 0;
    virtual QString Content() = 0; // the whole text; paragraphs end with "\r"
    virtual QString Html() = 0;
};

} // namespace tlm::outlook
