#pragma once

#include <vector>

#include "lgp/lgp_sub_file.h"
#include "lgp/message.h"

namespace lgp {

// The questions among a level's texts: one entry per text, the first ASK opcode that shows it
// in the order of entities, scripts and opcodes, or null for a text that no ASK shows. An ASK
// whose text number the level lacks is passed over. The pointers live as long as the level's
// scripts.
std::vector<const TMessage*> TextQuestions(const TLGPSubFile& level);

}  // namespace lgp
