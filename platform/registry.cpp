// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/registry.h"

#include "platform/error.h"
#include "platform/fileio.h"
#include "platform/paths.h"
#include "platform/textfile.h"

#include <QStringList>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace tlm::registry {
namespace {

QString rootName(Root root) {
    switch (root) {
    case Root::LocalMachine:
        return u"hklm"_s;
    case Root::CurrentUser:
        return u"hkcu"_s;
    case Root::ClassesRoot:
        return u"hkcr"_s;
    case Root::Users:
        return u"hku"_s;
    }
    return {};
}

// Trims surrounding backslashes and blanks and folds case.
QString normalisedPath(QStringView path) {
    path = path.trimmed();
    while (path.startsWith(u'\\'))
        path = path.sliced(1);
    while (path.endsWith(u'\\'))
        path.chop(1);
    return path.toString().toCaseFolded();
}

QString keyId(Root root, const QString& normalised) {
    return rootName(root) + u'\\' + normalised;
}

QString valueId(const QString& keyIdText, const QString& valueName) {
    return keyIdText + u"\\\\"_s + valueName.toCaseFolded();
}

// Reads the export file line by line into a View.
class Parser {
public:
    Parser(const QString& fileName, QHash<QString, Value>& values, QSet<QString>& keys)
        : m_fileName(fileName), m_values(values), m_keys(keys) {}

    void run(const QString& text);

private:
    enum class KeyState { None, Current, Skipped };

    [[noreturn]] void fail() const;
    void keyLine(QStringView inner);
    void valueLine(QStringView line);
    // Parses a quoted text starting at pos (at the opening quote); returns
    // the text and moves pos past the closing quote.
    QString quoted(QStringView line, qsizetype& pos) const;
    Value data(QStringView rest, bool* remove) const;

    QString m_fileName;
    QHash<QString, Value>& m_values;
    QSet<QString>& m_keys;
    int m_lineNumber = 0;
    QString m_line;
    KeyState m_state = KeyState::None;
    QString m_keyId;
};

void Parser::fail() const {
    const QString file = m_fileName.isEmpty() ? u"registry.reg"_s : m_fileName;
    throw Error(err::InvalidArgument,
                u"%1, Zeile %2: ungültige Zeile: %3"_s.arg(file).arg(m_lineNumber).arg(m_line));
}

void Parser::run(const QString& text) {
    const QStringList lines = text.split(u'\n');
    bool headerSeen = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        m_lineNumber = int(i + 1);
        m_line = lines[i].trimmed();
        if (m_line.isEmpty() || m_line.startsWith(u';'))
            continue;
        // Binary values continue on the next lines after a trailing "\".
        while (m_line.endsWith(u'\\') && i + 1 < lines.size()) {
            m_line.chop(1);
            m_line += lines[++i].trimmed();
        }
        if (!headerSeen) {
            headerSeen =
                m_line.compare(u"REGEDIT4"_s, Qt::CaseInsensitive) == 0 ||
                m_line.compare(u"Windows Registry Editor Version 5.00"_s, Qt::CaseInsensitive) == 0;
            if (!headerSeen)
                fail();
        } else if (m_line.startsWith(u'[') && m_line.endsWith(u']')) {
            keyLine(QStringView(m_line).sliced(1, m_line.size() - 2));
        } else if (m_line.startsWith(u'"') || m_line.startsWith(u'@')) {
            valueLine(m_line);
        } else {
            fail();
        }
    }
}

void Parser::keyLine(QStringView inner) {
    m_state = KeyState::Skipped;
    if (inner.startsWith(u'-'))
        return; // a deletion entry removes nothing from this view
    const qsizetype slash = inner.indexOf(u'\\');
    const QStringView rootText = slash < 0 ? inner : inner.first(slash);
    static const QHash<QString, Root> roots = {{u"HKEY_LOCAL_MACHINE"_s, Root::LocalMachine},
                                               {u"HKEY_CURRENT_USER"_s, Root::CurrentUser},
                                               {u"HKEY_CLASSES_ROOT"_s, Root::ClassesRoot},
                                               {u"HKEY_USERS"_s, Root::Users}};
    const QString rootUpper = rootText.trimmed().toString().toUpper();
    const auto it = roots.constFind(rootUpper);
    if (it == roots.constEnd()) {
        if (rootUpper == u"HKEY_CURRENT_CONFIG"_s || rootUpper == u"HKEY_DYN_DATA"_s)
            return; // valid, but outside this view
        fail();
    }
    const QString path = normalisedPath(slash < 0 ? QStringView() : inner.sliced(slash + 1));
    m_keyId = keyId(*it, path);
    m_state = KeyState::Current;
    for (qsizetype end = path.size(); end >= 0; end = path.lastIndexOf(u'\\', end - 1)) {
        m_keys.insert(keyId(*it, path.first(end)));
        if (end == 0)
            break;
    }
}

