// SPDX-License-Identifier: GPL-3.0-or-later
// Page setup: what the dialog shows from the settings, what OK writes (and
// what it refuses), that Cancel writes nothing, and the editor font rebuilt
// after OK.
#include <QFontInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <optional>

#include "dialogs/PageSetupDlg.h"
#include "editor/EditorTestSupport.h"
#include "platform/Profile.h"
#include "platform/SourceEdit.h"
#include "platform/Text.h"
#include "resources/StringTable.h"

using namespace plc;
using namespace plc::test;

namespace {

QFont Picked(const char* family, int points, QFont::Weight weight, bool italic = false,
             bool underline = false, bool strikeOut = false) {
    QFont font(family);
    font.setPointSize(points);
    font.setWeight(weight);
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(strikeOut);
    return font;
}

bool SettingsExist() { return QFile::exists("PlcEdit.ini"); }

}  // namespace

class TestPageSetup : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QuietOffscreenNotes(); }
    void showsSettings_data();
    void showsSettings();
    void okValidatesMargins_data();
    void okValidatesMargins();
    void okWithoutFontWritesOnlyPage();
    void okAfterFontWritesEverythingInOrder();
    void cancelWritesNothing();
    void secondFontStartsFromFirstPick();
    void editorFontRebuiltAfterOk();
    void editorFontKeptOnCancel();
};

// ---------------------------------------------------------------- opening

void TestPageSetup::showsSettings_data() {
    QTest::addColumn<QString>("ini");
    QTest::addColumn<QString>("top");
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("face");
    QTest::addColumn<QString>("size");
    QTest::newRow("fresh settings") << "" << "10" << "10" << "MS Sans Serif" << "8";
    QTest::newRow("stored values")
        << "[Page]\r\nTop=25\r\nLeft=0\r\n[Font]\r\nSize=125\r\nFaceName=Courier\r\n"
        << "25" << "0" << "Courier" << "12";
    QTest::newRow("keys in other case")
        << "[page]\r\ntop=7\r\n[FONT]\r\nsize=95\r\n" << "7" << "10" << "MS Sans Serif" << "9";
}

void TestPageSetup::showsSettings() {
    QFETCH(QString, ini);
    QFETCH(QString, top);
    QFETCH(QString, left);
    QFETCH(QString, face);
    QFETCH(QString, size);
    ScratchDirectory scratch;
    if (!ini.isEmpty()) WriteBytes("PlcEdit.ini", ini.toStdString());
    ScriptedDialogs dialogs(FailTest());
    const QFont current("Sans");
    CPageSetupDlg dialog(dialogs, &current);
    QCOMPARE(dialog.windowTitle(), QString("Page setup"));
    QCOMPARE(dialog.TopEdit()->text(), top);
    QCOMPARE(dialog.LeftEdit()->text(), left);
    // A face that is not installed is named with the one shown instead.
    QCOMPARE(dialog.FaceNameText(), SourceEdit::FaceInstalled(face)
                                        ? face
                                        : QFontInfo(current).family() + " (" + face + " is not installed)");
    QCOMPARE(dialog.PointSizeText(), size);
    QCOMPARE(dialog.m_bFontChosen, 0);
    QCOMPARE(dialog.m_logFont, current);
}

// ---------------------------------------------------------------- OK

void TestPageSetup::okValidatesMargins_data() {
    QTest::addColumn<QString>("top");
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("message");  // empty: accepted
    const QString range = QString::fromLatin1(LoadString(32902));
    const QString notANumber = "Please enter a whole number.";
    QTest::newRow("zero") << "0" << "0" << "";
    QTest::newRow("100 and 100") << "100" << "100" << "";
    QTest::newRow("top 101") << "101" << "100" << range;
    QTest::newRow("left 101") << "0" << "101" << range;
    QTest::newRow("largest unsigned") << "4294967295" << "0" << range;
    QTest::newRow("beyond unsigned") << "4294967296" << "0" << notANumber;
    QTest::newRow("empty top") << "" << "10" << notANumber;
    QTest::newRow("empty left") << "10" << "" << notANumber;
    QTest::newRow("letters") << "1x" << "10" << notANumber;
    QTest::newRow("sign") << "-1" << "10" << notANumber;
}

void TestPageSetup::okValidatesMargins() {
    QFETCH(QString, top);
    QFETCH(QString, left);
    QFETCH(QString, message);
    ScratchDirectory scratch;
    ScriptedDialogs dialogs(FailTest());
    if (!message.isEmpty()) dialogs.ExpectAsk(MsgAnswer::Ok, message.toStdString());
    const QFont current;
    CPageSetupDlg dialog(dialogs, &current);
    dialog.TopEdit()->setText(top);
    dialog.LeftEdit()->setText(left);
    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    QCOMPARE(dialogs.Pending(), size_t(0));
    if (message.isEmpty()) {
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const Profile settings;
        QCOMPARE(settings.GetInt("Page", "Top", -1), top.toInt());
        QCOMPARE(settings.GetInt("Page", "Left", -1), left.toInt());
    } else {
        // The dialog stays open and nothing is written.
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!SettingsExist());
        QCOMPARE(dialogs.Log().back().icon, MsgIcon::Warning);
    }
}

