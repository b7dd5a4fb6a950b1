#include "ui/archive_session.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <utility>

#include <QCoreApplication>

#include "jobs/compare_job.h"
#include "jobs/export_mod_job.h"
#include "jobs/open_job.h"
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

namespace {

std::filesystem::path ToLocalPath(const QString& path) {
    return platform::PathFromUtf8(jobs::toUtf8(path));
}

}  // namespace

TArchiveSession::TArchiveSession(QObject* parent)
    : QObject(parent), overflowMarks_(new TOverflowMarks(this)) {}

TArchiveSession::~TArchiveSession() {
    if (!job_) return;
    // The job reports with blocking calls that this thread would never serve again: cut them
    // off, and drop those already posted, which lets the job go on (a question dropped so is
    // answered No).
    job_->disconnect(this);
    QCoreApplication::removePostedEvents(this);
    job_->WaitForEnd();
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
    const WindowPlace place =
        FitWindow(*level, *window, overflowMarks_->names(), position.x(), position.y());
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
    job->SetDamagedLevels(DamagedLevels::Keep);
    job->SetFailureText(InterfaceText("messages", "invalid_file"));
    startJob(job, InterfaceText("messages", "file_opening") + QStringLiteral("..."), target,
             &TArchiveSession::openFailed, [this](bool succeeded) { openEnded(succeeded); });
}

void TArchiveSession::save(const QString& target, bool adoptTarget) {
    if (!archive_ || jobRunning_) return;
    auto* job = new TSaveThread(*archive_, target, adoptTarget);
    job->SetFailureText(InterfaceText("messages", "file_saving_failure"));
    // Blocking: the job waits, holding the file's lock, for the answer.
    connect(
        job, &TSaveThread::changedOnDisk, this,
        [this, target](bool* saveOver) {
            const QString question = InterfaceText("messages", "file_changed_on_disk").arg(target);
            *saveOver = questions_.saveOverChange && questions_.saveOverChange(question);
        },
        Qt::BlockingQueuedConnection);
    connect(job, &TJob::cancelled, this, &TArchiveSession::saveCancelled, Qt::BlockingQueuedConnection);
    startJob(job, InterfaceText("messages", "file_saving") + QStringLiteral("..."), target,
             &TArchiveSession::saveFailed, [this](bool succeeded) { saveEnded(succeeded); });
}

void TArchiveSession::exportModFolder(const QString& originalPath, const QString& folder,
                                      ModLayout layout) {
    if (!archive_ || jobRunning_) return;
    auto* job = new TExportModThread(*archive_, originalPath, folder, layout);
    job->SetFailureText(InterfaceText("messages", "mod_folder_failure"));
    auto written = std::make_shared<QStringList>();
    connect(
        job, &TExportModThread::exported, this,
        [written](const QStringList& levels) { *written = levels; }, Qt::BlockingQueuedConnection);
    // Told once the job has ended, so that what follows finds the window usable.
    startJob(job, InterfaceText("messages", "mod_folder_exporting") + QStringLiteral("..."),
             folder, &TArchiveSession::exportFailed, [this, folder, written](bool succeeded) {
                 if (succeeded) emit modFolderExported(folder, *written);
             });
}

void TArchiveSession::compare(const QString& referencePath) {
    if (!archive_ || jobRunning_) return;
    auto* job = new TCompareTextsThread(*archive_, referencePath);
    job->SetFailureText(InterfaceText("messages", "invalid_file"));
    // Blocking: the job waits for the answer.
    connect(
        job, &TCompareTextsThread::damagedReference, this,
        [this](const QStringList& levels, bool* compare) {
            *compare = askDamagedLevels("damaged_reference_level", levels);
        },
        Qt::BlockingQueuedConnection);
    startJob(job, InterfaceText("messages", "files_comparing") + QStringLiteral("..."),
             referencePath, &TArchiveSession::compareFailed, [this](bool succeeded) {
                 if (succeeded) emit compared();
             });
}

