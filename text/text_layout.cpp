#include "text/text_layout.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstddef>
#include <optional>

#include "text/tags.h"
#include "text/text_encoder.h"

namespace text {
namespace {

// The editor writes the game's low quotation mark as 0x82; the game draws it as a comma.
constexpr char kLowQuotationMark = '\x82';
// The tags that change what is drawn besides the colour tags.
constexpr std::string_view kBlinkTag = "{BLINK}";
constexpr std::string_view kMulticolorTag = "{MULTICOLOUR}";
constexpr std::string_view kChoiceTag = "{CHOICE}";
constexpr std::string_view kSpacedTag = "{SPACED CHARACTERS}";
// The pen never goes further right, so that no text, however long, overflows the arithmetic.
constexpr int kFarthestPen = 1 << 24;

// The name tags, {CLOUD} to {MEMBER 3}: game codes 0xEA to 0xF5.
constexpr std::uint8_t kFirstNameCode = 0xEA;
constexpr std::size_t kNameTags = 12;
constexpr std::size_t kNamedCharacters = 9;
constexpr std::size_t kLongestName = 9;
constexpr std::array<std::string_view, kNamedCharacters> kDefaultNames = {
    "Cloud", "Barret", "Tifa", "Aeris", "Red XIII", "Yuffie", "Cait Sith", "Vincent", "Cid",
};
// The codes a name can be typed with: the characters, not the tags and controls above them.
constexpr std::size_t kCharacterCodes = 0xE0;

struct Name {
    std::array<std::uint8_t, kLongestName> codes{};
    std::size_t size = 0;
};

using Names = std::array<Name, kNameTags>;

int NameWidth(const Name& name, const GlyphAdvances& advances) {
    int width = 0;
    for (std::size_t i = 0; i < name.size; ++i) width += advances[name.codes[i]];
    return width;
}

Names NamesFor(CharacterNames choice, const GlyphAdvances& advances) {
    Names names;
    if (choice == CharacterNames::Widest) {
        const auto widest = std::max_element(advances.begin(), advances.begin() + kCharacterCodes);
        Name name;
        name.codes.fill(static_cast<std::uint8_t>(widest - advances.begin()));
        name.size = kLongestName;
        names.fill(name);
        return names;
    }
    for (std::size_t n = 0; n < kNamedCharacters; ++n) {
        for (const char c : kDefaultNames[n]) {
            names[n].codes[names[n].size++] = CharacterCode(std::string_view(&c, 1));
        }
    }
    // A party member can be any of the characters: the widest name is the one to fit.
    const Name widest = *std::max_element(
        names.begin(), names.begin() + kNamedCharacters, [&](const Name& a, const Name& b) {
            return NameWidth(a, advances) < NameWidth(b, advances);
        });
    std::fill(names.begin() + kNamedCharacters, names.end(), widest);
    return names;
}

bool StartsWith(std::string_view text, std::size_t at, std::string_view prefix) {
    return text.compare(at, prefix.size(), prefix) == 0;
}

struct WalkOptions {
    // Glyphs wrap at width - kRightMargin; no wrapping when 0.
    int wrapWidth = 0;
    // The walk stops at the first line that starts at or below this.
    int bottom = INT_MAX;
    bool pages = false;
    CharacterNames names = CharacterNames::Tags;
    int stampPage = 0;
};

// One walk through a tagged text with the state of the colour and effect tags.
class Walk {
public:
    Walk(const GlyphAdvances& advances, const WalkOptions& options,
         std::vector<GlyphStamp>* stamps)
        : advances_(advances), options_(options), stamps_(stamps) {
        pages_.emplace_back();
    }

    void Run(std::string_view text);

    // Lines walked since the last page break.
    int Lines() const { return pages_.back().lines; }
    std::vector<PageExtent> TakePages() { return std::move(pages_); }

private:
    void NewLine() {
        EndLine();
        x_ = kPenLeft;
        y_ += kLineHeight;
        ++pages_.back().lines;
        ++textLine_;
    }

    void NewPage() {
        EndLine();
        x_ = kPenLeft;
        y_ = kPenTop;
        pages_.emplace_back();
        // The page break's own line is a line of the text as the editor shows it.
        textLine_ += 2;
    }

    void EndLine() {
        if (lineRight_ < 0) return;
        PageExtent& page = pages_.back();
        const int width = lineRight_ + kRightMargin;
        if (width > page.width) {
            page.width = width;
            page.widestLine = textLine_;
        }
        lineRight_ = -1;
    }

    void Draw(std::uint8_t code);
    // Takes the tag at `at` if it is one this walk interprets; returns its length, or 0.
    std::size_t Tag(std::string_view text, std::size_t at);

