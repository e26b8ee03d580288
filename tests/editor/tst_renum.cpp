// SPDX-License-Identifier: GPL-3.0-or-later
// Renum in the window (the replacements, their entries, Undo) and the way
// from a message-list entry to its place in the text.
#include <QTest>

#include "editor/EditorCommands.h"
#include "editor/EditorRenum.h"
#include "editor/EditorTestSupport.h"
#include "platform/MessageList.h"
#include "platform/SourceEdit.h"

using namespace plc;
using namespace plc::test;

namespace {

const std::string kProgramme =
    "; Demo programme\r\n"
    "%TEXT(Demo)\r\n"
    "DEF H1 = Count\r\n"
    "END\r\n"
    "%P00\r\n"
    "N001 JMP (H1 = 0) N007   ; skip when zero\r\n"
    "n002 call n007\r\n"
    "  ; a comment line\r\n"
    "N003 JMP (M3 & IE3) END;to the end\r\n"
    "N007 RET\r\n"
    "END\r\n";

const std::string kRenumbered =
    "; Demo programme\r\n"
    "%TEXT(Demo)\r\n"
    "DEF H1 = Count\r\n"
    "END\r\n"
    "%P00\r\n"
    "N010 JMP (H001 = 0) N040\t\t; skip when zero\r\n"
    "N020 CALL N040\r\n"
    "  ; a comment line\r\n"
    "N030 JMP (M003 & IE03) END\t\t;to the end\r\n"
    "N040 RET\r\n"
    "END\r\n";

// Fourteen lines "line 01" to "line 14", the last without a line break.
std::string FourteenLines() {
    std::string text;
    for (int i = 1; i <= 14; ++i) {
        char line[16];
        std::snprintf(line, sizeof line, "line %02d", i);
        text += line;
        if (i < 14) text += "\r\n";
    }
    return text;
}

}  // namespace

class TestRenum : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QuietOffscreenNotes(); }
    void renumRewritesStatementLines();
    void renumOfFaultyTextChangesNothing();
    void replaceEditLine_data();
    void replaceEditLine();
    void lineReference_data();
    void lineReference();
    void doubleClickSelects_data();
    void doubleClickSelects();
    void doubleClickWithTheMouse();
};

// ---------------------------------------------------------------- Renum

void TestRenum::renumRewritesStatementLines() {
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;
    editor.Edit()->SetText(kProgramme);
    QVERIFY(!editor.Document().IsModified());
    QVERIFY(editor.OnCommand(ID_RENUM));
    open.VerifyDialogs();
    QCOMPARE(editor.Edit()->GetText(), kRenumbered);
    QVERIFY(editor.Document().IsModified());
    QCOMPARE(editor.Messages()->Texts(),
             (std::vector<std::string>{"PLC, Text coding...", "",
                                       "Textcoding - 0 Error (s), 0 Warning(s)."}));

    // The renumbered text compiles, to the renumbered labels.
    QVERIFY(editor.CodeView().CompileProgram());
    QVERIFY(editor.CodeView().Program().Record(40).used());
    // One Undo gives back the whole text as it was before Renum.
    editor.OnCommand(ID_EDIT_UNDO);
    QCOMPARE(editor.Edit()->GetText(), kProgramme);
    QCOMPARE(open.dialogs.Beeps(), 0);

    // A second Renum of the renumbered text changes nothing but the spacing
    // it already has.
    editor.Edit()->SetText(kRenumbered);
    QVERIFY(editor.OnCommand(ID_RENUM));
    QCOMPARE(editor.Edit()->GetText(), kRenumbered);
}

void TestRenum::renumOfFaultyTextChangesNothing() {
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;
    const std::string faulty = "%P00\r\nN001 NOP\r\nN002 BOGUS\r\nEND\r\n";
    editor.Edit()->SetText(faulty);
    open.dialogs.ExpectAsk(MsgAnswer::Ok, "Syntax check ends with error.");
    QVERIFY(editor.OnCommand(ID_RENUM));
    open.VerifyDialogs();
    QCOMPARE(editor.Edit()->GetText(), faulty);
    QVERIFY(!editor.Document().IsModified());
    const std::vector<std::string> entries = editor.Messages()->Texts();
    QVERIFY(std::any_of(entries.begin(), entries.end(), [](const std::string& e) {
        return e.rfind("  LINE(003): ERR(", 0) == 0;
    }));
}

// ---------------------------------------------------------------- ReplaceEditLine

void TestRenum::replaceEditLine_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QString>("expected");
    const QString three = "N001 NOP  ; one\r\nN002 NOP\r\nN003 NOP";
    QTest::newRow("comment kept behind two tabs")
        << three << 0 << "N010 NOP" << true << "N010 NOP\t\t; one\r\nN002 NOP\r\nN003 NOP";
    QTest::newRow("no comment: two tabs")
        << three << 1 << "N020 NOP" << true << "N001 NOP  ; one\r\nN020 NOP\r\nN003 NOP";
    QTest::newRow("last line without comment gets a line break")
        << three << 2 << "N030 NOP" << true << "N001 NOP  ; one\r\nN002 NOP\r\nN030 NOP\r\n";
    QTest::newRow("last line with comment")
        << "N001 NOP;x" << 0 << "N010 NOP" << true << "N010 NOP\t\t;x\r\n";
    QTest::newRow("empty last line after a line break")
        << "N001 NOP\r\n" << 1 << "N010 NOP" << true << "N001 NOP\r\nN010 NOP\r\n";
    QTest::newRow("negative index") << three << -1 << "N010 NOP" << false << three;
    QTest::newRow("beyond the text") << three << 3 << "N010 NOP" << false << three;
}

