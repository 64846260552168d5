#pragma once
// The program's built-in English user-interface texts.

namespace tkv {

// The built-in text of slot (1..999), with "%R" and the placeholders as written, in
// Windows-1252 bytes; nullptr for a slot that keeps its "CAPTIONS[n]" placeholder.
const char* caption_default_text(int slot);

} // namespace tkv
