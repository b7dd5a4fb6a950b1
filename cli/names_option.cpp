#include "cli/names_option.h"

#include <optional>

#include "cli/command.h"

namespace cli {

text::CharacterNames TakeNames(std::vector<std::string>& args) {
    const std::optional<std::string> names = TakeOption(args, "--names");
    if (!names || *names == "default") return text::CharacterNames::Default;
    if (*names == "widest") return text::CharacterNames::Widest;
    throw UsageError("--names wants default or widest, not " + *names);
}

}  // namespace cli
