// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/initext.h"

#include "platform/textfile.h"

#include <QByteArrayView>

#include <vector>

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

// Where a key was found.
struct Place {
    bool sectionFound = false;
    bool keyFound = false;
    Line keyLine;
    qsizetype keyEnd = 0; // end of the key name within the file (untrimmed)
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
            place.sectionFound = section.matches(*name);
            continue;
        }
        if (!place.sectionFound)
            continue;
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

namespace {

bool hasBreak(QStringView s) {
    return s.contains(u'\r') || s.contains(u'\n');
}

// A key as it is matched: on one line, blanks around it trimmed. scratch
// holds the text when it had to be changed.
QStringView normalKey(QStringView key, QString& scratch) {
    if (!hasBreak(key))
        return key.trimmed();
    scratch = oneLine(key.toString()).trimmed();
    return scratch;
}

// A hash that equal names get whatever their case: code points case-folded
// as QString's case-insensitive comparison folds them.
size_t foldedHash(QStringView s) {
    size_t h = 1469598103934665603ULL;
    for (qsizetype i = 0; i < s.size(); ++i) {
        char32_t c = s[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < s.size() && s[i + 1].isLowSurrogate())
            c = QChar::surrogateToUcs4(char16_t(c), s[++i].unicode());
        h = (h ^ QChar::toCaseFolded(c)) * 1099511628211ULL;
    }
    return h;
}

void appendOneLine(QByteArray& out, QStringView text) {
    out += hasBreak(text) ? textfile::encode(oneLine(text.toString())) : textfile::encode(text);
}

// The distinct keys of the pairs, each with the pair of its first mention
// (which spells it) and of its last (which gives the value), found by an
// open-addressing table of their positions.
class KeyTable {
public:
    explicit KeyTable(std::span<const KeyValue> values) : m_values(values) {
        size_t size = 16;
        while (size < 2 * values.size())
            size <<= 1;
        m_slots.assign(size, -1);
        m_keys.reserve(values.size());
        for (qsizetype i = 0; i < qsizetype(values.size()); ++i) {
            QString scratch;
            qint32& slot = slotOf(normalKey(values[size_t(i)].key, scratch));
            if (slot < 0) {
                slot = qint32(m_keys.size());
                m_keys.push_back({qint32(i), qint32(i)});
            } else {
                m_keys[size_t(slot)].last = qint32(i);
            }
        }
        m_placed.assign(m_keys.size(), false);
    }

    // The key equal to name, or -1.
    qint32 find(QStringView name) { return slotOf(name); }
    qsizetype count() const { return qsizetype(m_keys.size()); }
    bool placed(qint32 k) const { return m_placed[size_t(k)]; }
    void place(qint32 k) {
        m_placed[size_t(k)] = true;
        ++m_placedCount;
    }
    bool placedAll() const { return m_placedCount == count(); }
    QStringView spelling(qint32 k, QString& scratch) const {
        return normalKey(m_values[size_t(m_keys[size_t(k)].first)].key, scratch);
    }
    QStringView value(qint32 k) const { return m_values[size_t(m_keys[size_t(k)].last)].value; }

private:
    struct Key {
        qint32 first;
        qint32 last;
    };

    qint32& slotOf(QStringView name) {
        const size_t mask = m_slots.size() - 1;
        QString scratch;
        for (size_t i = foldedHash(name) & mask;; i = (i + 1) & mask) {
            const qint32 k = m_slots[i];
            if (k < 0 || spelling(k, scratch).compare(name, Qt::CaseInsensitive) == 0)
                return m_slots[i];
        }
    }

    std::span<const KeyValue> m_values;
    std::vector<qint32> m_slots;
    std::vector<Key> m_keys;
    std::vector<bool> m_placed;
    qsizetype m_placedCount = 0;
};

} // namespace

QByteArray withValues(const QByteArray& content, const QString& section,
                      std::span<const KeyValue> values) {
    if (values.empty())
        return content;
    const Name wanted(section);
    KeyTable keys(values);
    QByteArray out;
    out.reserve(content.size() + qsizetype(values.size()) * 16);
    qsizetype copied = 0; // content up to here is in out
    const auto copyTo = [&](qsizetype end) {
        out.append(content.constData() + copied, end - copied);
        copied = end;
    };
    // The keys not in the file, one line each.
    const auto appendMissing = [&] {
        QString scratch;
        for (qint32 k = 0; k < keys.count(); ++k) {
            if (keys.placed(k))
                continue;
            appendOneLine(out, keys.spelling(k, scratch));
            out += '=';
            appendOneLine(out, keys.value(k));
            out += "\r\n";
        }
    };
    bool inSection = false;
    bool sectionFound = false;
    qsizetype afterLastKey = 0;
    const auto endSection = [&] {
        inSection = false;
        copyTo(afterLastKey);
        if (keys.placedAll())
            return;
        if (afterLastKey == content.size() && !endsWithNewline(content))
            out += "\r\n";
        appendMissing();
    };
    Lines lines(content);
    Line line;
    while (lines.nextLine(line)) {
        const QByteArrayView text = lines.text(line);
        if (const auto name = sectionName(text)) {
            if (inSection)
                endSection();
            else if (!sectionFound && wanted.matches(*name)) {
                inSection = sectionFound = true;
                afterLastKey = line.next;
            }
            continue;
        }
        if (!inSection)
            continue;
        if (!trimmed(text).isEmpty())
            afterLastKey = line.next;
        const qsizetype eq = text.indexOf('=');
        if (eq < 0)
            continue;
        // Keep the key as the file spells it; replace the rest of the line.
        const QByteArrayView fileKey = trimmed(text.first(eq));
        const qint32 k = keys.find(textfile::decode(fileKey.toByteArray()));
        if (k < 0 || keys.placed(k))
            continue;
        keys.place(k);
        copyTo(line.begin);
        out += fileKey;
        out += '=';
        appendOneLine(out, keys.value(k));
        copied = line.end;
    }
    if (inSection)
        endSection();
    copyTo(content.size());
    if (!sectionFound) {
        if (!endsWithNewline(out))
            out += "\r\n";
        out += '[' + wanted.bytes() + "]\r\n";
        appendMissing();
    }
    return out;
}

QByteArray withValue(const QByteArray& content, const QString& section, const QString& key,
                     const QString& value) {
    const KeyValue pair{key, value};
    return withValues(content, section, std::span(&pair, 1));
}

QByteArray withBlankLine(const QByteArray& content) {
    QByteArray out = content;
    if (!endsWithNewline(out))
        out += "\r\n";
    out += "\r\n";
    return out;
}

} // namespace tlm::ini::text
