// SPDX-License-Identifier: GPL-3.0-or-later
// Search/Replace in the editor window: the dialog and its remembered
// settings, the entries of a search over the whole text and the hits it
// selects and marks, Find next and previous, Replace with its question,
// Replace all with its confirmation, and Undo of replacements.
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "dialogs/SearchReplaceDlg.h"
#include "editor/EditorCommands.h"
#include "editor/EditorTestSupport.h"
#include "platform/MessageList.h"
#include "platform/SourceEdit.h"

using namespace plc;
using namespace plc::test;

namespace {

using Ids = CSearchReplaceDlg::ControlId;

// What the user types and ticks in the dialog, and the button pressed.
struct DialogInput {
    std::string find;
    std::string replace;
    bool matchCase = false;
    bool wholeWord = false;
    int button = Ids::IDOK;
};

template <typename T>
T* ControlOf(QDialog& dialog, int id) {
    T* control = dialog.findChild<T*>(CSearchReplaceDlg::ControlName(id));
    if (!control) qFatal("control %d missing", id);
    return control;
}

// Queues the dialog: it is filled in and closed by `input.button`.
void ExpectDialog(ScriptedDialogs& dialogs, const DialogInput& input) {
    const int result = input.button == Ids::IDCANCEL ? QDialog::Rejected : QDialog::Accepted;
    dialogs.ExpectModal(result, [input](QDialog& dialog) {
        ControlOf<QLineEdit>(dialog, Ids::IDC_FIND)->setText(QString::fromUtf8(input.find));
        ControlOf<QLineEdit>(dialog, Ids::IDC_REPLACE_WITH)
            ->setText(QString::fromUtf8(input.replace));
        ControlOf<QCheckBox>(dialog, Ids::IDC_MATCH_CASE)->setChecked(input.matchCase);
        ControlOf<QCheckBox>(dialog, Ids::IDC_WHOLE_WORD)->setChecked(input.wholeWord);
        ControlOf<QPushButton>(dialog, input.button)->click();
    });
}

// Runs the command through its menu entry.
void RunCommand(CPlcEditorDlg& editor) { QVERIFY(editor.OnCommand(ID_SEARCH_REPLACE)); }

QStringList Entries(CPlcEditorDlg& editor) {
    QStringList list;
    for (const std::string& e : editor.Messages()->Texts()) list << QString::fromLatin1(e);
    return list;
}

QStringList Split(const char* entries) {
    return QString::fromLatin1(entries).split('|');
}

QString Selected(CPlcEditorDlg& editor) {
    int32_t s = 0, e = 0;
    editor.Edit()->GetSel(s, e);
    return QString::fromLatin1(editor.Edit()->GetText().substr(size_t(s), size_t(e - s)));
}

const char* kProgram =
    "%P00\r\n"
    "N010 NOP\r\n"
    "N020 SET H001 = H001\r\n"
    "N030 JMP N010 ; Name_of_H01 xabc\r\n"
    "\r\n"
    "NOP\r\n"
    "END";

}  // namespace

class TestSearch : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QuietOffscreenNotes(); }
    void searchLists_data();
    void searchLists();
    void replaceAll_data();
    void replaceAll();
    void findNextAndPrevious_data();
    void findNextAndPrevious();
    void replaceAllIsOneUndoStep();
    void replaceAllAnsweredNo();
    void replaceWithQuestion_data();
    void replaceWithQuestion();
    void dialogRemembersAndTakesSelection_data();
    void dialogRemembersAndTakesSelection();
    void cancelKeepsEverything();
    void matchLength_data();
    void matchLength();
    void replaceStopsAtTextLimit_data();
    void replaceStopsAtTextLimit();
};

// ---------------------------------------------------------------- Search

