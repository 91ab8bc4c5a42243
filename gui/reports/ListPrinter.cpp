#include "reports/ListPrinter.h"

#include <stdexcept>

#include <QDateTime>
#include <QFontInfo>
#include <QLocale>
#include <QPainter>
#include <QPrinter>

#include "app/VersionInfo.h"
#include "dialogs/UserPrompts.h"
#include "reports/PrintLayout.h"
#include "results/CellText.h"
#include "results/ResultGrid.h"

namespace quorvane {
namespace {

const QColor kShading(217, 234, 247);

QFont PrintFont() {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(7);
    return font;
}

QRect Rect(const TPrintRect& r) {
    return QRect(QPoint(r.Left, r.Top), QPoint(r.Right - 1, r.Bottom - 1));
}

int Flags(TPrintAlign align) {
    const int vertical = Qt::AlignVCenter | Qt::TextSingleLine;
    switch (align) {
    case TPrintAlign::Centre:
        return Qt::AlignHCenter | vertical;
    case TPrintAlign::Right:
        return Qt::AlignRight | vertical;
    default:
        return Qt::AlignLeft | vertical;
    }
}

// One line of text, clipped to its cell unless told otherwise.
void DrawCell(QPainter& painter, const TPrintRect& cell, TPrintAlign align, const QString& text,
              bool clip = true) {
    if (!clip) {
        painter.drawText(Rect(cell), Flags(align) | Qt::TextDontClip, text);
        return;
    }
    painter.save();
    painter.setClipRect(Rect(cell));
    painter.drawText(Rect(cell), Flags(align), text);
    painter.restore();
}

class TListPrinter {
public:
    TListPrinter(QPainter& painter, const TResultGrid& results)
        : FPainter(painter), FResults(results), FFont(PrintFont()),
          FLayout(PrintLayoutFor(*painter.device())),
          FPages(FLayout.PageCount(results.View().PassingCount())) {
        FPainter.setFont(FFont);
    }

    void Print(QPrinter& printer) {
        PageHeader();
        int top = FLayout.FirstRowTop();
        int onPage = 0;
        const TResultView& view = FResults.View();
        for (uint32_t record : view.PassingRecords()) {
            if (onPage == FLayout.LinesPerPage()) {
                PageFooter();
                printer.newPage();
                ++FPage;
                PageHeader();
                onPage = 0;
                top = FLayout.FirstRowTop();
            }
            if (FResults.StripeFlag(record))
                FPainter.fillRect(Rect(FLayout.RowBand(top)), kShading);
            Row(view.File(record), top);
            ++onPage;
            top += FLayout.LineHeight();
        }
        Totals(top + FLayout.LineHeight());
        PageFooter();
    }

private:
    void Row(const TFile& file, int top) {
        const TPrintRect name = FLayout.RowCell(0, top);
        const QString elided = FPainter.fontMetrics().elidedText(
            FromEngine(file.Name), Qt::ElideRight, name.Right - name.Left);
        DrawCell(FPainter, name, FLayout.RowAlign(0), elided);
        DrawCell(FPainter, FLayout.RowCell(1, top), FLayout.RowAlign(1), SizeText(file.Size));
        DrawCell(FPainter, FLayout.RowCell(2, top), FLayout.RowAlign(2), DateText(file.Date));
        DrawCell(FPainter, FLayout.RowCell(3, top), FLayout.RowAlign(3), FromEngine(file.Path()));
    }

    // The totals are not clipped: a byte total wider than the size column would otherwise lose
    // its leading digits and print a wrong number. It grows to the left, into the room the
    // short file count leaves.
    void Totals(int top) {
        const TSummary& summary = FResults.Summary();
        DrawCell(FPainter, FLayout.RowCell(0, top), TPrintAlign::Left,
                 QString::number(summary.Files) + QStringLiteral(" files"), false);
        DrawCell(FPainter, FLayout.RowCell(1, top), TPrintAlign::Right,
                 SizeText(summary.Bytes) + QStringLiteral(" bytes"), false);
        DrawCell(FPainter, FLayout.RowCell(2, top), TPrintAlign::Left,
                 SizeText(static_cast<int64_t>(summary.Groups)) + QStringLiteral(" groups"), false);
    }

    void PageHeader() {
        QFont font = FFont;
        font.setBold(true);
        font.setItalic(true);
        FPainter.setFont(font);
        for (int column = 0; column < kPrintColumnCount; ++column)
            DrawCell(FPainter, FLayout.HeaderCell(column), TPrintLayout::HeaderAlign(),
                     ColumnCaption(static_cast<TResultColumn>(rcName + column)));
        const int y = FLayout.HeaderRuleY();
        FPainter.drawLine(FLayout.TableLeft(), y, FLayout.TableRight(), y);
        FPainter.setFont(FFont);
    }

    void PageFooter() {
        QFont font = FFont;
        font.setItalic(true);
        FPainter.setFont(font);
        const int y = FLayout.FooterRuleY();
        FPainter.drawLine(FLayout.TableLeft(), y, FLayout.TableRight(), y);
        const QString product =
            FromEngine(VersionValue("ProductName") + ' ' + VersionValue("ProductVersion") + "  " +
                       VersionValue("LegalCopyright"));
        DrawCell(FPainter, FLayout.FooterLeftCell(), TPrintAlign::Left, product);
        const QDateTime now = QDateTime::currentDateTime();
        DrawCell(FPainter, FLayout.FooterCentreCell(), TPrintAlign::Centre,
                 QLocale().toString(now.date(), QLocale::ShortFormat) +
                     now.time().toString(QStringLiteral(" HH:mm:ss")));
        DrawCell(FPainter, FLayout.FooterRightCell(), TPrintAlign::Right,
                 QStringLiteral("Page %1 of %2").arg(FPage).arg(FPages));
        FPainter.setFont(FFont);
    }

    QPainter& FPainter;
    const TResultGrid& FResults;
    QFont FFont;
    TPrintLayout FLayout;
    int FPages;
    int FPage = 1;
};

} // namespace

TPrintLayout PrintLayoutFor(QPaintDevice& device) {
    // LineHeight: the height of a line of text ("My") in the print font on the device, plus 5.
    return TPrintLayout(device.width(), device.height(),
                        QFontMetrics(PrintFont(), &device).height() + 5);
}

QString PrintFontFamily() {
    return QFontInfo(PrintFont()).family();
}

void PrintResultsList(QPrinter& printer, const TResultGrid& results) {
    QPainter painter;
    if (!painter.begin(&printer)) {
        const QString output = printer.outputFileName();
        throw std::runtime_error(output.isEmpty() ? std::string("Unable to start printing on ") +
                                                        printer.printerName().toStdString()
                                                  : "Unable to write to " + ToEngine(output));
    }
    TListPrinter(painter, results).Print(printer);
    painter.end();
}

} // namespace quorvane