QString Parser::quoted(QStringView line, qsizetype& pos) const {
    QString text;
    for (++pos; pos < line.size(); ++pos) {
        const QChar c = line[pos];
        if (c == u'"') {
            ++pos;
            return text;
        }
        if (c == u'\\' && pos + 1 < line.size() &&
            (line[pos + 1] == u'\\' || line[pos + 1] == u'"'))
            ++pos;
        text += line[pos];
    }
    fail(); // no closing quote
}

Value Parser::data(QStringView rest, bool* remove) const {
    *remove = false;
    Value v;
    if (rest.startsWith(u'"')) {
        qsizetype pos = 0;
        v.type = Value::Type::String;
        v.text = quoted(rest, pos);
        if (!rest.sliced(pos).trimmed().isEmpty())
            fail();
        return v;
    }
    if (rest.startsWith(u"dword:"_s, Qt::CaseInsensitive)) {
        const QStringView digits = rest.sliced(6).trimmed();
        bool ok = false;
        const uint number = digits.toUInt(&ok, 16);
        if (!ok || digits.isEmpty() || digits.size() > 8 || digits.startsWith(u'+') ||
            digits.startsWith(u'-'))
            fail();
        v.type = Value::Type::Dword;
        v.number = number;
        return v;
    }
    if (rest.startsWith(u"hex"_s, Qt::CaseInsensitive)) {
        const qsizetype colon = rest.indexOf(u':');
        if (colon < 0)
            fail();
        for (const QChar c : rest.sliced(colon + 1)) {
            const bool hexDigit =
                (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
            if (!hexDigit && c != u',' && c != u' ' && c != u'\t')
                fail();
        }
        return v; // binary, multi-string, expandable and other types: Empty
    }
    if (rest.trimmed() == u"-"_s) {
        *remove = true;
        return v;
    }
    fail();
}

void Parser::valueLine(QStringView line) {
    if (m_state == KeyState::None)
        fail(); // a value before the first key
    qsizetype pos = 0;
    QString name;
    if (line.startsWith(u'@'))
        pos = 1;
    else
        name = quoted(line, pos);
    while (pos < line.size() && line[pos].isSpace())
        ++pos;
    if (pos >= line.size() || line[pos] != u'=')
        fail();
    bool remove = false;
    const Value v = data(line.sliced(pos + 1).trimmed(), &remove);
    if (m_state != KeyState::Current)
        return;
    const QString id = valueId(m_keyId, name);
    if (remove)
        m_values.remove(id);
    else
        m_values.insert(id, v);
}

struct Cache {
    std::optional<View> view;
};

Cache& cache() {
    static Cache c;
    return c;
}

const View& currentView() {
    Cache& c = cache();
    if (!c.view) {
        try {
            c.view = View::load(viewFilePath());
        } catch (const Error& e) {
            const QByteArray message =
                "Tellmarin: " + e.description().toLocal8Bit() + " (Registrierung leer)\n";
            std::fputs(message.constData(), stderr);
            c.view = View();
        }
    }
    return *c.view;
}

} // namespace

QString Value::toString() const {
    switch (type) {
    case Type::String:
        return text;
    case Type::Dword:
        return QString::number(number);
    case Type::Empty:
        break;
    }
    return {};
}

View View::parse(const QByteArray& fileContent, const QString& fileName) {
    View view;
    QString text = textfile::decodeForeign(fileContent);
    text.remove(u'\r');
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    Parser(fileName, view.m_values, view.m_keys).run(text);
    return view;
}

View View::load(const QString& path) {
    const auto bytes = fileio::readAll(path);
    if (!bytes)
        return {};
    return parse(*bytes, path);
}

Value View::value(Root root, const QString& keyPath, const QString& valueName) const {
    return m_values.value(valueId(keyId(root, normalisedPath(keyPath)), valueName));
}

bool View::hasKey(Root root, const QString& keyPath) const {
    return m_keys.contains(keyId(root, normalisedPath(keyPath)));
}

QString viewFilePath() {
    return paths::configFolder() + u"registry.reg"_s;
}

Value fncRegValue(Root root, const QString& keyPath, const QString& valueName) {
    const View& view = currentView();
    static const QString software = u"SOFTWARE\\"_s;
    if (root == Root::LocalMachine && keyPath.startsWith(software, Qt::CaseInsensitive)) {
        const QString redirected =
            u"SOFTWARE\\Wow6432Node\\"_s + QStringView(keyPath).sliced(software.size());
        if (view.hasKey(root, redirected))
            return view.value(root, redirected, valueName);
    }
    return view.value(root, keyPath, valueName);
}

void reload() {
    cache().view.reset();
}

} // namespace tlm::registry
