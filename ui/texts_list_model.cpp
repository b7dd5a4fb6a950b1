#include "ui/texts_list_model.h"

#include <QStringList>

#include "lgp/lgp_sub_file.h"
#include "ui/archive_session.h"
#include "ui/interface_texts.h"
#include "ui/overflow_marks.h"
#include "ui/translation_marks.h"

TTextsListModel::TTextsListModel(TArchiveSession& session, QObject* parent)
    : QAbstractListModel(parent), session_(session) {
    const auto reset = [this] {
        beginResetModel();
        endResetModel();
    };
    connect(&session_, &TArchiveSession::subFileSelected, this, reset);
    connect(&session_, &TArchiveSession::textEdited, this, [this](int subFile, int text) {
        if (subFile == session_.currentSubFileIndex()) emit dataChanged(index(text), index(text));
    });
    // A window may show several texts: every row may have changed.
    connect(&session_, &TArchiveSession::windowEdited, this, &TTextsListModel::allRowsChanged);
    connect(&session_, &TArchiveSession::saved, this, &TTextsListModel::allRowsChanged);
    connect(&session_.overflowMarks(), &TOverflowMarks::marksChanged, this,
            [this](int subFile, int text) {
                if (subFile >= 0 && subFile != session_.currentSubFileIndex()) return;
                if (text >= 0) {
                    emit dataChanged(index(text), index(text));
                } else {
                    allRowsChanged();
                }
            });
    connect(&session_, &TArchiveSession::compared, this, &TTextsListModel::allRowsChanged);
    connect(&session_.translationMarks(), &TTranslationMarks::marksChanged, this,
            [this](int subFile, int text) {
                if (subFile == session_.currentSubFileIndex()) {
                    emit dataChanged(index(text), index(text));
                }
            });
    connect(&session_.translationMarks(), &TTranslationMarks::originalChanged, this,
            &TTextsListModel::allRowsChanged);
}

int TTextsListModel::rowCount(const QModelIndex& parent) const {
    const TLGPSubFile* level = session_.currentLevel();
    if (parent.isValid() || level == nullptr) return 0;
    return static_cast<int>(level->Texts.size());
}

QVariant TTextsListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const TLGPSubFile& level = *session_.currentLevel();
    const auto text = static_cast<std::size_t>(index.row());
    switch (role) {
        case Qt::DisplayRole:
            return ui::InterfaceText("main", "text") + QStringLiteral(" ") +
                   QString::number(index.row() + 1);
        case kWindowCountRole: return static_cast<int>(level.Texts[text].Windows.size());
        case kCompareMarkRole: return text < level.CompareMarks.size() && level.CompareMarks[text] != 0;
        case kChangedRole: return session_.isTextChanged(session_.currentSubFileIndex(), index.row());
        case kOverflowRole:
            return session_.overflowMarks().isOverflowing(session_.currentSubFileIndex(),
                                                          index.row());
        case kUntranslatedRole:
            return session_.translationMarks().isUntranslated(session_.currentSubFileIndex(),
                                                              index.row());
        case kFindingsRole: {
            const TTranslationMarks& marks = session_.translationMarks();
            const int subFile = session_.currentSubFileIndex();
            if (marks.hasErrors(subFile, index.row())) return kErrorFound;
            return marks.hasFindings(subFile, index.row()) ? kWarningFound : kNoFinding;
        }
        case Qt::ToolTipRole: {
            const int subFile = session_.currentSubFileIndex();
            QStringList hints;
            for (const QString& hint : {session_.overflowMarks().hints(subFile, index.row()),
                                        session_.translationMarks().hints(subFile, index.row())}) {
                if (!hint.isEmpty()) hints << hint;
            }
            return hints.join(u'\n');
        }
        default: return {};
    }
}

void TTextsListModel::retranslate() { allRowsChanged(); }

void TTextsListModel::allRowsChanged() {
    if (rowCount() > 0) emit dataChanged(index(0), index(rowCount() - 1));
}
