#pragma once

#include <vector>

#include "lgp/lgp_file.h"
#include "lgp/lgp_sub_file.h"

// Exchange files (JSON and PO) name a level by its file name. An archive may hold a name twice;
// the first of them, as `orvenne-cli texts` reads it, is the one they carry.

namespace cli {

// Table indices of the levels that exchange files carry, in table order.
std::vector<int> ExchangeLevels(const TLGPFile& archive);

// The level's windows in the order of its entities, scripts and opcodes: the order in which
// exchange files list and number them.
std::vector<TWindow*> LevelWindows(TLGPSubFile& level);
std::vector<const TWindow*> LevelWindows(const TLGPSubFile& level);

}  // namespace cli
