#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "preview/window_colors.h"

// A named set of window colours.
struct TColorProfile {
    std::string Name;
    TWindowColors Colors;
};

// The user's window-colour profiles in list order, with the selected entry of the profile
// list. List entry 0 is the built-in "(Default)" and entry i >= 1 is profile i - 1; profile
// indices below are 0-based (a bad one throws std::out_of_range), list indices say so. Names are unique, compared without regard to
// case as INI keys are, never empty and free of '=' (each is a key of the WINDOWS section).
class TColorProfiles {
public:
    // (key, value) pairs of the WINDOWS section, in file order.
    using Section = std::vector<std::pair<std::string, std::string>>;
    static constexpr int kNoSelection = -1;

    // Profiles from the WINDOWS section: each value is read as a colour string (never fails);
    // a key that cannot be a profile name or repeats an earlier one is skipped. selectedIndex
    // is the stored "WindowColors"; outside 0..Count() nothing is selected.
    static TColorProfiles FromSection(const Section& section, int selectedIndex);
    // The WINDOWS section to write: each profile's name and colour string (upper-case digits),
    // in list order.
    Section ToSection() const;

    int Count() const { return static_cast<int>(profiles_.size()); }
    const TColorProfile& Profile(int index) const {
        return profiles_.at(static_cast<std::size_t>(index));
    }

    // The selected list index, or kNoSelection.
    int SelectedIndex() const { return selected_; }
    // Selects list entry listIndex; outside 0..Count() nothing is selected.
    void Select(int listIndex);
    // The colours of list entry listIndex: profile listIndex - 1 for 1..Count(), otherwise
    // (the "(Default)" entry, no selection or an index out of range) DefaultWindowColors.
    TWindowColors WindowColors(int listIndex) const;

    // The name as it is stored: a character Windows-1252 lacks becomes '?', every '=' a
    // blank, and the blanks around it are dropped (an INI reader drops them too), with any
    // '[', ';' or '#' at its start (which would begin a section or a comment). Empty when
    // nothing else is left.
    static std::string StorableName(std::string_view name);
    // The index of the profile whose name equals name without regard to case, or -1.
    int Find(std::string_view name) const;

    // Appends a profile named StorableName(name) and selects it. Returns false, changing
    // nothing, when that name is empty or another profile has it.
    bool Add(std::string_view name, const TWindowColors& colors);
    // Renames profile index to StorableName(name); false, changing nothing, when that name is
    // empty or another profile has it (a change of case alone is allowed).
    bool Rename(int index, std::string_view name);
    void SetColors(int index, const TWindowColors& colors);
    // Removes profile index; the selection stays on the same list index, or moves to the last
    // entry when that index is now past the end ("(Default)" once no profile is left).
    void Remove(int index);

private:
    std::vector<TColorProfile> profiles_;
    int selected_ = 0;
};