bool TArchiveSession::replaceAll(std::string search, std::string replacement, bool matchCase) {
    // The job of an earlier run lives on until its thread has been cleaned up.
    if (!archive_ || jobRunning_ || TReplaceAllThread::Running()) return false;
    jobRunning_ = true;
    replacedTexts_ = -1;
    auto* job =
        new TReplaceAllThread(*archive_, std::move(search), std::move(replacement), matchCase);
    job->SetFailureText(InterfaceText("messages", "replacement_refused"));
    constexpr auto blocking = Qt::BlockingQueuedConnection;
    connect(job, &TJob::progress, this, &TArchiveSession::jobProgress, blocking);
    connect(job, &TReplaceAllThread::textReplaced, this, &TArchiveSession::textReplaced, blocking);
    connect(
        job, &TReplaceAllThread::replaced, this, [this](int count) { replacedTexts_ = count; },
        blocking);
    connect(job, &TJob::failed, this, &TArchiveSession::replaceFailed, blocking);
    connect(
        job, &TJob::finished, this,
        [this] {
            jobRunning_ = false;
            emit replaceEnded(replacedTexts_);
        },
        blocking);
    job_ = job;
    job->StartDetached();
    return true;
}

void TArchiveSession::startJob(TJob* job, const QString& statusText, const QString& file,
                               Failure failure, std::function<void(bool)> ended) {
    jobRunning_ = true;
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
            jobRunning_ = false;
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
    overflowMarks_->setArchive(nullptr);
    emit archiveAboutToBeReplaced();
    const std::unique_ptr<TLGPFile> old = std::move(archive_);
    archive_ = std::move(read);
    recountChanges();
    overflowMarks_->setArchive(archive_.get());
    emit opened();
    emit modifiedChanged(hasUnsavedChanges());
}

bool TArchiveSession::acceptDamagedLevels(const TLGPFile& read) {
    const QStringList levels = UnreadableLevels(read);
    if (levels.isEmpty() || askDamagedLevels("damaged_level", levels)) return true;
    emit openFailed(InterfaceText("messages", "invalid_file"),
                    jobs::fromUtf8(read.FileName) + QStringLiteral(": ") + levels.join(u'\n'));
    return false;
}

bool TArchiveSession::askDamagedLevels(const char* key, const QStringList& levels) const {
    const QString name = QString::fromLatin1(key) + (levels.size() == 1 ? "" : "s");
    const QString question = InterfaceText(QStringLiteral("messages"), name).arg(levels.size());
    return questions_.damagedLevels && questions_.damagedLevels(question, levels.join(u'\n'));
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
        if (TextsChanged(subFile) || WindowsChanged(subFile)) {
            changed_[index] = 1;
            ++changedLevels_;
        }
    }
}

void TArchiveSession::updateChanged(int subFile) {
    const TLGPSubFile& level = *archive_->SubFiles[static_cast<std::size_t>(subFile)];
    const char now = TextsChanged(level) || WindowsChanged(level) ? 1 : 0;
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

void TArchiveSession::textReplaced(int subFile, int text) {
    updateChanged(subFile);
    overflowMarks_->textChanged(subFile, text);
    if (subFile == subFile_ && text == text_) {
        loadCurrentText();
        emit textReloaded();
    }
    emit textEdited(subFile, text);
}

void TArchiveSession::selectWindow(int window) {
    if (window < 0 || window >= windowCount()) window = -1;
    if (window == window_) return;
    window_ = window;
    emit windowSelected();
}

void TArchiveSession::storeCurrentText(std::string tagged) {
    TLGPSubFile* level = currentLevel();
    if (level == nullptr || text_ < 0 || isLevelReadOnly(subFile_)) return;
    level->Texts[static_cast<std::size_t>(text_)].Bytes = text::EncodeText(tagged, true);
    tagged_ = std::move(tagged);
    updateChanged(subFile_);
    overflowMarks_->textChanged(subFile_, text_);
    emit textEdited(subFile_, text_);
}

void TArchiveSession::currentWindowEdited() {
    if (currentWindow() == nullptr || isLevelReadOnly(subFile_)) return;
    updateChanged(subFile_);
    overflowMarks_->windowChanged(subFile_);
    emit windowEdited(subFile_);
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
