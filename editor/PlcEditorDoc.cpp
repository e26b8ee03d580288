// The editor's document: the source text in the edit control, the name of
// its file ("PlcPrg" while it has none) and its change flag; New, Open,
// Save, Save as, Recent file, the save question and the close sequence.
//
// Source files hold the text exactly as the edit control does: 8-bit
// characters, lines separated by CR LF. A line that ends in a bare LF is
// read as a line all the same and gets CR LF in the control. Files are
// written through a temporary file that replaces the old one only when
// every write succeeded.
#include <QAction>
#include <QMenu>
#include <QPointer>
#include <algorithm>
#include <vector>

#include "base/SafeWrite.h"
#include "base/WholeFile.h"
#include "editor/EditorWindow.h"
#include "editor/HostLink.h"
#include "editor/PlcEditorDlg.h"
#include "editor/RecoveryCopy.h"
#include "platform/Dialogs.h"
#include "platform/MessageList.h"
#include "platform/Profile.h"
#include "platform/SourceEdit.h"
#include "platform/Text.h"
#include "resources/StringTable.h"

namespace plc {

namespace {

constexpr const char* kNoRecentFile = "?";
// The Recent file menu lists at most this many files: the one open when the
// editor last closed, then the files opened and saved since, newest first.
constexpr int kRecentFiles = 8;

std::string RecentKey(int index) { return "Recent" + std::to_string(index + 1); }

std::vector<std::string> ReadRecentFiles(const Profile& settings) {
    std::vector<std::string> files;
    for (int i = 0; i < kRecentFiles; ++i) {
        std::string name = settings.GetString("Menu", RecentKey(i), "");
        if (!name.empty()) files.push_back(std::move(name));
    }
    return files;
}

FileDialogRequest FileRequest(const std::string& directory) {
    return {directory, LoadString(kIdsFileFilter), "plc"};
}

// The directory part of a path with its trailing separator.
std::string DirectoryPart(const std::string& path) {
    const size_t sep = path.find_last_of("/\\");
    return sep == std::string::npos ? std::string("./") : path.substr(0, sep + 1);
}

// "&" in a file name is shown, not taken as a mnemonic.
QString MenuText(const std::string& text) {
    return FileNameToQString(text).replace(QLatin1Char('&'), QLatin1String("&&"));
}

// A file's bytes as the edit control's text: CR LF, a bare LF and a lone CR
// each end a line, and every line end becomes CR LF, the control's own, so
// that a later Save writes one style throughout. Reading stops before a line
// when the text already holds more than kMaxDocumentSize characters.
std::string SourceTextOf(const std::string& data) {
    std::string text;
    size_t pos = 0;
    while (pos < data.size()) {
        if (text.size() > static_cast<size_t>(kMaxDocumentSize)) break;
        const size_t end = data.find_first_of("\r\n", pos);
        if (end == std::string::npos) {
            text.append(data, pos, std::string::npos);
            break;
        }
        text.append(data, pos, end - pos);
        text += "\r\n";
        pos = end + (data[end] == '\r' && end + 1 < data.size() && data[end + 1] == '\n' ? 2 : 1);
    }
    return text;
}

}  // namespace

std::string& CPlcEditorDlg::OpenDirectory() {
    static std::string directory;
    return directory;
}

std::string& CPlcEditorDlg::SaveDirectory() {
    static std::string directory;
    return directory;
}

std::string CPlcEditorDlg::StartFolder(const std::string& remembered) const {
    // Until a dialog has chosen a folder, the dialogs start in the folder of
    // the current document, else in the current folder.
    if (!remembered.empty()) return remembered;
    return m_strFileName != kNoFileName ? DirectoryPart(m_strFileName) : std::string("./");
}

void CPlcEditorDlg::ShowError(const std::string& text) {
    m_dialogs.Ask(Window(), text, MsgButtons::Ok, MsgIcon::Stop);
}

bool CPlcEditorDlg::AskSaveChanges() {
    if (!m_bModified) return true;
    switch (m_dialogs.Ask(Window(), LoadString(kIdsSaveQuestion), MsgButtons::YesNoCancel,
                          MsgIcon::Question)) {
        case MsgAnswer::Yes: return SaveUnderCurrentName();
        case MsgAnswer::No: return true;
        default: return false;
    }
}

bool CPlcEditorDlg::SaveUnderCurrentName() {
    return m_strFileName == kNoFileName ? SaveDocument(true, {}) : SaveDocument(false, m_strFileName);
}

bool CPlcEditorDlg::NewDocument() {
    if (!m_editSource) return false;
    if (!AskSaveChanges()) return false;
    m_editSource->SetText({});
    m_strFileName = kNoFileName;
    m_bModified = false;
    m_listMessages->Clear();
    return true;
}

void CPlcEditorDlg::RememberRecentFile(const std::string& name) {
    Profile settings;
    std::vector<std::string> files = ReadRecentFiles(settings);
    std::erase(files, name);
    files.insert(files.begin(), name);
    files.resize(std::min<size_t>(files.size(), kRecentFiles));
    std::vector<Profile::Entry> entries;
    for (int i = 0; i < kRecentFiles; ++i)
        entries.push_back({RecentKey(i), i < static_cast<int>(files.size()) ? files[static_cast<size_t>(i)] : ""});
    settings.WriteStrings("Menu", entries);
    SetupRecentFile();
}

bool CPlcEditorDlg::OpenDocument(bool prompt, const std::string& fileName) {
    if (!m_editSource) return false;
    // Names from the host and the settings may separate folders by "\".
    std::string name = NormalizeSeparators(fileName);
    if (prompt) {
        std::string chosen;
        if (!m_dialogs.OpenFileName(Window(), FileRequest(StartFolder(OpenDirectory())), chosen)) return false;
        OpenDirectory() = DirectoryPart(chosen);
        name = chosen;
    }
    std::string data;
    if (!ReadWholeFile(name, data)) {
        ShowError(LoadString(kIdsErrorOpening) + name);
        return false;
    }
    const std::string text = SourceTextOf(data);
    const bool cut = text.size() > static_cast<size_t>(kMaxDocumentSize);
    if (text.size() < static_cast<size_t>(kMaxDocumentSize)) {
        m_editSource->SetText(text);
    } else {
        m_editSource->SetText(std::string_view(text).substr(0, kMaxDocumentSize));
        m_dialogs.Ask(Window(), LoadString(cut ? kIdsFileCut : kIdsMaxSize), MsgButtons::Ok,
                      MsgIcon::None);
    }
    if (cut) {
        // Only part of the file is in the control: the document must not
        // carry the file's name, or the next Save would destroy the rest.
        // Unnamed and modified, Save asks for a new name.
        m_strFileName = kNoFileName;
        m_bModified = true;
    } else {
        m_strFileName = name;
        m_bModified = false;
        RememberRecentFile(name);
    }
    m_listMessages->Clear();
    return true;
}

bool CPlcEditorDlg::SaveDocument(bool prompt, const std::string& fileName) {
    if (!m_editSource) return false;
    std::string name = fileName;
    if (prompt) {
        std::string chosen;
        if (!m_dialogs.SaveFileName(Window(), FileRequest(StartFolder(SaveDirectory())), chosen)) return false;
        SaveDirectory() = DirectoryPart(chosen);
        name = chosen;
    }
    std::string why;
    if (!WriteFileSafely(name, m_editSource->GetText(), &why)) {
        // The system's message first, the reason on a line of its own.
        ShowError(LoadString(kIdsErrorSaving) + name + "\n" + why);
        return false;
    }
    m_strFileName = name;
    m_bModified = false;
    RememberRecentFile(name);
    return true;
}

void CPlcEditorDlg::OpenSourceFile(const std::string& fileName) {
    // Without a window there is nothing to show the text in.
    if (!m_editSource) return;
    // The host opens without a question: a changed text is kept as a
    // recovery copy first, named in the message list once the file is open.
    const std::string copy = KeepRecoveryCopy();
    OpenDocument(false, fileName);
    if (!copy.empty() && m_listMessages != nullptr) m_listMessages->Append(copy);
}

std::string CPlcEditorDlg::KeepRecoveryCopy() {
    if (!m_editSource || !IsModified()) return {};
    std::string why;
    const std::string path = WriteRecoveryCopy(m_strFileName, m_editSource->GetText(), why);
    return path.empty() ? "The changed text could not be kept as a recovery copy: " + why
                        : "The changed text was kept as a recovery copy: " + path;
}

void CPlcEditorDlg::OnFileNew() { NewDocument(); }

void CPlcEditorDlg::OnFileOpen() {
    if (!AskSaveChanges()) return;
    OpenDocument(true, {});
}

void CPlcEditorDlg::OnFileSave() { SaveUnderCurrentName(); }

void CPlcEditorDlg::OnFileSaveAs() { SaveDocument(true, {}); }

void CPlcEditorDlg::SetupRecentFile() {
    const Profile settings;
    const std::string last = settings.GetString("Menu", "LastPath", kNoRecentFile);
    SetRecentEntry(last);
    if (!m_recentMenu) return;
    for (QAction* action : m_recentEntries) delete action;
    m_recentEntries.clear();
    int shown = last != kNoRecentFile ? 1 : 0;
    for (const std::string& name : ReadRecentFiles(settings)) {
        if (name == last || shown >= kRecentFiles) continue;
        QAction* action = m_recentMenu->addAction(MenuText(name));
        connect(action, &QAction::triggered, this, [this, name] { OpenRecentFile(name); });
        m_recentEntries.push_back(action);
        ++shown;
    }
}

void CPlcEditorDlg::OpenRecentFile(const std::string& name) {
    if (!AskSaveChanges()) return;
    OpenDocument(false, name);
}

void CPlcEditorDlg::SetRecentEntry(const std::string& text) {
    if (!m_recentAction) return;
    m_recentAction->setText(MenuText(text));
    m_recentAction->setEnabled(text != kNoRecentFile);
}

void CPlcEditorDlg::OnFileRecent() {
    if (!AskSaveChanges()) return;
    const std::string path = Profile().GetString("Menu", "LastPath", kNoRecentFile);
    if (!OpenDocument(false, path)) {
        Profile().WriteString("Menu", "LastPath", kNoRecentFile);
        SetRecentEntry(kNoRecentFile);
    }
}

void CPlcEditorDlg::CloseEditor() {
    if (!m_window) return;
    Window()->activateWindow();
    Window()->setFocus();
    if (!AskSaveChanges()) return;
    if (m_strFileName != kNoFileName) Profile().WriteString("Menu", "LastPath", m_strFileName);
    // The host's handler runs inside the event and may even release the
    // control, and with it this object.
    QPointer<CPlcEditorDlg> self(this);
    if (m_pControl) m_pControl->FirePlcOnCancel();
    if (self) DestroyWindow();
}

}  // namespace plc