void TestSearch::searchLists_data() {
    QTest::addColumn<QString>("find");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<bool>("wholeWord");
    QTest::addColumn<QString>("entries");
    QTest::addColumn<int>("selectedLine");  // 1-based line of the selected hit; 0: none
    QTest::addColumn<int>("selectedColumn");
    auto row = [](const char* name, const char* find, bool matchCase, bool wholeWord,
                  const char* entries, int line, int column) {
        QTest::newRow(name) << find << matchCase << wholeWord << entries << line << column;
    };
    row("label, whole word", "N010", false, true,
        "  LINE(002,000): N010|  LINE(004,009): N010||2 Conformity found/replaced.", 2, 0);
    row("shown as typed", "nop", false, false,
        "  LINE(002,005): nop|  LINE(006,000): nop||2 Conformity found/replaced.", 2, 5);
    row("embedded", "abc", false, false, "  LINE(004,029): abc||1 Conformity found/replaced.", 4, 29);
    row("two on a line", "H001", false, false,
        "  LINE(003,009): H001|  LINE(003,016): H001||2 Conformity found/replaced.", 3, 9);
    row("from the caret on, wrapping", "P00", false, false,
        "  LINE(001,001): P00||1 Conformity found/replaced.", 1, 1);
    row("empty find text", "", false, false, "|0 Conformity found/replaced.", 0, 0);
    row("longer than every line", "N030 JMP N010 ; Name_of_H01 xabc!", false, false,
        "|0 Conformity found/replaced.", 0, 0);
}

void TestSearch::searchLists() {
    QFETCH(QString, find);
    QFETCH(bool, matchCase);
    QFETCH(bool, wholeWord);
    QFETCH(QString, entries);
    QFETCH(int, selectedLine);
    QFETCH(int, selectedColumn);
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;
    SourceEdit& edit = *editor.Edit();
    edit.SetText(kProgram);
    editor.Messages()->Append("old entry");
    edit.SetSel(3, 3);
    ExpectDialog(open.dialogs, {find.toStdString(), "", matchCase, wholeWord, Ids::IDOK});
    RunCommand(editor);
    QCOMPARE(Entries(editor), entries.split('|'));
    // A search leaves the text alone; it selects the first hit from the
    // caret on and marks every hit.
    QCOMPARE(edit.GetText(), std::string(kProgram));
    QVERIFY(!editor.Document().IsModified());
    int32_t s = -1, e = -1;
    edit.GetSel(s, e);
    const int32_t at = selectedLine == 0 ? 3 : edit.LineIndex(selectedLine - 1) + selectedColumn;
    QCOMPARE(s, at);
    QCOMPARE(e, selectedLine == 0 ? 3 : at + int32_t(find.size()));
    QCOMPARE(int(edit.SearchMarks().size()), int(entries.count("LINE(")));
    QCOMPARE(open.dialogs.Log().at(0).text, std::string("Search/Replace"));
    open.VerifyDialogs();
}

// ---------------------------------------------------------------- Replace all

