// Never-crash target of the level parser: any bytes as a decoded field file must parse or
// end in a FormatError, and every text's windows must belong to the level.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "lgp/field_parser.h"
#include "lgp/format_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TLGPSubFile level;
    try {
        lgp::ParseFieldFile(level, {data, size});
    } catch (const lgp::FormatError&) {
        return 0;
    }
    if (level.SavedTexts.size() != level.Texts.size()) std::abort();
    if (level.CompareMarks.size() != level.Texts.size()) std::abort();
    for (const TLevelText& text : level.Texts) {
        for (const TWindow* window : text.Windows) {
            if (window->Offset < 0 || static_cast<std::size_t>(window->Offset) >= size) std::abort();
        }
    }
    return 0;
}
