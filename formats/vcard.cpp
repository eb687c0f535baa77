// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/vcard.h"

#include "formats/formaterror.h"
#include "platform/textfile.h"

#include <QBuffer>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <QTemporaryFile>
#include <QUrl>

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

using namespace Qt::StringLiterals;

namespace tlm::pim::vcard {

namespace {

// ---------------------------------------------------------------- fields

const QString kBusiness = u"BusinessTelephoneNumber"_s;
const QString kHome = u"HomeTelephoneNumber"_s;
const QString kHome2 = u"Home2TelephoneNumber"_s;
const QString kMobile = u"MobileTelephoneNumber"_s;
const QString kBusiness2 = u"Business2TelephoneNumber"_s;
const QString kCompanyMain = u"CompanyMainTelephoneNumber"_s;
const QString kCallback = u"CallbackTelephoneNumber"_s;
const QString kCar = u"CarTelephoneNumber"_s;
const QString kAssistant = u"AssistantTelephoneNumber"_s;
const QString kOther = u"OtherTelephoneNumber"_s;
const QString kPrimary = u"PrimaryTelephoneNumber"_s;
const QString kRadio = u"RadioTelephoneNumber"_s;
const QString kBusinessFax = u"BusinessFaxNumber"_s;
const QString kHomeFax = u"HomeFaxNumber"_s;
const QString kOtherFax = u"OtherFaxNumber"_s;

const QStringList kPhoneOrder = {kBusiness, kHome, kHome2,     kMobile, kBusiness2, kCompanyMain,
                                 kCallback, kCar,  kAssistant, kOther,  kPrimary,   kRadio};

// The types the writer gives each number field; reading them back selects
// the same field.
const std::array<std::pair<QString, QStringList>, 15> kWriteTypes = {{
    {kBusiness, {u"work"_s, u"voice"_s}},
    {kHome, {u"home"_s, u"voice"_s}},
    {kHome2, {u"home"_s, u"voice"_s, u"x-home2"_s}},
    {kMobile, {u"cell"_s, u"voice"_s}},
    {kBusiness2, {u"work"_s, u"voice"_s, u"x-business2"_s}},
    {kCompanyMain, {u"work"_s, u"voice"_s, u"x-company"_s}},
    {kCallback, {u"voice"_s, u"x-callback"_s}},
    {kCar, {u"car"_s, u"voice"_s}},
    {kAssistant, {u"voice"_s, u"x-assistant"_s}},
    {kOther, {u"voice"_s, u"other"_s}},
    {kPrimary, {u"voice"_s, u"main"_s}},
    {kRadio, {u"cell"_s, u"voice"_s, u"x-radio"_s}},
    {kBusinessFax, {u"work"_s, u"fax"_s}},
    {kHomeFax, {u"home"_s, u"fax"_s}},
    {kOtherFax, {u"fax"_s, u"other"_s}},
}};

const std::array<QString, 3> kAddressKinds = {u"Business"_s, u"Home"_s, u"Other"_s};
const std::array<QString, 5> kAddressParts = {u"PostOfficeBox"_s, u"Street"_s, u"City"_s,
                                              u"State"_s, u"PostalCode"_s};
const QString kCountry = u"Country"_s;

QString addressField(const QString& kind, const QString& part) {
    return kind + u"Address"_s + part;
}

// Types that qualify a number without saying which number it is.
const QSet<QString> kQualifiers = {u"voice"_s, u"pref"_s,  u"msg"_s,       u"text"_s,    u"video"_s,
                                   u"bbs"_s,   u"modem"_s, u"textphone"_s, u"internet"_s};

// ---------------------------------------------------------------- escapes

// Splits at every unescaped separator; escapes stay for unescape().
QStringList splitUnescaped(const QString& value, QChar separator) {
    QStringList parts;
    QString current;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == u'\\' && i + 1 < value.size()) {
            current += c;
            current += value.at(++i);
        } else if (c == separator) {
            parts << current;
            current.clear();
        } else {
            current += c;
        }
    }
    parts << current;
    return parts;
}