void TestSearch::replaceAll_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("find");
    QTest::addColumn<QByteArray>("replace");
    QTest::addColumn<bool>("wholeWord");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QByteArray>("entries");
    auto row = [](const char* name, const char* text, const char* find, const char* replace,
                  bool wholeWord, const char* after, const char* entries) {
        QTest::newRow(name) << QByteArray(text) << QByteArray(find) << QByteArray(replace)
                            << wholeWord << QByteArray(after) << QByteArray(entries);
    };
    row("columns count earlier growth", "SET H001 = H001", "H001", "H0001", false,
        "SET H0001 = H0001",
        "  LINE(001,004) F5: Replace 'H001' with 'H0001'.|"
        "  LINE(001,012) F5: Replace 'H001' with 'H0001'.||2 Conformity found/replaced.");
    row("labels F2 F3 F4 and inside", "N010 NOP\r\nNOP x\r\nx NOP y\r\nNOP\r\nN010 NOPE", "NOP",
        "STOP", true, "N010 STOP\r\nSTOP x\r\nx STOP y\r\nSTOP\r\nN010 NOPE",
        "  LINE(001,005) F2: Replace 'NOP' with 'STOP'.|"
        "  LINE(002,000) F3: Replace 'NOP' with 'STOP'.|"
        "  LINE(003,002): Replace 'NOP' with 'STOP'.|"
        "  LINE(004,000) F4: Replace 'NOP' with 'STOP'.||4 Conformity found/replaced.");
    row("inserted text not searched again", "ab ab", "ab", "abab", false, "abab abab",
        "  LINE(001,000) F5: Replace 'ab' with 'abab'.|"
        "  LINE(001,005) F5: Replace 'ab' with 'abab'.||2 Conformity found/replaced.");
    row("case folded, placeholders kept", "a%2 A%2", "A%2", "%1", false, "%1 %1",
        "  LINE(001,000) F5: Replace 'A%2' with '%1'.|"
        "  LINE(001,003) F5: Replace 'A%2' with '%1'.||2 Conformity found/replaced.");
    row("UTF-8 characters kept, columns in bytes", "\xC3\xA4x \xC3\x84X", "x", "\xC3\xBF", false,
        "\xC3\xA4\xC3\xBF \xC3\x84\xC3\xBF",
        "  LINE(001,002) F5: Replace 'x' with '\xC3\xBF'.|"
        "  LINE(001,007) F5: Replace 'x' with '\xC3\xBF'.||2 Conformity found/replaced.");
    row("to nothing", "N010 NOP ; x\r\nNOP", "NOP", "", true, "N010  ; x\r\n",
        "  LINE(001,005): Replace 'NOP' with ''.|"
        "  LINE(002,000) F4: Replace 'NOP' with ''.||2 Conformity found/replaced.");
}

void TestSearch::replaceAll() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, find);
    QFETCH(QByteArray, replace);
    QFETCH(bool, wholeWord);
    QFETCH(QByteArray, after);
    QFETCH(QByteArray, entries);
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;
    editor.Edit()->SetText(text.toStdString());
    ExpectDialog(open.dialogs,
                 {find.toStdString(), replace.toStdString(), false, wholeWord, Ids::ID_REPLACE_ALL});
    open.dialogs.ExpectAsk(MsgAnswer::Yes, "Really replace in the whole document ?");
    RunCommand(editor);
    QCOMPARE(QByteArray::fromStdString(editor.Edit()->GetText()), after);
    QCOMPARE(Entries(editor), QString::fromLatin1(entries).split('|'));
    const auto& confirmation = open.dialogs.Log().at(1);
    QCOMPARE(confirmation.buttons, MsgButtons::YesNo);
    QCOMPARE(confirmation.icon, MsgIcon::Question);
    QCOMPARE(confirmation.caption, std::string("Search/Replace"));
    QCOMPARE(editor.Document().IsModified(), text != after);
    open.VerifyDialogs();
}

// Find next and previous go from hit to hit of the last search, wrapping
// around the text; before any search Find next opens the dialog.
void TestSearch::findNextAndPrevious_data() {
    QTest::addColumn<int>("caretLine");    // 1-based line of the caret before the search
    QTest::addColumn<QString>("commands");  // N: Find next, P: Find previous, T: type a blank
    QTest::addColumn<int>("hitLine");      // 1-based line of the hit selected at the end
    QTest::newRow("the search takes the hit at the caret") << 2 << "" << 2;
    QTest::newRow("Find next goes on") << 1 << "N" << 2;
    QTest::newRow("Find next wraps to the first") << 3 << "N" << 1;
    QTest::newRow("Find previous wraps to the last") << 1 << "P" << 3;
    QTest::newRow("Find previous goes back") << 3 << "PP" << 1;
    QTest::newRow("after typing, Find next searches the new text") << 1 << "TN" << 2;
}

