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
// Source files hold the text exactly as the edit control does: 8-bit
// characters, lines separated by CR LF. A line that ends in a bare LF is
// read as a line all the same and gets CR LF in the control. A UTF-8
// byte-order mark before the text is not part of it, and Save writes it
// again. Files are written through a temporary file that replaces the old
// one only when every write succeeded.
//
// The document lives as long as the editor object; the window's widgets it
// works on come and go with the window.
#pragma once

#include <cstdint>
#include <string>

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

    // The remembered directories of the open and save dialogs (shared by the
    // whole process; empty until a dialog chooses one).
    static std::string& OpenDirectory();
    static std::string& SaveDirectory();
    // The folder a file dialog starts in: the remembered one, else the
    // folder of the current document, else the current folder.
    std::string StartFolder(const std::string& remembered) const;

private:
    bool SaveUnderCurrentName();
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
    RecentFiles m_recent;
};

}  // namespace plc
