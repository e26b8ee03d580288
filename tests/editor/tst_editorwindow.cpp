// SPDX-License-Identifier: GPL-3.0-or-later
// The editor window: menu, toolbar, layout, online state, edit commands,
// Help and Info, line access, Check syntax and the timer, warnings, the
// flow graph panel, Restore names and the dry-run panel.
#include <Qsci/qsciscintilla.h>

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextBrowser>
#include <QTest>
#include <QToolButton>
#include <QUrl>
#include <QWheelEvent>
#include <cstdlib>
#include <map>

#include "compiler/CompileDriver.h"
#include "dialogs/PlcToolBar.h"
#include "editor/EditorCommands.h"
#include "editor/EditorTestSupport.h"
#include "editor/DeviceCompare.h"
#include "editor/DryRunPanel.h"
#include "editor/FlowPanel.h"
#include "editor/HelpWindow.h"
#include "editor/WindowGeometry.h"
#include "image/ErrorCodes.h"
#include "platform/MessageList.h"
#include "platform/SourceEdit.h"
#include "platform/StatusBar.h"
#include "platform/Text.h"
#include "resources/StringTable.h"

using namespace plc;
using namespace plc::test;

class TestEditorWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QuietOffscreenNotes(); }
    void menuEntries_data();
    void menuEntries();
    void toolbarButtons_data();
    void toolbarButtons();
    void toolbarGroupsAndClicks();
    void shortcutsReachTheirCommands();
    void layoutRule_data();
    void layoutRule();
    void statusPartsFollowTheWidth();
    void rememberedGeometry();
    void onlineAndOffline();
    void undoBeepsWhenNothingToUndo();
    void enterKeepsTheWindowOpen();
    void getEditLine_data();
    void getEditLine();
    void getSelectedText_data();
    void getSelectedText();
    void checkSyntaxOnEmptyText_data();
    void checkSyntaxOnEmptyText();
    void checkSyntaxEntries();
    void titleAndCaretLineFollowTheTimer();
    void helpOpensTheEditorPage();
    void compareRecordByRecord();
    void infoShowsNameAndVersion();
    void windowTextsAreCleanUtf8();
    void textLimitShowsMessage();
    void fontFromSettings_data();
    void fontFromSettings();
    void errorMarkersFollowCheckAndTyping();
    void nextAndPreviousErrorKeys();
    void checksKeepTheViewAtTheCaret();
    void zoomKeysZoomWithoutTyping_data();
    void zoomKeysZoomWithoutTyping();
    void findUsesAndGoToDefinition();
    void warningsAndFlowGraphFollowTheText();
    void restoreNames_data();
    void restoreNames();
    void dryRunIsTheHostsChoiceAndStopsAtTheCaret();
    void completionInsertsCanonicalText_data();
    void completionInsertsCanonicalText();
    void completionOpensWhileTyping_data();
    void completionOpensWhileTyping();
    void completionWhileTypingNeverHoldsUpTyping();
    void completionOpensAtACaretOutOfView();
};

// ---------------------------------------------------------------- menu 202

void TestEditorWindow::menuEntries_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("grayed");
    QTest::newRow("New") << 32768 << "&File" << "&New" << false;
    QTest::newRow("Open") << 32769 << "&File" << "&Open..." << false;
    QTest::newRow("Save") << 32770 << "&File" << "&Save" << false;
    QTest::newRow("Save as") << 32788 << "&File" << "Save &as..." << false;
    QTest::newRow("Page setup") << 32785 << "&File" << "Page set&up..." << false;
    QTest::newRow("Print") << 32776 << "&File" << "&Print..." << false;
    QTest::newRow("Recent file") << 32791 << "&Recent file" << "?" << true;
    QTest::newRow("Save with encoding") << 35328 << "&File" << "Save &with encoding..." << false;
    QTest::newRow("Exit") << 32786 << "&File" << "&Exit" << false;
    QTest::newRow("Undo") << 32774 << "&Edit" << "&Undo" << false;
    QTest::newRow("Redo") << 33280 << "&Edit" << "&Redo" << false;
    QTest::newRow("Cut") << 32771 << "&Edit" << "C&ut" << false;
    QTest::newRow("Copy") << 32772 << "&Edit" << "&Copy" << false;
    QTest::newRow("Paste") << 32773 << "&Edit" << "&Paste" << false;
    QTest::newRow("Select all") << 32787 << "&Edit" << "Select a&ll" << false;
    QTest::newRow("Search/Replace") << 32775 << "&Edit" << "&Search/Replace..." << false;
    QTest::newRow("Complete") << 33056 << "&Edit" << "Co&mplete" << false;
    QTest::newRow("Navigate back") << 33057 << "&View" << "Navigate &back" << false;
    QTest::newRow("Navigate forward") << 33058 << "&View" << "Navigate &forward" << false;
    QTest::newRow("Complete while typing") << 33059 << "&View" << "Complete while &typing" << false;
    QTest::newRow("Check syntax") << 32778 << "&PLC Program" << "&Check syntax" << false;
    QTest::newRow("Renum") << 32779 << "&PLC Program" << "R&enum" << false;
    QTest::newRow("Simulate") << 32780 << "&PLC Program" << "Si&mulate..." << true;
    QTest::newRow("Save in file") << 32782 << "&PLC Program" << "Save &in file (device setting)" << false;
    QTest::newRow("Read from file") << 32781 << "&PLC Program" << "Read &from file (device setting)" << false;
    QTest::newRow("Save in device") << 32784 << "&PLC Program" << "&Save in device" << true;
    QTest::newRow("Read from device") << 32783 << "&PLC Program" << "&Read from device" << true;
    QTest::newRow("Compare with device") << 33281 << "&PLC Program" << "&Compare with device" << true;
    QTest::newRow("Restore names") << 34818 << "&PLC Program" << "Restore &names..." << false;
    QTest::newRow("Warnings") << 34816 << "&View" << "&Warnings" << false;
    QTest::newRow("Flow graph") << 34817 << "&View" << "&Flow graph" << false;
    QTest::newRow("Extras") << 65535 << "" << "&Extras" << true;
    QTest::newRow("Help") << 32777 << "?" << "&Help..." << false;
    QTest::newRow("Info") << 32789 << "?" << "&Info..." << false;
}

void TestEditorWindow::menuEntries() {
    QFETCH(int, id);
    QFETCH(QString, menu);
    QFETCH(QString, text);
    QFETCH(bool, grayed);
    OpenEditor open;
    QAction* action = open.editor.Action(id);
    QVERIFY(action);
    QCOMPARE(action->text(), text);
    QCOMPARE(action->isEnabled(), !grayed);
    QString owner;
    for (QObject* object : action->associatedObjects()) {
        if (auto* m = qobject_cast<QMenu*>(object)) {
            owner = m->title();
            break;
        }
    }
    QCOMPARE(owner, menu);
    open.VerifyDialogs();
}

// ---------------------------------------------------------------- toolbar

void TestEditorWindow::toolbarButtons_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("tooltip");
    QTest::addColumn<bool>("enabled");
    const char* tips[] = {"New", "Open", "Save", "Cut", "Copy", "Paste", "Undo", "Search/Replace",
                          "Print", "Help", "Check syntax", "Renum", "Simulate",
                          "Read PLC programme from file (device setting)",
                          "Save PLC programme in file (device setting)",
                          "Read PLC programme from device", "Save PLC programme in device"};
    for (int i = 0; i < 17; ++i) {
        const int id = 32768 + i;
        const bool enabled = id != 32780 && id != 32783 && id != 32784;
        QTest::newRow(tips[i]) << id << QString(tips[i]) << enabled;
    }
}

