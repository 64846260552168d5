// Trickvault: until its windows exist, the program starts as it will (folders, captions,
// tkv.ini, language) and reports what it loaded.

#include "app/program_context.h"
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
    return 0;
}
