#include <algorithm>
#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli/archive_access.h"
#include "cli/command.h"
#include "cli/names_option.h"
#include "lgp/level_tables.h"
#include "overflow/level_overflow.h"
#include "translation/archive_review.h"

namespace cli {

namespace {

using translation::Finding;

// The overflows of a text in its windows as findings, each window numbered from 1 in the
// text's list as the editor numbers them.
void AddOverflows(const TLGPSubFile& level, std::size_t text, text::CharacterNames names,
                  std::vector<Finding>& findings) {
    for (const overflow::WindowOverflow& found :
         overflow::TextWindowOverflows(level, text, names)) {
        findings.push_back({translation::Severity::Error, translation::Check::Overflow,
                            "window " + std::to_string(found.window + 1) + ": " +
                                text::OverflowReason(found.overflow)});
    }
}

std::string Share(std::size_t part, std::size_t whole) {
    char buffer[32];
    std::snprintf(
        buffer, sizeof buffer, "%.1f %%",
        whole == 0 ? 0.0 : 100.0 * static_cast<double>(part) / static_cast<double>(whole));
    return buffer;
}

int Review(const std::vector<std::string>& args) {
    std::vector<std::string> rest = args;
    const bool namesGiven =
        std::find(rest.begin(), rest.end(), std::string("--names")) != rest.end();
    const text::CharacterNames names = TakeNames(rest);
    const Arguments parsed = ParseArguments(rest, {"--overflow", "--skip-damaged"}, 2);
    const bool overflow = parsed.Has("--overflow");
    if (namesGiven && !overflow) throw UsageError("--names goes with --overflow");
    TLGPFile archive;
    ReadArchive(archive, parsed.positional[0], parsed.Has("--skip-damaged"));
    TLGPFile original;
    ReadArchive(original, parsed.positional[1], parsed.Has("--skip-damaged"));

    const translation::ArchiveReview review(archive, original);
    std::size_t errors = 0;
    std::size_t warnings = 0;
    std::size_t texts = 0;
    std::size_t missing = 0;
    for (std::size_t subFile = 0; subFile < archive.SubFiles.size(); ++subFile) {
        const TLGPSubFile& level = *archive.SubFiles[subFile];
        if (!lgp::IsLevel(level)) continue;
        for (std::size_t text = 0; text < level.Texts.size(); ++text) {
            missing += review.state(subFile, text) == translation::TextState::NotInOriginal;
            std::vector<Finding> findings = review.findings(subFile, text);
            if (overflow) AddOverflows(level, text, names, findings);
            texts += !findings.empty();
            for (const Finding& finding : findings) {
                (finding.severity == translation::Severity::Error ? errors : warnings) += 1;
                std::cout << level.Name << '\t' << text + 1 << '\t'
                          << translation::SeverityName(finding.severity) << '\t'
                          << translation::CheckName(finding.check) << '\t' << finding.detail
                          << '\n';
            }
        }
    }
    const translation::Progress progress = review.totalProgress();
    std::cerr << "orvenne-cli qa: " << errors << (errors == 1 ? " error, " : " errors, ")
              << warnings << (warnings == 1 ? " warning" : " warnings") << " in " << texts
              << (texts == 1 ? " text; " : " texts; ") << progress.translated << " of "
              << progress.texts << " texts translated ("
              << Share(progress.translated, progress.texts) << ")";
    if (missing > 0) std::cerr << ", " << missing << " of them not in the original";
    std::cerr << '\n';
    return errors > 0 ? 1 : 0;
}

}  // namespace

const Command kQaCommand{
    "qa",
    "qa ARCHIVE ORIGINAL [--overflow] [--names default|widest] [--skip-damaged]",
    "Checks the translation ARCHIVE against ORIGINAL, the archive it was made from: levels\n"
    "are matched by name, texts by number. A text whose bytes equal the original's is\n"
    "untranslated and not checked. Prints one tab-separated line per finding: level, text\n"
    "(from 1), severity (error or warning), check and detail (lines counted from 1).\n"
    "Errors, which break what the game's script relies on:\n"
    "  variables     a variable tag ({VAR1}, {VAR2}, {VAR3}, the chocobo tags) or a\n"
    "                placeholder %N of the original missing, or one added (where it stands\n"
    "                does not matter);\n"
    "  question      a text that an ASK opcode shows with another number of lines or of\n"
    "                {CHOICE} tags: the script tells its answers apart by their lines;\n"
    "  empty         a text empty where the original is not;\n"
    "  overflow      with --overflow: the text overflows a window that shows it (numbered\n"
    "                from 1 in the text's list), measured as check measures it, with the\n"
    "                names --names gives.\n"
    "Warnings: pages (another number of {NEW PAGE}), spaces (a line starting or ending with\n"
    "other spaces than the same line of the original), double-space (more double spaces\n"
    "inside lines than the original).\n"
    "Standard error gets a summary: the findings, and how many texts are translated (texts\n"
    "that the original lacks count as translated). --skip-damaged opens archives with levels\n"
    "that cannot be read: each is named on standard error with the reason; such a level has\n"
    "no texts, and in ORIGINAL it counts as missing.",
    Review,
    // Status 1 means an error found, so a failure to read the archives is 2, as bad arguments are.
    "0 without an error finding (warnings allowed), 1 with one, 2 when an archive cannot be\n"
    "read (the reason on standard error) or the command line is wrong.",
    2,
};

}  // namespace cli
