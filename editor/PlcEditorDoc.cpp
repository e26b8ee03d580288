// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/PlcEditorDoc.h"

#include <QAction>
#include <QMenu>
#include <QWidget>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "base/ByteOrderMark.h"
#include "base/SafeWrite.h"
#include "base/WholeFile.h"
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

std::vector<std::string> ReadRecentFiles(const ProfileEntries& settings) {
    std::vector<std::string> files;
    for (int i = 0; i < kRecentFiles; ++i) {
        std::string name = settings.GetString("Menu", RecentKey(i), "");
        if (!name.empty()) files.push_back(std::move(name));
    }
    return files;
}

void WriteRecentFiles(ProfileEntries& settings, std::vector<std::string> files) {
    files.resize(std::min<size_t>(files.size(), kRecentFiles));
    for (int i = 0; i < kRecentFiles; ++i)
        settings.WriteString("Menu", RecentKey(i), i < static_cast<int>(files.size()) ? files[static_cast<size_t>(i)] : "");
}

// What the Recent file menu offers, in its order: the file open when the
// editor last closed, then the files opened and saved since, newest first.
std::vector<std::string> OfferedRecentFiles(const ProfileEntries& settings) {
    std::vector<std::string> offered;
    const std::string last = settings.GetString("Menu", "LastPath", kNoRecentFile);
    if (last != kNoRecentFile && !last.empty()) offered.push_back(last);
    for (std::string& name : ReadRecentFiles(settings)) {
        if (offered.size() >= static_cast<size_t>(kRecentFiles)) break;
        if (std::find(offered.begin(), offered.end(), name) == offered.end()) offered.push_back(std::move(name));
    }
    return offered;
}