void TestPageSetup::okWithoutFontWritesOnlyPage() {
    ScratchDirectory scratch;
    ScriptedDialogs dialogs(FailTest());
    const QFont current;
    CPageSetupDlg dialog(dialogs, &current);
    dialog.TopEdit()->setText("15");
    dialog.LeftEdit()->setText("20");
    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    QCOMPARE(ReadBytes("PlcEdit.ini"), std::string("[Page]\r\nTop=15\r\nLeft=20\r\n"));
}

void TestPageSetup::okAfterFontWritesEverythingInOrder() {
    ScratchDirectory scratch;
    ScriptedDialogs dialogs(FailTest());
    dialogs.ExpectFont(Picked("Courier", 12, QFont::Bold, true, false, true));
    const QFont current;
    CPageSetupDlg dialog(dialogs, &current);
    QTest::mouseClick(dialog.FontButton(), Qt::LeftButton);
    QCOMPARE(dialog.FaceNameText(), QString("Courier"));
    QCOMPARE(dialog.PointSizeText(), QString("12"));
    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(ReadBytes("PlcEdit.ini"),
             std::string("[Page]\r\nTop=10\r\nLeft=10\r\n\r\n"
                         "[Font]\r\nSize=120\r\nWeight=700\r\nIsItalic=1\r\nIsUnderline=0\r\n"
                         "IsStrikeOut=1\r\nFaceName=Courier\r\n"));
}

void TestPageSetup::cancelWritesNothing() {
    ScratchDirectory scratch;
    ScriptedDialogs dialogs(FailTest());
    dialogs.ExpectFont(Picked("Courier", 12, QFont::Bold));
    const QFont current;
    CPageSetupDlg dialog(dialogs, &current);
    dialog.TopEdit()->setText("50");
    QTest::mouseClick(dialog.FontButton(), Qt::LeftButton);
    QTest::mouseClick(dialog.CancelButton(), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!SettingsExist());
}

// The second Font... starts from the first pick; cancelling it keeps the pick.
void TestPageSetup::secondFontStartsFromFirstPick() {
    ScratchDirectory scratch;
    ScriptedDialogs dialogs(FailTest());
    dialogs.ExpectFont(Picked("Courier", 12, QFont::Bold)).ExpectFont(std::nullopt);
    const QFont current("Sans", 9);
    CPageSetupDlg dialog(dialogs, &current);
    QTest::mouseClick(dialog.FontButton(), Qt::LeftButton);
    QTest::mouseClick(dialog.FontButton(), Qt::LeftButton);
    // The font dialog is logged with the family it starts from.
    QCOMPARE(dialogs.Log().at(0).text, ToBytes(current.family()));
    QCOMPARE(dialogs.Log().at(1).text, std::string("Courier"));
    QCOMPARE(dialog.m_bFontChosen, 1);
    QCOMPARE(dialog.PointSizeText(), QString("12"));
}

// ---------------------------------------------------------------- the editor's command

void TestPageSetup::editorFontRebuiltAfterOk() {
    OpenEditor open;
    QCOMPARE(open.editor.Edit()->EditorFont().pixelSize(), 11);
    open.dialogs.ExpectModal(QDialog::Accepted, [&](QDialog& shown) {
        auto& dialog = static_cast<CPageSetupDlg&>(shown);
        QCOMPARE(dialog.m_logFont.pixelSize(), 11);  // starts from the editor's font
        QTest::mouseClick(dialog.FontButton(), Qt::LeftButton);
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    });
    open.dialogs.ExpectFont(Picked("Courier", 12, QFont::Bold));
    QVERIFY(open.editor.OnCommand(32785));
    open.VerifyDialogs();
    QCOMPARE(open.dialogs.Log().at(0).text, std::string("Page setup"));
    const QFont font = open.editor.Edit()->EditorFont();
    QCOMPARE(font.pixelSize(), 16);  // 120 tenths: -16 pixels
    QCOMPARE(font.weight(), QFont::Bold);
    QCOMPARE(font.family(), QString("Courier"));
}

void TestPageSetup::editorFontKeptOnCancel() {
    OpenEditor open;
    // A font picked and then Cancel: nothing written, the font stays.
    open.dialogs.ExpectModal(QDialog::Rejected, [&](QDialog& shown) {
        auto& dialog = static_cast<CPageSetupDlg&>(shown);
        QTest::mouseClick(dialog.FontButton(), Qt::LeftButton);
        QTest::mouseClick(dialog.CancelButton(), Qt::LeftButton);
    });
    open.dialogs.ExpectFont(Picked("Courier", 12, QFont::Bold));
    open.editor.Print().OnPageSetup();
    open.VerifyDialogs();
    QVERIFY(!SettingsExist());
    QCOMPARE(open.editor.Edit()->EditorFont().pixelSize(), 11);
    QCOMPARE(open.editor.Edit()->EditorFont().family(), QString("MS Sans Serif"));
}

QTEST_MAIN(TestPageSetup)
#include "tst_pagesetup.moc"
