// SPDX-License-Identifier: GPL-3.0-or-later
// The document: the save question, Open and Save byte for byte, LF files,
// the size limit, Recent file, the remembered folders and safe saving.
#include <QAction>
#include <QDateTime>
#include <QFile>
#include <QMenu>
#include <QTest>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>

#include "base/SafeWrite.h"
#include "editor/EditorCommands.h"
#include "editor/EditorTestSupport.h"
#include "editor/RecoveryCopy.h"
#include "tests/LineEndCases.h"
#include "platform/MessageList.h"
#include "platform/Profile.h"
#include "platform/SourceEdit.h"
#include "resources/StringTable.h"

using namespace plc;
using namespace plc::test;

namespace {

const std::string kOld = "N010 NOP\r\n";
const std::string kOther = "%P00\r\nN020 NOP\r\nEND\r\n";

// Makes the document modified the way a user does: by typing.
void Type(CPlcEditorDlg& editor, const char* text) {
    editor.Edit()->SetSel(0, 0);
    QTest::keyClicks(editor.Edit(), text);
}

}  // namespace

class TestDocument : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QuietOffscreenNotes(); }
    void saveQuestion_data();
    void saveQuestion();
    void openAndSaveByteForByte_data();
    void openAndSaveByteForByte();
    void lfLinesStayLines_data();
    void lfLinesStayLines();
    void openConvertsLineEnds_data();
    void openConvertsLineEnds();
    void hostOpenKeepsARecoveryCopy_data();
    void hostOpenKeepsARecoveryCopy();
    void sizeLimit_data();
    void sizeLimit();
    void recentFileAfterDeletion();
    void namesAreAbsolute_data();
    void namesAreAbsolute();
    void rememberedFolders();
    void dialogsStartAtTheDocument();
    void saveOnNamedAndUnnamed();
    void failedSaveKeepsOldFileAndDocument();
    void openErrorLeavesDocument_data();
    void openErrorLeavesDocument();
    void openOffersTheCopyOfAnUnfinishedWrite();
    void closingUnnamedLeavesLastPath();
};

// ---------------------------------------------------------------- save question

void TestDocument::saveQuestion_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("named");
    for (const char* command : {"New", "Open", "Recent", "Close"}) {
        for (auto [answer, name] : {std::pair{MsgAnswer::Yes, "Yes"}, std::pair{MsgAnswer::No, "No"},
                                    std::pair{MsgAnswer::Cancel, "Cancel"}}) {
            for (bool named : {true, false}) {
                QTest::addRow("%s, %s, %s", command, name, named ? "named" : "unnamed")
                    << command << int(answer) << named;
            }
        }
    }
}

void TestDocument::saveQuestion() {
    QFETCH(QString, command);
    QFETCH(int, answer);
    QFETCH(bool, named);
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;
    const std::string current = open.Path("current.plc");
    const std::string other = open.Path("other.plc");
    const std::string savedAs = open.Path("saved.plc");
    WriteBytes(current, kOld);
    WriteBytes(other, kOther);
    QVERIFY(Profile().WriteString("Menu", "LastPath", other));
    if (named) QVERIFY(editor.Document().OpenDocument(false, current));
    Type(editor, "x");
    QVERIFY(editor.Document().IsModified());
    const std::string edited = editor.Edit()->GetText();
    const std::string nameBefore = editor.Document().FileName();

    const auto reply = MsgAnswer(answer);
    open.dialogs.ExpectAsk(reply, "Do you like to save the changed process programme ?");
    if (reply == MsgAnswer::Yes && !named) open.dialogs.ExpectSaveFile(savedAs);
    const bool goesOn = reply != MsgAnswer::Cancel;
    if (goesOn && command == "Open") open.dialogs.ExpectOpenFile(other);

    if (command == "New") editor.Document().OnFileNew();
    if (command == "Open") editor.Document().OnFileOpen();
    if (command == "Recent") editor.Document().OnFileRecent();
    if (command == "Close") editor.OnCommand(ID_FILE_EXIT);

    const auto& question = open.dialogs.Log().at(0);
    QCOMPARE(question.buttons, MsgButtons::YesNoCancel);
    QCOMPARE(question.icon, MsgIcon::Question);

    // Yes saves under the document's name, or asks for one.
    if (reply == MsgAnswer::Yes) QCOMPARE(ReadBytes(named ? current : savedAs), edited);
    else QCOMPARE(ReadBytes(current), kOld);
    if (!goesOn) {
        QVERIFY(editor.IsWindow());
        QCOMPARE(editor.Edit()->GetText(), edited);
        QCOMPARE(editor.Document().FileName(), nameBefore);
        QVERIFY(editor.Document().IsModified());
    } else if (command == "Close") {
        QVERIFY(!editor.IsWindow());
        const std::string last = reply == MsgAnswer::Yes ? (named ? current : savedAs)
                                                         : (named ? current : other);
        QCOMPARE(Profile().GetString("Menu", "LastPath", "?"), last);
    } else {
        const bool isNew = command == "New";
        QCOMPARE(editor.Edit()->GetText(), isNew ? std::string() : kOther);
        QCOMPARE(editor.Document().FileName(), isNew ? std::string(kNoFileName) : other);
        QVERIFY(!editor.Document().IsModified());
    }
    open.VerifyDialogs();
}

