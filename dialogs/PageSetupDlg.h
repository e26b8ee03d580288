// SPDX-License-Identifier: GPL-3.0-or-later
// Dialog 203, "Page setup": the two print margins in millimetres and the
// editor font, kept in the sections Page and Font of the settings file.
// The dialog reads the settings when it is built and writes them on OK only;
// Cancel writes nothing. The caller rebuilds the editor font afterwards
// (CreateEditorFont).
#pragma once

#include <QDialog>
#include <QFont>
#include <cstdint>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace plc {

class Dialogs;

class CPageSetupDlg : public QDialog {
    Q_OBJECT
public:
    // `currentFont` is the editor's current font, the font dialog's starting
    // point; it must outlive the dialog.
    CPageSetupDlg(Dialogs& dialogs, const QFont* currentFont, QWidget* parent = nullptr);

    // Tenths of a point of a font as the font dialog returns it; a font
    // sized in pixels counts at 96 pixels per inch.
    static int32_t PointSizeTenths(const QFont& font);

    // ---- controls, for the tests ----
    QLineEdit* TopEdit() const { return m_editTop; }
    QLineEdit* LeftEdit() const { return m_editLeft; }
    QPushButton* FontButton() const { return m_buttonFont; }
    QPushButton* OkButton() const { return m_buttonOk; }
    QPushButton* CancelButton() const { return m_buttonCancel; }
    QString FaceNameText() const;
    QString PointSizeText() const;

    uint32_t m_nLeftMargin = 10;
    uint32_t m_nTopMargin = 10;
    const QFont* m_pCurrentFont = nullptr;
    int32_t m_bFontChosen = 0;
    int32_t m_nPointSize = 0;
    int32_t m_nWeight = 0;
    uint8_t m_bItalic = 0, m_bUnderline = 0, m_bStrikeOut = 0;
    std::string m_strFaceName;
    QFont m_logFont;

public slots:
    void OnFont();
    void OnOK();

private:
    void BuildControls();
    void OnInitDialog();
    // Reads an edit as an unsigned integer; shows the validation message
    // and puts the focus on the edit when it holds none.
    bool ReadUnsigned(QLineEdit* edit, uint32_t& value);

    Dialogs& m_dialogs;
    QLineEdit* m_editTop = nullptr;     // 203
    QLineEdit* m_editLeft = nullptr;    // 204
    QPushButton* m_buttonFont = nullptr;  // 205
    QLabel* m_labelFace = nullptr;      // 207
    QLabel* m_labelSize = nullptr;      // 208
    QPushButton* m_buttonOk = nullptr;
    QPushButton* m_buttonCancel = nullptr;
};

}  // namespace plc
