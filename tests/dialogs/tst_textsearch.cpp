// SPDX-License-Identifier: GPL-3.0-or-later
// The text side of Search/Replace: occurrences in a line under the case and
// whole-word rules, and the exact text of the list entries.
#include <QTest>
#include <string>
#include <vector>

#include "dialogs/TextSearch.h"

using namespace plc;

namespace {

// Occurrences as "column:place" separated by blanks, e.g. "0:F3 9:F5".
QString Describe(const std::vector<LineMatch>& matches) {
    QStringList parts;
    for (const LineMatch& m : matches) {
        const char* place = "";
        switch (m.place) {
        case MatchPlace::Inside: place = "in"; break;
        case MatchPlace::LineEnd: place = "F2"; break;
        case MatchPlace::LineStart: place = "F3"; break;
        case MatchPlace::WholeLine: place = "F4"; break;
        case MatchPlace::AnyPlace: place = "F5"; break;
        }
        parts << QString("%1:%2").arg(m.column).arg(place);
    }
    return parts.join(' ');
}

QByteArray Bytes(const std::string& s) { return QByteArray(s.data(), qsizetype(s.size())); }

}  // namespace

class TestTextSearch : public QObject {
    Q_OBJECT
private slots:
    void findInLine_data();
    void findInLine();
    void caseFoldingTouchesAsciiLettersOnly();
    void entries_data();
    void entries();
    void questionFillsBothPlaceholdersOnce_data();
    void questionFillsBothPlaceholdersOnce();
};

void TestTextSearch::findInLine_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("pattern");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<bool>("wholeWord");
    QTest::addColumn<QString>("expected");
    struct Row {
        const char* name;
        const char* line;
        const char* pattern;
        bool matchCase, wholeWord;
        const char* expected;
    };
    const Row rows[] = {
        // Whole word at the line's start, end, both and neither.
        {"label at start", "N010 NOP", "N010", false, true, "0:F3"},
        {"word at end", "N010 NOP", "NOP", false, true, "5:F2"},
        {"whole line", "NOP", "NOP", false, true, "0:F4"},
        {"inside", "a NOP b", "NOP", false, true, "2:in"},
        {"tab separates", "N010\tNOP", "NOP", false, true, "5:F2"},
        {"underscore separates", "Name_of_H01", "Name", false, true, "0:F3"},
        {"letter before", "xabc", "abc", false, true, ""},
        {"letter before, not whole", "xabc", "abc", false, false, "1:F5"},
        {"letter after at start", "NOPx NOP", "NOP", false, true, "5:F2"},
        {"digit before", "1NOP", "NOP", false, true, ""},
        {"digit after", "NOP1", "NOP", false, true, ""},
        {"byte 0x80 up separates", "\xE9NOP\xFF", "NOP", false, true, "1:in"},
        // Case rules.
        {"folded pattern and line", "SET H001 = 1", "set", false, false, "0:F5"},
        {"exact case misses", "SET H001 = 1", "set", true, false, ""},
        {"exact case among others", "nop NOP", "NOP", true, true, "4:F2"},
        {"folded, two on a line", "H001h001", "h001", false, false, "0:F5 4:F5"},
        // Several matches and overlapping candidates.
        {"two on a line", "SET H001 = H001", "H001", false, false, "4:F5 11:F5"},
        {"non-overlapping pairs", "aaaa", "aa", false, false, "0:F5 2:F5"},
        {"overlap after a hit skipped", "ababa", "aba", false, false, "0:F5"},
        {"rejected candidates only", "aaa", "aa", false, true, ""},
        {"whole word inside a rejected one", "xa a a", "a a", false, true, "3:F2"},
        {"separator in pattern", "a-a-a", "a-a", false, true, "0:F3"},
        // Nothing to find.
        {"empty pattern", "N010 NOP", "", false, false, ""},
        {"empty line", "", "NOP", false, false, ""},
        {"pattern longer than line", "NOP", "NOPS", false, false, ""},
    };
    for (const Row& r : rows)
        QTest::newRow(r.name) << QByteArray(r.line) << QByteArray(r.pattern) << r.matchCase
                              << r.wholeWord << QString(r.expected);
    // Letters from 0x80 up are not folded: a capital A with diaeresis finds
    // itself but not its small letter.
    QTest::newRow("0xC4 folded finds itself")
        << QByteArray("x\xC4y") << QByteArray("\xC4") << false << false << "1:F5";
    QTest::newRow("0xC4 does not find 0xE4")
        << QByteArray("x\xE4y") << QByteArray("\xC4") << false << false << "";
}

