// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading a key with the difference between a missing key and an empty value
// kept, and optionally the value exactly as written (the settings store needs
// both).
#include "platform/initext.h"

#include <QString>
#include <optional>

namespace tlm::ini {

using text::ValueForm;

// The value, or nullopt when file, section or key is missing.
std::optional<QString> find(const QString& file, const QString& section, const QString& key,
                            ValueForm form = ValueForm::Trimmed);

} // namespace tlm::ini
