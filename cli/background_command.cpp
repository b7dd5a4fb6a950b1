#include <stdexcept>
#include <string>
#include <vector>

#include <QImage>
#include <QString>

#include "cli/command.h"
#include "lgp/file_error.h"
#include "lgp/level_tables.h"
#include "lgp/lgp_file.h"
#include "preview/fit_picture.h"
#include "preview/level_background.h"

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
    BackgroundOptions options;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--fit") {
            if (i + 1 == args.size()) throw UsageError("--fit needs a value");
            const std::string& value = args[++i];
            options.fit = ParsePictureSize(arg, value, kMaxFitSide);
        } else if (arg.size() > 1 && arg[0] == '-') {
            throw UsageError("unknown option " + arg);
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 3) {
        throw UsageError("expected 3 arguments, got " + std::to_string(positional.size()));
    }
    options.archive = positional[0];
    options.level = positional[1];
    options.output = positional[2];
    if (!lgp::IsLevel(options.level)) throw UsageError(options.level + " is not a level name");
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
    const QImage background = ReadLevelBackground(archive, level);
    if (background.isNull()) {
        throw std::runtime_error("the background of " + options.level +
                                 " has a width or height of 0: there is no picture to write");
    }
    QImage picture = background;
    if (options.fit.width > 0) {
        FitPicture(picture, options.fit.width, options.fit.height);
        if (picture.isNull()) {
            throw std::runtime_error("the background of " + options.level + " (" +
                                     std::to_string(background.width()) + " x " +
                                     std::to_string(background.height()) +
                                     " pixels) fitted into the box has a side of 0 pixels");
        }
    } else {
        picture = ExpandTo24Bits(background);
    }
    if (!picture.save(QString::fromStdString(options.output), "PNG")) {
        throw lgp::FileError("cannot write " + options.output);
    }
    return 0;
}

}  // namespace

const Command kBackgroundCommand{
    "background",
    "background ARCHIVE LEVEL OUTPUT.png [--fit WIDTHxHEIGHT]",
    "Draws the background of LEVEL as the editor's level preview does: both layers of tiles\n"
    "through the level's palettes, each five-bit colour component v widened to eight bits as\n"
    "(v << 3) | (v >> 2); writes it to OUTPUT.png with 24 bits per pixel.\n"
    "  --fit  fits the picture into WIDTH x HEIGHT pixels (each 1 to 4096) with its\n"
    "         proportions kept, averaging 3 x 3 pixels, as the editor's small preview does;\n"
    "         for example --fit 287x100 for the Normal size.",
    RunBackground,
};