void TestEditorWindow::toolbarButtons() {
    QFETCH(int, id);
    QFETCH(QString, tooltip);
    QFETCH(bool, enabled);
    OpenEditor open;
    CPlcToolBar* bar = open.editor.Frame().ToolBar();
    QCOMPARE(QString::fromStdString(CPlcToolBar::OnNeedText(id)), tooltip);
    QAction* action = bar->ButtonAction(id);
    QVERIFY(action);
    QCOMPARE(action->toolTip(), tooltip);
    QCOMPARE(bar->IsButtonEnabled(id), enabled);
    const QPixmap image = CPlcToolBar::ButtonImage(id - 32768);
    QCOMPARE(image.size(), QSize(16, 15));
    QVERIFY(!image.isNull());
}

void TestEditorWindow::toolbarGroupsAndClicks() {
    OpenEditor open;
    QString layout;
    for (QAction* action : open.editor.Frame().ToolBar()->actions())
        layout += action->isSeparator() ? QString("| ") : QString::number(action->data().toInt() - 32768) + " ";
    QCOMPARE(layout.trimmed(), QString("0 1 2 | 3 4 5 | 6 7 | 8 | 9 | 10 11 12 | 13 14 | 15 16"));
    // At the window's first size every button is on the bar.
    CPlcToolBar* bar = open.editor.Frame().ToolBar();
    for (int id = 32768; id <= 32784; ++id) {
        QWidget* button = bar->widgetForAction(bar->ButtonAction(id));
        QVERIFY(button);
        QVERIFY2(button->isVisible() && button->geometry().right() < bar->width(),
                 qPrintable(QString::number(id)));
    }
    QCOMPARE(CPlcToolBar::OnNeedText(32767), std::string());
    QCOMPARE(CPlcToolBar::OnNeedText(32785), std::string());

    // A click on Check syntax runs the menu's handler: an empty text offers
    // the programme body.
    open.dialogs.ExpectAsk(MsgAnswer::No, "No programme available.");
    auto* button = qobject_cast<QToolButton*>(
        open.editor.Frame().ToolBar()->widgetForAction(open.editor.Frame().ToolBar()->ButtonAction(ID_CHECK_SYNTAX)));
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
    open.VerifyDialogs();
}

// ---------------------------------------------------------------- shortcuts

void TestEditorWindow::shortcutsReachTheirCommands() {
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;
    editor.SetOnline();
    QWidget* window = editor.Window();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    editor.Edit()->SetText("N010 NOP\r\n");
    editor.Edit()->setFocus();
    for (const EditorCommand& command : EditorCommands()) {
        const QList<QKeySequence> keys = CommandShortcuts(command);
        // Every command the user can reach has a key; the recent file list
        // and the grayed Simulate have none.
        QCOMPARE(keys.isEmpty(), command.id == ID_FILE_RECENT || command.id == ID_SIMULATE);
        QAction* action = editor.Action(command.id);
        QVERIFY(action);
        // Count the triggers instead of running the handlers (no dialogs).
        QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
        QSignalSpy spy(action, &QAction::triggered);
        for (const QKeySequence& key : keys) QTest::keySequence(editor.Edit(), key);
        QVERIFY2(spy.count() == keys.size(),
                 qPrintable(action->text() + " " + QString::number(spy.count())));
        // The edit control did not act on the key itself.
        QCOMPARE(editor.Edit()->GetText(), std::string("N010 NOP\r\n"));
    }
    open.VerifyDialogs();
}

// ---------------------------------------------------------------- layout

void TestEditorWindow::layoutRule_data() {
    QTest::addColumn<int>("cy");
    QTest::addColumn<int>("topOffset");
    QTest::addColumn<int>("gap");
    QTest::addColumn<int>("bottomMargin");
    QTest::addColumn<int>("editHeight");
    QTest::addColumn<int>("listHeight");
    // avail = cy - bottom - top - gap; edit 70 % truncated, list the rest plus the gap.
    QTest::newRow("avail 301") << 400 << 28 << 3 << 68 << 210 << 94;
    QTest::newRow("avail 100") << 199 << 28 << 3 << 68 << 70 << 33;
    QTest::newRow("avail 1") << 100 << 28 << 3 << 68 << 0 << 4;
}

void TestEditorWindow::layoutRule() {
    QFETCH(int, cy);
    QFETCH(int, topOffset);
    QFETCH(int, gap);
    QFETCH(int, bottomMargin);
    QFETCH(int, editHeight);
    QFETCH(int, listHeight);
    const EditorLayout layout = ComputeEditorLayout(500, cy, topOffset, gap, bottomMargin);
    QCOMPARE(layout.editTop, topOffset);
    QCOMPARE(layout.editHeight, editHeight);
    QCOMPARE(layout.listTop, topOffset + editHeight + gap);
    QCOMPARE(layout.listHeight, listHeight);
}

void TestEditorWindow::statusPartsFollowTheWidth() {
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;
    QVERIFY(editor.Frame().IsInitialised());
    // Text above the message list in the splitter, 70 % of the height at first.
    QSplitter* split = editor.Frame().Splitter();
    QCOMPARE(split->widget(0), static_cast<QWidget*>(editor.Edit()));
    QCOMPARE(split->widget(1), static_cast<QWidget*>(editor.Messages()));
    const QList<int> sizes = split->sizes();
    QVERIFY2(std::abs(sizes[0] * 10 - (sizes[0] + sizes[1]) * 7) <= 20,
             qPrintable(QString("%1 %2").arg(sizes[0]).arg(sizes[1])));

    editor.Frame().Status()->resize(200, editor.Frame().Status()->height());
    QCOMPARE(editor.Frame().StatusParts(), (std::array<int32_t, 5>{0, 0, 50, 125, 200}));
    QCOMPARE(editor.Frame().Status()->Parts(), (std::vector<int>{0, 0, 50, 125, 200}));
    editor.Window()->resize(640, 480);
    QTRY_COMPARE(editor.Frame().Status()->Parts().back(), editor.Frame().Status()->width());

    // Made small and large again, the split keeps its shares, not its pixels.
    const auto listShare = [split] { return double(split->sizes()[1]) / (split->sizes()[0] + split->sizes()[1]); };
    const double before = listShare();
    editor.Window()->resize(420, 300);
    QTRY_COMPARE(editor.Window()->size(), QSize(420, 300));
    editor.Window()->resize(900, 800);
    QTRY_COMPARE(editor.Window()->size(), QSize(900, 800));
    QVERIFY2(std::abs(listShare() - before) < 0.02, qPrintable(QString::number(listShare())));
    QVERIFY(editor.Edit()->mapTo(editor.Window(), QPoint()).y() > editor.Frame().ToolBar()->geometry().bottom());
}

void TestEditorWindow::rememberedGeometry() {
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;
    // The first size is about 900 x 700 and never larger than the screen.
    const QSize screen = editor.Window()->screen()->availableGeometry().size();
    QCOMPARE(editor.Window()->size(), QSize(900, 700).boundedTo(screen));

    editor.Window()->resize(520, 410);
    QApplication::processEvents();
    editor.Frame().Splitter()->setSizes({120, 200});
    const QList<int> split = editor.Frame().Splitter()->sizes();
    editor.Frame().DestroyWindow();
    QVERIFY(editor.Create(nullptr));
    QCOMPARE(editor.Window()->size(), QSize(520, 410));
    QCOMPARE(editor.Frame().Splitter()->sizes(), split);
}

// ---------------------------------------------------------------- online state

void TestEditorWindow::onlineAndOffline() {
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;
    auto state = [&](int id) {
        return editor.Action(id)->isEnabled() && editor.Frame().ToolBar()->IsButtonEnabled(id);
    };
    editor.SetOnline();
    QVERIFY(state(ID_SAVE_IN_DEVICE));
    QVERIFY(state(ID_READ_FROM_DEVICE));
    QVERIFY(!editor.Action(ID_SIMULATE)->isEnabled());
    QVERIFY(!editor.OnCommand(ID_SIMULATE));  // a grayed command is not reached
    editor.SetOffline();
    QVERIFY(!editor.Action(ID_SAVE_IN_DEVICE)->isEnabled());
    QVERIFY(!editor.Frame().ToolBar()->IsButtonEnabled(ID_READ_FROM_DEVICE));
}

// ---------------------------------------------------------------- edit commands

