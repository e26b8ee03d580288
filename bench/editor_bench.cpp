// SPDX-License-Identifier: GPL-3.0-or-later
// The edit control's costly paths on the real editor window: Replace all of
// 2,000 hits in a 30,000-character text, Renum of a 254-statement programme,
// one live check of it (compile in memory, colouring and markers), the live
// check while typing in a programme that compiles with a warning on every
// statement, the error and warning marks set again (unchanged, one line
// changed, all anew), the open completion list following the keys typed
// (narrowed, against collecting it from the whole text at each key), and
// View › Flow graph opening on a programme of 254 jumps (compile, analysis,
// Graphviz layout, the drawing, its first paint). The loops that stand for
// typing paint the text as the window would. Offscreen unless
// QT_QPA_PLATFORM says otherwise; on an X display (QT_QPA_PLATFORM=xcb
// DISPLAY=...) every request the edits make of the window is a round trip to
// the server, which the offscreen run cannot show.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "control/TorvixCtrl.h"
#include "dialogs/SearchReplaceDlg.h"
#include "Programmes.h"
#include "editor/EditorCommands.h"
#include "editor/EditorCompletion.h"
#include "editor/FlowPanel.h"
#include "editor/PlcEditorDlg.h"
#include "platform/MessageList.h"
#include "platform/ScriptedDialogs.h"
#include "platform/SourceEdit.h"

using namespace plc;

