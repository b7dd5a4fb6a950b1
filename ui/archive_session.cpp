#include "ui/archive_session.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <set>
#include <utility>

#include <QCoreApplication>
#include <QUndoStack>

#include "jobs/compare_job.h"
#include "jobs/export_mod_job.h"
#include "jobs/open_job.h"
#include "jobs/original_archive_job.h"
#include "jobs/qt_strings.h"
#include "jobs/replace_all_job.h"
#include "jobs/save_job.h"
#include "lgp/field_rebuilder.h"
#include "lgp/level_tables.h"
#include "overflow/window_fit.h"
#include "platform/shell_link.h"
#include "platform/utf8_path.h"
#include "text/text_decoder.h"
#include "text/text_encoder.h"
#include "ui/interface_texts.h"
#include "ui/overflow_marks.h"
#include "ui/translation_marks.h"

namespace {

std::filesystem::path ToLocalPath(const QString& path) {
    return platform::PathFromUtf8(jobs::toUtf8(path));
}

}  // namespace

TArchiveSession::TArchiveSession(QObject* parent)
    : QObject(parent),
      history_(new QUndoStack(this)),
      overflowMarks_(new TOverflowMarks(this)),
      translationMarks_(new TTranslationMarks(this)) {
    connect(history_, &QUndoStack::canUndoChanged, this, &TArchiveSession::historyChanged);
    connect(history_, &QUndoStack::canRedoChanged, this, &TArchiveSession::historyChanged);
}

TArchiveSession::~TArchiveSession() {
    if (!job_) return;
    // The job reports with blocking calls that this thread would never serve again: cut them
    // off, and drop those already posted, which lets the job go on (a question dropped so is
    // answered No).
    job_->disconnect(this);
    QCoreApplication::removePostedEvents(this);
    job_->WaitForEnd();
}

bool TArchiveSession::canUndo() const { return !jobRunning_ && history_->canUndo(); }

bool TArchiveSession::canRedo() const { return !jobRunning_ && history_->canRedo(); }

void TArchiveSession::undo() {
    if (canUndo()) history_->undo();
}

void TArchiveSession::redo() {
    if (canRedo()) history_->redo();
}

void TArchiveSession::setJobRunning(bool running) {
    jobRunning_ = running;
    emit historyChanged();
}

QString TArchiveSession::fileName() const {
    return archive_ ? jobs::fromUtf8(archive_->FileName) : QString();
}

bool TArchiveSession::isLevelChanged(int subFile) const {
    return subFile >= 0 && static_cast<std::size_t>(subFile) < changed_.size() &&
           changed_[static_cast<std::size_t>(subFile)] != 0;
}

bool TArchiveSession::isTextChanged(int subFile, int text) const {
    if (!isLevelChanged(subFile)) return false;
    const TLGPSubFile& level = *archive_->SubFiles[static_cast<std::size_t>(subFile)];
    if (text < 0 || static_cast<std::size_t>(text) >= level.Texts.size()) return false;
    const TLevelText& entry = level.Texts[static_cast<std::size_t>(text)];
    const auto index = static_cast<std::size_t>(text);
    if (index >= level.SavedTexts.size() || entry.Bytes != level.SavedTexts[index]) return true;
    return std::ranges::any_of(entry.Windows, [](const TWindow* window) { return window->Changed(); });
}

bool TArchiveSession::isLevelReadOnly(int subFile) const {
    return archive_ && subFile >= 0 && static_cast<std::size_t>(subFile) < archive_->SubFiles.size() &&
           !archive_->SubFiles[static_cast<std::size_t>(subFile)]->Damage.empty();
}

TLGPSubFile* TArchiveSession::currentSubFile() const {
    if (!archive_ || subFile_ < 0) return nullptr;
    return archive_->SubFiles[static_cast<std::size_t>(subFile_)].get();
}

TLGPSubFile* TArchiveSession::currentLevel() const {
    TLGPSubFile* subFile = currentSubFile();
    return subFile != nullptr && lgp::IsLevel(*subFile) ? subFile : nullptr;
}

int TArchiveSession::windowCount() const {
    const TLGPSubFile* level = currentLevel();
    if (level == nullptr || text_ < 0) return 0;
    return static_cast<int>(level->Texts[static_cast<std::size_t>(text_)].Windows.size());
}

std::optional<QRect> TArchiveSession::fitSelectedWindow(QPoint position) const {
    const TLGPSubFile* level = currentLevel();
    const TWindow* window = currentWindow();
    if (level == nullptr || window == nullptr) return std::nullopt;
    const overflow::WindowPlace place =
        overflow::FitWindow(*level, *window, overflowMarks_->names(), position.x(), position.y());
    return QRect(place.x, place.y, place.width, place.height);
}

