// SPDX-License-Identifier: GPL-3.0-or-later
// Dialog 202 "Search/Replace": the find and replace texts, the options Case
// sensitive and Whole word, and the buttons Search, Replace, Replace all and
// Cancel.
//
// The object is the editor's member and outlives every showing of the
// dialog: its fields keep the last texts, options and action from one use of
// the command to the next. The dialog's window exists only while DoModal
// runs; the controls are filled from the fields when it opens and read back
// into them by the three action buttons (Cancel leaves the fields alone).
#pragma once

#include <cstdint>
#include <string>

class QDialog;
class QWidget;

namespace plc {

class Dialogs;

class CSearchReplaceDlg {
public:
    // Control ids of template 202.
    enum ControlId : int {
        IDOK = 1,
        IDCANCEL = 2,
        ID_REPLACE = 3,
        ID_REPLACE_ALL = 4,
        IDC_FIND = 201,
        IDC_MATCH_CASE = 202,
        IDC_WHOLE_WORD = 203,
        IDC_REPLACE_WITH = 204,
    };

    // Shows the dialog modally through `dialogs`, owned by `parent`; true
    // when one of the three action buttons closed it.
    bool DoModal(Dialogs& dialogs, QWidget* parent);

    // The object name of a control of the dialog's window, by control id
    // ("find", "matchCase", "wholeWord", "replaceWith", "search", "replace",
    // "replaceAll", "cancel"); empty for other ids.
    static const char* ControlName(int id);

    int32_t m_bMatchCase = 0;
    std::string m_strFind;
    int32_t m_bWholeWord = 0;
    std::string m_strReplace;
    int32_t m_bReplaceAll = 0;
    int32_t m_bReplace = 0;
    // The length that a double-click on a result entry selects: the find
    // text's after Search, the replacement's after Replace and Replace all.
    int32_t m_nMatchLength = 0;

private:
    // Moves the texts and options between the members and the controls of
    // `window`, in the order 202, 201, 203, 204.
    void DoDataExchange(QDialog& window, bool saveAndValidate);
    // The action buttons Search, Replace and Replace all.
    struct Action {
        int id;
        const char* text;
        bool replace;
        bool replaceAll;
    };
    static constexpr Action kActions[] = {
        {IDOK, "&Search", false, false},
        {ID_REPLACE, "&Replace", true, false},
        {ID_REPLACE_ALL, "Replace &all", true, true},
    };
    // Sets the action's flags, reads the controls and closes the dialog.
    void OnAction(QDialog& window, const Action& action);
};

}  // namespace plc
