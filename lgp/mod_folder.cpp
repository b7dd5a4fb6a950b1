#include "lgp/mod_folder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>

#include "lgp/archive_compare.h"
#include "lgp/field_rebuilder.h"
#include "lgp/file_error.h"
#include "lgp/format_error.h"
#include "lgp/printable_name.h"
#include "lgp/script_chunk.h"
#include "platform/interrupt_guard.h"
#include "platform/utf8_path.h"

namespace fs = std::filesystem;

namespace {

constexpr char kReadme[] = "README.txt";
constexpr std::size_t kReadmeWidth = 78;

// The archive's file name without its folders.
std::string FileNameOf(const TLGPFile& archive) {
    return platform::Utf8FromPath(platform::PathFromUtf8(archive.FileName).filename());
}

// Windows players read the file: its lines end in CR LF.
std::string ReadmeText(ModLayout layout, const TLGPFile& current, const TLGPFile& reference,
                       const std::vector<std::string>& names) {
    std::string levels;
    std::size_t lineStart = 0;
    for (const std::string& name : names) {
        if (!levels.empty()) {
            const bool wrap = levels.size() - lineStart + 2 + name.size() > kReadmeWidth;
            levels += wrap ? ",\r\n" : ", ";
            if (wrap) lineStart = levels.size();
        }
        levels += name;
    }
    std::string text = "The levels of " + FileNameOf(current) +
                       " whose texts or windows differ from " + FileNameOf(reference) + ":\r\n" +
                       levels + "\r\n\r\n";
    switch (layout) {
        case ModLayout::Direct:
            text +=
                "Copy the folder \"direct\" into the game's folder, the one that holds ff7.exe\r\n"
                "or ff7_en.exe. With FFNx, the game then loads each file of direct/flevel in\r\n"
                "place of the level of the same name in data/field/flevel.lgp. Each file holds\r\n"
                "the whole level: it also undoes what other mods change in that level.\r\n";
            break;
        case ModLayout::Chunks:
            text +=
                "Copy the folder \"direct\" into the game's folder, the one that holds ff7.exe\r\n"
                "or ff7_en.exe. With FFNx 1.14 or later, the game then takes the script and\r\n"
                "dialogue of each level from its NAME.chunk.1 file in direct/flevel.lgp and the\r\n"
                "rest from data/field/flevel.lgp, so mods that change other parts of these\r\n"
                "levels keep working.\r\n";
            break;
        case ModLayout::ModManager:
            text +=
                "This folder is a mod for the 7th Heaven mod manager: import it as a mod from\r\n"
                "a folder, then activate it. Its flevel.lgp folder holds a NAME.chunk.1 file "
                "for\r\n"
                "each level, which replaces the level's script and dialogue only, so mods that\r\n"
                "change other parts of these levels keep working.\r\n";
            break;
    }
    return text;
}

// True when the level has changes that are not in its archive's file yet.
bool Pending(const TLGPSubFile& level) { return TextsChanged(level) || WindowsChanged(level); }

// The level's decoded field file as `current` holds it now, changes not yet saved included.
std::vector<std::uint8_t> CurrentDecoded(const TLGPFile& current, const TLGPSubFile& level) {
    return Pending(level) ? RebuildFieldFile(current, level) : current.ReadSubFile(level);
}

// The game finds a level's file by the level's name: the name must stand for this level alone,
// in both archives.
void CheckName(const TLGPFile& current, const TLGPFile& reference, int index) {
    const std::string& name = current.SubFile(index).Name;
    const std::string& referenceName = reference.SubFile(index).Name;
    if (name != referenceName) {
        throw lgp::FormatError("level " + name + " stands where " + reference.FileName + " has " +
                               referenceName);
    }
    const auto count = std::count_if(current.SubFiles.begin(), current.SubFiles.end(),
                                     [&](const auto& subFile) { return subFile->Name == name; });
    if (count > 1) {
        throw lgp::FormatError(current.FileName + " holds level " + name +
                               " more than once: a mod folder cannot tell them apart");
    }
}

std::vector<std::uint8_t> LevelFile(const TLGPFile& current, const TLGPFile& reference, int index,
                                    ModLayout layout, const Compressor& compress) {
    const TLGPSubFile& level = current.SubFile(index);
    if (layout == ModLayout::Direct) {
        return Pending(level) ? compress(RebuildFieldFile(current, level))
                              : current.ReadStoredData(level);
    }
    const std::vector<std::uint8_t> decoded = CurrentDecoded(current, level);
    std::vector<std::uint8_t> chunk = ScriptChunk(decoded);
    const std::vector<std::uint8_t> original = reference.ReadSubFile(reference.SubFile(index));
    if (PutScriptChunk(original, chunk) != decoded) {
        throw lgp::FormatError("level " + level.Name + " differs from " + reference.FileName +
                               " outside its script section, which a chunk cannot carry: "
                               "export it in the direct layout");
    }
    return chunk;
}

// A path inside the folder given by '/'-separated names, none of them empty, "." or "..".
fs::path InsidePath(const std::string& path) {
    fs::path inside;
    std::size_t start = 0;
    while (true) {
        const std::size_t slash = std::min(path.find('/', start), path.size());
        const std::string name = path.substr(start, slash - start);
        if (name.empty() || name == "." || name == ".." ||
            name.find_first_of("\\:") != std::string::npos) {
            throw std::invalid_argument("the path " + path + " would leave the mod folder");
        }
        inside /= platform::PathFromUtf8(name);
        if (slash == path.size()) return inside;
        start = slash + 1;
    }
}

// A path as a message shows it.
std::string Shown(const fs::path& path) { return lgp::PrintableName(platform::Utf8FromPath(path)); }

// Writes the files, remembering every file and folder it makes so that a failure can take them
// away again, the folder it writes into included when it made that too.
class FolderWriter {
public:
    explicit FolderWriter(fs::path root) : root_(std::move(root)) {}

