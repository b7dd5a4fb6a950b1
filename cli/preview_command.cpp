#include <iostream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QString>

#include "cli/command.h"
#include "lgp/file_error.h"
#include "preview/glyph_sets.h"
#include "preview/window_colors.h"
#include "preview/window_preview.h"
#include "text/windows1252.h"

namespace {

struct PreviewOptions {
    std::string input;
    std::string output;
    int width = kAutomaticSize;
    int height = kAutomaticSize;
    TWindowColors colors = DefaultWindowColors;
};

TWindowColors ParseColors(const std::string& digits) {
    const bool valid = digits.size() == 24 &&
                       digits.find_first_not_of("0123456789ABCDEFabcdef") == std::string::npos;
    if (!valid) throw UsageError("--colors wants 24 hexadecimal digits, not " + digits);
    return ReadColorString(digits);
}

PreviewOptions ParsePreviewArguments(const std::vector<std::string>& args) {
    PreviewOptions options;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--size" || arg == "--colors") {
            if (i + 1 == args.size()) throw UsageError(arg + " needs a value");
            const std::string& value = args[++i];
            if (arg == "--colors") {
                options.colors = ParseColors(value);
                continue;
            }
            const PictureSize size = ParsePictureSize(arg, value, kMaxPreviewSide);
            options.width = size.width;
            options.height = size.height;
        } else if (arg.size() > 1 && arg[0] == '-') {
            throw UsageError("unknown option " + arg);
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 2) {
        throw UsageError("expected 2 arguments, got " + std::to_string(positional.size()));
    }
    options.input = positional[0];
    options.output = positional[1];
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
    const GlyphSets glyphs = GlyphSets::FromBuiltinFont();
    const QImage picture =
        DrawWindowPreview(glyphs, options.colors, tagged, options.width, options.height);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "PNG")) throw std::runtime_error("cannot make the PNG picture");
    WriteWholeFile(options.output, std::vector<std::uint8_t>(png.begin(), png.end()));
    return 0;
}

}  // namespace

const Command kPreviewCommand{
    "preview",
    "preview INPUT OUTPUT.png [--size WIDTHxHEIGHT] [--colors HEX24]",
    "Draws the tagged text of INPUT (UTF-8; - reads standard input) as the game shows it in a\n"
    "dialogue window, and writes the picture to OUTPUT.png; the frame's cut corners are\n"
    "transparent. A line feed is a line break; the one that ends the file is not drawn.\n"
    "  --size    the window's size in pixels; by default 320 wide and as high as the lines.\n"
    "  --colors  the four corner colours as 24 hexadecimal digits, RRGGBB each, clockwise from\n"
    "            the top left; by default 0058B0000050000020000080, the game's own.",
    RunPreview,
};
