#include <algorithm>
#include <iostream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cli/archive_access.h"
#include "cli/command.h"
#include "cli/exchange_levels.h"
#include "cli/names_option.h"
#include "lgp/level_tables.h"
#include "overflow/level_overflow.h"
#include "overflow/window_fit.h"

namespace cli {

namespace {

const char* KindName(text::OverflowKind kind) {
    return kind == text::OverflowKind::Width ? "width" : "height";
}

int RunCheck(const std::vector<std::string>& args) {
    std::vector<std::string> rest = args;
    const text::CharacterNames names = TakeNames(rest);
    const Arguments parsed = ParseArguments(rest, {"--skip-damaged"}, 1);
    TLGPFile archive;
    ReadArchive(archive, parsed.positional[0], parsed.Has("--skip-damaged"));
    int texts = 0;
    for (const auto& subFile : archive.SubFiles) {
        if (!lgp::IsLevel(*subFile)) continue;
        const std::vector<overflow::WindowOverflow> overflows =
            overflow::LevelOverflows(*subFile, names);
        if (overflows.empty()) continue;
        const std::vector<const TWindow*> windows = LevelWindows(std::as_const(*subFile));
        std::size_t lastText = overflows.front().text + 1;
        for (const overflow::WindowOverflow& found : overflows) {
            texts += found.text != lastText;
            lastText = found.text;
            const auto window = std::find(windows.begin(), windows.end(), found.shownIn);
            std::cout << subFile->Name << '\t' << found.text + 1 << '\t' << window - windows.begin()
                      << '\t' << found.overflow.page + 1 << '\t' << KindName(found.overflow.kind)
                      << '\t' << found.overflow.needed << '\t' << found.overflow.actual << '\n';
        }
    }
    if (texts == 0) return 0;
    std::cerr << "orvenne-cli check: " << texts
              << (texts == 1 ? " text overflows its windows\n" : " texts overflow their windows\n");
    return 1;
}

int RunFit(const std::vector<std::string>& args) {
    std::vector<std::string> rest = args;
    const std::optional<std::string> output = TakeOption(rest, "-o");
    const text::CharacterNames names = TakeNames(rest);
    const Arguments parsed =
        ParseArguments(rest, {"--only-overflowing", "--skip-damaged", "--break-links"}, 1);
    int windows = 0;
    int levels = 0;
    EditArchive(parsed.positional[0],
                {.output = output, .skipDamaged = parsed.Has("--skip-damaged"),
                 .breakLinks = parsed.Has("--break-links")},
                [&](TLGPFile& archive) {
                    for (const auto& subFile : archive.SubFiles) {
                        // A level that could not be read keeps its windows as they are.
                        if (!lgp::IsLevel(*subFile) || !subFile->Damage.empty()) continue;
                        const int changed = overflow::FitLevelWindows(
                            *subFile, names, parsed.Has("--only-overflowing"));
                        windows += changed;
                        levels += changed > 0;
                    }
                    return levels > 0;
                });
    std::cout << "windows changed: " << windows << '\n' << "levels rebuilt: " << levels << '\n';
    return 0;
}

}  // namespace

const Command kCheckCommand{
    "check",
    "check ARCHIVE [--names default|widest] [--skip-damaged]",
    "Checks that every text of ARCHIVE's levels fits the windows that show it, as the game\n"
    "draws it: lines are not wrapped, each {NEW PAGE} starts a page, and character-name tags\n"
    "stand for the default names (Cloud, ..., the widest of them for {MEMBER N}) or, with\n"
    "--names widest, for nine of the widest character. Prints one tab-separated line per\n"
    "overflow: level, text (from 1, as the editor's texts list shows it), window (from 0, in\n"
    "the level's script order, as the \"windows\" indices of exchange files count them), page\n"
    "(from 1), what overflows (width or height), the window size the page needs and the\n"
    "window's. Widths include the window's padding. --skip-damaged opens an archive with\n"
    "levels that cannot be read: each is named on standard error with the reason.",
    RunCheck,
    "0 when nothing overflows, 1 when something does, 2 for an error (an archive that cannot\n"
    "be read; the reason on standard error) or a wrong command line, as diff and grep do.",
    2,
};

const Command kFitCommand{
    "fit",
    "fit ARCHIVE [-o OUTPUT] [--names default|widest] [--only-overflowing] [--skip-damaged]\n"
    "            [--break-links]",
    "Sizes every window that shows a text to the smallest in which all the texts it shows\n"
    "fit, measured as check does (the height is 16 x lines + 9). A window keeps its place\n"
    "unless it would then leave the 320 x 224 screen; then it is pulled back into it, as the\n"
    "window dialog's Reposition does, and may stay too small. With --only-overflowing, only\n"
    "the windows that a text overflows change. Saves safely to OUTPUT, or over ARCHIVE\n"
    "without -o (and then only when something changed), and prints how many windows changed\n"
    "and how many levels were rebuilt.",
    RunFit,
};

}  // namespace cli
