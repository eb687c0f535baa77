// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// One fuzz target of harness.cpp, chosen when it is built (TM_FUZZ_TARGET).
#include "fuzz/harness.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {
const tlm::fuzz::Target* chosen = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    tlm::fuzz::initialise();
    chosen = tlm::fuzz::target(TM_FUZZ_TARGET);
    if (!chosen)
        std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    chosen->run(QByteArrayView(data, static_cast<qsizetype>(size)));
    return 0;
}
