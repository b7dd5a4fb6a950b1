#pragma once

#include <memory>
#include <string>
#include <vector>

#include "lgp/lgp_file.h"

namespace lgp_test {

// A sub-file of an archive held in memory: a level when its name is one, with these tagged texts.
struct TextLevel {
    std::string name;
    std::vector<std::string> texts;
};

// An archive as loading leaves it, without a file behind it: each level's texts encoded with
// their terminator, saved and unmarked, and without windows.
std::unique_ptr<TLGPFile> MakeTextArchive(const std::vector<TextLevel>& subFiles);

// Every level's texts decoded, in table order, to compare an archive with what it should hold.
std::vector<std::vector<std::string>> TaggedTexts(const TLGPFile& archive);

}  // namespace lgp_test
