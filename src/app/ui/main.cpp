// Trickvault: the entry creates the application and runs the program, which returns when its
// last window has closed.

#include "app/ui/program.h"
#include "shell/command_line.h"

#include <QApplication>
#include <iostream>

int main(int argc, char** argv) {
    // Before the application: the usage needs no display.
    if (tkv::asks_for_usage(std::vector<std::string>(argv + 1, argv + argc))) {
        std::cout << tkv::program_usage();
        return 0;
    }
    QApplication app(argc, argv);
    tkv::program_application_setup();
    return tkv::program_run(std::vector<std::string>(argv + 1, argv + argc));
}
