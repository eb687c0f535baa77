// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/initext.h"

#include "platform/textfile.h"

#include <QByteArrayView>

using namespace Qt::StringLiterals;

namespace tlm::ini::text {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

QByteArrayView trimmed(QByteArrayView s) {
    while (!s.isEmpty() && isBlank(s.front()))
        s = s.sliced(1);
    while (!s.isEmpty() && isBlank(s.back()))
        s.chop(1);
    return s;
}

bool isAscii(QByteArrayView s) {
    for (const char c : s) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

QString oneLine(const QString& s) {
    if (!s.contains(u'\r') && !s.contains(u'\n'))
        return s;
    QString out = s;
    out.replace(u"\r\n"_s, u" "_s);
    out.replace(u'\r', u' ');
    out.replace(u'\n', u' ');
    return out;
}

// A section or key name to look for; compares bytes when both sides are
// ASCII, otherwise the decoded texts.
class Name {
public:
    explicit Name(const QString& name)
        : m_text(oneLine(name).trimmed()), m_bytes(textfile::encode(m_text)),
          m_ascii(isAscii(m_bytes)) {}

    bool matches(QByteArrayView raw) const {
        raw = trimmed(raw);
        if (m_ascii && isAscii(raw))
            return raw.size() == m_bytes.size() && raw.compare(m_bytes, Qt::CaseInsensitive) == 0;
        return textfile::decode(raw.toByteArray()).compare(m_text, Qt::CaseInsensitive) == 0;
    }
    const QByteArray& bytes() const { return m_bytes; }

private:
    QString m_text;
    QByteArray m_bytes;
    bool m_ascii;
};

// One line of the file: [begin, end) is its text, next the start of the
// following line.
struct Line {
    qsizetype begin = 0;
    qsizetype end = 0;
    qsizetype next = 0;
};

class Lines {
public:
    explicit Lines(const QByteArray& content) : m_content(content) {}

    bool nextLine(Line& line) {
        if (m_pos >= m_content.size())
            return false;
        line.begin = m_pos;
        const qsizetype nl = m_content.indexOf('\n', m_pos);
        line.next = nl < 0 ? m_content.size() : nl + 1;
        line.end = nl < 0 ? m_content.size() : nl;
        if (line.end > line.begin && m_content[line.end - 1] == '\r')
            --line.end;
        m_pos = line.next;
        return true;
    }
    QByteArrayView text(const Line& line) const {
        return QByteArrayView(m_content).sliced(line.begin, line.end - line.begin);
    }

private:
    const QByteArray& m_content;
    qsizetype m_pos = 0;
};

// The name of a section header line, or nullopt for other lines.
std::optional<QByteArrayView> sectionName(QByteArrayView line) {
    line = trimmed(line);
    if (!line.startsWith('['))
        return std::nullopt;
    line = line.sliced(1);
    const qsizetype close = line.indexOf(']');
    return close < 0 ? line : line.first(close);
}

// Where a key was found, or where the section's lines end.
struct Place {
    bool sectionFound = false;
    bool keyFound = false;
    Line keyLine;
    qsizetype keyEnd = 0;       // end of the key name within the file (untrimmed)
    qsizetype afterLastKey = 0; // start of the line after the section's last non-blank line
};

Place locate(const QByteArray& content, const Name& section, const Name& key) {
    Place place;
    Lines lines(content);
    Line line;
    while (lines.nextLine(line)) {
        const QByteArrayView text = lines.text(line);
        if (const auto name = sectionName(text)) {
            if (place.sectionFound)
                break; // end of the first matching section
            if (section.matches(*name)) {
                place.sectionFound = true;
                place.afterLastKey = line.next;
            }
            continue;
        }
        if (!place.sectionFound)
            continue;
        if (!trimmed(text).isEmpty())
            place.afterLastKey = line.next;
        const qsizetype eq = text.indexOf('=');
        if (eq >= 0 && key.matches(text.first(eq))) {
            place.keyFound = true;
            place.keyLine = line;
            place.keyEnd = line.begin + eq;
            break;
        }
    }
    return place;
}

bool endsWithNewline(const QByteArray& content) {
    return content.isEmpty() || content.endsWith('\n');
}

} // namespace

std::optional<QString> find(const QByteArray& content, const QString& section, const QString& key,
                            ValueForm form) {
    const Place place = locate(content, Name(section), Name(key));
    if (!place.keyFound)
        return std::nullopt;
    const QByteArrayView raw =
        QByteArrayView(content).sliced(place.keyEnd + 1, place.keyLine.end - place.keyEnd - 1);
    return textfile::decode((form == ValueForm::Trimmed ? trimmed(raw) : raw).toByteArray());
}

QByteArray withValue(const QByteArray& content, const QString& section, const QString& key,
                     const QString& value) {
    const Name sectionName(section);
    const Name keyName(key);
    const QByteArray valueBytes = textfile::encode(oneLine(value));
    const Place place = locate(content, sectionName, keyName);
    QByteArray out = content;
    if (place.keyFound) {
        // Keep the key as the file spells it; replace the rest of the line.
        const QByteArrayView oldKey = trimmed(QByteArrayView(content).sliced(
            place.keyLine.begin, place.keyEnd - place.keyLine.begin));
        out.replace(place.keyLine.begin, place.keyLine.end - place.keyLine.begin,
                    QByteArray(oldKey.toByteArray() + '=' + valueBytes));
        return out;
    }
    const QByteArray keyLine = keyName.bytes() + '=' + valueBytes + "\r\n";
    if (place.sectionFound) {
        QByteArray insert = keyLine;
        if (place.afterLastKey == out.size() && !endsWithNewline(out))
            insert.prepend("\r\n");
        out.insert(place.afterLastKey, insert);
        return out;
    }
    if (!endsWithNewline(out))
        out += "\r\n";
    out += '[' + sectionName.bytes() + "]\r\n" + keyLine;
    return out;
}

QByteArray withBlankLine(const QByteArray& content) {
    QByteArray out = content;
    if (!endsWithNewline(out))
        out += "\r\n";
    out += "\r\n";
    return out;
}

} // namespace tlm::ini::text
