// informationtypes.tkv: a valid file replaces the first information types, anything else changes
// nothing.
#include "fuzz/fuzz_support.h"
#include "internet/upgrade.h"

using namespace tkv;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view file = fuzz::bytes_of(data, size);
    const std::optional<std::vector<INFO_TYPE_ENTRY>> types = parse_information_types(file);
    if (types) TKV_FUZZ_CHECK(!types->empty() && types->size() <= info_types_max);

    GameDatabase db;
    db.info_types = {{1, "Cheats"}, {2, "Hints"}, {3, "Walkthrough"}};
    const auto before = db.info_types;
    const bool updated = update_information_types(db, file);
    TKV_FUZZ_CHECK(updated == types.has_value());
    TKV_FUZZ_CHECK(db.info_types.size() <= info_types_max);
    if (!updated) {
        TKV_FUZZ_CHECK(db.info_types.size() == before.size());
        for (std::size_t i = 0; i < before.size(); ++i)
            TKV_FUZZ_CHECK(db.info_types[i].type_name == before[i].type_name);
        return 0;
    }
    TKV_FUZZ_CHECK(db.info_types.size() == types->size());
    for (std::size_t i = 0; i < types->size(); ++i) {
        TKV_FUZZ_CHECK(db.info_types[i].type_number == (*types)[i].type_number);
        TKV_FUZZ_CHECK(db.info_types[i].type_name == (*types)[i].type_name);
    }
    return 0;
}
