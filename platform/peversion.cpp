// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/peversion.h"

#include "platform/fileio.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

#include <cstring>

using namespace Qt::StringLiterals;

namespace tlm {
namespace {

constexpr quint16 PE32Magic = 0x10B;
constexpr quint16 PE32PlusMagic = 0x20B;
constexpr quint32 ResourceDirectoryIndex = 2;
constexpr quint32 RtVersion = 16;
constexpr quint32 FixedInfoSignature = 0xFEEF04BD;
constexpr quint32 SubdirectoryFlag = 0x80000000u;

// Bounds-checked little-endian reads from the mapped file; every read of an
// offset outside the file fails the whole lookup.
class Image {
public:
    Image(const uchar* data, qint64 size) : m_data(data), m_size(size) {}

    bool fits(qint64 offset, qint64 length) const {
        return offset >= 0 && length >= 0 && offset <= m_size && length <= m_size - offset;
    }
    std::optional<quint16> u16(qint64 offset) const {
        if (!fits(offset, 2))
            return std::nullopt;
        return quint16(m_data[offset] | (m_data[offset + 1] << 8));
    }
    std::optional<quint32> u32(qint64 offset) const {
        if (!fits(offset, 4))
            return std::nullopt;
        return quint32(m_data[offset]) | (quint32(m_data[offset + 1]) << 8) |
               (quint32(m_data[offset + 2]) << 16) | (quint32(m_data[offset + 3]) << 24);
    }
    bool bytesAt(qint64 offset, const void* expected, qint64 length) const {
        return fits(offset, length) && std::memcmp(m_data + offset, expected, size_t(length)) == 0;
    }

private:
    const uchar* m_data;
    qint64 m_size;
};

struct Section {
    quint32 virtualAddress;
    quint32 rawSize;
    quint32 rawPointer;
};

class PeFile {
public:
    explicit PeFile(const Image& image) : m_image(image) {}

    // The VS_FIXEDFILEINFO's file offset, or nullopt.
    std::optional<qint64> fixedFileInfo();

private:
    bool readHeaders();
    std::optional<qint64> fileOffset(quint32 rva, quint32 length) const;
    // Offset (within the resource data) of the entry of a resource directory
    // at dirOffset: the entry with the id, or the first entry when id is empty.
    std::optional<quint32> entry(quint32 dirOffset, std::optional<quint32> id) const;
    std::optional<quint32> resourceU32(quint32 offset) const;

