// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/PrintLayout.h"

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>

namespace plc {

const char* PrintLayoutMessage(PrintLayoutError error) {
    switch (error) {
        case PrintLayoutError::None: return "";
        case PrintLayoutError::PaperSize: return "Error Printing Paper-Size";
        case PrintLayoutError::FontSize: return "Error Printing Font-Size";
    }
    return "";
}

int32_t PrintLineHeight(int32_t screenHeight, int32_t dpiY) {
    // 64 bits: a large font size from a hand-edited settings file times the
    // resolution does not fit 32 bits. Division truncates toward zero.
    const int64_t height = (int64_t{dpiY} * screenHeight) / -72;
    return static_cast<int32_t>(std::clamp<int64_t>(height, INT32_MIN, INT32_MAX));
}

PrintLayout ComputePrintLayout(const PrintMetrics& m, int32_t screenHeight, int32_t topMarginMM,
                               int32_t leftMarginMM, int32_t lineCount) {
    PrintLayout layout;
    layout.lineHeight = PrintLineHeight(screenHeight, m.dpiY);

    // Margins in device pixels; a printer without a size in millimetres
    // gets none.
    if (m.widthMM > 0 && m.heightMM > 0) {
        const double top = std::max(topMarginMM, 0) * static_cast<double>(m.heightPx) / m.heightMM;
        const double left = std::max(leftMarginMM, 0) * static_cast<double>(m.widthPx) / m.widthMM;
        layout.top = static_cast<int32_t>(std::clamp(top, 0.0, double{INT32_MAX}));
        layout.left = static_cast<int32_t>(std::clamp(left, 0.0, double{INT32_MAX}));
    }
    layout.right = m.widthPx;
    layout.bottom = m.heightPx;

    if (m.widthPx <= 0 || m.heightPx <= 0) {
        layout.error = PrintLayoutError::PaperSize;
        return layout;
    }
    if (layout.lineHeight <= 0) {
        layout.error = PrintLayoutError::FontSize;
        return layout;
    }

    // Three line heights are held back: the header, the blank line under
    // it and one more, so that at least one programme line fits a page.
    const int64_t rows = (int64_t{m.heightPx} - layout.top) / layout.lineHeight;
    layout.linesPerPage = static_cast<int32_t>(std::max<int64_t>(rows, 4) - 3);
    const int32_t lines = std::max(lineCount, 0);
    layout.pages = lines / layout.linesPerPage + (lines % layout.linesPerPage != 0 ? 1 : 0);
    return layout;
}

std::vector<PrintJob> PlanPrintJobs(int32_t pages, int32_t copies, bool collate,
                                    bool singleFileOutput) {
    copies = std::max(copies, 1);
    const int32_t documents = collate ? copies : 1;
    const int32_t repeats = collate ? 1 : copies;
    std::vector<PrintJob> jobs;
    for (int32_t d = 0; d < documents; ++d) {
        PrintJob job;
        for (int32_t page = 0; page < pages; ++page)
            job.insert(job.end(), static_cast<size_t>(repeats), page);
        jobs.push_back(std::move(job));
    }
    if (singleFileOutput && jobs.size() > 1) {
        PrintJob all;
        for (const PrintJob& job : jobs) all.insert(all.end(), job.begin(), job.end());
        jobs.assign(1, std::move(all));
    }
    return jobs;
}

std::vector<std::string> PageRows(int32_t page, int32_t pages, int32_t linesPerPage,
                                  int32_t lineCount, const std::string& documentName,
                                  const std::function<bool(int32_t, std::string&)>& getLine) {
    char number[48];
    std::snprintf(number, sizeof number, "%" PRId32 "/%" PRId32 "\t", page + 1, pages);
    std::vector<std::string> rows{number + documentName, std::string()};
    const int64_t first = int64_t{page} * linesPerPage;
    const int64_t end = std::min<int64_t>(first + linesPerPage, lineCount);
    for (int64_t line = first; line < end; ++line) {
        std::string text;
        if (getLine(static_cast<int32_t>(line), text)) rows.push_back(std::move(text));
    }
    return rows;
}

}  // namespace plc