// Resolves \\ \; \, \: and \n (also \N) into CR LF; other backslashes stay.
QString unescape(const QString& value) {
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != u'\\' || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const QChar next = value.at(i + 1);
        if (next == u'n' || next == u'N') {
            out += u"\r\n"_s;
            ++i;
        } else if (next == u'\\' || next == u';' || next == u',' || next == u':') {
            out += next;
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

// Outlook keeps line breaks as CR LF.
QString crlf(QString text) {
    text.replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n');
    return text.replace(u"\n"_s, u"\r\n"_s);
}

QString escape(const QString& value) {
    QString out;
    out.reserve(value.size() + 8);
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == u'\r') {
            if (i + 1 < value.size() && value.at(i + 1) == u'\n')
                ++i;
            out += u"\\n"_s;
        } else if (c == u'\n') {
            out += u"\\n"_s;
        } else if (c == u'\\' || c == u';' || c == u',') {
            out += u'\\';
            out += c;
        } else {
            out += c;
        }
    }
    return out;
}

// ---------------------------------------------------------------- lines

struct Line {
    QString text;
    int number = 0; // of its first physical line
};

// A logical line before it is decoded.
struct RawLine {
    QByteArray text;
    int number = 0;
};

bool hasQuotedPrintable(const QByteArray& line) {
    const qsizetype colon = line.indexOf(':');
    return colon > 0 && line.left(colon).toUpper().contains("QUOTED-PRINTABLE");
}

[[noreturn]] void lineTooLong(const QString& file, int line) {
    throw FormatError(file, line, u"Zeile länger als %1 MiB"_s.arg(MaxLineSize >> 20));
}

// The bytes of a device in blocks, as UTF-8 or single-byte text: UTF-16
// (with byte order mark) is converted block by block, a UTF-8 byte order
// mark dropped. With a spool, every block read is also written there.
class ByteSource {
public:
    ByteSource(QIODevice& in, QIODevice* spool) : m_in(in), m_spool(spool) {}

    // The next block; empty at the end.
    QByteArray next() {
        QByteArray block = read();
        if (!m_started) {
            m_started = true;
            while (block.size() < 3) {
                const QByteArray more = read();
                if (more.isEmpty())
                    break;
                block += more;
            }
            if (block.startsWith("\xFF\xFE") || block.startsWith("\xFE\xFF")) {
                m_utf16.emplace(block.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE
                                                             : QStringDecoder::Utf16BE);
                block.remove(0, 2);
            } else if (block.startsWith("\xEF\xBB\xBF")) {
                block.remove(0, 3);
            }
        }
        if (!m_utf16)
            return block;
        QByteArray converted;
        while (converted.isEmpty() && !block.isEmpty()) {
            converted = QString(m_utf16->decode(block)).toUtf8();
            if (converted.isEmpty())
                block = read(); // half a character so far
        }
        return converted;
    }

private:
    QByteArray read() {
        const QByteArray block = m_in.read(BlockSize);
        if (m_spool && !block.isEmpty() && m_spool->write(block) != block.size())
            throw Error(err::FileAccess, u"Zwischendatei kann nicht geschrieben werden"_s);
        return block;
    }

    static constexpr qint64 BlockSize = 256 * 1024;
    QIODevice& m_in;
    QIODevice* m_spool;
    bool m_started = false;
    std::optional<QStringDecoder> m_utf16;
};

// The physical lines of a source without their line ends, each at most
// MaxLineSize bytes; the text after the last line end is a line too.
class PhysicalLines {
public:
    PhysicalLines(ByteSource& source, const QString& file) : m_source(source), m_file(file) {}

    bool next(RawLine& line) {
        if (m_done)
            return false;
        line = {QByteArray(), ++m_count};
        for (;;) {
            if (m_pos == m_block.size()) {
                m_block = m_source.next();
                m_pos = 0;
                if (m_block.isEmpty()) {
                    m_done = true;
                    break;
                }
            }
            const qsizetype end = m_block.indexOf('\n', m_pos);
            const qsizetype stop = end < 0 ? m_block.size() : end;
            if (line.text.size() + (stop - m_pos) > MaxLineSize + 1)
                lineTooLong(m_file, m_count);
            line.text.append(m_block.constData() + m_pos, stop - m_pos);
            m_pos = end < 0 ? stop : end + 1;
            if (end >= 0)
                break;
        }
        if (line.text.endsWith('\r'))
            line.text.chop(1);
        if (line.text.size() > MaxLineSize)
            lineTooLong(m_file, m_count);
        return true;
    }

private:
    ByteSource& m_source;
    const QString& m_file;
    QByteArray m_block;
    qsizetype m_pos = 0;
    int m_count = 0;
    bool m_done = false;
};

