// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/textmerge.h"

#include <algorithm>

namespace tlm::viewer {

QString mergeText(const QString& base, const QString& mine, const QString& theirs) {
    if (theirs == base || theirs == mine)
        return mine;
    if (mine == base)
        return theirs;
    // The run of base that the user replaced: base[p, base.size() - s).
    const qsizetype limit = std::min(base.size(), mine.size());
    qsizetype p = 0;
    while (p < limit && base[p] == mine[p])
        ++p;
    qsizetype s = 0;
    while (s < limit - p && base[base.size() - 1 - s] == mine[mine.size() - 1 - s])
        ++s;
    const QString typed = mine.mid(p, mine.size() - p - s);
    const qsizetype replaced = base.size() - p - s;
    // Their changes lie after the user's run: its start is unchanged.
    if (theirs.startsWith(QStringView(base).left(p + replaced)))
        return theirs.left(p) + typed + theirs.mid(p + replaced);
    // Their changes lie before it: its end is unchanged.
    if (theirs.endsWith(QStringView(base).right(s + replaced)))
        return theirs.left(theirs.size() - s - replaced) + typed + theirs.right(s);
    if (typed.isEmpty())
        return theirs;
    const bool newLine = theirs.isEmpty() || theirs.endsWith(u'\n');
    return theirs + (newLine ? QString() : QStringLiteral("\n")) + typed.trimmed();
}

} // namespace tlm::viewer
