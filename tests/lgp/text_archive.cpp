#include "tests/lgp/text_archive.h"

#include "text/text_decoder.h"
#include "text/text_encoder.h"

namespace lgp_test {

std::unique_ptr<TLGPFile> MakeTextArchive(const std::vector<TextLevel>& subFiles) {
    auto archive = std::make_unique<TLGPFile>();
    for (const TextLevel& level : subFiles) {
        auto subFile = std::make_unique<TLGPSubFile>();
        subFile->Name = level.name;
        for (const std::string& tagged : level.texts) {
            subFile->Texts.emplace_back().Bytes = text::EncodeText(tagged, true);
            subFile->SavedTexts.push_back(subFile->Texts.back().Bytes);
        }
        subFile->CompareMarks.assign(level.texts.size(), 0);
        archive->SubFiles.push_back(std::move(subFile));
    }
    archive->Count = static_cast<std::int32_t>(subFiles.size());
    return archive;
}

std::vector<std::vector<std::string>> TaggedTexts(const TLGPFile& archive) {
    std::vector<std::vector<std::string>> texts;
    for (const auto& subFile : archive.SubFiles) {
        std::vector<std::string>& level = texts.emplace_back();
        for (const TLevelText& text : subFile->Texts) level.push_back(text::DecodeText(text.Bytes));
    }
    return texts;
}

}  // namespace lgp_test