namespace {

// An editor window opened through its control, with scripted dialogs.
struct Editor {
    ScriptedDialogs dialogs;
    std::unique_ptr<CPlcEditorDlg> made = std::make_unique<CPlcEditorDlg>(dialogs);
    CPlcEditorDlg& editor = *made;
    std::unique_ptr<CTorvixCtrl> control = std::make_unique<CTorvixCtrl>(std::move(made));
    Editor() { control->PlcCreate(); }
    CPlcEditorDlg& Dlg() { return editor; }
};

// 1,000 lines of 29 characters, two hits of "H001" each.
std::string ReplaceText() {
    std::string text;
    for (int i = 0; i < 1000; ++i) text += "N010 SET H001 = H002 + H001\r\n";
    return text;
}

// 254 statements in lower case with jumps forward, so that Renum rewrites
// every line.
std::string Programme254(bool faulty) {
    std::string text = "%TEXT(Bench)\r\nDEF H1 = Count\r\nEND\r\n%P00\r\n";
    char line[64];
    for (int i = 1; i <= 254; ++i) {
        if (i % 3 == 0) {
            std::snprintf(line, sizeof line, "n%03d jmp (h%d = 0) n%03d ; step\r\n", i, i % 100,
                          i < 254 ? i + 1 : 1);
        } else if (faulty && i % 50 == 0) {
            std::snprintf(line, sizeof line, "n%03d jmpx n%03d\r\n", i, i);
        } else {
            std::snprintf(line, sizeof line, "n%03d set h%d = h%d\r\n", i, i % 100, (i + 1) % 100);
        }
        text += line;
    }
    return text + "END\r\n";
}

void ExpectReplaceAll(ScriptedDialogs& dialogs) {
    using Ids = CSearchReplaceDlg::ControlId;
    dialogs.ExpectModal(QDialog::Accepted, [](QDialog& dialog) {
        auto field = [&](int id) {
            return dialog.findChild<QLineEdit*>(CSearchReplaceDlg::ControlName(id));
        };
        field(Ids::IDC_FIND)->setText("H001");
        field(Ids::IDC_REPLACE_WITH)->setText("H003");
        dialog.findChild<QPushButton*>(CSearchReplaceDlg::ControlName(Ids::ID_REPLACE_ALL))
            ->click();
    });
    dialogs.ExpectAsk(MsgAnswer::Yes);
}

void BM_ReplaceAll2000(benchmark::State& state) {
    Editor editor;
    const std::string text = ReplaceText();
    for (auto _ : state) {
        state.PauseTiming();
        editor.Dlg().Edit()->SetText(text);
        ExpectReplaceAll(editor.dialogs);
        state.ResumeTiming();
        editor.Dlg().OnCommand(ID_SEARCH_REPLACE);
    }
    if (editor.Dlg().Edit()->GetText().find("H001") != std::string::npos)
        state.SkipWithError("Replace all left hits behind");
}
BENCHMARK(BM_ReplaceAll2000)->Unit(benchmark::kMillisecond);

void BM_Renum254(benchmark::State& state) {
    Editor editor;
    const std::string text = Programme254(false);
    for (auto _ : state) {
        state.PauseTiming();
        editor.Dlg().Edit()->SetText(text);
        state.ResumeTiming();
        editor.Dlg().OnCommand(ID_RENUM);
    }
    if (editor.Dlg().Edit()->GetText() == text) {
        for (const std::string& f : editor.dialogs.Failures()) std::fprintf(stderr, "%s\n", f.c_str());
        for (const std::string& e : editor.Dlg().Messages()->Texts()) std::fprintf(stderr, "%s\n", e.c_str());
        state.SkipWithError("Renum changed nothing");
    }
}
BENCHMARK(BM_Renum254)->Unit(benchmark::kMillisecond);

// One live check after an edit: compile in memory, markers and annotations
// of the faulty lines, and the colouring of the whole text.
void BM_LiveCheck254(benchmark::State& state) {
    Editor editor;
    SourceEdit& edit = *editor.Dlg().Edit();
    edit.SetText(Programme254(true));
    for (auto _ : state) {
        editor.Dlg().CodeView().RunLiveCheck();
        benchmark::DoNotOptimize(edit.StyleAt(edit.GetTextLength() - 1));
        state.PauseTiming();
        edit.SetSel(0, 0);
        edit.ReplaceSel(" ");  // the next run colours the text again
        edit.SetSel(0, 1);
        edit.ReplaceSel("");
        state.ResumeTiming();
    }
    if (edit.ErrorLines().size() != 5) state.SkipWithError("the faulty lines are not marked");
}
BENCHMARK(BM_LiveCheck254)->Unit(benchmark::kMicrosecond);

// 254 statements, each with a warning: the first jumps to itself, so that
// no path reaches the others. It compiles.
std::string WarnedProgramme254() {
    std::string text = "%P00\r\nN001 JMP N001\r\n";
    char line[64];
    for (int i = 2; i <= 254; ++i) {
        std::snprintf(line, sizeof line, "N%03d SET H%03d = 1\r\n", i, i % 100);
        text += line;
    }
    return text + "END\r\n";
}

// Typing at the end of the last statement of a programme full of warnings,
// the caret at the bottom of the view: a blank typed or taken away, the live
// check (compile, errors, warnings on the lines), the text painted.
void BM_LiveCheckWarned254(benchmark::State& state) {
    Editor editor;
    SourceEdit& edit = *editor.Dlg().Edit();
    edit.SetText(WarnedProgramme254());
    editor.Dlg().CodeView().RunLiveCheck();
    const int32_t end = edit.LineIndex(254) + edit.LineLength(254);
    edit.SetSel(end, end);
    edit.ScrollCaret();
    bool blank = false;
    for (auto _ : state) {
        if (blank)
            edit.SetSel(end, end + 1);
        else
            edit.SetSel(end, end);
        edit.ReplaceSel(blank ? "" : " ");
        blank = !blank;
        editor.Dlg().CodeView().RunLiveCheck();
        benchmark::DoNotOptimize(edit.grab());
    }
    if (edit.WarningLines().size() != 253 || !edit.ErrorLines().empty())
        state.SkipWithError("the warnings are not on their lines");
}
BENCHMARK(BM_LiveCheckWarned254)->Unit(benchmark::kMicrosecond);

// The 253 warning marks of that programme set again after a check, with the
// text painted: unchanged (0), one line's text changed (1), or taken away
// and put back whole (2), as each check did before the marks were compared
// line by line.
void BM_WarningMarks254(benchmark::State& state) {
    Editor editor;
    SourceEdit& edit = *editor.Dlg().Edit();
    editor.Dlg().CodeView().SetLiveCheck(false);
    editor.Dlg().Analysis().SetWarnings(false);
    edit.SetText(WarnedProgramme254());
    std::vector<SourceEdit::LineMark> marks;
    for (int32_t line = 2; line <= 254; ++line)
        marks.push_back({line, "W01 - No path from the programme head reaches this statement.", 5, 3});
    edit.SetWarningMarks(marks);
    const int32_t end = edit.LineIndex(254);
    edit.SetSel(end, end);
    edit.ScrollCaret();
    const int64_t how = state.range(0);
    int n = 0;
    for (auto _ : state) {
        if (how == 1) marks[100].text = (++n % 2 != 0) ? "W01 - changed" : marks[99].text;
        if (how == 2) edit.ClearWarningMarks();
        edit.SetWarningMarks(marks);
        benchmark::DoNotOptimize(edit.grab());
    }
    if (edit.WarningLines().size() != 253) state.SkipWithError("the warnings are not on their lines");
}
BENCHMARK(BM_WarningMarks254)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// A key typed into the edit control as the keyboard types it.
void TypeKey(QWidget* target, char c) {
    const QString text(QChar::fromLatin1(c));
    const auto key = static_cast<Qt::Key>(QChar::fromLatin1(c).toUpper().unicode());
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
}

// "N12" typed at the open list of 253 labels after "N254 JMP " (the last
// statement of the programme, being written), the text painted after each key:
// the open list narrowed from what it offers (0), against the list
// collected from the whole text again at each key (1).
void BM_CompletionTyping254(benchmark::State& state) {
    Editor editor;
    SourceEdit& edit = *editor.Dlg().Edit();
    editor.Dlg().CodeView().SetLiveCheck(false);
    editor.Dlg().Analysis().SetWarnings(false);
    std::string text = Programme254(false);
    const std::string typing = "n254 jmp ";
    const size_t last = text.rfind("n254");
    text.replace(last, text.find('\r', last) - last, typing);
    edit.SetText(text);
    const int32_t at = edit.LineIndex(257) + static_cast<int32_t>(typing.size());
    QWidget* target = edit.focusProxy();
    const bool collect = state.range(0) == 1;
    for (auto _ : state) {
        state.PauseTiming();
        edit.HideCompletions();
        edit.SetSel(at, at + (edit.LineLength(257) - static_cast<int32_t>(typing.size())));
        edit.ReplaceSel("");
        editor.Dlg().OnCommand(ID_EDIT_COMPLETE);
        state.ResumeTiming();
        for (const char c : {'N', '1', '2'}) {
            if (collect) edit.HideCompletions();
            TypeKey(target, c);
            if (collect) editor.Dlg().OnCommand(ID_EDIT_COMPLETE);
            benchmark::DoNotOptimize(edit.grab());
        }
    }
    if (!edit.CompletionsShown() || editor.Dlg().Completion().Offered().size() != 10)
        state.SkipWithError("the list does not offer N120 to N129");
}
BENCHMARK(BM_CompletionTyping254)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The flow graph panel opening beside a 254-statement programme full of
// branches, up to its first paint.
void BM_FlowGraphOpen254(benchmark::State& state) {
    Editor editor;
    editor.Dlg().Edit()->SetText(bench::JumpProgramme());
    editor.Dlg().Analysis().ShowFlowGraph(false);
    for (auto _ : state) {
        editor.Dlg().Analysis().ShowFlowGraph(true);
        FlowPanel* panel = editor.Dlg().Analysis().FlowGraphPanel();
        benchmark::DoNotOptimize(panel->grab());
        state.PauseTiming();
        if (!panel->HasGraph()) state.SkipWithError("the panel drew no graph");
        editor.Dlg().Analysis().ShowFlowGraph(false);
        QApplication::processEvents();  // the closed dock goes
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FlowGraphOpen254)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // The settings file of the run stays out of the user's folder.
    QTemporaryDir config;
    setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
