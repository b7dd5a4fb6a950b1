#pragma once

#include <cstdint>

// A dialogue window opened by a WINDOW or WSIZW opcode: where and how large the game draws it.
class TWindow {
public:
    // Position of the opcode byte in the decoded field file.
    std::int32_t Offset = 0;
    std::uint8_t WindowId = 0;
    // Current values, changed when the user moves or resizes the window.
    std::int16_t X = 0;
    std::int16_t Y = 0;
    std::uint16_t Width = 0;
    std::uint16_t Height = 0;
    // The values as loaded, or as last saved over the opened archive.
    std::int16_t SavedX = 0;
    std::int16_t SavedY = 0;
    std::uint16_t SavedWidth = 0;
    std::uint16_t SavedHeight = 0;

    // True when a current value differs from its saved one.
    bool Changed() const {
        return X != SavedX || Y != SavedY || Width != SavedWidth || Height != SavedHeight;
    }
};
