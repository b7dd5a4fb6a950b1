#include "text/language_defaults.h"

namespace text {

namespace {

// Sections and keys as the language files name them, each with the English text that applies
// while no language file gives it. Values are stored bare: callers append "...", " :" or a
// count where the interface needs one.
constexpr LanguageDefault kDefaults[] = {
    {"messages", "invalid_file", "Invalid file."},
    {"messages", "file_opening", "File opening"},
    {"messages", "files_comparing", "Files comparing"},
    {"messages", "file_saving", "File saving"},
    {"messages", "file_saving_failure", "An error occured during file saving."},
    {"messages", "text_searching", "Text searching"},
    {"messages", "no_text_found", "Text could not be found."},
    {"messages", "text_replacing", "Text replacing"},
    // In brackets after the running job's status: a search or replace-all asked for meanwhile,
    // which starts when the job ends.
    {"messages", "search_waiting", "search waiting"},
    {"messages", "replacement_waiting", "replace all waiting"},
    {"messages", "no_text_modified", "No text has been modified."},
    {"messages", "text_modified", "text has been modified."},
    {"messages", "texts_modified", "texts have been modified."},
    // Asked before edits would be lost; %1: the archive's name.
    {"messages", "save_changes_to", "Save changes to %1?"},
    // Replace-all changed nothing, as a text would be spoilt; the reason follows as detail.
    {"messages", "replacement_refused",
     "The replacement was refused, and no text has been modified."},
    // Followed by ": " and the reason.
    {"messages", "word_not_added", "The word could not be added to the word list"},
    // Asked on opening; %1: the number of levels, listed with their reasons as detail.
    {"messages", "damaged_level",
     "%1 level could not be read. Open the archive with it read-only?"},
    {"messages", "damaged_levels",
     "%1 levels could not be read. Open the archive with them read-only?"},
    // Asked before comparing; %1: the number of the reference archive's levels, listed with
    // their reasons as detail.
    {"messages", "damaged_reference_level",
     "%1 level of the reference archive could not be read. Compare without it?"},
    {"messages", "damaged_reference_levels",
     "%1 levels of the reference archive could not be read. Compare without them?"},
    // Asked before saving over the archive's own file; %1: the file.
    {"messages", "file_changed_on_disk",
     "%1 was changed by another program since it was opened. Save over it?"},
    {"messages", "mod_folder_exporting", "Mod folder exporting"},
    {"messages", "mod_folder_failure", "The mod folder could not be written."},
    // %1: the number of levels, %2: the folder.
    {"messages", "mod_folder_level", "%1 level was written to %2."},
    {"messages", "mod_folder_levels", "%1 levels were written to %2."},
    {"messages", "mod_folder_no_difference",
     "No level differs from the original archive: nothing was written."},
    // The file and the reason follow as detail.
    {"messages", "dictionary_not_loaded", "The spelling dictionary could not be loaded."},
    // The dictionary is used without the user's words; the file and the reason follow as detail.
    {"messages", "word_list_not_read", "The user's word list could not be read."},
    // Asked before a mod folder export writes over an earlier one; %1: the folder.
    {"messages", "replace_mod_export",
     "%1 holds an earlier mod folder export. Replace it with this one?"},
    // Why an export refuses a folder; %1: the folder.
    {"messages", "mod_folder_not_empty",
     "%1 holds files that no mod folder export wrote: choose a new or empty folder."},
    // Asked before replace-all stores its texts; %1: occurrences, %2: texts, %3: levels.
    {"messages", "replace_all_question", "Replace %1 occurrences in %2 texts of %3 levels?"},
    // A typed character that the game cannot store; %1: the character and its code point.
    {"messages", "character_not_typed", "The game has no character for %1."},
    // Characters left out of pasted text; %1: the characters and their code points.
    {"messages", "characters_left_out", "Left out, as the game has no character for it: %1."},
    // The archive a translation was made from: read, refused, or partly read (%1: the number
    // of levels, listed with their reasons as detail).
    {"messages", "original_opening", "Original archive opening"},
    {"messages", "original_not_read", "The original archive could not be read."},
    {"messages", "damaged_original_level",
     "%1 level of the original archive could not be read. Use the archive with it counted as "
     "missing?"},
    {"messages", "damaged_original_levels",
     "%1 levels of the original archive could not be read. Use the archive with them counted "
     "as missing?"},
    // The PO file with the original beside the translation; the file and the reason follow as
    // detail.
    {"messages", "po_not_written", "The PO file could not be written."},
    {"messages", "po_not_read", "The PO file could not be imported; no text has been modified."},
    // %1: the number of texts the import changed.
    {"messages", "po_imported", "Texts changed by the import: %1."},
    // Entries of an imported PO file that were not applied, listed as detail, one line each;
    // %1: "level NAME, text N".
    {"messages", "po_left_out", "Some entries were left out; the details say which and why."},
    {"messages", "po_source_changed", "%1: the original's text has changed"},
    {"messages", "po_level_read_only", "%1: the level is read-only"},

    {"general", "file", "File"},
    {"general", "open", "Open"},
    {"general", "save", "Save"},
    {"general", "save_as", "Save as"},
    {"general", "compare", "Compare"},
    {"general", "display_last_comparison", "Display last comparison"},
    {"general", "export_mod_folder", "Export changes as mod folder"},
    {"general", "original_archive", "Original archive"},
    {"general", "export_bilingual_po", "Export PO with original"},
    {"general", "import_bilingual_po", "Import PO with original"},
    {"general", "po_files", "PO files"},
    {"general", "window_colors", "Window colors"},
    {"general", "exit", "Exit"},
    {"general", "edit", "Edit"},
    {"general", "undo", "Undo"},
    {"general", "redo", "Redo"},
    {"general", "cut", "Cut"},
    {"general", "copy", "Copy"},
    {"general", "paste", "Paste"},
    {"general", "select_all", "Select all"},
    {"general", "find", "Find"},
    {"general", "find_next", "Find next"},
    {"general", "find_previous", "Find previous"},
    {"general", "replace", "Replace"},
    {"general", "next_marked_text", "Next marked text"},
    {"general", "previous_marked_text", "Previous marked text"},
    {"general", "next_overflowing_text", "Next overflowing text"},
    {"general", "previous_overflowing_text", "Previous overflowing text"},
    {"general", "fit_window_to_text", "Fit window to text"},
    {"general", "copy_original", "Copy original"},
    {"general", "next_untranslated_text", "Next untranslated text"},
    {"general", "previous_untranslated_text", "Previous untranslated text"},
    {"general", "view", "View"},
    {"general", "display_files", "Display files"},
    {"general", "all_files", "All files"},
    {"general", "only_levels", "Only levels"},
    {"general", "display_text_preview", "Display text preview"},
    {"general", "spell_checking", "Spell checking"},
    {"general", "no_spell_checking", "None"},
    {"general", "no_dictionary", "No dictionary is installed"},
    {"general", "level_preview_size", "Level preview size"},
    {"general", "language", "Language"},
    {"general", "small", "Small"},
    {"general", "normal", "Normal"},
    {"general", "large", "Large"},
    {"general", "very_large", "Very large"},
    {"general", "about", "About"},
    {"general", "lgp_files", "LGP files"},
    {"general", "cancel", "Cancel"},
    {"general", "recent_archives", "Recent archives"},
    // The buttons of the question asked before unsaved changes would be lost: "save", this
    // and "cancel".
    {"general", "discard", "Don't save"},
    // The buttons of the question asked before an archive with damaged levels opens: this and
    // "cancel".
    {"general", "open_read_only", "Open read-only"},

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
    // Hint of the placeholder buttons, followed by a blank and the placeholder ("%1").
    {"tags_description", "special_character", "Special character"},

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
    {"main", "game_view", "Game view"},
    {"main", "game_view_hint",
     "The text as the game draws it: the caret's page, names for the name tags, lines not "
     "wrapped"},
    {"main", "default_names", "Default names"},
    {"main", "widest_names", "Widest names"},
    {"main", "names_hint",
     "The names drawn for the name tags, in the game view and in the overflow marks: the "
     "default names, or the widest a player can give"},
    // %1: the page shown, %2: the text's pages.
    {"main", "page_of", "page %1/%2"},
    {"main", "overflows", "Overflows"},
    // %1: the line, %2: the window width it needs, %3: the window's width.
    {"main", "overflow_width", "line %1 is %2 px in a window of %3"},
    // %1: the page, %2: its lines, %3: the lines the window holds.
    {"main", "overflow_height", "page %1: %2 lines in a window for %3"},
    {"main", "no_suggestions", "No suggestions"},
    {"main", "ignore", "Ignore"},
    {"main", "add_to_dictionary", "Add to dictionary"},
    // The original of the selected text, shown above its editor, and what the editor tells of
    // the translation.
    {"main", "original", "Original"},
    {"main", "not_in_original", "Not in the original"},
    {"main", "untranslated", "Untranslated"},
    {"main", "translated", "Translated"},
    {"main", "original_preview", "Preview"},
    {"main", "original_preview_hint", "The original drawn as the text preview draws the text"},
    // %1: the original archive's file name.
    {"main", "original_status", "Original: %1"},
    // %1: translated texts, %2: all texts, %3: the share, with one decimal.
    {"main", "translated_progress", "Translated: %1 of %2 texts (%3 %)"},
    // %1: the number of the level's texts whose checks found an error.
    {"main", "texts_with_errors", "Texts with errors: %1"},
    // The checks of a translated text against its original; %1: what was found.
    {"main", "finding_error", "Error: %1"},
    {"main", "finding_warning", "Warning: %1"},

    {"level_preview", "preview", "Preview"},

    {"compare", "current_file", "Current file"},
    {"compare", "original_file", "Original file"},
    {"compare", "differences", "Differences"},
    {"compare", "percentage", "Percentage"},
    {"compare", "files_comparison", "Files comparison"},
    {"compare", "texts", "texts"},
    {"compare", "windowed_texts", "windowed texts"},
    {"compare", "windows", "windows"},
    // Caption of the file dialog that chooses the archive to compare the open one with.
    {"compare", "original_archive_to_compare", "Original archive to compare with"},

    {"export_mod", "original_archive", "Original archive"},
    {"export_mod", "output_folder", "Output folder"},
    {"export_mod", "layout", "Layout"},
    {"export_mod", "browse", "Browse"},
    {"export_mod", "direct", "Direct"},
    {"export_mod", "direct_hint", "direct/flevel/NAME: whole levels, for FFNx"},
    {"export_mod", "chunks", "Chunks"},
    {"export_mod", "chunks_hint",
     "direct/flevel.lgp/NAME.chunk.1: script and dialogue only, for FFNx 1.14 or later"},
    {"export_mod", "mod", "Mod manager"},
    {"export_mod", "mod_hint", "flevel.lgp/NAME.chunk.1: the same chunks, as a 7th Heaven mod"},

    {"window_colors", "preview_text", "This is a window preview."},
    {"window_colors", "new_profile_name", "New profile name"},
    {"window_colors", "profiles", "Profiles"},
    {"window_colors", "random", "Random"},
    {"window_colors", "delete", "Delete"},
    {"window_colors", "update", "Update"},
    {"window_colors", "add", "Add"},
    {"window_colors", "default", "Default"},
    {"window_colors", "more", "More"},
    // Refusal of a profile name in use; followed by a blank, the name in quotes and ".".
    {"window_colors", "profile_exists", "There is already a profile named"},
    {"window_colors", "close", "Close"},
    // Asked on closing or choosing another entry; %1: the profile's name.
    {"window_colors", "update_profile",
     "The colors of the profile \"%1\" were changed. Update the profile?"},
    // The same for "(Default)", which cannot be changed.
    {"window_colors", "store_as_new_profile",
     "The colors were changed. Keep them as a new profile?"},

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
    // The button that sizes the window to its text.
    {"window_modification", "fit_to_text", "Fit to text"},

    {"about", "by", "by"},
};

}  // namespace

std::span<const LanguageDefault> LanguageDefaults() { return kDefaults; }

}  // namespace text
