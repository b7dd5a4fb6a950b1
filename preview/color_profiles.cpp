#include "preview/color_profiles.h"

#include <algorithm>
#include <stdexcept>

#include "text/case_folding.h"
#include "text/windows1252.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A name as the profiles compare it: in Windows-1252, which every stored name fits, and
// without regard to case.
std::string FoldedName(std::string_view name) {
    return text::LowerLocale(text::Utf8ToWindows1252(name).text);
}

}  // namespace

TColorProfiles TColorProfiles::FromSection(const Section& section, int selectedIndex) {
    TColorProfiles profiles;
    for (const auto& [key, value] : section) {
        const std::string name = StorableName(key);
        if (name.empty() || profiles.Find(name) >= 0) continue;
        profiles.profiles_.push_back({name, preview::ReadColorString(value)});
    }
    profiles.Select(selectedIndex);
    return profiles;
}

TColorProfiles::Section TColorProfiles::ToSection() const {
    Section section;
    section.reserve(profiles_.size());
    for (const TColorProfile& profile : profiles_) {
        section.emplace_back(profile.Name, preview::WriteColorString(profile.Colors));
    }
    return section;
}

void TColorProfiles::Select(int listIndex) {
    selected_ = listIndex >= 0 && listIndex <= Count() ? listIndex : kNoSelection;
}

TWindowColors TColorProfiles::WindowColors(int listIndex) const {
    if (listIndex < 1 || listIndex > Count()) return preview::DefaultWindowColors;
    return Profile(listIndex - 1).Colors;
}

std::string TColorProfiles::StorableName(std::string_view name) {
    // The name as settings.ini can hold it: its characters in Windows-1252, no '=' in it, and
    // none of the marks that would begin a comment or a section at the start of its line.
    std::string stored = text::Windows1252ToUtf8(text::Utf8ToWindows1252(name).text);
    std::replace(stored.begin(), stored.end(), '=', ' ');
    const auto first = std::find_if_not(stored.begin(), stored.end(), [](char c) {
        return IsBlank(c) || c == '[' || c == ';' || c == '#';
    });
    const auto last = std::find_if_not(stored.rbegin(), stored.rend(), IsBlank).base();
    return first < last ? std::string(first, last) : std::string();
}

int TColorProfiles::Find(std::string_view name) const {
    const std::string wanted = FoldedName(name);
    for (int i = 0; i < Count(); ++i) {
        if (FoldedName(Profile(i).Name) == wanted) return i;
    }
    return -1;
}

bool TColorProfiles::Add(std::string_view name, const TWindowColors& colors) {
    std::string stored = StorableName(name);
    if (stored.empty() || Find(stored) >= 0) return false;
    profiles_.push_back({std::move(stored), colors});
    selected_ = Count();
    return true;
}

bool TColorProfiles::Rename(int index, std::string_view name) {
    std::string stored = StorableName(name);
    const int holder = Find(stored);
    if (stored.empty() || (holder >= 0 && holder != index)) return false;
    profiles_.at(static_cast<std::size_t>(index)).Name = std::move(stored);
    return true;
}

void TColorProfiles::SetColors(int index, const TWindowColors& colors) {
    profiles_.at(static_cast<std::size_t>(index)).Colors = colors;
}

void TColorProfiles::Remove(int index) {
    if (index < 0 || index >= Count()) throw std::out_of_range("no profile of that index");
    profiles_.erase(profiles_.begin() + index);
    if (selected_ != kNoSelection) selected_ = std::min(selected_, Count());
}
