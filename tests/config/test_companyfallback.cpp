// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// The opt-in setting CompanyFallback in the second options window and in
// the settings backup: written and exported only once it is used.
#include "config/frmoptionen2.h"
#include "config/settingsbackup.h"
#include "core/run.h"
#include "platform/settingsstore.h"
#include "tests/support/testenv.h"

#include <QAccessible>
#include <QCheckBox>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace tlm::test {
namespace {

class CompanyFallbackSetting : public ::testing::Test {
protected:
    TestEnv env;
    tlm::Run run;

    QCheckBox* open(std::unique_ptr<frmOptionen2>& window) {
        window = std::make_unique<frmOptionen2>(run);
        window->Form_Load();
        return window->findChild<QCheckBox*>(u"chkDurchwahlenZentrale"_s);
    }
    static bool stored() { return settingsstore::contains(u"CompanyFallback"_s); }
};

TEST_F(CompanyFallbackSetting, TheCheckBoxStoresTheKeyOnlyOnceTicked) {
    std::unique_ptr<frmOptionen2> window;
    QCheckBox* box = open(window);
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(box->isChecked());
    window->accept();
    EXPECT_FALSE(stored());

    box = open(window);
    box->click();
    window->accept();
    EXPECT_EQ(settingsstore::get(u"CompanyFallback"_s), u"1"_s);

    box = open(window);
    EXPECT_TRUE(box->isChecked());
    box->click();
    window->accept();
    EXPECT_EQ(settingsstore::get(u"CompanyFallback"_s), u"0"_s); // stored: kept as 0
}

TEST_F(CompanyFallbackSetting, TheCheckBoxIsNamedByItsTextAndLiesInFreeSpace) {
    std::unique_ptr<frmOptionen2> window;
    QCheckBox* box = open(window);
    window->QDialog::show();
    const QString text = u"Durchwahlen über die Zentrale der Firma zuordnen"_s;
    EXPECT_EQ(box->text(), text);
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(box);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->text(QAccessible::Name), text);
    EXPECT_LE(box->sizeHint().width(), box->width()) << "the text shows whole";
    EXPECT_TRUE(window->rect().contains(box->geometry()));
    for (const QWidget* other : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (other != box && other->isVisible()) {
            EXPECT_FALSE(other->geometry().intersects(box->geometry()))
                << other->objectName().toStdString();
        }
    }
}

TEST_F(CompanyFallbackSetting, TheExportCarriesTheKeyOnlyWhenStoredAndTheRestoreTakesItBack) {
    const QString path = env.root() + u"sicherung.ini"_s;
    backup::writeExport(path);
    const QByteArray without = readBytes(path);
    EXPECT_FALSE(without.contains("CompanyFallback"));

    settingsstore::save(u"CompanyFallback"_s, u"0"_s);
    backup::writeExport(path);
    EXPECT_EQ(readBytes(path), without + "\"CompanyFallback\",\"0\"\r\n");

    settingsstore::save(u"CompanyFallback"_s, u"1"_s);
    backup::writeExport(path);
    EXPECT_EQ(readBytes(path), without + "\"CompanyFallback\",\"1\"\r\n");
    settingsstore::save(u"CompanyFallback"_s, u"0"_s);
    backup::restore(path);
    EXPECT_EQ(settingsstore::get(u"CompanyFallback"_s), u"1"_s);
}

} // namespace
} // namespace tlm::test
