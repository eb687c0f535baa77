// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/credentials.h"
#include "platform/atomicfile.h"
#include "platform/error.h"
#include "platform/paths.h"
#include "sync/syncerror.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <fcntl.h>
#include <qt6keychain/keychain.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace tlm::sync::credentials {

namespace {

const QString Service = u"Tellmarin"_s;

[[noreturn]] void fail(const QString& message) {
    throw SyncError(Failure::Credentials, message);
}

// Runs a keychain job to its end.
void run(QKeychain::Job& job) {
    job.setAutoDelete(false);
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

bool sessionBus() {
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + u"/bus"_s);
}

// The file's accounts; an empty object when it does not exist.
QJsonObject readFile() {
    const QString path = passwordFile();
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    if ((st.st_mode & (S_IRWXG | S_IRWXO)) != 0 || st.st_uid != ::geteuid())
        fail(u"Die Passwortdatei %1 dürfen auch andere lesen; sie wird nicht verwendet. "
             u"Bitte mit „chmod 600“ schützen."_s.arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(u"Die Passwortdatei %1 kann nicht gelesen werden."_s.arg(path));
    const QJsonDocument doc = QJsonDocument::fromJson(file.read(1024 * 1024));
    if (!doc.isObject())
        fail(u"Die Passwortdatei %1 ist beschädigt."_s.arg(path));
    return doc.object();
}

void writeFile(const QJsonObject& accounts) {
    const QString path = passwordFile();
    const QByteArray name = QFile::encodeName(path);
    // Made with mode 0600 before anything is written into it; the
    // replacement keeps the mode.
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        fail(u"Die Passwortdatei %1 kann nicht angelegt werden."_s.arg(path));
    ::close(fd);
    try {
        atomicfile::replace(path, QJsonDocument(accounts).toJson(QJsonDocument::Indented));
    } catch (const Error&) {
        fail(u"Die Passwortdatei %1 kann nicht geschrieben werden."_s.arg(path));
    }
}

} // namespace

QString passwordFile() {
    return paths::configFolder() + u"Tellmarin-Passwoerter.json"_s;
}

Keeper keeper() {
    static const Keeper chosen = [] {
        if (!sessionBus())
            return Keeper::File;
        // Only a backend that stores a password is used: a keyring daemon
        // started for a session without its login collection answers reads
        // but refuses every write.
        QKeychain::WritePasswordJob probe(Service);
        probe.setKey(u"Tellmarin-Probe"_s);
        probe.setTextData(u"-"_s);
        run(probe);
        if (probe.error() != QKeychain::NoError)
            return Keeper::File;
        QKeychain::DeletePasswordJob clean(Service);
        clean.setKey(u"Tellmarin-Probe"_s);
        run(clean);
        return Keeper::SecretService;
    }();
    return chosen;
}

void save(const QString& account, const QString& password) {
    if (keeper() == Keeper::SecretService) {
        QKeychain::WritePasswordJob job(Service);
        job.setKey(account);
        job.setTextData(password);
        run(job);
        if (job.error() != QKeychain::NoError)
            fail(u"Das Passwort für „%1“ kann nicht im Schlüsselbund gespeichert werden (%2)."_s
                     .arg(account, job.errorString()));
        return;
    }
    QJsonObject accounts = readFile();
    accounts.insert(account, password);
    writeFile(accounts);
}

QString load(const QString& account) {
    if (keeper() == Keeper::SecretService) {
        QKeychain::ReadPasswordJob job(Service);
        job.setKey(account);
        run(job);
        if (job.error() == QKeychain::NoError)
            return job.textData();
        fail(u"Für das Konto „%1“ ist im Schlüsselbund kein Passwort gespeichert."_s.arg(account));
    }
    const QJsonObject accounts = readFile();
    if (!accounts.value(account).isString())
        fail(u"Für das Konto „%1“ ist kein Passwort gespeichert."_s.arg(account));
    return accounts.value(account).toString();
}

void remove(const QString& account) {
    if (keeper() == Keeper::SecretService) {
        QKeychain::DeletePasswordJob job(Service);
        job.setKey(account);
        run(job);
        return;
    }
    QJsonObject accounts = readFile();
    if (accounts.contains(account)) {
        accounts.remove(account);
        writeFile(accounts);
    }
}

} // namespace tlm::sync::credentials
