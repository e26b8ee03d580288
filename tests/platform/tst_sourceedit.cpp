// SPDX-License-Identifier: GPL-3.0-or-later
// The edit control: UTF-8 text, CR LF lines, character indexes, change
// notifications and the text limit.
#include <Qsci/qsciscintilla.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTest>

#include "platform/MessageList.h"
#include "platform/SourceEdit.h"

using namespace plc;

class TestSourceEdit : public QObject {
    Q_OBJECT
private slots:
    void lines_data();
    void lines();
    void keepsEveryByte();
    void enterInsertsCrLf();
    void changeNotifications();
    void undoReportsWhetherItUndid();
    void textLimitCutsInsertions();
    void viewFollowsTheText();
    void selection();
    void messageListKeepsOrder();
    void colouring_data();
    void colouring();
};

void TestSourceEdit::lines_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QList<int>>("starts");   // character index of each line
    QTest::addColumn<QList<int>>("lengths");  // length of each line without its break
    QTest::newRow("empty text has one line") << QByteArray("") << QList<int>{0} << QList<int>{0};
    QTest::newRow("one line") << QByteArray("N010 NOP") << QList<int>{0} << QList<int>{8};
    QTest::newRow("CR and LF count one each") << QByteArray("ab\r\ncde\r\nf")
                                              << QList<int>{0, 4, 9} << QList<int>{2, 3, 1};
    QTest::newRow("final break gives an empty line") << QByteArray("ab\r\n")
                                                     << QList<int>{0, 4} << QList<int>{2, 0};
    QTest::newRow("empty lines") << QByteArray("\r\n\r\nx") << QList<int>{0, 2, 4}
                                 << QList<int>{0, 0, 1};
}

void TestSourceEdit::lines() {
    QFETCH(QByteArray, text);
    QFETCH(QList<int>, starts);
    QFETCH(QList<int>, lengths);
    SourceEdit edit;
    edit.SetText(text.toStdString());
    QCOMPARE(edit.GetLineCount(), int32_t(starts.size()));
    for (int i = 0; i < starts.size(); ++i) {
        QCOMPARE(edit.LineIndex(i), starts[i]);
        QCOMPARE(edit.LineLength(i), lengths[i]);
        QCOMPARE(edit.LineFromChar(starts[i]), i);
        std::string line;
        QVERIFY(edit.GetLine(i, line));
        QCOMPARE(QByteArray::fromStdString(line), text.mid(starts[i], lengths[i]));
    }
    std::string line;
    QCOMPARE(edit.LineIndex(-1), -1);
    QCOMPARE(edit.LineIndex(int32_t(starts.size())), -1);
    QVERIFY(!edit.GetLine(int32_t(starts.size()), line));
}

void TestSourceEdit::keepsEveryByte() {
    std::string all;
    for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
    all += "\r\nend";
    SourceEdit edit;
    edit.SetText(all);
    QCOMPARE(edit.GetTextLength(), int32_t(all.size()));
    QCOMPARE(edit.GetText(), all);
}

void TestSourceEdit::enterInsertsCrLf() {
    SourceEdit edit;
    edit.SetText("abcd");
    edit.SetSel(2, 2);
    QTest::keyClick(&edit, Qt::Key_Return);
    QCOMPARE(edit.GetText(), std::string("ab\r\ncd"));
}

void TestSourceEdit::changeNotifications() {
    SourceEdit edit;
    QSignalSpy changed(&edit, &SourceEdit::changed);
    edit.SetText("N010 NOP\r\n");
    QCOMPARE(changed.count(), 0);
    QVERIFY(!edit.CanUndo());
    edit.SetSel(0, 4);
    edit.ReplaceSel("N020");
    QVERIFY(changed.count() > 0);
    QCOMPARE(edit.GetText(), std::string("N020 NOP\r\n"));
    changed.clear();
    QTest::keyClicks(&edit, "x");
    QVERIFY(changed.count() > 0);
}

