#pragma once
// TTKV_Printer: prints a text as pages on a system printer, or on a printer the caller set up (a
// PDF file, for instance): a header block, the body wrapped by printed width and a footer with the
// page number and count on every page. Texts are UTF-8; margins are millimetres.

#include <QFont>

#include <string>
#include <vector>

class QPrinter;

namespace tkv {

enum class PrintOrientation { portrait, landscape };

class TTKV_Printer {
  public:
    TTKV_Printer();

    int PrinterNumber = 0; // in the system's printer list; the first printer when out of range
    std::string Title;     // of the job, as the spooler shows it
    PrintOrientation Orientation = PrintOrientation::portrait;
    bool WordWrap = true;
    bool HeaderOnlyFirstPage = true;
    std::vector<std::string> TextBody;
    std::vector<std::string> TextHeader;
    std::string TextFooter; // "{PAGESCOUNT}" and "{PAGESINDEX}" become the count and the page number
    QFont FontBody;
    QFont FontHeader;
    QFont FontFooter;
    int MarginTop = 15;
    int MarginBottom = 15;
    int MarginLeft = 15;
    int MarginRight = 15;

    // On the system printer PrinterNumber. False when no printer is installed or the printer did
    // not take the job.
    bool Print() const;
    // On this printer, which gets the job title and the orientation. False when it did not take the job.
    bool Print(QPrinter& printer) const;
};

// The printers the system offers; the print operations take them through this interface.
class PrinterSystem {
  public:
    virtual ~PrinterSystem() = default;
    // Names in the order PrinterNumber counts them.
    virtual std::vector<std::string> printers() const = 0;
    // The printer the system prints on unless told otherwise; empty when it names none.
    virtual std::string current_printer() const = 0;
    virtual bool print(const TTKV_Printer& job) = 0;
};

// The installed printers (CUPS queues on this system).
class SystemPrinters : public PrinterSystem {
  public:
    std::vector<std::string> printers() const override;
    std::string current_printer() const override;
    bool print(const TTKV_Printer& job) override { return job.Print(); }
};

} // namespace tkv
