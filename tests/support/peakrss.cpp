// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// peakrss PROGRAM [ARGS...]: runs PROGRAM and prints its peak resident
// memory in KiB as the last line of standard output; exits with PROGRAM's
// status.
//
// A child's peak as wait4 reports it includes the memory of the process it
// was started from until the exec, so a large test process would inflate
// the figure of a small child. This small helper, started fresh, forks the
// program itself and so measures only what the program used.
#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: peakrss PROGRAM [ARGS...]\n");
        return 2;
    }
    const pid_t pid = fork();
    if (pid == 0) {
        execv(argv[1], argv + 1);
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid)
        return 2;
    std::printf("%ld\n", usage.ru_maxrss);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
}
