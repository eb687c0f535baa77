// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/filter.h"

#include "platform/error.h"
#include "store/pimstore.h"

#include <QCollator>
#include <QHash>
#include <QLocale>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace tlm::pim {

namespace {
enum class Op { Eq, Ne, Lt, Le, Gt, Ge, Like };

// The DASL names understood, mapped to properties ("user:" for user ones).
const QHash<QString, QString>& daslNames() {
    static const QHash<QString, QString> names = [] {
        QHash<QString, QString> m;
        const std::pair<const char*, const char*> pairs[] = {
            {"urn:schemas:contacts:workaddress", "BusinessAddress"},
            {"urn:schemas:contacts:homepostaladdress", "HomeAddress"},
            {"urn:schemas:contacts:otherpostaladdress", "OtherAddress"},
            {"urn:schemas:contacts:companyname", "CompanyName"},
            {"urn:schemas:contacts:o", "CompanyName"},
            {"urn:schemas:contacts:sn", "LastName"},
            {"urn:schemas:contacts:givenname", "FirstName"},
            {"urn:schemas:contacts:middlename", "MiddleName"},
            {"urn:schemas:contacts:cn", "FullName"},
            {"urn:schemas:contacts:fileas", "FileAs"},
            {"urn:schemas:contacts:title", "JobTitle"},
            {"urn:schemas:contacts:personaltitle", "Title"},
            {"urn:schemas:contacts:email1", "Email1Address"},
            {"urn:schemas:contacts:email2", "Email2Address"},
            {"urn:schemas:contacts:email3", "Email3Address"},
            {"urn:schemas:contacts:telephonenumber", "BusinessTelephoneNumber"},
            {"urn:schemas:contacts:homephone", "HomeTelephoneNumber"},
            {"urn:schemas:contacts:mobile", "MobileTelephoneNumber"},
            {"urn:schemas:contacts:customerid", "CustomerID"},
            {"urn:schemas:contacts:workcity", "BusinessAddressCity"},
            {"urn:schemas:contacts:homecity", "HomeAddressCity"},
            {"urn:schemas:httpmail:subject", "Subject"},
            {"urn:schemas:calendar:dtstart", "Start"},
            {"urn:schemas:calendar:dtend", "End"},
            {"urn:schemas:calendar:location", "Location"},
            {"urn:schemas:calendar:busystatus", "BusyStatus"},
            {"urn:schemas-microsoft-com:office:office#keywords", "Categories"},
            {"http://schemas.microsoft.com/mapi/proptag/0x0037001f", "Subject"},
        };
        for (const auto& [dasl, name] : pairs)
            m.insert(QString::fromLatin1(dasl), QString::fromLatin1(name));
        return m;
    }();
    return names;
}

[[noreturn]] void parseError(const QString& text, qsizetype pos, const QString& expected) {
    const QString rest = text.mid(pos, 30);
    throw Error(CannotParse, u"Die Bedingung kann nicht analysiert werden. Fehler bei Zeichen "_s +
                                 QString::number(pos + 1) + u" ("_s +
                                 (rest.isEmpty() ? u"Ende der Bedingung"_s : u'"' + rest + u'"') +
                                 u"): "_s + expected + u" erwartet."_s);
}

bool likeMatch(const QString& value, const QString& pattern) {
    const QStringList parts = pattern.split(u'%');
    if (parts.size() == 1)
        return value.compare(pattern, Qt::CaseInsensitive) == 0;
    qsizetype pos = 0;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString& part = parts[i];
        if (part.isEmpty())
            continue;
        if (i == 0) {
            if (!value.startsWith(part, Qt::CaseInsensitive))
                return false;
            pos = part.size();
        } else if (i == parts.size() - 1) {
            return value.size() - part.size() >= pos && value.endsWith(part, Qt::CaseInsensitive);
        } else {
            const qsizetype at = value.indexOf(part, pos, Qt::CaseInsensitive);
            if (at < 0)
                return false;
            pos = at + part.size();
        }
    }
    return true;
}