TWindow* TArchiveSession::currentWindow() const {
    if (window_ < 0 || window_ >= windowCount()) return nullptr;
    return currentLevel()->Texts[static_cast<std::size_t>(text_)].Windows[static_cast<std::size_t>(window_)];
}

void TArchiveSession::open(const QString& path) {
    if (jobRunning_) return;
    QString target = path;
    if (platform::IsShortcut(ToLocalPath(path))) {
        // An unresolvable shortcut gives an empty path, which the open job rejects.
        target = jobs::fromUtf8(platform::Utf8FromPath(platform::ShortcutTarget(ToLocalPath(path))));
    }
    pending_ = std::make_unique<TLGPFile>();
    auto* job = new TOpenThread(*pending_, target);
    job->SetDamagedLevels(lgp::DamagedLevels::Keep);
    job->SetFailureText(ui::InterfaceText("messages", "invalid_file"));
    startJob(job, ui::InterfaceText("messages", "file_opening") + QStringLiteral("..."), target,
             &TArchiveSession::openFailed, [this](bool succeeded) { openEnded(succeeded); });
}

void TArchiveSession::save(const QString& target, bool adoptTarget) {
    if (!archive_ || jobRunning_) return;
    auto* job = new TSaveThread(*archive_, target, adoptTarget);
    job->SetFailureText(ui::InterfaceText("messages", "file_saving_failure"));
    // Blocking: the job waits, holding the file's lock, for the answer.
    connect(
        job, &TSaveThread::changedOnDisk, this,
        [this, target](bool* saveOver) {
            const QString question =
                ui::InterfaceText("messages", "file_changed_on_disk").arg(target);
            *saveOver = questions_.saveOverChange && questions_.saveOverChange(question);
        },
        Qt::BlockingQueuedConnection);
    connect(job, &TJob::cancelled, this, &TArchiveSession::saveCancelled, Qt::BlockingQueuedConnection);
    startJob(job, ui::InterfaceText("messages", "file_saving") + QStringLiteral("..."), target,
             &TArchiveSession::saveFailed, [this](bool succeeded) { saveEnded(succeeded); });
}

void TArchiveSession::exportModFolder(const QString& originalPath, const QString& folder,
                                      lgp::ModLayout layout, lgp::EarlierExport earlier) {
    if (!archive_ || jobRunning_) return;
    auto* job = new TExportModThread(*archive_, originalPath, folder, layout, earlier);
    job->SetFailureText(ui::InterfaceText("messages", "mod_folder_failure"));
    auto written = std::make_shared<QStringList>();
    connect(
        job, &TExportModThread::exported, this,
        [written](const QStringList& levels) { *written = levels; }, Qt::BlockingQueuedConnection);
    // Told once the job has ended, so that what follows finds the window usable.
    startJob(job, ui::InterfaceText("messages", "mod_folder_exporting") + QStringLiteral("..."),
             folder, &TArchiveSession::exportFailed, [this, folder, written](bool succeeded) {
                 if (succeeded) emit modFolderExported(folder, *written);
             });
}

void TArchiveSession::compare(const QString& referencePath) {
    if (!archive_ || jobRunning_) return;
    auto* job = new TCompareTextsThread(*archive_, referencePath);
    job->SetFailureText(ui::InterfaceText("messages", "invalid_file"));
    // Blocking: the job waits for the answer.
    connect(
        job, &TCompareTextsThread::damagedReference, this,
        [this](const QStringList& levels, bool* compare) {
            *compare = askDamagedLevels("damaged_reference_level", levels);
        },
        Qt::BlockingQueuedConnection);
    startJob(job, ui::InterfaceText("messages", "files_comparing") + QStringLiteral("..."),
             referencePath, &TArchiveSession::compareFailed, [this](bool succeeded) {
                 if (succeeded) emit compared();
             });
}

void TArchiveSession::openOriginal(const QString& path) {
    if (!archive_ || jobRunning_) return;
    auto* job = new TOriginalArchiveThread(*archive_, path);
    job->SetFailureText(ui::InterfaceText("messages", "original_not_read"));
    // The job waits while its end is handled: what it read is still there to be taken.
    startJob(job, ui::InterfaceText("messages", "original_opening") + QStringLiteral("..."), path,
             &TArchiveSession::originalFailed, [this, job, path](bool succeeded) {
                 if (!succeeded) return;
                 std::unique_ptr<TLGPFile> original = job->takeOriginal();
                 if (!acceptDamagedOriginal(*original)) return;
                 translationMarks_->setOriginal(path, std::move(original), job->takeReview());
             });
}

