// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's document: the source text in the edit control, the name of
// its file ("PlcPrg" while it has none) and its change flag; New, Open,
// Save, Save as, Recent file, the save question, the host's open of a
// source file, and the line access GetEditLine and GetSelectedText.
//
// The document's name, the recent files and LastPath hold the absolute,
// normalised path of the file: a relative name (typed in a dialog, given on
// the command line or by the host) means the current folder at that moment.
//
// The edit control holds the text as UTF-8 with CR LF line ends. A file is
// read as UTF-8 when its bytes are UTF-8, else as Windows-1252 (the legacy
// files' code page), and CR LF, a bare LF and a lone CR each end a line.
// The document remembers the file's encoding and line ends (the majority
// of a file that mixes them) and Save writes the text back in them, so
// that a line the user did not touch keeps its bytes; a character that
// Windows-1252 cannot hold is refused, never replaced, and Save with
// encoding converts the file. A new programme is UTF-8 with the line ends
// of the settings (Menu/NewLineEnds, CR LF unless it says LF or CR). A
// UTF-8 byte-order mark before the text is not part of it, and Save writes
// it again. Files are written through a temporary file that replaces the
// old one only when every write succeeded.
//
// The document lives as long as the editor object; the window's widgets it
// works on come and go with the window.
#pragma once

#include <cstdint>
#include <string>

#include "base/TextFormat.h"
#include "editor/EditorContext.h"
#include "editor/RecentFiles.h"

class QAction;
class QMenu;

namespace plc {

// The document name of a document without a file.
inline constexpr const char* kNoFileName = "PlcPrg";
// The largest document, in characters: what Open loads, and the limit of
// typing and pasting.
inline constexpr int32_t kMaxDocumentSize = 30000;

class CPlcEditorDoc {
public:
    explicit CPlcEditorDoc(const EditorContext& context);

    // A fresh window's document: unnamed, unchanged, and the Recent file
    // entries of `recentMenu` (`recentEntry` its first) from the settings.
    void InitDocument(QMenu* recentMenu, QAction* recentEntry);

    bool NewDocument();
    bool OpenDocument(bool prompt, const std::string& fileName);
    bool SaveDocument(bool prompt, const std::string& fileName);
    void OpenSourceFile(const std::string& fileName);
    // The save question; false when the calling operation is to stop.
    bool AskSaveChanges();
    // Keeps the document's file as the one Recent file offers first.
    void RememberLastPath();

    void OnFileNew();
    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();
    // Save with encoding: asks for UTF-8 or Windows-1252 and saves the
    // document in it under its name (asking for one when it has none).
    void OnFileSaveWithEncoding();
    void OnFileRecent();
    // The text changed by typing, cutting, pasting, undoing or a replacement.
    void OnChangeSource();

    // ---- line access ----
    bool GetEditLine(int32_t index, std::string& text) const;
    // The selection when it lies within one line; empty otherwise.
    void GetSelectedText(std::string& text) const;

    // ---- state ----
    const std::string& FileName() const { return m_strFileName; }
    bool IsModified() const { return m_bModified; }
    void SetModified(bool modified) { m_bModified = modified; }
    // The title the timer keeps: "PlcEdit [name]", "PlcEdit [name*]" when modified.
    std::string ComposeTitle() const;
    // Writes a changed text as a recovery copy before the host discards it
    // without a question; the message-list line that says so (empty when
    // the text is unchanged).
    std::string KeepRecoveryCopy();

    // ---- the file's encoding and line ends ----
    TextEncoding Encoding() const { return m_encoding; }
    LineEnd LineEnds() const { return m_lineEnd; }
    // The file opened had more than one kind of line end; Save writes the
    // majority throughout.
    bool MixedLineEnds() const { return m_mixedLineEnds; }
    // What the status bar shows: "UTF-8 · CR LF", "Windows-1252 · LF (mixed)".
    std::string FormatText() const;
    // The line ends a new programme gets (Menu/NewLineEnds of the settings).
    static LineEnd NewProgramLineEnds();

    // The remembered directories of the open and save dialogs (shared by the
    // whole process; empty until a dialog chooses one).
    static std::string& OpenDirectory();
    static std::string& SaveDirectory();
    // The folder a file dialog starts in: the remembered one, else the
    // folder of the current document, else the current folder.
    std::string StartFolder(const std::string& remembered) const;

private:
    bool SaveUnderCurrentName();
    // Save to `name` in `encoding`; the document takes the encoding when
    // the file is written.
    bool SaveDocumentAs(const std::string& name, TextEncoding encoding);
    // The file's bytes for the control's text in `encoding`, with the
    // document's line ends and byte-order mark; false, with `why`, when a
    // character cannot be written in that encoding.
    bool FileBytes(TextEncoding encoding, std::string& bytes, std::string& why) const;
    // A fresh document's format: UTF-8, the new programme's line ends.
    void ResetFormat();
    // The open or the save dialog in its remembered folder; the folder of
    // the chosen file is remembered for the next time. False when cancelled.
    bool PromptFileName(bool save, std::string& name);
    // A Recent file entry chosen: the save question, then the file; a file
    // that cannot be opened any more leaves the list.
    void OpenRecentFile(const std::string& name);
    // Names the document and sets its modified flag and the window's title.
    void SetDocumentName(const std::string& name, bool modified);
    // The bytes of `name` for Open, or those of the copy an unfinished
    // in-place write of it left, when the user takes that instead (`fromCopy`).
    bool ReadForOpen(const std::string& name, std::string& data, bool& fromCopy);

    const EditorContext& m_context;

    std::string m_strFileName = kNoFileName;
    bool m_bModified = false;
    bool m_byteOrderMark = false;  // the file began with one; Save writes it again
    TextEncoding m_encoding = TextEncoding::Utf8;
    LineEnd m_lineEnd = LineEnd::CrLf;
    bool m_mixedLineEnds = false;
    RecentFiles m_recent;
};

}  // namespace plc