// Outlook reads an unset date as 01.01.4501.
QDateTime comparableDate(const QVariant& v) {
    const QDateTime d = v.toDateTime();
    return d.isValid() ? d : QDateTime(QDate(4501, 1, 1), QTime(0, 0));
}

QVariant literalAs(PropType type, const QString& literal, bool& ok) {
    ok = true;
    switch (type) {
    case PropType::Text:
        return literal;
    case PropType::Date: {
        const QDateTime d = parseDate(literal);
        ok = d.isValid();
        return d;
    }
    case PropType::Bool: {
        const QString t = literal.trimmed().toLower();
        ok = t == u"true"_s || t == u"false"_s || t == u"-1"_s || t == u"0"_s || t == u"1"_s ||
             t == u"wahr"_s || t == u"falsch"_s;
        return t == u"true"_s || t == u"-1"_s || t == u"1"_s || t == u"wahr"_s;
    }
    case PropType::Int:
    case PropType::Double: {
        QString t = literal.trimmed();
        t.replace(u',', u'.');
        const double d = t.toDouble(&ok);
        return d;
    }
    }
    return {};
}
} // namespace

int compareValues(const QVariant& a, const QVariant& b, PropType type) {
    switch (type) {
    case PropType::Text: {
        static const QCollator collator = [] {
            QCollator c(QLocale(QLocale::German, QLocale::Germany));
            c.setCaseSensitivity(Qt::CaseInsensitive);
            c.setNumericMode(false);
            return c;
        }();
        return collator.compare(a.toString(), b.toString());
    }
    case PropType::Date: {
        const QDateTime x = comparableDate(a), y = comparableDate(b);
        return x < y ? -1 : (y < x ? 1 : 0);
    }
    default: {
        const double x = a.toDouble(), y = b.toDouble();
        return x < y ? -1 : (y < x ? 1 : 0);
    }
    }
}

struct Filter::Node {
    enum class Type { And, Or, Not, Compare } type = Type::Compare;
    std::shared_ptr<const Node> left, right;
    int depth = 1; // levels of the tree from here down
    Field field;
    Op op = Op::Eq;
    QString literal;
    QVariant typedLiteral; // for catalogue properties, converted at parse time

    bool eval(const ValueSource& src) const {
        switch (type) {
        case Type::And:
            return left->eval(src) && right->eval(src);
        case Type::Or:
            return left->eval(src) || right->eval(src);
        case Type::Not:
            return !left->eval(src);
        case Type::Compare:
            break;
        }
        const QVariant v = src.value(field);
        if (!v.isValid())
            return false; // a user property the item does not have
        if (op == Op::Like)
            return likeMatch(v.toString(), literal);
        const PropType t = field.type();
        int c;
        if (t == PropType::Text)
            c = v.toString().compare(literal, Qt::CaseInsensitive);
        else
            c = compareValues(v, typedLiteral, t);
        switch (op) {
        case Op::Eq:
            return c == 0;
        case Op::Ne:
            return c != 0;
        case Op::Lt:
            return c < 0;
        case Op::Le:
            return c <= 0;
        case Op::Gt:
            return c > 0;
        case Op::Ge:
            return c >= 0;
        case Op::Like:
            break;
        }
        return false;
    }
};

namespace {
using Node = Filter::Node;
using NodePtr = std::shared_ptr<const Node>;

class Parser {
public:
    Parser(const QString& text, qsizetype start, bool dasl, quint8 kind)
        : m_text(text), m_pos(start), m_dasl(dasl), m_kind(kind) {}

    NodePtr parseAll(bool& usesUser) {
        NodePtr n = orExpr();
        skipBlanks();
        if (m_pos < m_text.size())
            parseError(m_text, m_pos, u"AND, OR oder das Ende der Bedingung"_s);
        usesUser = m_usesUser;
        return n;
    }

private:
    void skipBlanks() {
        while (m_pos < m_text.size() && m_text[m_pos].isSpace())
            ++m_pos;
    }

