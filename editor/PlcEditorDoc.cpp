// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/PlcEditorDoc.h"

#include <QInputDialog>
#include <QWidget>
#include <algorithm>
#include <cerrno>
#include <cstdio>
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

// The most bytes Open reads: the edit control takes kMaxDocumentSize; a few
// bytes more tell a file that is cut (a byte-order mark is not counted).
constexpr size_t kOpenReadLimit = static_cast<size_t>(kMaxDocumentSize) + kUtf8ByteOrderMark.size() + 1;

// The length of `text` cut to at most `limit` bytes without splitting a
// character.
size_t CutAtCharacter(std::string_view text, size_t limit) {
    if (text.size() <= limit) return text.size();
    while (limit > 0 && (static_cast<unsigned char>(text[limit]) & 0xC0) == 0x80) --limit;
    return limit;
}

// Where a character stands that an encoding cannot hold, in a message:
// "line 3, column 12: the character '→' (U+2192)".
std::string CharacterPlace(std::string_view text, size_t offset) {
    const size_t lineEnd = offset == 0 ? std::string_view::npos : text.find_last_of("\r\n", offset - 1);
    const size_t from = lineEnd == std::string_view::npos ? 0 : lineEnd + 1;
    const LineEndCounts before = CountLineEnds(text.substr(0, from));
    const size_t line = 1 + before.crlf + before.lf + before.cr;
    const size_t column = 1 + CharacterCount(text.substr(from, offset - from));
    size_t length = 1;
    const char32_t c = CodePointAt(text, offset, &length);
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
    return "line " + std::to_string(line) + ", column " + std::to_string(column) + ": the character '" +
           std::string(text.substr(offset, length)) + "' (" + code + ")";
}

}  // namespace

CPlcEditorDoc::CPlcEditorDoc(const EditorContext& context)
    : m_context(context), m_recent([this](const std::string& name) { OpenRecentFile(name); }) {}

void CPlcEditorDoc::InitDocument(QMenu* recentMenu, QAction* recentEntry) {
    m_bModified = false;
    // Typing and pasting stop where Open stops, so that whatever the editor
    // saves opens whole again.
    if (m_context.edit) m_context.edit->SetLimitText(kMaxDocumentSize);
    m_recent.Attach(recentMenu, recentEntry);
    SetDocumentName(kNoFileName, false);
    ResetFormat();
}

LineEnd CPlcEditorDoc::NewProgramLineEnds() {
    // CR LF is what the drive's tools expect.
    return ParseLineEnd(Profile().GetString("Menu", "NewLineEnds", "CRLF"), LineEnd::CrLf);
}

void CPlcEditorDoc::ResetFormat() {
    m_byteOrderMark = false;
    m_encoding = TextEncoding::Utf8;
    m_lineEnd = NewProgramLineEnds();
    m_mixedLineEnds = false;
}

