#pragma once
// Shortcuts that start the program on a profile, optionally showing one game: desktop launchers.

namespace tkv {} // namespace tkv
