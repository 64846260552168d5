#pragma once
// The caption table: every user-interface text, addressed by slot number.

#include <array>
#include <initializer_list>
#include <string>
#include <string_view>

#include "shell/codepage.h"

namespace tkv {

constexpr int caption_slots = 1001; // slots 0..1000; slot 0 is never shown

using Captions = std::array<std::string, caption_slots>;

// "CAPTIONS[n]": the text of a slot that has no text of its own.
std::string caption_placeholder(int slot);
// Fills every slot with its built-in English text (or "CAPTIONS[n]"), expands "%R" and puts
// the product name into the four message-box titles.
void captions_reset(Captions& captions);
// Replaces "%R" (or "%r") in one slot by CR LF; "%%" is left for caption_format.
void captions_expand_breaks(Captions& captions, int slot);
// The finishing steps shared by a reset and a language file: breaks in 1..999 and the titles.
void captions_finish(Captions& captions);
// "%1".."%5" take the values in order, "%%" gives "%"; a missing value inserts nothing and an
// inserted value is never scanned again.
std::string caption_format(std::string_view text, std::initializer_list<std::string_view> values);
// A slot's text in UTF-8 (the table holds the language's code page) with UTF-8 values filled in;
// empty for a slot outside the table.
std::string caption_utf8(const Captions& captions, CodePage cp, int slot,
                         std::initializer_list<std::string_view> utf8_values = {});
// A button caption without an accelerator on S ("&s" and "&S" keep the letter): Alt+S belongs to
// the main window's skin shortcut.
std::string without_alt_s(std::string_view caption);

} // namespace tkv
