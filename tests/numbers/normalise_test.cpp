// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Dialling form of contact numbers and the own country from the telephony
// location.
#include "numbers/normalise.h"
#include "tests/numbers/numberstest.h"

#include <functional>
#include <vector>

using namespace Qt::StringLiterals;

namespace tlm::test {
namespace {

using NormNumber = NumbersTest;

struct Case {
    QString input;
    QString expected;
};

void expectNormalised(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        QString number = c.input;
        EXPECT_EQ(fncNormNumber(number), c.expected) << qPrintable(c.input);
        EXPECT_EQ(number, c.expected) << "caller's variable for " << qPrintable(c.input);
    }
}

TEST_F(NormNumber, GermanLocation) {
    setLocation(dword(0), u"Location0"_s, -1);
    expectNormalised({
        {u"+49 (30) 1234-567"_s, u"0301234567"_s},
        {u"030/123456"_s, u"030123456"_s},
        {u"+49 (0)30 123456"_s, u"0030123456"_s},
        {u"+43 1 5321234"_s, u"004315321234"_s},
        {u"0043 1 5321234"_s, u"004315321234"_s},
        {u"+1 (555) 010-9999"_s, u"0015550109999"_s},
        {u"0049 30 123456"_s, u"004930123456"_s},
        // every separator goes, other characters stay
        {u"[0]30\\12-3/4 (5)"_s, u"03012345"_s},
        {u"030.123\tx"_s, u"030.123\tx"_s},
        // the own code anywhere, every time; then no "+" rule
        {u"+49 30 +49 1"_s, u"03001"_s},
        {u"+4930123+1"_s, u"030123+1"_s},
        {QString(), QString()},
    });
}

TEST_F(NormNumber, ForeignLocation) {
    setCountry(43);
    EXPECT_EQ(fncOwnCountryCode(), u"+43"_s);
    expectNormalised({
        {u"+43 1 5321234"_s, u"015321234"_s},
        {u"+49 30 123456"_s, u"004930123456"_s},
    });
    // A caller that read the own code once passes it in.
    QString number = u"+41 44 1 +43"_s;
    EXPECT_EQ(fncNormNumber(number, u"+41"_s), u"0441+43"_s);
}

TEST_F(NormNumber, UnreadableLocationCountsAsGermany) {
    // No registry view at all, a location without its Country, a location ID
    // that is an empty text: never a bare "+", which would turn "+43" into "043".
    const std::vector<std::function<void()>> setups{
        [] {},
        [this] { setLocation(dword(3), u"Location3"_s, -1); },
        [this] { setLocation(dword(3), u"Location1"_s, 43); },
        [this] { setLocation(u"\"  \""_s, u"Location1"_s, 43); },
    };
    for (const auto& setup : setups) {
        setup();
        EXPECT_EQ(fncOwnCountryCode(), u"+49"_s);
        expectNormalised({{u"+49 30 1"_s, u"0301"_s}, {u"+43 1"_s, u"00431"_s}});
    }
}

TEST_F(NormNumber, LocationIdIsTrimmedText) {
    setLocation(u"\" 7 \""_s, u"Location7"_s, 41);
    EXPECT_EQ(fncLocationID(), u"7"_s);
    EXPECT_EQ(fncOwnCountryCode(), u"+41"_s);
    setLocation(dword(0), u"Location0"_s, 43); // location 0 is always Germany
    EXPECT_EQ(fncLocationID(), u"0"_s);
    EXPECT_EQ(fncOwnCountryCode(), u"+49"_s);
}

} // namespace
} // namespace tlm::test