// Joins folded lines (a line starting with a blank or a tab continues the
// previous one) and quoted-printable soft line breaks (a trailing "="), one
// logical line at a time, each at most MaxLineSize bytes.
class LineJoiner {
public:
    LineJoiner(ByteSource& source, const QString& file) : m_lines(source, file), m_file(file) {}

    bool next(RawLine& line) {
        if (!m_pending && !m_lines.next(m_next))
            return false;
        m_pending = false;
        line = std::move(m_next);
        bool softBreak = line.text.endsWith('=') && hasQuotedPrintable(line.text);
        RawLine more;
        while (m_lines.next(more)) {
            if (softBreak) {
                line.text.chop(1);
                line.text += more.text;
            } else if (!more.text.isEmpty() && (more.text[0] == ' ' || more.text[0] == '\t')) {
                line.text += QByteArrayView(more.text).sliced(1);
            } else {
                m_next = std::move(more);
                m_pending = true;
                break;
            }
            if (line.text.size() > MaxLineSize)
                lineTooLong(m_file, line.number);
            softBreak = line.text.endsWith('=') && hasQuotedPrintable(line.text);
        }
        return true;
    }

private:
    PhysicalLines m_lines;
    const QString& m_file;
    bool m_pending = false;
    RawLine m_next;
};

// Calls each for the logical lines of a device, one at a time. A file in a
// single-byte or UTF-8 form is joined before it is decoded, so that a UTF-8
// character split across folded lines still makes the file UTF-8; the whole
// file is UTF-8 or Windows-1252. That is decided in a first pass, after
// which the device is read again from its start; a device that cannot seek
// (a pipe) is kept in a temporary file during the first pass.
template <typename F> void forEachLogicalLine(QIODevice& in, const QString& file, const F& each) {
    const qint64 start = in.pos();
    std::optional<QTemporaryFile> spool;
    if (in.isSequential()) {
        spool.emplace();
        if (!spool->open())
            throw Error(err::FileAccess, u"Zwischendatei kann nicht angelegt werden"_s);
    }
    bool utf8 = true;
    {
        ByteSource source(in, spool ? &*spool : nullptr);
        LineJoiner lines(source, file);
        RawLine l;
        while (lines.next(l))
            utf8 = utf8 && l.text.isValidUtf8(); // no character spans a line end
    }
    QIODevice& again = spool ? static_cast<QIODevice&>(*spool) : in;
    if (!again.seek(spool ? 0 : start))
        throw Error(err::FileAccess, file + u" kann nicht erneut gelesen werden"_s);
    ByteSource source(again, nullptr);
    LineJoiner lines(source, file);
    RawLine l;
    while (lines.next(l))
        each(Line{utf8 ? QString::fromUtf8(l.text) : textfile::fromWindows1252(l.text), l.number});
}

// ---------------------------------------------------------------- properties

struct Param {
    QString name;       // upper case; empty for a bare 2.1 type ("WORK")
    QStringList values; // quotes removed
};

struct Property {
    QString name; // upper case, group removed
    QList<Param> params;
    QString value;
    int line = 0;

    QStringList paramValues(const QString& paramName) const {
        QStringList out;
        for (const Param& p : params)
            if (p.name == paramName)
                out += p.values;
        return out;
    }
    // ENCODING=QUOTED-PRINTABLE, or the bare 2.1 form.
    bool isQuotedPrintable() const {
        const QString qp = u"QUOTED-PRINTABLE"_s;
        return paramValues(u"ENCODING"_s).contains(qp, Qt::CaseInsensitive) ||
               paramValues(QString()).contains(qp, Qt::CaseInsensitive);
    }
    // Every TYPE value in lower case: TYPE=..., bare 2.1 types and PREF.
    QSet<QString> types() const {
        QSet<QString> out;
        for (const Param& p : params) {
            if (p.name == u"TYPE"_s || p.name.isEmpty()) {
                for (const QString& v : p.values)
                    for (const QString& t : v.split(u','))
                        if (!t.trimmed().isEmpty())
                            out.insert(t.trimmed().toLower());
            } else if (p.name == u"PREF"_s) {
                out.insert(u"pref"_s);
            }
        }
        return out;
    }
};

