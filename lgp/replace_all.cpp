#include "lgp/replace_all.h"

#include "lgp/field_rebuilder.h"
#include "lgp/level_tables.h"
#include "text/case_folding.h"
#include "text/text_decoder.h"
#include "text/text_encoder.h"

namespace lgp {

std::vector<TextReplacement> PlanReplaceAll(const TLGPFile& archive, std::string_view search,
                                            std::string_view replacement, bool matchCase,
                                            const ReplaceProgress& progress) {
    std::vector<TextReplacement> planned;
    const std::string asciiSearch = matchCase ? std::string(search) : text::LowerAscii(search);
    for (std::size_t i = 0; i < archive.SubFiles.size(); ++i) {
        const TLGPSubFile& level = *archive.SubFiles[i];
        if (!search.empty() && lgp::IsLevel(level)) {
            std::size_t sectionSize = TextSectionSize(level);
            for (std::size_t t = 0; t < level.Texts.size(); ++t) {
                const std::vector<std::uint8_t>& old = level.Texts[t].Bytes;
                const std::string tagged = text::DecodeText(old);
                const bool occurs =
                    matchCase ? tagged.find(asciiSearch) != std::string::npos
                              : text::LowerAscii(tagged).find(asciiSearch) != std::string::npos;
                if (!occurs) continue;
                std::size_t occurrences = 0;
                const std::string replaced =
                    text::ReplaceOccurrences(tagged, search, replacement, matchCase, &occurrences);
                if (replaced == tagged) continue;
                // Saving would refuse the level, leaving the user with changes that cannot be
                // written.
                if (!level.Damage.empty()) {
                    throw ReplaceRefused("level " + level.Name + " cannot be changed: " + level.Damage);
                }
                std::vector<std::uint8_t> bytes = text::EncodeText(replaced, true);
                // Encoding takes what it cannot write for a space: the stored text would not
                // read as replaced.
                if (text::DecodeText(bytes) != replaced) {
                    throw ReplaceRefused("level " + level.Name + ", text " + std::to_string(t + 1) +
                                         ": the replaced text would not read the same once "
                                         "stored (a character the game lacks, or a line break "
                                         "or placeholder cut apart)");
                }
                sectionSize = sectionSize - old.size() + bytes.size();
                planned.push_back({static_cast<int>(i), static_cast<int>(t), std::move(bytes),
                                   static_cast<int>(occurrences)});
            }
            if (sectionSize > kMaxTextSectionSize) {
                throw ReplaceRefused("level " + level.Name +
                                     ": its texts would need a text section of " +
                                     std::to_string(sectionSize) + " bytes, more than the " +
                                     std::to_string(kMaxTextSectionSize) + " it can hold");
            }
        }
        if (progress) progress(static_cast<int>(i));
    }
    return planned;
}

void ApplyReplacements(TLGPFile& archive, std::span<const TextReplacement> replacements) {
    // Every index is checked first, so that a bad one changes nothing.
    for (const TextReplacement& replacement : replacements) {
        static_cast<void>(archive.SubFile(replacement.subFile)
                              .Texts.at(static_cast<std::size_t>(replacement.text)));
    }
    for (const TextReplacement& replacement : replacements) {
        archive.SubFile(replacement.subFile)
            .Texts[static_cast<std::size_t>(replacement.text)]
            .Bytes = replacement.bytes;
    }
}

int ReplaceAll(TLGPFile& archive, std::string_view search, std::string_view replacement,
               bool matchCase) {
    const std::vector<TextReplacement> planned =
        PlanReplaceAll(archive, search, replacement, matchCase);
    ApplyReplacements(archive, planned);
    return static_cast<int>(planned.size());
}

}  // namespace lgp