std::string CPlcEditorDoc::FormatText() const {
    std::string text = EncodingName(m_encoding);
    if (m_byteOrderMark) text += " with BOM";
    text += " \u00B7 ";
    text += LineEndName(m_lineEnd);
    if (m_mixedLineEnds) text += " (mixed)";
    return text;
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
    switch (m_context.dialogs.Ask(m_context.window, LoadString(kIdsSaveQuestion), MsgButtons::YesNoCancel,
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
    if (!m_context.edit) return false;
    if (!AskSaveChanges()) return false;
    m_context.edit->SetText({});
    SetDocumentName(kNoFileName, false);
    ResetFormat();
    m_context.messages->Clear();
    return true;
}

bool CPlcEditorDoc::ReadForOpen(const std::string& name, std::string& data, bool& fromCopy) {
    const WholeFileRules rules{kOpenReadLimit, false};
    fromCopy = false;
    const FileRead read = ReadWholeFile(name, data, rules);
    if (!read && read.fault != FileRead::Fault::TooLarge) {
        ShowError(m_context.dialogs, m_context.window, LoadString(kIdsErrorOpening) + name + "\n" + read.Reason());
        return false;
    }
    // A write in place that did not finish left a complete copy of the file
    // as it was before; the file itself may be damaged.
    const std::string copy = LeftBackupOf(name);
    std::string copyData;
    const FileRead copyRead = copy.empty() ? FileRead{} : ReadWholeFile(copy, copyData, rules);
    if (copy.empty() || (!copyRead && copyRead.fault != FileRead::Fault::TooLarge) || copyData == data) return true;
    const std::string question =
        "The last save of\n" + name + "\ndid not finish, and the file may be damaged. A complete copy of the file "
        "as it was before that save is kept in\n" + copy +
        "\n\nThe edits that save was writing are lost: the copy does not have them, and the file may have only "
        "part of them.\n\n"
        "Yes: open the copy. The text shows as changed; Save writes it over the file and removes the copy.\n"
        "No: open the file as it is. The copy stays and is offered again at the next Open, until the file is "
        "saved.";
    if (m_context.dialogs.Ask(m_context.window, question, MsgButtons::YesNo, MsgIcon::Question) != MsgAnswer::Yes)
        return true;
    data = std::move(copyData);
    fromCopy = true;
    return true;
}

bool CPlcEditorDoc::OpenDocument(bool prompt, const std::string& fileName) {
    if (!m_context.edit) return false;
    // Names from the host and the settings may separate folders by "\",
    // and a relative one means the current folder of this moment.
    std::string name = DocumentPath(fileName);
    if (prompt && !PromptFileName(false, name)) return false;
    std::string data;
    bool fromCopy = false;
    if (!ReadForOpen(name, data, fromCopy)) return false;
    // UTF-8 when the bytes are UTF-8 (those of a file read in part may end
    // inside a character), else Windows-1252, converted to UTF-8.
    const std::string_view body = SourceTextOfFile(data);
    const bool utf8 = IsUtf8(body, data.size() > kOpenReadLimit);
    // CR LF, a bare LF and a lone CR each end a line; the control holds
    // CR LF (Save gives the file its own line ends back).
    const std::string text = WithLineEnds(utf8 ? std::string(body) : Windows1252ToUtf8(body), LineEnd::CrLf);
    const bool cut = text.size() > static_cast<size_t>(kMaxDocumentSize);
    if (text.size() < static_cast<size_t>(kMaxDocumentSize)) {
        m_context.edit->SetText(text);
    } else {
        m_context.edit->SetText(std::string_view(text).substr(0, CutAtCharacter(text, kMaxDocumentSize)));
        m_context.dialogs.Ask(m_context.window, LoadString(cut ? kIdsFileCut : kIdsMaxSize), MsgButtons::Ok,
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
        m_recent.Remember(name);
    }
    m_byteOrderMark = HasByteOrderMark(data);
    m_encoding = utf8 ? TextEncoding::Utf8 : TextEncoding::Windows1252;
    const LineEndCounts ends = CountLineEnds(body);
    m_lineEnd = ends.Majority(NewProgramLineEnds());
    m_mixedLineEnds = ends.Mixed();
    m_context.messages->Clear();
    return true;
}

bool CPlcEditorDoc::PromptFileName(bool save, std::string& name) {
    std::string& remembered = save ? SaveDirectory() : OpenDirectory();
    const auto ask = save ? &Dialogs::SaveFileName : &Dialogs::OpenFileName;
    std::string chosen;
    if (!(m_context.dialogs.*ask)(m_context.window, FileRequest(StartFolder(remembered)), chosen)) return false;
    name = DocumentPath(chosen);
    remembered = DirectoryPart(name);
    return true;
}

bool CPlcEditorDoc::SaveDocument(bool prompt, const std::string& fileName) {
    if (!m_context.edit) return false;
    std::string name = DocumentPath(fileName);
    if (prompt && !PromptFileName(true, name)) return false;
    return SaveDocumentAs(name, m_encoding);
}

bool CPlcEditorDoc::SaveDocumentAs(const std::string& name, TextEncoding encoding) {
    std::string bytes, why;
    if (!FileBytes(encoding, bytes, why) || !WriteFileSafely(name, bytes, &why)) {
        // The system's message first, the reason on a line of its own.
        ShowError(m_context.dialogs, m_context.window, LoadString(kIdsErrorSaving) + name + "\n" + why);
        return false;
    }
    m_encoding = encoding;
    m_mixedLineEnds = false;  // the file has one kind of line end now
    SetDocumentName(name, false);
    m_recent.Remember(name);
    return true;
}

bool CPlcEditorDoc::FileBytes(TextEncoding encoding, std::string& bytes, std::string& why) const {
    std::string text = m_context.edit->GetText();
    if (encoding == TextEncoding::Windows1252) {
        std::string legacy;
        size_t bad = 0;
        if (!Utf8ToWindows1252(text, legacy, bad)) {
            why = CharacterPlace(text, bad) +
                  " has no byte in Windows-1252, the encoding of this file; the file was not changed. "
                  "Save with encoding as UTF-8 keeps every character.";
            return false;
        }
        text = std::move(legacy);
    }
    bytes = m_byteOrderMark ? std::string(kUtf8ByteOrderMark) : std::string();
    // Every line end, also one a paste or a drop may have left bare.
    bytes += WithLineEnds(text, m_lineEnd);
    return true;
}

void CPlcEditorDoc::OpenSourceFile(const std::string& fileName) {
    // Without a window there is nothing to show the text in.
    if (!m_context.edit) return;
    // The host opens without a question: a changed text is kept as a
    // recovery copy first, named in the message list once the file is open.
    const std::string copy = KeepRecoveryCopy();
    OpenDocument(false, fileName);
    if (!copy.empty() && m_context.messages != nullptr) m_context.messages->Append(copy);
}

std::string CPlcEditorDoc::KeepRecoveryCopy() {
    if (!m_context.edit || !IsModified()) return {};
    // The copy is the file Save would write; a character the file's
    // encoding cannot hold makes it UTF-8, so that nothing is lost.
    std::string bytes, why;
    if (!FileBytes(m_encoding, bytes, why)) FileBytes(TextEncoding::Utf8, bytes, why);
    const std::string path = WriteRecoveryCopy(m_strFileName, bytes, why);
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

void CPlcEditorDoc::OnFileSaveWithEncoding() {
    if (!m_context.edit) return;
    QInputDialog ask(m_context.window);
    ask.setWindowTitle("Save with encoding");
    ask.setLabelText(
        "Save the programme in this encoding:\n"
        "UTF-8 holds every character; Windows-1252 is the code page of the legacy files and holds\n"
        "Western European letters only.");
    ask.setComboBoxItems(
        {ToQString(EncodingName(TextEncoding::Utf8)), ToQString(EncodingName(TextEncoding::Windows1252))});
    ask.setTextValue(ToQString(EncodingName(m_encoding)));
    if (m_context.dialogs.Exec(ask) != QDialog::Accepted) return;
    const TextEncoding chosen = ToBytes(ask.textValue()) == EncodingName(TextEncoding::Windows1252)
                                    ? TextEncoding::Windows1252
                                    : TextEncoding::Utf8;
    std::string name = m_strFileName;
    if (name == kNoFileName && !PromptFileName(true, name)) return;
    SaveDocumentAs(name, chosen);
}

void CPlcEditorDoc::OpenRecentFile(const std::string& name) {
    if (!AskSaveChanges()) return;
    // A file that cannot be opened any more leaves the menu and the settings.
    if (!OpenDocument(false, name)) m_recent.Forget(name);
}

void CPlcEditorDoc::OnFileRecent() {
    const std::string first = RecentFiles::First();
    if (!first.empty()) OpenRecentFile(first);
}

void CPlcEditorDoc::RememberLastPath() {
    if (m_strFileName != kNoFileName) RecentFiles::RememberLast(m_strFileName);
}

void CPlcEditorDoc::OnChangeSource() { m_bModified = true; }

void CPlcEditorDoc::SetDocumentName(const std::string& name, bool modified) {
    m_strFileName = name;
    m_bModified = modified;
    // The title names the document at once, even before the window first
    // shows; the window's timer keeps it current afterwards.
    if (m_context.window) m_context.window->setWindowTitle(FileNameToQString(ComposeTitle()));
}

std::string CPlcEditorDoc::ComposeTitle() const {
    return "PlcEdit [" + m_strFileName + (m_bModified ? "*]" : "]");
}

// ---------------------------------------------------------------- line access

bool CPlcEditorDoc::GetEditLine(int32_t index, std::string& text) const {
    text.clear();
    if (!m_context.edit) return false;
    if (index < 0 || index >= m_context.edit->GetLineCount()) return false;
    const int32_t n = m_context.edit->LineLength(index);
    if (n < 0) return false;
    if (n == 0) return true;
    std::string line;
    if (!m_context.edit->GetLine(index, line)) return false;
    text = std::move(line);
    return true;
}

void CPlcEditorDoc::GetSelectedText(std::string& text) const {
    text.clear();
    if (!m_context.edit) return;
    int32_t s = 0, e = 0;
    m_context.edit->GetSel(s, e);
    if (s >= e) return;
    const int32_t line = m_context.edit->LineFromChar(s);
    if (line != m_context.edit->LineFromChar(e)) return;
    std::string lineText;
    if (!GetEditLine(line, lineText)) return;
    const int32_t off = s - m_context.edit->LineIndex(line);
    if (off < 0 || off + (e - s) > static_cast<int32_t>(lineText.size())) return;
    text = lineText.substr(static_cast<size_t>(off), static_cast<size_t>(e - s));
}

}  // namespace plc
