// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Message boxes. With TELLMARIN_AUTOANSWER=1, or when the program runs without
// a display, each box is answered at once with its default button and its
// title and text are printed to standard error.
#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace tlm::msgbox {

enum class Icon { None, Critical, Question, Exclamation, Information };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
// Answers carry the numbers the Windows message box returns.
enum class Answer { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

// defaultButton: 1 first button, 2 second, 3 third. A box with a parent
// window is shown over it.
Answer show(const QString& text, Buttons buttons, Icon icon, const QString& title,
            int defaultButton = 1, QWidget* parent = nullptr);

// True when boxes and dialogs are answered without waiting.
bool autoAnswer();

// For runs from a script's command line: boxes print their title and text to
// standard error and take their default button, whatever the display (shell
// actions still happen).
void setConsole(bool console);

// Answers boxes in place of a user (tests): each box is printed as above and
// takes the responder's answer, or its default button when it gives none.
using Responder = std::function<std::optional<Answer>(const QString& title, const QString& text)>;
void setResponder(Responder responder);

} // namespace tlm::msgbox
