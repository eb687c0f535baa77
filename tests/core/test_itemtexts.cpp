// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of call items and the screen layouts of their windows.
#include "core/itemtexts.h"
#include "core/placement.h"
#include "platform/error.h"
#include "tests/support/testenv.h"

#include <gtest/gtest.h>

using namespace tlm;
using namespace tlm::itemtexts;
using namespace Qt::StringLiterals;

TEST(ItemTexts, CaptionNamesTheContactOrItsCompanyAndTheMatchedField) {
    EXPECT_EQ(contactCaption(u"Becker, Thomas"_s, u"Becker Haustechnik"_s, 4, u"0171 1"_s),
              u"Becker, Thomas (Mobil 0171 1)"_s);
    EXPECT_EQ(contactCaption(QString(), u"Hoffmann Druck KG"_s, 6, u"07112233445"_s),
              u"Hoffmann Druck KG (Firma 07112233445)"_s);
    // no matched field counts as the business number
    EXPECT_EQ(contactCaption(u"Wagner, Klaus"_s, {}, 0, u"0221987654"_s),
              u"Wagner, Klaus (Geschäftlich 0221987654)"_s);
}

TEST(ItemTexts, CallTimeFormsAndBadTimeStamps) {
    const QString t = u"2026-12-05 14:30:15"_s;
    EXPECT_EQ(callTime(0, t), u"05.12.2026 14:30:15"_s);
    EXPECT_EQ(callTime(1, t), u"05.12.2026 14:30"_s);
    EXPECT_EQ(callTime(2, t), u"05.12.2026"_s);
    EXPECT_EQ(callTime(4, u"2026-01-02 08:05:00"_s), u"02.01.2026 um 08:05 Uhr"_s);
    for (const QString& bad :
         {QString(), u"2026-13-05 14:30:15"_s, u"gestern"_s, u"2026-12-05 25:00:00"_s}) {
        try {
            callTime(1, bad);
            ADD_FAILURE() << bad.toStdString();
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), err::TypeMismatch);
        }
    }
    EXPECT_THROW(callTime(3, t), Error);
}

TEST(ItemTexts, LongDurationTextCountsHoursMinutesAndSeconds) {
    EXPECT_EQ(longDurationText(3903), u"1 Stunde 5 Minuten 3 Sekunden"_s);
    EXPECT_EQ(longDurationText(7322), u"2 Stunden 2 Minuten 2 Sekunden"_s);
    EXPECT_EQ(longDurationText(3600), u"60 Minuten "_s);
    EXPECT_EQ(longDurationText(60), u"60 Sekunden"_s);
    EXPECT_EQ(longDurationText(61), u"1 Minute 1 Sekunde"_s);
    EXPECT_EQ(longDurationText(7200), u"2 Stunden "_s);
    EXPECT_EQ(longDurationText(0), QString());
}

TEST(ItemTexts, AddressCleaningPutsTheAddressOnOneLine) {
    EXPECT_EQ(
        cleanAddress(u"Hauptstr. 5\r\n10115 Berlin\r\nDeutschland"_s, u","_s, u"Deutschland"_s),
        u"Hauptstr. 5, 10115 Berlin"_s);
    // an empty field between two separators disappears; double blanks go
    EXPECT_EQ(
        cleanAddress(u"Am Markt 3\r\n\r\n50667  Köln, deutschland"_s, u","_s, u"Deutschland"_s),
        u"Am Markt 3, 50667 Köln"_s);
    EXPECT_EQ(cleanAddress(u";Weg 1; ; Ort;"_s, u";"_s, u"Deutschland"_s), u"Weg 1; Ort"_s);
    EXPECT_EQ(cleanAddress(u", ,"_s, u","_s, u"Deutschland"_s), QString());
}

TEST(ItemTexts, MapLinksAndUrlEncoding) {
    EXPECT_EQ(mapLink(u"Am Markt 3, Köln"_s, u"1"_s),
              u"https://www.google.com/maps/place/Am+Markt+3%2C+K%C3%B6ln"_s);
    EXPECT_EQ(mapLink(u" Weg  1;Ort/Land "_s, u"0"_s),
              u"https://www.bing.com/maps/?mkt=de-de&where1=Weg+1%2COrt%2CLand"_s);
    EXPECT_EQ(mapLink(u"Am Markt 3"_s, u"Microsoft Bing"_s), QString());
    EXPECT_EQ(urlEncode(u"50% + 1"_s), u"50%25+%2B+1"_s);
    EXPECT_EQ(urlEncode(u"!\"#$&'()*-./:<=>?@[\\]{|}"_s),
              u"%21%22%23%24%26%27%28%29%2A%2D%2E%2F%3A%3C%3D%3E%3F%40%5B%5C%5D%7B%7C%7D"_s);
    EXPECT_EQ(urlEncode(u"ßÄÖÜäöü é_~"_s), u"%C3%9F%C3%84%C3%96%C3%9C%C3%A4%C3%B6%C3%BC+é_~"_s);
}

TEST(Placement, LayoutsOfTheWorkArea) {
    using placement::layout;
    using P = placement::Placement;
    const placement::WorkArea area{0, 1920, 1040};
    EXPECT_EQ(layout(1, area, 2), (P{50, 50, 1820, 940, 2}));
    EXPECT_EQ(layout(2, area, 1), (P{0, 0, 1920, 1040, 0}));
    EXPECT_EQ(layout(4, area, 1), (P{0, 960, 960, 1040, 2}));
    EXPECT_EQ(layout(6, area, 1), (P{520, 0, 1920, 520, 2}));
    EXPECT_EQ(layout(7, area, 2), (P{50, 1970, 1820, 940, 2}));
    EXPECT_EQ(layout(8, placement::WorkArea{64, 1856, 1040}, 2), (P{0, 64, 0, 0, 0}));
    EXPECT_EQ(layout(10, area, 2), (P{0, 2880, 960, 1040, 2}));
    EXPECT_EQ(layout(12, area, 2), (P{520, 1920, 1920, 520, 2}));
    // one monitor: from 7 on the thirds and quarters; beyond them maximised
    EXPECT_EQ(layout(9, area, 1), (P{0, 1280, 640, 1040, 2}));
    EXPECT_EQ(layout(13, area, 1), (P{0, 1440, 480, 1040, 2}));
    EXPECT_EQ(layout(14, area, 1), (P{}));
    EXPECT_EQ(layout(0, area, 1), (P{}));
    // fractions to the nearest pixel; two thirds are twice the rounded third
    const placement::WorkArea odd{0, 1366, 767};
    EXPECT_EQ(layout(15, odd, 2), (P{0, 2 * 455, 455, 767, 2}));
    EXPECT_EQ(layout(6, odd, 2), (P{384, 0, 1366, 384, 2}));
}
