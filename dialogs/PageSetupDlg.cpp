// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/PageSetupDlg.h"

#include <QFontInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <cinttypes>
#include <cmath>
#include <cstdio>

#include "base/TextFormat.h"
#include "platform/Dialogs.h"
#include "platform/Profile.h"
#include "platform/SourceEdit.h"
#include "platform/Text.h"
#include "resources/StringTable.h"

namespace plc {

namespace {

constexpr int kIdsMarginsOutOfRange = 32902;
// Shown when a margin field holds no number; the dialog stays open.
constexpr const char* kNotANumber = "Please enter a whole number.";

// The size of the settings' Font/Size in whole points, as the dialog shows it.
QString WholePoints(int32_t tenths) {
    char text[24];
    std::snprintf(text, sizeof text, "%" PRId32, tenths / 10);
    return ToQString(text);
}

QLineEdit* MarginEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setAlignment(Qt::AlignRight);
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    edit->setMaximumWidth(60);
    return edit;
}

}  // namespace

CPageSetupDlg::CPageSetupDlg(Dialogs& dialogs, const QFont* currentFont, QWidget* parent)
    : QDialog(parent), m_pCurrentFont(currentFont), m_dialogs(dialogs) {
    BuildControls();
    OnInitDialog();
}

void CPageSetupDlg::BuildControls() {
    setObjectName("pageSetup");
    setWindowTitle("Page setup");

    auto* margins = new QGroupBox("Margins", this);
    m_editTop = MarginEdit(margins, "top");
    m_editLeft = MarginEdit(margins, "left");
    auto* grid = new QGridLayout(margins);
    grid->addWidget(new QLabel("Top:", margins), 0, 0);
    grid->addWidget(m_editTop, 0, 1);
    grid->addWidget(new QLabel("mm", margins), 0, 2);
    grid->addWidget(new QLabel("Left:", margins), 1, 0);
    grid->addWidget(m_editLeft, 1, 1);
    grid->addWidget(new QLabel("mm", margins), 1, 2);

    m_buttonFont = new QPushButton("Font...", this);
    m_buttonFont->setObjectName("font");
    m_buttonFont->setAutoDefault(false);
    m_labelFace = new QLabel(this);
    m_labelFace->setObjectName("faceName");
    m_labelSize = new QLabel(this);
    m_labelSize->setObjectName("pointSize");
    m_labelSize->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* fontRow = new QHBoxLayout;
    fontRow->addWidget(m_buttonFont);
    fontRow->addWidget(m_labelFace, 1);
    fontRow->addWidget(m_labelSize);

    m_buttonOk = new QPushButton("OK", this);
    m_buttonOk->setObjectName("ok");
    m_buttonOk->setDefault(true);
    m_buttonCancel = new QPushButton("Cancel", this);
    m_buttonCancel->setObjectName("cancel");
    m_buttonCancel->setAutoDefault(false);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_buttonOk);
    buttons->addWidget(m_buttonCancel);
    buttons->addStretch();

    auto* left = new QVBoxLayout;
    left->addWidget(margins);
    left->addLayout(fontRow);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);

    connect(m_buttonFont, &QPushButton::clicked, this, &CPageSetupDlg::OnFont);
    connect(m_buttonOk, &QPushButton::clicked, this, &CPageSetupDlg::OnOK);
    connect(m_buttonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CPageSetupDlg::OnInitDialog() {
    if (m_pCurrentFont) m_logFont = *m_pCurrentFont;
    m_bFontChosen = 0;
    const Profile settings;
    const std::string face = AsUtf8(settings.GetString("Font", "FaceName", "MS Sans Serif"));
    const int32_t size = settings.GetInt("Font", "Size", 80);
    m_nTopMargin = static_cast<uint32_t>(settings.GetInt("Page", "Top", 10));
    m_nLeftMargin = static_cast<uint32_t>(settings.GetInt("Page", "Left", 10));

    // The face the text is shown and printed in; a face that is not
    // installed is named with the one standing in for it.
    const QString stored = ToQString(face);
    if (SourceEdit::FaceInstalled(stored) || !m_pCurrentFont)
        m_labelFace->setText(stored);
    else
        m_labelFace->setText(QFontInfo(*m_pCurrentFont).family() + " (" + stored + " is not installed)");
    m_labelSize->setText(WholePoints(size));
    m_editTop->setText(QString::number(m_nTopMargin));
    m_editLeft->setText(QString::number(m_nLeftMargin));
}

QString CPageSetupDlg::FaceNameText() const { return m_labelFace->text(); }
QString CPageSetupDlg::PointSizeText() const { return m_labelSize->text(); }

int32_t CPageSetupDlg::PointSizeTenths(const QFont& font) {
    if (font.pointSizeF() > 0) return static_cast<int32_t>(std::lround(font.pointSizeF() * 10));
    if (font.pixelSize() > 0)
        return static_cast<int32_t>(std::lround(font.pixelSize() * 720.0 / 96));
    return 0;
}

void CPageSetupDlg::OnFont() {
    // A second pick starts from the first: the font dialog writes its
    // result back into m_logFont.
    if (!m_dialogs.ChooseFont(this, m_logFont)) return;
    m_bFontChosen = 1;
    m_nPointSize = PointSizeTenths(m_logFont);
    m_nWeight = static_cast<int32_t>(m_logFont.weight());
    m_bItalic = m_logFont.italic() ? 1 : 0;
    m_bUnderline = m_logFont.underline() ? 1 : 0;
    m_bStrikeOut = m_logFont.strikeOut() ? 1 : 0;
    m_strFaceName = ToBytes(m_logFont.family());
    m_labelFace->setText(ToQString(m_strFaceName));
    m_labelSize->setText(WholePoints(m_nPointSize));
}

bool CPageSetupDlg::ReadUnsigned(QLineEdit* edit, uint32_t& value) {
    bool ok = false;
    const uint32_t number = edit->text().trimmed().toUInt(&ok);
    if (!ok) {
        m_dialogs.Ask(this, kNotANumber, MsgButtons::Ok, MsgIcon::Warning);
        edit->setFocus();
        edit->selectAll();
        return false;
    }
    value = number;
    return true;
}

void CPageSetupDlg::OnOK() {
    uint32_t top = 0, left = 0;
    if (!ReadUnsigned(m_editTop, top) || !ReadUnsigned(m_editLeft, left)) return;
    m_nTopMargin = top;
    m_nLeftMargin = left;
    if (m_nLeftMargin > 100 || m_nTopMargin > 100) {
        m_dialogs.Ask(this, LoadString(kIdsMarginsOutOfRange), MsgButtons::Ok, MsgIcon::Warning);
        return;
    }
    const Profile settings;
    settings.WriteInt("Page", "Top", static_cast<int32_t>(m_nTopMargin));
    settings.WriteInt("Page", "Left", static_cast<int32_t>(m_nLeftMargin));
    if (m_bFontChosen) {
        settings.WriteInt("Font", "Size", m_nPointSize);
        settings.WriteInt("Font", "Weight", m_nWeight);
        settings.WriteInt("Font", "IsItalic", m_bItalic);
        settings.WriteInt("Font", "IsUnderline", m_bUnderline);
        settings.WriteInt("Font", "IsStrikeOut", m_bStrikeOut);
        settings.WriteString("Font", "FaceName", m_strFaceName);
    }
    accept();
}

}  // namespace plc
