// The order in which names are shown to the user: the system's own
// locale-aware, case-sensitive comparison of display texts.
#pragma once

#include <string_view>

namespace platform {

// Negative, zero or positive, as a before b, equal, a after b. UTF-8 texts.
// On Windows the user's locale decides (as lstrcmp does); elsewhere letter
// case decides only between texts that are otherwise equal, the small
// letter first, and other characters sort by their code points.
int CompareDisplayNames(std::string_view a, std::string_view b);

}  // namespace platform
