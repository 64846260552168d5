#include "internet/version_check.h"

#include "appearance/caption_slots.h"
#include "shell/product.h"
#include "shell/publisher.h"
#include "shell/text.h"
#include "shell/text_lines.h"

namespace tkv {

namespace {

constexpr std::string_view crlf = "\r\n";

// The changes each version brought, as caption ranges of the notes window.
struct ChangesBlock {
    std::string_view version;
    int first_caption;
    int last_caption;
};
constexpr ChangesBlock changes_blocks[] = {
    {"3.10", caption_slot::notes_3_10_first, caption_slot::notes_3_10_last},
    {"3.11", caption_slot::notes_3_11_first, caption_slot::notes_3_11_last},
    {"3.12", caption_slot::notes_3_12_first, caption_slot::notes_3_12_last},
    {"3.50", caption_slot::notes_3_50, caption_slot::notes_3_50},
};

bool is_beta(std::string_view lower_version) {
    return lower_version.find("beta") != std::string_view::npos;
}

// Thanks and the publisher, closing both notes texts.
std::string closing_text(const CaptionText& caption) {
    std::string text(crlf);
    text.append(caption(caption_slot::version_notes_thanks, {})).append(crlf).append(crlf);
    return text.append(publisher_display_name).append(crlf).append(publisher_info_address);
}

} // namespace

std::string version_notes_resource(std::string_view info_file_name) {
    return "versions/" + std::string(info_file_name) + ".tku";
}

std::string latest_version_of(std::string_view version_file) {
    for (const std::string& line : split_lines(version_file))
        if (ascii_lower_text(line).starts_with("latest version")) return trim_controls(after_last_char(line, '='));
    return {};
}

bool upgrade_notes_due(std::string_view recorded, std::string_view running) {
    const std::string old_version = lower_text(recorded);
    const std::string new_version = lower_text(running);
    if (old_version.substr(0, 4) == new_version.substr(0, 4)) {
        // A beta of the same version: its final release, or a later beta.
        if (!is_beta(old_version)) return false;
        return !is_beta(new_version) || new_version > old_version;
    }
    return new_version > old_version;
}

std::string run_first_text(const CaptionText& caption) {
    std::string text = caption(caption_slot::first_launch_welcome, {product_name});
    text.append(crlf)
        .append(crlf)
        .append(caption(caption_slot::first_launch_current_version, {product_version}))
        .append(crlf)
        .append(crlf);
    for (int slot = caption_slot::first_launch_notes_first; slot <= caption_slot::first_launch_notes_last;
         ++slot)
        text.append(caption(slot, {}));
    return text + closing_text(caption);
}

std::string run_newer_text(std::string_view recorded, const CaptionText& caption) {
    const std::string old_version = lower_text(recorded).substr(0, 4);
    std::string text = caption(caption_slot::new_version_welcome, {product_name}) +
                       caption(caption_slot::new_version_changes_since, {product_version, recorded});
    for (const ChangesBlock& block : changes_blocks) {
        // A pre-release of the running version has not seen its final changes either.
        const bool missed = old_version < block.version ||
                            (old_version == block.version && block.version == product_version);
        if (!missed) continue;
        text.append(crlf).append(crlf).append(block.version).append(":").append(crlf).append("====");
        for (int slot = block.first_caption; slot <= block.last_caption; ++slot)
            text.append(crlf).append(caption(slot, {}));
    }
    return text.append(crlf) + closing_text(caption);
}

NewerNotes newer_version_notes(std::string_view notes_text, std::string_view running) {
    NewerNotes result{std::string(running), {}};
    bool collecting = false;
    for (const std::string& line : split_lines(notes_text)) {
        if (line.empty() || line.starts_with(";")) continue;
        if (line.starts_with("[")) {
            // A heading without its closing bracket names no section; it neither starts nor repeats one.
            if (line.size() < 2 || !line.ends_with("]")) continue;
            const std::string section = lower_text(std::string_view(line).substr(1, line.size() - 2));
            if (upper_text(section) == "#END#") break;
            collecting = section > running;
            if (collecting) result.notes.append(crlf).append(section).append(":").append(crlf);
            if (section > result.latest) result.latest = section;
            continue;
        }
        if (collecting) result.notes.append(trim_controls(line)).append(crlf);
    }
    return result;
}

} // namespace tkv
