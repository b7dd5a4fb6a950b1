#pragma once

#include <string>
#include <vector>

#include "text/text_layout.h"

namespace cli {

// The names of `--names default|widest`, both removed from args; the default names when the
// option is absent. Throws UsageError for a missing or other value.
text::CharacterNames TakeNames(std::vector<std::string>& args);

}  // namespace cli