// Splits text at separator outside double quotes.
QStringList splitOutsideQuotes(const QString& text, QChar separator) {
    QStringList parts;
    QString current;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        if (c == separator && !quoted) {
            parts << current;
            current.clear();
        } else {
            current += c;
        }
    }
    parts << current;
    return parts;
}

qsizetype colonOutsideQuotes(const QString& text) {
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'"')
            quoted = !quoted;
        else if (text.at(i) == u':' && !quoted)
            return i;
    }
    return -1;
}

QByteArray decodeQuotedPrintable(const QString& value) {
    const QByteArray in = value.toLatin1();
    QByteArray out;
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in.at(i) == '=' && i + 2 < in.size()) {
            bool ok = false;
            const int byte = in.mid(i + 1, 2).toInt(&ok, 16);
            if (ok) {
                out += char(byte);
                i += 2;
                continue;
            }
        }
        out += in.at(i);
    }
    return out;
}

Property parseProperty(const Line& line, const QString& file) {
    const qsizetype colon = colonOutsideQuotes(line.text);
    if (colon < 0)
        throw FormatError(file, line.number, u"Zeile ohne \":\": "_s + line.text.left(60));
    QStringList head = splitOutsideQuotes(line.text.left(colon), u';');
    Property p;
    p.line = line.number;
    p.name = head.takeFirst().trimmed().toUpper();
    if (const qsizetype dot = p.name.lastIndexOf(u'.'); dot >= 0)
        p.name = p.name.mid(dot + 1);
    // Real programs write names such as X-MESSAGING/GADU-ALL.
    static const QRegularExpression nameForm(u"^[A-Z0-9_/-]+$"_s);
    if (!nameForm.match(p.name).hasMatch())
        throw FormatError(file, line.number, u"ungültiger Eigenschaftsname: "_s + p.name.left(60));
    for (const QString& raw : std::as_const(head)) {
        Param param;
        const qsizetype eq = raw.indexOf(u'=');
        QString values = eq < 0 ? raw : raw.mid(eq + 1);
        if (eq >= 0)
            param.name = raw.left(eq).trimmed().toUpper();
        for (QString v : splitOutsideQuotes(values, u',')) {
            v = v.trimmed();
            if (v.size() >= 2 && v.startsWith(u'"') && v.endsWith(u'"'))
                v = v.mid(1, v.size() - 2);
            param.values << v;
        }
        p.params << param;
    }
    p.value = line.text.mid(colon + 1);
    if (p.isQuotedPrintable()) {
        const QByteArray bytes = decodeQuotedPrintable(p.value);
        const QStringList charset = p.paramValues(u"CHARSET"_s);
        const bool utf8 =
            !charset.isEmpty() && charset.first().compare(u"UTF-8"_s, Qt::CaseInsensitive) == 0;
        p.value = utf8 ? QString::fromUtf8(bytes) : textfile::decodeForeign(bytes);
    }
    return p;
}

// ---------------------------------------------------------------- mapping

QStringList faxTargets(const QSet<QString>& types) {
    QStringList first;
    if (types.contains(u"work"_s))
        first << kBusinessFax;
    else if (types.contains(u"home"_s))
        first << kHomeFax;
    return first << kOtherFax << kBusinessFax << kHomeFax;
}

// The fields a number with these types goes to, best first.
QStringList phoneTargets(const QSet<QString>& types) {
    const auto has = [&](std::initializer_list<const char16_t*> names) {
        for (const char16_t* n : names)
            if (types.contains(QString::fromUtf16(n)))
                return true;
        return false;
    };
    if (has({u"fax"}))
        return faxTargets(types);
    if (has({u"x-business2"}))
        return {kBusiness2, kBusiness};
    if (has({u"x-home2"}))
        return {kHome2, kHome};
    if (has({u"x-radio", u"radio", u"pager"}))
        return {kRadio};
    if (has({u"x-callback", u"callback"}))
        return {kCallback};
    if (has({u"x-assistant", u"assistant"}))
        return {kAssistant};
    if (has({u"x-company", u"company"}) || (has({u"work"}) && has({u"main"})))
        return {kCompanyMain};
    if (has({u"cell", u"mobile", u"x-mobile", u"iphone"}))
        return {kMobile, kRadio};
    if (has({u"car"}))
        return {kCar};
    if (has({u"work"}))
        return {kBusiness, kBusiness2};
    if (has({u"home"}))
        return {kHome, kHome2};
    if (has({u"main"}))
        return {kPrimary};
    bool kindGiven = false;
    for (const QString& t : types)
        kindGiven = kindGiven || !kQualifiers.contains(t);
    if (!kindGiven && types.contains(u"pref"_s))
        return {kPrimary};
    return {kOther};
}

