#include "ui/file_list_item.h"

#include <optional>

#include <QCollator>
#include <QColor>
#include <QTreeWidget>

#include "lgp/level_tables.h"
#include "lgp/lgp_sub_file.h"
#include "text/windows1252.h"

namespace {

enum Column { kIndexColumn, kFileColumn, kDescriptionColumn, kTextsColumn };

const QColor kDescriptionColor(62, 88, 133);

QString FromWindows1252(const std::string& text) {
    return QString::fromStdString(text::Windows1252ToUtf8(text));
}

std::optional<double> NumericValue(const QString& value) {
    if (value == QStringLiteral("-")) return -1.0;
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok) return std::nullopt;
    return number;
}

}  // namespace

TFileListItem::TFileListItem(int tableIndex, TLGPSubFile& subFile) : subFile_(subFile) {
    setText(kIndexColumn, QString::number(tableIndex + 1));
    setText(kFileColumn, FromWindows1252(subFile.Name));
    setText(kTextsColumn,
            lgp::IsLevel(subFile) ? QString::number(subFile.Texts.size()) : QStringLiteral("-"));
    setTextAlignment(kTextsColumn, Qt::AlignRight | Qt::AlignVCenter);
    for (const int column : {kIndexColumn, kFileColumn, kTextsColumn}) {
        setForeground(column, QColor(Qt::black));
    }
    setForeground(kDescriptionColumn, kDescriptionColor);
    UpdateDescription();
}

void TFileListItem::UpdateDescription() {
    setText(kDescriptionColumn, FromWindows1252(subFile_.Description));
}

bool TFileListItem::operator<(const QTreeWidgetItem& other) const {
    const QTreeWidget* list = treeWidget();
    const int column = list != nullptr ? list->sortColumn() : kIndexColumn;
    return CompareValues(text(column), other.text(column)) < 0;
}

int TFileListItem::CompareValues(const QString& left, const QString& right) {
    const std::optional<double> leftNumber = NumericValue(left);
    const std::optional<double> rightNumber = NumericValue(right);
    if (leftNumber && rightNumber) {
        return *leftNumber < *rightNumber ? -1 : (*leftNumber > *rightNumber ? 1 : 0);
    }
    // Sorting compares often; a collator is costly to set up.
    static const QCollator collator = [] {
        QCollator caseless;
        caseless.setCaseSensitivity(Qt::CaseInsensitive);
        return caseless;
    }();
    const int order = collator.compare(left, right);
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}
