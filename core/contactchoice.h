// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The contact choice of a call with several contacts for its number: what
// the choice window's user chose, what the choice leaves in the per-call
// file and the favourites while the window is open, and how the run takes
// the answer when it closes.
#include "outlook/fwd.h"

#include <QString>
#include <memory>

namespace tlm {

struct Run;
struct FoundContact;
namespace processlock {
class Holder;
}

// The answer of the contact choice window.
struct ContactChoice {
    enum class Kind {
        None,      // closed, or confirmed without a line: the run stays as it is
        Cancelled, // no contact chosen, none counts as found
        Chosen,    // a line was taken
    };
    Kind kind = Kind::None;
    QString entryId = {};          // of the line taken
    outlook::ItemPtr contact = {}; // the contact of that line, null when it does not open
    int field = 0;                 // the phone field it was found by
    bool recorded = false;         // the per-call file took the contact
};

// The run takes the answer: a chosen line's EntryID, and its contact (when
// it opens) as the current one, found once; a cancel leaves none found.
void takeContactChoice(Run& run, const ContactChoice& choice);

// What the choice window does to the call's state while it is open. From
// construction to end() the per-call file carries the window's mark and the
// process holds the call's choice lock, so that later events of the call
// wait for the window (and a mark left by a process that died is told apart).
class ContactChoiceSession {
public:
    explicit ContactChoiceSession(Run& run);
    ~ContactChoiceSession();
    ContactChoiceSession(const ContactChoiceSession&) = delete;
    ContactChoiceSession& operator=(const ContactChoiceSession&) = delete;

    // Clears the mark and releases the lock; later calls do nothing.
    void end();

    // The EntryID last chosen for the call number; empty when none.
    QString favourite() const;

    // A line taken: its contact goes into the per-call file and, when the
    // choice is made during a call (not from a menu entry), becomes the
    // number's favourite. The answer is filled as the steps succeed, so
    // that an error part way leaves what was done.
    void choose(const FoundContact& line, ContactChoice& answer);
    // Confirmed without a line: the per-call file's contact is cleared.
    void chooseNone();
    // Cancelled: nothing is written.
    ContactChoice cancel();

private:
    QString favouritesFile() const;

    Run& m_run;
    std::unique_ptr<processlock::Holder> m_lock;
    bool m_ended = false;
};

} // namespace tlm
