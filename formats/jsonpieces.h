// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A JSON document read from a device in blocks, value by value, so that
// memory stays bounded by its largest single value instead of the whole
// document. The caller enters the objects and arrays it expects and takes
// every other value whole, as its text and the line it starts on; parse()
// turns such a piece into a QJsonValue.
//
//   PieceReader in(file);
//   in.enter('{');
//   while (in.more('}')) {
//       const QString key = in.key();
//       const Piece value = in.take();
//   }
//   in.finish();
#include <QByteArray>
#include <QJsonParseError>
#include <QList>
#include <QString>

class QIODevice;
class QJsonValue;

namespace tlm::pim::json {

// One value of the document as it stands there.
struct Piece {
    QByteArray text;
    int line = 1;
};

// A fault in the syntax of the document, with its line.
struct SyntaxError {
    int line;
    QString text;
};

// A single value larger than this is refused rather than held in memory.
constexpr qsizetype MaxPieceSize = 16 * 1024 * 1024;

class PieceReader {
public:
    explicit PieceReader(QIODevice& in);

    // The next character that is not blank, '\0' at the end of the input.
    char peek();
    // The line of the character peek() returned.
    int line() const { return m_line; }

    // Consumes open ('{' or '['), or raises a syntax error.
    void enter(char open);
    // True while the object or array entered last has another member;
    // consumes the separating comma, and the closing character at the end.
    bool more(char close);
    // A member name and the colon after it.
    QString key();
    // One whole value, checked only for its extent.
    Piece take();
    // Nothing but blanks may follow the document.
    void finish();

private:
    bool fill();
    char get();
    [[noreturn]] void fail(QJsonParseError::ParseError error) const;
    [[noreturn]] void tooLarge() const;
    void takeString(QByteArray& out);

    QIODevice& m_in;
    QByteArray m_block;
    qsizetype m_pos = 0;
    int m_line = 1;
    QList<bool> m_first; // per open level: no member read yet
};

// The value of a piece; its syntax faults name the line they are on.
QJsonValue parse(const Piece& piece);

} // namespace tlm::pim::json