void TestEditorWindow::undoBeepsWhenNothingToUndo() {
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;
    QVERIFY(editor.OnCommand(ID_EDIT_UNDO));
    QCOMPARE(open.dialogs.Beeps(), 1);
    QTest::keyClicks(editor.Edit(), "N010");
    QVERIFY(editor.Document().IsModified());
    editor.Commands().OnEditUndo();
    QCOMPARE(open.dialogs.Beeps(), 1);
    QCOMPARE(editor.Edit()->GetText(), std::string());
    editor.Commands().OnEditSelectAll();
    open.VerifyDialogs();
}

void TestEditorWindow::enterKeepsTheWindowOpen() {
    OpenEditor open;
    QTest::keyClicks(open.editor.Edit(), "N010");
    QTest::keyClick(open.editor.Edit(), Qt::Key_Return);
    QTest::keyClick(open.editor.Window(), Qt::Key_Return);
    QVERIFY(open.editor.IsWindow());
    QCOMPARE(open.editor.Edit()->GetText(), std::string("N010\r\n"));
}

// ---------------------------------------------------------------- line access

void TestEditorWindow::getEditLine_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("negative") << -1 << false << QByteArray();
    QTest::newRow("first") << 0 << true << QByteArray("N010 NOP\t\t; x");
    QTest::newRow("empty line") << 1 << true << QByteArray();
    QTest::newRow("last") << 2 << true << QByteArray("END");
    QTest::newRow("line count") << 3 << false << QByteArray();
}

void TestEditorWindow::getEditLine() {
    QFETCH(int, index);
    QFETCH(bool, result);
    QFETCH(QByteArray, text);
    OpenEditor open;
    open.editor.Edit()->SetText("N010 NOP\t\t; x\r\n\r\nEND");
    std::string line = "garbage";
    QCOMPARE(open.editor.Document().GetEditLine(index, line), result);
    QCOMPARE(QByteArray::fromStdString(line), text);
}

void TestEditorWindow::getSelectedText_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<QByteArray>("text");
    // "N010 NOP\r\nEND\r\n": line 1 starts at 10.
    QTest::newRow("word") << 5 << 8 << QByteArray("NOP");
    QTest::newRow("whole first line") << 0 << 8 << QByteArray("N010 NOP");
    QTest::newRow("in the second line") << 11 << 13 << QByteArray("ND");
    QTest::newRow("nothing selected") << 4 << 4 << QByteArray();
    QTest::newRow("with the CR") << 5 << 9 << QByteArray();
    QTest::newRow("across the line break") << 5 << 12 << QByteArray();
    QTest::newRow("up to the next line's start") << 0 << 10 << QByteArray();
}

void TestEditorWindow::getSelectedText() {
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(QByteArray, text);
    OpenEditor open;
    open.editor.Edit()->SetText("N010 NOP\r\nEND\r\n");
    open.editor.Edit()->SetSel(start, end);
    std::string selected = "garbage";
    open.editor.Document().GetSelectedText(selected);
    QCOMPARE(QByteArray::fromStdString(selected), text);
}

// ---------------------------------------------------------------- Check syntax

void TestEditorWindow::checkSyntaxOnEmptyText_data() {
    QTest::addColumn<bool>("accept");
    QTest::newRow("Yes: programme body") << true;
    QTest::newRow("No: nothing") << false;
}

void TestEditorWindow::checkSyntaxOnEmptyText() {
    QFETCH(bool, accept);
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;
    editor.Messages()->Append("earlier entry");
    open.dialogs.ExpectAsk(accept ? MsgAnswer::Yes : MsgAnswer::No);
    QVERIFY(!editor.CodeView().CompileProgram());
    QCOMPARE(open.dialogs.Log().at(0).text, LoadString(32890));
    QCOMPARE(open.dialogs.Log().at(0).buttons, MsgButtons::YesNo);
    QCOMPARE(open.dialogs.Log().at(0).icon, MsgIcon::Question);
    // The caption names the document from the start.
    const std::string expected = accept ? ProgramSkeleton(CurrentLocalTime(), "PlcEdit [PlcPrg]") : "";
    QCOMPARE(editor.Edit()->GetText(), expected);
    QVERIFY(!editor.Document().IsModified());
    QCOMPARE(editor.Messages()->Texts(), std::vector<std::string>{"earlier entry"});
    open.VerifyDialogs();
}

void TestEditorWindow::checkSyntaxEntries() {
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;

    // Comments only: no programme found, the summary and the stop box.
    editor.Edit()->SetText("; just a comment\r\n\r\n");
    open.dialogs.ExpectAsk(MsgAnswer::Ok, "Syntax check ends with error.");
    QVERIFY(editor.OnCommand(ID_CHECK_SYNTAX));
    std::vector<std::string> entries = editor.Messages()->Texts();
    QCOMPARE(entries.size(), size_t(5));
    QCOMPARE(entries[0], std::string("PLC, compiling runs..."));
    QCOMPARE(entries[1], std::string());
    QCOMPARE(entries[2], FormatErrorEntry(3, 24));
    QCOMPARE(entries[4], FormatString(kIdsErrorSummary, "1 "));
    QCOMPARE(open.dialogs.Log().back().icon, MsgIcon::Stop);
    QCOMPARE(open.dialogs.Log().back().text, LoadString(57732));

    // A correct programme: the checksum entry and no message box.
    std::string programme;
    QVERIFY(ReadWholeFile(PLCEDIT_SOURCE_DIR "/examples/jumps.plc", programme));
    editor.Edit()->SetText(programme);
    QVERIFY(editor.CodeView().CompileProgram());
    entries = editor.Messages()->Texts();
    QCOMPARE(entries.front(), std::string("PLC, compiling runs..."));
    QVERIFY(entries.back().rfind("Sysntax check - 0 error (s), 0 warning(s). Calculated checksum: 0x", 0) == 0);
    QVERIFY(!editor.CodeView().Program().GetProgramName().empty());
    open.VerifyDialogs();
}

// ---------------------------------------------------------------- timer

void TestEditorWindow::titleAndCaretLineFollowTheTimer() {
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;
    QWidget* window = editor.Window();
    // The title names the document from the start.
    QCOMPARE(window->windowTitle(), QString("PlcEdit [PlcPrg]"));
    QTRY_COMPARE_WITH_TIMEOUT(editor.Frame().Status()->Text(3), std::string("Ln 1"), 2000);
    QCOMPARE(editor.Frame().Status()->Text(2), std::string());

    editor.Edit()->SetText("a\r\nb\r\n\xC3\xBC" "c\r\nd");
    editor.Edit()->SetSel(8, 9);  // the start of the selection is in line 3
    QTest::keyClicks(editor.Edit(), "x");
    editor.Frame().OnTimer();
    QCOMPARE(window->windowTitle(), QString("PlcEdit [PlcPrg*]"));
    QCOMPARE(editor.Frame().Status()->Text(2), std::string("Modified"));
    QCOMPARE(editor.Frame().Status()->Text(3), std::string("Ln 3"));
    // Columns count characters: the two bytes of the umlaut are one.
    QCOMPARE(editor.Frame().Status()->Text(4), std::string("Col 3"));

    window->hide();
    editor.Frame().OnTimer();
    QCOMPARE(editor.Frame().Status()->Text(3), std::string());
}

// ---------------------------------------------------------------- Help, Info

