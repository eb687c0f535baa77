// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The contact choice window: when several contacts share the caller's
// number, the user says who is on the line. The last choice for the number
// (the favourite) is preselected, and a countdown can take the selected line
// by itself. While the window is open the per-call file says so, and its
// process holds the call's choice lock, so that later events of the call
// wait for it (and a mark left by a process that died is recognised).
#include "ui/callwindow.h"

#include <memory>

class QListWidget;

namespace tlm {

struct Run;
namespace processlock {
class Holder;
}

class frmGefunden : public CallWindow {
    Q_OBJECT

public:
    explicit frmGefunden(Run& run);
    ~frmGefunden() override;

    void cmdOK_Click();
    void cmdAbbruch_Click();
    void cmdPause_Click();
    void listGefunden_Click();
    void timerMain_Timer();
    void timerSecond_Timer();

    // Shows the window modally for the run's found-contact list.
    static void show(Run& run);

    void done(int result) override;

private:
    void Form_Load();
    void Form_Unload();
    void restartCountdown();
    QString favouritesFile() const;
    QString selectedLine() const;

    Run& m_run;
    std::unique_ptr<processlock::Holder> m_lock;
    QLabel* lblTopic;
    QLabel* lblTitel;
    QListWidget* listGefunden;
    QPushButton* cmdOK;
    QPushButton* cmdAbbruch;
    QPushButton* cmdPause;
    bool m_unloaded = false;
};

} // namespace tlm