void TestRenum::replaceEditLine() {
    QFETCH(QString, text);
    QFETCH(int, line);
    QFETCH(QString, replacement);
    QFETCH(bool, result);
    QFETCH(QString, expected);
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;
    editor.Edit()->SetText(text.toStdString());
    QCOMPARE(editor.Renum().ReplaceEditLine(replacement.toStdString(), line), result);
    QCOMPARE(editor.Edit()->GetText(), expected.toStdString());
    QCOMPARE(editor.Document().IsModified(), result);
    if (result) {
        editor.OnCommand(ID_EDIT_UNDO);
        QCOMPARE(editor.Edit()->GetText(), text.toStdString());
    }
}

// ---------------------------------------------------------------- navigation

void TestRenum::lineReference_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");
    using K = LineReference::Kind;
    QTest::newRow("compiler entry") << "  LINE(012): ERR(04) - Error" << int(K::Line) << 12 << 0;
    QTest::newRow("listing head entry") << "  LINE(003): ERR() - ; No" << int(K::Line) << 3 << 0;
    QTest::newRow("search entry") << "  LINE(003,005): N010" << int(K::LineAndColumn) << 3 << 5;
    QTest::newRow("summary") << "Textcoding - 0 Error (s), 0 Warning(s)." << int(K::Line) << 0
                             << 0;
    QTest::newRow("no parenthesis") << "PLC, Text coding..." << int(K::None) << 0 << 0;
    QTest::newRow("parenthesis first") << "(12)" << int(K::None) << 0 << 0;
    QTest::newRow("nothing between") << "LINE()" << int(K::None) << 0 << 0;
    QTest::newRow("closing before opening") << "x)LINE(4)" << int(K::None) << 0 << 0;
    QTest::newRow("comma first in the parentheses") << "LINE(,5)" << int(K::Line) << 0 << 0;
    QTest::newRow("comma last") << "LINE(3,)" << int(K::None) << 0 << 0;
    QTest::newRow("too large") << "LINE(99999999999)" << int(K::Line) << 2147483647 << 0;
}

void TestRenum::lineReference() {
    QFETCH(QString, entry);
    QFETCH(int, kind);
    QFETCH(int, line);
    QFETCH(int, column);
    const LineReference ref = ParseLineReference(entry.toStdString());
    QCOMPARE(int(ref.kind), kind);
    if (ref.kind == LineReference::Kind::None) return;
    QCOMPARE(ref.line, line);
    QCOMPARE(ref.column, column);
}

void TestRenum::doubleClickSelects_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("matchLength");
    QTest::addColumn<QString>("selected");  // null: the selection stays

    // Line 12 with the first character of its line break.
    QTest::newRow("compiler entry, line 12")
        << "  LINE(012): ERR(04) - Error at lable adressing (Nxxx)." << 0 << "line 12\r";
    QTest::newRow("search entry, line 3 column 5") << "  LINE(003,005): " << 2 << "03";
    QTest::newRow("search entry, no length") << "  LINE(003,005): " << 0 << "";
    QTest::newRow("last line runs to the end") << "  LINE(014): ERR(33) -" << 0 << "line 14";
    QTest::newRow("first line") << "  LINE(001): ERR(02) -" << 0 << "line 01\r";
    QTest::newRow("line 0") << "  LINE(000): ERR(02) -" << 0 << QString();
    QTest::newRow("beyond the last line") << "  LINE(015): ERR(02) -" << 0 << QString();
    QTest::newRow("search beyond the last line") << "  LINE(015,001): " << 3 << QString();
    QTest::newRow("huge line number") << "  LINE(99999999999): " << 0 << QString();
    QTest::newRow("empty entry") << "" << 0 << QString();
    QTest::newRow("text coding summary") << "Textcoding - 0 Error (s), 0 Warning(s)." << 0
                                         << QString();
    QTest::newRow("text coding head") << "PLC, Text coding..." << 0 << QString();
}

void TestRenum::doubleClickSelects() {
    QFETCH(QString, entry);
    QFETCH(int, matchLength);
    QFETCH(QString, selected);
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;
    const std::string text = FourteenLines();
    editor.Edit()->SetText(text);
    editor.Search().SetMatchLength(matchLength);
    editor.Edit()->SetSel(1, 2);
    editor.Messages()->Append("first");
    editor.Messages()->Append(entry.toStdString());
    editor.Messages()->setCurrentRow(1);
    editor.Renum().OnDblclkMessages();
    int32_t s = 0, e = 0;
    editor.Edit()->GetSel(s, e);
    if (selected.isNull()) {
        QCOMPARE(s, 1);
        QCOMPARE(e, 2);
    } else {
        QCOMPARE(text.substr(size_t(s), size_t(e - s)), selected.toStdString());
        if (selected == "03" || selected.isEmpty()) QCOMPARE(s, editor.Edit()->LineIndex(2) + 5);
    }
    QVERIFY(!editor.Document().IsModified());
}

void TestRenum::doubleClickWithTheMouse() {
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;
    editor.Edit()->SetText(FourteenLines());
    editor.Messages()->Append("  LINE(004): ERR(02) -");
    MessageList& list = *editor.Messages();
    const QRect rect = list.visualItemRect(list.item(0));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, rect.center());
    int32_t s = 0, e = 0;
    editor.Edit()->GetSel(s, e);
    QCOMPARE(s, editor.Edit()->LineIndex(3));
    QCOMPARE(e, editor.Edit()->LineIndex(4) - 1);
}

QTEST_MAIN(TestRenum)
#include "tst_renum.moc"
