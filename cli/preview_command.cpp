#include <charconv>
#include <iostream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include <QImage>

#include "cli/command.h"
#include "cli/png_file.h"
#include "preview/glyph_sets.h"
#include "preview/window_colors.h"
#include "preview/window_preview.h"
#include "text/windows1252.h"

namespace cli {

namespace {

struct PreviewOptions {
    std::string input;
    std::string output;
    int width = preview::kAutomaticSize;
    int height = preview::kAutomaticSize;
    TWindowColors colors = preview::DefaultWindowColors;
    // The game view: drawn when a page or names are asked for.
    bool gameView = false;
    int page = 0;
    text::CharacterNames names = text::CharacterNames::Default;
};

// A page number from 1, as the option gives it, counted from 0.
int ParsePage(const std::string& digits) {
    constexpr int kMostPages = 65535;
    int value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() ||
        value < 1 || value > kMostPages) {
        throw UsageError("--page wants a number from 1, not " + digits);
    }
    return value - 1;
}

TWindowColors ParseColors(const std::string& digits) {
    const bool valid = digits.size() == 24 &&
                       digits.find_first_not_of("0123456789ABCDEFabcdef") == std::string::npos;
    if (!valid) throw UsageError("--colors wants 24 hexadecimal digits, not " + digits);
    return preview::ReadColorString(digits);
}

PreviewOptions ParsePreviewArguments(const std::vector<std::string>& args) {
    std::vector<std::string> rest = args;
    PreviewOptions options;
    if (const std::optional<std::string> value = TakeOption(rest, "--size")) {
        const PictureSize size = ParsePictureSize("--size", *value, preview::kMaxPreviewSide);
        options.width = size.width;
        options.height = size.height;
    }
    if (const std::optional<std::string> value = TakeOption(rest, "--colors")) {
        options.colors = ParseColors(*value);
    }
    if (const std::optional<std::string> value = TakeOption(rest, "--page")) {
        options.gameView = true;
        options.page = ParsePage(*value);
    }
    if (const std::optional<std::string> value = TakeOption(rest, "--names")) {
        options.gameView = true;
        if (*value != "default" && *value != "widest") {
            throw UsageError("--names wants default or widest, not " + *value);
        }
        options.names =
            *value == "widest" ? text::CharacterNames::Widest : text::CharacterNames::Default;
    }
    const Arguments parsed = ParseArguments(rest, {}, 2);
    options.input = parsed.positional[0];
    options.output = parsed.positional[1];
    RefuseOutputAmongInputs(options.output, {options.input});
    return options;
}

// The tagged text of a UTF-8 file: line feeds become CR LF, and the final line break that
// ends a text file is dropped.
std::string ReadTaggedText(const std::string& input) {
    std::string utf8;
    if (input == "-") {
        std::cin >> std::noskipws;
        utf8.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    } else {
        const std::vector<std::uint8_t> bytes = ReadWholeFile(input);
        utf8.assign(bytes.begin(), bytes.end());
    }
    // Editors of some systems start a UTF-8 file with a byte-order mark.
    if (utf8.starts_with("\xEF\xBB\xBF")) utf8.erase(0, 3);
    if (utf8.ends_with("\r\n")) {
        utf8.resize(utf8.size() - 2);
    } else if (utf8.ends_with('\n')) {
        utf8.pop_back();
    }
    const text::Windows1252Text converted = text::Utf8ToWindows1252(utf8);
    if (converted.replaced > 0) {
        throw std::runtime_error(input + ": " + std::to_string(converted.replaced) +
                                 " characters have no Windows-1252 form");
    }
    std::string tagged;
    tagged.reserve(converted.text.size());
    for (std::size_t i = 0; i < converted.text.size(); ++i) {
        const char c = converted.text[i];
        if (c == '\n' && (i == 0 || converted.text[i - 1] != '\r')) tagged += '\r';
        tagged += c;
    }
    return tagged;
}

int RunPreview(const std::vector<std::string>& args) {
    const PreviewOptions options = ParsePreviewArguments(args);
    const std::string tagged = ReadTaggedText(options.input);
    const preview::GlyphSets glyphs = preview::GlyphSets::FromBuiltinFont();
    const QImage picture =
        options.gameView ? preview::DrawGameView(glyphs, options.colors, tagged, options.width,
                                                 options.height, options.page, options.names)
                         : preview::DrawWindowPreview(glyphs, options.colors, tagged, options.width,
                                                      options.height);
    WritePngFile(options.output, picture);
    return 0;
}

}  // namespace

const Command kPreviewCommand{
    "preview",
    "preview INPUT OUTPUT.png [--size WIDTHxHEIGHT] [--colors HEX24] [--page N]\n"
    "                    [--names default|widest]",
    "Draws the tagged text of INPUT (UTF-8; - reads standard input) as the game shows it in a\n"
    "dialogue window, and writes the picture to OUTPUT.png; the frame's cut corners are\n"
    "transparent. A line feed is a line break; the one that ends the file is not drawn.\n"
    "  --size    the window's size in pixels; by default 320 wide and as high as the lines.\n"
    "  --colors  the four corner colours as 24 hexadecimal digits, RRGGBB each, clockwise from\n"
    "            the top left; by default 0058B0000050000020000080, the game's own.\n"
    "  --page    draws page N (from 1) as the game does: lines not wrapped, name tags as\n"
    "            names, what passes the window's edges over a red hatch (the picture then\n"
    "            grows past --size).\n"
    "  --names   the names of the name tags in that view: default (Cloud, ...) or widest\n"
    "            (nine of the widest character); draws page 1 unless --page says otherwise.",
    RunPreview,
};

}  // namespace cli
