// SPDX-License-Identifier: GPL-3.0-or-later
// The print job's arithmetic without a printer: line height, margins, lines
// per page and page count, the order of pages for the copies, and the rows
// of a page.
#include <QTest>

#include "dialogs/PrintLayout.h"

Q_DECLARE_METATYPE(plc::PrintMetrics)

using namespace plc;

namespace {

// A page of 100 x 100 mm at 1000 x 1000 device pixels and 72 pixels per
// inch: a screen font of -10 gives a line height of 10.
PrintMetrics Square() { return {100, 100, 1000, 1000, 72}; }

// The jobs as text: pages 1-based, jobs separated by '|'.
QString JobsText(const std::vector<PrintJob>& jobs) {
    QStringList texts;
    for (const PrintJob& job : jobs) {
        QString text;
        for (int32_t page : job) text += QString::number(page + 1);
        texts << text;
    }
    return texts.join('|');
}

}  // namespace

class TestPrintLayout : public QObject {
    Q_OBJECT
private slots:
    void lineHeight_data();
    void lineHeight();
    void layout_data();
    void layout();
    void jobs_data();
    void jobs();
    void pageRows_data();
    void pageRows();
};

void TestPrintLayout::lineHeight_data() {
    QTest::addColumn<int>("screenHeight");
    QTest::addColumn<int>("dpiY");
    QTest::addColumn<int>("expected");
    QTest::newRow("default font at 600 dpi") << -11 << 600 << 91;
    QTest::newRow("default font at 96 dpi truncates") << -11 << 96 << 14;
    QTest::newRow("12 point at 1200 dpi") << -16 << 1200 << 266;
    QTest::newRow("font without height") << 0 << 600 << 0;
    QTest::newRow("device without resolution") << -11 << 0 << 0;
    QTest::newRow("positive height turns negative") << 11 << 72 << -11;
    // A size from a hand-edited settings file: the product exceeds 32 bits
    // and the height stops at the largest value.
    QTest::newRow("huge font does not wrap around") << -298261617 << 1200 << 2147483647;
}

void TestPrintLayout::lineHeight() {
    QFETCH(int, screenHeight);
    QFETCH(int, dpiY);
    QFETCH(int, expected);
    QCOMPARE(PrintLineHeight(screenHeight, dpiY), expected);
}

void TestPrintLayout::layout_data() {
    QTest::addColumn<PrintMetrics>("metrics");
    QTest::addColumn<int>("screenHeight");
    QTest::addColumn<int>("topMM");
    QTest::addColumn<int>("leftMM");
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<int>("error");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("linesPerPage");
    QTest::addColumn<int>("pages");

    const auto E = [](PrintLayoutError e) { return int(e); };
    const int ok = E(PrintLayoutError::None);
    // 230 pixels high without margin: 23 rows, 20 programme lines.
    const PrintMetrics short230{100, 100, 1000, 230, 72};
    QTest::newRow("no lines, no page") << short230 << -10 << 0 << 0 << 0 << ok << 0 << 0 << 20 << 0;
    QTest::newRow("one line") << short230 << -10 << 0 << 0 << 1 << ok << 0 << 0 << 20 << 1;
    QTest::newRow("one full page") << short230 << -10 << 0 << 0 << 20 << ok << 0 << 0 << 20 << 1;
    QTest::newRow("one line over") << short230 << -10 << 0 << 0 << 21 << ok << 0 << 0 << 20 << 2;
    QTest::newRow("50 lines at 20") << short230 << -10 << 0 << 0 << 50 << ok << 0 << 0 << 20 << 3;
    QTest::newRow("default margins")
        << Square() << -10 << 10 << 10 << 100 << ok << 100 << 100 << 87 << 2;
    QTest::newRow("margins truncate toward zero")
        << PrintMetrics{210, 297, 4960, 7015, 600} << -11 << 10 << 10 << 1 << ok << 236 << 236
        << 71 << 1;
    QTest::newRow("printer without millimetres: no margins")
        << PrintMetrics{0, 0, 1000, 1000, 72} << -10 << 10 << 10 << 1 << ok << 0 << 0 << 97 << 1;
    QTest::newRow("margin larger than the page: one line per page")
        << Square() << -10 << 200 << 0 << 5 << ok << 2000 << 0 << 1 << 5;
    QTest::newRow("fewer than four rows left: one line per page")
        << Square() << -10 << 97 << 0 << 3 << ok << 970 << 0 << 1 << 3;
    QTest::newRow("exactly four rows left") << Square() << -10 << 96 << 0 << 3 << ok << 960 << 0
                                            << 1 << 3;
    QTest::newRow("five rows left: two lines") << Square() << -10 << 95 << 0 << 3 << ok << 950
                                               << 0 << 2 << 2;
    QTest::newRow("negative margins count as none")
        << Square() << -10 << -5 << -5 << 1 << ok << 0 << 0 << 97 << 1;
    QTest::newRow("no width") << PrintMetrics{100, 100, 0, 1000, 72} << -10 << 0 << 0 << 1
                              << E(PrintLayoutError::PaperSize) << 0 << 0 << 0 << 0;
    QTest::newRow("negative height") << PrintMetrics{100, 100, 1000, -1, 72} << -10 << 0 << 0 << 1
                                     << E(PrintLayoutError::PaperSize) << 0 << 0 << 0 << 0;
    QTest::newRow("paper size before font size")
        << PrintMetrics{100, 100, 0, 0, 72} << 0 << 0 << 0 << 1 << E(PrintLayoutError::PaperSize)
        << 0 << 0 << 0 << 0;
    QTest::newRow("font without height") << Square() << 0 << 0 << 0 << 1
                                         << E(PrintLayoutError::FontSize) << 0 << 0 << 0 << 0;
    QTest::newRow("font that rounds to nothing")
        << PrintMetrics{100, 100, 1000, 1000, 6} << -11 << 0 << 0 << 1
        << E(PrintLayoutError::FontSize) << 0 << 0 << 0 << 0;
}

