// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/DryRunPanel.h"

#include <QAction>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdlib>

#include "base/Ascii.h"
#include "base/SafeWrite.h"
#include "base/TextFormat.h"
#include "base/WholeFile.h"
#include "platform/Dialogs.h"
#include "platform/Profile.h"
#include "platform/Text.h"

namespace plc {

using namespace sim;

namespace {

constexpr const char* kDryRunSection = "DryRun";
constexpr const char* kProfileKey = "Profile";

// A run goes on in slices of this many statements, until this much time
// has passed, then lets the window breathe.
constexpr uint64_t kSliceSteps = 5000;
constexpr int kSliceMs = 40;
// The trace lines kept for the view and the export (the oldest go first),
// and those the view shows.
constexpr size_t kKeptTraceLines = 200000;
constexpr int kShownTraceLines = 5000;

const char* const kProfileFilter = "Assumption profiles (*.ini)|*.ini|All files (*.*)|*.*|";
const char* const kStimuliFilter = "Stimuli (*.tsv)|*.tsv|All files (*.*)|*.*|";
const char* const kTraceFilter = "Traces (*.txt)|*.txt|All files (*.*)|*.*|";

// The folder part of a path; empty when it has none.
std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// The file name without folder and extension.
std::string StemOf(const std::string& path) {
    std::string name = path.substr(path.find_last_of('/') + 1);
    const size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

QTableWidgetItem* Cell(const std::string& text, bool editable = false) {
    auto* item = new QTableWidgetItem(ToQString(text));
    if (!editable) item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

}  // namespace

// ---------------------------------------------------------------- trace

// Keeps the trace lines as text: the newest kKeptTraceLines, and those not
// yet shown. The stop lines of the slices a run goes in are no stops of the
// run: only the last one is kept, for the run's end to add.
class DryRunPanel::Recorder : public TraceSink {
public:
    void Line(const TraceLine& line) override {
        if (line.kind == TraceLine::Kind::Stop) {
            stop = FormatTraceLine(line);
            return;
        }
        Keep(FormatTraceLine(line));
    }
    void Keep(std::string text) {
        // The view shows the newest lines only.
        if (fresh.size() >= 2 * static_cast<size_t>(kShownTraceLines))
            fresh.erase(fresh.begin(), fresh.begin() + kShownTraceLines);
        fresh.push_back(text);
        lines.push_back(std::move(text));
        if (lines.size() > kKeptTraceLines) {
            lines.pop_front();
            ++dropped;
        }
    }
    std::deque<std::string> lines;
    std::vector<std::string> fresh;
    size_t dropped = 0;
    std::string stop;
};

// ---------------------------------------------------------------- panel

DryRunPanel::DryRunPanel(Dialogs& dialogs, Hooks hooks, QWidget* parent)
    : QWidget(parent), m_dialogs(dialogs), m_hooks(std::move(hooks)), m_recorder(std::make_unique<Recorder>()) {
    setObjectName("dryRunPanel");
    BuildUi();
    const std::string remembered = Profile().GetString(kDryRunSection, kProfileKey, "");
    if (!remembered.empty() && FileExists(remembered)) {
        std::string text, why;
        AssumptionProfile profile;
        if (ReadWholeFile(remembered, text) && AssumptionProfile::Parse(text, profile, why)) {
            m_profile = std::move(profile);
            m_profilePath = remembered;
        }
    }
    ShowProfile();
}

DryRunPanel::~DryRunPanel() = default;

void DryRunPanel::BuildUi() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(3);

    // The banner: above everything, in every state of the panel.
    m_banner = new QLabel(ToQString(kBanner), this);
    m_banner->setObjectName("banner");
    m_banner->setAlignment(Qt::AlignCenter);
    m_banner->setStyleSheet(
        "QLabel { background: #ffd84d; color: #3a2a00; font-weight: bold; padding: 4px; border: 1px solid #b08a00; }");
    layout->addWidget(m_banner);

    auto* bar = new QToolBar(this);
    bar->setObjectName("dryRunBar");
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto action = [&](const char* name, const char* text, const char* key, const char* tip, auto handler) {
        QAction* a = bar->addAction(text);
        a->setObjectName(name);
        a->setShortcut(QKeySequence(key));
        a->setToolTip(QString("%1 (%2)").arg(tip, QKeySequence(key).toString(QKeySequence::NativeText)));
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    m_run = action("run", "Run", "F5", "Run on to a breakpoint, a halt or END", [this] { Run(); });
    m_step = action("step", "Step", "F10", "Run one statement", [this] { Step(); });
    m_pause = action("pause", "Pause", "Shift+F5", "Pause the run", [this] { Pause(); });
    m_reset = action("reset", "Reset", "Ctrl+Shift+F5", "Back to the start, with the profile and stimuli shown",
                     [this] { Reset(); });
    m_runToCaret = action("runToCaret", "Run to caret", "Ctrl+F10", "Run on until the caret's statement is next",
                          [this] { RunToCaret(); });
    m_breakpoint = action("breakpoint", "Breakpoint", "F9", "Set or clear a breakpoint on the caret's line "
                                                             "(or click the margin)",
                          [this] {
                              if (m_hooks.toggleBreakpoint) m_hooks.toggleBreakpoint();
                          });
    bar->addSeparator();
    bar->addWidget(new QLabel(" until t = ", bar));
    m_until = new QLineEdit(bar);
    m_until->setObjectName("until");
    m_until->setPlaceholderText("no limit");
    m_until->setMaximumWidth(90);
    m_until->setToolTip("Stop a run at this simulated time (milliseconds); empty: no limit");
    bar->addWidget(m_until);
    bar->addWidget(new QLabel(" ms", bar));
    layout->addWidget(bar);

    m_state = new QLabel(this);
    m_state->setObjectName("state");
    m_state->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_state);
    m_note = new QLabel(this);
    m_note->setObjectName("note");
    m_note->setWordWrap(true);
    m_note->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_note->hide();
    layout->addWidget(m_note);

    // The question for a drive command's outcome.
    m_prompt = new QFrame(this);
    m_prompt->setObjectName("outcomePrompt");
    m_prompt->setFrameShape(QFrame::StyledPanel);
    m_prompt->setStyleSheet("QFrame#outcomePrompt { background: #eaf2ff; }");
    auto* prompt = new QVBoxLayout(m_prompt);
    m_promptText = new QLabel(m_prompt);
    m_promptText->setWordWrap(true);
    prompt->addWidget(m_promptText);
    auto* choices = new QHBoxLayout;
    m_done = new QRadioButton("done", m_prompt);
    m_doneAfter = new QRadioButton("done after", m_prompt);
    m_afterMs = new QLineEdit("200", m_prompt);
    m_afterMs->setMaximumWidth(70);
    m_taken = new QRadioButton("taken, value", m_prompt);
    m_takenValue = new QLineEdit(m_prompt);
    m_takenValue->setMaximumWidth(90);
    m_notTaken = new QRadioButton("not taken", m_prompt);
    auto* answer = new QPushButton("Answer", m_prompt);
    answer->setObjectName("answer");
    choices->addWidget(m_done);
    choices->addWidget(m_doneAfter);
    choices->addWidget(m_afterMs);
    choices->addWidget(new QLabel("ms", m_prompt));
    choices->addWidget(m_taken);
    choices->addWidget(m_takenValue);
    choices->addWidget(m_notTaken);
    choices->addStretch(1);
    choices->addWidget(answer);
    prompt->addLayout(choices);
    connect(answer, &QPushButton::clicked, this, [this] { OnAnswer(); });
    m_prompt->hide();
    layout->addWidget(m_prompt);

    auto* profileRow = new QHBoxLayout;
    m_profileLabel = new QLabel(this);
    m_profileLabel->setObjectName("profile");
    m_profileLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* choose = new QPushButton("Profile...", this);
    choose->setToolTip("Choose the assumption profile: what the run assumes where the programme format fixes nothing");
    auto* none = new QPushButton("No profile", this);
    none->setToolTip("Assume nothing: every situation that needs a key halts the run");
    connect(choose, &QPushButton::clicked, this, [this] { ChooseProfile(); });
    connect(none, &QPushButton::clicked, this, [this] { ClearProfile(); });
    profileRow->addWidget(m_profileLabel, 1);
    profileRow->addWidget(choose);
    profileRow->addWidget(none);
    layout->addLayout(profileRow);

    auto* split = new QSplitter(Qt::Horizontal, this);
    m_variables = new QTableWidget(0, 3, split);
    m_variables->setObjectName("variables");
    m_variables->setHorizontalHeaderLabels({"Variable", "Name", "Value"});
    m_variables->verticalHeader()->hide();
    m_variables->horizontalHeader()->setStretchLastSection(true);
    m_variables->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_variables->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_variables->setToolTip("Every value the run has given so far; bold: changed by the last command");
    m_variables->verticalHeader()->setDefaultSectionSize(m_variables->fontMetrics().height() + 6);
    m_tabs = new QTabWidget(split);
    m_tabs->addTab(BuildTraceTab(), "Trace");
    m_tabs->addTab(BuildStimuliTab(), "Stimuli");
    m_profileTable = new QTableWidget(0, 3, m_tabs);
    m_profileTable->setObjectName("profileKeys");
    m_profileTable->setHorizontalHeaderLabels({"Key", "Value", "Decides"});
    m_profileTable->verticalHeader()->hide();
    m_profileTable->horizontalHeader()->setStretchLastSection(true);
    m_profileTable->verticalHeader()->setDefaultSectionSize(m_profileTable->fontMetrics().height() + 6);
    m_profileTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tabs->addTab(m_profileTable, "Profile");
    split->setStretchFactor(0, 2);
    split->setStretchFactor(1, 3);
    layout->addWidget(split, 1);
    UpdateView();
}

QWidget* DryRunPanel::BuildTraceTab() {
    auto* tab = new QWidget(this);
    auto* layout = new QVBoxLayout(tab);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* row = new QHBoxLayout;
    m_record = new QCheckBox("Record the trace", tab);
    m_record->setChecked(true);
    m_record->setToolTip("Off: the run is faster and keeps no trace");
    connect(m_record, &QCheckBox::toggled, this,
            [this](bool on) {
                if (m_machine) m_machine->SetTrace(on ? m_recorder.get() : nullptr);
            });
    auto* exportButton = new QPushButton("Export trace...", tab);
    connect(exportButton, &QPushButton::clicked, this, [this] { OnExportTrace(); });
    row->addWidget(m_record);
    row->addStretch(1);
    row->addWidget(exportButton);
    layout->addLayout(row);
    m_trace = new QPlainTextEdit(tab);
    m_trace->setObjectName("trace");
    m_trace->setReadOnly(true);
    m_trace->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_trace->setMaximumBlockCount(kShownTraceLines);
    m_trace->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    layout->addWidget(m_trace, 1);
    return tab;
}

QWidget* DryRunPanel::BuildStimuliTab() {
    auto* tab = new QWidget(this);
    auto* layout = new QVBoxLayout(tab);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* row = new QHBoxLayout;
    m_stimuliLabel = new QLabel(tab);
    auto button = [&](const char* text, const char* tip, auto handler) {
        auto* b = new QPushButton(text, tab);
        b->setToolTip(tip);
        connect(b, &QPushButton::clicked, this, handler);
        row->addWidget(b);
    };
    row->addWidget(m_stimuliLabel, 1);
    button("Open...", "Read a stimuli file (tab-separated)", [this] { OpenStimuli(); });
    button("Save as...", "Write the table as a stimuli file", [this] { SaveStimuli(); });
    button("Add row", "A row below the selected one", [this] {
        const int at = m_stimuli->currentRow() < 0 ? m_stimuli->rowCount() : m_stimuli->currentRow() + 1;
        m_stimuli->insertRow(at);
        m_stimuli->setCurrentCell(at, 0);
    });
    button("Remove row", "The selected row goes", [this] {
        if (m_stimuli->currentRow() >= 0) m_stimuli->removeRow(m_stimuli->currentRow());
    });
    layout->addLayout(row);
    m_stimuli = new QTableWidget(0, 3, tab);
    m_stimuli->setObjectName("stimuli");
    m_stimuli->setHorizontalHeaderLabels({"time (ms, #step) / outcome", "signal / pattern", "value / result"});
    m_stimuli->horizontalHeader()->setStretchLastSection(true);
    m_stimuli->verticalHeader()->setDefaultSectionSize(m_stimuli->fontMetrics().height() + 6);
    m_stimuli->setToolTip("time<TAB>signal<TAB>value, or outcome<TAB>PATTERN<TAB>RESULT; a row starting with ';' is a "
                          "comment. Changes apply at Reset.");
    connect(m_stimuli, &QTableWidget::itemChanged, this, [this] {
        if (!m_filling && m_loaded) SetNote("The stimuli changed: Reset applies them.", false);
    });
    connect(m_stimuli->model(), &QAbstractItemModel::rowsRemoved, this, [this] {
        if (!m_filling && m_loaded) SetNote("The stimuli changed: Reset applies them.", false);
    });
    layout->addWidget(m_stimuli, 1);
    return tab;
}

QList<QAction*> DryRunPanel::Actions() const { return {m_run, m_step, m_pause, m_reset, m_runToCaret, m_breakpoint}; }

// ---------------------------------------------------------------- the programme

void DryRunPanel::Load(const CPlcProgram& program, const std::string& documentPath) {
    Pause();
    m_program = program;
    m_loaded = true;
    m_documentPath = documentPath;
    // The stimuli of a programme file stand beside it: NAME.tsv or sim/NAME.tsv.
    const std::string folder = FolderOf(documentPath), stem = StemOf(documentPath);
    bool found = false;
    if (!folder.empty() && !stem.empty()) {
        for (const std::string& candidate : {JoinPath(folder, stem + ".tsv"), JoinPath(folder, "sim/" + stem + ".tsv")}) {
            if (FileExists(candidate)) {
                found = LoadStimuli(candidate);
                break;
            }
        }
    }
    if (!found && m_stimuliName.empty()) SetStimuliText({});
    SetNote({}, false);
    NewMachine();
}

void DryRunPanel::MarkTextChanged() {
    if (m_loaded) SetNote("The text changed since the dry run began: Simulate runs the new text.", false);
}

void DryRunPanel::NewMachine() {
    // A run in progress ends with its machine.
    m_running = false;
    m_pauseAsked = false;
    m_runTo = -1;
    Stimuli stimuli;
    std::string why;
    int row = -1;
    if (!ParseStimuli(stimuli, why, row)) {
        // The table as it stands cannot run: the run starts without it.
        stimuli = Stimuli{};
        SetNote("The stimuli are not used: row " + std::to_string(row + 1) + ": " + why, true);
    }
    m_machine = std::make_unique<Machine>(m_program, m_profile, std::move(stimuli));
    m_recorder = std::make_unique<Recorder>();
    m_machine->SetTrace(m_record->isChecked() ? m_recorder.get() : nullptr);
    for (const std::string& line :
         TraceHeader(m_documentPath, m_profilePath, m_profile, m_stimuliName.empty() ? "the panel's table" : m_stimuliName))
        m_recorder->Keep(line);
    m_trace->clear();
    m_before = m_machine->State();
    m_stopped = false;
    m_stop = {};
    m_prompt->hide();
    UpdateView();
}

bool DryRunPanel::Reset() {
    if (!m_loaded) return false;
    Pause();
    Stimuli stimuli;
    std::string why;
    int row = -1;
    if (!ParseStimuli(stimuli, why, row)) {
        SetNote("The stimuli have an error in row " + std::to_string(row + 1) + ": " + why +
                    " Nothing was reset.",
                true);
        m_tabs->setCurrentIndex(1);
        if (row >= 0) m_stimuli->setCurrentCell(row, 0);
        return false;
    }
    SetNote({}, false);
    NewMachine();
    return true;
}

// ---------------------------------------------------------------- running

void DryRunPanel::SyncBreakpoints() {
    std::vector<int32_t> lines = m_hooks.breakpointLines ? m_hooks.breakpointLines() : std::vector<int32_t>{};
    std::sort(lines.begin(), lines.end());
    for (int label = kFirstLabel; label <= kLastLabel; ++label) {
        const PlcInstr& record = m_program.Record(label);
        const bool on = record.used() == 1 && std::binary_search(lines.begin(), lines.end(), int32_t{record.line()});
        m_machine->SetBreakpoint(label, on || label == m_runTo);
    }
}

void DryRunPanel::Begin() {
    m_before = m_machine->State();
    m_stopped = false;
    SyncBreakpoints();
}

void DryRunPanel::Step() {
    if (!m_machine || m_running || AwaitingOutcome()) return;
    Begin();
    Finish(m_machine->Step());
}

void DryRunPanel::Run() {
    if (!m_machine || m_running || AwaitingOutcome()) return;
    StartRun(-1);
}

void DryRunPanel::StartRun(int runTo) {
    m_runTo = runTo;
    Begin();
    m_running = true;
    m_pauseAsked = false;
    UpdateView();
    RunChunks();
}

void DryRunPanel::RunToCaret() {
    if (!m_machine || m_running || AwaitingOutcome()) return;
    const int32_t line = m_hooks.caretLine ? m_hooks.caretLine() : -1;
    int label = -1;
    for (int r = kFirstLabel; r <= kLastLabel && label < 0; ++r)
        if (m_program.Record(r).used() == 1 && m_program.Record(r).line() == line) label = r;
    if (label < 0) {
        m_dialogs.Beep();
        SetNote("The caret's line holds no statement of the programme.", true);
        return;
    }
    StartRun(label);
}

void DryRunPanel::Pause() {
    if (m_running) m_pauseAsked = true;
}

// Runs in slices until the run stops for one of its own reasons; between
// slices the window handles its events (Pause among them).
void DryRunPanel::RunChunks() {
    if (!m_running || !m_machine) return;
    Limits limits;
    int64_t until = kNoTime;
    if (const std::string text = ToBytes(m_until->text().trimmed()); !text.empty() && !ParseMs(text, until)) {
        m_running = false;
        SetNote("'until t' takes milliseconds, up to three decimals.", true);
        UpdateView();
        return;
    }
    limits.untilUs = until;
    QElapsedTimer clock;
    clock.start();
    StopInfo stop;
    for (;;) {
        if (m_pauseAsked) {
            stop = {StopKind::Paused, "paused"};
            break;
        }
        limits.maxSteps = m_machine->State().steps + kSliceSteps;
        stop = m_machine->Run(limits);
        if (stop.kind != StopKind::StepLimit) break;
        // A slice that ends just before a breakpoint ends the run there: the
        // next slice would start on it and go past.
        const int pc = m_machine->State().pc;
        if (m_machine->State().run == RunState::Paused && m_machine->IsBreakpoint(pc)) {
            stop = {StopKind::Breakpoint, "breakpoint at " + LabelText(pc)};
            break;
        }
        if (clock.elapsed() >= kSliceMs) {
            UpdateView();
            QTimer::singleShot(0, this, [this] { RunChunks(); });
            return;
        }
    }
    m_running = false;
    Finish(stop);
}

void DryRunPanel::Finish(const StopInfo& stop) {
    m_stop = stop;
    m_stopped = true;
    // A step that ran its statement is no stop worth a line.
    const bool stepped = stop.kind == StopKind::StepLimit;
    if (stepped) m_stop.text.clear();
    if (m_runTo >= 0) {
        m_runTo = -1;
        SyncBreakpoints();
    }
    if (stop.kind == StopKind::AwaitingOutcome) {
        if (const DriveEvent* event = m_machine->Pending()) ShowPrompt(*event);
    } else if (!m_recorder->stop.empty() && !stepped) {
        m_recorder->Keep(m_recorder->stop);
    }
    m_recorder->stop.clear();
    UpdateView();
}

// ---------------------------------------------------------------- outcomes

bool DryRunPanel::AwaitingOutcome() const { return m_machine && m_machine->Pending() != nullptr; }

void DryRunPanel::ShowPrompt(const DriveEvent& event) {
    std::string reads;
    for (const NamedValue& v : event.reads) reads += (reads.empty() ? "" : ", ") + v.name + "=" + FormatNum(v.value);
    std::string text = LabelText(event.label) + " " + event.statement + (reads.empty() ? "" : "  (" + reads + ")") +
                       "\nis a drive command: the dry run does not know what the drive does. What is its outcome?";
    m_promptText->setText(ToQString(text));
    m_done->setVisible(!event.branch);
    m_doneAfter->setVisible(!event.branch);
    m_afterMs->setVisible(!event.branch);
    m_taken->setVisible(event.branch);
    m_takenValue->setVisible(event.branch);
    m_notTaken->setVisible(event.branch);
    m_taken->setText(event.stores.empty() ? "taken" : ToQString("taken, " + event.stores + " ="));
    m_takenValue->setVisible(event.branch && !event.stores.empty());
    (event.branch ? m_notTaken : m_done)->setChecked(true);
    m_prompt->show();
}

void DryRunPanel::OnAnswer() {
    std::string text;
    const DriveEvent* event = m_machine ? m_machine->Pending() : nullptr;
    if (event == nullptr) return;
    if (m_done->isChecked() && !event->branch) text = "done";
    else if (m_doneAfter->isChecked() && !event->branch) text = "done after " + ToBytes(m_afterMs->text().trimmed()) + " ms";
    else if (m_notTaken->isChecked()) text = "not taken";
    else if (m_taken->isChecked())
        text = event->stores.empty() ? "taken" : "taken " + event->stores + "=" + ToBytes(m_takenValue->text().trimmed());
    if (!text.empty()) Answer(text);
}

bool DryRunPanel::Answer(const std::string& outcomeText) {
    if (!AwaitingOutcome()) return false;
    Outcome outcome;
    std::string why;
    if (!ParseOutcome(outcomeText, outcome, why)) {
        SetNote("'" + outcomeText + "' is no outcome: " + why, true);
        return false;
    }
    m_prompt->hide();
    SetNote({}, false);
    m_machine->Answer(outcome);
    if (m_machine->State().run == RunState::Halted) {
        Finish({StopKind::Halted, m_machine->State().reason});
        return true;
    }
    m_stop = {StopKind::Paused, "answered: " + outcomeText};
    UpdateView();
    return true;
}

// ---------------------------------------------------------------- profile

void DryRunPanel::ChooseProfile() {
    std::string chosen;
    if (!m_dialogs.OpenFileName(window(), {StartFolder(m_profilePath), kProfileFilter, "ini"}, chosen)) return;
    LoadProfile(chosen);
}

bool DryRunPanel::LoadProfile(const std::string& path) {
    std::string text, why;
    AssumptionProfile profile;
    if (!ReadWholeFile(path, text)) {
        ShowError(m_dialogs, window(), "The assumption profile cannot be read:\n" + path);
        return false;
    }
    if (!AssumptionProfile::Parse(text, profile, why)) {
        ShowError(m_dialogs, window(), "The assumption profile is not used.\n" + path + ", line " + why);
        return false;
    }
    m_profile = std::move(profile);
    m_profilePath = path;
    Profile().WriteString(kDryRunSection, kProfileKey, path);
    ShowProfile();
    if (m_loaded) NewMachine();
    return true;
}

void DryRunPanel::ClearProfile() {
    m_profile = AssumptionProfile{};
    m_profilePath.clear();
    Profile().DeleteKey(kDryRunSection, kProfileKey);
    ShowProfile();
    if (m_loaded) NewMachine();
}

void DryRunPanel::ShowProfile() {
    const std::string keys = m_profile.Text();
    m_profileLabel->setText(
        m_profilePath.empty()
            ? QString("Profile: none. Where the programme format fixes nothing, the run halts and names the key it needs.")
            : "Profile: " + FileNameToQString(m_profilePath));
    m_profileLabel->setToolTip(ToQString(keys.empty() ? std::string("no keys given") : keys));
    const auto table = ProfileKeys();
    m_profileTable->setRowCount(static_cast<int>(table.size()));
    int row = 0;
    for (const ProfileKey& key : table) {
        std::string value;
        if (key.type == KeyType::Convention) {
            value = "always";
        } else if (m_profile.Has(key.id)) {
            const std::string described = m_profile.Describe(key.id);
            value = described.substr(described.find('=') + 1);
        } else {
            value = "(not given: halts where it is needed)";
        }
        m_profileTable->setItem(row, 0, Cell(std::string(key.key)));
        m_profileTable->setItem(row, 1, Cell(value));
        m_profileTable->setItem(row, 2, Cell(std::string(key.what)));
        ++row;
    }
    m_profileTable->resizeColumnsToContents();
}

// ---------------------------------------------------------------- stimuli

bool DryRunPanel::LoadStimuli(const std::string& path) {
    std::string text;
    if (!ReadWholeFile(path, text)) {
        ShowError(m_dialogs, window(), "The stimuli cannot be read:\n" + path);
        return false;
    }
    SetStimuliText(text);
    m_stimuliName = path;
    m_stimuliLabel->setText("From " + FileNameToQString(path));
    return true;
}

void DryRunPanel::SetStimuliText(std::string_view bytes) {
    m_stimuliLegacy = !IsUtf8(bytes);
    const std::string utf8 = AsUtf8(bytes);
    const std::string_view text = utf8;
    m_filling = true;
    m_stimuli->setRowCount(0);
    m_stimuliName.clear();
    m_stimuliLabel->setText("Typed in the table");
    size_t at = 0;
    bool first = true;
    while (at < text.size()) {
        size_t end = text.find_first_of("\r\n", at);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(at, end - at);
        at = end;
        if (at < text.size() && text[at] == '\r') ++at;
        if (at < text.size() && text[at] == '\n') ++at;
        // The table has its own header.
        if (first && EqualsIgnoreCase(std::string(TrimBlanks(line)), "time\tsignal\tvalue")) {
            first = false;
            continue;
        }
        first = false;
        const int row = m_stimuli->rowCount();
        m_stimuli->insertRow(row);
        if (!line.empty() && TrimBlanks(line).substr(0, 1) == ";") {
            m_stimuli->setItem(row, 0, Cell(std::string(line), true));
            continue;
        }
        for (int column = 0; column < 3; ++column) {
            const size_t tab = column < 2 ? line.find('\t') : std::string_view::npos;
            m_stimuli->setItem(row, column, Cell(std::string(line.substr(0, tab)), true));
            line = tab == std::string_view::npos ? std::string_view() : line.substr(tab + 1);
        }
    }
    m_stimuli->resizeColumnsToContents();
    m_filling = false;
}

std::string DryRunPanel::StimuliText() const {
    std::string text;
    for (int row = 0; row < m_stimuli->rowCount(); ++row) {
        std::string cells[3];
        for (int column = 0; column < 3; ++column)
            if (const QTableWidgetItem* item = m_stimuli->item(row, column)) cells[column] = ToBytes(item->text());
        if (!cells[0].empty() && TrimBlanks(cells[0]).substr(0, 1) == ";")
            text += cells[0];
        else if (!TrimBlanks(cells[0]).empty() || !TrimBlanks(cells[1]).empty() || !TrimBlanks(cells[2]).empty())
            text += cells[0] + "\t" + cells[1] + "\t" + cells[2];
        text += "\n";
    }
    std::string legacy;
    size_t bad = 0;
    return m_stimuliLegacy && Utf8ToWindows1252(text, legacy, bad) ? legacy : text;
}

bool DryRunPanel::ParseStimuli(Stimuli& out, std::string& why, int& row) const {
    std::string error;
    if (Stimuli::Parse(StimuliText(), &m_program, out, error)) return true;
    // "LINE: why", a line per row.
    const size_t colon = error.find(':');
    row = colon == std::string::npos ? -1 : std::atoi(error.substr(0, colon).c_str()) - 1;
    why = colon == std::string::npos ? error : std::string(TrimBlanks(error.substr(colon + 1)));
    return false;
}

void DryRunPanel::OpenStimuli() {
    std::string chosen;
    if (!m_dialogs.OpenFileName(window(), {StartFolder(m_stimuliName), kStimuliFilter, "tsv"}, chosen)) return;
    if (LoadStimuli(chosen) && m_loaded) SetNote("The stimuli changed: Reset applies them.", false);
}

void DryRunPanel::SaveStimuli() {
    std::string chosen;
    if (!m_dialogs.SaveFileName(window(), {StartFolder(m_stimuliName), kStimuliFilter, "tsv"}, chosen)) return;
    std::string why;
    if (!WriteFileSafely(chosen, "time\tsignal\tvalue\n" + StimuliText(), &why)) {
        ShowError(m_dialogs, window(), "The stimuli could not be written to\n" + chosen + "\n" + why);
        return;
    }
    m_stimuliName = chosen;
    m_stimuliLabel->setText("From " + FileNameToQString(chosen));
}

// ---------------------------------------------------------------- trace

std::string DryRunPanel::TraceText() const {
    std::string text;
    if (m_recorder->dropped > 0)
        text += "(the first " + std::to_string(m_recorder->dropped) + " lines of this trace were not kept)\n";
    for (const std::string& line : m_recorder->lines) text += line + "\n";
    return text;
}

bool DryRunPanel::ExportTrace(const std::string& path, std::string* why) {
    return WriteFileSafely(path, TraceText(), why);
}

void DryRunPanel::OnExportTrace() {
    std::string chosen;
    if (!m_dialogs.SaveFileName(window(), {StartFolder(), kTraceFilter, "txt"}, chosen)) return;
    std::string why;
    if (!ExportTrace(chosen, &why)) ShowError(m_dialogs, window(), "The trace could not be written to\n" + chosen + "\n" + why);
}

// ---------------------------------------------------------------- view

std::string DryRunPanel::StopText() const { return m_stopped ? m_stop.text : std::string(); }

std::string DryRunPanel::StartFolder(const std::string& current) const {
    if (!current.empty()) return FolderOf(current);
    const std::string folder = FolderOf(m_documentPath);
    return folder.empty() ? std::string("./") : folder;
}

void DryRunPanel::SetNote(const std::string& text, bool error) {
    m_note->setText(ToQString(text));
    m_note->setStyleSheet(error ? "QLabel { color: #b00000; }" : "QLabel { color: #6e4800; }");
    m_note->setVisible(!text.empty());
}

void DryRunPanel::UpdateView() {
    const bool ready = m_machine != nullptr && !m_running;
    const bool awaiting = AwaitingOutcome();
    const MachineState* s = m_machine ? &m_machine->State() : nullptr;
    const bool over = s != nullptr && (s->run == RunState::Halted || s->run == RunState::Ended);
    m_run->setEnabled(ready && !awaiting && !over);
    m_step->setEnabled(ready && !awaiting && !over);
    m_runToCaret->setEnabled(ready && !awaiting && !over);
    m_pause->setEnabled(m_running);
    m_reset->setEnabled(m_machine != nullptr && !m_running);
    m_breakpoint->setEnabled(m_loaded);
    if (s == nullptr) {
        m_state->setText("Nothing loaded: Simulate compiles the text and loads it here.");
        return;
    }

    // Where the run stands.
    const int pc = s->pc;
    std::string where = pc == kEndRecord ? "END" : pc == kEntryRecord ? "%P00" : LabelText(pc) + " " + m_machine->Statement(pc);
    const char* state = m_running                                ? "running"
                        : s->run == RunState::Waiting           ? "waiting"
                        : s->run == RunState::AwaitingOutcome   ? "waiting for an outcome"
                        : s->run == RunState::Halted            ? "halted"
                        : s->run == RunState::Ended             ? "ended"
                                                                : "paused";
    std::string line = "t = " + FormatMs(s->timeUs) + " ms   step " + std::to_string(s->steps) + "   " + state +
                       "   next: " + where;
    if (m_stopped && !m_stop.text.empty() && !m_running) line += "\n" + m_stop.text;
    m_state->setText(ToQString(line));
    m_state->setStyleSheet(m_stopped && m_stop.kind == StopKind::Halted ? "QLabel { color: #b00000; }" : "");
    if (m_hooks.showNext) {
        const bool shown = pc > kEntryRecord && pc < kEndRecord;
        m_hooks.showNext(shown ? pc : -1, shown ? m_machine->SourceLine() : -1);
    }
    if (m_running) return;

    // The values, those the last command changed in bold.
    const std::vector<Watch> watches = m_machine->Watches(m_before);
    m_variables->setRowCount(static_cast<int>(watches.size()));
    QFont bold = m_variables->font();
    bold.setBold(true);
    int row = 0;
    for (const Watch& w : watches) {
        QTableWidgetItem* cells[] = {Cell(w.name), Cell(w.defName), Cell(w.value)};
        for (int column = 0; column < 3; ++column) {
            if (w.changed) {
                cells[column]->setFont(bold);
                cells[column]->setBackground(QColor(0xff, 0xf0, 0xb3));
            }
            cells[column]->setData(Qt::UserRole, w.changed);
            m_variables->setItem(row, column, cells[column]);
        }
        ++row;
    }

    // The trace lines not yet shown.
    if (!m_recorder->fresh.empty()) {
        std::string text;
        const size_t from = m_recorder->fresh.size() > static_cast<size_t>(kShownTraceLines)
                                ? m_recorder->fresh.size() - kShownTraceLines
                                : 0;
        for (size_t i = from; i < m_recorder->fresh.size(); ++i) text += (i > from ? "\n" : "") + m_recorder->fresh[i];
        m_recorder->fresh.clear();
        m_trace->appendPlainText(ToQString(text));
    }
}

}  // namespace plc
