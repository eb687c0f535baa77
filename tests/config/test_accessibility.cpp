// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader says for the options windows: every control that the
// user can operate has a spoken name, none is its object name, and each
// section lies in a frame named after it.
#include "config/frmoptionen.h"
#include "config/frmoptionen2.h"
#include "platform/messagebox.h"
#include "tests/core/callfixture.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>

namespace tlm::test {
namespace {

QStringList unnamedControls(QWidget* window) {
    QStringList wrong;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const bool operable =
            qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) ||
            (qobject_cast<QLineEdit*>(w) && !qobject_cast<QComboBox*>(w->parent())) ||
            qobject_cast<QListWidget*>(w);
        if (!operable || w->objectName().isEmpty() || w->objectName().startsWith(u"qt_"_s))
            continue;
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        const QString name = a ? a->text(QAccessible::Name) : QString();
        if (name.trimmed().isEmpty() || name == w->objectName())
            wrong << w->objectName() + u" \""_s + name + u'"';
    }
    return wrong;
}

class Accessibility : public CallFixture {};

TEST_F(Accessibility, OptionsWindowsNameEveryControl) {
    tlm::Run run;
    ASSERT_EQ(Main(run, QString()), RunEnd::OptionsWindow);
    {
        frmOptionen window(run);
        window.Form_Load();
        EXPECT_EQ(unnamedControls(&window), QStringList());
        for (const auto& [frame, title] :
             {std::pair{u"frameRubrikKontakteordner"_s, u"Outlook Kontakte-Ordner"_s},
              {u"frameRubrikKontakt"_s, u"Kontakt"_s},
              {u"frameRubrikJournal"_s, u"Journal"_s}}) {
            auto* f = window.findChild<QFrame*>(frame);
            ASSERT_NE(f, nullptr);
            EXPECT_EQ(f->accessibleName(), title);
        }
    }
    frmOptionen2 second(run);
    second.Form_Load();
    EXPECT_EQ(unnamedControls(&second), QStringList());
}

} // namespace
} // namespace tlm::test
