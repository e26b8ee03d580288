// SPDX-License-Identifier: GPL-3.0-or-later
// The dry-run panel: the programme's logic run without a drive, step by
// step or on to a breakpoint, honestly labelled — the banner "dry run of
// the programme's logic — not a model of the drive" stands above
// everything and cannot be hidden.
//
// The panel holds the dry run of one compiled programme (sim::Machine)
// with the assumption profile it was given (chosen from a file and shown
// key by key) and the stimuli (an editable table of timed signal values and
// outcome rows, read from and saved to a tab-separated file). It runs, steps,
// pauses, resets and runs to the caret's statement; it shows the variables
// with their DEF names, the values the last command changed marked; it asks
// for the outcome of each drive command the stimuli do not answer; it keeps
// the trace and exports it as text. Nothing of it reaches the device: the
// panel knows no host and writes no programme file.
//
// The editor part (EditorDryRun) gives it what it needs of the text: the
// breakpoints of the margin, the caret's line, and where to show the
// statement that runs next.
#pragma once

#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "image/PlcProgram.h"
// The machine state has a member named as Qt's keyword `signals`.
#pragma push_macro("signals")
#undef signals
#include "sim/Machine.h"
#pragma pop_macro("signals")

class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QTableWidget;
class QTabWidget;

namespace plc {

class Dialogs;

class DryRunPanel : public QWidget {
    Q_OBJECT
public:
    // What the panel asks of the editor.
    struct Hooks {
        std::function<std::vector<int32_t>()> breakpointLines;  // lines with a breakpoint
        std::function<int32_t()> caretLine;
        std::function<void()> toggleBreakpoint;                   // at the caret's line
        std::function<void(int record, int32_t line)> showNext;  // -1, -1: nothing runs next
    };

    DryRunPanel(Dialogs& dialogs, Hooks hooks, QWidget* parent = nullptr);
    ~DryRunPanel() override;

    // A compiled programme to run, from its start; `documentPath` is the
    // text's file (its stimuli are looked for beside it: NAME.tsv, or
    // sim/NAME.tsv).
    void Load(const CPlcProgram& program, const std::string& documentPath);
    // The text changed after Load: its lines may no longer be the
    // programme's.
    void MarkTextChanged();

    // ---- commands ----
    void Run();
    void Step();
    void Pause();
    // Back to the start with the profile and the stimuli as they stand now.
    // False, and nothing reset, when the stimuli table has a faulty row.
    bool Reset();
    // Runs on until the statement on the caret's line is next.
    void RunToCaret();
    bool Running() const { return m_running; }
    // Run, Step, Pause, Reset, Run to caret, Breakpoint: with their keys.
    QList<QAction*> Actions() const;

    // ---- profile ----
    // Reads an assumption profile and resets with it; a faulty one is
    // refused with a message naming its line, the old profile stays.
    bool LoadProfile(const std::string& path);
    void ClearProfile();

    // ---- stimuli ----
    bool LoadStimuli(const std::string& path);
    // The table as a stimuli file (one line per row), in the encoding the
    // table was given (Windows-1252 stays so while it can hold the text).
    std::string StimuliText() const;
    void SetStimuliText(std::string_view text);

    // ---- drive-command outcomes ----
    bool AwaitingOutcome() const;
    // Answers the command waiting ("done", "done after 200 ms", "taken
    // H004=17", "not taken"); false with a message for an answer that is
    // no outcome.
    bool Answer(const std::string& outcome);

    // ---- trace ----
    // The trace as text: the header, then every line kept. False with `why`
    // when the file cannot be written (it is then unchanged).
    bool ExportTrace(const std::string& path, std::string* why = nullptr);
    std::string TraceText() const;

    const sim::Machine* Engine() const { return m_machine.get(); }
    // Why the last command stopped ("breakpoint at N050", a halt's reason).
    std::string StopText() const;

private:
    class Recorder;

    void BuildUi();
    QWidget* BuildStimuliTab();
    QWidget* BuildTraceTab();
    void NewMachine();
    bool ParseStimuli(sim::Stimuli& out, std::string& why, int& row) const;
    void SyncBreakpoints();
    void Begin();
    // Runs on in slices; `runTo` is a label to stop before, or -1.
    void StartRun(int runTo);
    void RunChunks();
    void Finish(const sim::StopInfo& stop);
    void UpdateView();
    void ShowProfile();
    void ShowPrompt(const sim::DriveEvent& event);
    void ChooseProfile();
    void OpenStimuli();
    void SaveStimuli();
    void OnExportTrace();
    void OnAnswer();
    void SetNote(const std::string& text, bool error);
    // The folder a file dialog starts in: that of `current` (the file it
    // chose last), else the document's, else the current folder.
    std::string StartFolder(const std::string& current = {}) const;

    Dialogs& m_dialogs;
    Hooks m_hooks;

    CPlcProgram m_program;
    bool m_loaded = false;
    std::string m_documentPath;
    std::string m_profilePath;
    sim::AssumptionProfile m_profile;
    std::string m_stimuliName;  // the file the table came from; empty when none
    bool m_stimuliLegacy = false;  // the table came as Windows-1252 bytes
    std::unique_ptr<sim::Machine> m_machine;
    std::unique_ptr<Recorder> m_recorder;
    sim::MachineState m_before;  // the state before the last command
    sim::StopInfo m_stop;
    bool m_stopped = false;  // m_stop is a stop of this machine

    // Running: in chunks, so that the window stays responsive.
    bool m_running = false;
    bool m_pauseAsked = false;
    int m_runTo = -1;  // the label a run to the caret stops before

    QLabel* m_banner = nullptr;
    QAction* m_run = nullptr;
    QAction* m_step = nullptr;
    QAction* m_pause = nullptr;
    QAction* m_reset = nullptr;
    QAction* m_runToCaret = nullptr;
    QAction* m_breakpoint = nullptr;
    QLineEdit* m_until = nullptr;
    QLabel* m_state = nullptr;
    QLabel* m_note = nullptr;
    QLabel* m_profileLabel = nullptr;
    QFrame* m_prompt = nullptr;
    QLabel* m_promptText = nullptr;
    QRadioButton* m_done = nullptr;
    QRadioButton* m_doneAfter = nullptr;
    QLineEdit* m_afterMs = nullptr;
    QRadioButton* m_taken = nullptr;
    QLineEdit* m_takenValue = nullptr;
    QRadioButton* m_notTaken = nullptr;
    QTableWidget* m_variables = nullptr;
    QTabWidget* m_tabs = nullptr;
    QTableWidget* m_stimuli = nullptr;
    QLabel* m_stimuliLabel = nullptr;
    QTableWidget* m_profileTable = nullptr;
    QPlainTextEdit* m_trace = nullptr;
    QCheckBox* m_record = nullptr;
    bool m_filling = false;  // the stimuli table is being filled, not edited
};

}  // namespace plc
