#include "ui/overflow_marks.h"

#include <algorithm>

#include <QElapsedTimer>

#include "lgp/level_tables.h"
#include "overflow/level_overflow.h"
#include "lgp/lgp_file.h"
#include "ui/overflow_hints.h"

namespace {

// Short enough for the window to answer the user between two steps of the idle check.
constexpr qint64 kCheckStepMilliseconds = 8;

}  // namespace

TOverflowMarks::TOverflowMarks(QObject* parent) : QObject(parent) {
    idleCheck_.setSingleShot(true);
    idleCheck_.setInterval(0);
    connect(&idleCheck_, &QTimer::timeout, this, &TOverflowMarks::checkSome);
}

void TOverflowMarks::setArchive(const TLGPFile* archive) {
    archive_ = archive;
    const std::size_t files = archive_ != nullptr ? archive_->SubFiles.size() : 0;
    marks_.assign(files, {});
    counts_.assign(files, -1);
    checked_.assign(files, 0);
    next_ = 0;
    if (ready()) {
        idleCheck_.stop();
    } else {
        idleCheck_.start();
    }
}

void TOverflowMarks::checkLevel(int subFile) {
    if (subFile >= 0 && static_cast<std::size_t>(subFile) < checked_.size() &&
        checked_[static_cast<std::size_t>(subFile)] == 0) {
        markLevel(subFile);
    }
}

void TOverflowMarks::checkSome() {
    QElapsedTimer step;
    step.start();
    while (!ready() && !step.hasExpired(kCheckStepMilliseconds)) {
        checkLevel(static_cast<int>(next_));
        ++next_;
    }
    if (!ready()) {
        idleCheck_.start();
        return;
    }
    emit marksChanged(-1, -1);
}

void TOverflowMarks::windowChanged(int subFile) {
    markLevel(subFile);
    emit marksChanged(subFile, -1);
}

void TOverflowMarks::setNames(text::CharacterNames names) {
    if (names == names_) return;
    names_ = names;
    markArchive();
    emit marksChanged(-1, -1);
}

bool TOverflowMarks::isOverflowing(int subFile, int text) const {
    if (subFile < 0 || static_cast<std::size_t>(subFile) >= marks_.size() || text < 0) return false;
    const std::vector<char>& level = marks_[static_cast<std::size_t>(subFile)];
    return static_cast<std::size_t>(text) < level.size() &&
           level[static_cast<std::size_t>(text)] != 0;
}

int TOverflowMarks::overflowingTexts(int subFile) const {
    if (subFile < 0 || static_cast<std::size_t>(subFile) >= counts_.size()) return -1;
    return counts_[static_cast<std::size_t>(subFile)];
}

QString TOverflowMarks::hints(int subFile, int text) const {
    if (!isOverflowing(subFile, text)) return {};
    const TLGPSubFile& level = *archive_->SubFiles[static_cast<std::size_t>(subFile)];
    return ui::OverflowHints(
        overflow::TextWindowOverflows(level, static_cast<std::size_t>(text), names_));
}

void TOverflowMarks::markArchive() {
    idleCheck_.stop();
    for (std::size_t subFile = 0; subFile < marks_.size(); ++subFile) {
        markLevel(static_cast<int>(subFile));
    }
    next_ = checked_.size();
}

void TOverflowMarks::markLevel(int subFile) {
    const auto index = static_cast<std::size_t>(subFile);
    if (subFile < 0 || index >= marks_.size()) return;
    checked_[index] = 1;
    const TLGPSubFile& level = *archive_->SubFiles[index];
    if (!lgp::IsLevel(level)) return;
    std::vector<char>& marks = marks_[index];
    marks.resize(level.Texts.size());
    for (std::size_t text = 0; text < level.Texts.size(); ++text) {
        marks[text] = overflow::IsOverflowing(level.Texts[text], names_) ? 1 : 0;
    }
    counts_[index] = static_cast<int>(std::count(marks.begin(), marks.end(), 1));
}

void TOverflowMarks::textChanged(int subFile, int text) {
    const auto index = static_cast<std::size_t>(subFile);
    // A level not checked yet is read as it is when its turn comes.
    if (subFile < 0 || index >= marks_.size() || checked_[index] == 0 || text < 0 ||
        static_cast<std::size_t>(text) >= marks_[index].size()) {
        return;
    }
    const TLGPSubFile& level = *archive_->SubFiles[index];
    char& mark = marks_[index][static_cast<std::size_t>(text)];
    const char now =
        overflow::IsOverflowing(level.Texts[static_cast<std::size_t>(text)], names_) ? 1 : 0;
    if (now == mark) return;
    mark = now;
    counts_[index] += now != 0 ? 1 : -1;
    emit marksChanged(subFile, text);
}