void TestSourceEdit::undoReportsWhetherItUndid() {
    SourceEdit edit;
    edit.SetText("abc");
    QVERIFY(!edit.Undo());
    edit.SetSel(3, 3);
    edit.ReplaceSel("d");
    QVERIFY(edit.Undo());
    QCOMPARE(edit.GetText(), std::string("abc"));
}

void TestSourceEdit::textLimitCutsInsertions() {
    SourceEdit edit;
    QCOMPARE(edit.GetLimitText(), SourceEdit::kDefaultTextLimit);
    edit.SetLimitText(10);
    edit.SetText(std::string(20, 'a'));  // the program's own text is not limited
    QCOMPARE(edit.GetTextLength(), 20);
    edit.SetText("12345678");
    QSignalSpy maxText(&edit, &SourceEdit::maxText);
    edit.SetSel(8, 8);
    edit.ReplaceSel("abcdef");
    QCOMPARE(edit.GetText(), std::string("12345678ab"));
    QTRY_COMPARE(maxText.count(), 1);
    QTest::keyClicks(&edit, "z");  // typing at the limit inserts nothing
    QCOMPARE(edit.GetText(), std::string("12345678ab"));
    QTRY_COMPARE(maxText.count(), 2);
    // A paste is measured with its line ends as CR LF: one that does not
    // fit is refused whole and the selection stays; one that fits goes in.
    edit.SetText("12345678");
    QGuiApplication::clipboard()->setText("a\nb");
    edit.SetSel(7, 8);
    edit.Paste();
    QCOMPARE(edit.GetText(), std::string("12345678"));
    int32_t start = -1, end = -1;
    edit.GetSel(start, end);
    QCOMPARE(std::pair(start, end), std::pair(7, 8));
    QTRY_COMPARE(maxText.count(), 3);
    edit.SetSel(6, 8);
    edit.Paste();
    QCOMPARE(edit.GetText(), std::string("123456a\r\nb"));
}

// The horizontal scroll range narrows again when the long line is gone;
// an annotation wider than the view wraps, and reads back as it was set.
void TestSourceEdit::viewFollowsTheText() {
    using Sci = QsciScintillaBase;
    SourceEdit edit;
    edit.resize(300, 200);
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    auto* sci = edit.findChild<QsciScintilla*>("source");
    QVERIFY(sci);
    edit.SetText("short\r\n" + std::string(300, 'x'));
    QTRY_VERIFY(sci->SendScintilla(Sci::SCI_GETSCROLLWIDTH) > 1000);
    edit.SetSel(5, edit.GetTextLength());
    edit.ReplaceSel("");
    QTRY_VERIFY(sci->SendScintilla(Sci::SCI_GETSCROLLWIDTH) < 200);

    std::string message = "LINE(001): ERR(1)";
    for (int i = 0; i < 30; ++i) message += " word";
    edit.SetErrorMarks({{0, message}});
    QVERIFY(sci->SendScintilla(Sci::SCI_ANNOTATIONGETLINES, 0UL) > 1);
    QCOMPARE(edit.Annotation(0), message);
    edit.resize(3000, 200);
    QTRY_COMPARE(sci->SendScintilla(Sci::SCI_ANNOTATIONGETLINES, 0UL), 1L);
    QCOMPARE(edit.Annotation(0), message);
}

void TestSourceEdit::selection() {
    SourceEdit edit;
    edit.SetText("ab\r\ncd");
    edit.SetSel(1, 5);
    int32_t s = 0, e = 0;
    edit.GetSel(s, e);
    QCOMPARE(s, 1);
    QCOMPARE(e, 5);
    edit.SelectAllText();
    edit.GetSel(s, e);
    QCOMPARE(s, 0);
    QCOMPARE(e, 6);
    edit.SetSel(-3, 99);  // clamped to the text
    edit.GetSel(s, e);
    QCOMPARE(s, 0);
    QCOMPARE(e, 6);
}

