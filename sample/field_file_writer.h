#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sample/script_section.h"

namespace sample {

// What the generator put into one level: the numbers a parser must find in it.
struct SampleLevel {
    std::string name;
    TextLayout layout = TextLayout::Texts;
    std::size_t decodedSize = 0;
    // The LZS stream stored in the archive, its 4-byte length included.
    std::size_t storedSize = 0;
    int entities = 0;
    // Texts as the parser counts them (0 for the layouts without texts), and their bytes,
    // each text with its closing 0xFF.
    int texts = 0;
    std::size_t textBytes = 0;
    // WINDOW and WSIZW opcodes, MESSAGE and ASK opcodes.
    int windows = 0;
    int messages = 0;
    // Texts with at least one window in their list, and the entries of all those lists.
    int windowedTexts = 0;
    int windowLinks = 0;
    int texturePages = 0;
    // Per text: its tagged text (Windows-1252, CR LF line breaks) and the length of its window
    // list.
    std::vector<std::string> tagged;
    std::vector<int> textWindows;
    // The texts (by index) that overflow their windows with the default names: the windows are
    // fitted to their texts, but a few levels have one window made too small on purpose.
    std::vector<int> overflowing;
    // The same with the widest names, for which no window is fitted.
    std::vector<int> overflowingWidest;
    // The size of the background picture: the painting, with black rows around it to fill the
    // screen's height.
    int backgroundWidth = 0;
    int backgroundHeight = 0;
};

// A decoded field file and the record of what it holds.
struct SampleField {
    std::vector<std::uint8_t> decoded;
    SampleLevel level;
};

// Writes the decoded field file of one level: the header with its nine section positions,
// then the script section (entities, scripts, texts, Akao blocks as `layout` says), camera,
// model loader, palette, walkmesh, tile map, encounters, triggers and background. What the
// background shows and the level's first text follow from the description; everything else
// follows from the seed. Deterministic.
SampleField MakeFieldFile(std::string_view name, std::string_view description, TextLayout layout,
                          std::uint64_t seed);

}  // namespace sample
