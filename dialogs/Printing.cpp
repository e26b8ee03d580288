// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/Printing.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <cmath>

#include "dialogs/PrintLayout.h"
#include "platform/Dialogs.h"
#include "platform/Text.h"

namespace plc {

namespace {

// True while a print job runs: the events processed between pages could
// start another one.
bool g_printing = false;

class PrintingScope {
public:
    PrintingScope() { g_printing = true; }
    ~PrintingScope() { g_printing = false; }
    PrintingScope(const PrintingScope&) = delete;
    PrintingScope& operator=(const PrintingScope&) = delete;
};

void ShowPrintError(Dialogs& dialogs, QWidget* parent, const char* text) {
    dialogs.Ask(parent, text, MsgButtons::Ok, MsgIcon::None, kPrintErrorCaption);
}

// Between pages the printer may take its time: the thread's pending events
// are handled meanwhile. The job is never cancelled from here.
void KeepWindowsResponsive() { QCoreApplication::processEvents(); }

// The edit control's font at the print font's cell height: the character
// height is lowered until ascent plus descent fit one line height.
QFont MakePrintFont(const QFont& screenFont, int32_t lineHeight, int32_t pageHeight,
                    QPrinter& printer) {
    QFont font = screenFont;
    // A row taller than the page is never drawn; no need for a larger font.
    const int32_t cell = std::max(1, std::min(lineHeight, pageHeight));
    font.setPixelSize(cell);
    const qreal height = QFontMetricsF(font, &printer).height();
    if (height > cell)
        font.setPixelSize(std::max(1, static_cast<int>(std::floor(cell * cell / height))));
    return font;
}

// Draws one row at the top edge `y`: tabs go to the next stop of eight
// average character widths, nothing wraps, and the piece that runs past the
// right edge ends in an ellipsis.
void DrawRow(QPainter& painter, const QFontMetricsF& metrics, const std::string& row,
             qreal left, qreal right, qreal y) {
    const qreal tab = std::max<qreal>(1, 8 * metrics.averageCharWidth());
    const qreal baseline = y + metrics.ascent();
    qreal x = left;
    size_t pos = 0;
    while (pos <= row.size()) {
        const size_t end = std::min(row.find('\t', pos), row.size());
        const QString piece = ToQString(std::string_view(row).substr(pos, end - pos));
        const qreal width = metrics.horizontalAdvance(piece);
        if (x + width > right) {
            const qreal room = std::max<qreal>(0, right - x);
            painter.drawText(QPointF(x, baseline), metrics.elidedText(piece, Qt::ElideRight, room));
            return;
        }
        if (!piece.isEmpty()) painter.drawText(QPointF(x, baseline), piece);
        x += width;
        if (end == row.size()) return;
        x = left + (std::floor((x - left) / tab) + 1) * tab;
        if (x >= right) return;
        pos = end + 1;
    }
}

// Draws the rows of one page into the printing area; like a multi-line
// edit control, a row that would only partly show stays out.
void DrawPage(QPainter& painter, const QFont& font, const PrintLayout& layout,
              const std::vector<std::string>& rows) {
    painter.setFont(font);
    const QFontMetricsF metrics(font, painter.device());
    for (size_t r = 0; r < rows.size(); ++r) {
        const int64_t y = layout.top + static_cast<int64_t>(r) * layout.lineHeight;
        if (y + layout.lineHeight > layout.bottom) break;
        DrawRow(painter, metrics, rows[r], layout.left, layout.right, static_cast<qreal>(y));
    }
}

// The print dialog's proposal for Print to file is the document name with
// ".pdf" in the current folder (or the home folder when the current one lies
// outside it). While the dialog is open the current folder is therefore the
// document's folder, so the proposal is NAME.pdf beside the programme; the
// old folder comes back when the dialog closes.
class DocumentFolderScope {
public:
    explicit DocumentFolderScope(const std::string& documentName) : m_old(QDir::currentPath()) {
        const QFileInfo document(FileNameToQString(documentName));
        const QString folder = document.isAbsolute() ? document.absolutePath() : QDir::homePath();
        m_changed = QDir::setCurrent(folder);
    }
    ~DocumentFolderScope() {
        if (m_changed) QDir::setCurrent(m_old);
    }
    DocumentFolderScope(const DocumentFolderScope&) = delete;
    DocumentFolderScope& operator=(const DocumentFolderScope&) = delete;

private:
    QString m_old;
    bool m_changed = false;
};

}  // namespace

QString PrintDocumentName(const std::string& documentName) {
    const QString stem = QFileInfo(FileNameToQString(documentName)).completeBaseName();
    return stem.isEmpty() ? QStringLiteral("PlcPrg") : stem;
}

int32_t ScreenFontHeight(const QFont& font) {
    return font.pixelSize() > 0 ? -font.pixelSize() : 0;
}

bool PrintSource(Dialogs& dialogs, QWidget* parent, const PrintRequest& request) {
    if (g_printing) return false;
    PrintingScope scope;

    // The print dialog: all pages, collated copies to begin with.
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(PrintDocumentName(request.documentName));
    printer.setPrintRange(QPrinter::AllPages);
    printer.setCollateCopies(true);
    printer.setCopyCount(1);
    {
        DocumentFolderScope folder(request.documentName);
        if (!dialogs.PrintSetup(parent, printer)) return true;
    }

    // A printer to print on: a PDF printer needs its file.
    const bool toFile = printer.outputFormat() == QPrinter::PdfFormat ||
                        !printer.outputFileName().isEmpty();
    if (!printer.isValid() || (toFile && printer.outputFileName().isEmpty())) {
        ShowPrintError(dialogs, parent, kPrintErrorNoPrinter);
        return true;
    }

    // The printable area, the print font and the page layout.
    PrintMetrics metrics;
    metrics.widthMM = printer.widthMM();
    metrics.heightMM = printer.heightMM();
    metrics.widthPx = printer.width();
    metrics.heightPx = printer.height();
    metrics.dpiY = printer.logicalDpiY();
    const int32_t lineCount = static_cast<int32_t>(request.lines.size());
    const PrintLayout layout =
        ComputePrintLayout(metrics, ScreenFontHeight(request.screenFont), request.topMarginMM,
                           request.leftMarginMM, lineCount);
    if (layout.error != PrintLayoutError::None) {
        ShowPrintError(dialogs, parent, PrintLayoutMessage(layout.error));
        return true;
    }
    const QFont font = MakePrintFont(request.screenFont, layout.lineHeight, layout.bottom, printer);

    // The copies are ours to make: the driver is told one.
    const int32_t copies = printer.copyCount();
    const bool collate = printer.collateCopies();
    printer.setCopyCount(1);

    // The jobs, page by page.
    const auto getLine = [&request](int32_t index, std::string& text) {
        if (index < 0 || static_cast<size_t>(index) >= request.lines.size()) return false;
        text = request.lines[static_cast<size_t>(index)];
        return true;
    };
    for (const PrintJob& job : PlanPrintJobs(layout.pages, copies, collate, toFile)) {
        if (job.empty()) continue;
        QPainter painter;
        if (!painter.begin(&printer)) continue;  // this copy is lost, the others go on
        bool first = true;
        for (const int32_t page : job) {
            // A page the printer refuses ends the job: it is not retried.
            if (!first && !printer.newPage()) break;
            first = false;
            DrawPage(painter, font, layout,
                     PageRows(page, layout.pages, layout.linesPerPage, lineCount,
                              request.documentName, getLine));
            KeepWindowsResponsive();
        }
        painter.end();
    }
    return true;
}

}  // namespace plc