void TestSearch::findNextAndPrevious() {
    QFETCH(int, caretLine);
    QFETCH(QString, commands);
    QFETCH(int, hitLine);
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;
    SourceEdit& edit = *editor.Edit();
    edit.SetText("N010 SET H1 = 0\r\nN020 JMP (H1 = 0) N010\r\nN030 SET H1 + 1");
    // Before any search, Find next asks what to find.
    ExpectDialog(open.dialogs, {"H1", "", false, true, Ids::IDOK});
    edit.SetSel(edit.LineIndex(caretLine - 1), edit.LineIndex(caretLine - 1));
    QVERIFY(editor.OnCommand(ID_FIND_NEXT));
    QCOMPARE(edit.SearchMarks().size(), size_t(3));
    for (QChar c : commands) {
        if (c == 'T') {
            int32_t s = 0, e = 0;
            edit.GetSel(s, e);
            edit.SetSel(0, 0);
            edit.ReplaceSel(" ");
            // The marks go with the text they were made on.
            QVERIFY(edit.SearchMarks().empty());
            edit.SetSel(s + 1, e + 1);
            continue;
        }
        QVERIFY(editor.OnCommand(c == 'N' ? ID_FIND_NEXT : ID_FIND_PREVIOUS));
    }
    QCOMPARE(Selected(editor), QString("H1"));
    int32_t s = 0, e = 0;
    edit.GetSel(s, e);
    QCOMPARE(edit.LineFromChar(s) + 1, hitLine);
    QCOMPARE(edit.SearchMarks().size(), size_t(3));
    QCOMPARE(open.dialogs.Beeps(), 0);
    open.VerifyDialogs();
}

void TestSearch::replaceAllIsOneUndoStep() {
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;
    const std::string before = "SET H001 = H001\r\nH001";
    const std::string after = "SET H0001 = H0001\r\nH0001";
    editor.Edit()->SetText(before);
    ExpectDialog(open.dialogs, {"H001", "H0001", false, false, Ids::ID_REPLACE_ALL});
    open.dialogs.ExpectAsk(MsgAnswer::Yes);
    RunCommand(editor);
    QCOMPARE(editor.Edit()->GetText(), after);
    // The caret stays behind the last replacement.
    int32_t s = -1, e = -1;
    editor.Edit()->GetSel(s, e);
    QCOMPARE(s, editor.Edit()->GetTextLength());
    QCOMPARE(e, s);
    editor.Commands().OnEditUndo();
    QCOMPARE(editor.Edit()->GetText(), before);
    QVERIFY(!editor.Edit()->CanUndo());
    editor.Commands().OnEditRedo();
    QCOMPARE(editor.Edit()->GetText(), after);
    open.VerifyDialogs();
}

void TestSearch::replaceAllAnsweredNo() {
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;
    editor.Edit()->SetText("SET H001 = H001");
    editor.Messages()->Append("  LINE(001): ERR(02) - earlier");
    ExpectDialog(open.dialogs, {"H001", "H0001", false, false, Ids::ID_REPLACE_ALL});
    open.dialogs.ExpectAsk(MsgAnswer::No);
    RunCommand(editor);
    QCOMPARE(editor.Edit()->GetText(), std::string("SET H001 = H001"));
    QCOMPARE(Entries(editor), QStringList{"  LINE(001): ERR(02) - earlier"});
    QVERIFY(!editor.Edit()->CanUndo());
    open.VerifyDialogs();
}

// ---------------------------------------------------------------- Replace

void TestSearch::replaceWithQuestion_data() {
    QTest::addColumn<QString>("answers");  // Y, N, C per question
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("entries");
    QTest::addColumn<QString>("selected");
    const char* q = "Replace 'H001' with 'H0001'.";
    QTest::newRow("all Yes") << "YYY" << "SET H0001 = H0001\r\nH0001"
                             << QString("  LINE(001,004) F5: %1|  LINE(001,012) F5: %1|"
                                        "  LINE(002,000) F5: %1||3 Conformity found/replaced.")
                                    .arg(q)
                             << "";
    QTest::newRow("all No") << "NNN" << "SET H001 = H001\r\nH001"
                            << "|0 Conformity found/replaced." << "H001";
    QTest::newRow("No then Yes keeps columns")
        << "NYN" << "SET H001 = H0001\r\nH001"
        << QString("  LINE(001,011) F5: %1||1 Conformity found/replaced.").arg(q) << "H001";
    QTest::newRow("Cancel first") << "C" << "SET H001 = H001\r\nH001" << "" << "H001";
    QTest::newRow("Yes then Cancel")
        << "YC" << "SET H0001 = H001\r\nH001" << QString("  LINE(001,004) F5: %1").arg(q)
        << "H001";
}

