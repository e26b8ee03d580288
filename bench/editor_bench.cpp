// SPDX-License-Identifier: GPL-3.0-or-later
// The edit control's costly paths on the real editor window: Replace all of
// 2,000 hits in a 30,000-character text, Renum of a 254-statement programme,
// one live check of it (compile in memory, colouring and markers), and
// View › Flow graph opening on a programme of 254 jumps (compile, analysis,
// Graphviz layout, the drawing, its first paint). Offscreen unless
// QT_QPA_PLATFORM says otherwise; on an X display (QT_QPA_PLATFORM=xcb
// DISPLAY=...) every request the edits make of the window is a round trip to
// the server, which the offscreen run cannot show.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
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
