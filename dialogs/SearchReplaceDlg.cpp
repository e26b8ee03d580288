// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/SearchReplaceDlg.h"

#include <QCheckBox>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/Dialogs.h"
#include "platform/Text.h"

namespace plc {

namespace {

template <typename T>
T* Control(QDialog& window, int id) {
    return window.findChild<T*>(CSearchReplaceDlg::ControlName(id));
}

QPushButton* AddButton(QDialog& window, QVBoxLayout* column, int id, const char* text) {
    auto* button = new QPushButton(text, &window);
    button->setObjectName(CSearchReplaceDlg::ControlName(id));
    column->addWidget(button);
    return button;
}

}  // namespace

const char* CSearchReplaceDlg::ControlName(int id) {
    switch (id) {
    case IDOK: return "search";
    case IDCANCEL: return "cancel";
    case ID_REPLACE: return "replace";
    case ID_REPLACE_ALL: return "replaceAll";
    case IDC_FIND: return "find";
    case IDC_MATCH_CASE: return "matchCase";
    case IDC_WHOLE_WORD: return "wholeWord";
    case IDC_REPLACE_WITH: return "replaceWith";
    default: return "";
    }
}

bool CSearchReplaceDlg::DoModal(Dialogs& dialogs, QWidget* parent) {
    QDialog window(parent);
    window.setObjectName("searchReplace");
    window.setWindowTitle("Search/Replace");

    auto* findLabel = new QLabel("&Find what:", &window);
    auto* find = new QLineEdit(&window);
    find->setObjectName(ControlName(IDC_FIND));
    findLabel->setBuddy(find);
    auto* replaceLabel = new QLabel("Replace &with:", &window);
    auto* replaceWith = new QLineEdit(&window);
    replaceWith->setObjectName(ControlName(IDC_REPLACE_WITH));
    replaceLabel->setBuddy(replaceWith);

    auto* options = new QGroupBox("Options", &window);
    auto* matchCase = new QCheckBox("Case se&nsitive", options);
    matchCase->setObjectName(ControlName(IDC_MATCH_CASE));
    auto* wholeWord = new QCheckBox("Whole w&ord", options);
    wholeWord->setObjectName(ControlName(IDC_WHOLE_WORD));
    auto* optionsLayout = new QVBoxLayout(options);
    optionsLayout->addWidget(matchCase);
    optionsLayout->addWidget(wholeWord);

    auto* fields = new QGridLayout;
    fields->addWidget(findLabel, 0, 0);
    fields->addWidget(find, 0, 1);
    fields->addWidget(replaceLabel, 1, 0);
    fields->addWidget(replaceWith, 1, 1);
    fields->addWidget(options, 2, 0, 1, 2);

    // The three action buttons close the dialog with their action; Cancel
    // leaves the members alone. Every control has its mnemonic (Alt and the
    // underlined letter of its caption).
    auto* buttons = new QVBoxLayout;
    for (const Action& action : kActions) {
        QPushButton* button = AddButton(window, buttons, action.id, action.text);
        button->setDefault(action.id == IDOK);
        QObject::connect(button, &QPushButton::clicked, &window,
                         [this, &window, &action] { OnAction(window, action); });
    }
    QPushButton* cancel = AddButton(window, buttons, IDCANCEL, "&Cancel");
    QObject::connect(cancel, &QPushButton::clicked, &window, &QDialog::reject);
    buttons->addStretch();

    auto* layout = new QHBoxLayout(&window);
    layout->addLayout(fields, 1);
    layout->addLayout(buttons);
    // 291 dialog units across.
    window.setMinimumWidth(437);

    DoDataExchange(window, false);
    find->setFocus();
    find->selectAll();
    return dialogs.Exec(window) == QDialog::Accepted;
}

void CSearchReplaceDlg::DoDataExchange(QDialog& window, bool saveAndValidate) {
    auto* matchCase = Control<QCheckBox>(window, IDC_MATCH_CASE);
    auto* find = Control<QLineEdit>(window, IDC_FIND);
    auto* wholeWord = Control<QCheckBox>(window, IDC_WHOLE_WORD);
    auto* replaceWith = Control<QLineEdit>(window, IDC_REPLACE_WITH);
    if (saveAndValidate) {
        m_bMatchCase = matchCase->isChecked() ? 1 : 0;
        m_strFind = ToBytes(find->text());
        m_bWholeWord = wholeWord->isChecked() ? 1 : 0;
        m_strReplace = ToBytes(replaceWith->text());
    } else {
        matchCase->setChecked(m_bMatchCase != 0);
        find->setText(ToQString(m_strFind));
        wholeWord->setChecked(m_bWholeWord != 0);
        replaceWith->setText(ToQString(m_strReplace));
    }
}

void CSearchReplaceDlg::OnAction(QDialog& window, const Action& action) {
    m_bReplace = action.replace ? 1 : 0;
    m_bReplaceAll = action.replaceAll ? 1 : 0;
    DoDataExchange(window, true);
    // A double-click on a result selects what now stands there.
    m_nMatchLength = static_cast<int32_t>(action.replace ? m_strReplace.size() : m_strFind.size());
    window.accept();
}

}  // namespace plc
