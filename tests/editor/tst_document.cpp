// SPDX-License-Identifier: GPL-3.0-or-later
// The document: the save question, Open and Save byte for byte in the
// file's encoding and line ends, the size limit, Recent file, the
// remembered folders and safe saving.
#include <QAction>
#include <QDateTime>
#include <QFile>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>

#include "base/SafeWrite.h"
#include "dialogs/SearchReplaceDlg.h"
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

// Types at the start of a line, a key per character, as a keyboard that
// has the character sends it; "\n" is the Enter key.
void TypeOnLine(CPlcEditorDlg& editor, int32_t line, const QString& text) {
    const int32_t at = editor.Edit()->LineIndex(line);
    editor.Edit()->SetSel(at, at);
    for (const QChar c : text) {
        if (c == '\n') {
            QTest::keyClick(editor.Edit(), Qt::Key_Return);
            continue;
        }
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(editor.Edit(), &press);
        QApplication::sendEvent(editor.Edit(), &release);
    }
}

// The encoding and line ends the status bar shows.
QString ShownFormat(CPlcEditorDlg& editor) {
    editor.Frame().OnTimer();
    const auto* label = editor.Window()->findChild<QLabel*>("textformat");
    return label ? label->text() : QString("(no label)");
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
    void editedLineAloneChanges_data();
    void editedLineAloneChanges();
    void windows1252RefusesAndConverts();
    void newProgrammeLineEnds_data();
    void newProgrammeLineEnds();
    void commandsKeepTheLineEnds_data();
    void commandsKeepTheLineEnds();
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
    QTest::addColumn<QString>("format");  // as the status bar shows it
    QTest::addColumn<QString>("shown");   // a line as the control shows it
    const QString crlf = "UTF-8 \u00B7 CR LF";
    QTest::newRow("empty lines, no final break")
        << QByteArray("; head\r\n\r\n%P00\r\n\r\n\r\nN010 NOP\t\t; x\r\nEND") << crlf << "; head";
    QTest::newRow("final break") << QByteArray("%P00\r\nN010 NOP\r\nEND\r\n") << crlf << "%P00";
    QTest::newRow("only breaks") << QByteArray("\r\n\r\n\r\n") << crlf << "";
    QTest::newRow("one line") << QByteArray("N010 NOP") << crlf << "N010 NOP";
    QTest::newRow("UTF-8 comment, LF") << QByteArray("; Drehzahl \xC3\xBC, 90\xC2\xB0\n%P00\nEND\n")
                                       << "UTF-8 \u00B7 LF" << "; Drehzahl \u00FC, 90\u00B0";
    QTest::newRow("Windows-1252") << QByteArray("; \xE4\xF6\xFC\xDF \xB0\xFF \x80\x96\r\nEND")
                                  << "Windows-1252 \u00B7 CR LF" << "; \u00E4\u00F6\u00FC\u00DF \u00B0\u00FF \u20AC\u2013";
    QTest::newRow("Windows-1252's unassigned bytes, LF")
        << QByteArray(";\x81\x8D\x8F\x90\x9D\nEND\n") << "Windows-1252 \u00B7 LF" << ";\u0081\u008D\u008F\u0090\u009D";
    QTest::newRow("lone CR") << QByteArray("%P00\rN010 NOP\rEND") << "UTF-8 \u00B7 CR" << "%P00";
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF%P00\r\nN010 NOP\r\nEND\r\n")
                                     << "UTF-8 with BOM \u00B7 CR LF" << "%P00";
}

void TestDocument::openAndSaveByteForByte() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, format);
    QFETCH(QString, shown);
    OpenEditor open;
    const std::string source = open.Path("in.plc");
    const std::string target = open.Path("out.plc");
    WriteBytes(source, bytes.toStdString());
    QVERIFY(open.editor.Document().OpenDocument(false, source));
    QCOMPARE(open.editor.Document().FileName(), source);
    QVERIFY(!open.editor.Document().IsModified());
    QCOMPARE(ShownFormat(open.editor), format);
    std::string first;
    open.editor.Edit()->GetLine(0, first);
    QCOMPARE(QString::fromUtf8(first), shown);
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
    QTest::addColumn<QByteArray>("saved");
    QTest::newRow("LF only") << QByteArray("%P00\n\nN010 NOP\n\nEND\n")
                             << QByteArray("%P00\r\n\r\nN010 NOP\r\n\r\nEND\r\n")
                             << QByteArray("%P00\n\nN010 NOP\n\nEND\n");
    QTest::newRow("mixed, a tie: CR LF") << QByteArray("a\r\nb\nc") << QByteArray("a\r\nb\r\nc")
                                         << QByteArray("a\r\nb\r\nc");
    QTest::newRow("empty lines only") << QByteArray("\n\n") << QByteArray("\r\n\r\n") << QByteArray("\n\n");
}