// ---------------------------------------------------------------- files

void TestDocument::openAndSaveByteForByte_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty lines, no final break")
        << QByteArray("; head\r\n\r\n%P00\r\n\r\n\r\nN010 NOP\t\t; x\r\nEND");
    QTest::newRow("final break") << QByteArray("%P00\r\nN010 NOP\r\nEND\r\n");
    QTest::newRow("only breaks") << QByteArray("\r\n\r\n\r\n");
    QTest::newRow("one line") << QByteArray("N010 NOP");
    QTest::newRow("8-bit characters") << QByteArray("; \xE4\xF6\xFC\xDF \xB0\xFF\r\nEND");
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF%P00\r\nN010 NOP\r\nEND\r\n");
}

void TestDocument::openAndSaveByteForByte() {
    QFETCH(QByteArray, bytes);
    OpenEditor open;
    const std::string source = open.Path("in.plc");
    const std::string target = open.Path("out.plc");
    WriteBytes(source, bytes.toStdString());
    QVERIFY(open.editor.Document().OpenDocument(false, source));
    QCOMPARE(open.editor.Document().FileName(), source);
    QVERIFY(!open.editor.Document().IsModified());
    // A byte-order mark is no part of the text, and Save writes it again.
    QVERIFY(!QByteArray::fromStdString(open.editor.Edit()->GetText()).startsWith("\xEF\xBB\xBF"));
    open.dialogs.ExpectSaveFile(target);
    open.editor.Document().OnFileSaveAs();
    QCOMPARE(QByteArray::fromStdString(ReadBytes(target)), bytes);
    QCOMPARE(open.editor.Document().FileName(), target);
    open.VerifyDialogs();
}

void TestDocument::lfLinesStayLines_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("LF only") << QByteArray("%P00\n\nN010 NOP\n\nEND\n")
                             << QByteArray("%P00\r\n\r\nN010 NOP\r\n\r\nEND\r\n");
    QTest::newRow("mixed") << QByteArray("a\r\nb\nc") << QByteArray("a\r\nb\r\nc");
    QTest::newRow("empty lines only") << QByteArray("\n\n") << QByteArray("\r\n\r\n");
}

void TestDocument::lfLinesStayLines() {
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, text);
    OpenEditor open;
    const std::string path = open.Path("lf.plc");
    WriteBytes(path, file.toStdString());
    QVERIFY(open.editor.Document().OpenDocument(false, path));
    QCOMPARE(QByteArray::fromStdString(open.editor.Edit()->GetText()), text);
    QCOMPARE(open.editor.Edit()->GetLineCount(), int32_t(file.count('\n') + 1));
    open.editor.Document().OnFileSave();  // named: no dialog
    QCOMPARE(QByteArray::fromStdString(ReadBytes(path)), text);
    open.VerifyDialogs();
}

