// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/bench/common/child.h"
#include "tools/bench/common/benchdata.h"

#include <QElapsedTimer>
#include <QFile>
#include <cstdio>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace tlm::bench {

Usage runChild(const QString& program, const QStringList& args) {
    QList<QByteArray> encoded{QFile::encodeName(program)};
    for (const QString& a : args)
        encoded << a.toUtf8();
    std::vector<char*> argv;
    for (QByteArray& a : encoded)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    QElapsedTimer t;
    t.start();
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    Usage result{millis(t.nsecsElapsed()), static_cast<double>(usage.ru_maxrss) / 1024.0, true};
    if (!WIFEXITED(status) || WEXITSTATUS(status) == 127) {
        std::printf("  (%s did not run)\n", argv[0]);
        result.ran = false;
    }
    return result;
}

} // namespace tlm::bench