// The control holds CR LF whatever the file has; Save gives the file its
// own line ends back.
void TestDocument::lfLinesStayLines() {
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, saved);
    OpenEditor open;
    const std::string path = open.Path("lf.plc");
    WriteBytes(path, file.toStdString());
    QVERIFY(open.editor.Document().OpenDocument(false, path));
    QCOMPARE(QByteArray::fromStdString(open.editor.Edit()->GetText()), text);
    QCOMPARE(open.editor.Edit()->GetLineCount(), int32_t(file.count('\n') + 1));
    open.editor.Document().OnFileSave();  // named: no dialog
    QCOMPARE(QByteArray::fromStdString(ReadBytes(path)), saved);
    open.VerifyDialogs();
}

// One line edited by typing: every other byte of the file stays as it was,
// in the file's encoding and with its line ends; a mixed file takes its
// majority, and the status bar says so.
void TestDocument::editedLineAloneChanges_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QByteArray>("saved");
    QTest::newRow("UTF-8, LF: \u00FC is C3 BC")
        << QByteArray("; Drehzahl \xC3\xBC, 90\xC2\xB0\n%P00\nN010 NOP\nEND\n") << 2 << "\u00FC" << "UTF-8 \u00B7 LF"
        << QByteArray("; Drehzahl \xC3\xBC, 90\xC2\xB0\n%P00\n\xC3\xBCN010 NOP\nEND\n");
    QTest::newRow("UTF-8, CR LF") << QByteArray("; x\r\n%P00\r\nEND\r\n") << 0 << "\u00B0" << "UTF-8 \u00B7 CR LF"
                                  << QByteArray("\xC2\xB0; x\r\n%P00\r\nEND\r\n");
    QTest::newRow("Windows-1252, CR LF: \u00FC is FC")
        << QByteArray("; Drehzahl \xFC, 90\xB0\r\n%P00\r\nEND\r\n") << 1 << "\u00FC\u20AC"
        << "Windows-1252 \u00B7 CR LF" << QByteArray("; Drehzahl \xFC, 90\xB0\r\n\xFC\x80%P00\r\nEND\r\n");
    QTest::newRow("lone CR") << QByteArray("A\rB\rC") << 1 << "x" << "UTF-8 \u00B7 CR" << QByteArray("A\rxB\rC");
    QTest::newRow("Enter in an LF file") << QByteArray("A\nB\n") << 1 << "\n" << "UTF-8 \u00B7 LF"
                                         << QByteArray("A\n\nB\n");
    QTest::newRow("mixed: the majority LF") << QByteArray("A\r\nB\nC\nD") << 2 << "x" << "UTF-8 \u00B7 LF (mixed)"
                                            << QByteArray("A\nB\nxC\nD");
}

void TestDocument::editedLineAloneChanges() {
    QFETCH(QByteArray, file);
    QFETCH(int, line);
    QFETCH(QString, typed);
    QFETCH(QString, format);
    QFETCH(QByteArray, saved);
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;
    const std::string path = open.Path("edit.plc");
    WriteBytes(path, file.toStdString());
    QVERIFY(editor.Document().OpenDocument(false, path));
    QCOMPARE(ShownFormat(editor), format);
    TypeOnLine(editor, line, typed);
    QVERIFY(editor.Document().IsModified());
    QVERIFY(editor.OnCommand(ID_FILE_SAVE));
    QCOMPARE(QByteArray::fromStdString(ReadBytes(path)), saved);
    // Saved, the file has one kind of line end.
    QCOMPARE(ShownFormat(editor), QString(format).remove(" (mixed)"));
    open.VerifyDialogs();
}

// A character Windows-1252 cannot hold is refused with the file unchanged,
// never replaced; Save with encoding converts the file to UTF-8.
void TestDocument::windows1252RefusesAndConverts() {
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;
    const std::string path = open.Path("legacy.plc");
    const std::string legacy = "; Drehzahl \xFC\r\nEND\r\n";
    WriteBytes(path, legacy);
    QVERIFY(editor.Document().OpenDocument(false, path));
    TypeOnLine(editor, 1, "\u2192");
    open.dialogs.ExpectAsk(MsgAnswer::Ok, "line 2, column 1: the character '\xE2\x86\x92' (U+2192) has no byte in "
                                          "Windows-1252");
    QVERIFY(editor.OnCommand(ID_FILE_SAVE));
    QVERIFY(open.dialogs.Log().back().text.starts_with(LoadString(kIdsErrorSaving) + path + "\n"));
    QCOMPARE(ReadBytes(path), legacy);
    QVERIFY(editor.Document().IsModified());

    // Converted, every character is kept.
    open.dialogs.ExpectModal(QDialog::Accepted, [](QDialog& dialog) {
        auto& ask = dynamic_cast<QInputDialog&>(dialog);
        QCOMPARE(ask.textValue(), QString("Windows-1252"));
        ask.setTextValue("UTF-8");
    });
    QVERIFY(editor.OnCommand(ID_FILE_SAVE_ENCODING));
    QCOMPARE(ReadBytes(path), std::string("; Drehzahl \xC3\xBC\r\n\xE2\x86\x92" "END\r\n"));
    QVERIFY(!editor.Document().IsModified());
    QCOMPARE(ShownFormat(editor), QString("UTF-8 \u00B7 CR LF"));
    open.VerifyDialogs();
}