// The line-end rule of the command line's splitter: the control holds the
// same lines, joined with CR LF, unmodified; Save writes them that way.
void TestDocument::openConvertsLineEnds_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("lines");
    for (const LineEndCase& c : LineEndCases()) {
        QStringList lines;
        for (const std::string& line : c.lines) lines << QString::fromLatin1(line);
        QTest::newRow(c.name) << QByteArray::fromStdString(c.bytes) << lines;
    }
}

void TestDocument::openConvertsLineEnds() {
    QFETCH(QByteArray, file);
    QFETCH(QStringList, lines);
    OpenEditor open;
    const std::string path = open.Path("ends.plc");
    WriteBytes(path, file.toStdString());
    QVERIFY(open.editor.Document().OpenDocument(false, path));
    QVERIFY(!open.editor.Document().IsModified());
    QCOMPARE(QByteArray::fromStdString(ReadBytes(path)), file);  // unchanged until saved
    QCOMPARE(open.editor.Edit()->GetLineCount(), int32_t(lines.size()));
    for (int i = 0; i < lines.size(); ++i) {
        std::string line;
        QVERIFY(open.editor.Edit()->GetLine(i, line));
        QCOMPARE(QString::fromLatin1(line), lines[i]);
    }
    open.editor.Document().OnFileSave();
    QCOMPARE(QByteArray::fromStdString(ReadBytes(path)), lines.join("\r\n").toLatin1());
    open.VerifyDialogs();
}

// The host opens a file without a question; a changed text is kept first as
// a recovery copy, named in the message list, and only the newest copies stay.
void TestDocument::hostOpenKeepsARecoveryCopy_data() {
    QTest::addColumn<bool>("changed");
    QTest::addColumn<int>("oldCopies");
    QTest::addColumn<int>("copiesAfter");
    QTest::newRow("changed text") << true << 0 << 1;
    QTest::newRow("unchanged text") << false << 0 << 0;
    QTest::newRow("the newest twenty stay") << true << 20 << 20;
}

void TestDocument::hostOpenKeepsARecoveryCopy() {
    QFETCH(bool, changed);
    QFETCH(int, oldCopies);
    QFETCH(int, copiesAfter);
    OpenEditor open;
    const QDir folder(QString::fromStdString(RecoveryFolder()));
    QVERIFY(folder.absolutePath().startsWith(QString::fromStdString(open.scratch.Root())));
    QVERIFY(folder.mkpath("."));
    for (int i = 0; i < oldCopies; ++i) {
        const std::string old = folder.filePath(QString("recovery-20000101-000000-1-%1-old.plc").arg(i, 6, 10, QChar('0'))).toStdString();
        WriteBytes(old, "old");
        // A file's times are set through an open file.
        QFile file(QString::fromStdString(old));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime(QDate(2000, 1, 1), QTime(0, 0, i)), QFileDevice::FileModificationTime));
    }
    const std::string other = open.Path("other.plc");
    WriteBytes(other, "N010 NOP");
    open.editor.Edit()->SetText("; typed by hand");
    open.editor.Document().SetModified(changed);
    open.editor.OpenSourceFile(other);
    QCOMPARE(open.editor.Edit()->GetText(), std::string("N010 NOP"));
    const QStringList copies = folder.entryList({"recovery-*"}, QDir::Files, QDir::Time);
    QCOMPARE(copies.size(), copiesAfter);
    if (!changed) {
        QCOMPARE(open.editor.Messages()->Count(), 0);
        return;
    }
    const std::string newest = folder.filePath(copies.front()).toStdString();
    QCOMPARE(ReadBytes(newest), std::string("; typed by hand"));
    QCOMPARE(open.editor.Messages()->Texts().back(), "The changed text was kept as a recovery copy: " + newest);
    QVERIFY(!copies.contains("recovery-20000101-000000-1-000000-old.plc"));
    open.editor.Document().SetModified(false);
    open.VerifyDialogs();
}

void TestDocument::sizeLimit_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("message");  // 0: none
    QTest::addColumn<bool>("whole");
    QTest::newRow("29,999") << 29999 << 0 << true;
    QTest::newRow("exactly 30,000") << 30000 << 32904 << true;
    QTest::newRow("30,001") << 30001 << 32903 << false;
    QTest::newRow("40,000") << 40000 << 32903 << false;
}

