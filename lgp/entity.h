#pragma once

#include <vector>

#include "lgp/script.h"

// One entity of a level's script section, with its scripts in stored order.
class TEntity {
public:
    std::vector<TScript> Scripts;
};
