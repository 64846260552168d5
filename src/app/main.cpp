// Trickvault: until its windows exist, the program starts as it will (folders, captions,
// tkv.ini, language, profiles) and reports what it found.

#include "app/program_context.h"
#include "profiles/profile_table.h"
#include "shell/folders.h"
#include "shell/product.h"

#include <cstdio>

int main() {
    tkv::ProgramContext context;
    tkv::context_initialize(context, tkv::get_program_folder());
    tkv::context_create_folders(context);
    tkv::context_load_configuration(context);

    int captions = 0;
    for (int slot = 1; slot < tkv::caption_slots; ++slot)
        if (const auto& text = context.CAPTIONS[static_cast<std::size_t>(slot)];
            !text.empty() && text != tkv::caption_placeholder(slot))
            ++captions;
    std::printf("%.*s %.*s\n", static_cast<int>(tkv::product_name.size()), tkv::product_name.data(),
                static_cast<int>(tkv::product_version.size()), tkv::product_version.data());
    std::printf("program folder: %s\n", context.variables.program_folder.c_str());
    std::printf("language: %s, %d captions\n", context.language.language.c_str(), captions);
    tkv::ProfileTable profiles;
    tkv::profiles_ini_load(profiles, context.variables.program_folder);
    if (!profiles.profiles.empty()) tkv::profiles_sort(profiles, 0, profiles.profiles.size() - 1);
    std::printf("profiles: %zu\n", profiles.profiles.size());
    for (const auto& p : profiles.profiles) std::printf("  %s\t%s\n", p.id.c_str(), p.name.c_str());
    return 0;
}