void TestEditorWindow::helpOpensTheEditorPage() {
    OpenEditor open;
    QVERIFY(open.editor.OnCommand(ID_HELP));
    HelpWindow* help = open.editor.Commands().Help();
    QVERIFY(help && help->isVisible());
    QTextBrowser* browser = help->Browser();
    QCOMPARE(browser->source().fragment(), QString("98313"));
    std::string page;
    QVERIFY(ReadWholeFile(browser->source().toLocalFile().toStdString(), page));
    QVERIFY(page.find("id=\"98313\"") != std::string::npos);
    // The pages made from the compiler's tables are beside it: the error
    // table holds each code's message.
    help->ShowPage(HelpDirectory(), "errors.html", "error24");
    QVERIFY(browser->toPlainText().contains(QString::fromStdString(ErrorText(24))));
    // One row per code of the error enum, none for other strings.
    std::string errors;
    QVERIFY(ReadWholeFile((HelpDirectory() + "/errors.html").toStdString(), errors));
    size_t rows = 0;
    for (size_t at = errors.find("<tr id=\"error"); at != std::string::npos; at = errors.find("<tr id=\"error", at + 1))
        ++rows;
    QCOMPARE(rows, std::size(kErrorCodes));
    QVERIFY(errors.find("id=\"error46\"") == std::string::npos);
    help->ShowPage(HelpDirectory(), "language.html", "forms");
    QVERIFY(browser->toPlainText().contains("Jumps"));

    // F1 on a statement opens its family's page at its form; Back returns.
    open.editor.Edit()->SetText("%P00\r\nN010 JMP (F001 = F002) N010 ; loop\r\nEND\r\n");
    open.editor.Edit()->SetSel(12, 12);
    QVERIFY(open.editor.OnCommand(ID_HELP));
    QCOMPARE(browser->source().fileName(), QString("flow.html"));
    QCOMPARE(browser->source().fragment(), QString("op03"));
    QVERIFY(browser->toPlainText().contains("N### JMP (F### = F###) N###"));
    auto* back = help->findChild<QAction*>("back");
    QVERIFY(back && back->isEnabled());
    back->trigger();
    QCOMPARE(browser->source().fileName(), QString("language.html"));
    // The search field finds on the page shown, wrapping to the top.
    help->SearchField()->setText("Keywords");
    QVERIFY(help->FindNext());
    QVERIFY(help->FindNext());
    help->SearchField()->setText("no such text");
    QVERIFY(!help->FindNext());
    open.VerifyDialogs();
}

void TestEditorWindow::compareRecordByRecord() {
    std::string programme;
    QVERIFY(ReadWholeFile(PLCEDIT_SOURCE_DIR "/examples/jumps.plc", programme));
    CPlcProgram editor, device;
    QVERIFY(CompileProgramText(editor, SplitLines(programme)).success);
    QVERIFY(CompileProgramText(device, SplitLines(programme)).success);
    std::vector<RecordDifference> same = CompareImages(editor, device);
    QVERIFY(same.size() > 2);
    for (const RecordDifference& d : same) {
        QCOMPARE(d.change, RecordChange::Same);
        QCOMPARE(d.editor, d.device);
    }
    // One record changed, one only in the editor's, one only in the device's.
    const int changed = same[1].index, added = same[2].index;
    device.Record(changed).b[7] ^= 0x01;
    device.Record(added) = PlcInstr{};
    device.Record(200) = editor.Record(changed);
    std::map<int, RecordChange> changes;
    for (const RecordDifference& d : CompareImages(editor, device))
        if (d.change != RecordChange::Same) changes[d.index] = d.change;
    QCOMPARE(changes, (std::map<int, RecordChange>{{changed, RecordChange::Changed},
                                                  {added, RecordChange::Added},
                                                  {200, RecordChange::Removed}}));
    CompareView view(nullptr, CompareImages(editor, device), editor, device);
    QVERIFY(view.findChild<QLabel*>("checksums")->text().contains("0x"));
}

// What the window shows reads as its strings say: no replacement character,
// no C1 control and no pair that UTF-8 read as Latin-1 or Windows-1252
// leaves ("Ã¼", "Â°", "â€"), in the menus, tool tips, the string table's
// message texts, the dry-run banner, the panels, the help, the status bar
// and a UTF-8 comment in the text.
void TestEditorWindow::windowTextsAreCleanUtf8() {
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;
    QVERIFY(open.control->PlcSetSimulation(true));
    editor.Edit()->SetText("%P00\r\nN010 NOP ; Drehzahl \xC3\xBC, 90\xC2\xB0\r\nEND\r\n");
    QVERIFY(editor.OnCommand(ID_SIMULATE));
    QVERIFY(editor.OnCommand(ID_VIEW_FLOW_GRAPH));
    QVERIFY(editor.OnCommand(ID_HELP));
    editor.Frame().OnTimer();

    QStringList texts;
    for (const StringEntry* entry = StringTableBegin(); entry != StringTableEnd(); ++entry)
        texts << ToQString(entry->text);
    for (int part = 0; part < 5; ++part) texts << ToQString(editor.Frame().Status()->Text(part));
    for (QObject* object : editor.Window()->findChildren<QObject*>()) {
        if (auto* action = qobject_cast<QAction*>(object))
            texts << action->text() << action->toolTip() << action->statusTip();
        auto* widget = qobject_cast<QWidget*>(object);
        if (!widget) continue;
        texts << widget->windowTitle() << widget->toolTip();
        if (auto* label = qobject_cast<QLabel*>(widget)) texts << label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) texts << button->text();
        if (auto* line = qobject_cast<QLineEdit*>(widget)) texts << line->text() << line->placeholderText();
        if (auto* tabs = qobject_cast<QTabWidget*>(widget))
            for (int i = 0; i < tabs->count(); ++i) texts << tabs->tabText(i);
        if (auto* table = qobject_cast<QTableWidget*>(widget))
            for (int i = 0; i < table->columnCount(); ++i)
                if (table->horizontalHeaderItem(i)) texts << table->horizontalHeaderItem(i)->text();
        if (auto* browser = qobject_cast<QTextBrowser*>(widget)) texts << browser->toPlainText();
        if (auto* sci = qobject_cast<QsciScintilla*>(widget)) texts << sci->text();
    }
    QVERIFY(texts.join('\n').contains("dry run of the programme's logic \u2014 not a model of the drive"));
    QVERIFY(texts.contains("%P00\r\nN010 NOP ; Drehzahl \u00FC, 90\u00B0\r\nEND\r\n"));
    QVERIFY(texts.contains("UTF-8 \u00B7 CR LF"));
    const auto garbled = [](const QString& text) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char16_t c = text[i].unicode();
            const char16_t next = i + 1 < text.size() ? text[i + 1].unicode() : 0;
            const bool continuation = next >= 0x80 && next < 0xC0;
            if (c == 0xFFFD || (c >= 0x80 && c < 0xA0) || ((c == 0xC2 || c == 0xC3) && continuation) ||
                (c == 0xE2 && (continuation || next == 0x20AC)))
                return true;
        }
        return false;
    };
    for (const QString& text : texts) QVERIFY2(!garbled(text), qPrintable(text));
    open.VerifyDialogs();
}

void TestEditorWindow::infoShowsNameAndVersion() {
    OpenEditor open;
    QStringList texts;
    bool picture = false;
    open.dialogs.ExpectModal(QDialog::Accepted, [&](QDialog& dialog) {
        for (QLabel* label : dialog.findChildren<QLabel*>()) {
            if (!label->text().isEmpty()) texts << label->text();
            if (!label->pixmap().isNull()) picture = true;
        }
        // Wide enough for its caption, which the title bar would cut.
        QVERIFY(dialog.minimumWidth() >= dialog.fontMetrics().horizontalAdvance(dialog.windowTitle()) + 100);
    });
    open.editor.Commands().OnInfo();
    QCOMPARE(open.dialogs.Log().at(0).text, std::string("Info to PLC-Editor"));
    QCOMPARE(texts, (QStringList{"PLC-Editor", "Version V1.30-03",
                                 "Free software under the GNU General Public License,\n"
                                 "version 3 or later. There is NO WARRANTY."}));
    QVERIFY(picture);
    open.VerifyDialogs();
}

void TestEditorWindow::textLimitShowsMessage() {
    OpenEditor open;
    open.editor.Edit()->SetLimitText(3);
    open.dialogs.ExpectAsk(MsgAnswer::Ok, "Max. size of document is reached.");
    QTest::keyClicks(open.editor.Edit(), "abcd");
    QTRY_COMPARE(open.dialogs.Pending(), size_t(0));
    QCOMPARE(open.editor.Edit()->GetText(), std::string("abc"));
    QCOMPARE(open.dialogs.Log().back().icon, MsgIcon::None);
    open.VerifyDialogs();
}

