#include "shell/version_cleanup.h"

#include "shell/files.h"

#include <cstdio>

namespace tkv {

void version_initialization(const std::string& program_folder) {
    const std::string old = program_folder + "informations/";
    // A rename never replaces an address list the new folder already has.
    if (!file_exists(program_folder + "information/emails.txt"))
        std::rename((old + "emails.txt").c_str(), (program_folder + "information/emails.txt").c_str());
    for (const char* name : {"trickvault.txt", "emails.txt", "servers.txt", "skins.txt", "versions.txt"})
        file_delete(old + name);
    file_delete(program_folder + "tkv.log");
    folder_remove(old);
}

} // namespace tkv
