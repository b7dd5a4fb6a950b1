#include "lgp/mod_folder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string_view>
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

namespace lgp {

namespace fs = std::filesystem;

namespace {

constexpr char kReadme[] = "README.txt";
constexpr std::size_t kReadmeWidth = 78;
constexpr ModLayout kLayouts[] = {ModLayout::Direct, ModLayout::Chunks, ModLayout::ModManager};
// The README's first line, around the two archives' names.
constexpr std::string_view kReadmeStart = "The levels of ";
constexpr std::string_view kReadmeDiffer = " whose texts or windows differ from ";
constexpr std::string_view kReadmeLineEnd = ":\r\n";
// A README larger than this is none that an export wrote.
constexpr std::uintmax_t kLargestReadme = 1 << 20;
// Appended to an earlier export's files while the new ones are written.
constexpr char kSetAside[] = ".~old";

// The archive's file name without its folders.
std::string FileNameOf(const TLGPFile& archive) {
    return platform::Utf8FromPath(platform::PathFromUtf8(archive.FileName).filename());
}

// Windows players read the file: its lines end in CR LF.
std::string ReadmeText(ModLayout layout, const std::string& current, const std::string& reference,
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
    std::string text = std::string(kReadmeStart) + current + std::string(kReadmeDiffer) +
                       reference + std::string(kReadmeLineEnd) + levels + "\r\n\r\n";
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

// A path inside a folder as its '/'-separated names.
std::string InsideName(const fs::path& inside) {
    std::string name;
    for (const fs::path& part : inside) {
        if (!name.empty()) name += '/';
        name += platform::Utf8FromPath(part);
    }
    return name;
}

// The file's bytes, or nothing when it cannot be read or is larger than `largest`.
std::optional<std::string> ReadSmallFile(const fs::path& path, std::uintmax_t largest) {
    std::error_code error;
    const std::uintmax_t size = fs::file_size(path, error);
    if (error || size > largest) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in && !in.eof()) return std::nullopt;
    return bytes;
}

// The layout and the level names of a README that an export wrote: the text must be exactly
// what ReadmeText gives for them.
std::optional<std::pair<ModLayout, std::vector<std::string>>> ReadReadme(const std::string& text) {
    const std::size_t lineEnd = text.find("\r\n");
    if (!text.starts_with(kReadmeStart) || lineEnd == std::string::npos) return std::nullopt;
    const std::string first = text.substr(0, lineEnd + 2);
    const std::size_t differ = first.find(kReadmeDiffer, kReadmeStart.size());
    if (!first.ends_with(kReadmeLineEnd) || differ == std::string::npos) return std::nullopt;
    const std::string current = first.substr(kReadmeStart.size(), differ - kReadmeStart.size());
    const std::size_t referenceStart = differ + kReadmeDiffer.size();
    const std::string reference =
        first.substr(referenceStart, first.size() - kReadmeLineEnd.size() - referenceStart);
    const std::size_t listEnd = text.find("\r\n\r\n", lineEnd + 2);
    if (listEnd == std::string::npos) return std::nullopt;
    std::vector<std::string> names;
    std::size_t start = lineEnd + 2;
    while (start <= listEnd) {
        const std::size_t comma = std::min(text.find(',', start), listEnd);
        std::string name = text.substr(start, comma - start);
        const std::size_t from = name.find_first_not_of(" \r\n");
        if (from == std::string::npos) return std::nullopt;
        names.push_back(name.substr(from, name.find_last_not_of(" \r\n") + 1 - from));
        start = comma + 1;
    }
    for (const ModLayout layout : kLayouts) {
        if (ReadmeText(layout, current, reference, names) == text) {
            return std::make_pair(layout, std::move(names));
        }
    }
    return std::nullopt;
}

// What an earlier export in a folder consists of: its files and its folders, the deepest first.
struct EarlierFiles {
    std::vector<fs::path> files;
    std::vector<fs::path> folders;
};

// The earlier export that `root` (a folder) holds, when it holds nothing else: its README.txt,
// files of the levels the README names in its layout, and the folders on their way. Anything
// else, a link included, and the folder is no earlier export.
std::optional<EarlierFiles> FindEarlierExport(const fs::path& root) {
    std::error_code error;
    const fs::path readmePath = root / kReadme;
    if (fs::symlink_status(readmePath, error).type() != fs::file_type::regular) return std::nullopt;
    const std::optional<std::string> readme = ReadSmallFile(readmePath, kLargestReadme);
    if (!readme) return std::nullopt;
    const auto described = ReadReadme(*readme);
    if (!described) return std::nullopt;
    std::set<std::string> files = {kReadme};
    std::set<std::string> folders;
    for (const std::string& name : described->second) {
        const std::string path = ModFilePath(described->first, name);
        files.insert(path);
        for (std::size_t slash = path.find('/'); slash != std::string::npos;
             slash = path.find('/', slash + 1)) {
            folders.insert(path.substr(0, slash));
        }
    }
    EarlierFiles found;
    fs::recursive_directory_iterator entry(root, error);
    for (; !error && entry != fs::recursive_directory_iterator(); entry.increment(error)) {
        const std::string inside = InsideName(entry->path().lexically_relative(root));
        const fs::file_type type = entry->symlink_status(error).type();
        if (type == fs::file_type::directory && folders.contains(inside)) {
            found.folders.push_back(entry->path());
        } else if (type == fs::file_type::regular && files.contains(inside)) {
            found.files.push_back(entry->path());
        } else {
            return std::nullopt;
        }
    }
    if (error) return std::nullopt;
    std::ranges::sort(found.folders, [](const fs::path& left, const fs::path& right) {
        return left.native().size() > right.native().size();
    });
    return found;
}

// Writes the files, remembering every file and folder it makes so that a failure can take them
// away again, the folder it writes into included when it made that too. An earlier export that
// it replaces is set aside first, and deleted only once the new files are all in place.
class FolderWriter {
public:
    FolderWriter(fs::path root, EarlierExport earlier) : root_(std::move(root)), earlier_(earlier) {}

