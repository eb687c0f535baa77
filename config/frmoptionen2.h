// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The second options window ("sonstige Einstellungen"): the user fields
// copied into item texts, the item defaults (mail recipient, font, tab
// stops, address separator, callback scheme, map provider), the journal
// property of new contacts, the four design colours, debug logging, how
// long per-call data stays, the position correction of the index window, and
// whether callers from extensions are found through a company's main number.
// It reads its settings when it loads and writes all of them when it closes.
#include "config/optionfields.h"

#include <QDialog>
#include <span>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace tlm {

struct Run;
class ColourBox;

class frmOptionen2 : public QDialog {
    Q_OBJECT

public:
    explicit frmOptionen2(Run& run);

    void Form_Load();
    void Form_Unload();
    void cmdMailAddressee_Click();
    void cmdDefault_Click();
    void txtAdressSeparator_Change();
    void cbxMailFontSize_LostFocus();
    void txtMailTab_LostFocus(int which);
    void chkFeldAusgeben_Click(int i);
    void chkFeldLink_Click(int i);

    // Shows the window modally; when nobody can answer it, it loads and
    // closes at once.
    static void show(Run& run);

    void done(int result) override;

private:
    void buildUserFields();
    void buildItemDefaults();
    void buildSystem();
    void buildColours();
    void applyPreview();
    // The controls that show a setting, in the order they are saved.
    enum class FieldKind;
    using Field = OptionField<FieldKind>;
    static std::span<const Field> fields();
    void loadField(const Field& field);
    void saveField(const Field& field);
    ColourBox* colourOf(const char* box) const;

    Run& m_run;
    bool m_unloaded = false;
    QLabel* lblTopic1;
    QLabel* lblKopfzeile;
    QLabel* lblFuss;
    QLabel* imgJournal;
    QLabel* imgKalender;
    QLabel* lblAdressVorschau;
    QCheckBox* chkFeldAusgeben[4];
    QLineEdit* txtUserfeld[4];
    QCheckBox* chkFeldLink[4];
    QLineEdit* txtMail;
    QComboBox* cbxMailFont;
    QComboBox* cbxMailFontSize;
    QLineEdit* txtMailTab1;
    QLineEdit* txtMailTab2;
    QLineEdit* txtAdressSeparator;
    QComboBox* cbxURLHandler;
    QComboBox* cbxMaps;
    QCheckBox* chkKontaktJournal;
    QCheckBox* chkDebug;
    QCheckBox* chkDurchwahlenZentrale;
    QLineEdit* txtLogDays;
    QLineEdit* txtWindowOffsetX;
    QLineEdit* txtWindowOffsetY;
    ColourBox* colours[4]; // design, design font, background, font
    QList<QLabel*> m_blockLabels;
};

} // namespace tlm
