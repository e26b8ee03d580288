// The editor window: a source text in the edit control, the message list
// below it, menu 202, the toolbar and the status bar, and the one programme
// object the window compiles into.
//
// The editor object lives as long as its control; its window comes and goes:
// Create builds the window (template 201, then OnInitDialog), the close
// sequence destroys it again, and the programme object and the remembered
// state stay with the object. While there is no window, the widget pointers
// are null.
//
// Its members are spread over the files of their subject:
//   PlcEditorDlg.cpp   window, layout, edit commands, Help, Info, online state,
//                      line access, Check syntax, timer
//   PlcEditorDoc.cpp   the document: New, Open, Save, Save as, Recent file,
//                      the save question and the close sequence
//   EditorSearch.cpp   Search/Replace over the whole text
//   EditorExchange.cpp Save in/Read from file (device setting) and device,
//                      the host's binary file open, the programme listing
//   EditorRenum.cpp    Renum and the double-click on a message
//   EditorPrint.cpp    Page setup and Print
//   EditorCodeView.cpp error markers, the live check, next/previous error, zoom
//   EditorNavigation.cpp hover, go to definition, go to line, find uses
#pragma once

#include <QObject>
#include <QPointer>
#include <array>
#include <map>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <QFont>
#include <QIcon>
#include <QPoint>

#include "dialogs/SearchReplaceDlg.h"
#include "editor/HelpWindow.h"
#include "image/PlcProgram.h"

class QAction;
class QEvent;
class QMenu;
class QSplitter;
class QTimer;
class QWidget;

namespace plc {

class CPlcToolBar;
struct CompileOutcome;
class Dialogs;
class EditorWindow;
class HelpWindow;
class HostLink;
class MessageList;
class Profile;
class SourceEdit;
class StatusBar;

// The pixel rule of the status bar's parts for a bar `cx` wide, and the
// first split of a height between text and message list (70 % text).
struct EditorLayout {
    std::array<int32_t, 5> statusParts;  // right edges of the five parts
    int32_t editTop, editHeight;
    int32_t listTop, listHeight;
};
EditorLayout ComputeEditorLayout(int32_t cx, int32_t cy, int32_t topOffset, int32_t gap,
                                 int32_t bottomMargin);

// The document name of a document without a file.
inline constexpr const char* kNoFileName = "PlcPrg";
// The largest document that Open loads, in characters.
inline constexpr int32_t kMaxDocumentSize = 30000;
// The help context of the editor window (the Help command id plus 0x10000).
inline constexpr int32_t kHelpContext = 98313;

class CPlcEditorDlg : public QObject {
    Q_OBJECT
public:
    explicit CPlcEditorDlg(Dialogs& dialogs);
    ~CPlcEditorDlg() override;

    // ---- window ----
    // Builds the window from template 201 and runs OnInitDialog; true when
    // the window exists afterwards.
    virtual bool Create(QWidget* parent);
    bool IsWindow() const;
    QWidget* Window() const;
    // Destroys the window without asking anything.
    void DestroyWindow();
    void SetControl(HostLink* control) { m_pControl = control; }
    HostLink* Control() const { return m_pControl; }

    void SetOnline();
    void SetOffline();

    // ---- document (PlcEditorDoc.cpp) ----
    bool NewDocument();
    bool OpenDocument(bool prompt, const std::string& fileName);
    bool SaveDocument(bool prompt, const std::string& fileName);
    void OpenSourceFile(const std::string& fileName);
    // The close sequence (the close box, Exit and the control's PlcDestroy).
    void CloseEditor();

    // ---- exchange with device and archive (EditorExchange.cpp) ----
    void OpenBinaryFile(const std::string& fileName);
    // Lists the image as the document's text; entries go to the message list.
    void ListProgram(const std::string& fileName);

    // ---- text access ----
    bool GetEditLine(int32_t index, std::string& text) const;
    void GetSelectedText(std::string& text) const;
    // Replaces line `index` by `text`, keeping the line's comment, as an edit
    // that can be undone (EditorRenum.cpp); false when there is no such line.
    bool ReplaceEditLine(const std::string& text, int32_t index);
    // Compiles the whole text into the programme image and lists the
    // outcome; true when it compiled without error.
    bool CompileProgram();

    // ---- command handlers ----
    void OnFileNew();
    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();
    void OnPageSetup();
    void OnFilePrint();
    void OnFileRecent();
    void OnFileExit();
    void OnEditUndo();
    void OnEditRedo();
    void OnEditCut();
    void OnEditCopy();
    void OnEditPaste();
    void OnEditSelectAll();
    void OnSearchReplace();
    void OnCheckSyntax();
    void OnRenum();
    void OnSimulate();
    void OnSaveInFile();
    void OnReadFromFile();
    void OnSaveInDevice();
    void OnReadFromDevice();
    void OnCompareWithDevice();
    void OnHelp();
    void OnInfo();
    // View menu (EditorCodeView.cpp, EditorNavigation.cpp).
    void OnLiveCheck();
    void OnZoomIn();
    void OnZoomOut();
    void OnZoomReset();
    void OnNextError();
    void OnPreviousError();
    void GoToError(bool forward);
    void OnGotoLine();
    void OnGotoDefinition();
    void OnFindUses();
    // Runs the handler of a command id, as a menu entry or a button does;
    // false when the id has no command or the command is disabled.
    bool OnCommand(int id);

