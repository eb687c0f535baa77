// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The seal of an index file: its size, modification time and a checksum of
// its bytes. A file kept beside the index and made from it carries the seal
// of the index it was made from; it is only trusted while the index still
// carries that seal.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtGlobal>
#include <optional>

struct stat;

namespace tlm {

struct IndexSeal {
    qint64 size = 0;
    qint64 modifiedNs = 0; // nanoseconds since the epoch
    quint32 checksum = 0;  // CRC-32C of the whole file
    bool operator==(const IndexSeal&) const = default;
};

// The seal of the index file as it is now (reads the whole file for the
// checksum); nothing when the file is missing or unreadable.
std::optional<IndexSeal> sealOfIndex(const QString& indexPath);
// The seal of an index whose checksum was computed while it was written:
// one stat, the file not read.
std::optional<IndexSeal> sealOfIndex(const QString& indexPath, quint32 checksum);

// The seal's bytes for a header: size, modification time and checksum in
// little-endian order and a check of their own.
constexpr qsizetype SealSize = 24;
QByteArray sealBytes(const IndexSeal& seal);
// The seal in bytes written by sealBytes; nothing for any other bytes.
std::optional<IndexSeal> sealFromBytes(QByteArrayView bytes);

// Whether the index at indexPath still looks like the one sealed: size and
// modification time from one stat, the file not read.
bool sealHolds(const QString& indexPath, const IndexSeal& seal);
// The same test on a stat already made (of an open index, say).
bool sealHolds(const struct stat& status, const IndexSeal& seal);
// The modification time of a stat in nanoseconds since the epoch.
qint64 modifiedNs(const struct stat& status);

// The running CRC-32C of bytes given piece by piece: start from 0 and pass
// each result on with the next piece.
quint32 extendChecksum(quint32 checksum, QByteArrayView bytes);

} // namespace tlm