    void Write(const std::vector<ModFile>& files) {
        try {
            Prepare();
            for (const ModFile& file : files) WriteFile(InsidePath(file.path), file.bytes);
        } catch (...) {
            Undo();
            throw;
        }
    }

private:
    void Prepare() {
        std::error_code error;
        const fs::file_status status = fs::status(root_, error);
        if (status.type() == fs::file_type::not_found) {
            MakeFolders(root_);
            return;
        }
        if (error) {
            throw lgp::FileError("cannot look at " + Shown(root_) + ": " + error.message());
        }
        if (!fs::is_directory(status)) throw lgp::FileError(Shown(root_) + " is not a folder");
        const bool empty = fs::is_empty(root_, error);
        if (error) throw lgp::FileError("cannot read " + Shown(root_) + ": " + error.message());
        if (!empty) {
            throw lgp::FileError(
                Shown(root_) + " is not empty: a mod folder is written into a new or empty folder");
        }
    }

    // Makes the folder and those above it that are missing.
    void MakeFolders(const fs::path& folder) {
        std::error_code error;
        if (folder.empty() || fs::is_directory(folder, error)) return;
        MakeFolders(folder.parent_path());
        if (fs::create_directory(folder, error)) {
            made_.push_back(folder);
        } else if (error) {
            throw lgp::FileError("cannot create the folder " + Shown(folder) + ": " +
                                 error.message());
        }
    }

    void WriteFile(const fs::path& inside, const std::vector<std::uint8_t>& bytes) {
        const fs::path target = root_ / inside;
        MakeFolders(target.parent_path());
        fs::path temporary = target;
        temporary += ".~part";
        made_.push_back(temporary);
        const platform::InterruptGuard removedOnInterrupt(platform::Utf8FromPath(temporary));
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) throw lgp::FileError("cannot write " + Shown(temporary));
        std::error_code error;
        fs::rename(temporary, target, error);
        if (error) {
            throw lgp::FileError("cannot rename " + Shown(temporary) + " to " +
                                 Shown(target.filename()) + ": " + error.message());
        }
        made_.back() = target;
    }

    void Undo() {
        for (auto made = made_.rbegin(); made != made_.rend(); ++made) {
            std::error_code ignored;
            fs::remove(*made, ignored);
        }
    }

    fs::path root_;
    std::vector<fs::path> made_;
};

}  // namespace

std::string ModFilePath(ModLayout layout, const std::string& level) {
    switch (layout) {
        case ModLayout::Direct:
            return "direct/flevel/" + level;
        case ModLayout::Chunks:
            return "direct/flevel.lgp/" + level + ".chunk.1";
        case ModLayout::ModManager:
            return "flevel.lgp/" + level + ".chunk.1";
    }
    throw std::invalid_argument("unknown mod folder layout");
}

std::vector<ModFile> MakeModFiles(const TLGPFile& current, const TLGPFile& reference,
                                  const std::vector<int>& levels, ModLayout layout,
                                  const Compressor& compress, const ModProgress& progress) {
    std::vector<ModFile> files;
    std::vector<std::string> names;
    for (const int index : levels) {
        CheckName(current, reference, index);
        const std::string& name = current.SubFile(index).Name;
        files.push_back(
            {ModFilePath(layout, name), LevelFile(current, reference, index, layout, compress)});
        names.push_back(name);
        if (progress) progress(static_cast<int>(files.size()), static_cast<int>(levels.size()));
    }
    const std::string readme = ReadmeText(layout, current, reference, names);
    files.push_back({kReadme, std::vector<std::uint8_t>(readme.begin(), readme.end())});
    return files;
}

void WriteModFolder(const std::string& folder, const std::vector<ModFile>& files) {
    FolderWriter(platform::PathFromUtf8(folder)).Write(files);
}

std::vector<std::string> ExportModFolder(const TLGPFile& current, const TLGPFile& reference,
                                         const std::string& folder, ModLayout layout,
                                         const Compressor& compress, const ModProgress& progress) {
    const std::vector<int> levels = DifferentLevels(current, reference);
    std::vector<std::string> names;
    if (levels.empty()) return names;
    WriteModFolder(folder, MakeModFiles(current, reference, levels, layout, compress, progress));
    for (const int index : levels) names.push_back(current.SubFile(index).Name);
    return names;
}