// A tel: URI becomes the number it names; an extension is appended with "-".
QString telNumber(QString value) {
    value = value.trimmed();
    if (!value.startsWith(u"tel:"_s, Qt::CaseInsensitive))
        return value;
    QStringList parts = value.mid(4).split(u';');
    QString number = QUrl::fromPercentEncoding(parts.takeFirst().toUtf8());
    for (const QString& param : std::as_const(parts))
        if (param.startsWith(u"ext="_s, Qt::CaseInsensitive))
            number += u'-' + QUrl::fromPercentEncoding(param.mid(4).toUtf8());
    return number;
}

class CardBuilder {
public:
    CardBuilder(QString file, QStringList* warnings)
        : m_file(std::move(file)), m_warnings(warnings) {}

    void add(const Property& p) {
        if (p.name == u"N"_s && takes(m_namesFrom, p))
            setNames(p);
        else if (p.name == u"FN"_s)
            m_fullName = unescape(p.value).trimmed();
        else if (p.name == u"ORG"_s && takes(m_organisationFrom, p))
            setOrganisation(p);
        else if (p.name == u"TITLE"_s)
            setText(u"JobTitle"_s, p.value);
        else if (p.name == u"NICKNAME"_s)
            setText(u"NickName"_s, p.value);
        else if (p.name == u"TEL"_s)
            addNumber(p);
        else if (p.name == u"EMAIL"_s)
            addEmail(p);
        else if (p.name == u"ADR"_s)
            addAddress(p);
        else if (p.name == u"CATEGORIES"_s)
            addCategories(p);
        else if (p.name == u"NOTE"_s)
            addNote(p);
    }

    Contact finish() {
        if (!m_hasNames && !m_fullName.isEmpty() &&
            m_fullName != m_contact.value(u"CompanyName"_s).toString())
            namesFromFullName();
        return m_contact;
    }

private:
    void warn(int line, const QString& text) {
        *m_warnings << FormatError(m_file, line, text).description();
    }

    void setText(const QString& field, const QString& raw) {
        const QString value = crlf(unescape(raw)).trimmed();
        if (!value.isEmpty())
            m_contact.insert(field, value);
    }

    // Of several N or ORG lines (language variants, several organisations)
    // the preferred one counts, else the first.
    enum class Source { None, First, Preferred };
    static bool takes(Source& from, const Property& p) {
        const Source offered = p.types().contains(u"pref"_s) ? Source::Preferred : Source::First;
        if (offered <= from)
            return false;
        from = offered;
        return true;
    }

    void setNames(const Property& p) {
        static const std::array<QString, 5> fields = {u"LastName"_s, u"FirstName"_s,
                                                      u"MiddleName"_s, u"Title"_s, u"Suffix"_s};
        for (const QString& field : fields)
            m_contact.remove(field);
        m_hasNames = false;
        const QStringList parts = splitUnescaped(p.value, u';');
        for (qsizetype i = 0; i < parts.size() && i < qsizetype(fields.size()); ++i) {
            const QString value = splitUnescaped(parts.at(i), u',').join(u' ').simplified();
            if (!value.isEmpty()) {
                m_contact.insert(fields.at(size_t(i)), unescape(value));
                m_hasNames = true;
            }
        }
    }

    void namesFromFullName() {
        QString first;
        QString last;
        if (const qsizetype comma = m_fullName.indexOf(u','); comma >= 0) {
            last = m_fullName.left(comma).trimmed();
            first = m_fullName.mid(comma + 1).trimmed();
        } else if (const qsizetype blank = m_fullName.lastIndexOf(u' '); blank >= 0) {
            first = m_fullName.left(blank).trimmed();
            last = m_fullName.mid(blank + 1).trimmed();
        } else {
            last = m_fullName;
        }
        if (!first.isEmpty())
            m_contact.insert(u"FirstName"_s, first);
        if (!last.isEmpty())
            m_contact.insert(u"LastName"_s, last);
    }

