#include "ui/translation_marks.h"

#include <utility>

#include <QStringList>

#include "jobs/qt_strings.h"
#include "lgp/lgp_file.h"
#include "text/text_decoder.h"
#include "ui/interface_texts.h"

namespace {

// A place as the review addresses it; none for a negative index.
std::optional<translation::TextPlace> PlaceOf(int subFile, int text) {
    if (subFile < 0 || text < 0) return std::nullopt;
    return translation::TextPlace{static_cast<std::size_t>(subFile),
                                  static_cast<std::size_t>(text)};
}

}  // namespace

TTranslationMarks::TTranslationMarks(QObject* parent) : QObject(parent) {}

TTranslationMarks::~TTranslationMarks() = default;

void TTranslationMarks::setOriginal(const QString& path, std::unique_ptr<TLGPFile> original,
                                    std::unique_ptr<translation::ArchiveReview> review) {
    review_.reset();
    original_ = std::move(original);
    review_ = std::move(review);
    path_ = review_ != nullptr ? path : QString();
    emit originalChanged();
}

void TTranslationMarks::dropOriginal() {
    if (!hasOriginal()) return;
    review_.reset();
    original_.reset();
    path_.clear();
    emit originalChanged();
}

void TTranslationMarks::textChanged(int subFile, int text) {
    const std::optional<translation::TextPlace> place = PlaceOf(subFile, text);
    if (review_ != nullptr && place && review_->updateText(place->subFile, place->text)) {
        emit marksChanged(subFile, text);
    }
}

bool TTranslationMarks::isUntranslated(int subFile, int text) const {
    const std::optional<translation::TextPlace> place = PlaceOf(subFile, text);
    return review_ != nullptr && place &&
           review_->state(place->subFile, place->text) == translation::TextState::Untranslated;
}

bool TTranslationMarks::hasFindings(int subFile, int text) const {
    const std::optional<translation::TextPlace> place = PlaceOf(subFile, text);
    return review_ != nullptr && place && !review_->findings(place->subFile, place->text).empty();
}

bool TTranslationMarks::hasErrors(int subFile, int text) const {
    const std::optional<translation::TextPlace> place = PlaceOf(subFile, text);
    return review_ != nullptr && place &&
           translation::HasError(review_->findings(place->subFile, place->text));
}

QString TTranslationMarks::hints(int subFile, int text) const {
    const std::optional<translation::TextPlace> place = PlaceOf(subFile, text);
    if (review_ == nullptr || !place) return {};
    QStringList hints;
    for (const translation::Finding& finding : review_->findings(place->subFile, place->text)) {
        const char* key =
            finding.severity == translation::Severity::Error ? "finding_error" : "finding_warning";
        hints << ui::InterfaceText("main", key).arg(jobs::fromUtf8(finding.detail));
    }
    return hints.join(u'\n');
}

std::optional<std::string> TTranslationMarks::originalTagged(int subFile, int text) const {
    const std::vector<std::uint8_t>* bytes = originalBytes(subFile, text);
    if (bytes == nullptr) return std::nullopt;
    return text::DecodeText(*bytes);
}

const std::vector<std::uint8_t>* TTranslationMarks::originalBytes(int subFile, int text) const {
    const std::optional<translation::TextPlace> place = PlaceOf(subFile, text);
    if (review_ == nullptr || !place) return nullptr;
    return review_->originalText(place->subFile, place->text);
}

translation::Progress TTranslationMarks::levelProgress(int subFile) const {
    if (review_ == nullptr || subFile < 0) return {};
    return review_->levelProgress(static_cast<std::size_t>(subFile));
}

translation::Progress TTranslationMarks::totalProgress() const {
    return review_ != nullptr ? review_->totalProgress() : translation::Progress{};
}

int TTranslationMarks::textsWithErrors(int subFile) const {
    if (review_ == nullptr || subFile < 0) return 0;
    return static_cast<int>(review_->textsWithErrors(static_cast<std::size_t>(subFile)));
}
