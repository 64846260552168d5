#pragma once
// Files and folders older versions left in the program folder.

#include <string>

namespace tkv {

// version_initialization: moves informations/emails.txt to information/, deletes the other files
// of the old informations/ folder and tkv.log, and removes that folder when it is empty. Every
// failure is ignored.
void version_initialization(const std::string& program_folder);

} // namespace tkv
