// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "pimtool/synccommands.h"

#include "platform/error.h"
#include "platform/texts.h"
#include "sync/accounts.h"
#include "sync/davclient.h"
#include "sync/syncerror.h"

#include <QFile>
#include <QTextStream>

#include <csignal>
#include <termios.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace tlm::pim::tool {

namespace {

// What the tool reports for a failure between the store and a server.
constexpr long ServerFailure = 1;

// Runs a step of the sync library; its failures end the command with their
// message (they never hold a password).
template <class Step> auto serverStep(Step step) {
    try {
        return step();
    } catch (const sync::SyncError& e) {
        throw Error(ServerFailure, e.message());
    }
}

// The terminal's settings before the password prompt; Ctrl-C at the prompt
// gives the terminal its echo back before the tool ends.
termios savedTerminal{};

void restoreTerminalAndStop(int signal) {
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &savedTerminal);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// Turns the terminal's echo off while it lives.
class EchoOff {
public:
    EchoOff() : m_terminal(::isatty(STDIN_FILENO) == 1) {
        if (!m_terminal || ::tcgetattr(STDIN_FILENO, &savedTerminal) != 0) {
            m_terminal = false;
            return;
        }
        std::signal(SIGINT, restoreTerminalAndStop);
        std::signal(SIGTERM, restoreTerminalAndStop);
        termios quiet = savedTerminal;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    ~EchoOff() {
        if (!m_terminal)
            return;
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &savedTerminal);
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGTERM, SIG_DFL);
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;
    bool terminal() const { return m_terminal; }

private:
    bool m_terminal;
};

// One line of standard input without its line end, read byte by byte so
// that nothing behind it is consumed.
QByteArray inputLine() {
    QByteArray line;
    char c = 0;
    while (::read(STDIN_FILENO, &c, 1) == 1 && c != '\n')
        line += c;
    return line;
}

QString firstLine(QByteArray text) {
    const qsizetype end = text.indexOf('\n');
    if (end >= 0)
        text.truncate(end);
    if (text.endsWith('\r'))
        text.chop(1);
    return QString::fromUtf8(text);
}

QString passwordFromFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(err::FileAccess,
                    u"Die Datei mit dem Passwort kann nicht gelesen werden: "_s + path);
    const QString password = firstLine(file.read(64 * 1024));
    if (password.isEmpty())
        throw Error(err::FileAccess,
                    u"Die Datei mit dem Passwort ist leer (das Passwort steht in ihrer ersten "
                    u"Zeile): "_s +
                        path);
    return password;
}

// http or https with a host, and no password in it.
QUrl serverUrl(const QString& text) {
    const QUrl url(text, QUrl::StrictMode);
    if (!url.password().isEmpty())
        throw UsageError{u"die Adresse darf kein Passwort enthalten (--password-file DATEI "
                         u"oder die Eingabe am Terminal nehmen es)"_s};
    if (!sync::DavClient::isServerUrl(url))
        throw UsageError{u"keine Serveradresse (http:// oder https://): "_s + text};
    return url;
}

QString storePathOf(const Store& store, const sync::Account& account) {
    for (const StoreInfo& s : store.stores())
        if (s.storeId == account.storeId)
            return u"\\\\"_s + s.name;
    return u"(Speicher fehlt)"_s;
}

} // namespace

QString readPassword(const Invocation& call, const QString& prompt) {
    if (call.options.contains(u"password-file"_s))
        return passwordFromFile(call.option(u"password-file"_s));
    QString password;
    {
        const EchoOff echoOff;
        if (echoOff.terminal()) {
            *call.err << prompt;
            call.err->flush();
        }
        password = firstLine(inputLine());
        if (echoOff.terminal())
            *call.err << '\n';
    }
    if (password.isEmpty())
        throw Error(err::InvalidArgument, u"Kein Passwort eingegeben."_s);
    return password;
}

void addAccount(const Invocation& call) {
    if (!call.options.contains(u"user"_s) || call.option(u"user"_s).isEmpty())
        throw UsageError{u"add-account braucht --user NAME"_s};
    sync::NewAccount request;
    request.url = serverUrl(call.args.first());
    Store store = openStore(call, Store::Create::Never);
    request.user = call.option(u"user"_s);
    request.name = call.option(u"name"_s);
    request.allowHttp = call.options.contains(u"allow-http"_s);
    request.password =
        readPassword(call, u"Passwort für %1 auf %2: "_s.arg(request.user, request.url.host()));
    sync::SyncRun firstSync;
    const sync::Account account =
        serverStep([&] { return sync::addAccount(store, request, &firstSync); });
    *call.out << "Konto angelegt: " << account.name << '\t' << storePathOf(store, account) << '\n';
    for (const sync::FolderReport& report : firstSync.folders)
        *call.out << report.line() << '\n';
}

void listAccounts(const Invocation& call) {
    const Store store = openStore(call, Store::Create::Never);
    for (const sync::Account& a : sync::accounts(store)) {
        *call.out << a.name << '\t' << a.url.toDisplayString(QUrl::RemoveUserInfo) << '\t' << a.user
                  << '\t' << storePathOf(store, a) << '\t'
                  << (a.lastSync.isValid() ? u"abgeglichen "_s + texts::dateTime(a.lastSync)
                                           : u"nie abgeglichen"_s);
        if (!a.lastError.isEmpty())
            *call.out << "\tFehler: " << QString(a.lastError).replace(u'\n', u"; "_s);
        *call.out << '\n';
    }
}

void bindFolder(const Invocation& call) {
    const QUrl url = serverUrl(call.args.at(1));
    Store store = openStore(call, Store::Create::Never);
    const QString path = folderArg(store, call.args.at(0), 0).folderPath;
    const sync::Binding binding =
        serverStep([&] { return sync::bind(store, path, url, call.option(u"account"_s)); });
    *call.out << "Ordner gebunden: " << path << '\t' << binding.url.toDisplayString() << '\t'
              << binding.account << '\n';
}

void syncFolders(const Invocation& call) {
    Store store = openStore(call, Store::Create::Never);
    const QString path = call.options.contains(u"folder"_s)
                             ? folderArg(store, call.option(u"folder"_s), 0).folderPath
                             : QString();
    const sync::SyncRun run =
        serverStep([&] { return sync::syncAccounts(store, call.option(u"account"_s), path); });
    for (const sync::FolderReport& report : run.folders)
        *call.out << report.line() << '\n';
    if (!run.ok())
        throw Error(ServerFailure, run.errors.join(u'\n'));
    if (!path.isEmpty() && run.folders.isEmpty())
        throw Error(err::InvalidArgument, u"Der Ordner ist an keinen Server gebunden: "_s + path +
                                              u" (binden mit: tellmarin-pim bind)"_s);
}

void removeAccount(const Invocation& call) {
    Store store = openStore(call, Store::Create::Never);
    const QString name = call.args.first();
    serverStep([&] { sync::removeAccount(store, name); });
    *call.out << "Konto entfernt: " << name << '\n';
}

} // namespace tlm::pim::tool
