// TTKV_Printer on real printers: a QPrinter writing a PDF file, and a CUPS-PDF queue of a CUPS
// scheduler started for the test. The pages are read back with pdftotext.

#include "platform/qt/ttkv_printer.h"
#include "support/cups_peer.h"
#include "support/temp_dir.h"

#include <QDateTime>
#include <QFileInfo>
#include <QPrinter>
#include <QRegularExpression>
#include <QThread>
#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tkv {
namespace {

using test::Run;
using test::run;

// A job of about three pages: a title with its underline, a line of 120 words, a word of 400
// letters and 140 numbered lines, in a proportional font.
TTKV_Printer game_job(const std::string& title) {
    TTKV_Printer job;
    job.Title = title;
    job.FontBody = QFont("DejaVu Sans", 10);
    job.FontHeader = job.FontBody;
    job.FontHeader.setBold(true);
    job.FontFooter = QFont("DejaVu Sans", 8);
    job.FontFooter.setBold(true);
    job.TextHeader = {"Name of the game: Printer test (Tests)", " Number of rows: 144"};
    job.TextFooter = "{PAGESCOUNT} / {PAGESINDEX}. page";
    std::string words;
    for (int n = 1; n <= 120; ++n)
        words += (n > 1 ? " w" : "w") + std::string(n < 10 ? "00" : n < 100 ? "0" : "") + std::to_string(n);
    job.TextBody = {"Cheats:", "-------", words, std::string(400, 'X')};
    for (int n = 1; n <= 140; ++n)
        job.TextBody.push_back("Line " + std::string(n < 10 ? "00" : n < 100 ? "0" : "") + std::to_string(n));
    return job;
}

std::vector<std::string> split(const std::string& text, char at) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(at, start)) != std::string::npos; start = end + 1)
        parts.push_back(text.substr(start, end - start));
    if (start < text.size()) parts.push_back(text.substr(start));
    return parts;
}

std::string trimmed(const std::string& s) {
    return QString::fromStdString(s).trimmed().toStdString();
}

// What the printed pages of game_job must show, read with pdftotext -layout.
void expect_game_pages(const std::string& pdf) {
    const Run text = run("pdftotext", {"-layout", QString::fromStdString(pdf), "-"});
    ASSERT_EQ(text.exit_code, 0) << "pdftotext could not read " << pdf;
    const std::vector<std::string> pages = split(text.out, '\f'); // one form feed after each page
    ASSERT_GE(pages.size(), 3u) << text.out;
    const std::string count = std::to_string(pages.size());

    std::vector<std::string> numbered;
    std::string x_letters;
    std::size_t longest_x_run = 0;
    std::vector<std::string> words_seen;
    std::vector<std::string> lines_with_words;
    std::optional<std::string> underline;
    for (std::size_t p = 0; p < pages.size(); ++p) {
        SCOPED_TRACE("page " + std::to_string(p + 1));
        const std::string& page = pages[p];
        EXPECT_EQ(page.find("Name of the game") != std::string::npos, p == 0) << "the header belongs to page 1 only";
        EXPECT_NE(page.find(count + " / " + std::to_string(p + 1) + ". page"), std::string::npos) << page;
        const std::vector<std::string> lines = split(page, '\n');
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const std::string line = trimmed(lines[i]);
            if (line.starts_with("Line ")) numbered.push_back(line);
            if (line.starts_with("w")) lines_with_words.push_back(line);
            if (!line.empty() && line.find_first_not_of('X') == std::string::npos) {
                x_letters += line;
                longest_x_run = std::max(longest_x_run, line.size());
            }
            if (line == "Cheats:" && i + 1 < lines.size()) underline = trimmed(lines[i + 1]);
        }
    }
    for (const std::string& line : lines_with_words)
        for (const std::string& w : split(line, ' '))
            if (!w.empty()) words_seen.push_back(w);

    std::vector<std::string> expected_numbered;
    for (int n = 1; n <= 140; ++n)
        expected_numbered.push_back("Line " + std::string(n < 10 ? "00" : n < 100 ? "0" : "") + std::to_string(n));
    EXPECT_EQ(numbered, expected_numbered) << "every body line once, in order";

    ASSERT_GE(lines_with_words.size(), 2u) << "the long line is wrapped";
    EXPECT_EQ(words_seen.size(), 120u) << "no word is lost or cut";
    EXPECT_EQ(words_seen.front(), "w001");
    EXPECT_EQ(words_seen.back(), "w120");

    EXPECT_EQ(x_letters, std::string(400, 'X')) << "the long word is cut, nothing lost";
    EXPECT_LT(longest_x_run, 400u);

    ASSERT_TRUE(underline.has_value());
    EXPECT_EQ(underline->find_first_not_of('-'), std::string::npos) << *underline;
    EXPECT_GT(underline->size(), 7u) << "minus signs are narrower than the title's letters";
}