bool TArchiveSession::replaceAll(std::string search, std::string replacement, bool matchCase,
                                 ui::ReplaceConfirmation confirm) {
    // The job of an earlier run lives on until its thread has been cleaned up.
    if (!archive_ || jobRunning_ || TReplaceAllThread::Running()) return false;
    setJobRunning(true);
    auto* job =
        new TReplaceAllThread(*archive_, std::move(search), std::move(replacement), matchCase);
    job->SetFailureText(ui::InterfaceText("messages", "replacement_refused"));
    constexpr auto blocking = Qt::BlockingQueuedConnection;
    connect(job, &TJob::progress, this, &TArchiveSession::jobProgress, blocking);
    connect(job, &TJob::failed, this, &TArchiveSession::replaceFailed, blocking);
    // The job waits, and lives, while its plan is stored.
    connect(
        job, &TJob::finished, this,
        [this, job, confirm = std::move(confirm)](bool succeeded) {
            const int changed = succeeded ? storeReplacements(job->Planned(), confirm) : -1;
            setJobRunning(false);
            emit replaceEnded(changed);
        },
        blocking);
    job_ = job;
    job->StartDetached();
    return true;
}

int TArchiveSession::storeReplacements(const std::vector<lgp::TextReplacement>& planned,
                                       const ui::ReplaceConfirmation& confirm) {
    if (planned.empty()) return 0;
    int occurrences = 0;
    std::set<int> levels;
    for (const lgp::TextReplacement& replacement : planned) {
        occurrences += replacement.occurrences;
        levels.insert(replacement.subFile);
    }
    const int texts = static_cast<int>(planned.size());
    if (!confirm || !confirm(occurrences, texts, static_cast<int>(levels.size()))) return 0;
    std::vector<TEditStep::TextChange> changes;
    changes.reserve(planned.size());
    for (const lgp::TextReplacement& replacement : planned) {
        const TLGPSubFile& level = archive_->SubFile(replacement.subFile);
        changes.push_back({replacement.subFile, replacement.text,
                           level.Texts.at(static_cast<std::size_t>(replacement.text)).Bytes,
                           replacement.bytes});
    }
    storeTexts(std::move(changes));
    return texts;
}

void TArchiveSession::startJob(TJob* job, const QString& statusText, const QString& file,
                               Failure failure, std::function<void(bool)> ended) {
    setJobRunning(true);
    connect(
        job, &TJob::started, this, [this, statusText] { emit jobStarted(statusText); },
        Qt::BlockingQueuedConnection);
    connect(
        job, &TJob::progress, this, [this](int percent) { emit jobProgress(percent); },
        Qt::BlockingQueuedConnection);
    connect(
        job, &TJob::failed, this,
        [this, failure, file](const QString& message, const QString& reason) {
            // Most reasons name the file already, such as "FILE is read-only".
            const QString detail =
                reason.startsWith(file) ? reason : file + QStringLiteral(": ") + reason;
            emit(this->*failure)(message, detail);
        },
        Qt::BlockingQueuedConnection);
    connect(
        job, &TJob::finished, this,
        [this, ended = std::move(ended)](bool succeeded) {
            setJobRunning(false);
            ended(succeeded);
            emit jobEnded();
        },
        Qt::BlockingQueuedConnection);
    job_ = job;
    job->StartDetached();
}

void TArchiveSession::openEnded(bool succeeded) {
    std::unique_ptr<TLGPFile> read = std::move(pending_);
    if (!succeeded || !acceptDamagedLevels(*read)) return;
    // Whatever shows the old archive lets go of it first, while it still exists.
    selectSubFile(-1);
    // Its steps name the old archive's windows.
    history_->clear();
    overflowMarks_->setArchive(nullptr);
    translationMarks_->dropOriginal();
    emit archiveAboutToBeReplaced();
    const std::unique_ptr<TLGPFile> old = std::move(archive_);
    archive_ = std::move(read);
    recountChanges();
    overflowMarks_->setArchive(archive_.get());
    emit opened();
    emit modifiedChanged(hasUnsavedChanges());
}