// ---------------------------------------------------------------- editor font

void TestEditorWindow::fontFromSettings_data() {
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<int>("pixels");
    QTest::addColumn<int>("weight");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<QString>("family");
    QTest::newRow("defaults") << QByteArray() << 11 << 400 << false << "MS Sans Serif";
    QTest::newRow("12 point bold") << QByteArray("[Font]\r\nSize=120\r\nWeight=700\r\n") << 16 << 700
                                   << false << "MS Sans Serif";
    QTest::newRow("10 point truncated") << QByteArray("[Font]\r\nSize=100\r\n") << 13 << 400 << false
                                        << "MS Sans Serif";
    QTest::newRow("italic face, effects as bytes")
        << QByteArray("[Font]\r\nIsItalic=257\r\nFaceName=Courier New\r\n") << 11 << 400 << true
        << "Courier New";
    QTest::newRow("italic 256 is no italic") << QByteArray("[Font]\r\nIsItalic=256\r\n") << 11 << 400
                                             << false << "MS Sans Serif";
    QTest::newRow("UTF-8 face") << QByteArray("[Font]\r\nFaceName=Schrift \xC3\x9C\r\n") << 11 << 400 << false
                                << "Schrift \u00DC";
    QTest::newRow("Windows-1252 face of an older version")
        << QByteArray("[Font]\r\nFaceName=Schrift \xDC\r\n") << 11 << 400 << false << "Schrift \u00DC";
}

void TestEditorWindow::fontFromSettings() {
    QFETCH(QByteArray, settings);
    QFETCH(int, pixels);
    QFETCH(int, weight);
    QFETCH(bool, italic);
    QFETCH(QString, family);
    ScratchDirectory scratch;
    if (!settings.isEmpty()) WriteBytes("PlcEdit.ini", settings.toStdString());
    ScriptedDialogs dialogs{FailTest()};
    CTorvixCtrl control(dialogs);
    QVERIFY(control.PlcCreate());
    const QFont font = EditorOf(control).Edit()->EditorFont();
    QCOMPARE(font.pixelSize(), pixels);
    QCOMPARE(int(font.weight()), weight);
    QCOMPARE(font.italic(), italic);
    QCOMPARE(font.family(), family);
}

// ---------------------------------------------------------------- code view

namespace {

// Lines 3, 6 and 8 (1-based) are faulty.
const char* kFaultyProgramme =
    "%P00\r\n"
    "N010 NOP\r\n"
    "N020 JMPX N010\r\n"
    "N030 NOP\r\n"
    "N040 NOP\r\n"
    "N050 SET H1 = \r\n"
    "N060 NOP\r\n"
    "N070 JMP N999\r\n"
    "END\r\n";

// Makes the editor's window the active one, so that its shortcuts work.
bool Activate(CPlcEditorDlg& editor) {
    editor.Window()->activateWindow();
    return QTest::qWaitForWindowActive(editor.Window());
}

}  // namespace

void TestEditorWindow::errorMarkersFollowCheckAndTyping() {
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;
    SourceEdit& edit = *editor.Edit();
    edit.SetText(kFaultyProgramme);
    QVERIFY(Activate(editor));
    open.dialogs.ExpectAsk(MsgAnswer::Ok, "Syntax check ends with error.");
    QVERIFY(editor.OnCommand(ID_CHECK_SYNTAX));
    QCOMPARE(edit.ErrorLines(), (std::vector<int32_t>{2, 5, 7}));
    QVERIFY(edit.Annotation(2).rfind("LINE(003): ERR(", 0) == 0);
    QCOMPARE(edit.Annotation(3), std::string());
    QCOMPARE(editor.Frame().ErrorCountText(), std::string("3 errors"));
    // The squiggles run under the tokens the compiler stopped at: the
    // unknown keyword, the "=" of a statement that ends too early, and the
    // digits of a label out of range.
    const auto at = [&edit](int32_t line, int32_t column, int32_t length) {
        return std::pair{edit.LineIndex(line) + column, edit.LineIndex(line) + column + length};
    };
    QCOMPARE(edit.ErrorSquiggles(), (std::vector<std::pair<int32_t, int32_t>>{at(2, 5, 4), at(5, 12, 1), at(7, 10, 3)}));
    // Check syntax's entries stay until the text is edited, also over the
    // live check of the new text.
    const std::vector<std::string> entries = editor.Messages()->Texts();
    QTest::qWait(2 * EditorCodeView::kLiveCheckDelay);
    QCOMPARE(editor.Messages()->Texts(), entries);

    // Typing the fix takes the marker off that line, and the live entries
    // take the list; the document's programme stays as Check syntax left it.
    editor.Document().SetModified(false);
    const std::string checkedName = editor.CodeView().Program().GetProgramName();
    edit.SetSel(edit.LineIndex(2) + 5, edit.LineIndex(2) + 9);
    QTest::keyClicks(&edit, "JMP");
    QTRY_COMPARE(edit.ErrorLines(), (std::vector<int32_t>{5, 7}));
    QCOMPARE(editor.Messages()->Texts(), (std::vector<std::string>{entries[3], entries[4]}));
    QCOMPARE(editor.Frame().ErrorCountText(), std::string("2 errors"));
    QVERIFY(edit.Annotation(2).empty());
    QVERIFY(edit.Annotation(5).rfind("LINE(006): ERR(", 0) == 0);
    QVERIFY(editor.Document().IsModified());
    QCOMPARE(editor.CodeView().Program().GetProgramName(), checkedName);

    // A line made faulty while typing gets its marker, but its annotation
    // only once the caret leaves the line (or the typing pauses).
    edit.SetSel(edit.LineIndex(3) + 8, edit.LineIndex(3) + 8);
    QTest::keyClicks(&edit, " X");
    QTRY_COMPARE(edit.ErrorLines(), (std::vector<int32_t>{3, 5, 7}));
    QCOMPARE(edit.Annotation(3), std::string());
    QCOMPARE(editor.Messages()->Count(), 3);
    QTest::keyClick(&edit, Qt::Key_Down);
    QTRY_VERIFY_WITH_TIMEOUT(edit.Annotation(3).rfind("LINE(004): ERR(", 0) == 0, EditorCodeView::kAnnotationDelay / 3);
    edit.SetSel(edit.LineIndex(3) + 8, edit.LineIndex(3) + 10);
    QTest::keyClick(&edit, Qt::Key_Delete);
    QTRY_COMPARE(edit.ErrorLines(), (std::vector<int32_t>{5, 7}));
    QCOMPARE(edit.Annotation(3), std::string());
    QCOMPARE(editor.Messages()->Count(), 2);

    // Typing past the programme's END: the missing END is marked at the line
    // its entry names, the last one.
    const int32_t endLine = edit.GetLineCount() - 2;
    edit.SetSel(edit.LineIndex(endLine), edit.LineIndex(endLine) + 3);
    QTest::keyClicks(&edit, "N080 NOP");
    const int32_t last = edit.GetLineCount() - 1;
    QTRY_COMPARE(edit.ErrorLines(), (std::vector<int32_t>{5, 7, last}));
    QVERIFY(edit.Annotation(last).rfind("LINE(010): ERR(09)", 0) == 0);
    QCOMPARE(edit.Annotation(0), std::string());
    edit.SetSel(edit.LineIndex(endLine), edit.LineIndex(endLine) + 8);
    QTest::keyClicks(&edit, "END");
    QTRY_COMPARE(edit.ErrorLines(), (std::vector<int32_t>{5, 7}));

    // Switched off, the check leaves the text alone and takes its entries
    // and count away, and the choice is kept.
    QVERIFY(editor.OnCommand(ID_VIEW_LIVE_CHECK));
    QVERIFY(!editor.Action(ID_VIEW_LIVE_CHECK)->isChecked());
    QVERIFY(edit.ErrorLines().empty());
    QCOMPARE(editor.Messages()->Count(), 0);
    QCOMPARE(editor.Frame().ErrorCountText(), std::string());
    edit.SetSel(0, 0);
    edit.ReplaceSel("x");
    QTest::qWait(2 * EditorCodeView::kLiveCheckDelay);
    QVERIFY(edit.ErrorLines().empty());
    QCOMPARE(editor.Messages()->Count(), 0);
    editor.Document().SetModified(false);
    open.control.reset();
    CTorvixCtrl again(open.dialogs);
    QVERIFY(again.PlcCreate());
    QVERIFY(!EditorOf(again).CodeView().LiveCheckEnabled());
    open.VerifyDialogs();
}

