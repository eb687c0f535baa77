// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Reading multistatus answers as servers write them.
#include "sync/multistatus.h"
#include "sync/syncerror.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace tlm::sync;

TEST(Multistatus, ReadsPropertiesInAnyPrefixAndKeepsOnlyFoundOnes) {
    const QByteArray xml =
        "<?xml version='1.0' encoding='utf-8'?>\n"
        "<ns0:multistatus xmlns:ns0=\"DAV:\" xmlns:ns1=\"urn:ietf:params:xml:ns:caldav\">"
        "<ns0:response><ns0:href>/u/Anruf%20journal/</ns0:href>"
        "<ns0:propstat><ns0:status>HTTP/1.1 200 OK</ns0:status><ns0:prop>"
        "<ns0:resourcetype><ns0:collection/><ns1:calendar/></ns0:resourcetype>"
        "<ns0:displayname> Anrufjournal &amp; mehr </ns0:displayname>"
        "<ns1:supported-calendar-component-set><ns1:comp name=\"VJOURNAL\"/>"
        "</ns1:supported-calendar-component-set>"
        "<ns0:supported-report-set><ns0:supported-report><ns0:report><ns0:sync-collection/>"
        "</ns0:report></ns0:supported-report></ns0:supported-report-set>"
        "</ns0:prop></ns0:propstat>"
        "<ns0:propstat><ns0:status>HTTP/1.1 404 Not Found</ns0:status><ns0:prop>"
        "<ns0:getctag/></ns0:prop></ns0:propstat></ns0:response>"
        "<ns0:response><ns0:href>/u/x.vcf</ns0:href><ns0:status>HTTP/1.1 404 Not Found"
        "</ns0:status></ns0:response>"
        "<ns0:sync-token>http://example/sync/42</ns0:sync-token></ns0:multistatus>";
    const Multistatus ms = parseMultistatus(xml);
    ASSERT_EQ(ms.responses.size(), 2);
    const DavResponse& c = ms.responses[0];
    EXPECT_EQ(c.href, u"/u/Anruf%20journal/"_s);
    EXPECT_EQ(c.text(u"{DAV:}displayname"_s), u"Anrufjournal & mehr"_s);
    EXPECT_EQ(c.prop(u"{DAV:}resourcetype"_s)->children,
              (QStringList{u"{DAV:}collection"_s, u"{urn:ietf:params:xml:ns:caldav}calendar"_s}));
    EXPECT_EQ(c.prop(u"{urn:ietf:params:xml:ns:caldav}supported-calendar-component-set"_s)->comps,
              QStringList{u"VJOURNAL"_s});
    EXPECT_TRUE(c.prop(u"{DAV:}supported-report-set"_s)
                    ->descendants.contains(u"{DAV:}sync-collection"_s));
    EXPECT_EQ(c.prop(u"{DAV:}getctag"_s), nullptr);
    const DavProperty* comps =
        c.prop(u"{urn:ietf:params:xml:ns:caldav}supported-calendar-component-set"_s);
    ASSERT_EQ(comps->descendantAttributes.size(), 1);
    EXPECT_EQ(comps->descendantAttributes[0].value(u"name"_s), u"VJOURNAL"_s);
    EXPECT_EQ(ms.responses[1].status, 404);
    EXPECT_EQ(ms.syncToken, u"http://example/sync/42"_s);
}

TEST(Multistatus, RefusesWhatIsNoMultistatus) {
    for (const QByteArray& bad :
         {QByteArray("<html><body>Login</body></html>"), QByteArray("not xml at all"),
          QByteArray("<d:multistatus xmlns:d=\"DAV:\"><d:response><d:href>/a</d:href>"),
          QByteArray("<?xml version=\"1.0\"?><!DOCTYPE m [<!ENTITY a \"aaaaaaaaaa\">"
                     "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\"><!ENTITY c \"&b;&b;&b;&b;"
                     "&b;&b;&b;&b;&b;&b;\"><!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">]>"
                     "<multistatus xmlns=\"DAV:\"><response><href>&d;&d;&d;&d;&d;&d;&d;&d;"
                     "</href></response></multistatus>"),
          QByteArray()}) {
        try {
            parseMultistatus(bad);
            ADD_FAILURE() << "accepted: " << bad.left(60).constData();
        } catch (const SyncError& e) {
            EXPECT_EQ(e.failure(), Failure::BadAnswer);
        }
    }
}

TEST(Multistatus, ReadsTheStatusLine) {
    EXPECT_EQ(statusOfLine(u"HTTP/1.1 200 OK"), 200);
    EXPECT_EQ(statusOfLine(u"  HTTP/1.1 404 Not Found\n"), 404);
    EXPECT_EQ(statusOfLine(u"garbage"), 0);
}
