#include "cli/language_template.h"

#include "lgp/level_tables.h"
#include "text/language_defaults.h"
#include "text/windows1252.h"

namespace cli {

namespace {

void AppendLine(std::string& out, std::string_view line) {
    out.append(line);
    out.append("\r\n");
}

void AppendEntry(std::string& out, std::string_view key, std::string_view value) {
    out.append(key);
    out.push_back('=');
    AppendLine(out, value);
}

}  // namespace

std::string LanguageTemplate() {
    std::string file;
    AppendLine(file, "; A language file of Orvenne: translate the values, keep the keys.");
    AppendLine(file, "; Save it in Windows-1252 as a three-letter name with the extension .lng.");
    AppendLine(file, "[header]");
    AppendLine(file, "language=English");
    AppendLine(file, "; The language's code (such as fr or pt_BR): Qt's own texts follow it.");
    AppendLine(file, "locale=en");
    std::string_view section;
    for (const text::LanguageDefault& entry : text::LanguageDefaults()) {
        if (entry.section != section) {
            section = entry.section;
            AppendLine(file, "");
            file.push_back('[');
            file.append(section);
            AppendLine(file, "]");
        }
        AppendEntry(file, entry.key, text::Utf8ToWindows1252(entry.english).text);
    }
    AppendLine(file, "");
    AppendLine(file, "[levels_descriptions]");
    const auto names = lgp::LevelNames();
    const auto descriptions = lgp::EnglishDescriptions();
    for (std::size_t level = 0; level < names.size(); ++level) {
        AppendEntry(file, names[level], descriptions[level]);
    }
    return file;
}

}  // namespace cli
