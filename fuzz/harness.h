// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fuzz targets: each feeds one input from outside to one of the
// program's readers. A reader may refuse an input with tlm::Error; anything
// else (a crash, a hang, a leak, another exception) is a fault. The same
// functions run the kept inputs in the test suite.
#include <QByteArrayView>
#include <span>

namespace tlm::fuzz {

struct Target {
    const char* name;
    void (*run)(QByteArrayView input);
};

// Every target, by name.
std::span<const Target> targets();
const Target* target(const char* name);

// A Qt application object and a private folder for the files the targets
// write; the environment's TEMP and settings point into that folder unless
// keepEnvironment.
void initialise(bool keepEnvironment = false);

} // namespace tlm::fuzz
