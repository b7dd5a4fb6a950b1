#include "ui/compare_result_form.h"

#include <algorithm>
#include <cstdint>

#include <QEvent>
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
    return ui::InterfaceText(QStringLiteral("compare"), QString::fromLatin1(key));
}

struct Row {
    const char* word;
    std::int32_t lgp::ArchiveCounts::*count;
    std::int32_t lgp::ArchiveComparison::*differences;
};

constexpr Row kRows[] = {
    {"texts", &lgp::ArchiveCounts::texts, &lgp::ArchiveComparison::differentTexts},
    {"windowed_texts", &lgp::ArchiveCounts::windowedTexts,
     &lgp::ArchiveComparison::differentWindowedTexts},
    {"windows", &lgp::ArchiveCounts::windows, &lgp::ArchiveComparison::differentWindows},
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
    setObjectName(QStringLiteral("compareResultForm"));
    setFixedSize(kClientWidth, kClientHeight);

    currentFileLabel_ = new QLabel(this);
    currentFileLabel_->setObjectName(QStringLiteral("currentFileLabel"));
    originalFileLabel_ = new QLabel(this);
    originalFileLabel_->setObjectName(QStringLiteral("originalFileLabel"));
    resultView_ = new QTreeWidget(this);
    resultView_->setObjectName(QStringLiteral("resultView"));
    resultView_->setColumnCount(4);
    resultView_->setRootIsDecorated(false);
    resultView_->setSelectionMode(QAbstractItemView::NoSelection);
    resultView_->setFocusPolicy(Qt::NoFocus);
    resultView_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    resultView_->header()->setStretchLastSection(true);
    resultView_->header()->setSectionsMovable(false);
    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("okButton"));
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(currentFileLabel_);
    layout->addWidget(originalFileLabel_);
    layout->addWidget(resultView_);
    layout->addWidget(okButton_, 0, Qt::AlignCenter);
    retranslate();
}

void TCompareResultForm::fill(const TFilesComparison& comparison) {
    shown_ = comparison;
    const auto label = [](QLabel* target, const QString& text) {
        // A long path keeps its start and its file name.
        target->setToolTip(text);
        target->setText(target->fontMetrics().elidedText(text, Qt::ElideMiddle, kClientWidth - 24));
    };
    label(currentFileLabel_, Text("current_file") + QStringLiteral(" : ") + comparison.currentFile);
    label(originalFileLabel_,
          Text("original_file") + QStringLiteral(" : ") + comparison.referenceFile);

    resultView_->clear();
    const lgp::ArchiveComparison& counts = comparison.counts;
    for (const Row& row : kRows) {
        const QString word = QStringLiteral(" ") + Text(row.word);
        const std::int32_t current = counts.current.*row.count;
        const std::int32_t differences = counts.*row.differences;
        auto* item = new QTreeWidgetItem(resultView_);
        item->setText(0, Count(counts.reference.*row.count) + word);
        item->setText(1, Count(current) + word);
        item->setText(2, differences < 0 ? QStringLiteral("-") : Count(differences));
        item->setText(3, Percentage(differences, current));
    }
    // Wider than the dialog, the columns would hide the last behind a scroll bar: the dialog
    // grows to show them all.
    QHeaderView& header = *resultView_->header();
    header.setStretchLastSection(false);
    for (int column = 0; column < resultView_->columnCount(); ++column) {
        resultView_->resizeColumnToContents(column);
    }
    const int columns = header.length() + 2 * resultView_->frameWidth();
    header.setStretchLastSection(true);
    const QMargins margins = layout()->contentsMargins();
    setFixedWidth(std::max(kClientWidth, columns + margins.left() + margins.right()));
}

void TCompareResultForm::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) retranslate();
    QDialog::changeEvent(event);
}

void TCompareResultForm::retranslate() {
    setWindowTitle(Text("files_comparison"));
    resultView_->setHeaderLabels(
        {Text("original_file"), Text("current_file"), Text("differences"), Text("percentage")});
    if (shown_) fill(*shown_);
}
