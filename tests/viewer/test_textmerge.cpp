// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Merging the notes a user typed with what another process wrote into the
// same text: nobody's text is lost.
#include "tests/support/testenv.h"
#include "viewer/textmerge.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using tlm::viewer::mergeText;

TEST(TextMerge, EitherSideAloneWins) {
    EXPECT_EQ(mergeText(u"a"_s, u"a b"_s, u"a"_s), u"a b"_s);
    EXPECT_EQ(mergeText(u"a"_s, u"a"_s, u"a c"_s), u"a c"_s);
    EXPECT_EQ(mergeText(u"a"_s, u"a b"_s, u"a b"_s), u"a b"_s);
}

TEST(TextMerge, BothSidesChangesAreKept) {
    // Typed at the end, the other wrote at the start.
    EXPECT_EQ(mergeText(u"Kopf\nText\n"_s, u"Kopf\nText\nNotiz"_s, u"Neu\nKopf\nText\n"_s),
              u"Neu\nKopf\nText\nNotiz"_s);
    // Typed at the start, the other appended.
    EXPECT_EQ(mergeText(u"Text"_s, u"Notiz Text"_s, u"Text Ende"_s), u"Notiz Text Ende"_s);
    // Typed in the middle, the other replaced everything: the typed text is added.
    EXPECT_EQ(mergeText(u"eins zwei"_s, u"eins neu zwei"_s, u"ganz anders"_s),
              u"ganz anders\nneu"_s);
    // Deleted by the user where the other changed nothing nearby.
    EXPECT_EQ(mergeText(u"a b c"_s, u"a c"_s, u"a b c d"_s), u"a c d"_s);
}