std::unique_ptr<QPrinter> pdf_printer(const std::string& path, double border_mm) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(QString::fromStdString(path));
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setPageMargins(QMarginsF(border_mm, border_mm, border_mm, border_mm), QPageLayout::Millimeter);
    return printer;
}

TEST(TTKV_Printer, PrintsAGameAsPdfPages) {
    const test::TempDir dir;
    const std::string pdf = dir.path("game.pdf");
    const auto printer = pdf_printer(pdf, 5);
    ASSERT_TRUE(game_job("Code: Printer test").Print(*printer));
    expect_game_pages(pdf);
}

// Where the first word lands, in points from the sheet's top left corner.
QPointF first_word_position(const std::string& pdf) {
    const Run boxes = run("pdftotext", {"-bbox", QString::fromStdString(pdf), "-"});
    const QRegularExpression word(R"re(<word xMin="(-?[0-9.]+)" yMin="(-?[0-9.]+)")re");
    const QRegularExpressionMatch m = word.match(QString::fromStdString(boxes.out));
    return m.hasMatch() ? QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()) : QPointF(-1, -1);
}

TEST(TTKV_Printer, MarginsAreRaisedToThePrintersBorder) {
    constexpr double points_per_mm = 72 / 25.4;
    struct Case {
        int margin_mm;
        double border_mm;
        double expected_mm; // of the text from the left and the top edge
    };
    const Case cases[] = {{0, 12, 12}, {30, 12, 30}, {0, 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.margin_mm);
        const test::TempDir dir;
        const std::string pdf = dir.path("margins.pdf");
        const auto printer = pdf_printer(pdf, c.border_mm);
        TTKV_Printer job;
        job.FontHeader = QFont("DejaVu Sans", 10);
        job.MarginLeft = job.MarginTop = c.margin_mm;
        job.TextHeader = {"Corner"};
        job.TextBody = {"body"};
        ASSERT_TRUE(job.Print(*printer));
        const QPointF at = first_word_position(pdf);
        EXPECT_NEAR(at.x(), c.expected_mm * points_per_mm, 1.5);
        EXPECT_NEAR(at.y(), c.expected_mm * points_per_mm, 1.5);
    }
}

// A CUPS scheduler of the test's own (configuration, spool and socket in a temporary folder) with
// a CUPS-PDF queue, or the system's scheduler when that one already has such a queue. The
// process's CUPS_SERVER points at it before anything asks for printers.
class CupsPdfQueue : public testing::Environment {
  public:
    static CupsPdfQueue* instance;

    void SetUp() override {
        if (!test::a_test_of_suite_runs("CupsPdfPrinter")) return;
        const std::string own = start_own();
        if (!own.empty()) {
            own_.reset();
            const std::string system = use_system();
            if (!system.empty()) unavailable_ = own + "; " + system;
        }
    }
    void TearDown() override { own_.reset(); }

    // Why no queue could be used; empty when one is ready.
    const std::string& unavailable() const { return unavailable_; }
    const std::string& queue() const { return queue_; }
    bool own_scheduler() const { return own_ != nullptr; }

    // Waits until the queue has finished its jobs and a PDF whose name holds token has appeared in
    // the CUPS-PDF output folder; empty when none came within a minute.
    std::string wait_for_pdf(const std::string& token) const {
        const std::filesystem::path out = output_folder();
        for (int tries = 0; tries < 600; ++tries) {
            const bool queue_idle = trimmed(run("lpstat", {"-o", QString::fromStdString(queue_)}).out).empty();
            std::error_code ec;
            if (queue_idle)
                for (const auto& entry : std::filesystem::directory_iterator(out, ec))
                    if (entry.path().filename().string().find(token) != std::string::npos &&
                        entry.path().extension() == ".pdf")
                        return entry.path().string();
            QThread::msleep(100);
        }
        return {};
    }

