#include "ui/compare_result_form.h"

#include <cstdint>

#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ui/interface_texts.h"

namespace {

constexpr int kClientWidth = 520;
constexpr int kClientHeight = 180;

QString Text(const char* key) {
    return InterfaceText(QStringLiteral("compare"), QString::fromLatin1(key));
}

struct Row {
    const char* word;
    std::int32_t ArchiveCounts::*count;
    std::int32_t ArchiveComparison::*differences;
};

constexpr Row kRows[] = {
    {"texts", &ArchiveCounts::texts, &ArchiveComparison::differentTexts},
    {"windowed_texts", &ArchiveCounts::windowedTexts, &ArchiveComparison::differentWindowedTexts},
    {"windows", &ArchiveCounts::windows, &ArchiveComparison::differentWindows},
};

// The count with the user's thousands separator and no decimals.
QString Count(std::int32_t count) { return QLocale().toString(count); }

// The differences' share of the current count, with two decimals; "-" where there is none: a
// comparison that could not be made, or a row without any current item.
QString Percentage(std::int32_t differences, std::int32_t current) {
    if (differences < 0 || current == 0) return QStringLiteral("-");
    return QLocale().toString(100.0 * differences / current, 'f', 2) + QStringLiteral(" %");
}

}  // namespace

TCompareResultForm::TCompareResultForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("CompareResultForm"));
    setFixedSize(kClientWidth, kClientHeight);

    labelCurrentFile_ = new QLabel(this);
    labelCurrentFile_->setObjectName(QStringLiteral("LabelCurrentFile"));
    labelOriginalFile_ = new QLabel(this);
    labelOriginalFile_->setObjectName(QStringLiteral("LabelOriginalFile"));
    listViewResult_ = new QTreeWidget(this);
    listViewResult_->setObjectName(QStringLiteral("ListViewResult"));
    listViewResult_->setColumnCount(4);
    listViewResult_->setRootIsDecorated(false);
    listViewResult_->setSelectionMode(QAbstractItemView::NoSelection);
    listViewResult_->setFocusPolicy(Qt::NoFocus);
    listViewResult_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    listViewResult_->header()->setStretchLastSection(true);
    listViewResult_->header()->setSectionsMovable(false);
    buttonOK_ = new QPushButton(QStringLiteral("OK"), this);
    buttonOK_->setObjectName(QStringLiteral("ButtonOK"));
    buttonOK_->setDefault(true);
    connect(buttonOK_, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(labelCurrentFile_);
    layout->addWidget(labelOriginalFile_);
    layout->addWidget(listViewResult_);
    layout->addWidget(buttonOK_, 0, Qt::AlignCenter);
    retranslate();
}

void TCompareResultForm::Fill(const TFilesComparison& comparison) {
    shown_ = comparison;
    const auto label = [](QLabel* target, const QString& text) {
        // A long path keeps its start and its file name.
        target->setToolTip(text);
        target->setText(target->fontMetrics().elidedText(text, Qt::ElideMiddle, kClientWidth - 24));
    };
    label(labelCurrentFile_, Text("current_file") + QStringLiteral(" : ") + comparison.currentFile);
    label(labelOriginalFile_,
          Text("original_file") + QStringLiteral(" : ") + comparison.referenceFile);

    listViewResult_->clear();
    const ArchiveComparison& counts = comparison.counts;
    for (const Row& row : kRows) {
        const QString word = QStringLiteral(" ") + Text(row.word);
        const std::int32_t current = counts.current.*row.count;
        const std::int32_t differences = counts.*row.differences;
        auto* item = new QTreeWidgetItem(listViewResult_);
        item->setText(0, Count(counts.reference.*row.count) + word);
        item->setText(1, Count(current) + word);
        item->setText(2, differences < 0 ? QStringLiteral("-") : Count(differences));
        item->setText(3, Percentage(differences, current));
    }
}

void TCompareResultForm::retranslate() {
    setWindowTitle(Text("files_comparison"));
    listViewResult_->setHeaderLabels(
        {Text("original_file"), Text("current_file"), Text("differences"), Text("percentage")});
    if (shown_) Fill(*shown_);
}