    // ---- live check (EditorCodeView.cpp) ----
    // Whether the text is checked while typing (View/Live check, kept in
    // the settings file).
    bool LiveCheckEnabled() const { return m_bLiveCheck; }
    void SetLiveCheck(bool enable);
    // Compiles the text in memory into a scratch programme and puts the
    // errors on the lines as markers and annotations; the message list, the
    // programme and the document state stay as they are. The timer runs it
    // a moment after the last keystroke.
    void RunLiveCheck();
    // The live check's delay after the last change, in milliseconds.
    static constexpr int kLiveCheckDelay = 300;

    // ---- notifications and window messages ----
    void OnChangeSource();
    void OnErrSpaceSource();
    void OnMaxTextSource();
    void OnDblclkMessages();
    // The status bar changed its size: its parts follow the pixel rule.
    void OnSize(int cx, int cy);
    void OnTimer();
    void OnOK() {}
    void OnCancel() { CloseEditor(); }

    // ---- state, for the other parts of the editor and for tests ----
    const std::string& FileName() const { return m_strFileName; }
    bool IsModified() const { return m_bModified; }
    // Writes a changed text as a recovery copy before the host discards it
    // without a question; the message-list line that says so (empty when
    // the text is unchanged).
    std::string KeepRecoveryCopy();
    void SetModified(bool modified) { m_bModified = modified; }
    CPlcProgram& Program() { return m_program; }
    Dialogs& GetDialogs() const { return m_dialogs; }
    SourceEdit* Edit() const { return m_editSource; }
    MessageList* Messages() const { return m_listMessages; }
    StatusBar* Status() const { return m_statusBar; }
    CPlcToolBar* ToolBar() const { return m_toolBar; }
    QAction* Action(int id) const;
    QSplitter* Splitter() const { return m_splitter; }
    HelpWindow* Help() const { return m_help.data(); }
    const std::array<int32_t, 5>& StatusParts() const { return m_nStatusParts; }
    bool IsInitialised() const { return m_bInitialised; }
    // The length that a double-click selects at a search entry: the one the
    // search/replace dialog's last action button set.
    void SetMatchLength(int32_t length) { m_searchDlg.m_nMatchLength = length; }
    int32_t MatchLength() const { return m_searchDlg.m_nMatchLength; }
    CSearchReplaceDlg& SearchDialog() { return m_searchDlg; }
    // The title the timer keeps: "PlcEdit [name]", "PlcEdit [name*]" when modified.
    std::string ComposeTitle() const;

    // The remembered directories of the open and save dialogs (shared by the
    // whole process; empty until a dialog chooses one).
    static std::string& OpenDirectory();
    static std::string& SaveDirectory();
    // The folder a file dialog starts in: the remembered one, else the
    // folder of the current document, else the current folder.
    std::string StartFolder(const std::string& remembered) const;

protected:
    virtual bool OnInitDialog();
    // Keys of the window's commands go to the commands, not to the edit
    // control's own key bindings.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildWindow(QWidget* parent);
    void BuildMenu();
    // Size, position and split from the settings, else the first size.
    void RestoreGeometry();
    void SaveGeometry();
    void SetupRecentFile();
    // Puts a file opened or saved at the top of the remembered files.
    void RememberRecentFile(const std::string& name);
    void OpenRecentFile(const std::string& name);
    void SetRecentEntry(const std::string& text);
    // The save question; false when the calling operation is to stop.
    bool AskSaveChanges();
    bool SaveUnderCurrentName();
    void ShowError(const std::string& text);
    // Exchange with device and archive (EditorExchange.cpp).
    enum class SaveTarget { Archive, Device };
    enum class ReadSource { Archive, Device, Host };
    void SaveProgramFiles(SaveTarget target);
    void ReadProgramFile(ReadSource source, const std::string& hostName);
    // Selects line `index` without its line break and replaces it (EditorRenum.cpp).
    bool ReplaceLineText(int32_t index, std::string_view replacement);
    void EnableCommand(int id, bool enable);
    // Code view set-up of a fresh window: live check timer, hover, Ctrl+click.
    void SetupCodeView();
    void ScheduleLiveCheck();
    // Puts the errors of a compile outcome on their lines.
    void ShowErrorMarks(const CompileOutcome& outcome);
    void ShowHover(int32_t pos, QPoint globalPoint);
    // Goes to the label named by the jump target or CALL at `pos`; false
    // when there is none there.
    bool GotoDefinitionAt(int32_t pos);

    Dialogs& m_dialogs;

    // Members of the window (null while it is absent).
    MessageList* m_listMessages = nullptr;
    SourceEdit* m_editSource = nullptr;
    QIcon m_hIcon;
    std::unique_ptr<QFont> m_pFont;
    HostLink* m_pControl = nullptr;
    CPlcToolBar* m_toolBar = nullptr;
    StatusBar* m_statusBar = nullptr;
    CPlcProgram m_program;
    std::string m_strFileName = kNoFileName;
    bool m_bModified = false;
    bool m_bInitialised = false;
    std::array<int32_t, 5> m_nStatusParts{};
    CSearchReplaceDlg m_searchDlg;  // the search/replace dialog and its last settings

    QPointer<EditorWindow> m_window;
    QPointer<HelpWindow> m_help;  // a child of the window, made on first use
    QTimer* m_timer = nullptr;
    QAction* m_recentAction = nullptr;
    QMenu* m_recentMenu = nullptr;
    std::vector<QAction*> m_recentEntries;  // the Recent file entries after the first
    QSplitter* m_splitter = nullptr;
    std::map<int, QAction*> m_actions;  // the window's commands by id
    QTimer* m_liveTimer = nullptr;
    bool m_bLiveCheck = true;
    std::unique_ptr<CPlcProgram> m_liveProgram;  // the live check's scratch programme
};

}  // namespace plc
