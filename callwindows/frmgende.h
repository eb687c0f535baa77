// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The end-of-call window: what is to happen with the contact and the
// journal or calendar entry that the call opened? Close them all, or leave
// them open; without an answer the window closes them after its countdown.
#include "ui/callwindow.h"

namespace tlm {

struct Run;

class frmGEnde : public CallWindow {
    Q_OBJECT

public:
    explicit frmGEnde(Run& run);

    void cmdClose_Click();
    void cmdGoOn_Click();
    void timerSecond_Timer();

    // Shows the window modally; its answer is the run's close-items flag.
    static void show(Run& run);

private:
    void Form_Load();
    int countdownSeconds() const { return m_countdown; }

    Run& m_run;
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
