// SPDX-License-Identifier: GPL-3.0-or-later
// Print through the editor's command into a PDF file, read back with
// pdftotext: pages, headers, every line once and in order, copies, the
// margins and font from the settings, and the error messages.
#include <QDir>
#include <QFileInfo>
#include <QFontInfo>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include "dialogs/PageSettings.h"
#include "editor/EditorTestSupport.h"
#include "platform/Profile.h"
#include "platform/SourceEdit.h"

using namespace plc;
using namespace plc::test;

namespace {

// The paper of every test: 100 x 100 mm without margins at 72 pixels per
// inch, 283 x 283 device pixels. With the default font (line height 11) and
// a top margin of 10 mm (28 pixels) a page holds 20 programme lines.
std::function<void(QPrinter&)> ToPdf(const std::string& path, int copies = 1,
                                     bool collate = true) {
    return [=](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(path));
        printer.setPageSize(QPageSize(QSizeF(100, 100), QPageSize::Millimeter));
        printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        printer.setResolution(72);
        printer.setCopyCount(copies);
        printer.setCollateCopies(collate);
    };
}

QString Simplified(const QString& text) { return text.simplified(); }

// One printed page: its header and its non-blank text rows after it.
struct Page {
    int number = 0, count = 0;
    QString name;
    QStringList rows;
};

QList<Page> ReadPdf(const std::string& path) {
    QProcess process;
    process.start("pdftotext", {"-layout", QString::fromStdString(path), "-"});
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        qWarning("pdftotext failed on %s", path.c_str());
        return {};
    }
    QStringList texts = QString::fromUtf8(process.readAllStandardOutput()).split('\f');
    if (!texts.isEmpty() && texts.last().trimmed().isEmpty()) texts.removeLast();
    static const QRegularExpression header(R"(^(\d+)/(\d+)\s+(\S.*)$)");
    QList<Page> pages;
    for (const QString& text : texts) {
        Page page;
        bool first = true;
        for (const QString& line : text.split('\n')) {
            const QString row = Simplified(line);
            if (row.isEmpty()) continue;
            if (first) {
                const auto match = header.match(row);
                if (match.hasMatch()) {
                    page.number = match.captured(1).toInt();
                    page.count = match.captured(2).toInt();
                    page.name = match.captured(3);
                }
                first = false;
                continue;
            }
            page.rows << row;
        }
        pages << page;
    }
    return pages;
}

// Programme lines that say where they stand.
std::vector<std::string> NumberedLines(int count) {
    std::vector<std::string> lines;
    for (int i = 1; i <= count; ++i) {
        char text[64];
        std::snprintf(text, sizeof text, "N%03d\tNOP ;%d", i, i);
        lines.push_back(text);
    }
    return lines;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i) text += "\r\n";
        text += lines[i];
    }
    return text;
}

QString Headers(const QList<Page>& pages) {
    QStringList headers;
    for (const Page& page : pages) headers << QString("%1/%2").arg(page.number).arg(page.count);
    return headers.join(' ');
}

void ExpectNoFile(const std::string& path) {
    QVERIFY(!QFile::exists(QString::fromStdString(path)));
}

}  // namespace

class TestPrint : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void pages_data();
    void pages();
    void namedDocumentInHeader();
    void copies_data();
    void copies();
    void longLineEndsInEllipsis();
    void eventsBetweenPagesDoNotMixIn();
    void cancelPrintsNothing();
    void errors_data();
    void errors();
};

void TestPrint::initTestCase() {
    QuietOffscreenNotes();
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
}

void TestPrint::pages_data() {
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<int>("topMargin");   // Page/Top, -1: not set
    QTest::addColumn<int>("fontSize");    // Font/Size, -1: not set
    QTest::addColumn<int>("linesPerPage");
    QTest::addColumn<int>("pageCount");
    // An empty text is one empty line: a page with the header alone.
    QTest::newRow("empty document") << 0 << -1 << -1 << 20 << 1;
    QTest::newRow("one line") << 1 << -1 << -1 << 20 << 1;
    QTest::newRow("one full page") << 20 << -1 << -1 << 20 << 1;
    QTest::newRow("one line over") << 21 << -1 << -1 << 20 << 2;
    QTest::newRow("50 lines") << 50 << -1 << -1 << 20 << 3;
    // 50 mm: 141 pixels off the top, 12 rows, 9 lines.
    QTest::newRow("top margin from the settings") << 20 << 50 << -1 << 9 << 3;
    // 16 point: line height 22, 11 rows, 8 lines.
    QTest::newRow("font from the settings") << 20 << -1 << 160 << 8 << 3;
    // No margin: 25 rows, 22 lines.
    QTest::newRow("no top margin") << 23 << 0 << -1 << 22 << 2;
}

