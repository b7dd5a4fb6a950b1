#include "ui/file_list_model.h"

#include <QColor>
#include <QFont>

#include "jobs/qt_strings.h"
#include "lgp/level_tables.h"
#include "ui/archive_session.h"
#include "ui/interface_texts.h"
#include "ui/overflow_marks.h"
#include "ui/translation_marks.h"

namespace {

const QColor kDescriptionColor(62, 88, 133);
const QColor kDamagedColor(128, 128, 128);

bool IsNumberColumn(int column) {
    return column == TFileListModel::kTextsColumn || column == TFileListModel::kOverflowsColumn ||
           column == TFileListModel::kTranslatedColumn;
}

}  // namespace

TFileListModel::TFileListModel(TArchiveSession& session, QObject* parent)
    : QAbstractTableModel(parent), session_(session) {
    connect(&session_, &TArchiveSession::archiveAboutToBeReplaced, this,
            &TFileListModel::beginResetModel);
    connect(&session_, &TArchiveSession::opened, this, &TFileListModel::endResetModel);
    connect(&session_, &TArchiveSession::textEdited, this,
            [this](int subFile, int) { rowChanged(subFile); });
    connect(&session_, &TArchiveSession::windowEdited, this, &TFileListModel::rowChanged);
    connect(&session_, &TArchiveSession::saved, this, [this] {
        if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, kColumnCount - 1));
    });
    connect(&session_, &TArchiveSession::descriptionsChanged, this, [this] {
        if (rowCount() > 0) {
            emit dataChanged(index(0, kDescriptionColumn), index(rowCount() - 1, kDescriptionColumn));
        }
    });
    connect(&session_.overflowMarks(), &TOverflowMarks::marksChanged, this, [this](int subFile) {
        const int first = subFile >= 0 ? subFile : 0;
        const int last = subFile >= 0 ? subFile : rowCount() - 1;
        if (last >= first && last < rowCount()) {
            emit dataChanged(index(first, kOverflowsColumn), index(last, kOverflowsColumn));
        }
    });
    const TTranslationMarks& translation = session_.translationMarks();
    connect(&translation, &TTranslationMarks::marksChanged, this, [this](int subFile) {
        if (subFile >= 0 && subFile < rowCount()) {
            emit dataChanged(index(subFile, kTranslatedColumn), index(subFile, kTranslatedColumn));
        }
    });
    connect(&translation, &TTranslationMarks::originalChanged, this, [this] {
        if (rowCount() > 0) {
            emit dataChanged(index(0, kTranslatedColumn), index(rowCount() - 1, kTranslatedColumn));
        }
    });
}

int TFileListModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || session_.archive() == nullptr) return 0;
    return static_cast<int>(session_.archive()->SubFiles.size());
}

int TFileListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant TFileListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const TLGPSubFile& subFile = *session_.archive()->SubFiles[static_cast<std::size_t>(index.row())];
    const bool level = lgp::IsLevel(subFile);
    switch (role) {
        case Qt::DisplayRole:
            switch (index.column()) {
                case kIndexColumn: return QString::number(index.row() + 1);
                case kFileColumn: return jobs::fromWindows1252(subFile.Name);
                case kDescriptionColumn: return jobs::fromWindows1252(subFile.Description);
                case kTextsColumn:
                    return level ? QString::number(subFile.Texts.size()) : QStringLiteral("-");
                case kOverflowsColumn: {
                    const int overflowing = session_.overflowMarks().overflowingTexts(index.row());
                    if (overflowing >= 0) return QString::number(overflowing);
                    // A level that the marks have not checked yet.
                    return level ? QString() : QStringLiteral("-");
                }
                case kTranslatedColumn: {
                    const TTranslationMarks& marks = session_.translationMarks();
                    if (!level || !marks.hasOriginal()) return QStringLiteral("-");
                    const translation::Progress progress = marks.levelProgress(index.row());
                    return QStringLiteral("%1/%2").arg(progress.translated).arg(progress.texts);
                }
                default: return {};
            }
        case Qt::ForegroundRole:
            if (!subFile.Damage.empty()) return kDamagedColor;
            if (index.column() == kOverflowsColumn &&
                session_.overflowMarks().overflowingTexts(index.row()) > 0) {
                return QColor(Qt::red);
            }
            if (index.column() == kTranslatedColumn &&
                session_.translationMarks().textsWithErrors(index.row()) > 0) {
                return QColor(Qt::red);
            }
            return index.column() == kDescriptionColumn ? kDescriptionColor : QColor(Qt::black);
        case Qt::ToolTipRole:
            if (!subFile.Damage.empty()) return jobs::fromUtf8(subFile.Damage);
            if (index.column() == kTranslatedColumn &&
                session_.translationMarks().textsWithErrors(index.row()) > 0) {
                return ui::InterfaceText("main", "texts_with_errors")
                    .arg(session_.translationMarks().textsWithErrors(index.row()));
            }
            return {};
        case Qt::TextAlignmentRole:
            return IsNumberColumn(index.column()) ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                                  : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
        case Qt::FontRole:
            if (session_.isLevelChanged(index.row())) {
                QFont bold;
                bold.setBold(true);
                return bold;
            }
            return {};
        case kIsLevelRole: return level;
        case kSortRole: {
            // The share translated, texts without an original last.
            if (index.column() != kTranslatedColumn) return {};
            const translation::Progress progress =
                session_.translationMarks().levelProgress(index.row());
            if (!level || !session_.translationMarks().hasOriginal() || progress.texts == 0) {
                return -1.0;
            }
            return static_cast<double>(progress.translated) / static_cast<double>(progress.texts);
        }
        default: return {};
    }
}

QVariant TFileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) return {};
    if (role == Qt::TextAlignmentRole && IsNumberColumn(section)) {
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole) return {};
    switch (section) {
        case kIndexColumn: return QStringLiteral("#");
        case kFileColumn:
            return ui::InterfaceText("main", "file");
        case kDescriptionColumn:
            return ui::InterfaceText("main", "description");
        case kTextsColumn:
            return ui::InterfaceText("main", "texts");
        case kOverflowsColumn:
            return ui::InterfaceText("main", "overflows");
        case kTranslatedColumn:
            return ui::InterfaceText("main", "translated");
        default: return {};
    }
}

void TFileListModel::retranslate() { emit headerDataChanged(Qt::Horizontal, 0, kColumnCount - 1); }

void TFileListModel::rowChanged(int row) {
    if (row >= 0 && row < rowCount()) emit dataChanged(index(row, 0), index(row, kColumnCount - 1));
}