void TestPrintLayout::layout() {
    QFETCH(PrintMetrics, metrics);
    QFETCH(int, screenHeight);
    QFETCH(int, topMM);
    QFETCH(int, leftMM);
    QFETCH(int, lineCount);
    QFETCH(int, error);
    QFETCH(int, top);
    QFETCH(int, left);
    QFETCH(int, linesPerPage);
    QFETCH(int, pages);
    const PrintLayout layout = ComputePrintLayout(metrics, screenHeight, topMM, leftMM, lineCount);
    QCOMPARE(int(layout.error), error);
    if (layout.error != PrintLayoutError::None) {
        QVERIFY(*PrintLayoutMessage(layout.error) != '\0');
        return;
    }
    QCOMPARE(layout.top, top);
    QCOMPARE(layout.left, left);
    QCOMPARE(layout.right, metrics.widthPx);
    QCOMPARE(layout.bottom, metrics.heightPx);
    QCOMPARE(layout.linesPerPage, linesPerPage);
    QCOMPARE(layout.pages, pages);
}

void TestPrintLayout::jobs_data() {
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("copies");
    QTest::addColumn<bool>("collate");
    QTest::addColumn<bool>("toFile");
    QTest::addColumn<QString>("expected");
    QTest::newRow("one copy") << 3 << 1 << true << false << "123";
    QTest::newRow("copy count 0 prints one") << 2 << 0 << true << false << "12";
    QTest::newRow("negative copy count prints one") << 2 << -4 << false << false << "12";
    QTest::newRow("collated: a job per copy") << 2 << 3 << true << false << "12|12|12";
    QTest::newRow("uncollated: pages repeated in one job") << 2 << 3 << false << false
                                                           << "111222";
    QTest::newRow("collated into one file") << 2 << 3 << true << true << "121212";
    QTest::newRow("uncollated into one file") << 2 << 3 << false << true << "111222";
    QTest::newRow("no pages") << 0 << 2 << true << false << "|";
}

void TestPrintLayout::jobs() {
    QFETCH(int, pages);
    QFETCH(int, copies);
    QFETCH(bool, collate);
    QFETCH(bool, toFile);
    QFETCH(QString, expected);
    QCOMPARE(JobsText(PlanPrintJobs(pages, copies, collate, toFile)), expected);
}

void TestPrintLayout::pageRows_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("linesPerPage");
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("empty document")
        << 0 << 1 << 20 << 1 << QStringList{"1/1\tPlcPrg", "", "L0"};
    QTest::newRow("first of three")
        << 0 << 3 << 2 << 5 << QStringList{"1/3\tPlcPrg", "", "L0", "L1"};
    QTest::newRow("middle page") << 1 << 3 << 2 << 5 << QStringList{"2/3\tPlcPrg", "", "L2", "L3"};
    QTest::newRow("last page holds the rest")
        << 2 << 3 << 2 << 5 << QStringList{"3/3\tPlcPrg", "", "L4"};
    QTest::newRow("one line per page") << 3 << 4 << 1 << 4 << QStringList{"4/4\tPlcPrg", "", "L3"};
}

void TestPrintLayout::pageRows() {
    QFETCH(int, page);
    QFETCH(int, pages);
    QFETCH(int, linesPerPage);
    QFETCH(int, lineCount);
    QFETCH(QStringList, expected);
    const auto lines = [lineCount](int32_t index, std::string& text) {
        if (index < 0 || index >= lineCount) return false;
        text = "L" + std::to_string(index);
        return true;
    };
    QStringList rows;
    for (const std::string& row : PageRows(page, pages, linesPerPage, lineCount, "PlcPrg", lines))
        rows << QString::fromStdString(row);
    QCOMPARE(rows, expected);
}

QTEST_APPLESS_MAIN(TestPrintLayout)
#include "tst_printlayout.moc"