// The name a document is kept under: absolute and normalised, so that the
// title, the recent files and the printout name the same file from any
// current folder. An empty name stays empty.
std::string DocumentPath(const std::string& name) { return name.empty() ? name : FullPath(name); }

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
std::string SourceTextOf(std::string_view data) {
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

CPlcEditorDoc::CPlcEditorDoc(const EditorWidgets& widgets, Dialogs& dialogs)
    : m_window(widgets.window),
      m_editSource(widgets.edit),
      m_listMessages(widgets.messages),
      m_dialogs(dialogs) {}

void CPlcEditorDoc::InitDocument(QMenu* recentMenu, QAction* recentEntry) {
    m_bModified = false;
    // Typing and pasting stop where Open stops, so that whatever the editor
    // saves opens whole again.
    if (m_editSource) m_editSource->SetLimitText(kMaxDocumentSize);
    m_recentMenu = recentMenu;
    m_recentAction = recentEntry;
    // The entries of a window that is gone went with its menu.
    m_recentEntries.clear();
    SetupRecentFile();
    SetDocumentName(kNoFileName, false);
}

std::string& CPlcEditorDoc::OpenDirectory() {
    static std::string directory;
    return directory;
}

std::string& CPlcEditorDoc::SaveDirectory() {
    static std::string directory;
    return directory;
}

std::string CPlcEditorDoc::StartFolder(const std::string& remembered) const {
    // Until a dialog has chosen a folder, the dialogs start in the folder of
    // the current document, else in the current folder.
    if (!remembered.empty()) return remembered;
    return m_strFileName != kNoFileName ? DirectoryPart(m_strFileName) : std::string("./");
}

bool CPlcEditorDoc::AskSaveChanges() {
    if (!m_bModified) return true;
    switch (m_dialogs.Ask(m_window, LoadString(kIdsSaveQuestion), MsgButtons::YesNoCancel,
                          MsgIcon::Question)) {
        case MsgAnswer::Yes: return SaveUnderCurrentName();
        case MsgAnswer::No: return true;
        default: return false;
    }
}

bool CPlcEditorDoc::SaveUnderCurrentName() {
    return m_strFileName == kNoFileName ? SaveDocument(true, {}) : SaveDocument(false, m_strFileName);
}

bool CPlcEditorDoc::NewDocument() {
    if (!m_editSource) return false;
    if (!AskSaveChanges()) return false;
    m_editSource->SetText({});
    SetDocumentName(kNoFileName, false);
    m_byteOrderMark = false;
    m_listMessages->Clear();
    return true;
}

void CPlcEditorDoc::RememberRecentFile(const std::string& name) {
    // Read and written under the settings' lock: another editor adding its
    // file meanwhile keeps its entry.
    Profile().Edit([&](ProfileEntries& settings) {
        std::vector<std::string> files = ReadRecentFiles(settings);
        std::erase(files, name);
        files.insert(files.begin(), name);
        WriteRecentFiles(settings, std::move(files));
    });
    SetupRecentFile();
}

void CPlcEditorDoc::ForgetRecentFile(const std::string& name) {
    Profile().Edit([&](ProfileEntries& settings) {
        if (settings.GetString("Menu", "LastPath", kNoRecentFile) == name)
            settings.WriteString("Menu", "LastPath", kNoRecentFile);
        std::vector<std::string> files = ReadRecentFiles(settings);
        if (std::erase(files, name) != 0) WriteRecentFiles(settings, std::move(files));
    });
    SetupRecentFile();
}

bool CPlcEditorDoc::ReadForOpen(const std::string& name, std::string& data, bool& fromCopy) {
    // The edit control takes kMaxDocumentSize characters; a few bytes more
    // tell a file that is cut (a byte-order mark is not counted).
    const WholeFileRules rules{static_cast<size_t>(kMaxDocumentSize) + kUtf8ByteOrderMark.size() + 1, false};
    fromCopy = false;
    const FileRead read = ReadWholeFile(name, data, rules);
    if (!read && read.fault != FileRead::Fault::TooLarge) {
        ShowError(m_dialogs, m_window, LoadString(kIdsErrorOpening) + name + "\n" + read.Reason());
        return false;
    }
    // A write in place that did not finish left a complete copy of the file
    // as it was before; the file itself may be damaged.
    const std::string copy = LeftBackupOf(name);
    std::string copyData;
    const FileRead copyRead = copy.empty() ? FileRead{} : ReadWholeFile(copy, copyData, rules);
    if (copy.empty() || (!copyRead && copyRead.fault != FileRead::Fault::TooLarge) || copyData == data) return true;
    const std::string question = "The last write of\n" + name +
                                 "\ndid not finish, and the file may be damaged. A complete copy of it as it was "
                                 "before that write is kept in\n" + copy + "\n\nOpen that copy instead?";
    if (m_dialogs.Ask(m_window, question, MsgButtons::YesNo, MsgIcon::Question) != MsgAnswer::Yes) return true;
    data = std::move(copyData);
    fromCopy = true;
    return true;
}

bool CPlcEditorDoc::OpenDocument(bool prompt, const std::string& fileName) {
    if (!m_editSource) return false;
    // Names from the host and the settings may separate folders by "\",
    // and a relative one means the current folder of this moment.
    std::string name = DocumentPath(fileName);
    if (prompt && !PromptFileName(false, name)) return false;
    std::string data;
    bool fromCopy = false;
    if (!ReadForOpen(name, data, fromCopy)) return false;
    const std::string text = SourceTextOf(SourceTextOfFile(data));
    const bool cut = text.size() > static_cast<size_t>(kMaxDocumentSize);
    if (text.size() < static_cast<size_t>(kMaxDocumentSize)) {
        m_editSource->SetText(text);
    } else {
        m_editSource->SetText(std::string_view(text).substr(0, kMaxDocumentSize));
        m_dialogs.Ask(m_window, LoadString(cut ? kIdsFileCut : kIdsMaxSize), MsgButtons::Ok,
                      MsgIcon::None);
    }
    if (cut) {
        // Only part of the file is in the control: the document must not
        // carry the file's name, or the next Save would destroy the rest.
        // Unnamed and modified, Save asks for a new name.
        SetDocumentName(kNoFileName, true);
    } else {
        // The copy's text is not the file's until it is saved.
        SetDocumentName(name, fromCopy);
        RememberRecentFile(name);
    }
    m_byteOrderMark = HasByteOrderMark(data);
    m_listMessages->Clear();
    return true;
}

bool CPlcEditorDoc::PromptFileName(bool save, std::string& name) {
    std::string& remembered = save ? SaveDirectory() : OpenDirectory();
    const auto ask = save ? &Dialogs::SaveFileName : &Dialogs::OpenFileName;
    std::string chosen;
    if (!(m_dialogs.*ask)(m_window, FileRequest(StartFolder(remembered)), chosen)) return false;
    name = DocumentPath(chosen);
    remembered = DirectoryPart(name);
    return true;
}

bool CPlcEditorDoc::SaveDocument(bool prompt, const std::string& fileName) {
    if (!m_editSource) return false;
    std::string name = DocumentPath(fileName);
    if (prompt && !PromptFileName(true, name)) return false;
    std::string why;
    const std::string text = m_editSource->GetText();
    if (!WriteFileSafely(name, m_byteOrderMark ? std::string(kUtf8ByteOrderMark) + text : text, &why)) {
        // The system's message first, the reason on a line of its own.
        ShowError(m_dialogs, m_window, LoadString(kIdsErrorSaving) + name + "\n" + why);
        return false;
    }
    SetDocumentName(name, false);
    RememberRecentFile(name);
    return true;
}

void CPlcEditorDoc::OpenSourceFile(const std::string& fileName) {
    // Without a window there is nothing to show the text in.
    if (!m_editSource) return;
    // The host opens without a question: a changed text is kept as a
    // recovery copy first, named in the message list once the file is open.
    const std::string copy = KeepRecoveryCopy();
    OpenDocument(false, fileName);
    if (!copy.empty() && m_listMessages != nullptr) m_listMessages->Append(copy);
}

std::string CPlcEditorDoc::KeepRecoveryCopy() {
    if (!m_editSource || !IsModified()) return {};
    std::string why;
    const std::string path = WriteRecoveryCopy(m_strFileName, m_editSource->GetText(), why);
    return path.empty() ? "The changed text could not be kept as a recovery copy: " + why
                        : "The changed text was kept as a recovery copy: " + path;
}

void CPlcEditorDoc::OnFileNew() { NewDocument(); }

void CPlcEditorDoc::OnFileOpen() {
    if (!AskSaveChanges()) return;
    OpenDocument(true, {});
}

void CPlcEditorDoc::OnFileSave() { SaveUnderCurrentName(); }

void CPlcEditorDoc::OnFileSaveAs() { SaveDocument(true, {}); }

void CPlcEditorDoc::SetupRecentFile() {
    const std::vector<std::string> offered = OfferedRecentFiles(Profile().Read());
    // The first entry stands for the first file; "?" only when there is none.
    SetRecentEntry(offered.empty() ? std::string(kNoRecentFile) : offered.front());
    if (!m_recentMenu) return;
    for (QAction* action : m_recentEntries) delete action;
    m_recentEntries.clear();
    for (size_t i = 1; i < offered.size(); ++i) {
        const std::string& name = offered[i];
        QAction* action = m_recentMenu->addAction(MenuText(name));
        QObject::connect(action, &QAction::triggered, &m_receiver, [this, name] { OpenRecentFile(name); });
        m_recentEntries.push_back(action);
    }
}

void CPlcEditorDoc::OpenRecentFile(const std::string& name) {
    if (!AskSaveChanges()) return;
    // A file that cannot be opened any more leaves the menu and the settings.
    if (!OpenDocument(false, name)) ForgetRecentFile(name);
}

void CPlcEditorDoc::SetRecentEntry(const std::string& text) {
    if (!m_recentAction) return;
    m_recentAction->setText(MenuText(text));
    m_recentAction->setEnabled(text != kNoRecentFile);
}

void CPlcEditorDoc::OnFileRecent() {
    const std::vector<std::string> offered = OfferedRecentFiles(Profile().Read());
    if (offered.empty()) return;
    OpenRecentFile(offered.front());
}

void CPlcEditorDoc::RememberLastPath() {
    if (m_strFileName != kNoFileName) Profile().WriteString("Menu", "LastPath", m_strFileName);
}

void CPlcEditorDoc::OnChangeSource() { m_bModified = true; }

void CPlcEditorDoc::SetDocumentName(const std::string& name, bool modified) {
    m_strFileName = name;
    m_bModified = modified;
    // The title names the document at once, even before the window first
    // shows; the window's timer keeps it current afterwards.
    if (m_window) m_window->setWindowTitle(FileNameToQString(ComposeTitle()));
}

std::string CPlcEditorDoc::ComposeTitle() const {
    return "PlcEdit [" + m_strFileName + (m_bModified ? "*]" : "]");
}

// ---------------------------------------------------------------- line access

bool CPlcEditorDoc::GetEditLine(int32_t index, std::string& text) const {
    text.clear();
    if (!m_editSource) return false;
    if (index < 0 || index >= m_editSource->GetLineCount()) return false;
    const int32_t n = m_editSource->LineLength(index);
    if (n < 0) return false;
    if (n == 0) return true;
    std::string line;
    if (!m_editSource->GetLine(index, line)) return false;
    text = std::move(line);
    return true;
}

void CPlcEditorDoc::GetSelectedText(std::string& text) const {
    text.clear();
    if (!m_editSource) return;
    int32_t s = 0, e = 0;
    m_editSource->GetSel(s, e);
    if (s >= e) return;
    const int32_t line = m_editSource->LineFromChar(s);
    if (line != m_editSource->LineFromChar(e)) return;
    std::string lineText;
    if (!GetEditLine(line, lineText)) return;
    const int32_t off = s - m_editSource->LineIndex(line);
    if (off < 0 || off + (e - s) > static_cast<int32_t>(lineText.size())) return;
    text = lineText.substr(static_cast<size_t>(off), static_cast<size_t>(e - s));
}

}  // namespace plc