bool TArchiveSession::acceptDamagedLevels(const TLGPFile& read) {
    const QStringList levels = jobs::UnreadableLevels(read);
    if (levels.isEmpty() || askDamagedLevels("damaged_level", levels)) return true;
    emit openFailed(ui::InterfaceText("messages", "invalid_file"),
                    jobs::fromUtf8(read.FileName) + QStringLiteral(": ") + levels.join(u'\n'));
    return false;
}

bool TArchiveSession::askDamagedLevels(const char* key, const QStringList& levels) const {
    const QString name = QString::fromLatin1(key) + (levels.size() == 1 ? "" : "s");
    const QString question = ui::InterfaceText(QStringLiteral("messages"), name).arg(levels.size());
    return questions_.damagedLevels && questions_.damagedLevels(question, levels.join(u'\n'));
}

bool TArchiveSession::acceptDamagedOriginal(const TLGPFile& read) {
    const QStringList levels = jobs::UnreadableLevels(read);
    return levels.isEmpty() || askDamagedLevels("damaged_original_level", levels);
}

void TArchiveSession::saveEnded(bool succeeded) {
    if (!succeeded) return;
    const bool wasModified = hasUnsavedChanges();
    recountChanges();
    emit saved(fileName());
    if (wasModified != hasUnsavedChanges()) emit modifiedChanged(hasUnsavedChanges());
}

void TArchiveSession::recountChanges() {
    changed_.assign(archive_ ? archive_->SubFiles.size() : 0, 0);
    changedLevels_ = 0;
    for (std::size_t index = 0; index < changed_.size(); ++index) {
        const TLGPSubFile& subFile = *archive_->SubFiles[index];
        if (lgp::TextsChanged(subFile) || lgp::WindowsChanged(subFile)) {
            changed_[index] = 1;
            ++changedLevels_;
        }
    }
}

void TArchiveSession::updateChanged(int subFile) {
    const TLGPSubFile& level = *archive_->SubFiles[static_cast<std::size_t>(subFile)];
    const char now = lgp::TextsChanged(level) || lgp::WindowsChanged(level) ? 1 : 0;
    char& was = changed_[static_cast<std::size_t>(subFile)];
    if (now == was) return;
    const bool wasModified = hasUnsavedChanges();
    was = now;
    changedLevels_ += now != 0 ? 1 : -1;
    if (wasModified != hasUnsavedChanges()) emit modifiedChanged(hasUnsavedChanges());
}

void TArchiveSession::selectSubFile(int subFile) {
    if (!archive_ || subFile < -1 || subFile >= static_cast<int>(archive_->SubFiles.size())) {
        subFile = -1;
    }
    if (subFile == subFile_) return;
    subFile_ = subFile;
    // Nothing of the file before stays selected while the new one is told: its text and window
    // indices would name what the new file may not have.
    text_ = -1;
    window_ = -1;
    // Its texts are listed with their marks at once, whether or not the idle check has
    // reached it.
    overflowMarks_->checkLevel(subFile_);
    emit subFileSelected();
    const TLGPSubFile* level = currentLevel();
    text_ = -2;  // forces the text selection below to be told
    selectText(level != nullptr && !level->Texts.empty() ? 0 : -1);
}

void TArchiveSession::selectText(int text) {
    const TLGPSubFile* level = currentLevel();
    if (level == nullptr || text < 0 || static_cast<std::size_t>(text) >= level->Texts.size()) {
        text = -1;
    }
    if (text == text_) return;
    text_ = text;
    window_ = windowCount() > 0 ? 0 : -1;
    loadCurrentText();
    emit textSelected();
}

void TArchiveSession::loadCurrentText() {
    const TLGPSubFile* level = currentLevel();
    tagged_ = level != nullptr && text_ >= 0
                  ? text::DecodeText(level->Texts[static_cast<std::size_t>(text_)].Bytes)
                  : std::string();
}

void TArchiveSession::selectWindow(int window) {
    if (window < 0 || window >= windowCount()) window = -1;
    if (window == window_) return;
    window_ = window;
    emit windowSelected();
}

void TArchiveSession::storeCurrentText(std::string tagged, TEditStep::Typing typing) {
    TLGPSubFile* level = currentLevel();
    if (level == nullptr || text_ < 0 || isLevelReadOnly(subFile_)) return;
    std::vector<std::uint8_t>& stored = level->Texts[static_cast<std::size_t>(text_)].Bytes;
    std::vector<std::uint8_t> bytes = text::EncodeText(tagged, true);
    // The editor holds the text as typed, which the stored bytes may read otherwise.
    tagged_ = std::move(tagged);
    if (bytes == stored) {
        emit textEdited(subFile_, text_);
        return;
    }
    std::vector<TEditStep::TextChange> changes;
    changes.push_back({subFile_, text_, stored, bytes});
    stored = std::move(bytes);
    updateChanged(subFile_);
    overflowMarks_->textChanged(subFile_, text_);
    translationMarks_->textChanged(subFile_, text_);
    emit textEdited(subFile_, text_);
    history_->push(new TEditStep(*this, {subFile_, text_, window_}, std::move(changes),
                                 std::vector<TEditStep::WindowChange>{}, typing));
}