void TestSearch::replaceWithQuestion() {
    QFETCH(QString, answers);
    QFETCH(QString, after);
    QFETCH(QString, entries);
    QFETCH(QString, selected);
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;
    editor.Edit()->SetText("SET H001 = H001\r\nH001");
    editor.Messages()->Append("earlier");
    ExpectDialog(open.dialogs, {"H001", "H0001", false, false, Ids::ID_REPLACE});
    for (QChar a : answers) {
        const MsgAnswer answer =
            a == 'Y' ? MsgAnswer::Yes : a == 'N' ? MsgAnswer::No : MsgAnswer::Cancel;
        open.dialogs.ExpectAsk(answer, "Replace 'H001' with 'H0001'.");
    }
    RunCommand(editor);
    QCOMPARE(QString::fromLatin1(editor.Edit()->GetText()), after);
    // Cancel leaves the list as far as it got, without closing lines.
    QCOMPARE(Entries(editor), entries.isEmpty() ? QStringList{} : entries.split('|'));
    QCOMPARE(Selected(editor), selected);
    for (size_t i = 1; i < open.dialogs.Log().size(); ++i) {
        const auto& question = open.dialogs.Log()[i];
        QCOMPARE(question.buttons, MsgButtons::YesNoCancel);
        QCOMPARE(question.icon, MsgIcon::Question);
        QCOMPARE(question.caption, std::string("Search/Replace"));
    }
    open.VerifyDialogs();
}

// ---------------------------------------------------------------- the dialog

void TestSearch::dialogRemembersAndTakesSelection_data() {
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selEnd");
    QTest::addColumn<QString>("offered");
    // kProgram: "%P00\r\n" is 6 characters, "N010 NOP" follows.
    QTest::newRow("no selection") << 6 << 6 << "H001";
    QTest::newRow("within one line") << 11 << 14 << "NOP";
    QTest::newRow("across a line break") << 11 << 20 << "H001";
}

void TestSearch::dialogRemembersAndTakesSelection() {
    QFETCH(int, selStart);
    QFETCH(int, selEnd);
    QFETCH(QString, offered);
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;
    editor.Edit()->SetText(kProgram);
    ExpectDialog(open.dialogs, {"H001", "H0001", true, true, Ids::IDOK});
    RunCommand(editor);

    editor.Edit()->SetSel(selStart, selEnd);
    QString find, replace;
    bool matchCase = false, wholeWord = false;
    open.dialogs.ExpectModal(QDialog::Rejected, [&](QDialog& dialog) {
        find = ControlOf<QLineEdit>(dialog, Ids::IDC_FIND)->text();
        replace = ControlOf<QLineEdit>(dialog, Ids::IDC_REPLACE_WITH)->text();
        matchCase = ControlOf<QCheckBox>(dialog, Ids::IDC_MATCH_CASE)->isChecked();
        wholeWord = ControlOf<QCheckBox>(dialog, Ids::IDC_WHOLE_WORD)->isChecked();
    });
    RunCommand(editor);
    QCOMPARE(find, offered);
    QCOMPARE(replace, QString("H0001"));
    QVERIFY(matchCase);
    QVERIFY(wholeWord);
    open.VerifyDialogs();
}