    void setOrganisation(const Property& p) {
        m_contact.remove(u"CompanyName"_s);
        m_contact.remove(u"Department"_s);
        QStringList parts = splitUnescaped(p.value, u';');
        for (QString& part : parts)
            part = unescape(part).trimmed();
        if (!parts.first().isEmpty())
            m_contact.insert(u"CompanyName"_s, parts.takeFirst());
        else
            parts.removeFirst();
        parts.removeAll(QString());
        if (!parts.isEmpty())
            m_contact.insert(u"Department"_s, parts.join(u", "_s));
    }

    bool placeIn(const QStringList& candidates, const QString& value) {
        for (const QString& field : candidates) {
            if (!m_contact.contains(field)) {
                m_contact.insert(field, value);
                return true;
            }
        }
        return false;
    }

    void addNumber(const Property& p) {
        const QString number = unescape(telNumber(p.value)).trimmed();
        if (number.isEmpty())
            return;
        QStringList candidates = phoneTargets(p.types());
        candidates << kOther << kCallback << kPhoneOrder;
        if (!placeIn(candidates, number))
            warn(p.line, u"kein freies Telefonfeld mehr, Nummer ausgelassen: "_s + number);
    }

    void addEmail(const Property& p) {
        const QString address = unescape(p.value).trimmed();
        if (address.isEmpty())
            return;
        const QStringList fields = {u"Email1Address"_s, u"Email2Address"_s, u"Email3Address"_s};
        if (!placeIn(fields, address))
            warn(p.line, u"mehr als drei E-Mail-Adressen, ausgelassen: "_s + address);
    }

    void addAddress(const Property& p) {
        QStringList parts = splitUnescaped(p.value, u';');
        while (parts.size() < 7)
            parts << QString();
        for (QString& part : parts)
            part = crlf(unescape(part)).trimmed();
        // post office box; extended address; street; city; region; postal code; country
        QString street = parts.at(2);
        if (!parts.at(1).isEmpty())
            street += (street.isEmpty() ? QString() : u"\r\n"_s) + parts.at(1);
        const std::array<QString, 6> values = {parts.at(0), street,      parts.at(3),
                                               parts.at(4), parts.at(5), parts.at(6)};
        if (std::all_of(values.begin(), values.end(), [](const QString& v) { return v.isEmpty(); }))
            return;
        const QSet<QString> types = p.types();
        QStringList kinds;
        if (types.contains(u"work"_s))
            kinds << u"Business"_s;
        else if (types.contains(u"home"_s))
            kinds << u"Home"_s;
        kinds << u"Other"_s << u"Home"_s << u"Business"_s;
        for (const QString& kind : std::as_const(kinds)) {
            if (addressTaken(kind))
                continue;
            for (size_t i = 0; i < kAddressParts.size(); ++i)
                if (!values.at(i).isEmpty())
                    m_contact.insert(addressField(kind, kAddressParts.at(i)), values.at(i));
            if (!values.at(5).isEmpty())
                m_contact.insert(addressField(kind, kCountry), values.at(5));
            return;
        }
        warn(p.line, u"mehr als drei Anschriften, ausgelassen"_s);
    }

    bool addressTaken(const QString& kind) const {
        for (const QString& part : kAddressParts)
            if (m_contact.contains(addressField(kind, part)))
                return true;
        return m_contact.contains(addressField(kind, kCountry));
    }

    void addCategories(const Property& p) {
        QStringList list =
            m_contact.value(u"Categories"_s).toString().split(u", "_s, Qt::SkipEmptyParts);
        for (const QString& c : splitUnescaped(p.value, u','))
            if (const QString name = unescape(c).trimmed(); !name.isEmpty() && !list.contains(name))
                list << name;
        if (!list.isEmpty())
            m_contact.insert(u"Categories"_s, list.join(u", "_s));
    }

    void addNote(const Property& p) {
        const QString note = crlf(unescape(p.value));
        if (note.trimmed().isEmpty())
            return;
        const QString before = m_contact.value(u"Body"_s).toString();
        m_contact.insert(u"Body"_s, before.isEmpty() ? note : before + u"\r\n"_s + note);
    }

    QString m_file;
    QStringList* m_warnings;
    Contact m_contact;
    QString m_fullName;
    bool m_hasNames = false;
    Source m_namesFrom = Source::None;
    Source m_organisationFrom = Source::None;
};

