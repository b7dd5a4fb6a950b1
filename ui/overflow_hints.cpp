#include "ui/overflow_hints.h"

#include <QStringList>

#include "ui/interface_texts.h"

namespace ui {

QString OverflowHint(const text::Overflow& overflow) {
    if (overflow.kind == text::OverflowKind::Width) {
        return InterfaceText("main", "overflow_width")
            .arg(overflow.line)
            .arg(overflow.needed)
            .arg(overflow.actual);
    }
    return InterfaceText("main", "overflow_height")
        .arg(overflow.page + 1)
        .arg(overflow.lines)
        .arg(text::LinesInWindow(overflow.actual));
}

QString OverflowHints(const std::vector<overflow::WindowOverflow>& overflows) {
    QStringList hints;
    for (const overflow::WindowOverflow& found : overflows) hints << OverflowHint(found.overflow);
    return hints.join('\n');
}

QString PageCaption(int page, int pages) {
    return InterfaceText("main", "page_of").arg(page + 1).arg(pages);
}

}  // namespace ui