// A new programme gets CR LF, or the line ends the settings name.
void TestDocument::newProgrammeLineEnds_data() {
    QTest::addColumn<QString>("setting");  // empty: none
    QTest::addColumn<QByteArray>("saved");
    QTest::newRow("no setting: CR LF") << "" << QByteArray("a\r\nb");
    QTest::newRow("LF") << "LF" << QByteArray("a\nb");
    QTest::newRow("cr") << "cr" << QByteArray("a\rb");
    QTest::newRow("unknown: CR LF") << "unix" << QByteArray("a\r\nb");
}

void TestDocument::newProgrammeLineEnds() {
    QFETCH(QString, setting);
    QFETCH(QByteArray, saved);
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;
    if (!setting.isEmpty()) QVERIFY(Profile().WriteString("Menu", "NewLineEnds", setting.toStdString()));
    editor.Document().OnFileNew();
    Type(editor, "a");
    QTest::keyClick(editor.Edit(), Qt::Key_Return);
    QTest::keyClicks(editor.Edit(), "b");
    const std::string path = open.Path("new.plc");
    open.dialogs.ExpectSaveFile(path);
    QVERIFY(editor.OnCommand(ID_FILE_SAVE));
    QCOMPARE(QByteArray::fromStdString(ReadBytes(path)), saved);
    open.VerifyDialogs();
}

// Renum, Replace all and Restore names edit the control's CR LF text; the
// LF file stays LF.
void TestDocument::commandsKeepTheLineEnds_data() {
    QTest::addColumn<QString>("command");
    QTest::newRow("Renum") << "Renum";
    QTest::newRow("Replace all") << "Replace all";
    QTest::newRow("Restore names") << "Restore names";
}

void TestDocument::commandsKeepTheLineEnds() {
    QFETCH(QString, command);
    OpenEditor open;
    CPlcEditorDlg& editor = open.editor;
    const std::string path = open.Path("lf.plc");
    const std::string file = "; \xC3\xBC\n%P00\nN1 NOP\nN2 JMP N1\nEND\n";
    WriteBytes(path, file);
    QVERIFY(editor.Document().OpenDocument(false, path));
    if (command == "Renum") {
        QVERIFY(editor.OnCommand(ID_RENUM));
    } else if (command == "Replace all") {
        using Ids = CSearchReplaceDlg::ControlId;
        open.dialogs.ExpectModal(QDialog::Accepted, [](QDialog& dialog) {
            dialog.findChild<QLineEdit*>(CSearchReplaceDlg::ControlName(Ids::IDC_FIND))->setText("NOP");
            dialog.findChild<QLineEdit*>(CSearchReplaceDlg::ControlName(Ids::IDC_REPLACE_WITH))->setText("STOP");
            dialog.findChild<QPushButton*>(CSearchReplaceDlg::ControlName(Ids::ID_REPLACE_ALL))->click();
        });
        open.dialogs.ExpectAsk(MsgAnswer::Yes, "Really replace");
        QVERIFY(editor.OnCommand(ID_SEARCH_REPLACE));
    } else {
        WriteBytes(open.Path("Names.txt"), "[PLC_H]\r\n1: Count\r\n");
        QVERIFY(editor.Analysis().RestoreNames(open.Path("Names.txt")));
    }
    QVERIFY(editor.Document().IsModified());
    QVERIFY(editor.OnCommand(ID_FILE_SAVE));
    const QByteArray saved = QByteArray::fromStdString(ReadBytes(path));
    QVERIFY2(!saved.contains('\r') && saved != QByteArray::fromStdString(file), saved.constData());
    QCOMPARE(saved, QByteArray::fromStdString(editor.Edit()->GetText()).replace("\r\n", "\n"));
    open.VerifyDialogs();
}

// The line-end rule of the command line's splitter: the control holds the
// same lines, joined with CR LF, unmodified; Save writes them with the
// file's own line end.
void TestDocument::openConvertsLineEnds_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QByteArray>("saved");
    for (const LineEndCase& c : LineEndCases()) {
        QStringList lines;
        for (const std::string& line : c.lines) lines << QString::fromLatin1(line);
        QTest::newRow(c.name) << QByteArray::fromStdString(c.bytes) << lines << QByteArray::fromStdString(c.saved);
    }
}

void TestDocument::openConvertsLineEnds() {
    QFETCH(QByteArray, file);
    QFETCH(QStringList, lines);
    QFETCH(QByteArray, saved);
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
    QCOMPARE(QByteArray::fromStdString(ReadBytes(path)), saved);
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
        // The offer says what each answer does, and what is lost.
        const std::string& offer = open.dialogs.Log().back().text;
        for (const std::string& part : {copy, std::string("The edits that save was writing are lost"),
                                        std::string("\nYes: open the copy."), std::string("\nNo: open the file as it is.")})
            QVERIFY2(offer.find(part) != std::string::npos, offer.c_str());
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
