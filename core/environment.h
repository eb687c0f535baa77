// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the program learns about its surroundings at every start: folders,
// its own version, the installed Outlook, the Dashboard client and screens.
#include "outlook/fwd.h"
#include "platform/screens.h"

#include <QString>

namespace tlm {

class Log;

struct Environment {
    QString workFolder;            // ends with "/"
    QString programFolder;         // ends with "/"
    QString programVersion;        // 1.0.0000
    QString programVersionDisplay; // 1.0 (Build 0000)
    QString indexFile;             // work folder + indexFileName(day of the start)

    int outlookMajor = 0;
    QString outlookVersion;     // a.b.c.d as read
    QString outlookVersionText; // Outlook 2016/2019/2021 (64-bit)  Build: 16.0...
    bool outlookCompatible = false;
    // The local store as attached to ask for its version; start-up step 13
    // takes it over, so that a run opens the store once.
    outlook::ApplicationPtr localStore;

    bool dashboard = false;
    QString dashboardFolder;

    screens::Rect workArea;
};

// Environment set-up before start-up step 1, ending with the program start
// line and the Dashboard detection. Errors are ignored.
void setUpEnvironment(Environment& env, Log& log);

// Outlook from the registry view's App Paths entry and the PE version of
// Outlook.exe; without such an entry the local PIM store counts as Outlook.
void detectOutlook(Environment& env);
QString outlookVersionName(int major);

// Outlook for the run: the local store attached for its version at start-up
// step 3 (taken over once), else a new attachment.
outlook::ApplicationPtr attachOutlookOnce(Environment& env);

// Screen work area and the monitor keys Monitor1X/Y, Monitor2X/Y.
void readScreens(Environment& env);

// The version and system block: three lines separated by CR.
QString fncVersionText(const Environment& env);

// " [" + now as "hh:nn'ss" + "]", appended to message box titles.
QString titleTimeStamp();

// The Dashboard client's folder from the DefaultIcon value of its file type.
QString dashboardFolderFrom(const QString& defaultIcon);

} // namespace tlm
