// Trickvault: the entry creates the application and runs the program, which returns when its
// last window has closed.

#include "app/program.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    tkv::program_application_setup();
    return tkv::program_run(std::vector<std::string>(argv + 1, argv + argc));
}
