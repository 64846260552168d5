#include "app/program_context.h"

#include "shell/config_file.h"
#include "shell/files.h"
#include "shell/folders.h"
#include "shell/product.h"

namespace tkv {

void context_initialize(ProgramContext& context, const std::string& program_folder) {
    const DateTime now = current_datetime();
    captions_reset(context.CAPTIONS);
    context.option_defaults = initialize_defaults(owner_name(), now);
    context.options = context.option_defaults;
    auto& v = context.variables;
    v.program_folder = with_trailing_slash(program_folder);
    v.windows_folder = get_windows_folder();
    v.current_folder = get_current_folder();
    stats_reset(v.stats, now);
    context.first_run = true;
    context.stored_version = std::string(product_version);
}

void context_create_folders(const ProgramContext& context) {
    for (const char* folder : {"information/", "languages/", "profiles/", "skins/"})
        folder_create(context.variables.program_folder + folder);
}

void context_load_configuration(ProgramContext& context) {
    program_ini_load(ini_path(context.variables),
                     {context.options, context.first_run, context.stored_version, context.variables.stats});
    context.language = apply_configured_language(context.CAPTIONS, context.options,
                                                 context.variables.program_folder + "languages/");
}

bool context_save_configuration(const ProgramContext& context) {
    return program_ini_save(ini_path(context.variables), context.options, context.variables.stats);
}

} // namespace tkv
