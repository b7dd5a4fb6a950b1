#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sample/sample_random.h"

// The files of the game's field archive that are not levels, which the editor carries
// through unchanged.
namespace sample {

// "maplist": the number of levels, then each level's name in a 32-byte field.
std::vector<std::uint8_t> MapList(const std::vector<std::string>& levelNames);
// "flevel.siz": each level's decoded size, 32 bits, in level order.
std::vector<std::uint8_t> LevelSizes(const std::vector<std::size_t>& decodedSizes);
// A ".tex" texture: header, palette, and a small 8-bit picture of a glow.
std::vector<std::uint8_t> Texture(SampleRandom& random);
// A ".tut" tutorial: the key presses and texts of an on-screen lesson.
std::vector<std::uint8_t> Tutorial(SampleRandom& random);

// Names of the textures and tutorials, in no particular order.
std::vector<std::string_view> TextureNames();
std::vector<std::string_view> TutorialNames();

}  // namespace sample