// ---------------------------------------------------------------- writing

// Folds a content line at 75 octets without splitting a UTF-8 sequence.
void appendFolded(QByteArray& out, const QString& line) {
    const QByteArray bytes = line.toUtf8();
    qsizetype start = 0;
    int limit = 75;
    while (bytes.size() - start > limit) {
        qsizetype cut = start + limit;
        while (cut > start && (uchar(bytes.at(cut)) & 0xC0) == 0x80)
            --cut;
        out += bytes.mid(start, cut - start);
        out += "\r\n ";
        start = cut;
        limit = 74;
    }
    out += bytes.mid(start);
    out += "\r\n";
}

QString typeParam(const QStringList& types, Version version) {
    if (types.isEmpty())
        return {};
    if (version == Version::V4)
        return u";TYPE="_s + (types.size() > 1 ? u'"' + types.join(u',') + u'"' : types.first());
    return u";TYPE="_s + types.join(u',').toUpper();
}

QString text(const Contact& c, const QString& field) {
    return c.value(field).toString();
}

QString fullName(const Contact& c) {
    QString name = text(c, u"FullName"_s);
    if (name.isEmpty()) {
        QStringList parts;
        for (const QString& f : {u"FirstName"_s, u"MiddleName"_s, u"LastName"_s})
            if (!text(c, f).isEmpty())
                parts << text(c, f);
        name = parts.join(u' ');
    }
    return name.isEmpty() ? text(c, u"CompanyName"_s) : name;
}

void writeCard(QByteArray& out, const Contact& c, Version version) {
    const auto line = [&out](const QString& l) { appendFolded(out, l); };
    const auto structured = [&c](std::initializer_list<QString> fields) {
        QStringList parts;
        for (const QString& f : fields)
            parts << escape(text(c, f));
        return parts.join(u';');
    };
    line(u"BEGIN:VCARD"_s);
    line(version == Version::V4 ? u"VERSION:4.0"_s : u"VERSION:3.0"_s);
    line(u"N:"_s +
         structured({u"LastName"_s, u"FirstName"_s, u"MiddleName"_s, u"Title"_s, u"Suffix"_s}));
    line(u"FN:"_s + escape(fullName(c)));
    if (!text(c, u"Department"_s).isEmpty())
        line(u"ORG:"_s + structured({u"CompanyName"_s, u"Department"_s}));
    else if (!text(c, u"CompanyName"_s).isEmpty())
        line(u"ORG:"_s + escape(text(c, u"CompanyName"_s)));
    if (!text(c, u"JobTitle"_s).isEmpty())
        line(u"TITLE:"_s + escape(text(c, u"JobTitle"_s)));
    if (!text(c, u"NickName"_s).isEmpty())
        line(u"NICKNAME:"_s + escape(text(c, u"NickName"_s)));
    const QString telValue = version == Version::V4 ? u";VALUE=text"_s : QString();
    for (const auto& [field, types] : kWriteTypes)
        if (!text(c, field).isEmpty())
            line(u"TEL"_s + telValue + typeParam(types, version) + u':' + escape(text(c, field)));
    for (const QString& f : {u"Email1Address"_s, u"Email2Address"_s, u"Email3Address"_s})
        if (!text(c, f).isEmpty())
            line(u"EMAIL"_s + (version == Version::V3 ? u";TYPE=INTERNET"_s : QString()) + u':' +
                 escape(text(c, f)));
    for (const QString& kind : kAddressKinds) {
        QStringList parts;
        bool any = false;
        for (const QString& part : {u"PostOfficeBox"_s, QString(), u"Street"_s, u"City"_s,
                                    u"State"_s, u"PostalCode"_s, u"Country"_s}) {
            const QString v = part.isEmpty() ? QString() : text(c, addressField(kind, part));
            any = any || !v.isEmpty();
            parts << escape(v);
        }
        if (!any)
            continue;
        const QStringList types = kind == u"Business"_s ? QStringList{u"work"_s}
                                  : kind == u"Home"_s   ? QStringList{u"home"_s}
                                                        : QStringList{};
        line(u"ADR"_s + typeParam(types, version) + u':' + parts.join(u';'));
    }
    if (!text(c, u"Categories"_s).isEmpty()) {
        QStringList cats;
        for (const QString& cat : text(c, u"Categories"_s).split(u',', Qt::SkipEmptyParts))
            if (!cat.trimmed().isEmpty())
                cats << escape(cat.trimmed());
        line(u"CATEGORIES:"_s + cats.join(u','));
    }
    if (!text(c, u"Body"_s).isEmpty())
        line(u"NOTE:"_s + escape(text(c, u"Body"_s)));
    line(u"END:VCARD"_s);
}

} // namespace

