#include "translation/archive_review.h"

#include <algorithm>
#include <map>
#include <string_view>

#include "lgp/level_questions.h"
#include "lgp/level_tables.h"
#include "translation/text_checks.h"

namespace translation {

ArchiveReview::ArchiveReview(const TLGPFile& archive, const TLGPFile& original)
    : archive_(archive), levels_(archive.SubFiles.size()) {
    std::map<std::string_view, const TLGPSubFile*> originals;
    for (const auto& subFile : original.SubFiles) {
        if (lgp::IsLevel(*subFile)) originals.emplace(subFile->Name, subFile.get());
    }
    for (std::size_t i = 0; i < levels_.size(); ++i) {
        const TLGPSubFile& subFile = *archive.SubFiles[i];
        if (!lgp::IsLevel(subFile)) continue;
        const auto found = originals.find(subFile.Name);
        levels_[i].original = found != originals.end() ? found->second : nullptr;
        updateLevel(i);
    }
}

const TLGPSubFile* ArchiveReview::originalLevel(std::size_t subFile) const {
    return subFile < levels_.size() ? levels_[subFile].original : nullptr;
}

const std::vector<std::uint8_t>* ArchiveReview::originalText(std::size_t subFile,
                                                             std::size_t text) const {
    const TLGPSubFile* original = originalLevel(subFile);
    if (original == nullptr || text >= original->Texts.size()) return nullptr;
    return &original->Texts[text].Bytes;
}

TextState ArchiveReview::state(std::size_t subFile, std::size_t text) const {
    if (subFile >= levels_.size() || text >= levels_[subFile].texts.size()) {
        return TextState::NotInOriginal;
    }
    return levels_[subFile].texts[text].state;
}

const std::vector<Finding>& ArchiveReview::findings(std::size_t subFile, std::size_t text) const {
    static const std::vector<Finding> none;
    if (subFile >= levels_.size() || text >= levels_[subFile].texts.size()) return none;
    return levels_[subFile].texts[text].findings;
}

Progress ArchiveReview::levelProgress(std::size_t subFile) const {
    return subFile < levels_.size() ? levels_[subFile].progress : Progress{};
}

std::size_t ArchiveReview::textsWithFindings(std::size_t subFile) const {
    return subFile < levels_.size() ? levels_[subFile].withFindings : 0;
}

std::size_t ArchiveReview::textsWithErrors(std::size_t subFile) const {
    return subFile < levels_.size() ? levels_[subFile].withErrors : 0;
}

bool ArchiveReview::updateText(std::size_t subFile, std::size_t text) {
    if (subFile >= levels_.size() || text >= levels_[subFile].texts.size()) return false;
    LevelReview& level = levels_[subFile];
    TextReview review = reviewOf(level, subFile, text);
    TextReview& kept = level.texts[text];
    if (review.state == kept.state && review.findings == kept.findings) return false;
    count(level, kept, -1);
    kept = std::move(review);
    count(level, kept, 1);
    return true;
}

void ArchiveReview::updateLevel(std::size_t subFile) {
    if (subFile >= levels_.size() || !lgp::IsLevel(*archive_.SubFiles[subFile])) return;
    LevelReview& level = levels_[subFile];
    for (const TextReview& review : level.texts) count(level, review, -1);
    level.questions = lgp::TextQuestions(*archive_.SubFiles[subFile]);
    level.texts.resize(level.questions.size());
    for (std::size_t text = 0; text < level.texts.size(); ++text) {
        level.texts[text] = reviewOf(level, subFile, text);
        count(level, level.texts[text], 1);
    }
}

ArchiveReview::TextReview ArchiveReview::reviewOf(const LevelReview& level, std::size_t subFile,
                                                  std::size_t text) const {
    TextReview review;
    const std::vector<std::uint8_t>& bytes = archive_.SubFiles[subFile]->Texts[text].Bytes;
    const std::vector<std::uint8_t>* original = originalText(subFile, text);
    if (original == nullptr) {
        review.state = TextState::NotInOriginal;
    } else if (bytes == *original) {
        review.state = TextState::Untranslated;
    } else {
        review.state = TextState::Translated;
        review.findings = CheckTranslation(bytes, *original, level.questions[text]);
    }
    return review;
}

void ArchiveReview::count(LevelReview& level, const TextReview& review, int sign) {
    const auto add = [sign](std::size_t& counter, bool counts) {
        if (counts) counter = sign > 0 ? counter + 1 : counter - 1;
    };
    const bool translated = review.state != TextState::Untranslated;
    add(level.progress.texts, true);
    add(total_.texts, true);
    add(level.progress.translated, translated);
    add(total_.translated, translated);
    add(level.withFindings, !review.findings.empty());
    add(level.withErrors, HasError(review.findings));
}

}  // namespace translation