  private:
    // "Out" of cups-pdf.conf with ${HOME} as the job owner's home.
    static std::filesystem::path output_folder() {
        std::string out = "${HOME}/PDF";
        std::ifstream conf("/etc/cups/cups-pdf.conf");
        for (std::string line; std::getline(conf, line);)
            if (line.starts_with("Out ")) out = trimmed(line.substr(4));
        const passwd* user = getpwuid(getuid());
        const std::string home = user && user->pw_dir ? user->pw_dir : qEnvironmentVariable("HOME").toStdString();
        if (const std::size_t at = out.find("${HOME}"); at != std::string::npos) out.replace(at, 7, home);
        return out;
    }

    std::string start_own() {
        if (const std::string missing = test::CupsPeer::missing(); !missing.empty()) return missing;
        if (!QFileInfo::exists("/usr/lib/cups/backend/cups-pdf")) return "no CUPS-PDF backend";
        if (geteuid() != 0) return "the CUPS-PDF backend runs only for a scheduler started as root";
        own_ = std::make_unique<test::CupsPeer>(test::CupsPeer::Setup{.log_level = "info", .filters_as_lp = true});
        if (const std::string why = own_->start("own cupsd not running"); !why.empty()) return why;
        queue_ = "PDF";
        const Run add = run("lpadmin", {"-p", "PDF", "-v", "cups-pdf:/", "-m", "lsb/usr/cups-pdf/CUPS-PDF_opt.ppd",
                                        "-o", "pdftops-renderer-default=pdftocairo", "-o", "printer-is-shared=no",
                                        "-o", "PageSize=a4", "-E"});
        if (add.exit_code != 0 || run("lpadmin", {"-d", "PDF"}).exit_code != 0)
            return "lpadmin could not add the CUPS-PDF queue: " + own_->error_log();
        return {};
    }

    // The system's scheduler, when it runs and has a CUPS-PDF queue.
    std::string use_system() {
        qunsetenv("CUPS_SERVER");
        if (!test::cups_scheduler_runs()) return "no system scheduler is running";
        for (const std::string& line : split(run("lpstat", {"-v"}).out, '\n'))
            if (line.find("cups-pdf:/") != std::string::npos && line.starts_with("device for ")) {
                queue_ = line.substr(11, line.find(':') - 11);
                return {};
            }
        return "the system scheduler has no CUPS-PDF queue";
    }

    std::unique_ptr<test::CupsPeer> own_;
    std::string queue_;
    std::string unavailable_;
};

CupsPdfQueue* CupsPdfQueue::instance =
    static_cast<CupsPdfQueue*>(testing::AddGlobalTestEnvironment(new CupsPdfQueue));

TEST(CupsPdfPrinter, PrintsAGameThroughTheQueue) {
    const CupsPdfQueue& cups = *CupsPdfQueue::instance;
    if (!cups.unavailable().empty()) {
        // Printing itself is checked in PDF mode above; this check needs a scheduler.
        std::cout << "CUPS check not run: " << cups.unavailable() << std::endl;
        RecordProperty("cups_check", "not run: " + cups.unavailable());
        return;
    }
    SystemPrinters system;
    const std::vector<std::string> printers = system.printers();
    const auto found = std::find(printers.begin(), printers.end(), cups.queue());
    ASSERT_NE(found, printers.end()) << "the queue " << cups.queue() << " is not listed";
    if (cups.own_scheduler()) {
        EXPECT_EQ(system.current_printer(), cups.queue()) << "lpadmin -d made it the default";
    }

    const std::string token = "tkvprint" + std::to_string(getpid()) + "x" +
                              std::to_string(QDateTime::currentMSecsSinceEpoch());
    TTKV_Printer job = game_job(token);
    job.PrinterNumber = static_cast<int>(found - printers.begin());
    ASSERT_TRUE(system.print(job));

    const std::string pdf = cups.wait_for_pdf(token);
    ASSERT_FALSE(pdf.empty()) << "no PDF named after " << token << " came from the queue";
    expect_game_pages(pdf);
    std::filesystem::remove(pdf);
}

} // namespace
} // namespace tkv
