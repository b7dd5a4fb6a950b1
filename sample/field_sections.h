#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "sample/sample_random.h"

// The sections of a field file that the editor never reads, written as the game lays them
// out so that sizes and compression resemble the game's. None has its 4-byte length field.
namespace sample {

// Section 2: the camera matrix, position and zoom.
std::vector<std::uint8_t> CameraSection(SampleRandom& random);
// Section 3: the character models the scripts place, with their animations.
std::vector<std::uint8_t> ModelLoaderSection(int models, SampleRandom& random);
// Section 5: the walkmesh, a grid of triangles with their neighbours.
std::vector<std::uint8_t> WalkmeshSection(SampleRandom& random);
// Section 6: the console version's tile map, carried along by the PC files.
std::vector<std::uint8_t> TileMapSection(SampleRandom& random);
// Section 7: two random-encounter tables.
std::vector<std::uint8_t> EncounterSection(SampleRandom& random);
// Section 8: gateways to other levels, triggers and arrows.
std::vector<std::uint8_t> TriggerSection(std::string_view levelName, SampleRandom& random);

}  // namespace sample