    const GlyphAdvances& advances_;
    const WalkOptions& options_;
    std::vector<GlyphStamp>* stamps_;
    // Made at the first name tag: most texts have none.
    std::optional<Names> names_;
    std::vector<PageExtent> pages_;
    std::uint8_t color_ = kWhiteColor;
    std::uint8_t savedColor_ = kWhiteColor;
    bool blink_ = false;
    bool multicolor_ = false;
    bool spaced_ = false;
    int x_ = kPenLeft;
    int y_ = kPenTop;
    int textLine_ = 1;
    // The right edge of the current line's last glyph so far; -1 before the first.
    int lineRight_ = -1;
};

void Walk::Draw(std::uint8_t code) {
    const int advance = advances_[code];
    if (options_.wrapWidth > 0 && x_ + advance > options_.wrapWidth - kRightMargin) NewLine();
    const bool stamped = stamps_ != nullptr && (!options_.pages ||
                                                static_cast<int>(pages_.size()) - 1 ==
                                                    options_.stampPage);
    if (stamped) {
        // Blink shows nothing while multicolour cycles the colours.
        stamps_->push_back({code, color_, blink_ && !multicolor_, x_, y_});
    }
    lineRight_ = std::max(lineRight_, x_ + advance);
    if (multicolor_) color_ = color_ == 0 ? kWhiteColor : static_cast<std::uint8_t>(color_ - 1);
    x_ = std::min(x_ + (spaced_ ? kSpacedAdvance : advance), kFarthestPen);
}

std::size_t Walk::Tag(std::string_view text, std::size_t at) {
    if (StartsWith(text, at, kBlinkTag)) {
        blink_ = !blink_;
        return kBlinkTag.size();
    }
    if (StartsWith(text, at, kMulticolorTag)) {
        multicolor_ = !multicolor_;
        if (multicolor_) {
            savedColor_ = color_;
            color_ = kWhiteColor;
        } else {
            color_ = savedColor_;
        }
        return kMulticolorTag.size();
    }
    if (StartsWith(text, at, kChoiceTag)) {
        // When wrapping, the next character wraps however far past the edge the pen is.
        x_ = std::min(x_ + kChoiceIndent,
                      options_.wrapWidth > 0 ? options_.wrapWidth : kFarthestPen);
        return kChoiceTag.size();
    }
    if (StartsWith(text, at, kSpacedTag)) {
        spaced_ = !spaced_;
        return kSpacedTag.size();
    }
    for (std::size_t tag = 0; tag < ColourTags.size(); ++tag) {
        if (StartsWith(text, at, ColourTags[tag])) {
            color_ = static_cast<std::uint8_t>(tag);
            return ColourTags[tag].size();
        }
    }
    // The pacing tags take their place in the text but change nothing drawn.
    for (const std::string_view tag : EffectTags) {
        if (StartsWith(text, at, tag)) return tag.size();
    }
    if (options_.names != CharacterNames::Tags) {
        for (std::size_t n = 0; n < kNameTags; ++n) {
            const std::string_view tag = CharacterTable[kFirstNameCode + n];
            if (!StartsWith(text, at, tag)) continue;
            if (!names_) names_ = NamesFor(options_.names, advances_);
            const Name& name = (*names_)[n];
            for (std::size_t i = 0; i < name.size; ++i) Draw(name.codes[i]);
            return tag.size();
        }
    }
    return 0;
}

void Walk::Run(std::string_view text) {
    std::size_t i = 0;
    // Nothing at or below the bottom can show: a long text costs no more than its window.
    while (i < text.size() && y_ < options_.bottom) {
        const char c = text[i];
        if (c == '\r') {
            if (options_.pages && StartsWith(text, i, kPageBreak)) {
                NewPage();
                i += kPageBreak.size();
            } else if (i + 1 < text.size() && text[i + 1] == '\n') {
                NewLine();
                i += 2;
            } else {
                ++i;
            }
        } else if (c == PlaceholderChar) {
            const std::size_t length = 1 + LeadingDigits(text.substr(i + 1)).size();
            Draw(CharacterCode(text.substr(i, length)));
            i += length;
        } else if (const std::size_t tag = c == '{' ? Tag(text, i) : 0; tag > 0) {
            i += tag;
        } else {
            Draw(CharacterCode(c == kLowQuotationMark ? std::string_view(",") : text.substr(i, 1)));
            ++i;
        }
    }
    EndLine();
}

}  // namespace

int LayOutWrapped(std::string_view tagged, const GlyphAdvances& advances, int width, int bottom,
                  std::vector<GlyphStamp>& stamps) {
    const WalkOptions options{.wrapWidth = width, .bottom = bottom};
    Walk walk(advances, options, &stamps);
    walk.Run(tagged);
    return walk.Lines();
}

std::vector<PageExtent> LayOutPages(std::string_view tagged, const GlyphAdvances& advances,
                                    CharacterNames names, int stampPage,
                                    std::vector<GlyphStamp>* stamps) {
    const WalkOptions options{.pages = true, .names = names, .stampPage = stampPage};
    Walk walk(advances, options, stamps);
    walk.Run(tagged);
    return walk.TakePages();
}

int PageCount(std::string_view tagged) { return PageAt(tagged, tagged.size()) + 1; }

int PageAt(std::string_view tagged, std::size_t position) {
    int page = 0;
    for (std::size_t at = tagged.find(kPageBreak); at != std::string_view::npos;
         at = tagged.find(kPageBreak, at + kPageBreak.size())) {
        if (at + kPageBreak.size() > position) break;
        ++page;
    }
    return page;
}

}  // namespace text