// Typing at the end of a programme whose every statement carries a warning:
// each check changes the annotations above the view, and the view stays at
// the caret's line.
void TestEditorWindow::checksKeepTheViewAtTheCaret() {
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;
    SourceEdit& edit = *editor.Edit();
    std::string text = "%P00\r\nN001 JMP N001\r\n";
    char line[32];
    for (int n = 2; n <= 254; ++n) {
        std::snprintf(line, sizeof line, "N%03d SET H%03d = 1\r\n", n, n % 100);
        text += line;
    }
    edit.SetText(text + "END\r\n");
    QVERIFY(Activate(editor));
    QTRY_COMPARE(edit.WarningLines().size(), size_t(253));
    const int32_t caretLine = 254;
    const int32_t end = edit.LineIndex(caretLine) + edit.LineLength(caretLine);
    edit.SetSel(end, end);
    edit.ScrollCaret();
    QTRY_VERIFY(edit.LineInView(caretLine) && !edit.LineInView(100));
    // An error takes every warning away, its fix brings them back.
    QTest::keyClick(&edit, Qt::Key_X);
    QTRY_COMPARE(edit.ErrorLines(), std::vector<int32_t>{caretLine});
    QVERIFY(edit.LineInView(caretLine));
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QTRY_VERIFY(edit.ErrorLines().empty() && edit.WarningLines().size() == 253);
    QVERIFY(edit.LineInView(caretLine));
    QCOMPARE(edit.CaretLine(), caretLine);
    open.VerifyDialogs();
}

void TestEditorWindow::nextAndPreviousErrorKeys() {
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;
    SourceEdit& edit = *editor.Edit();
    edit.SetText(kFaultyProgramme);
    editor.CodeView().RunLiveCheck();
    QVERIFY(Activate(editor));
    auto caretLine = [&] {
        int32_t s = 0, e = 0;
        edit.GetSel(s, e);
        return edit.LineFromChar(e);
    };
    edit.SetSel(edit.LineIndex(3), edit.LineIndex(3));
    // F8 goes down and wraps to the first error, Shift+F8 goes up and wraps
    // to the last.
    for (int expected : {5, 7, 2, 5}) {
        QTest::keyClick(&edit, Qt::Key_F8);
        QCOMPARE(caretLine(), expected);
    }
    for (int expected : {2, 7, 5}) {
        QTest::keyClick(&edit, Qt::Key_F8, Qt::ShiftModifier);
        QCOMPARE(caretLine(), expected);
    }
    // Navigate back retraces the jumps, forward goes them again; a new jump
    // drops what lay ahead, and Navigate forward then beeps and stays.
    const std::pair<Qt::Key, int> steps[] = {{Qt::Key_Left, 7}, {Qt::Key_Left, 2}, {Qt::Key_Right, 7},
                                             {Qt::Key_F8, 2}, {Qt::Key_Right, 2}};
    for (const auto& [key, expected] : steps) {
        QTest::keyClick(&edit, key, key == Qt::Key_F8 ? Qt::NoModifier : Qt::AltModifier);
        QCOMPARE(caretLine(), expected);
    }
    QCOMPARE(open.dialogs.Beeps(), 1);
    QCOMPARE(edit.GetText(), std::string(kFaultyProgramme));
    open.VerifyDialogs();
}

void TestEditorWindow::zoomKeysZoomWithoutTyping_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("zoom");  // after zooming in twice first
    QTest::newRow("Ctrl+=") << int(Qt::Key_Equal) << int(Qt::ControlModifier) << 3;
    QTest::newRow("Ctrl++") << int(Qt::Key_Plus) << int(Qt::ControlModifier) << 3;
    QTest::newRow("Ctrl+-") << int(Qt::Key_Minus) << int(Qt::ControlModifier) << 1;
    QTest::newRow("Ctrl+0") << int(Qt::Key_0) << int(Qt::ControlModifier) << 0;
}

void TestEditorWindow::zoomKeysZoomWithoutTyping() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, zoom);
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;
    SourceEdit& edit = *editor.Edit();
    edit.SetText("N010 NOP");
    edit.SetSel(4, 4);
    QVERIFY(Activate(editor));
    editor.OnCommand(ID_VIEW_ZOOM_IN);
    editor.OnCommand(ID_VIEW_ZOOM_IN);
    QCOMPARE(edit.Zoom(), 2);
    QTest::keyClick(&edit, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(edit.Zoom(), zoom);
    QCOMPARE(edit.GetText(), std::string("N010 NOP"));
    QVERIFY(!editor.Document().IsModified());
    open.VerifyDialogs();
}

void TestEditorWindow::findUsesAndGoToDefinition() {
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;
    SourceEdit& edit = *editor.Edit();
    std::string programme;
    QVERIFY(ReadWholeFile(PLCEDIT_SOURCE_DIR "/examples/jumps.plc", programme));
    edit.SetText(programme);
    auto caretLine = [&] {
        int32_t s = 0, e = 0;
        edit.GetSel(s, e);
        return edit.LineFromChar(s);
    };
    auto placeCaret = [&](const std::string& line, const std::string& word) {
        const size_t at = programme.find(line);
        QVERIFY(at != std::string::npos);
        const int32_t pos = int32_t(at + line.find(word, line.find(' ')) + 1);
        edit.SetSel(pos, pos);
    };

    // The CALL's target: F12 goes to the label's line; Find uses lists the
    // lines that jump to it, and a double-click on an entry selects its line.
    placeCaret("N050 CALL N070", "N070");
    QVERIFY(editor.OnCommand(ID_GOTO_DEFINITION));
    QCOMPARE(caretLine(), edit.LineFromChar(int32_t(programme.find("N070 NOP"))));
    placeCaret("N050 CALL N070", "N070");
    QVERIFY(editor.OnCommand(ID_FIND_USES));
    const std::vector<std::string> uses = editor.Messages()->Texts();
    QCOMPARE(uses.size(), size_t(3));
    QVERIFY(uses[1].find("N050 CALL N070") != std::string::npos);
    QVERIFY(uses[2].find("N080 JMP(RXMSG, 3, H4) N070") != std::string::npos);
    edit.SetSel(0, 0);
    editor.Messages()->setCurrentRow(2);
    editor.Renum().OnDblclkMessages();
    QCOMPARE(caretLine(), edit.LineFromChar(int32_t(programme.find("N080"))));
    // The double-click was a jump: Navigate back returns to where the caret stood.
    QVERIFY(editor.OnCommand(ID_NAVIGATE_BACK));
    QCOMPARE(caretLine(), 0);

    // A variable: its uses include its DEF line.
    placeCaret("N010 JMP (H1 = 0)", "H1");
    QVERIFY(editor.OnCommand(ID_FIND_USES));
    QCOMPARE(editor.Messages()->Count(), 3);
    QVERIFY(editor.Messages()->Text(0).find("Count") != std::string::npos);

    // Nothing to go to: a beep, the caret stays.
    placeCaret("N070 NOP", "NOP");
    const int32_t line = caretLine();
    QVERIFY(editor.OnCommand(ID_GOTO_DEFINITION));
    QCOMPARE(caretLine(), line);
    QCOMPARE(open.dialogs.Beeps(), 1);
    open.VerifyDialogs();
}

// ---------------------------------------------------------------- analysis

