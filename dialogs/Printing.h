// SPDX-License-Identifier: GPL-3.0-or-later
// The Print command's job: the print dialog, the checks of printer, font
// and paper, and the pages drawn with the print font, each headed by its
// page number, the page count and the document name. A PDF file chosen in
// the print dialog is a printer like any other.
#pragma once

#include <QFont>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

class QWidget;

namespace plc {

class Dialogs;

// The error messages of printing (caption "Error", OK only, no icon).
inline constexpr const char* kPrintErrorCaption = "Error";
inline constexpr const char* kPrintErrorNoPrinter = "Error seeting up Printer-Context";

// What is printed: the text as the editor holds it when the command starts,
// so that edits made while pages go out do not mix into the printout.
struct PrintRequest {
    std::vector<std::string> lines;  // one entry per line of the edit control
    std::string documentName;        // "PlcPrg" for a document without a file
    QFont screenFont;                // the font the edit control shows the text in
    int32_t topMarginMM = 10;
    int32_t leftMarginMM = 10;
};

// The name of the print job, and of the file Print to file proposes: the
// document's file name without its folder and extension ("PlcPrg" for a
// document without a file).
QString PrintDocumentName(const std::string& documentName);

// The print font's character height in screen pixels, negative as the
// layout expects it; 0 for a font that has no pixel height.
int32_t ScreenFontHeight(const QFont& font);

// Runs the whole Print command. While pages go out the pending events are
// processed, so the windows stay responsive; a second print started from
// one of them meanwhile is refused (false). True when the command ran.
bool PrintSource(Dialogs& dialogs, QWidget* parent, const PrintRequest& request);

}  // namespace plc
