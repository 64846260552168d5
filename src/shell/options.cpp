#include "shell/options.h"

#include "shell/folders.h"
#include "shell/publisher.h"

namespace tkv {

OPTIONS_TYPE initialize_defaults(const std::string& owner_name, DateTime now) {
    OPTIONS_TYPE defaults;
    defaults.user_name = owner_name;
    defaults.download_folder = user_dir("DOWNLOAD");
    defaults.save_folder = user_dir("DOCUMENTS");
    defaults.version_check_time = add_days(now, -30);
    defaults.server = std::string(main_server_address);
    return defaults;
}

} // namespace tkv
