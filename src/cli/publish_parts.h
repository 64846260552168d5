#pragma once
// The parts of a server tree taken from a program folder. Each writes below pub.root and, on a
// failure, leaves its message in pub.error and gives false.

#include "cli/publication.h"

namespace tkv::cli {

// information/tkv_version.tku announcing this program's version, and versions/<info file>.tku
// with this version's notes for the built-in texts and every language file of the home.
bool publish_versions(Publication& pub);

// For every profile of the home: its upgrade resources and files below profiles/ID/, its archive
// profiles/id/id.tkvp (id in lower case), and information/tkv_profiles.tku offering them.
bool publish_profiles(Publication& pub);

// For every skin of the home: its archive skins/KEY.tkvs, its preview skins/KEY.jpg when it has a
// main or splash picture in JPEG, and information/tkv_skins.tku listing them.
bool publish_skins(Publication& pub);

} // namespace tkv::cli
