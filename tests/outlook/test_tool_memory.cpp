// A large vCard file imports with memory for the file and one contact at a
// time, not for all of its contacts at once.
#include "tests/support/testenv.h"

#include <QCoreApplication>
#include <QFile>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

using namespace Qt::StringLiterals;

namespace {
// Peak resident memory of tellmarin-pim run with args, in MiB; -1 when it failed.
double peakMiB(const QStringList& args) {
    QList<QByteArray> encoded{
        QFile::encodeName(QCoreApplication::applicationDirPath() + u"/tellmarin-pim"_s)};
    for (const QString& a : args)
        encoded << a.toUtf8();
    std::vector<char*> argv;
    for (QByteArray& a : encoded)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0
               ? static_cast<double>(usage.ru_maxrss) / 1024.0
               : -1;
}
} // namespace

TEST(PimToolMemory, LargeVcardImportsContactByContact) {
    tlm::test::TestEnv env;
    const QString path = env.root() + u"large.vcf"_s;
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    for (int i = 0; f.size() < 10 * 1024 * 1024; ++i)
        f.write(QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Nachname%1;Vorname;;;\r\n"
                               "ORG:Firma %1 GmbH\r\nTEL;TYPE=WORK:+49 30 %1\r\n"
                               "EMAIL:v%1@example.de\r\nNOTE:Kunde seit 2019\\, "
                               "Rückruf vormittags\r\nEND:VCARD\r\n")
                    .arg(i)
                    .toUtf8());
    f.close();
    const double peak = peakMiB({u"import-vcard"_s, path});
    ASSERT_GT(peak, 0);
#if !defined(__SANITIZE_ADDRESS__)
    // The file (10 MiB), the program and SQLite's cache; all contacts at once
    // took more than 150 MiB.
    EXPECT_LT(peak, 48.0);
#endif
}
