#include "ui/tag_button_face.h"

#include <algorithm>

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPixmap>
#include <QStringList>

#include "preview/glyph_sets.h"
#include "text/tags.h"

namespace ui {

namespace {

constexpr int kFaceSize = 16;
const QColor kOutline(40, 40, 64);
const QColor kNameBackground(226, 232, 246);

// The body colours the game draws text in, in the order of text::ColourTags.
QColor TextColor(std::size_t index) { return QColor(preview::GlyphSets::kBodyColors.at(index)); }
constexpr std::size_t kGrey = 0;
constexpr std::size_t kWhite = 7;

QPixmap EmptyFace() {
    QPixmap face(kFaceSize, kFaceSize);
    face.fill(Qt::transparent);
    return face;
}

QRect Inner() { return {1, 1, kFaceSize - 3, kFaceSize - 3}; }

QPixmap Swatch(const QColor& color) {
    QPixmap face = EmptyFace();
    QPainter painter(&face);
    painter.setPen(kOutline);
    painter.setBrush(color);
    painter.drawRect(Inner());
    return face;
}

// Blinking text shows the lower half of each character grey.
QPixmap BlinkFace() {
    QPixmap face = Swatch(TextColor(kWhite));
    QPainter painter(&face);
    const QRect inner = Inner();
    painter.fillRect(inner.left() + 1, inner.center().y(), inner.width() - 1,
                     inner.bottom() - inner.center().y(), TextColor(kGrey));
    return face;
}

// Multicoloured text cycles white, yellow, cyan, green, purple, red, blue and grey.
QPixmap MulticolorFace() {
    QPixmap face = Swatch(TextColor(kWhite));
    QPainter painter(&face);
    const QRect inner = Inner().adjusted(1, 1, 0, 0);
    const int stripes = static_cast<int>(preview::GlyphSets::kBodyColors.size());
    for (int stripe = 0; stripe < stripes; ++stripe) {
        const int left = inner.left() + stripe * inner.width() / stripes;
        const int right = inner.left() + (stripe + 1) * inner.width() / stripes;
        painter.fillRect(left, inner.top(), right - left, inner.height(),
                         TextColor(static_cast<std::size_t>(stripes - 1 - stripe)));
    }
    return face;
}

QPixmap Initials(const QString& initials) {
    QPixmap face = EmptyFace();
    QPainter painter(&face);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(kOutline);
    painter.setBrush(kNameBackground);
    painter.drawRoundedRect(QRectF(0.5, 0.5, kFaceSize - 1, kFaceSize - 1), 3, 3);
    QFont font = painter.font();
    font.setPixelSize(initials.size() > 1 ? 8 : 10);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(0, 0, kFaceSize, kFaceSize), Qt::AlignCenter, initials);
    return face;
}

// "{CLOUD}" reads "Cl", "{RED XIII}" "RX", "{MEMBER 2}" "M2".
QString InitialsOf(const QString& tag) {
    const QStringList words = tag.mid(1, tag.size() - 2).split(u' ');
    if (words.size() == 1) return words[0].left(1) + words[0].mid(1, 1).toLower();
    return words[0].left(1) + words[1].left(1);
}

bool IsNameTag(const QString& tag) {
    const auto same = [&tag](std::string_view name) {
        return tag == QLatin1String(name.data(), static_cast<qsizetype>(name.size()));
    };
    return std::ranges::any_of(text::NameTags, same) || std::ranges::any_of(text::MemberTags, same);
}

}  // namespace

QIcon TagButtonFace(const QString& tag) {
    for (std::size_t color = 0; color < text::ColourTags.size(); ++color) {
        const std::string_view name = text::ColourTags[color];
        if (tag == QLatin1String(name.data(), static_cast<qsizetype>(name.size()))) {
            return QIcon(Swatch(TextColor(color)));
        }
    }
    if (tag == QLatin1String("{BLINK}")) return QIcon(BlinkFace());
    if (tag == QLatin1String("{MULTICOLOUR}")) return QIcon(MulticolorFace());
    if (IsNameTag(tag)) return QIcon(Initials(InitialsOf(tag)));
    return {};
}

}  // namespace ui