namespace {

// A declared name no statement uses (line 2) and a statement no path
// reaches (line 7): two warnings, no error.
constexpr const char* kWarnedProgramme =
    "%TEXT(Warn)\r\nDEF H1 = Unused\r\nEND\r\n%P00\r\nN001 SET H002 = 1\r\nN002 JMP N001\r\n"
    "N003 SET H003 = 2\r\nEND\r\n";

}  // namespace

void TestEditorWindow::warningsAndFlowGraphFollowTheText() {
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;
    SourceEdit& edit = *editor.Edit();
    edit.SetText(kWarnedProgramme);

    // Warnings stand on their lines, but the check still passes without a
    // word of them in the message list.
    QVERIFY(editor.CodeView().CompileProgram());
    QCOMPARE(edit.WarningLines(), (std::vector<int32_t>{1, 6}));
    QVERIFY(edit.ErrorLines().empty());
    QVERIFY(edit.Annotation(6).rfind("W01 - ", 0) == 0);
    for (const std::string& entry : editor.Messages()->Texts()) QVERIFY(entry.find("W0") == std::string::npos);
    QVERIFY(editor.OnCommand(ID_VIEW_WARNINGS));
    QVERIFY(!editor.Action(ID_VIEW_WARNINGS)->isChecked());
    QVERIFY(edit.WarningLines().empty());

    // The panel: a click on a node puts the caret on its line, and the
    // node of the caret's line is the one highlighted.
    QVERIFY(editor.OnCommand(ID_VIEW_FLOW_GRAPH));
    FlowPanel* panel = editor.Analysis().FlowGraphPanel();
    QVERIFY(panel != nullptr && panel->HasGraph());
    QTest::mouseClick(panel->Viewport(), Qt::LeftButton, {}, panel->NodeInViewport(3));
    QCOMPARE(edit.CaretLine(), 6);
    QTRY_COMPARE(panel->HighlightedRecord(), 3);
    edit.GotoLine(4);
    QTRY_COMPARE(panel->HighlightedRecord(), 1);

    // Typing a new statement: the live check redraws the graph with it.
    edit.SetSel(edit.LineIndex(7), edit.LineIndex(7));
    edit.ReplaceSel("N004 JMP N001\r\n");
    QTRY_VERIFY(panel->Graph().Node(4) != nullptr && !editor.Analysis().LayoutPending());

    // Both choices hold for the next window.
    editor.Document().SetModified(false);
    open.control.reset();
    CTorvixCtrl again(open.dialogs);
    QVERIFY(again.PlcCreate());
    QVERIFY(!EditorOf(again).Analysis().WarningsEnabled());
    QVERIFY(EditorOf(again).Analysis().FlowGraphPanel() != nullptr);
    QVERIFY(EditorOf(again).Action(ID_VIEW_FLOW_GRAPH)->isChecked());
    open.VerifyDialogs();
}

void TestEditorWindow::restoreNames_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("refusal");  // empty: the names are restored
    const QString listed = "%P00\r\nN001 SET H001 = 1\r\nEND\r\n";
    QTest::newRow("restored") << listed << "[PLC_H]\r\n1: Count\r\n" << "";
    QTest::newRow("unknown section") << listed << "[PLC_Q]\r\n1: Count\r\n" << "Names.txt";
    QTest::newRow("name with a blank") << listed << "[PLC_H]\r\n1: Two words\r\n" << "Names.txt";
    QTest::newRow("names already declared")
        << "%TEXT(Old)\r\nDEF H1 = Old\r\nEND\r\n" + listed << "[PLC_H]\r\n1: Count\r\n" << "line 1";
    QTest::newRow("no programme section") << "; nothing yet\r\n" << "[PLC_H]\r\n1: Count\r\n" << "%P00";
}

void TestEditorWindow::restoreNames() {
    QFETCH(QString, text);
    QFETCH(QString, file);
    QFETCH(QString, refusal);
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;
    SourceEdit& edit = *editor.Edit();
    edit.SetText(text.toStdString());
    WriteBytes(open.Path("Names.txt"), file.toStdString());
    open.dialogs.ExpectOpenFile(open.Path("Names.txt"));
    if (!refusal.isEmpty()) open.dialogs.ExpectAsk(MsgAnswer::Ok, refusal.toStdString());
    QVERIFY(editor.OnCommand(ID_RESTORE_NAMES));
    if (!refusal.isEmpty()) {
        QCOMPARE(edit.GetText(), text.toStdString());
    } else {
        QCOMPARE(edit.GetText(), "%TEXT(Names)\r\nDEF H001 = Count\r\nEND\r\n\r\n" + text.toStdString());
        QVERIFY(editor.CodeView().CompileProgram());
        // One step of Undo takes the section away again.
        editor.Commands().OnEditUndo();
        QCOMPARE(edit.GetText(), text.toStdString());
    }
    open.VerifyDialogs();
}

// ---------------------------------------------------------------- dry run

void TestEditorWindow::dryRunIsTheHostsChoiceAndStopsAtTheCaret() {
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;
    SourceEdit& edit = *editor.Edit();
    edit.SetText("%P00\r\nN001 SET H001 = 10\r\nN002 SET H001 - 1\r\nN003 JMP (H001 != 0) N002\r\n"
                 "N004 SET H002 = 7\r\nN005 JMP N001\r\nEND\r\n");
    QVERIFY(!editor.Action(ID_SIMULATE)->isEnabled());
    QVERIFY(!editor.OnCommand(ID_SIMULATE));
    QVERIFY(open.control->PlcSetSimulation(true));
    QVERIFY(editor.Action(ID_SIMULATE)->isEnabled());
    QVERIFY(editor.OnCommand(ID_SIMULATE));
    DryRunPanel* panel = editor.DryRun().Panel();
    QVERIFY(panel != nullptr);
    WriteBytes(open.Path("profile.ini"), "statement.time_ms = 1\n");
    QVERIFY(panel->LoadProfile(open.Path("profile.ini")));
    // The stimuli table gives back every byte it was given, as the text does.
    const std::string stimuli = "; Drehzahl \xFC" "ber der Grenze\n10\tIS1\t1\n";
    panel->SetStimuliText(stimuli);
    QCOMPARE(panel->StimuliText(), stimuli);
    panel->SetStimuliText("");

    // Run to the caret passes the loop nine times and stops before N004,
    // which the text shows as the line that runs next.
    edit.GotoLine(4);
    panel->RunToCaret();
    QTRY_VERIFY(!panel->Running());
    QCOMPARE(panel->Engine()->State().pc, 4);
    QCOMPARE(edit.RunLine(), 4);
    QCOMPARE(panel->Engine()->State().steps, uint64_t(22));

    // A breakpoint from the margin stops the next run; the one-shot stop
    // at the caret is gone.
    edit.SetBreakpoint(2, true);
    panel->Run();
    QTRY_VERIFY(!panel->Running());
    QCOMPARE(panel->StopText(), std::string("breakpoint at N002"));

    // Grayed again by the host: the panel goes with the command.
    QVERIFY(open.control->PlcSetSimulation(false));
    QVERIFY(!editor.Action(ID_SIMULATE)->isEnabled());
    QVERIFY(editor.DryRun().Panel() == nullptr);
    QCOMPARE(edit.RunLine(), -1);
    open.VerifyDialogs();
}

void TestEditorWindow::completionInsertsCanonicalText_data() {
    QTest::addColumn<QString>("line");   // the line being written, the caret at its end
    QTest::addColumn<QString>("entry");  // the entry chosen
    QTest::addColumn<QString>("after");  // the line afterwards
    QTest::newRow("statement form after a label") << "N020 se" << "SET OUTPUT = Hxxx" << "N020 SET OUTPUT = H";
    QTest::newRow("variable by its DEF name") << "N020 SET H1 = spe" << "H005    Speed" << "N020 SET H1 = H005";
    QTest::newRow("operand begun in the keyword") << "N020 SETH0" << "H005    Speed" << "N020 SETH005";
    QTest::newRow("jump target") << "N020 JMP" << "N010    N010 NOP" << "N020 JMP N010";
}