void TestTextSearch::findInLine() {
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, pattern);
    QFETCH(bool, matchCase);
    QFETCH(bool, wholeWord);
    QFETCH(QString, expected);
    const auto matches = FindInLine(line.toStdString(), pattern.toStdString(),
                                    SearchOptions{matchCase, wholeWord});
    QCOMPARE(Describe(matches), expected);
}

void TestTextSearch::caseFoldingTouchesAsciiLettersOnly() {
    QCOMPARE(Bytes(FoldCase("@AZ[`az{09 N010\x80\xC0\xC4\xDE\xFF")),
             QByteArray("@az[`az{09 n010\x80\xC0\xC4\xDE\xFF"));
}

void TestTextSearch::entries_data() {
    QTest::addColumn<QByteArray>("entry");
    QTest::addColumn<QByteArray>("expected");
    auto row = [](const char* name, const std::string& entry, const char* expected) {
        QTest::newRow(name) << Bytes(entry) << QByteArray(expected);
    };
    row("search", SearchEntry(1, 0, "set"), "  LINE(001,000): set");
    row("search wide numbers", SearchEntry(1234, 56789, "NOP"), "  LINE(1234,56789): NOP");
    row("search shows text as typed", SearchEntry(7, 12, "H001 %1"), "  LINE(007,012): H001 %1");
    row("inside", ReplaceEntry(MatchPlace::Inside, 3, 5, "q"), "  LINE(003,005): q");
    row("F2", ReplaceEntry(MatchPlace::LineEnd, 1, 5, "q"), "  LINE(001,005) F2: q");
    row("F3", ReplaceEntry(MatchPlace::LineStart, 1, 0, "q"), "  LINE(001,000) F3: q");
    row("F4", ReplaceEntry(MatchPlace::WholeLine, 10, 0, "q"), "  LINE(010,000) F4: q");
    row("F5", ReplaceEntry(MatchPlace::AnyPlace, 100, 4, "q"), "  LINE(100,004) F5: q");
    row("count 0", CountEntry(0), "0 Conformity found/replaced.");
    row("count 2", CountEntry(2), "2 Conformity found/replaced.");
    row("count 1234", CountEntry(1234), "1234 Conformity found/replaced.");
}

void TestTextSearch::entries() {
    QFETCH(QByteArray, entry);
    QFETCH(QByteArray, expected);
    QCOMPARE(entry, expected);
}

void TestTextSearch::questionFillsBothPlaceholdersOnce_data() {
    QTest::addColumn<QByteArray>("find");
    QTest::addColumn<QByteArray>("replace");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("plain") << QByteArray("H001") << QByteArray("H0001")
                           << QByteArray("Replace 'H001' with 'H0001'.");
    QTest::newRow("find holds %2") << QByteArray("a%2b") << QByteArray("x")
                                   << QByteArray("Replace 'a%2b' with 'x'.");
    QTest::newRow("replace holds %1") << QByteArray("a") << QByteArray("%1%1")
                                      << QByteArray("Replace 'a' with '%1%1'.");
    QTest::newRow("both crossed") << QByteArray("%1%2") << QByteArray("%2%1")
                                  << QByteArray("Replace '%1%2' with '%2%1'.");
    QTest::newRow("empty texts") << QByteArray() << QByteArray() << QByteArray("Replace '' with ''.");
}

void TestTextSearch::questionFillsBothPlaceholdersOnce() {
    QFETCH(QByteArray, find);
    QFETCH(QByteArray, replace);
    QFETCH(QByteArray, expected);
    QCOMPARE(Bytes(ReplaceQuestion(find.toStdString(), replace.toStdString())), expected);
    // A lone "%" or another digit stays as it is.
    QCOMPARE(Bytes(FillTwoPlaceholders("100% %3 %1%", "a", "b")), QByteArray("100% %3 a%"));
}

QTEST_APPLESS_MAIN(TestTextSearch)
#include "tst_textsearch.moc"
