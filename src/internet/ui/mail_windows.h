#pragma once
// (being written)

namespace tkv {} // namespace tkv
