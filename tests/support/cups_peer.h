#pragma once
// A CUPS scheduler of the test program's own: cupsd with its configuration, spool, logs and socket
// in a temporary folder, so that the tests neither see nor change the machine's printers.

#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

#include <sys/prctl.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "support/temp_dir.h"

namespace tkv::test {

struct Run {
    int exit_code = -1; // -1 also when the command crashed or did not end within a minute
    std::string out;    // standard output
};

inline Run run(const QString& program, const QStringList& arguments) {
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput().toStdString()};
}

// Whether the filter lets a test of suite run: a scheduler is started only for tests that use it.
inline bool a_test_of_suite_runs(const char* suite) {
    const testing::UnitTest* unit = testing::UnitTest::GetInstance();
    for (int i = 0; i < unit->total_test_suite_count(); ++i)
        if (std::string(unit->GetTestSuite(i)->name()) == suite && unit->GetTestSuite(i)->test_to_run_count() > 0)
            return true;
    return false;
}

// Whether the scheduler that CUPS_SERVER names (or the system's) answers.
inline bool cups_scheduler_runs() { return run("lpstat", {"-r"}).out.find("is running") != std::string::npos; }

class CupsPeer {
  public:
    struct Setup {
        std::string log_level = "warn";
        // For backends and filters that run as lp: they must reach the spool and the temporary folder.
        bool filters_as_lp = false;
    };

    // Why no scheduler of the test's own can start here; empty when it can.
    static std::string missing() { return QFileInfo::exists("/usr/sbin/cupsd") ? "" : "no /usr/sbin/cupsd"; }

    // Writes the configuration. CUPS_SERVER names the socket from here on, so that nothing asks the
    // machine's scheduler even before start() or when that fails.
    explicit CupsPeer(const Setup& setup) {
        const std::string d = dir_.folder();
        for (const char* sub : {"spool", "tmp", "cache", "state", "log"})
            std::filesystem::create_directories(dir_.path(sub));
        std::string files = "ServerRoot " + d + "\nRequestRoot " + d + "spool\nTempDir " + d + "tmp\nCacheDir " + d +
                            "cache\nStateDir " + d + "state\nAccessLog " + d + "log/access_log\nErrorLog " + d +
                            "log/error_log\nPageLog " + d + "log/page_log\nPrintcap " + d + "printcap\n";
        if (setup.filters_as_lp) {
            ::chmod(d.c_str(), 0755);
            ::chmod(dir_.path("tmp").c_str(), 01777);
            files += "User lp\nGroup lp\nSystemGroup root\n";
        }
        dir_.write("cups-files.conf", files);
        dir_.write("cupsd.conf", "LogLevel " + setup.log_level + "\nListen " + dir_.path("cups.sock") +
                                     "\nBrowsing Off\nDefaultAuthType None\nWebInterface No\n"
                                     "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                                     "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n");
        qputenv("CUPS_SERVER", QByteArray::fromStdString(dir_.path("cups.sock")));
    }
    ~CupsPeer() {
        if (cupsd_.state() == QProcess::NotRunning) return;
        cupsd_.terminate();
        if (!cupsd_.waitForFinished(5000)) {
            cupsd_.kill();
            cupsd_.waitForFinished();
        }
    }
    CupsPeer(const CupsPeer&) = delete;
    CupsPeer& operator=(const CupsPeer&) = delete;

    // Starts cupsd and waits up to ten seconds until it answers. Empty when it runs; otherwise why
    // not: a scheduler that does not answer as not_running, followed by its output and error log.
    std::string start(const std::string& not_running) {
        // The scheduler ends with the test program, however that ends.
        cupsd_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        cupsd_.setProcessChannelMode(QProcess::MergedChannels);
        cupsd_.start("/usr/sbin/cupsd", {"-f", "-c", QString::fromStdString(dir_.path("cupsd.conf")), "-s",
                                         QString::fromStdString(dir_.path("cups-files.conf"))});
        if (!cupsd_.waitForStarted(10000)) return "cupsd did not start";
        for (int tries = 0; tries < 100 && cupsd_.state() == QProcess::Running; ++tries) {
            if (cups_scheduler_runs()) return {};
            QThread::msleep(100);
        }
        return not_running + ": " + cupsd_.readAll().toStdString() + error_log();
    }

    std::string error_log() const { return dir_.read("log/error_log"); }

  private:
    TempDir dir_;
    QProcess cupsd_;
};

} // namespace tkv::test