// ---------------------------------------------------------------- public

void read(QIODevice& in, const QString& fileName,
          const std::function<void(Contact&& contact, int line)>& each, QStringList& warnings) {
    std::optional<CardBuilder> card;
    int cardLine = 0;
    qsizetype cardSize = 0;
    forEachLogicalLine(in, fileName, [&](const Line& line) {
        if (line.text.trimmed().isEmpty())
            return;
        if (card && (cardSize += line.text.size()) > MaxCardSize)
            throw FormatError(fileName, cardLine,
                              u"vCard länger als %1 MiB"_s.arg(MaxCardSize >> 20));
        const Property p = parseProperty(line, fileName);
        const QString value = p.value.trimmed().toUpper();
        if (p.name == u"BEGIN"_s) {
            if (value != u"VCARD"_s || card)
                throw FormatError(fileName, line.number, u"unerwartetes BEGIN:"_s + p.value);
            card.emplace(fileName, &warnings);
            cardLine = line.number;
            cardSize = 0;
        } else if (!card) {
            throw FormatError(fileName, line.number,
                              u"Zeile außerhalb einer vCard (BEGIN:VCARD fehlt)"_s);
        } else if (p.name == u"END"_s) {
            if (value != u"VCARD"_s)
                throw FormatError(fileName, line.number, u"unerwartetes END:"_s + p.value);
            Contact contact = card->finish();
            card.reset();
            each(std::move(contact), cardLine);
        } else if (p.name == u"VERSION"_s) {
            if (value != u"2.1"_s && value != u"3.0"_s && value != u"4.0"_s && value != u"4"_s)
                throw FormatError(fileName, line.number,
                                  u"nicht unterstützte vCard-Version: "_s + p.value.trimmed());
        } else {
            card->add(p);
        }
    });
    if (card)
        throw FormatError(fileName, cardLine, u"vCard ohne END:VCARD"_s);
}

ReadResult read(QIODevice& in, const QString& fileName) {
    ReadResult result;
    read(
        in, fileName,
        [&](Contact&& contact, int line) {
            result.contacts << std::move(contact);
            result.lines << line;
        },
        result.warnings);
    return result;
}

ReadResult read(const QByteArray& data, const QString& fileName) {
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    return read(buffer, fileName);
}

ReadResult readFile(const QString& path) {
    QFile f(path);
    if (!f.exists())
        throw Error(err::FileNotFound, u"Datei nicht gefunden: "_s + path);
    if (!f.open(QIODevice::ReadOnly))
        throw Error(err::FileAccess, u"Datei kann nicht gelesen werden: "_s + path);
    return read(f, path);
}

QByteArray write(const QList<Contact>& contacts, Version version) {
    QByteArray out;
    for (const Contact& c : contacts)
        writeCard(out, c, version);
    return out;
}

const QStringList& numberFields() {
    static const QStringList fields = [] {
        QStringList out = kPhoneOrder;
        return out << kBusinessFax << kHomeFax << kOtherFax;
    }();
    return fields;
}

const QStringList& contactFields() {
    static const QStringList fields = [] {
        QStringList out = {u"FirstName"_s,  u"LastName"_s, u"MiddleName"_s,
                           u"Title"_s,      u"Suffix"_s,   u"CompanyName"_s,
                           u"Department"_s, u"JobTitle"_s, u"NickName"_s};
        out << numberFields();
        out << u"Email1Address"_s << u"Email2Address"_s << u"Email3Address"_s;
        for (const QString& kind : kAddressKinds) {
            for (const QString& part : kAddressParts)
                out << addressField(kind, part);
            out << addressField(kind, kCountry);
        }
        return out << u"Categories"_s << u"Body"_s;
    }();
    return fields;
}

QString escapeText(const QString& value) {
    return escape(value);
}

QString unescapeText(const QString& value) {
    return unescape(value);
}

} // namespace tlm::pim::vcard