void TArchiveSession::storeCurrentBytes(std::vector<std::uint8_t> bytes) {
    const TLGPSubFile* level = currentLevel();
    if (level == nullptr || text_ < 0 || isLevelReadOnly(subFile_)) return;
    const std::vector<std::uint8_t>& stored = level->Texts[static_cast<std::size_t>(text_)].Bytes;
    if (bytes == stored) return;
    std::vector<TEditStep::TextChange> changes;
    changes.push_back({subFile_, text_, stored, std::move(bytes)});
    pushStep(std::make_unique<TEditStep>(*this, TEditStep::Place{subFile_, text_, window_},
                                         std::move(changes),
                                         std::vector<TEditStep::WindowChange>{}));
}

void TArchiveSession::placeCurrentWindow(const QRect& place) {
    TWindow* window = currentWindow();
    if (window == nullptr || isLevelReadOnly(subFile_) || jobRunning_) return;
    const QRect before(window->X, window->Y, window->Width, window->Height);
    if (before == place) return;
    std::vector<TEditStep::WindowChange> changes;
    changes.push_back({subFile_, window, before, place});
    pushStep(std::make_unique<TEditStep>(*this, TEditStep::Place{subFile_, text_, window_},
                                         std::vector<TEditStep::TextChange>{}, std::move(changes)));
}

void TArchiveSession::fitCurrentWindow() {
    const TWindow* window = currentWindow();
    if (window == nullptr) return;
    if (const std::optional<QRect> fitted = fitSelectedWindow(QPoint(window->X, window->Y))) {
        placeCurrentWindow(*fitted);
    }
}

void TArchiveSession::pushStep(std::unique_ptr<TEditStep> step) {
    applyStep(*step, true);
    history_->push(step.release());
}

void TArchiveSession::applyStep(const TEditStep& step, bool after) {
    const TEditStep::Place& place = step.place();
    if (place.subFile >= 0) {
        selectSubFile(place.subFile);
        selectText(place.text);
        if (place.window >= 0) selectWindow(place.window);
    }
    for (const TEditStep::TextChange& change : step.texts()) {
        setTextBytes(change.subFile, change.text, after ? change.after : change.before);
    }
    for (const TEditStep::WindowChange& change : step.windows()) {
        setWindowValues(change.subFile, *change.window, after ? change.after : change.before);
    }
}

void TArchiveSession::setTextBytes(int subFile, int text, const std::vector<std::uint8_t>& bytes) {
    archive_->SubFile(subFile).Texts.at(static_cast<std::size_t>(text)).Bytes = bytes;
    updateChanged(subFile);
    overflowMarks_->textChanged(subFile, text);
    translationMarks_->textChanged(subFile, text);
    if (subFile == subFile_ && text == text_) {
        loadCurrentText();
        emit textReloaded();
    }
    emit textEdited(subFile, text);
}

void TArchiveSession::setWindowValues(int subFile, TWindow& window, const QRect& values) {
    window.X = static_cast<std::int16_t>(values.x());
    window.Y = static_cast<std::int16_t>(values.y());
    window.Width = static_cast<std::uint16_t>(values.width());
    window.Height = static_cast<std::uint16_t>(values.height());
    updateChanged(subFile);
    overflowMarks_->windowChanged(subFile);
    emit windowEdited(subFile);
}

void TArchiveSession::storeTexts(std::vector<TEditStep::TextChange> changes) {
    if (!archive_ || changes.empty()) return;
    // The selection stays where the user is.
    pushStep(std::make_unique<TEditStep>(*this, TEditStep::Place{}, std::move(changes),
                                         std::vector<TEditStep::WindowChange>{}));
}

void TArchiveSession::refreshDescriptions() {
    if (!archive_) return;
    const lgp::LevelDescriptions& descriptions = lgp::RuntimeLevelDescriptions();
    for (const auto& subFile : archive_->SubFiles) {
        const int level = lgp::LevelIndex(subFile->Name);
        if (level >= 0) subFile->Description = descriptions.Get(level);
    }
    emit descriptionsChanged();
}