    bool keyword(const QString& word) {
        skipBlanks();
        if (m_text.mid(m_pos, word.size()).compare(word, Qt::CaseInsensitive) != 0)
            return false;
        const qsizetype after = m_pos + word.size();
        if (after < m_text.size() && (m_text[after].isLetterOrNumber() || m_text[after] == u'_'))
            return false;
        m_pos = after;
        return true;
    }

    bool symbol(QChar c) {
        skipBlanks();
        if (m_pos < m_text.size() && m_text[m_pos] == c) {
            ++m_pos;
            return true;
        }
        return false;
    }

    // Conditions nest at most this deep: a deeper tree would exhaust the
    // stack when it is parsed, matched or freed.
    static constexpr int MaxDepth = 200;
    [[noreturn]] void tooDeep() {
        parseError(m_text, m_pos,
                   u"eine Bedingung mit höchstens "_s + QString::number(MaxDepth) + u" Ebenen"_s);
    }

    NodePtr join(Node::Type type, NodePtr l, NodePtr r) {
        auto n = std::make_shared<Node>();
        n->depth = 1 + std::max(l ? l->depth : 0, r ? r->depth : 0);
        if (n->depth > MaxDepth)
            tooDeep();
        n->type = type;
        n->left = std::move(l);
        n->right = std::move(r);
        return n;
    }

    NodePtr orExpr() {
        NodePtr n = andExpr();
        while (keyword(u"OR"_s))
            n = join(Node::Type::Or, n, andExpr());
        return n;
    }

    NodePtr andExpr() {
        NodePtr n = unary();
        while (keyword(u"AND"_s))
            n = join(Node::Type::And, n, unary());
        return n;
    }

    NodePtr unary() {
        struct Level {
            int& nesting;
            explicit Level(int& n) : nesting(++n) {}
            ~Level() { --nesting; }
        } level(m_nesting);
        if (m_nesting > MaxDepth)
            tooDeep();
        if (keyword(u"NOT"_s))
            return join(Node::Type::Not, unary(), nullptr);
        if (symbol(u'(')) {
            NodePtr n = orExpr();
            if (!symbol(u')'))
                parseError(m_text, m_pos, u"\")\""_s);
            return n;
        }
        return comparison();
    }

    // A quoted text from m_pos (at the quote); a doubled quote is one quote.
    QString quoted(QChar quote) {
        const qsizetype open = m_pos;
        ++m_pos;
        QString out;
        while (m_pos < m_text.size()) {
            const QChar c = m_text[m_pos++];
            if (c != quote) {
                out += c;
                continue;
            }
            if (m_pos < m_text.size() && m_text[m_pos] == quote) {
                out += quote;
                ++m_pos;
                continue;
            }
            return out;
        }
        parseError(m_text, open, u"das schließende Anführungszeichen"_s);
    }

    Field fieldRef() {
        skipBlanks();
        const qsizetype at = m_pos;
        if (m_dasl) {
            if (m_pos >= m_text.size() || m_text[m_pos] != u'"')
                parseError(m_text, at, u"ein Eigenschaftsname in doppelten Anführungszeichen"_s);
            const QString name = quoted(u'"').trimmed();
            return daslField(name, at);
        }
        if (!symbol(u'['))
            parseError(m_text, at, u"ein Eigenschaftsname in eckigen Klammern"_s);
        const qsizetype close = m_text.indexOf(u']', m_pos);
        if (close < 0)
            parseError(m_text, at, u"\"]\""_s);
        const QString name = m_text.mid(m_pos, close - m_pos).trimmed();
        if (name.isEmpty())
            parseError(m_text, at, u"ein Eigenschaftsname"_s);
        m_pos = close + 1;
        if (auto f = resolveField(m_kind, name))
            return *f;
        m_usesUser = true;
        return userField(name);
    }

