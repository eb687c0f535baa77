// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Items (contacts, journal entries, appointments, tasks, mails), their user
// properties and links, and their windows (inspectors).
#include "outlook/fwd.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariant>

namespace tlm::outlook {

struct Recipient;

class Item {
public:
    virtual ~Item() = default;

    virtual int Class() = 0; // ObjectClass: 42 journal entry, 40 contact, ...
    // Empty until the item is saved for the first time.
    virtual QString EntryID() = 0;
    virtual QString MessageClass() = 0;

    // Any property by its Outlook name (any case): Subject, Body, HTMLBody,
    // FirstName, FullName, BusinessAddress, Start, Duration, To, ... Raises
    // 438 for a name the item's kind does not have; an assigned value is
    // converted to the property's type (raises when it does not convert).
    virtual QVariant get(const QString& name) = 0;
    virtual void set(const QString& name, const QVariant& value) = 0;

    // Texts built with operator+ go here.
    void set(const QString& name, const QString& value) { set(name, QVariant(value)); }

    QString text(const QString& name) { return get(name).toString(); }
    QDateTime date(const QString& name) { return get(name).toDateTime(); }
    int number(const QString& name) { return get(name).toInt(); }
    bool flag(const QString& name) { return get(name).toBool(); }
    QString Subject() { return text(QStringLiteral("Subject")); }
    void setSubject(const QString& s) { set(QStringLiteral("Subject"), s); }
    QString Body() { return text(QStringLiteral("Body")); }
    void setBody(const QString& s) { set(QStringLiteral("Body"), s); }

    virtual std::shared_ptr<outlook::UserProperties> UserProperties() = 0;
    virtual std::shared_ptr<outlook::Links> Links() = 0;
    // Mails: the recipients of To (separated by ";").
    virtual QList<Recipient> Recipients() = 0;

    virtual void Save() = 0;
    virtual void Display(bool modal = false) = 0;
    // InspectorClose: 0 save, 1 discard, 2 ask (when changed).
    virtual void Close(int saveMode) = 0;
    // Moves the item to "Gelöschte Elemente" (deletes it for good there).
    virtual void Delete() = 0;
    virtual InspectorPtr GetInspector() = 0;
    virtual FolderPtr Parent() = 0;

    // Journal entries: the timer runs from Starttimer to StopTimer, which
    // adds the whole minutes to Duration. Its state is saved with the item.
    virtual void Starttimer() = 0;
    virtual void StopTimer() = 0;
};

// Text user properties ("CallNumber", "PCALLID", ...), kept in order.
class UserProperties {
public:
    virtual ~UserProperties() = default;
    // type 1 is text (the only type); an existing name is kept.
    virtual void Add(const QString& name, int type = 1) = 0;
    // False when the item has no such property.
    virtual bool Contains(const QString& name) = 0;
    // Raises when the property was not added.
    virtual QString Value(const QString& name) = 0;
    virtual void setValue(const QString& name, const QString& value) = 0;
    virtual int Count() = 0;
    virtual QString Name(int index) = 0; // 1-based
    virtual void Remove(const QString& name) = 0;
};

// Links of an item to contacts.
class Links {
public:
    virtual ~Links() = default;
    // The contact must have been saved.
    virtual void Add(const ItemPtr& contact) = 0;
    virtual int Count() = 0;
    virtual QString EntryID(int index) = 0; // 1-based
    virtual ItemPtr Item(int index) = 0;
};

// The window of an item. Its state is recorded in the store per item.
class Inspector {
public:
    virtual ~Inspector() = default;
    virtual int EditorType() = 0; // 1 plain text ... 4 Word
    // The rich-text document of the item's body.
    virtual DocumentPtr WordEditor() = 0;
    virtual ItemPtr CurrentItem() = 0;
    virtual void Display(bool modal = false) = 0;
    virtual void Activate() = 0;
    virtual void Close(int saveMode) = 0;
    virtual int WindowState() = 0;
    virtual void setWindowState(int state) = 0;
    virtual int Left() = 0;
    virtual void setLeft(int v) = 0;
    virtual int Top() = 0;
    virtual void setTop(int v) = 0;
    virtual int Width() = 0;
    virtual void setWidth(int v) = 0;
    virtual int Height() = 0;
    virtual void setHeight(int v) = 0;
};

} // namespace tlm::outlook
