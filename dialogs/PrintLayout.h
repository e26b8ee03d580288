// SPDX-License-Identifier: GPL-3.0-or-later
// The arithmetic of a print job, free of any device: the print font's line
// height, the printing area, lines per page, page count, the order in which
// pages go to the printer for the copies, and the text rows of one page.
// The Print command reads the device's numbers, computes the layout here and
// only draws what it says.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace plc {

// What the printer reports about its printable area.
struct PrintMetrics {
    int32_t widthMM = 0, heightMM = 0;  // printable area in millimetres
    int32_t widthPx = 0, heightPx = 0;  // printable area in device pixels
    int32_t dpiY = 0;                   // device pixels per inch, vertical
};

enum class PrintLayoutError { None, PaperSize, FontSize };

// The message of a layout error, as the user sees it ("" for None).
const char* PrintLayoutMessage(PrintLayoutError error);

struct PrintLayout {
    PrintLayoutError error = PrintLayoutError::None;
    int32_t lineHeight = 0;               // print font's cell height, device pixels
    int32_t left = 0, top = 0;            // printing area: (left, top) to (widthPx, heightPx)
    int32_t right = 0, bottom = 0;
    int32_t linesPerPage = 0;             // programme lines under the header
    int32_t pages = 0;                    // pages of one copy
};

// The print font's cell height for a screen font of `screenHeight` (a
// character height in screen pixels, negative; 0 for a font without a
// height): (dpiY * screenHeight) / -72, truncated toward zero.
int32_t PrintLineHeight(int32_t screenHeight, int32_t dpiY);

// The layout of `lineCount` lines printed with a screen font of
// `screenHeight` and margins in millimetres. There is no right or bottom
// margin. A margin below 0 counts as 0.
PrintLayout ComputePrintLayout(const PrintMetrics& metrics, int32_t screenHeight,
                               int32_t topMarginMM, int32_t leftMarginMM, int32_t lineCount);

// One print job: the 0-based pages of one copy it prints, in order.
using PrintJob = std::vector<int32_t>;

// The jobs for `copies` copies (at least one is printed). Collated copies
// are separate jobs of the whole document; uncollated copies are one job
// that repeats every page. When the output is one file, every page goes
// into the one job, because a further job would replace the file.
std::vector<PrintJob> PlanPrintJobs(int32_t pages, int32_t copies, bool collate,
                                    bool singleFileOutput);

// The text rows of page `page` (0-based) of `pages`: the header
// "page/pages<TAB>documentName", a blank row, then up to `linesPerPage`
// programme lines from `getLine` (a line it cannot deliver stays out; the
// last page ends with the last line).
std::vector<std::string> PageRows(int32_t page, int32_t pages, int32_t linesPerPage,
                                  int32_t lineCount, const std::string& documentName,
                                  const std::function<bool(int32_t, std::string&)>& getLine);

}  // namespace plc
