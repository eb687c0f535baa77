// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What every item of a call is built from: the journal entry of an answered
// call and the appointment, task, journal entry and mail of the context-menu
// entries share their user properties, subject, body lines, contact part and
// caller part. Each step writes its errors through the builder's error exit
// and the next step follows.
#include "core/bodywriter.h"
#include "core/log.h"
#include "outlook/fwd.h"

#include <functional>
#include <optional>

namespace tlm {

struct Run;

class CallItemBuilder {
public:
    CallItemBuilder(Run& run, ErrorExit exit);

    // The item built so far; nothing when it could not be created.
    const outlook::ItemPtr& builtItem() const { return m_item; }

protected:
    // How a builder's contact part differs from the journal entry's.
    struct ContactTexts {
        QString headLine;
        QString otherAddressLog = QStringLiteral("...Weitere Addresse");
        QString linkLog = QStringLiteral("...Outlook-Kontaktverknüpfung hinzugefügt");
        bool mileage = false;           // the contact's Mileage is taken too
        bool addressAsLocation = false; // the address line is also the Location
    };
    enum class NumberLine { EmptyLineWithoutCallback, NothingWithoutCallback, Always };

    // One step: its errors are logged and the next step follows.
    void step(int number, const std::function<void()>& statement);
    // Raises error 91 when the item could not be created.
    outlook::Item& item();
    outlook::BodyWriter& body();

    void create(int step, const QString& logText, int itemType);
    void addTextProperty(const QString& name, const QString& value);
    // CallNumber, PCALLID (when withCallId) and Tellmar.
    void addCallProperties(int step, const QString& logText, bool withCallId);
    // ["versuchter "] "Anruf " "von"/"bei" " ".
    void setCallSubject(int step, bool attempted);
    bool incoming();
    bool unanswered() const;
    // The editor kind with its log line, the document and, in the rich body,
    // the two tab stops.
    void openEditor(int step);
    void writeDurationLine(int step, const QString& logText);
    void writeNumberLine(int step, const QString& logText, NumberLine mode);
    // Subject, billing, categories, address, customer number, user fields,
    // link and CID from the current contact; steps firstStep to firstStep + 9.
    void takeContact(int firstStep, const ContactTexts& texts);
    // Subject and address from what the CTI client sent; steps firstStep to
    // firstStep + 3. addressLog: the log line of the address line.
    void takeCallerData(int firstStep, const QString& addressLog);
    // Shows the item (it becomes the run's current item).
    void show(int step, const QString& logText, int position);

    Run& m_run;
    Log& m_log;
    const ErrorExit m_exit;
    outlook::ItemPtr m_item;
    std::optional<outlook::BodyWriter> m_body;
    int m_editorType = 0;

private:
    void addressLine(const QString& label, const QString& address);
    QString cleaned(const QString& address);
    void writeUserField(int n);
};

// %DURATION% in seconds; empty counts as 0.
qint64 callDurationSeconds(const Run& run);

} // namespace tlm
