#include <string>

#include "cli/command.h"
#include "cli/language_template.h"

namespace cli {

namespace {

int RunLanguageTemplate(const std::vector<std::string>& args) {
    const Arguments parsed = ParseArguments(args, {}, 1);
    const std::string contents = LanguageTemplate();
    WriteWholeFile(parsed.positional[0], {contents.begin(), contents.end()});
    return 0;
}

}  // namespace

const Command kLanguageTemplateCommand{
    "language-template",
    "language-template OUTPUT.lng",
    "Writes a language file for translators: every section and key of the interface with its\n"
    "English text, and the description of each of the 702 levels, in Windows-1252. Translate\n"
    "the values, name the file with three letters (fra.lng) and put it beside the program.",
    RunLanguageTemplate,
};

}  // namespace cli
