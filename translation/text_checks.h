#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "lgp/message.h"
#include "translation/findings.h"

namespace translation {

// The findings of a text against its original, both as game bytes (with or without the final
// 0xFF); `question` is the ASK opcode that shows the text, null when none does. None when the
// bytes are equal: an untranslated text is not checked. In this order:
// - errors: each variable kind (VariableName) whose count differs, as "{VAR1} missing" or
//   "%3 added" (with "N times" when more than one); where they stand does not matter;
//   for a question, another number of lines or of {CHOICE} tags;
// - warnings: another number of pages; each line, as far as both texts have it, whose
//   leading or trailing spaces differ in number; more double spaces than the original.
// A text that is empty where the original is not gets that one error alone.
std::vector<Finding> CheckTranslation(std::span<const std::uint8_t> text,
                                      std::span<const std::uint8_t> original,
                                      const TMessage* question);

}  // namespace translation
