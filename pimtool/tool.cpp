// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "pimtool/tool.h"

#include "pimtool/synccommands.h"
#include "pimtool/toolcommands.h"
#include "platform/error.h"

#include <QTextStream>

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace tlm::pim::tool {

namespace {

struct Command {
    QString name;
    QString usage;
    QString summary;
    int minArgs;
    int maxArgs;
    QStringList options; // allowed besides --store
    void (*handler)(const Invocation&);
};

const std::array<Command, 15>& commands() {
    static const std::array<Command, 15> table = {{
        {u"create"_s,
         u"create"_s,
         u"legt einen neuen Speicher mit den Standardordnern an"_s,
         0,
         0,
         {},
         &create},
        {u"add-folder"_s,
         u"add-folder ORDNERPFAD [--kind ART] [--read-only]"_s,
         u"legt einen Ordner an (fehlende Oberordner und Speicher mit); --read-only: seine "
         u"Elemente lassen sich lesen, aber nicht ändern"_s,
         1,
         1,
         {u"kind"_s, u"read-only"_s},
         &addFolder},
        {u"import-vcard"_s,
         u"import-vcard DATEI [--folder ORDNERPFAD]"_s,
         u"liest Kontakte aus einer vCard-Datei (2.1, 3.0, 4.0) ein"_s,
         1,
         1,
         {u"folder"_s},
         &importVcard},
        {u"export-vcard"_s,
         u"export-vcard DATEI [--folder ORDNERPFAD] [--vcard-version 3|4]"_s,
         u"schreibt die Kontakte eines Ordners als vCard (DATEI - : Standardausgabe)"_s,
         1,
         1,
         {u"folder"_s, u"vcard-version"_s},
         &exportVcard},
        {u"load-json"_s,
         u"load-json DATEI"_s,
         u"lädt einen JSON-Abzug in einen neuen, leeren Speicher"_s,
         1,
         1,
         {},
         &loadJson},
        {u"dump-json"_s,
         u"dump-json [DATEI]"_s,
         u"schreibt den ganzen Speicher als JSON (ohne DATEI: Standardausgabe)"_s,
         0,
         1,
         {},
         &dumpJson},
        {u"list"_s,
         u"list [ORDNERPFAD]"_s,
         u"listet die Ordner, mit ORDNERPFAD die Elemente des Ordners"_s,
         0,
         1,
         {},
         &list},
        {u"inspectors"_s,
         u"inspectors"_s,
         u"listet die offenen Fenster: EntryID, Zustand, Rechteck, Titel"_s,
         0,
         0,
         {},
         &inspectors},
        {u"close"_s,
         u"close ENTRYID [--save|--discard]"_s,
         u"schließt ein Fenster; --save speichert einen Entwurf in seinen Ordner, --discard "
         u"verwirft ihn"_s,
         1,
         1,
         {u"save"_s, u"discard"_s},
         &closeInspector},
        {u"options"_s,
         u"options [--outlook-version V] [--editor-type 1|4]"_s,
         u"zeigt und setzt die Optionen des Speichers"_s,
         0,
         0,
         {u"outlook-version"_s, u"editor-type"_s},
         &options},
        {u"add-account"_s,
         u"add-account URL --user NAME [--password-file DATEI] [--name NAME] [--allow-http]"_s,
         u"richtet ein Konto auf einem CardDAV-/CalDAV-Server ein (ein Speicher mit einem "
         u"Ordner je Sammlung) und gleicht ab; Passwort: erste Zeile von DATEI, sonst ohne Echo "
         u"erfragt; --allow-http: unverschlüsselt auch zu anderen Rechnern"_s,
         1,
         1,
         {u"user"_s, u"password-file"_s, u"name"_s, u"allow-http"_s},
         &addAccount},
        {u"accounts"_s,
         u"accounts"_s,
         u"listet die Konten: Name, Adresse, Benutzer, Speicher, letzter Abgleich, letzter "
         u"Fehler"_s,
         0,
         0,
         {},
         &listAccounts},
        {u"bind"_s,
         u"bind ORDNERPFAD SAMMLUNGS-URL [--account NAME]"_s,
         u"bindet einen Ordner an ein Adressbuch oder einen Kalender des Servers (ohne "
         u"--account: das Konto auf demselben Server)"_s,
         2,
         2,
         {u"account"_s},
         &bindFolder},
        {u"sync"_s,
         u"sync [--account NAME] [--folder ORDNERPFAD]"_s,
         u"gleicht die gebundenen Ordner mit dem Server ab, eine Zeile je Ordner"_s,
         0,
         0,
         {u"account"_s, u"folder"_s},
         &syncFolders},
        {u"remove-account"_s,
         u"remove-account NAME"_s,
         u"entfernt das Konto mit seinem Speicher, seinen Bindungen und seinem Passwort hier; "
         u"auf dem Server bleibt alles"_s,
         1,
         1,
         {},
         &removeAccount},
    }};
    return table;
}

QString helpText() {
    QString text = u"Aufruf: tellmarin-pim [--store DATEI] BEFEHL [ARGUMENTE]\n\n"
                   u"Werkzeug des lokalen PIM-Speichers von Tellmarin.\n\n"
                   u"Befehle:\n"_s;
    for (const Command& c : commands())
        text += u"  "_s + c.usage + u"\n      "_s + c.summary + u'\n';
    text += u"\nOptionen:\n"
            u"  --store DATEI  der Speicher (sonst TELLMARIN_PIM, sonst\n"
            u"                 $XDG_DATA_HOME/Orvensoft/pim.sqlite)\n"
            u"  --help         diese Hilfe\n\n"
            u"ORDNERPFAD: \\\\Speicher\\Ordner\\Unterordner, oder Ordner\\Unterordner im\n"
            u"Standardspeicher. Arten: contact, calendar, journal, task, mail, other.\n"
            u"Rückgabewert: 0 Erfolg, 1 Fehler (der Speicher bleibt unverändert), 2 falscher "
            u"Aufruf.\n"_s;
    return text;
}

struct Parsed {
    QString storePath;
    QStringList words;
    QMap<QString, QString> options;
    bool help = false;
};

Parsed parse(const QStringList& args) {
    Parsed p;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (a == u"--help"_s || a == u"-h"_s) {
            p.help = true;
        } else if (a.startsWith(u"--"_s) && a.size() > 2) {
            QString name = a.mid(2);
            QString value;
            if (name == u"read-only"_s || name == u"save"_s || name == u"discard"_s ||
                name == u"allow-http"_s) {
                // a switch: it takes no value
                value = u"1"_s;
            } else if (const qsizetype eq = name.indexOf(u'='); eq >= 0) {
                value = name.mid(eq + 1);
                name = name.left(eq);
            } else if (i + 1 < args.size()) {
                value = args.at(++i);
            } else {
                throw UsageError{u"Option --"_s + name + u" ohne Wert"_s};
            }
            if (p.options.contains(name) || (name == u"store"_s && !p.storePath.isEmpty()))
                throw UsageError{u"Option --"_s + name + u" mehrfach angegeben"_s};
            if (name == u"store"_s)
                p.storePath = value;
            else
                p.options.insert(name, value);
        } else {
            p.words << a;
        }
    }
    return p;
}

int dispatch(const Parsed& p, QTextStream& out, QTextStream& err) {
    if (p.help || (!p.words.isEmpty() && p.words.first() == u"help"_s)) {
        out << helpText();
        return Success;
    }
    if (p.words.isEmpty())
        throw UsageError{u"kein Befehl angegeben"_s};
    const auto& table = commands();
    const auto it = std::find_if(table.begin(), table.end(),
                                 [&](const Command& c) { return c.name == p.words.first(); });
    if (it == table.end())
        throw UsageError{u"unbekannter Befehl: "_s + p.words.first()};
    const QStringList args = p.words.mid(1);
    if (args.size() < it->minArgs || args.size() > it->maxArgs)
        throw UsageError{u"Aufruf: tellmarin-pim "_s + it->usage};
    for (auto o = p.options.begin(); o != p.options.end(); ++o)
        if (!it->options.contains(o.key()))
            throw UsageError{u"Option --"_s + o.key() + u" gibt es für "_s + it->name +
                             u" nicht"_s};
    Invocation call;
    call.storePath = p.storePath.isEmpty() ? Store::defaultPath() : p.storePath;
    call.args = args;
    call.options = p.options;
    call.out = &out;
    call.err = &err;
    it->handler(call);
    return Success;
}

} // namespace

int run(const QStringList& args, QTextStream& out, QTextStream& err) {
    int code = Success;
    try {
        code = dispatch(parse(args), out, err);
    } catch (const UsageError& e) {
        err << "tellmarin-pim: " << e.text << "\n(tellmarin-pim --help zeigt die Befehle)\n";
        code = Usage;
    } catch (const Error& e) {
        err << "tellmarin-pim: " << e.description() << '\n';
        code = Failure;
    }
    out.flush();
    err.flush();
    return code;
}

} // namespace tlm::pim::tool
