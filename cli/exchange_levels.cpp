#include "cli/exchange_levels.h"

#include <set>
#include <string_view>

#include "lgp/level_tables.h"

namespace cli {

namespace {

template <typename Window, typename Level>
std::vector<Window*> WindowsOf(Level& level) {
    std::vector<Window*> windows;
    for (auto& entity : level.Entities) {
        for (auto& script : entity.Scripts) {
            for (auto& window : script.Windows) windows.push_back(&window);
        }
    }
    return windows;
}

}  // namespace

std::vector<int> ExchangeLevels(const TLGPFile& archive) {
    std::set<std::string_view> names;
    std::vector<int> levels;
    for (std::size_t i = 0; i < archive.SubFiles.size(); ++i) {
        const TLGPSubFile& subFile = *archive.SubFiles[i];
        if (lgp::IsLevel(subFile) && names.insert(subFile.Name).second) {
            levels.push_back(static_cast<int>(i));
        }
    }
    return levels;
}

std::vector<TWindow*> LevelWindows(TLGPSubFile& level) { return WindowsOf<TWindow>(level); }

std::vector<const TWindow*> LevelWindows(const TLGPSubFile& level) {
    return WindowsOf<const TWindow>(level);
}

}  // namespace cli
