#pragma once
// The command line: switches in their "/" form and archives to install.

#include <functional>
#include <string>
#include <vector>

#include "shell/variables.h"

namespace tkv {

// Sets the arguments, switches and file arguments of v (v.current_folder must be set). A switch
// matches an argument when the shorter of the two equals the start of the longer, letter case
// ignored. An argument that ends in an archive extension or names an existing file or folder is a
// file argument only: an absolute path such as "/cdrom/x.tkvs" must not switch on "/cd".
void parse_command_line(VARIABLES_PROGRAM& v, const std::vector<std::string>& args,
                        const std::function<bool(const std::string&)>& path_exists);

// "--help" or "-h" among the arguments: the program prints program_usage() and ends.
bool asks_for_usage(const std::vector<std::string>& args);
std::string program_usage();

} // namespace tkv