void TestPrint::pages() {
    QFETCH(int, lineCount);
    QFETCH(int, topMargin);
    QFETCH(int, fontSize);
    QFETCH(int, linesPerPage);
    QFETCH(int, pageCount);
    OpenEditor open;
    const Profile settings;
    if (topMargin >= 0) QVERIFY(settings.WriteInt("Page", "Top", topMargin));
    if (fontSize >= 0) {
        QVERIFY(settings.WriteInt("Font", "Size", fontSize));
        QFont font;
        QVERIFY(CreateEditorFont(font));
        open.editor.Edit()->SetEditorFont(font);
    }
    const std::vector<std::string> lines = NumberedLines(lineCount);
    open.editor.Edit()->SetText(Joined(lines));
    const std::string pdf = open.Path("out.pdf");
    open.dialogs.ExpectPrintSetup(true, ToPdf(pdf));
    QVERIFY(open.editor.OnCommand(32776));
    open.VerifyDialogs();

    const QList<Page> pages = ReadPdf(pdf);
    QCOMPARE(pages.size(), pageCount);
    QStringList printed;
    for (int i = 0; i < pages.size(); ++i) {
        QCOMPARE(pages[i].number, i + 1);
        QCOMPARE(pages[i].count, pageCount);
        QCOMPARE(pages[i].name, QString("PlcPrg"));
        const int expectedRows = std::min(linesPerPage, lineCount - i * linesPerPage);
        QCOMPARE(pages[i].rows.size(), expectedRows);
        printed << pages[i].rows;
    }
    QStringList expected;
    for (const std::string& line : lines) expected << Simplified(QString::fromStdString(line));
    QCOMPARE(printed, expected);
}

void TestPrint::namedDocumentInHeader() {
    OpenEditor open;
    const std::string source = open.Path("axis.plc");
    WriteBytes(source, "%P00\r\nN001 NOP\r\nEND\r\n");
    QVERIFY(open.editor.Document().OpenDocument(false, source));
    const std::string pdf = open.Path("named.pdf");
    // The print dialog proposes axis.pdf beside the programme: it is given
    // the name and stands in the programme's folder.
    const QString before = QDir::currentPath();
    QString docName, folder;
    open.dialogs.ExpectPrintSetup(true, [&](QPrinter& printer) {
        docName = printer.docName();
        folder = QDir::currentPath();
        ToPdf(pdf)(printer);
    });
    open.editor.Print().OnFilePrint();
    open.VerifyDialogs();
    QCOMPARE(docName, QString("axis"));
    QCOMPARE(folder, QFileInfo(QString::fromStdString(source)).absolutePath());
    QCOMPARE(QDir::currentPath(), before);
    const QList<Page> pages = ReadPdf(pdf);
    QCOMPARE(pages.size(), 1);
    QCOMPARE(pages[0].name, QString::fromStdString(open.editor.Document().FileName()));
    QCOMPARE(pages[0].rows, (QStringList{"%P00", "N001 NOP", "END"}));

    // The default face is not installed: the paper gets the fixed-pitch
    // face the screen shows instead, not a proportional one.
    QVERIFY(!SourceEdit::FaceInstalled(open.editor.Edit()->EditorFont().family()));
    QProcess fonts;
    fonts.start("pdffonts", {QString::fromStdString(pdf)});
    QVERIFY(fonts.waitForFinished(30000));
    const QString shown = QFontInfo(open.editor.Edit()->ShownEditorFont()).family().remove(' ');
    QVERIFY2(QString::fromUtf8(fonts.readAllStandardOutput()).remove(' ').contains(shown), qPrintable(shown));
}

void TestPrint::copies_data() {
    QTest::addColumn<int>("copies");
    QTest::addColumn<bool>("collate");
    QTest::addColumn<QString>("headers");
    QTest::newRow("3 collated") << 3 << true << "1/2 2/2 1/2 2/2 1/2 2/2";
    QTest::newRow("3 uncollated") << 3 << false << "1/2 1/2 1/2 2/2 2/2 2/2";
    QTest::newRow("copy count 0 prints one") << 0 << true << "1/2 2/2";
}

void TestPrint::copies() {
    QFETCH(int, copies);
    QFETCH(bool, collate);
    QFETCH(QString, headers);
    OpenEditor open;
    open.editor.Edit()->SetText(Joined(NumberedLines(21)));
    const std::string pdf = open.Path("copies.pdf");
    open.dialogs.ExpectPrintSetup(true, ToPdf(pdf, copies, collate));
    open.editor.Print().OnFilePrint();
    open.VerifyDialogs();
    const QList<Page> pages = ReadPdf(pdf);
    QCOMPARE(Headers(pages), headers);
    // Every copy of a page carries the same lines.
    for (const Page& page : pages)
        QCOMPARE(page.rows.first(),
                 page.number == 1 ? QString("N001 NOP ;1") : QString("N021 NOP ;21"));
}