    Field daslField(const QString& name, qsizetype at) {
        const QString lower = name.toLower();
        QString mapped = daslNames().value(lower);
        static const QString userPrefix =
            u"http://schemas.microsoft.com/mapi/string/{00020329-0000-0000-c000-000000000046}/"_s;
        static const QString officePrefix = u"urn:schemas-microsoft-com:office:office#"_s;
        if (mapped.isEmpty()) {
            for (const QString& prefix : {userPrefix, officePrefix}) {
                if (lower.startsWith(prefix)) {
                    m_usesUser = true;
                    return userField(name.mid(prefix.size()));
                }
            }
            parseError(m_text, at, u"eine bekannte Eigenschaft statt \""_s + name + u"\","_s);
        }
        if (auto f = resolveField(m_kind, mapped))
            return *f;
        parseError(m_text, at, u"eine Eigenschaft dieser Elementart statt \""_s + name + u"\","_s);
    }

    Op op() {
        skipBlanks();
        const qsizetype at = m_pos;
        if (m_dasl && keyword(u"LIKE"_s))
            return Op::Like;
        const QString two = m_text.mid(m_pos, 2);
        const std::pair<const char16_t*, Op> ops[] = {{u"<>", Op::Ne}, {u"<=", Op::Le},
                                                      {u">=", Op::Ge}, {u"=", Op::Eq},
                                                      {u"<", Op::Lt},  {u">", Op::Gt}};
        for (const auto& [text, o] : ops) {
            const QString t = QString::fromUtf16(text);
            if (two.startsWith(t)) {
                m_pos += t.size();
                return o;
            }
        }
        parseError(m_text, at,
                   u"ein Vergleichsoperator (=, <>, <, <=, >, >="_s +
                       (m_dasl ? u", LIKE)"_s : u")"_s));
    }

    QString literal(bool& wasQuoted) {
        skipBlanks();
        const qsizetype at = m_pos;
        wasQuoted = false;
        if (m_pos < m_text.size() &&
            (m_text[m_pos] == u'\'' || (!m_dasl && m_text[m_pos] == u'"'))) {
            wasQuoted = true;
            return quoted(m_text[m_pos]);
        }
        while (m_pos < m_text.size() &&
               (m_text[m_pos].isLetterOrNumber() || m_text[m_pos] == u'-' ||
                m_text[m_pos] == u'.' || m_text[m_pos] == u','))
            ++m_pos;
        if (m_pos == at)
            parseError(m_text, at,
                       u"ein Wert (Text in Anführungszeichen, Zahl, True oder False)"_s);
        return m_text.mid(at, m_pos - at);
    }

    NodePtr comparison() {
        auto n = std::make_shared<Node>();
        n->field = fieldRef();
        n->op = op();
        const qsizetype at = (skipBlanks(), m_pos);
        bool wasQuoted = false;
        n->literal = literal(wasQuoted);
        if (n->op == Op::Like && !wasQuoted)
            parseError(m_text, at, u"ein Text in Anführungszeichen nach LIKE"_s);
        if (n->op != Op::Like && n->field.type() != PropType::Text) {
            bool ok = false;
            n->typedLiteral = literalAs(n->field.type(), n->literal, ok);
            if (!ok)
                parseError(m_text, at,
                           n->field.type() == PropType::Date
                               ? u"ein Datum \"tt.mm.jjjj hh:mm\""_s
                               : u"ein Wert passend zu "_s + n->field.name);
        }
        return n;
    }

    const QString& m_text;
    qsizetype m_pos;
    int m_nesting = 0; // unary() calls open at once
    bool m_dasl;
    quint8 m_kind;
    bool m_usesUser = false;
};
} // namespace

Filter::Filter() = default;

Filter Filter::parse(const QString& text, quint8 kind) {
    Filter f;
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return f;
    const bool dasl = trimmed.startsWith(u"@SQL="_s, Qt::CaseInsensitive);
    Parser parser(trimmed, dasl ? 5 : 0, dasl, kind);
    f.m_root = parser.parseAll(f.m_usesUserProperties);
    return f;
}

bool Filter::matches(const ValueSource& item) const {
    return !m_root || m_root->eval(item);
}

} // namespace tlm::pim
