// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/jsonpieces.h"

#include <QIODevice>
#include <QJsonArray>
#include <QJsonDocument>

using namespace Qt::StringLiterals;

namespace tlm::pim::json {

namespace {

constexpr qint64 BlockSize = 256 * 1024;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

QString describe(QJsonParseError::ParseError error) {
    QJsonParseError e;
    e.error = error;
    return e.errorString();
}

} // namespace

PieceReader::PieceReader(QIODevice& in) : m_in(in) {}

bool PieceReader::fill() {
    if (m_pos < m_block.size())
        return true;
    m_block = m_in.read(BlockSize);
    m_pos = 0;
    return !m_block.isEmpty();
}

char PieceReader::get() {
    if (!fill())
        return '\0';
    const char c = m_block.at(m_pos++);
    if (c == '\n')
        ++m_line;
    return c;
}

char PieceReader::peek() {
    while (fill()) {
        const char c = m_block.at(m_pos);
        if (!isBlank(c))
            return c;
        get();
    }
    return '\0';
}

void PieceReader::fail(QJsonParseError::ParseError error) const {
    throw SyntaxError{m_line, describe(error)};
}

void PieceReader::tooLarge() const {
    throw SyntaxError{m_line, u"ein Wert über %1 MiB"_s.arg(MaxPieceSize >> 20)};
}

void PieceReader::enter(char open) {
    if (peek() != open)
        fail(QJsonParseError::IllegalValue);
    get();
    m_first.append(true);
}

bool PieceReader::more(char close) {
    const char c = peek();
    const bool first = m_first.last();
    m_first.last() = false;
    if (c == close) {
        get();
        m_first.removeLast();
        return false;
    }
    if (c == '\0')
        fail(close == '}' ? QJsonParseError::UnterminatedObject
                          : QJsonParseError::UnterminatedArray);
    if (first)
        return true;
    if (c != ',')
        fail(QJsonParseError::MissingValueSeparator);
    get();
    return true;
}

QString PieceReader::key() {
    if (peek() != '"')
        fail(QJsonParseError::IllegalValue);
    Piece name{{}, m_line};
    takeString(name.text);
    if (peek() != ':')
        fail(QJsonParseError::MissingNameSeparator);
    get();
    return parse(name).toString();
}

// Copies a string with its quotes; escapes are kept as they stand.
void PieceReader::takeString(QByteArray& out) {
    out += get();
    for (;;) {
        if (!fill())
            fail(QJsonParseError::UnterminatedString);
        // Copy the run up to the next quote, backslash or line end at once.
        const qsizetype start = m_pos;
        while (m_pos < m_block.size()) {
            const char c = m_block.at(m_pos);
            if (c == '"' || c == '\\' || c == '\n')
                break;
            ++m_pos;
        }
        out.append(m_block.constData() + start, m_pos - start);
        if (out.size() > MaxPieceSize)
            tooLarge();
        if (m_pos == m_block.size())
            continue;
        const char c = get();
        out += c;
        if (c == '"')
            return;
        if (c == '\\') {
            const char escaped = get();
            if (escaped == '\0')
                fail(QJsonParseError::UnterminatedString);
            out += escaped;
        }
    }
}

Piece PieceReader::take() {
    Piece piece{{}, 0};
    const char first = peek();
    piece.line = m_line;
    if (first == '\0')
        fail(QJsonParseError::IllegalValue);
    if (first == '"') {
        takeString(piece.text);
        return piece;
    }
    if (first != '{' && first != '[') {
        // A number, true, false or null: up to the next delimiter.
        while (fill()) {
            const char c = m_block.at(m_pos);
            if (isBlank(c) || c == ',' || c == '}' || c == ']' || c == ':')
                break;
            piece.text += get();
            if (piece.text.size() > MaxPieceSize)
                tooLarge();
        }
        if (piece.text.isEmpty())
            fail(QJsonParseError::IllegalValue);
        return piece;
    }
    int depth = 0;
    do {
        const char c = fill() ? m_block.at(m_pos) : '\0';
        if (c == '\0')
            fail(first == '{' ? QJsonParseError::UnterminatedObject
                              : QJsonParseError::UnterminatedArray);
        if (c == '"') {
            takeString(piece.text);
            continue;
        }
        piece.text += get();
        if (c == '{' || c == '[')
            ++depth;
        else if (c == '}' || c == ']')
            --depth;
        if (piece.text.size() > MaxPieceSize)
            tooLarge();
    } while (depth > 0);
    return piece;
}

void PieceReader::finish() {
    peek();
    if (fill()) // anything but blanks, a NUL byte as well
        fail(QJsonParseError::GarbageAtEnd);
}

QJsonValue parse(const Piece& piece) {
    // Wrapped in an array, so that numbers and texts parse like objects.
    QByteArray wrapped;
    wrapped.reserve(piece.text.size() + 2);
    wrapped.append('[').append(piece.text).append(']');
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(wrapped, &error);
    if (error.error != QJsonParseError::NoError) {
        const qsizetype offset =
            qBound(qsizetype(0), qsizetype(error.offset) - 1, piece.text.size());
        throw SyntaxError{piece.line + int(piece.text.left(offset).count('\n')),
                          error.errorString()};
    }
    return document.array().at(0);
}

} // namespace tlm::pim::json