    void Write(const std::vector<ModFile>& files) {
        try {
            Prepare();
            for (const ModFile& file : files) WriteFile(InsidePath(file.path), file.bytes);
        } catch (...) {
            Undo();
            PutBack();
            throw;
        }
        DropEarlier();
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
        if (empty) return;
        if (earlier_ == EarlierExport::Replace) {
            if (const std::optional<EarlierFiles> found = FindEarlierExport(root_)) {
                SetAside(*found);
                return;
            }
            throw lgp::FileError(Shown(root_) +
                                 " holds files that no mod folder export wrote: a mod folder is "
                                 "written into a new or empty folder, or over an earlier export");
        }
        throw lgp::FileError(
            Shown(root_) + " is not empty: a mod folder is written into a new or empty folder");
    }

    void SetAside(const EarlierFiles& earlier) {
        earlierFolders_ = earlier.folders;
        for (const fs::path& file : earlier.files) {
            fs::path aside = file;
            aside += kSetAside;
            std::error_code error;
            if (fs::exists(fs::symlink_status(aside, error))) {
                throw lgp::FileError("cannot set " + Shown(file) + " aside: " + Shown(aside) +
                                     " exists");
            }
            fs::rename(file, aside, error);
            if (error) {
                throw lgp::FileError("cannot set " + Shown(file) + " aside: " + error.message());
            }
            setAside_.push_back(file);
        }
    }

    // After a failure: the earlier export as it was.
    void PutBack() {
        for (const fs::path& file : setAside_) {
            fs::path aside = file;
            aside += kSetAside;
            std::error_code ignored;
            fs::rename(aside, file, ignored);
        }
    }

    // After success: the earlier export's files, and its folders that nothing else uses now.
    void DropEarlier() {
        for (const fs::path& file : setAside_) {
            fs::path aside = file;
            aside += kSetAside;
            std::error_code ignored;
            fs::remove(aside, ignored);
        }
        for (const fs::path& folder : earlierFolders_) {
            std::error_code error;
            if (fs::is_empty(folder, error) && !error) fs::remove(folder, error);
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
    EarlierExport earlier_;
    std::vector<fs::path> made_;
    // The earlier export's files, by their own names, and its folders.
    std::vector<fs::path> setAside_;
    std::vector<fs::path> earlierFolders_;
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
    const std::string readme =
        ReadmeText(layout, FileNameOf(current), FileNameOf(reference), names);
    files.push_back({kReadme, std::vector<std::uint8_t>(readme.begin(), readme.end())});
    return files;
}

ModFolderContents InspectModFolder(const std::string& folder) {
    const fs::path root = platform::PathFromUtf8(folder);
    std::error_code error;
    const fs::file_status status = fs::status(root, error);
    if (status.type() == fs::file_type::not_found) return ModFolderContents::Nothing;
    if (error || !fs::is_directory(status)) return ModFolderContents::Other;
    const bool empty = fs::is_empty(root, error);
    if (error) return ModFolderContents::Other;
    if (empty) return ModFolderContents::Nothing;
    return FindEarlierExport(root) ? ModFolderContents::EarlierExport : ModFolderContents::Other;
}

void WriteModFolder(const std::string& folder, const std::vector<ModFile>& files,
                    EarlierExport earlier) {
    FolderWriter(platform::PathFromUtf8(folder), earlier).Write(files);
}

std::vector<std::string> ExportModFolder(const TLGPFile& current, const TLGPFile& reference,
                                         const std::string& folder, ModLayout layout,
                                         const Compressor& compress, const ModProgress& progress,
                                         EarlierExport earlier) {
    const std::vector<int> levels = DifferentLevels(current, reference);
    std::vector<std::string> names;
    if (levels.empty()) return names;
    WriteModFolder(folder, MakeModFiles(current, reference, levels, layout, compress, progress),
                   earlier);
    for (const int index : levels) names.push_back(current.SubFile(index).Name);
    return names;
}

}  // namespace lgp
