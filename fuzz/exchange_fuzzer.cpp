// Never-crash target of the exchange file readers: any bytes as a JSON and as a PO file, read
// alone and as edits of a small archive, must be taken or end in an InputError at a place in
// the file; what the readers take must read back the same when written again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "cli/archive_edits.h"
#include "cli/input_error.h"
#include "cli/json.h"
#include "cli/po_file.h"
#include "lgp/level_tables.h"

namespace {

// One level with two texts, the first shown in its one window; built anew for each input, as
// applying edits changes it.
std::unique_ptr<TLGPFile> SmallArchive() {
    auto archive = std::make_unique<TLGPFile>();
    auto level = std::make_unique<TLGPSubFile>();
    level->Name = std::string(lgp::LevelNames()[0]);
    TScript& script = level->Entities.emplace_back().Scripts.emplace_back();
    script.Windows.emplace_back();
    for (const auto& bytes : {std::vector<std::uint8_t>{0x21, 0xFF}, {0xFF}}) {
        level->Texts.push_back({bytes, {}});
        level->SavedTexts.push_back(bytes);
    }
    level->Texts[0].Windows.push_back(&script.Windows[0]);
    level->CompareMarks.assign(2, 0);
    archive->SubFiles.push_back(std::move(level));
    archive->Count = 1;
    return archive;
}

void CheckPlace(int line, int column) {
    if (line < 1 || column < 1) std::abort();
}

// Every string of the tree written as JSON must read back as itself.
void CheckJson(const cli::JsonValue& value) {
    CheckPlace(value.line, value.column);
    if (value.kind == cli::JsonValue::Kind::String &&
        cli::ParseJson(cli::JsonString(value.text)).text != value.text) {
        std::abort();
    }
    for (const cli::JsonValue& item : value.items) CheckJson(item);
    for (const cli::JsonMember& member : value.members) CheckJson(member.value);
}

template <typename Read>
void ExpectTakenOrRefused(Read read) {
    try {
        read();
    } catch (const cli::InputError& error) {
        CheckPlace(error.Line(), error.Column());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ExpectTakenOrRefused([&] { CheckJson(cli::ParseJson(text)); });
    ExpectTakenOrRefused([&] {
        for (const cli::PoEntry& entry : cli::ParsePo(text)) {
            CheckPlace(entry.line, entry.column);
            // A PO string cannot hold a NUL: gettext ends it there.
            if (entry.str.find('\0') != std::string::npos) continue;
            const std::vector<cli::PoEntry> again =
                cli::ParsePo(cli::PoField("msgid", entry.str) + "msgstr \"\"\n");
            if (again.size() != 1 || again[0].id != entry.str) std::abort();
        }
    });
    for (const bool json : {true, false}) {
        ExpectTakenOrRefused([&] {
            const auto archive = SmallArchive();
            const cli::ArchiveEdits edits = json ? cli::ArchiveEdits::FromJson(*archive, text)
                                                 : cli::ArchiveEdits::FromPo(*archive, text);
            edits.ApplyTo(*archive);
        });
    }
    return 0;
}