void TestDocument::sizeLimit() {
    QFETCH(int, size);
    QFETCH(int, message);
    QFETCH(bool, whole);
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;
    // Lines of 40 characters with CR LF, the last one filling up to `size`.
    std::string bytes;
    while (bytes.size() + 42 <= size_t(size)) bytes += std::string(40, 'a') + "\r\n";
    bytes += std::string(size_t(size) - bytes.size(), 'b');
    const std::string path = open.Path("big.plc");
    WriteBytes(path, bytes);
    if (message != 0) open.dialogs.ExpectAsk(MsgAnswer::Ok, LoadString(uint32_t(message)));
    QVERIFY(editor.Document().OpenDocument(false, path));
    QCOMPARE(editor.Edit()->GetText(), bytes.substr(0, 30000));
    if (message != 0) QCOMPARE(open.dialogs.Log().back().icon, MsgIcon::None);
    if (whole) {
        QCOMPARE(editor.Document().FileName(), path);
        QVERIFY(!editor.Document().IsModified());
    } else {
        // The cut text must never be saved over the complete file: the
        // document is unnamed and modified, so Save asks for a name.
        QCOMPARE(editor.Document().FileName(), std::string(kNoFileName));
        QVERIFY(editor.Document().IsModified());
        open.dialogs.ExpectSaveFile(std::nullopt);
        editor.Document().OnFileSave();
        QCOMPARE(ReadBytes(path), bytes);
    }
    open.VerifyDialogs();
}

// A file that cannot be opened any more leaves the menu and the settings;
// the next one moves up, and "?" stands only for an empty list.
void TestDocument::recentFileAfterDeletion() {
    ScratchDirectory scratch;
    const std::string path = scratch.Path("recent.plc");
    const std::string second = scratch.Path("second.plc");
    WriteBytes(path, kOther);
    WriteBytes(second, kOld);
    QVERIFY(Profile().WriteString("Menu", "LastPath", path));
    QVERIFY(Profile().WriteString("Menu", "Recent1", second));
    ScriptedDialogs dialogs{FailTest()};
    CTorvixCtrl control(dialogs);
    CPlcEditorDlg& editor = EditorOf(control);
    QVERIFY(control.PlcCreate());
    QAction* entry = editor.Action(ID_FILE_RECENT);
    QCOMPARE(entry->text(), QString::fromStdString(path));
    QVERIFY(entry->isEnabled());

    editor.Document().OnFileRecent();
    QCOMPARE(editor.Edit()->GetText(), kOther);
    QCOMPARE(editor.Document().FileName(), path);

    QVERIFY(QFile::remove(QString::fromStdString(path)));
    Type(editor, "x");
    dialogs.ExpectAsk(MsgAnswer::No).ExpectAsk(MsgAnswer::Ok);
    editor.Document().OnFileRecent();
    QCOMPARE(dialogs.Log().back().text, "Error at opening of\n" + path + "\ncannot open: No such file or directory");
    QCOMPARE(dialogs.Log().back().icon, MsgIcon::Stop);
    QVERIFY(editor.Document().IsModified());  // the document is unchanged
    QCOMPARE(Profile().GetString("Menu", "LastPath", "unset"), std::string("?"));
    QCOMPARE(Profile().GetString("Menu", "Recent1", "unset"), second);
    QCOMPARE(entry->text(), QString::fromStdString(second));
    QVERIFY(entry->isEnabled());

    QVERIFY(QFile::remove(QString::fromStdString(second)));
    dialogs.ExpectAsk(MsgAnswer::No).ExpectAsk(MsgAnswer::Ok);
    editor.Document().OnFileRecent();
    QCOMPARE(entry->text(), QString("?"));
    QVERIFY(!entry->isEnabled());
    QCOMPARE(Profile().GetString("Menu", "Recent1", ""), std::string());
    QVERIFY(editor.Frame().RecentMenu()->actions().size() <= 1);
    QVERIFY(dialogs.Failures().empty());
}

// Relative names mean the current folder of the moment they come in; the
// document, its title, LastPath and the recent files keep them absolute.
void TestDocument::namesAreAbsolute_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("Save as") << "save as";
    QTest::newRow("Open") << "open";
    QTest::newRow("host's open") << "host";
}

