#include "cli/bilingual_po.h"

#include <algorithm>
#include <ctime>

#include "cli/archive_export.h"
#include "cli/exchange_levels.h"
#include "cli/po_file.h"
#include "lgp/printable_name.h"
#include "text/windows1252.h"

namespace cli {

namespace {

std::string WindowsComment(const TLevelText& levelText) {
    if (levelText.Windows.empty()) return "#. no window\n";
    std::string comment;
    for (std::size_t w = 0; w < levelText.Windows.size(); ++w) {
        const TWindow& window = *levelText.Windows[w];
        comment += "#. window " + std::to_string(w + 1) + ": x " + std::to_string(window.X) +
                   ", y " + std::to_string(window.Y) + ", " + std::to_string(window.Width) + " x " +
                   std::to_string(window.Height) + "\n";
    }
    return comment;
}

bool HasNul(const std::string& text) { return text.find('\0') != std::string::npos; }

// gettext's tools refuse a translation that starts or ends with a line feed where its msgid
// does not, or the reverse, unless it is fuzzy.
bool LineFeedsAgree(const std::string& id, const std::string& str) {
    return id.starts_with('\n') == str.starts_with('\n') &&
           id.ends_with('\n') == str.ends_with('\n');
}

// Why the text cannot be an entry, or empty when it can.
std::string LeftOutReason(const std::string& id, const std::string& str) {
    if (id.empty()) return "the original is empty";
    if (HasNul(id)) return "the original holds a NUL character";
    if (HasNul(str)) return "the translation holds a NUL character";
    return {};
}

std::map<std::string, const TLGPSubFile*, std::less<>> LevelsByName(const TLGPFile& archive) {
    std::map<std::string, const TLGPSubFile*, std::less<>> levels;
    for (const int index : ExchangeLevels(archive)) {
        const TLGPSubFile& level = archive.SubFile(index);
        levels.emplace(level.Name, &level);
    }
    return levels;
}

}  // namespace

bool IsLanguageCode(std::string_view code) {
    return !code.empty() && std::all_of(code.begin(), code.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_' || c == '-' || c == '@' || c == '.';
    });
}

std::string PoRevisionDate() {
    const std::time_t now = std::time(nullptr);
    char date[32];
    std::strftime(date, sizeof date, "%Y-%m-%d %H:%M+0000", std::gmtime(&now));
    return date;
}

std::string ExportBilingualPo(const TLGPFile& archive, const TLGPFile& original,
                              std::string_view title, std::string_view revised,
                              std::string_view language) {
    const auto originals = LevelsByName(original);
    std::string entries;
    std::string leftOut;
    for (const int index : ExchangeLevels(archive)) {
        const TLGPSubFile& level = archive.SubFile(index);
        const std::string name = lgp::PrintableName(level.Name);
        const auto found = originals.find(level.Name);
        if (level.Unreadable || found == originals.end() || found->second->Unreadable) {
            leftOut += "# Left out: level " + name +
                       (level.Unreadable           ? ", which could not be read\n"
                        : found == originals.end() ? ", which the original lacks\n"
                                                   : ", which could not be read in the original\n");
            continue;
        }
        const TLGPSubFile& source = *found->second;
        const std::string description =
            "#. " + text::Windows1252ToUtf8(level.Description) + " (" + name + ")\n";
        for (std::size_t t = 0; t < level.Texts.size(); ++t) {
            const std::string context = level.Name + ":" + std::to_string(t + 1);
            if (t >= source.Texts.size()) {
                leftOut += "# Left out: " + context + " (not in the original)\n";
                continue;
            }
            const std::vector<std::uint8_t>& bytes = level.Texts[t].Bytes;
            const std::string id = PoText(source.Texts[t].Bytes);
            const std::string str = bytes == source.Texts[t].Bytes ? std::string() : PoText(bytes);
            std::string reason = LeftOutReason(id, str);
            if (reason.empty() && str.empty() && bytes != source.Texts[t].Bytes) {
                reason = "emptied, which an empty msgstr cannot tell from untranslated";
            }
            if (!reason.empty()) {
                leftOut += "# Left out: " + context + " (" + reason + ")\n";
                continue;
            }
            entries += "\n" + description + WindowsComment(level.Texts[t]);
            if (!str.empty() && !LineFeedsAgree(id, str)) {
                entries +=
                    "#. The translation starts or ends with a line break where the\n"
                    "#. original does not, or the reverse: gettext's tools take it\n"
                    "#. only as fuzzy, and import leaves fuzzy entries out.\n"
                    "#, fuzzy\n";
            }
            entries += PoField("msgctxt", context);
            entries += PoField("msgid", id);
            entries += PoField("msgstr", str);
        }
    }
    std::string header = "Project-Id-Version: " + std::string(title) + "\n" +
                         "PO-Revision-Date: " + std::string(revised) + "\n" +
                         "Last-Translator: \n"
                         "Language-Team: \n";
    if (!language.empty()) header += "Language: " + std::string(language) + "\n";
    header +=
        "MIME-Version: 1.0\n"
        "Content-Type: text/plain; charset=UTF-8\n"
        "Content-Transfer-Encoding: 8bit\n";
    return "# Texts of the archive's levels beside those of the original archive. msgctxt is the\n"
           "# level's name and the text's number (from 1), msgid the original's tagged text,\n"
           "# msgstr the translation: empty while the text is as in the original. Apply the\n"
           "# file with \"orvenne-cli import ARCHIVE FILE --original ORIGINAL\"; a translation\n"
           "# whose msgid is no longer the original's text is not applied.\n" +
           leftOut + "msgid \"\"\n" + PoField("msgstr", header) + entries;
}

OriginalTexts::OriginalTexts(const TLGPFile& original) : levels_(LevelsByName(original)) {}

bool OriginalTexts::Matches(const std::string& level, std::size_t text, const std::string& msgid) {
    const auto found = levels_.find(level);
    if (found != levels_.end() && text < found->second->Texts.size() &&
        PoText(found->second->Texts[text].Bytes) == msgid) {
        return true;
    }
    changed_.push_back("level " + lgp::PrintableName(level) + ", text " + std::to_string(text + 1));
    return false;
}

}  // namespace cli
