#pragma once

#include <vector>

#include "lgp/message.h"
#include "lgp/window.h"

// One script of an entity: its window and message opcodes in the order they occur.
class TScript {
public:
    std::vector<TWindow> Windows;
    std::vector<TMessage> Messages;
};
