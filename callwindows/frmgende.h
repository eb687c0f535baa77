// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The end-of-call window: what is to happen with the contact and the
// journal or calendar entry that the call opened? Close them all, or leave
// them open; without an answer the window closes them after its countdown.
#include "core/calldialogs.h"
#include "ui/callwindow.h"

namespace tlm {

struct Run;

class frmGEnde : public CallWindow {
    Q_OBJECT

public:
    explicit frmGEnde(const Run& run);

    void cmdClose_Click();
    void cmdGoOn_Click();
    void timerSecond_Timer();

    // The user's answer so far; none when the window was closed by its
    // close box.
    CallEndAnswer answer() const { return m_answer; }

    // Shows the window modally; its answer.
    static CallEndAnswer show(const Run& run);

private:
    void Form_Load();
    int countdownSeconds() const { return m_countdown; }

    const Run& m_run;
    CallEndAnswer m_answer = CallEndAnswer::None;
    int m_countdown = 0;
    QLabel* imgContact;
    QLabel* imgUnknown;
    QLabel* lblContact;
    QLabel* lblNumber;
    QLabel* lblQuestion;
    QPushButton* cmdClose;
    QPushButton* cmdGoOn;
};

} // namespace tlm
