// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's version resource and the maker's outside addresses, in one
// place: the options window's footer, the information box and the help menu
// read them from here.
#include <QString>

namespace tlm::versioninfo {

inline const QString fileDescription =
    QStringLiteral("Tellmarin - CTI-Anbindung an Microsoft Outlook");
// The part after the first "|" (and one blank) is the maker's web page.
inline const QString legalNotice =
    QStringLiteral("© 2026 Tellmarin-Team | https://www.tellmarin.example/");
inline const QString supportAddress = QStringLiteral("support@tellmarin.example");
inline const QString klickPage = QStringLiteral("https://www.tellmarin.example/agfeo-klick/");
inline const QString teamViewerPage =
    QStringLiteral("https://www.teamviewer.com/de/download/windows/");

// The legal notice up to its first "|", without the blanks before it.
inline QString copyrightLine() {
    return legalNotice.section(QLatin1Char('|'), 0, 0).trimmed();
}
// The maker's web page: what follows the first "|" and one more character.
inline QString webPage() {
    const qsizetype bar = legalNotice.indexOf(QLatin1Char('|'));
    return bar < 0 ? QString() : legalNotice.mid(bar + 2);
}

} // namespace tlm::versioninfo
