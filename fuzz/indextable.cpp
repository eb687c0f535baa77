// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz/indextable.h"

#include "numbers/indexfile.h"
#include "numbers/indextable.h"
#include "numbers/indextableformat.h"

#include <QFile>
#include <QtEndian>
#include <cstdlib>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace tlm::fuzz {
namespace {
// Lines of every kind a scan meets: one number on several lines, numbers
// that are prefixes of others, the empty number, a line that is no record
// and a last line without its line end.
constexpr QByteArrayView IndexBytes = "\"030123\",\"A\",1,0\r\n"
                                      "\"0301234\",\"B\",2,-1\r\n"
                                      "no record\r\n"
                                      "\"00493012\",\"C\",3,0\r\n"
                                      "\"030123\",\"D\",4,0\r\n"
                                      "\"\",\"E\",5,0\r\n"
                                      "\"03012\"x,\"F\",6,0\r\n"
                                      "\"0171\",\"G\",12,-1\r\n"
                                      "\"030123\",\"H\",10,-1";
const QString Numbers[] = {u"030123"_s, u"0301234"_s, u"03012"_s, u"00493012"_s, QString(),
                           u"0171"_s,   u"017"_s,     u"9"_s};

struct Index {
    QString path;
    IndexSeal seal;
    quint64 inode = 0;
};

// The index is written once, so that its seal stays.
const Index& fuzzIndex(const QString& scratch) {
    static const Index index = [&] {
        Index i{scratch + u"tlm20261208.idx"_s, {}, 0};
        QFile f(i.path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            f.write(IndexBytes.data(), IndexBytes.size()) != IndexBytes.size())
            std::abort();
        f.close();
        struct stat st {};
        const std::optional<IndexSeal> seal = sealOfIndex(i.path);
        if (!seal || ::stat(QFile::encodeName(i.path).constData(), &st) != 0)
            std::abort();
        i.seal = *seal;
        i.inode = quint64(st.st_ino);
        return i;
    }();
    return index;
}

// A table that starts like one gets this index's seal and inode and a sound
// header, so that the groups and records behind it are what is tried.
QByteArray tiedToIndex(QByteArrayView input, const Index& index) {
    QByteArray table = input.toByteArray();
    if (table.size() < indextable::HeaderSize || !input.startsWith(indextable::Magic))
        return table;
    const auto* p = reinterpret_cast<const uchar*>(input.data()) + 8 + SealSize + 8;
    const indextable::Header header{index.seal, index.inode, qFromLittleEndian<quint32>(p),
                                    qFromLittleEndian<quint32>(p + 4)};
    table.replace(0, indextable::HeaderSize, indextable::headerBytes(header));
    return table;
}

QString answer(const QList<IndexMatch>& matches) {
    QString out;
    for (const IndexMatch& m : matches)
        out += m.entryId + u'/' + QString::number(m.field) + u'/' + QString::number(m.journal) +
               u' ';
    return out;
}
} // namespace

void indexTable(const QString& scratch, QByteArrayView input) {
    const Index& index = fuzzIndex(scratch);
    QFile f(indexTablePath(index.path));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    f.write(tiedToIndex(input, index));
    f.close();
    for (const QString& number : Numbers)
        if (answer(lookupIndex(index.path, number)) != answer(scanIndex(index.path, number)))
            std::abort();
}

} // namespace tlm::fuzz