void TestDocument::namesAreAbsolute() {
    QFETCH(QString, how);
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;
    QVERIFY(QDir().mkpath("work"));
    const std::string full = open.Path("work/loop.plc");
    WriteBytes(full, kOld);
    const std::string relative = "./work/../work/loop.plc";
    if (how == "save as") {
        open.dialogs.ExpectSaveFile(relative);
        editor.Document().OnFileSaveAs();
    } else if (how == "open") {
        open.dialogs.ExpectOpenFile(relative);
        editor.Document().OnFileOpen();
    } else {
        open.control->PlcFileOpen(relative);
    }
    QCOMPARE(editor.Document().FileName(), full);
    QCOMPARE(Profile().GetString("Menu", "Recent1", ""), full);
    editor.CloseEditor();
    QCOMPARE(Profile().GetString("Menu", "LastPath", ""), full);
    open.VerifyDialogs();
}

void TestDocument::rememberedFolders() {
    OpenEditor open;
    QDir().mkpath(QString::fromStdString(open.Path("a")));
    QDir().mkpath(QString::fromStdString(open.Path("b")));
    const std::string inA = open.Path("a/x.plc");
    WriteBytes(inA, kOld);
    open.dialogs.ExpectOpenFile(inA).ExpectOpenFile(std::nullopt);
    open.dialogs.ExpectSaveFile(open.Path("b/y.plc")).ExpectSaveFile(std::nullopt);
    open.editor.Document().OnFileOpen();
    open.editor.Document().OnFileOpen();
    open.editor.Document().OnFileSaveAs();
    open.editor.Document().OnFileSaveAs();
    const auto& log = open.dialogs.Log();
    QCOMPARE(log.size(), size_t(4));
    QCOMPARE(log[0].request.initialDirectory, std::string("../userdata/"));
    QCOMPARE(log[1].request.initialDirectory, open.Path("a/"));
    QCOMPARE(log[2].request.initialDirectory, std::string("../userdata/"));
    QCOMPARE(log[3].request.initialDirectory, open.Path("b/"));
    for (const auto& shown : log) {
        QCOMPARE(shown.request.filter, std::string("PLC-Programme (*.plc)|*.plc|all files (*.*)|*.*|"));
        QCOMPARE(shown.request.defaultExtension, std::string("plc"));
    }
    QCOMPARE(QtNameFilter(log[0].request.filter), std::string("PLC-Programme (*.plc);;all files (*)"));
    open.VerifyDialogs();
}

// Before any dialog chose a folder: the current document's folder, else the
// current folder.
void TestDocument::dialogsStartAtTheDocument() {
    OpenEditor open;
    CPlcEditorDoc::OpenDirectory().clear();
    CPlcEditorDoc::SaveDirectory().clear();
    QDir().mkpath(QString::fromStdString(open.Path("a")));
    const std::string inA = open.Path("a/x.plc");
    WriteBytes(inA, kOld);
    open.dialogs.ExpectSaveFile(std::nullopt);
    open.editor.Document().OnFileSaveAs();
    QVERIFY(open.editor.Document().OpenDocument(false, inA));
    open.dialogs.ExpectOpenFile(std::nullopt).ExpectSaveFile(std::nullopt);
    open.editor.Document().OnFileOpen();
    open.editor.Document().OnFileSaveAs();
    const auto& log = open.dialogs.Log();
    QCOMPARE(log.size(), size_t(3));
    QCOMPARE(log[0].request.initialDirectory, std::string("./"));
    QCOMPARE(log[1].request.initialDirectory, open.Path("a/"));
    QCOMPARE(log[2].request.initialDirectory, open.Path("a/"));
    open.VerifyDialogs();
}

void TestDocument::saveOnNamedAndUnnamed() {
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;
    Type(editor, "N010 NOP");
    const std::string path = open.Path("new.plc");
    open.dialogs.ExpectSaveFile(path);
    editor.Document().OnFileSave();  // unnamed: asks
    QCOMPARE(ReadBytes(path), std::string("N010 NOP"));
    Type(editor, ";");
    editor.Document().OnFileSave();  // named: silent
    QCOMPARE(ReadBytes(path), std::string(";N010 NOP"));
    QVERIFY(!editor.Document().IsModified());
    open.VerifyDialogs();
}

