#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <QImage>

#include "cli/command.h"
#include "cli/png_file.h"
#include "lgp/level_tables.h"
#include "lgp/lgp_file.h"
#include "preview/fit_picture.h"
#include "preview/level_background.h"

namespace cli {

namespace {

// The largest box a picture is fitted into, per side.
constexpr int kMaxFitSide = 4096;

struct BackgroundOptions {
    std::string archive;
    std::string level;
    std::string output;
    // The box to fit the picture into; 0 x 0 for the picture at its own size.
    PictureSize fit;
};

BackgroundOptions ParseBackgroundArguments(const std::vector<std::string>& args) {
    std::vector<std::string> rest = args;
    BackgroundOptions options;
    if (const std::optional<std::string> value = TakeOption(rest, "--fit")) {
        options.fit = ParsePictureSize("--fit", *value, kMaxFitSide);
    }
    const Arguments parsed = ParseArguments(rest, {}, 3);
    options.archive = parsed.positional[0];
    options.level = parsed.positional[1];
    options.output = parsed.positional[2];
    if (!lgp::IsLevel(options.level)) throw UsageError(options.level + " is not a level name");
    RefuseOutputAmongInputs(options.output, {options.archive});
    return options;
}

const TLGPSubFile& FindLevel(const TLGPFile& archive, const std::string& name) {
    for (const auto& subFile : archive.SubFiles) {
        if (subFile->Name == name) return *subFile;
    }
    throw std::runtime_error(archive.FileName + " has no level named " + name);
}

int RunBackground(const std::vector<std::string>& args) {
    const BackgroundOptions options = ParseBackgroundArguments(args);
    TLGPFile archive;
    archive.ReadTableOfContents(options.archive);
    const TLGPSubFile& level = FindLevel(archive, options.level);
    const QImage background = preview::ReadLevelBackground(archive, level);
    if (background.isNull()) {
        throw std::runtime_error("the background of " + options.level +
                                 " has a width or height of 0: there is no picture to write");
    }
    QImage picture = background;
    if (options.fit.width > 0) {
        preview::FitPicture(picture, options.fit.width, options.fit.height);
        if (picture.isNull()) {
            throw std::runtime_error("the background of " + options.level + " (" +
                                     std::to_string(background.width()) + " x " +
                                     std::to_string(background.height()) +
                                     " pixels) fitted into the box has a side of 0 pixels");
        }
    } else {
        picture = preview::ExpandTo24Bits(background);
    }
    WritePngFile(options.output, picture);
    return 0;
}

}  // namespace

const Command kBackgroundCommand{
    "background",
    "background ARCHIVE LEVEL OUTPUT.png [--fit WIDTHxHEIGHT]",
    "Draws the background of LEVEL as the editor's level preview does: both layers of tiles\n"
    "through the level's palettes, each five-bit colour component v widened to eight bits as\n"
    "(v << 3) | (v >> 2); writes it to OUTPUT.png with 24 bits per pixel, as every output is\n"
    "written: a temporary file beside it takes its place once complete, and a folder, a FIFO,\n"
    "a read-only file or one with several hard links is refused.\n"
    "  --fit  fits the picture into WIDTH x HEIGHT pixels (each 1 to 4096) with its\n"
    "         proportions kept, averaging 3 x 3 pixels, as the editor's small preview does;\n"
    "         for example --fit 287x100 for the Normal size.",
    RunBackground,
};

}  // namespace cli
