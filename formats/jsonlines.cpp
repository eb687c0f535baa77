// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Finding the line of a value in a JSON text, for error messages about
// documents that QJsonDocument has already accepted.
#include "formats/json.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace tlm::pim::json {

namespace {

class Scanner {
public:
    Scanner(const QByteArray& text, const QString& target) : m_text(text), m_target(target) {}

    int run() {
        value(QString());
        return m_bestLine;
    }

private:
    // Records the line of every value on the way to the target.
    bool atValue(const QString& path) {
        if (path == m_target || m_target.startsWith(path + u'.') ||
            m_target.startsWith(path + u'[') || path.isEmpty()) {
            m_bestLine = m_line;
            if (path == m_target)
                m_found = true;
            return true;
        }
        return false;
    }

    char peek() const { return m_pos < m_text.size() ? m_text.at(m_pos) : '\0'; }

    void advance() {
        if (peek() == '\n')
            ++m_line;
        ++m_pos;
    }

    void skipBlanks() {
        while (m_pos < m_text.size() &&
               (peek() == ' ' || peek() == '\t' || peek() == '\r' || peek() == '\n'))
            advance();
    }

    QString string() {
        QByteArray raw;
        advance(); // opening quote
        while (m_pos < m_text.size() && peek() != '"') {
            if (peek() == '\\') {
                advance();
            }
            raw += peek();
            advance();
        }
        advance(); // closing quote
        return QString::fromUtf8(raw);
    }

    void value(const QString& path) {
        skipBlanks();
        const bool onPath = atValue(path);
        if (m_found)
            return;
        switch (peek()) {
        case '{':
            object(path, onPath);
            break;
        case '[':
            array(path, onPath);
            break;
        case '"':
            string();
            break;
        default:
            while (m_pos < m_text.size() && !QByteArrayView(",}] \t\r\n").contains(peek()))
                advance();
        }
    }

    void object(const QString& path, bool onPath) {
        advance();
        for (skipBlanks(); m_pos < m_text.size() && peek() != '}' && !m_found; skipBlanks()) {
            if (peek() == ',') {
                advance();
                continue;
            }
            const QString key = string();
            skipBlanks();
            advance(); // ':'
            value(onPath ? (path.isEmpty() ? key : path + u'.' + key) : u"\x01"_s);
        }
        advance();
    }

    void array(const QString& path, bool onPath) {
        advance();
        int index = 0;
        for (skipBlanks(); m_pos < m_text.size() && peek() != ']' && !m_found; skipBlanks()) {
            if (peek() == ',') {
                advance();
                continue;
            }
            value(onPath ? path + u'[' + QString::number(index++) + u']' : u"\x01"_s);
        }
        advance();
    }

    const QByteArray& m_text;
    const QString m_target;
    qsizetype m_pos = 0;
    int m_line = 1;
    int m_bestLine = 1;
    bool m_found = false;
};

} // namespace

int lineOf(const QByteArray& text, const QString& path) {
    return Scanner(text, path).run();
}

} // namespace tlm::pim::json