void TestDocument::failedSaveKeepsOldFileAndDocument() {
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;
    const std::string path = open.Path("keep.plc");
    WriteBytes(path, kOld);
    QVERIFY(editor.Document().OpenDocument(false, path));
    editor.Edit()->SetSel(0, 0);
    editor.Edit()->ReplaceSel(std::string(200, ';'));
    // A file size limit makes the write fail midway, even for root.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 16;
    setrlimit(RLIMIT_FSIZE, &small);
    open.dialogs.ExpectAsk(MsgAnswer::Ok);
    editor.Document().OnFileSave();
    setrlimit(RLIMIT_FSIZE, &saved);
    QCOMPARE(open.dialogs.Log().back().text, "Error at saving of\n" + path + "\nwrite failed: File too large");
    QCOMPARE(open.dialogs.Log().back().icon, MsgIcon::Stop);
    QCOMPARE(ReadBytes(path), kOld);
    QVERIFY(editor.Document().IsModified());
    QCOMPARE(editor.Document().FileName(), path);
    open.VerifyDialogs();
}

void TestDocument::openErrorLeavesDocument_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << "missing.plc" << "cannot open: No such file or directory";
    QTest::newRow("folder") << "" << "is a folder, not a file";
    QTest::newRow("FIFO") << "fifo" << "is a pipe, not a regular file";  // would block on opening
    QTest::newRow("device") << "/dev/zero" << "is a character device, not a regular file";
}

void TestDocument::openErrorLeavesDocument() {
    QFETCH(QString, name);
    QFETCH(QString, reason);
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;
    Type(editor, "abc");
    const std::string path = name.startsWith('/') ? name.toStdString() : open.Path(name.toStdString());
    if (name == "fifo") QCOMPARE(::mkfifo(path.c_str(), 0600), 0);
    open.dialogs.ExpectAsk(MsgAnswer::Ok);
    QVERIFY(!editor.Document().OpenDocument(false, path));
    QCOMPARE(open.dialogs.Log().back().text, "Error at opening of\n" + path + "\n" + reason.toStdString());
    QCOMPARE(editor.Edit()->GetText(), std::string("abc"));
    QCOMPARE(editor.Document().FileName(), std::string(kNoFileName));
    QVERIFY(editor.Document().IsModified());
    open.VerifyDialogs();
}

void TestDocument::openOffersTheCopyOfAnUnfinishedWrite() {
    // A write in place killed midway left a damaged file and the complete
    // copy of its old bytes; Open asks which to take.
    for (const MsgAnswer answer : {MsgAnswer::Yes, MsgAnswer::No}) {
        OpenEditor open;
        const std::string path = open.Path("damaged.plc");
        WriteBytes(path, "%P00\r\nN010 NO");
        const std::string copy = InPlaceBackupPath(path);
        QVERIFY(!copy.empty());
        std::filesystem::create_directories(std::filesystem::path(copy).parent_path());
        WriteBytes(copy, kOld);
        open.dialogs.ExpectAsk(answer);
        QVERIFY(open.editor.Document().OpenDocument(false, path));
        QVERIFY(open.dialogs.Log().back().text.find(copy) != std::string::npos);
        QCOMPARE(open.editor.Edit()->GetText(), answer == MsgAnswer::Yes ? kOld : std::string("%P00\r\nN010 NO"));
        QCOMPARE(open.editor.Document().IsModified(), answer == MsgAnswer::Yes);
        open.VerifyDialogs();
    }
}

void TestDocument::closingUnnamedLeavesLastPath() {
    OpenEditor open;
    QVERIFY(Profile().WriteString("Menu", "LastPath", "kept.plc"));
    open.editor.Messages()->Append("entry");
    open.editor.CloseEditor();
    QVERIFY(!open.editor.IsWindow());
    QCOMPARE(Profile().GetString("Menu", "LastPath", "?"), std::string("kept.plc"));
    open.VerifyDialogs();
}

QTEST_MAIN(TestDocument)
#include "tst_document.moc"
