#include "cli/archive_export.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "cli/exchange_levels.h"
#include "cli/json.h"
#include "cli/po_file.h"
#include "lgp/printable_name.h"
#include "text/text_decoder.h"
#include "text/windows1252.h"

namespace cli {

namespace {

std::string TaggedUtf8(const TLevelText& levelText) {
    return text::Windows1252ToUtf8(text::DecodeText(levelText.Bytes));
}

void AppendJsonLevel(std::string& out, const TLGPSubFile& level) {
    const std::vector<const TWindow*> windows = LevelWindows(level);
    out += "    {\n      \"name\": " + JsonString(level.Name) + ",\n      \"windows\": [";
    for (std::size_t w = 0; w < windows.size(); ++w) {
        const TWindow& window = *windows[w];
        out += (w == 0 ? "\n" : ",\n");
        out += "        {\"x\": " + std::to_string(window.X) +
               ", \"y\": " + std::to_string(window.Y) +
               ", \"width\": " + std::to_string(window.Width) +
               ", \"height\": " + std::to_string(window.Height) + "}";
    }
    out += windows.empty() ? "],\n" : "\n      ],\n";
    out += "      \"texts\": [";
    for (std::size_t t = 0; t < level.Texts.size(); ++t) {
        const TLevelText& levelText = level.Texts[t];
        out += (t == 0 ? "\n" : ",\n");
        out += "        {\"text\": " + std::to_string(t + 1) +
               ", \"tagged\": " + JsonString(TaggedUtf8(levelText)) + ", \"windows\": [";
        for (std::size_t k = 0; k < levelText.Windows.size(); ++k) {
            const auto index = std::find(windows.begin(), windows.end(), levelText.Windows[k]);
            out += (k == 0 ? "" : ", ") + std::to_string(index - windows.begin());
        }
        out += "]}";
    }
    out += level.Texts.empty() ? "]\n" : "\n      ]\n";
    out += "    }";
}

}  // namespace

// gettext's tools warn about every message that holds a carriage return. Decoded texts hold no
// CR without its LF, and import reads a line feed as CR LF, so nothing is lost.
std::string PoText(std::span<const std::uint8_t> bytes) {
    const std::string tagged = text::Windows1252ToUtf8(text::DecodeText(bytes));
    std::string out;
    out.reserve(tagged.size());
    for (std::size_t i = 0; i < tagged.size(); ++i) {
        if (tagged[i] != '\r' || i + 1 == tagged.size() || tagged[i + 1] != '\n') out += tagged[i];
    }
    return out;
}

std::string ExportJson(const TLGPFile& archive) {
    std::string out = "{\n  \"levels\": [";
    bool first = true;
    for (const int index : ExchangeLevels(archive)) {
        const TLGPSubFile& level = archive.SubFile(index);
        if (level.Unreadable) continue;
        out += (first ? "\n" : ",\n");
        AppendJsonLevel(out, level);
        first = false;
    }
    out += first ? "]\n}\n" : "\n  ]\n}\n";
    return out;
}

std::string ExportPo(const TLGPFile& archive, std::string_view title) {
    std::string entries;
    std::string leftOut;
    for (const int index : ExchangeLevels(archive)) {
        const TLGPSubFile& level = archive.SubFile(index);
        if (level.Unreadable) {
            leftOut += "# Left out: level " + lgp::PrintableName(level.Name) +
                       ", which could not be read (" + lgp::PrintableName(level.Damage) + ")\n";
            continue;
        }
        for (std::size_t t = 0; t < level.Texts.size(); ++t) {
            const TLevelText& levelText = level.Texts[t];
            const std::string context = level.Name + ":" + std::to_string(t + 1);
            const std::string tagged = PoText(levelText.Bytes);
            if (tagged.empty() || tagged.find('\0') != std::string::npos) {
                leftOut += "# Left out: " + context +
                           (tagged.empty() ? " (empty)\n" : " (holds a NUL character)\n");
                continue;
            }
            entries += "\n#. windows: " + std::to_string(levelText.Windows.size()) + "\n";
            entries += PoField("msgctxt", context);
            entries += PoField("msgid", tagged);
            entries += "msgstr \"\"\n";
        }
    }
    return "# Texts of the archive's levels. msgctxt is the level's name and the text's number\n"
           "# (from 1), msgid the tagged text; write the translation into msgstr and apply the\n"
           "# file with \"orvenne-cli import\". Empty texts and texts that hold a NUL character\n"
           "# cannot be a msgid and are left out.\n" +
           leftOut + "msgid \"\"\n" +
           PoField("msgstr", "Project-Id-Version: " + std::string(title) +
                                 "\n"
                                 "MIME-Version: 1.0\n"
                                 "Content-Type: text/plain; charset=UTF-8\n"
                                 "Content-Transfer-Encoding: 8bit\n") +
           entries;
}

}  // namespace cli
