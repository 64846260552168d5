#include "platform/qt/ttkv_printer.h"

#include "platform/print_layout.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace tkv {

namespace {

QString qt(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// Text measured in the printer's resolution, as it will be drawn.
class PrinterMeasurer : public TextMeasurer {
  public:
    PrinterMeasurer(const TTKV_Printer& job, QPaintDevice* device)
        : body_(job.FontBody, device), header_(job.FontHeader, device), footer_(job.FontFooter, device) {}

    int width(std::string_view text, PrintFont font) const override {
        return metrics(font).horizontalAdvance(qt(text));
    }
    int height(std::string_view text, PrintFont font) const override {
        return metrics(font).size(Qt::TextSingleLine, qt(text)).height();
    }
    const QFontMetrics& metrics(PrintFont font) const {
        return font == PrintFont::body ? body_ : font == PrintFont::header ? header_ : footer_;
    }

  private:
    QFontMetrics body_;
    QFontMetrics header_;
    QFontMetrics footer_;
};

// The sheet and its printable area in device pixels: the painter starts at the printable area.
PageMetrics page_metrics(const QPrinter& printer) {
    const QRect paper = printer.paperRect(QPrinter::DevicePixel).toRect();
    const QRect page = printer.pageRect(QPrinter::DevicePixel).toRect();
    return {paper.width(),
            paper.height(),
            page.width(),
            page.height(),
            page.x() - paper.x(),
            page.y() - paper.y(),
            printer.logicalDpiX(),
            printer.logicalDpiY()};
}

} // namespace

TTKV_Printer::TTKV_Printer() : FontBody("MS Sans Serif", 8), FontHeader(FontBody), FontFooter(FontBody) {
    FontHeader.setBold(true);
    FontFooter.setBold(true);
}

bool TTKV_Printer::Print() const {
    const QStringList names = QPrinterInfo::availablePrinterNames();
    if (names.isEmpty()) return false;
    const int number = PrinterNumber >= 0 && PrinterNumber < names.size() ? PrinterNumber : 0;
    QPrinter printer(QPrinterInfo::printerInfo(names[number]), QPrinter::HighResolution);
    return printer.isValid() && Print(printer);
}

bool TTKV_Printer::Print(QPrinter& printer) const {
    printer.setDocName(qt(Title));
    printer.setPageOrientation(Orientation == PrintOrientation::landscape ? QPageLayout::Landscape
                                                                          : QPageLayout::Portrait);
    QPainter painter;
    if (!painter.begin(&printer)) return false;

    PrintDocument document;
    document.header = TextHeader;
    document.body = TextBody;
    document.footer = TextFooter;
    document.word_wrap = WordWrap;
    document.header_only_first_page = HeaderOnlyFirstPage;
    const PrinterMeasurer measurer(*this, &printer);
    const PageLayout layout = layout_pages(document, page_metrics(printer),
                                           {MarginTop, MarginBottom, MarginLeft, MarginRight}, measurer);

    int page = 1;
    for (const PlacedText& text : layout.texts) {
        for (; page < text.page; ++page)
            if (!printer.newPage()) {
                painter.end();
                return false;
            }
        const QFont& font = text.font == PrintFont::body     ? FontBody
                            : text.font == PrintFont::header ? FontHeader
                                                             : FontFooter;
        painter.setFont(font);
        // Layout positions are the top left of a line; the painter writes on its baseline.
        painter.drawText(QPoint(text.x, text.y + measurer.metrics(text.font).ascent()), qt(text.text));
    }
    return painter.end() && printer.printerState() != QPrinter::Error;
}

std::vector<std::string> SystemPrinters::printers() const {
    std::vector<std::string> names;
    for (const QString& name : QPrinterInfo::availablePrinterNames())
        names.push_back(name.toStdString());
    return names;
}

std::string SystemPrinters::current_printer() const {
    return QPrinterInfo::defaultPrinterName().toStdString();
}

} // namespace tkv