void TestSourceEdit::messageListKeepsOrder() {
    MessageList list;
    list.Append("PLC, compiling runs...");
    list.Append("");
    list.Append("\xC3\xA4\xC3\xB6\xC3\xBC");  // UTF-8 text comes back unchanged
    QCOMPARE(list.Count(), 3);
    QCOMPARE(list.Text(2), std::string("\xC3\xA4\xC3\xB6\xC3\xBC"));
    QCOMPARE(list.SelectedText(), std::string());
    list.setCurrentRow(0);
    QCOMPARE(list.SelectedText(), std::string("PLC, compiling runs..."));
    list.Clear();
    QCOMPARE(list.Count(), 0);
}

// Each row: a text, a word in its last line and the style class of the word.
void TestSourceEdit::colouring_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("word");
    QTest::addColumn<int>("style");
    const auto row = [](const char* name, const char* text, const char* word, SourceStyle style) {
        QTest::newRow(name) << QByteArray(text) << QByteArray(word) << int(style);
    };
    row("programme head", "%P00", "%P00", SourceStyle::Section);
    row("text head", "%TEXT(Demo)", "Demo", SourceStyle::Section);
    row("section end", "  end  ; done", "end", SourceStyle::Section);
    row("label", "N010 NOP", "N010", SourceStyle::Label);
    row("jump target", "N010 JMP N030", "N030", SourceStyle::Label);
    row("keyword from the chain", "N010 jmp N030", "jmp", SourceStyle::Keyword);
    row("keyword after its verb", "N010 SET REFFRQ = 5", "REFFRQ", SourceStyle::Keyword);
    row("jump to the end", "N010 JMP (H1 = 0) END", "END", SourceStyle::Keyword);
    row("variable", "N010 SET H001 = F2", "F2", SourceStyle::Variable);
    row("counter", "N010 JMP (C12 = 0) N020", "C12", SourceStyle::Variable);
    row("input", "N030 JMP (M3 & IE3) N050", "IE3", SourceStyle::InOut);
    row("output", "N030 SET OS1 = 1", "OS1", SourceStyle::InOut);
    row("status flag", "N040 JMP (STA_INPOS = 1) N060", "STA_INPOS", SourceStyle::DriveName);
    row("drive value", "N040 SET H2 = ACTPOS", "ACTPOS", SourceStyle::DriveName);
    row("number", "N040 WAIT 250", "250", SourceStyle::Number);
    row("comment", "N010 NOP ; JMP N010 H1", "JMP", SourceStyle::Comment);
    row("DEF keyword", "%TEXT(Demo)\r\nDEF H1 = Count", "DEF", SourceStyle::Keyword);
    row("DEF name where declared", "%TEXT(Demo)\r\nDEF H1 = Count", "Count", SourceStyle::DefName);
    row("DEF name in use", "DEF H1 = Count\r\nEND\r\n%P00\r\nN010 JMP (count = 0) N020",
        "count", SourceStyle::DefName);
    row("undeclared name", "N010 JMP (Counter = 0) N020", "Counter", SourceStyle::Default);
}

void TestSourceEdit::colouring() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, word);
    QFETCH(int, style);
    SourceEdit edit;
    edit.SetText(text.toStdString());
    const int lastLine = int(text.lastIndexOf('\n')) + 1;
    const int at = int(text.indexOf(word, lastLine));
    QVERIFY(at >= 0);
    for (int i = at; i < at + word.size(); ++i) QCOMPARE(int(edit.StyleAt(i)), style);

    // A DEF added above recolours the name's uses below it.
    if (style == int(SourceStyle::Default)) {
        edit.SetSel(0, 0);
        edit.ReplaceSel("DEF H1 = " + word.toStdString() + "\r\n");
        QCOMPARE(int(edit.StyleAt(at + int(edit.GetTextLength()) - int(text.size()))),
                 int(SourceStyle::DefName));
    }
}

QTEST_MAIN(TestSourceEdit)
#include "tst_sourceedit.moc"
