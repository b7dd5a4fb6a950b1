#include "ui/recent_archives.h"

#include <algorithm>
#include <utility>

#include <QFileInfo>

#include "jobs/qt_strings.h"
#include "ui/archive_session.h"
#include "ui/main_menu.h"

namespace {

// The same file, whichever way its path is written.
bool SameFile(const QString& left, const QString& right) {
    return left == right || QFileInfo(left) == QFileInfo(right);
}

}  // namespace

TRecentArchives::TRecentArchives(TArchiveSession& session, TMainMenu& menu, QObject* parent)
    : QObject(parent), session_(session), menu_(menu) {
    connect(&session_, &TArchiveSession::archiveAboutToBeReplaced, this,
            [this] { following_ = false; });
    connect(&session_, &TArchiveSession::opened, this, &TRecentArchives::onOpened);
    // Save as goes on with the written file: it becomes the archive at this place.
    connect(&session_, &TArchiveSession::saved, this, [this] {
        putFirst();
        keepPlace();
    });
    connect(&session_, &TArchiveSession::textSelected, this, &TRecentArchives::keepPlace);
    connect(&session_, &TArchiveSession::subFileSelected, this, &TRecentArchives::keepPlace);
    updateMenu();
}

void TRecentArchives::setEntries(std::vector<TRecentArchive> entries) {
    entries_ = std::move(entries);
    if (entries_.size() > TEditorSettings::kMostRecentArchives) {
        entries_.resize(TEditorSettings::kMostRecentArchives);
    }
    updateMenu();
}

void TRecentArchives::onOpened() {
    putFirst();
    const TRecentArchive place = entries_.front();
    const TLGPFile& archive = *session_.archive();
    for (std::size_t index = 0; index < archive.SubFiles.size() && !place.level.isEmpty(); ++index) {
        if (jobs::fromWindows1252(archive.SubFiles[index]->Name) != place.level) continue;
        session_.selectSubFile(static_cast<int>(index));
        session_.selectText(place.text - 1);
        break;
    }
    following_ = true;
    keepPlace();
}

void TRecentArchives::putFirst() {
    const QString path = session_.fileName();
    if (path.isEmpty()) return;
    const auto known = std::ranges::find_if(
        entries_, [&path](const TRecentArchive& entry) { return SameFile(entry.path, path); });
    TRecentArchive entry{path, {}, 0};
    if (known != entries_.end()) {
        entry.level = known->level;
        entry.text = known->text;
        entries_.erase(known);
    }
    entries_.insert(entries_.begin(), std::move(entry));
    if (entries_.size() > TEditorSettings::kMostRecentArchives) {
        entries_.resize(TEditorSettings::kMostRecentArchives);
    }
    updateMenu();
}

void TRecentArchives::keepPlace() {
    if (!following_ || entries_.empty() || !SameFile(entries_.front().path, session_.fileName())) {
        return;
    }
    // No file is selected only while an archive is replaced: that is no place of the user's.
    const TLGPSubFile* subFile = session_.currentSubFile();
    if (subFile == nullptr) return;
    entries_.front().level = jobs::fromWindows1252(subFile->Name);
    entries_.front().text = session_.currentText() + 1;
}

void TRecentArchives::updateMenu() {
    QStringList paths;
    for (const TRecentArchive& entry : entries_) paths << entry.path;
    menu_.setRecentArchives(paths);
}
