// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick of the editor's typing and start-up figures: a bare
// QScintilla window, nothing but the edit control in 8-bit mode with CR LF
// line ends and a fixed-pitch face, holding the same programme file.
//   bare_window [FILE]
// bench/typing_cost.sh types into it and into plcedit alike and prints the
// paired ratios.
#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QFile>
#include <QFontDatabase>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QsciScintilla edit;
    edit.setWindowTitle("Bare");
    edit.setUtf8(false);
    edit.setEolMode(QsciScintilla::EolWindows);
    edit.setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    if (argc > 1) {
        QFile file(QString::fromLocal8Bit(argv[1]));
        if (!file.open(QIODevice::ReadOnly)) return 2;
        const QByteArray bytes = file.readAll();
        edit.SendScintilla(QsciScintillaBase::SCI_SETTEXT, bytes.constData());
    }
    edit.resize(1000, 700);
    edit.show();
    return app.exec();
}
