#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <QLocale>
#include <QString>

#include "jobs/qt_strings.h"
#include "sample/sample_archive.h"

// Facts about a demo archive read from what its generator says it wrote, for the tests of the
// windows that show it: a change of the generator then fails the generator's own tests only.
namespace sample_facts {

// A text of the archive: the table index of its level and its index there.
struct TextPlace {
    int subFile = -1;
    int text = -1;
};

// Where a searched text occurs: the text, and the position in it as the editor shows it (a
// line break is one character).
struct Occurrence {
    int subFile = -1;
    int text = -1;
    int position = -1;
};

// What the level at table index `subFile` holds; none for a file that is no level.
inline const sample::SampleLevel* LevelAt(const sample::SampleArchive& archive, int subFile) {
    if (subFile < 0 || static_cast<std::size_t>(subFile) >= archive.files.size()) return nullptr;
    const std::string& name = archive.files[static_cast<std::size_t>(subFile)];
    const auto found =
        std::find_if(archive.levels.begin(), archive.levels.end(),
                     [&name](const sample::SampleLevel& level) { return level.name == name; });
    return found != archive.levels.end() ? &*found : nullptr;
}

// The table indices of the levels, in table order.
inline std::vector<int> LevelRows(const sample::SampleArchive& archive) {
    std::vector<int> rows;
    for (std::size_t row = 0; row < archive.files.size(); ++row) {
        if (LevelAt(archive, static_cast<int>(row)) != nullptr)
            rows.push_back(static_cast<int>(row));
    }
    return rows;
}

// The sum over the levels of one of their counts, such as &sample::SampleLevel::texts.
inline int Total(const sample::SampleArchive& archive, int sample::SampleLevel::*count) {
    int total = 0;
    for (const sample::SampleLevel& level : archive.levels) total += level.*count;
    return total;
}

// The status bar's counts, such as "6 levels / 65 texts".
inline QString CountsText(const sample::SampleArchive& archive) {
    const QLocale locale;
    return QStringLiteral("%1 levels / %2 texts")
        .arg(locale.toString(static_cast<int>(archive.levels.size())),
             locale.toString(Total(archive, &sample::SampleLevel::texts)));
}

// A tagged text as the editor shows it.
inline QString EditorText(std::string_view tagged) {
    return jobs::fromWindows1252(tagged).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// The text at `place` as the editor shows it.
inline QString EditorText(const sample::SampleArchive& archive, TextPlace place) {
    return EditorText(
        LevelAt(archive, place.subFile)->tagged.at(static_cast<std::size_t>(place.text)));
}

// The first text of the levels, in table order, for which `wanted(level, text)` holds; none
// (-1, -1) when no text does.
inline TextPlace FindText(const sample::SampleArchive& archive,
                          const std::function<bool(const sample::SampleLevel&, int)>& wanted) {
    for (const int row : LevelRows(archive)) {
        const sample::SampleLevel& level = *LevelAt(archive, row);
        for (int text = 0; text < level.texts; ++text) {
            if (wanted(level, text)) return {row, text};
        }
    }
    return {};
}

// Every occurrence of `search` in the texts of the levels, in table order, one after the other
// as a search forwards finds them; with matchCase off, letter case does not count (accented
// letters too).
inline std::vector<Occurrence> Occurrences(const sample::SampleArchive& archive,
                                           const QString& search, bool matchCase) {
    std::vector<Occurrence> found;
    const QString needle = matchCase ? search : search.toLower();
    for (const int row : LevelRows(archive)) {
        const sample::SampleLevel& level = *LevelAt(archive, row);
        for (int text = 0; text < level.texts; ++text) {
            const QString shown = EditorText(level.tagged[static_cast<std::size_t>(text)]);
            const QString haystack = matchCase ? shown : shown.toLower();
            for (qsizetype at = haystack.indexOf(needle); at >= 0;
                 at = haystack.indexOf(needle, at + needle.size())) {
                found.push_back({row, text, static_cast<int>(at)});
            }
        }
    }
    return found;
}

// The number of texts that hold `search` with its letter case.
inline int TextsHolding(const sample::SampleArchive& archive, const QString& search) {
    int texts = 0;
    const std::vector<Occurrence> found = Occurrences(archive, search, true);
    for (std::size_t i = 0; i < found.size(); ++i) {
        texts += i == 0 || found[i].subFile != found[i - 1].subFile ||
                 found[i].text != found[i - 1].text;
    }
    return texts;
}

}  // namespace sample_facts