void TestPrint::longLineEndsInEllipsis() {
    OpenEditor open;
    const std::string tail = "TAILMARK";
    open.editor.Edit()->SetText("N001 NOP ;" + std::string(300, 'x') + tail + "\r\nN002 NOP");
    const std::string pdf = open.Path("long.pdf");
    open.dialogs.ExpectPrintSetup(true, ToPdf(pdf));
    open.editor.Print().OnFilePrint();
    open.VerifyDialogs();
    const QList<Page> pages = ReadPdf(pdf);
    QCOMPARE(pages.size(), 1);
    QCOMPARE(pages[0].rows.size(), 2);
    QVERIFY(pages[0].rows[0].startsWith("N001 NOP ;xxx"));
    QVERIFY(pages[0].rows[0].endsWith(QChar(0x2026)));
    QVERIFY(!pages[0].rows[0].contains("TAIL"));
    QCOMPARE(pages[0].rows[1], QString("N002 NOP"));
}

void TestPrint::eventsBetweenPagesDoNotMixIn() {
    OpenEditor open;
    const std::vector<std::string> lines = NumberedLines(50);
    open.editor.Edit()->SetText(Joined(lines));
    const std::string pdf = open.Path("busy.pdf");
    open.dialogs.ExpectPrintSetup(true, ToPdf(pdf));
    // Handled between the pages: an edit of the whole text and a second
    // Print, which must not start while the first runs.
    bool ran = false;
    QMetaObject::invokeMethod(
        this,
        [&] {
            ran = true;
            open.editor.Edit()->SetText("CHANGED");
            open.editor.Print().OnFilePrint();
        },
        Qt::QueuedConnection);
    open.editor.Print().OnFilePrint();
    QVERIFY(ran);
    open.VerifyDialogs();
    const QList<Page> pages = ReadPdf(pdf);
    QCOMPARE(Headers(pages), QString("1/3 2/3 3/3"));
    QStringList printed;
    for (const Page& page : pages) printed << page.rows;
    QCOMPARE(printed.size(), 50);
    QCOMPARE(printed.last(), QString("N050 NOP ;50"));
}

void TestPrint::cancelPrintsNothing() {
    OpenEditor open;
    open.editor.Edit()->SetText("N001 NOP");
    const std::string pdf = open.Path("cancelled.pdf");
    open.dialogs.ExpectPrintSetup(false, ToPdf(pdf));
    open.editor.Print().OnFilePrint();
    open.VerifyDialogs();
    QCOMPARE(open.dialogs.Log().size(), size_t(1));
    ExpectNoFile(pdf);
}

void TestPrint::errors_data() {
    QTest::addColumn<int>("fontSize");  // Font/Size, -1: not set
    QTest::addColumn<bool>("withFile");
    QTest::addColumn<QString>("message");
    QTest::newRow("PDF printer without a file") << -1 << false
                                                << "Error seeting up Printer-Context";
    // A size under 8 tenths of a point gives a font without a character
    // height: 7 * -0.139 truncates to 0.
    QTest::newRow("font without height") << 7 << true << "Error Printing Font-Size";
}

void TestPrint::errors() {
    QFETCH(int, fontSize);
    QFETCH(bool, withFile);
    QFETCH(QString, message);
    OpenEditor open;
    if (fontSize >= 0) {
        QVERIFY(Profile().WriteInt("Font", "Size", fontSize));
        QFont font;
        QVERIFY(CreateEditorFont(font));
        open.editor.Edit()->SetEditorFont(font);
    }
    open.editor.Edit()->SetText("N001 NOP");
    const std::string pdf = open.Path("error.pdf");
    open.dialogs.ExpectPrintSetup(true, [&](QPrinter& printer) {
        ToPdf(pdf)(printer);
        if (!withFile) printer.setOutputFileName(QString());
    });
    open.dialogs.ExpectAsk(MsgAnswer::Ok, message.toStdString());
    open.editor.Print().OnFilePrint();
    open.VerifyDialogs();
    const auto& shown = open.dialogs.Log().back();
    QCOMPARE(QString::fromStdString(shown.text), message);
    QCOMPARE(shown.caption, std::string("Error"));
    QCOMPARE(shown.icon, MsgIcon::None);
    QCOMPARE(shown.buttons, MsgButtons::Ok);
    ExpectNoFile(pdf);
}

QTEST_MAIN(TestPrint)
#include "tst_print.moc"
