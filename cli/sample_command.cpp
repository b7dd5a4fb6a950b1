#include <charconv>
#include <optional>
#include <vector>

#include "cli/command.h"
#include "lgp/archive_saver.h"
#include "sample/sample_archive.h"

namespace cli {

namespace {

// The value of `--name VALUE` in args, removed from them; fallback when absent.
long TakeNumber(std::vector<std::string>& args, const std::string& name, long fallback) {
    const std::optional<std::string> text = TakeOption(args, name);
    if (!text) return fallback;
    long value = 0;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
    if (error != std::errc() || end != text->data() + text->size() || value < 0) {
        throw UsageError(name + " needs a number, not " + *text);
    }
    return value;
}

int RunSample(const std::vector<std::string>& args) {
    std::vector<std::string> rest = args;
    sample::SampleOptions options;
    options.seed = static_cast<std::uint32_t>(TakeNumber(rest, "--seed", sample::kDefaultSeed));
    const long levels = TakeNumber(rest, "--levels", lgp::kLevelCount);
    if (levels > lgp::kLevelCount) {
        throw UsageError("--levels takes 0 to " + std::to_string(lgp::kLevelCount));
    }
    options.levels = static_cast<int>(levels);
    const Arguments parsed = ParseArguments(rest, {"--irregular"}, 1);
    options.irregular = parsed.Has("--irregular");
    const std::vector<std::uint8_t> bytes = sample::MakeSampleArchive(options).bytes;
    // An archive in its place is replaced as a save replaces it: never while it is saved.
    const std::optional<platform::ArchiveLock> lock =
        lgp::LockArchive(parsed.positional[0], platform::ArchiveLock::Mode::Exclusive);
    WriteWholeFile(parsed.positional[0], bytes);
    return 0;
}

}  // namespace

const Command kSampleCommand{
    "sample",
    "sample OUTPUT [--seed N] [--levels N] [--irregular]",
    "Writes a demo archive shaped like the game's field archive: every level (or the first N)\n"
    "with English dialogue, windows and a background picture, and the game's other kinds of\n"
    "files. The same seed gives the same bytes. --irregular lays the data out as readers and\n"
    "writers must survive it: blocks out of table order, a gap, and two entries sharing one.",
    RunSample,
};

}  // namespace cli
