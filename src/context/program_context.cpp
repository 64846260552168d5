#include "context/program_context.h"

#include "shell/config_file.h"
#include "shell/files.h"
#include "shell/folders.h"
#include "shell/product.h"

namespace tkv {

PROFILES_TYPE* current_profile(ProgramContext& c) {
    const int i = c.profiles.profile_index;
    return i >= 0 && static_cast<std::size_t>(i) < c.profiles.profiles.size()
               ? &c.profiles.profiles[static_cast<std::size_t>(i)]
               : nullptr;
}

const PROFILES_TYPE* current_profile(const ProgramContext& c) {
    return current_profile(const_cast<ProgramContext&>(c));
}

CodePage profile_code_page(const ProgramContext& c) {
    const PROFILES_TYPE* p = current_profile(c);
    return code_page_for_language(p ? p->language : "");
}

Messages messages_of(const ProgramContext& c, Dialogs& dialogs) {
    return Messages(dialogs, c.CAPTIONS, c.language.code_page);
}

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
                                                 languages_folder(context.variables));
}

bool context_save_configuration(const ProgramContext& context) {
    return program_ini_save(ini_path(context.variables), context.options, context.variables.stats);
}

} // namespace tkv
