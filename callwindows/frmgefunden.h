// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The contact choice window: when several contacts share the caller's
// number, the user says who is on the line. The last choice for the number
// (the favourite) is preselected, and a countdown can take the selected line
// by itself. While the window is open its session marks the per-call file
// and holds the call's choice lock; the window answers what the user chose.
#include "core/contactchoice.h"
#include "core/foundcontact.h"
#include "ui/callwindow.h"

#include <QList>

class QListWidget;

namespace tlm {

struct Run;

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

    // What the user chose so far.
    const ContactChoice& choice() const { return m_choice; }

    // Shows the window modally for the run's found contacts; its answer.
    static ContactChoice show(Run& run);

    void done(int result) override;

private:
    void Form_Load();
    void Form_Unload();
    void restartCountdown();
    const FoundContact* selectedLine() const;

    Run& m_run;
    ContactChoiceSession m_session;
    const QList<FoundContact> m_found;
    ContactChoice m_choice;
    QLabel* lblTopic;
    QLabel* lblTitel;
    QListWidget* listGefunden;
    QPushButton* cmdOK;
    QPushButton* cmdAbbruch;
    QPushButton* cmdPause;
    bool m_unloaded = false;
};

} // namespace tlm