void TestEditorWindow::completionInsertsCanonicalText() {
    QFETCH(QString, line);
    QFETCH(QString, entry);
    QFETCH(QString, after);
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;
    SourceEdit& edit = *editor.Edit();
    const std::string head = "%TEXT(T)\r\nDEF H5 = Speed\r\nEND\r\n%P00\r\nN010 NOP\r\n";
    edit.SetText(head + line.toStdString() + "\r\nEND");
    const int32_t end = edit.LineIndex(5) + edit.LineLength(5);
    edit.SetSel(end, end);
    QVERIFY(editor.OnCommand(ID_EDIT_COMPLETE));
    QVERIFY(edit.CompletionsShown());
    emit edit.completionChosen(entry.toStdString());
    std::string written;
    QVERIFY(edit.GetLine(5, written));
    QCOMPARE(QString::fromStdString(written), after);
    open.VerifyDialogs();
}

namespace {

// A programme with a named variable and a label, and an empty statement line
// (line 5) to type on.
constexpr const char* kTypingProgramme = "%TEXT(T)\r\nDEF H5 = Speed\r\nEND\r\n%P00\r\nN010 NOP\r\n\r\nEND";

// The editor holds kTypingProgramme with the caret on its empty line, and
// has the keyboard.
bool ReadyToType(CPlcEditorDlg& editor) {
    SourceEdit& edit = *editor.Edit();
    edit.SetText(kTypingProgramme);
    edit.SetSel(edit.LineIndex(5), edit.LineIndex(5));
    return Activate(editor);
}

}  // namespace

void TestEditorWindow::completionOpensWhileTyping_data() {
    QTest::addColumn<QString>("typed");   // typed on the empty line 5 without a pause
    QTest::addColumn<bool>("opens");      // the list opens after the pause
    QTest::addColumn<QString>("after");   // line 5 after Enter (taking the first entry when open)
    QTest::addColumn<bool>("labels");     // the entry taken opens the list of labels
    QTest::newRow("after a label and a blank") << "N020 " << true << "N020 JMP N" << true;
    QTest::newRow("labels after JMP and a blank") << "N020 JMP " << true << "N020 JMP N010" << false;
    QTest::newRow("labels after CALL and a blank") << "N020 CALL " << true << "N020 CALL N010" << false;
    QTest::newRow("a label after JMP") << "N020 JMP n0" << true << "N020 JMP N010" << false;
    QTest::newRow("a variable by its DEF name") << "N020 SET H1 = sp" << true << "N020 SET H1 = H005" << false;
    QTest::newRow("a drive value after =") << "N020 SET H1 =act" << true << "N020 SET H1 =ACTFRQ" << false;
    QTest::newRow("a whole statement") << "N020 SET H1 = 5 " << false << "N020 SET H1 = 5 " << false;
    QTest::newRow("a keyword being typed") << "N020 SE" << false << "N020 SE" << false;
    QTest::newRow("in a comment") << "N020 SET H1 = ; set " << false << "N020 SET H1 = ; set " << false;
    QTest::newRow("no label") << "SET " << false << "SET " << false;
}

void TestEditorWindow::completionOpensWhileTyping() {
    QFETCH(QString, typed);
    QFETCH(bool, opens);
    QFETCH(QString, after);
    QFETCH(bool, labels);
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;
    SourceEdit& edit = *editor.Edit();
    QVERIFY(ReadyToType(editor));
    QTest::keyClicks(&edit, typed);
    if (opens) {
        QTRY_VERIFY(edit.CompletionsShown());
    } else {
        QTest::qWait(2 * EditorCompletion::kTypingPause);
        QVERIFY(!edit.CompletionsShown());
    }
    QTest::keyClick(&edit, Qt::Key_Return);
    std::string line;
    QVERIFY(edit.GetLine(5, line));
    QCOMPARE(QString::fromStdString(line), after);
    QCOMPARE(edit.GetLineCount(), opens ? 7 : 8);
    QCoreApplication::processEvents();
    QCOMPARE(edit.CompletionsShown(), labels);
    if (labels) {
        QCOMPARE(editor.Completion().Offered().front().label, std::string("N010"));
        QTest::keyClick(&edit, Qt::Key_Return);
        QVERIFY(edit.GetLine(5, line));
        QCOMPARE(line, after.toStdString() + "010");
    }
    open.VerifyDialogs();
}

// Typed on at an open list, each key narrows it; a whole word closes it, so
// that Enter makes the new line; Escape closes it; switched off, it stays shut.
void TestEditorWindow::completionWhileTypingNeverHoldsUpTyping() {
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;
    SourceEdit& edit = *editor.Edit();
    QVERIFY(ReadyToType(editor));
    QTest::keyClicks(&edit, "N020 JMP ");
    QTRY_VERIFY(edit.CompletionsShown());
    QTest::keyClicks(&edit, "N0");
    QVERIFY(edit.CompletionsShown());
    QTest::keyClicks(&edit, "10");
    QVERIFY(!edit.CompletionsShown());
    QTest::keyClick(&edit, Qt::Key_Return);
    QTest::keyClicks(&edit, "N030 ");
    QTRY_VERIFY(edit.CompletionsShown());
    QTest::keyClick(&edit, Qt::Key_Escape);
    QVERIFY(!edit.CompletionsShown());
    QTest::keyClicks(&edit, "NOP");
    // Narrowed by a DEF name typed at the open list.
    QTest::keyClick(&edit, Qt::Key_Return);
    QTest::keyClicks(&edit, "N040 SET H1 = ");
    QTRY_VERIFY(edit.CompletionsShown());
    QTest::keyClicks(&edit, "sp");
    QVERIFY(edit.CompletionsShown());
    QCOMPARE(editor.Completion().Offered().size(), size_t(1));
    QTest::keyClick(&edit, Qt::Key_Return);
    QCOMPARE(edit.GetText(), std::string("%TEXT(T)\r\nDEF H5 = Speed\r\nEND\r\n%P00\r\nN010 NOP\r\n"
                                         "N020 JMP N010\r\nN030 NOP\r\nN040 SET H1 = H005\r\nEND"));

    QVERIFY(editor.OnCommand(ID_VIEW_COMPLETE_TYPING));
    QVERIFY(!editor.Action(ID_VIEW_COMPLETE_TYPING)->isChecked());
    QTest::keyClick(&edit, Qt::Key_Return);
    QTest::keyClicks(&edit, "N040 ");
    QTest::qWait(2 * EditorCompletion::kTypingPause);
    QVERIFY(!edit.CompletionsShown());
    open.VerifyDialogs();
}

// Ctrl+Space with the caret scrolled out of view (the mouse wheel moves the
// view, not the caret): the view goes back to the caret and the list opens
// there; the edit control would have placed it by a screen under the caret
// that it does not find.
void TestEditorWindow::completionOpensAtACaretOutOfView() {
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;
    SourceEdit& edit = *editor.Edit();
    std::string text = "%P00\r\nN010 NOP\r\nN020 JMP \r\n";
    for (int i = 0; i < 300; ++i) text += "; more\r\n";
    edit.SetText(text + "END");
    QVERIFY(Activate(editor));
    const int32_t caret = edit.LineIndex(2) + edit.LineLength(2);
    edit.SetSel(caret, caret);
    auto* view = qobject_cast<QAbstractScrollArea*>(edit.focusProxy());
    QVERIFY(view != nullptr);
    const QPoint middle = view->viewport()->rect().center();
    QWheelEvent wheel(middle, view->viewport()->mapToGlobal(middle), {}, {0, -120 * 60}, Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view->viewport(), &wheel);
    QTRY_VERIFY(!edit.LineInView(2));
    QTest::keyClick(&edit, Qt::Key_Space, Qt::ControlModifier);
    QVERIFY(edit.CompletionsShown());
    QVERIFY(edit.LineInView(2));
    QCOMPARE(editor.Completion().Offered().front().label, std::string("N010"));
    open.VerifyDialogs();
}

QTEST_MAIN(TestEditorWindow)
#include "tst_editorwindow.moc"
