// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/pebuilder.h"

#include <QFile>
#include <QtEndian>

namespace tlm::test {
namespace {
class Writer {
public:
    QByteArray bytes;
    void u16(quint16 v) { put(&v, sizeof v); }
    void u32(quint32 v) { put(&v, sizeof v); }
    void zeros(int n) { bytes.append(n, '\0'); }
    void padTo(int size) { zeros(size - static_cast<int>(bytes.size())); }
    void align4() { zeros(static_cast<int>((4 - bytes.size() % 4) % 4)); }
    void setU32(int at, quint32 v) { qToLittleEndian(v, bytes.data() + at); }

private:
    template <class T> void put(const T* v, int n) {
        T le = qToLittleEndian(*v);
        bytes.append(reinterpret_cast<const char*>(&le), n);
    }
};

constexpr quint32 SectionRva = 0x1000;
constexpr quint32 SectionFileOffset = 0x200;

QByteArray versionInfo(const PeVersion& v) {
    Writer w;
    w.u16(0); // length, set below
    w.u16(52);
    w.u16(0);
    for (QChar c : QStringLiteral("VS_VERSION_INFO"))
        w.u16(c.unicode());
    w.u16(0);
    w.align4();
    w.u32(0xFEEF04BD);
    w.u32(0x00010000);
    w.u32(quint32(v.file[0]) << 16 | v.file[1]);
    w.u32(quint32(v.file[2]) << 16 | v.file[3]);
    w.u32(quint32(v.product[0]) << 16 | v.product[1]);
    w.u32(quint32(v.product[2]) << 16 | v.product[3]);
    w.zeros(7 * 4);
    qToLittleEndian(quint16(w.bytes.size()), w.bytes.data());
    return w.bytes;
}

// Resource tree: type 16 -> id 1 -> language 0x409 -> data entry.
QByteArray resourceSection(const PeVersion* version) {
    Writer w;
    const auto directory = [&](quint32 id, quint32 target) {
        w.zeros(12);
        w.u16(0);
        w.u16(1);
        w.u32(id);
        w.u32(target);
    };
    const quint32 typeId = version ? 16 : 3; // without a version: an icon resource
    directory(typeId, 0x80000000 | 24);
    directory(1, 0x80000000 | 48);
    directory(0x409, 72);
    const QByteArray data = version ? versionInfo(*version) : QByteArray(16, '\x11');
    w.u32(SectionRva + 88);
    w.u32(static_cast<quint32>(data.size()));
    w.u32(0);
    w.u32(0);
    w.bytes.append(data);
    return w.bytes;
}
} // namespace

QByteArray buildPe(const PeVersion* version, bool wide) {
    const QByteArray rsrc = resourceSection(version);
    Writer w;
    w.bytes.append("MZ");
    w.padTo(0x3C);
    w.u32(0x40);
    w.bytes.append("PE\0\0", 4);
    w.u16(wide ? 0x8664 : 0x14c);
    w.u16(1);
    w.zeros(12);
    const quint16 optionalSize = wide ? 0xF0 : 0xE0;
    w.u16(optionalSize);
    w.u16(0x0102);
    const int optionalStart = static_cast<int>(w.bytes.size());
    w.u16(wide ? 0x20b : 0x10b);
    w.padTo(optionalStart + (wide ? 108 : 92));
    w.u32(16);
    w.zeros(16 * 8);
    const int resourceEntry = optionalStart + (wide ? 112 : 96) + 2 * 8;
    w.setU32(resourceEntry, SectionRva);
    w.setU32(resourceEntry + 4, static_cast<quint32>(rsrc.size()));
    // section table
    w.bytes.append(".rsrc\0\0\0", 8);
    w.u32(static_cast<quint32>(rsrc.size()));
    w.u32(SectionRva);
    w.u32(static_cast<quint32>(rsrc.size()));
    w.u32(SectionFileOffset);
    w.zeros(12);
    w.u32(0x40000040);
    w.padTo(SectionFileOffset);
    w.bytes.append(rsrc);
    return w.bytes;
}

void writePe(const QString& path, const PeVersion* version, bool wide) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(buildPe(version, wide));
}

} // namespace tlm::test
