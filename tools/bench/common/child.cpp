// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/bench/common/child.h"
#include "tools/bench/common/benchdata.h"

#include <QElapsedTimer>
#include <QFile>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace tlm::bench {
namespace {
// A program and its arguments as exec takes them.
class Argv {
public:
    Argv(const QString& program, const QStringList& args) : m_encoded{QFile::encodeName(program)} {
        for (const QString& a : args)
            m_encoded << a.toUtf8();
        for (QByteArray& a : m_encoded)
            m_pointers.push_back(a.data());
        m_pointers.push_back(nullptr);
    }
    char** data() { return m_pointers.data(); }

private:
    QList<QByteArray> m_encoded;
    std::vector<char*> m_pointers;
};
} // namespace

pid_t startChild(const QString& program, const QStringList& args) {
    Argv argv(program, args);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv.data()[0], &actions, nullptr, argv.data(), environ) != 0)
        pid = 0;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

Usage runChild(const QString& program, const QStringList& args) {
    Argv argv(program, args);
    QElapsedTimer t;
    t.start();
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execvp(argv.data()[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    Usage result{millis(t.nsecsElapsed()), static_cast<double>(usage.ru_maxrss) / 1024.0, true};
    if (!WIFEXITED(status) || WEXITSTATUS(status) == 127) {
        std::printf("  (%s did not run)\n", argv.data()[0]);
        result.ran = false;
    }
    return result;
}

} // namespace tlm::bench
