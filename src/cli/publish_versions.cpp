// The version check's resources.

#include "appearance/caption_slots.h"
#include "appearance/captions.h"
#include "appearance/languages.h"
#include "cli/publish_parts.h"
#include "cli/publish_text_resources.h"
#include "shell/product.h"

#include <set>

namespace tkv::cli {

bool publish_versions(Publication& pub) {
    if (!pub.write("information/tkv_version.tku", version_resource(product_version))) return false;
    const std::string languages_folder = pub.home + "languages/";
    std::set<std::string> written;
    for (const LANGUAGES_TYPE& language : languages_search(languages_folder)) {
        if (!written.insert(language.info_file).second) continue; // the first language names it
        if (!usable_path_part(language.info_file))
            return pub.fail(languages_folder + language.file_name + ": the info file name \"" +
                            language.info_file + "\" cannot name a file on the server");
        Captions captions;
        if (language.built_in)
            captions_reset(captions);
        else
            languages_load(captions, languages_folder, language.file_name);
        if (!pub.write("versions/" + language.info_file + ".tku",
                       version_notes_resource(product_version, captions[caption_slot::notes_3_50])))
            return false;
    }
    return true;
}

} // namespace tkv::cli