    const Image& m_image;
    QList<Section> m_sections;
    quint32 m_resourceRva = 0;
    quint32 m_resourceSize = 0;
};

bool PeFile::readHeaders() {
    if (!m_image.bytesAt(0, "MZ", 2))
        return false;
    const auto lfanew = m_image.u32(0x3C);
    if (!lfanew || !m_image.bytesAt(*lfanew, "PE\0\0", 4))
        return false;
    const qint64 coff = qint64(*lfanew) + 4;
    const auto sectionCount = m_image.u16(coff + 2);
    const auto optionalSize = m_image.u16(coff + 16);
    if (!sectionCount || !optionalSize)
        return false;
    const qint64 optional = coff + 20;
    const auto magic = m_image.u16(optional);
    if (!magic || (*magic != PE32Magic && *magic != PE32PlusMagic))
        return false;
    const qint64 directoryCountAt = optional + (*magic == PE32Magic ? 92 : 108);
    const qint64 directories = directoryCountAt + 4;
    const auto directoryCount = m_image.u32(directoryCountAt);
    const qint64 resourceEntry = directories + 8 * ResourceDirectoryIndex;
    if (!directoryCount || *directoryCount <= ResourceDirectoryIndex ||
        resourceEntry + 8 > optional + *optionalSize)
        return false;
    const auto resourceRva = m_image.u32(resourceEntry);
    const auto resourceSize = m_image.u32(resourceEntry + 4);
    if (!resourceRva || !resourceSize || *resourceRva == 0)
        return false;
    m_resourceRva = *resourceRva;
    m_resourceSize = *resourceSize;
    const qint64 table = optional + *optionalSize;
    for (int i = 0; i < *sectionCount; ++i) {
        const qint64 at = table + 40 * qint64(i);
        const auto va = m_image.u32(at + 12);
        const auto rawSize = m_image.u32(at + 16);
        const auto rawPointer = m_image.u32(at + 20);
        if (!va || !rawSize || !rawPointer)
            return false;
        m_sections.append({*va, *rawSize, *rawPointer});
    }
    return true;
}

std::optional<qint64> PeFile::fileOffset(quint32 rva, quint32 length) const {
    for (const Section& s : m_sections) {
        if (rva < s.virtualAddress)
            continue;
        const quint64 within = quint64(rva) - s.virtualAddress;
        if (within + length > s.rawSize)
            continue;
        const qint64 offset = qint64(s.rawPointer) + qint64(within);
        if (!m_image.fits(offset, length))
            return std::nullopt;
        return offset;
    }
    return std::nullopt;
}

std::optional<quint32> PeFile::resourceU32(quint32 offset) const {
    if (quint64(offset) + 4 > m_resourceSize)
        return std::nullopt;
    const auto at = fileOffset(m_resourceRva + offset, 4);
    if (!at)
        return std::nullopt;
    return m_image.u32(*at);
}

std::optional<quint32> PeFile::entry(quint32 dirOffset, std::optional<quint32> id) const {
    const auto counts = resourceU32(dirOffset + 12); // named entries, then id entries
    if (!counts)
        return std::nullopt;
    const quint32 total = (*counts & 0xFFFF) + (*counts >> 16);
    for (quint32 i = 0; i < total; ++i) {
        const quint32 at = dirOffset + 16 + 8 * i;
        const auto name = resourceU32(at);
        if (!name)
            return std::nullopt;
        if (!id || *name == *id)
            return at;
    }
    return std::nullopt;
}

std::optional<qint64> PeFile::fixedFileInfo() {
    if (!readHeaders())
        return std::nullopt;
    // Three levels: type RT_VERSION, then the first name, then the first language.
    quint32 dir = 0;
    for (int level = 0; level < 3; ++level) {
        const auto at = entry(dir, level == 0 ? std::optional<quint32>(RtVersion) : std::nullopt);
        if (!at)
            return std::nullopt;
        const auto target = resourceU32(*at + 4);
        if (!target)
            return std::nullopt;
        const bool subdirectory = (*target & SubdirectoryFlag) != 0;
        if (subdirectory != (level < 2))
            return std::nullopt;
        dir = *target & ~SubdirectoryFlag;
    }
    const auto dataRva = resourceU32(dir);
    const auto dataSize = resourceU32(dir + 4);
    if (!dataRva || !dataSize)
        return std::nullopt;
    const auto block = fileOffset(*dataRva, *dataSize);
    if (!block)
        return std::nullopt;
    // VS_VERSIONINFO: length, value length, type, key, padding, fixed info.
    static const char16_t key[] = u"VS_VERSION_INFO";
    const qint64 keyAt = *block + 6;
    for (qint64 i = 0; i < qint64(std::size(key)); ++i) {
        const auto c = m_image.u16(keyAt + 2 * i);
        if (!c || *c != key[i])
            return std::nullopt;
    }
    const auto blockLength = m_image.u16(*block);
    const auto valueLength = m_image.u16(*block + 2);
    const qint64 fixedRelative = (6 + 2 * qint64(std::size(key)) + 3) & ~qint64(3);
    if (!blockLength || !valueLength || *valueLength < 52 || *blockLength > *dataSize ||
        fixedRelative + 52 > *blockLength)
        return std::nullopt;
    const qint64 fixed = *block + fixedRelative;
    const auto signature = m_image.u32(fixed);
    if (!signature || *signature != FixedInfoSignature)
        return std::nullopt;
    return fixed;
}

QString versionText(quint32 ms, quint32 ls) {
    return u"%1.%2.%3.%4"_s.arg(ms >> 16).arg(ms & 0xFFFF).arg(ls >> 16).arg(ls & 0xFFFF);
}

} // namespace

QString fncFileVersion(const QString& path, bool fileVersion) {
    // Opened without blocking: a FIFO or a device in the file's place has
    // no version.
    const int fd = fileio::openRegular(path, O_RDONLY, 0, fileio::Links::Follow);
    QFile file;
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        if (fd >= 0)
            ::close(fd);
        return {};
    }
    const qint64 size = file.size();
    if (size <= 0)
        return {};
    QByteArray buffer;
    const uchar* data = file.map(0, size);
    qint64 length = size;
    if (!data) {
        buffer = file.readAll();
        data = reinterpret_cast<const uchar*>(buffer.constData());
        length = buffer.size();
    }
    const Image image(data, length);
    PeFile pe(image);
    const auto fixed = pe.fixedFileInfo();
    if (!fixed)
        return {};
    // dwSignature, dwStrucVersion, dwFileVersionMS/LS, dwProductVersionMS/LS
    const qint64 first = *fixed + (fileVersion ? 8 : 16);
    return versionText(*image.u32(first), *image.u32(first + 4));
}

} // namespace tlm