void TestSearch::cancelKeepsEverything() {
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;
    editor.Edit()->SetText(kProgram);
    ExpectDialog(open.dialogs, {"NOP", "STOP", false, true, Ids::IDOK});
    RunCommand(editor);
    const QStringList before = Entries(editor);
    // Typed into the dialog, then cancelled: nothing of it is kept.
    ExpectDialog(open.dialogs, {"END", "X", true, false, Ids::IDCANCEL});
    RunCommand(editor);
    QCOMPARE(Entries(editor), before);
    QCOMPARE(editor.Edit()->GetText(), std::string(kProgram));
    const CSearchReplaceDlg& dialog = editor.Search().SearchDialog();
    QCOMPARE(dialog.m_strFind, std::string("NOP"));
    QCOMPARE(dialog.m_strReplace, std::string("STOP"));
    QCOMPARE(dialog.m_bMatchCase, 0);
    QCOMPARE(dialog.m_bWholeWord, 1);
    QCOMPARE(dialog.m_bReplace, 0);
    QCOMPARE(editor.Search().MatchLength(), 3);
    open.VerifyDialogs();
}

void TestSearch::matchLength_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("replaceFlag");
    QTest::addColumn<int>("replaceAllFlag");
    QTest::newRow("Search: the find text") << int(Ids::IDOK) << 4 << 0 << 0;
    QTest::newRow("Replace: the replacement") << int(Ids::ID_REPLACE) << 7 << 1 << 0;
    QTest::newRow("Replace all: the replacement") << int(Ids::ID_REPLACE_ALL) << 7 << 1 << 1;
}

void TestSearch::matchLength() {
    QFETCH(int, button);
    QFETCH(int, length);
    QFETCH(int, replaceFlag);
    QFETCH(int, replaceAllFlag);
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;
    editor.Edit()->SetText("no match here");
    editor.Search().SetMatchLength(99);
    ExpectDialog(open.dialogs, {"H001", "H000001", false, false, button});
    if (button == Ids::ID_REPLACE_ALL) open.dialogs.ExpectAsk(MsgAnswer::Yes);
    RunCommand(editor);
    QCOMPARE(editor.Search().MatchLength(), length);
    QCOMPARE(editor.Search().SearchDialog().m_bReplace, replaceFlag);
    QCOMPARE(editor.Search().SearchDialog().m_bReplaceAll, replaceAllFlag);
    QCOMPARE(Entries(editor), Split("|0 Conformity found/replaced."));
    open.VerifyDialogs();
}

// ---------------------------------------------------------------- text limit

// Room for two more characters: Replace all, which needs four, is refused
// whole; Replace stops before the third replacement, which would be cut off.
// No occurrence is deleted or half replaced.
void TestSearch::replaceStopsAtTextLimit_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("entries");
    QTest::newRow("Replace all") << int(Ids::ID_REPLACE_ALL) << "H1 H1\r\nH1 H1" << "earlier";
    QTest::newRow("Replace") << int(Ids::ID_REPLACE) << "H01 H01\r\nH1 H1"
                             << "  LINE(001,000) F5: Replace 'H1' with 'H01'.|"
                                "  LINE(001,004) F5: Replace 'H1' with 'H01'.||2 Conformity found/replaced.";
}

void TestSearch::replaceStopsAtTextLimit() {
    QFETCH(int, button);
    QFETCH(QString, after);
    QFETCH(QString, entries);
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;
    const std::string text = "H1 H1\r\nH1 H1";
    editor.Edit()->SetText(text);
    editor.Messages()->Append("earlier");
    editor.Edit()->SetLimitText(int32_t(text.size()) + 2);
    ExpectDialog(open.dialogs, {"H1", "H01", false, false, button});
    // The confirmation of Replace all, the two questions of Replace.
    open.dialogs.ExpectAsk(MsgAnswer::Yes);
    if (button == Ids::ID_REPLACE) open.dialogs.ExpectAsk(MsgAnswer::Yes);
    open.dialogs.ExpectAsk(MsgAnswer::Ok, "Max. size of document is reached.");
    RunCommand(editor);
    QCOMPARE(QString::fromStdString(editor.Edit()->GetText()), after);
    QCOMPARE(Entries(editor), entries.split('|'));
    QTest::qWait(20);  // a limit notice of the edit control would come through the event loop
    open.VerifyDialogs();
}

QTEST_MAIN(TestSearch)
#include "tst_search.moc"
