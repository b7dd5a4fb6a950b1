#include "ui/interface_texts.h"

#include <iterator>
#include <utility>

#include <QHash>

namespace {

// Sections and keys as the language files name them, each with the English text that applies
// while no language file gives it. Values are stored bare: callers append "...", " :" or a
// count where the interface needs one.
constexpr InterfaceTextDefault kDefaults[] = {
    {"messages", "invalid_file", "Invalid file."},
    {"messages", "file_opening", "File opening"},
    {"messages", "files_comparing", "Files comparing"},
    {"messages", "file_saving", "File saving"},
    {"messages", "file_saving_failure", "An error occured during file saving."},
    {"messages", "text_searching", "Text searching"},
    {"messages", "no_text_found", "Text could not be found."},
    {"messages", "text_replacing", "Text replacing"},
    {"messages", "no_text_modified", "No text has been modified."},
    {"messages", "text_modified", "text has been modified."},
    {"messages", "texts_modified", "texts have been modified."},
    // Replace-all changed nothing, as a text would be spoilt; the reason follows as detail.
    {"messages", "replacement_refused", "The replacement was refused, and no text has been modified."},
    // Asked before edits would be lost; followed by a blank, the archive's name and "?".
    {"messages", "save_changes", "Save changes to"},

    {"general", "file", "File"},
    {"general", "open", "Open"},
    {"general", "save", "Save"},
    {"general", "save_as", "Save as"},
    {"general", "compare", "Compare"},
    {"general", "display_last_comparison", "Display last comparison"},
    {"general", "window_colors", "Window colors"},
    {"general", "exit", "Exit"},
    {"general", "edit", "Edit"},
    {"general", "find", "Find"},
    {"general", "find_next", "Find next"},
    {"general", "find_previous", "Find previous"},
    {"general", "replace", "Replace"},
    {"general", "view", "View"},
    {"general", "display_files", "Display files"},
    {"general", "all_files", "All files"},
    {"general", "only_levels", "Only levels"},
    {"general", "display_text_preview", "Display text preview"},
    {"general", "level_preview_size", "Level preview size"},
    {"general", "language", "Language"},
    {"general", "small", "Small"},
    {"general", "normal", "Normal"},
    {"general", "large", "Large"},
    {"general", "very_large", "Very large"},
    {"general", "about", "About"},
    {"general", "lgp_files", "LGP files"},
    {"general", "cancel", "Cancel"},

    {"tags_description", "grey", "Grey"},
    {"tags_description", "blue", "Blue"},
    {"tags_description", "red", "Red"},
    {"tags_description", "purple", "Purple"},
    {"tags_description", "green", "Green"},
    {"tags_description", "cyan", "Cyan"},
    {"tags_description", "yellow", "Yellow"},
    {"tags_description", "white", "White"},
    {"tags_description", "blink", "Blink"},
    {"tags_description", "multicolour", "Multicolour"},
    {"tags_description", "cloud", "Cloud"},
    {"tags_description", "barret", "Barret"},
    {"tags_description", "tifa", "Tifa"},
    {"tags_description", "aeris", "Aeris"},
    {"tags_description", "red_xiii", "Red XIII"},
    {"tags_description", "yuffie", "Yuffie"},
    {"tags_description", "cait_sith", "Cait Sith"},
    {"tags_description", "vincent", "Vincent"},
    {"tags_description", "cid", "Cid"},
    {"tags_description", "member1", "Member 1"},
    {"tags_description", "member2", "Member 2"},
    {"tags_description", "member3", "Member 3"},
    {"tags_description", "other_tags", "Other tags"},

    {"main", "file", "File"},
    {"main", "texts", "Texts"},
    {"main", "text", "Text"},
    {"main", "levels", "Levels"},
    {"main", "window", "Window"},
    {"main", "description", "Description"},
    {"main", "level_preview", "Level preview"},
    {"main", "text_preview", "Text preview"},
    {"main", "modify_window_size_position", "Modify window size/position"},
    {"main", "click_to_enlarge", "Click to enlarge"},

    {"level_preview", "preview", "Preview"},

    {"compare", "current_file", "Current file"},
    {"compare", "original_file", "Original file"},
    {"compare", "differences", "Differences"},
    {"compare", "percentage", "Percentage"},
    {"compare", "files_comparison", "Files comparison"},
    {"compare", "texts", "texts"},
    {"compare", "windowed_texts", "windowed texts"},
    {"compare", "windows", "windows"},

    {"window_colors", "preview_text", "This is a window preview."},
    {"window_colors", "new_profile_name", "New profile name"},
    {"window_colors", "profiles", "Profiles"},
    {"window_colors", "random", "Random"},
    {"window_colors", "delete", "Delete"},
    {"window_colors", "update", "Update"},
    {"window_colors", "add", "Add"},
    {"window_colors", "default", "Default"},
    {"window_colors", "more", "More"},

    {"find", "find", "Find"},
    {"find", "next", "Next"},
    {"find", "previous", "Previous"},
    {"find", "match_case", "Match case"},

    {"replace", "replace", "Replace"},
    {"replace", "with", "with"},
    {"replace", "replace_all", "Replace all"},

    {"window_modification", "window_modification", "Window modification"},
    {"window_modification", "horizontal_center", "Horizontal center"},
    {"window_modification", "vertical_center", "Vertical center"},
    {"window_modification", "width", "Width"},
    {"window_modification", "height", "Height"},
    {"window_modification", "reposition", "Reposition"},
    {"window_modification", "full_screen", "Full screen"},
    {"window_modification", "line", "line"},
    {"window_modification", "lines", "lines"},

    {"about", "by", "by"},
};

// The current texts, by case-folded section and key.
using TextTable = QHash<std::pair<QString, QString>, QString>;

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Language files match sections and keys without regard to case, and so does the lookup.
std::pair<QString, QString> FoldedKey(const QString& section, const QString& key) {
    return {section.toCaseFolded(), key.toCaseFolded()};
}

TextTable& CurrentTexts() {
    static TextTable texts = [] {
        TextTable english;
        english.reserve(std::size(kDefaults));
        for (const InterfaceTextDefault& entry : kDefaults) {
            english.insert(FoldedKey(ToQString(entry.section), ToQString(entry.key)),
                           ToQString(entry.english));
        }
        return english;
    }();
    return texts;
}

}  // namespace

QString InterfaceText(const QString& section, const QString& key) {
    return CurrentTexts().value(FoldedKey(section, key));
}

std::span<const InterfaceTextDefault> InterfaceTextDefaults() { return kDefaults; }

void LoadInterfaceTexts(const InterfaceTextReader& read) {
    TextTable& texts = CurrentTexts();
    for (const InterfaceTextDefault& entry : kDefaults) {
        const QString section = ToQString(entry.section);
        const QString key = ToQString(entry.key);
        texts.insert(FoldedKey(section, key), read(section, key, ToQString(entry.english)));
    }
}
