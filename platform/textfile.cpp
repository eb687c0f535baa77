// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/textfile.h"

#include "platform/fileio.h"

#include <QStringDecoder>

#include <algorithm>
#include <optional>

namespace tlm::textfile {
namespace {

// Windows-1252 differs from Latin-1 only in 0x80-0x9F; the five unassigned
// bytes there keep their Latin-1 (C1 control) meaning.
constexpr char16_t cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::optional<QString> fromStrictUtf8(QByteArrayView bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

bool startsWith(QByteArrayView bytes, QByteArrayView prefix) {
    return bytes.size() >= prefix.size() && bytes.first(prefix.size()) == prefix;
}

// Whether the first units of UTF-16 text of that byte order are mostly
// Latin-1 characters (the first one always): a zero high byte beside a
// non-zero low byte.
bool latin1Units(QByteArrayView bytes, bool littleEndian) {
    const qsizetype units = std::min<qsizetype>(bytes.size() / 2, 128);
    qsizetype latin1 = 0;
    for (qsizetype i = 0; i < units; ++i) {
        const char low = bytes[2 * i + (littleEndian ? 0 : 1)];
        const char high = bytes[2 * i + (littleEndian ? 1 : 0)];
        if (high == 0 && low != 0)
            ++latin1;
        else if (i == 0)
            return false;
    }
    return units > 0 && latin1 * 4 >= units * 3;
}

std::optional<QStringDecoder::Encoding> utf16Form(QByteArrayView bytes) {
    if (bytes.size() % 2 != 0)
        return std::nullopt;
    if (latin1Units(bytes, true))
        return QStringDecoder::Utf16LE;
    if (latin1Units(bytes, false))
        return QStringDecoder::Utf16BE;
    return std::nullopt;
}

} // namespace

// Plain ASCII is the same in every code page the program meets; it needs
// no codec (index records are ASCII throughout).
QByteArray encode(QStringView text) {
    return QtPrivate::isAscii(text) ? text.toLatin1() : text.toLocal8Bit();
}

QString decode(const QByteArray& bytes) {
    return QtPrivate::isAscii(QLatin1StringView(bytes)) ? QString::fromLatin1(bytes)
                                                        : QString::fromLocal8Bit(bytes);
}

QString decodeForeign(const QByteArray& bytes) {
    const QByteArrayView view(bytes);
    if (startsWith(view, "\xEF\xBB\xBF"))
        return QString::fromUtf8(view.sliced(3));
    if (startsWith(view, "\xFF\xFE")) {
        QStringDecoder decoder(QStringDecoder::Utf16LE, QStringDecoder::Flag::Stateless);
        return decoder.decode(view.sliced(2));
    }
    if (startsWith(view, "\xFE\xFF")) {
        QStringDecoder decoder(QStringDecoder::Utf16BE, QStringDecoder::Flag::Stateless);
        return decoder.decode(view.sliced(2));
    }
    if (const auto utf16 = utf16Form(view)) {
        QStringDecoder decoder(*utf16, QStringDecoder::Flag::Stateless);
        return decoder.decode(view);
    }
    if (auto utf8 = fromStrictUtf8(view))
        return *utf8;
    return fromWindows1252(view);
}

bool utf16WithoutMark(QByteArrayView bytes) {
    return utf16Form(bytes).has_value();
}

QString fromWindows1252(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        out[i] = (b >= 0x80 && b <= 0x9F) ? cp1252High[b - 0x80] : char16_t(b);
    }
    return text;
}

void appendLine(const QString& path, const QString& line) {
    QByteArray bytes = encode(line);
    bytes += "\r\n";
    if (!fileio::append(path, bytes))
        fileio::raiseAccess();
}

void append(const QString& path, const QString& text) {
    if (!fileio::append(path, encode(text)))
        fileio::raiseAccess();
}

void write(const QString& path, const QString& text) {
    if (!fileio::replace(path, encode(text)))
        fileio::raiseAccess();
}

namespace {
QByteArray bytesOf(const QString& path) {
    bool missing = false;
    const auto bytes = fileio::readAll(path, &missing);
    if (!bytes) {
        if (missing)
            fileio::raiseNotFound();
        fileio::raiseAccess();
    }
    return *bytes;
}
} // namespace

QString read(const QString& path) {
    return decode(bytesOf(path));
}

QString readForeign(const QString& path) {
    return decodeForeign(bytesOf(path));
}

} // namespace tlm::textfile
