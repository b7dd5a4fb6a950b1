#include "lgp/lgp_file.h"

#include <fstream>
#include <optional>
#include <stdexcept>
#include <system_error>

#include "lgp/byte_reader.h"
#include "lgp/file_error.h"
#include "lgp/format_error.h"
#include "lgp/printable_name.h"
#include "lzs/decode_stream.h"
#include "platform/file_facts.h"
#include "platform/utf8_path.h"

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string TrimLeading(std::string text) {
    std::size_t start = 0;
    while (start < text.size() && IsBlank(text[start])) ++start;
    return text.substr(start);
}

std::string TrimTrailing(std::string text) {
    while (!text.empty() && IsBlank(text.back())) text.pop_back();
    return text;
}

std::unique_ptr<std::ifstream> OpenForReading(const std::string& path) {
    // A folder opens as a file on some systems and only fails to read; a FIFO or a device
    // would keep the reader waiting, or read as something that changes under it.
    std::optional<platform::FileFacts> facts;
    try {
        facts = platform::ReadFileFacts(path);
    } catch (const std::system_error&) {
        // Opening it says why it cannot be read.
    }
    if (facts && facts->kind == platform::FileFacts::Kind::Folder) {
        throw lgp::FileError(lgp::PrintableName(path) + " is a folder");
    }
    if (facts && facts->kind == platform::FileFacts::Kind::Other) {
        throw lgp::FileError(lgp::PrintableName(path) + " is not a regular file");
    }
    auto file = std::make_unique<std::ifstream>(platform::PathFromUtf8(path), std::ios::binary);
    if (!*file) throw lgp::FileError("cannot open " + lgp::PrintableName(path) + " for reading");
    return file;
}

// Reads exactly count bytes at position; throws lgp::FileError when the file ends before.
std::vector<std::uint8_t> ReadAt(std::istream& in, std::uint64_t position, std::size_t count) {
    std::vector<std::uint8_t> bytes(count);
    in.clear();
    in.seekg(static_cast<std::streamoff>(position));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(count));
    if (!in || static_cast<std::size_t>(in.gcount()) != count) {
        throw lgp::FileError("cannot read " + std::to_string(count) + " bytes at position " +
                             std::to_string(position));
    }
    return bytes;
}

std::uint64_t StreamSize(std::istream& in) {
    in.clear();
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0) throw lgp::FileError("cannot tell the size of the archive");
    return static_cast<std::uint64_t>(size);
}

}  // namespace

void TLGPFile::ReadTableOfContents(const std::string& path) {
    ReadTableOfContents(OpenForReading(path), path);
}

void TLGPFile::ReadTableOfContents(std::unique_ptr<std::istream> stream,
                                   const std::string& fileName) {
    Stream = std::move(stream);
    FileName = fileName;
    // Noted after the stream was opened, so that it describes no older file than the one read.
    NoteIdentity();
    std::istream& in = *Stream;
    const std::uint64_t size = StreamSize(in);
    if (size < kHeaderSize) {
        throw lgp::FormatError("the archive is " + std::to_string(size) +
                               " bytes long, shorter than its header");
    }

    const auto header = ReadAt(in, 0, kHeaderSize);
    lgp::ByteReader headerReader(header);
    Creator = TrimLeading(headerReader.ReadString(12));
    const std::int32_t count = headerReader.ReadI32();
    if (count < 0) throw lgp::FormatError("the archive's entry count is negative");
    // Checked before anything is allocated for the entries, so a corrupt count costs nothing.
    const std::uint64_t tableEnd = kHeaderSize + kEntrySize * static_cast<std::uint64_t>(count);
    if (tableEnd > size) {
        throw lgp::FormatError("the table of " + std::to_string(count) +
                               " entries runs past the end of the archive");
    }

    const auto table = ReadAt(in, kHeaderSize, static_cast<std::size_t>(tableEnd - kHeaderSize));
    lgp::ByteReader reader(table);
    SubFiles.clear();
    SubFiles.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        auto subFile = std::make_unique<TLGPSubFile>();
        subFile->Name = TrimTrailing(reader.ReadString(kNameSize));
        subFile->Offset = subFile->NewOffset = reader.ReadI32();
        reader.Skip(kEntrySize - kNameSize - 4);

        const auto describe = [&] {
            return "entry " + std::to_string(i + 1) + " (" + lgp::PrintableName(subFile->Name) +
                   ")";
        };
        const std::int64_t offset = subFile->Offset;
        if (offset < 0 || offset + kDataHeaderSize > size) {
            throw lgp::FormatError(describe() + " points outside the archive");
        }
        const auto lengthBytes = ReadAt(in, offset + kNameSize, 4);
        subFile->Length = subFile->NewLength = lgp::ByteReader(lengthBytes).ReadI32();
        const std::int64_t length = subFile->Length;
        if (length < 0 || offset + kDataHeaderSize + length > size) {
            throw lgp::FormatError(describe() + " has data running outside the archive");
        }
        SubFiles.push_back(std::move(subFile));
    }
    Count = count;
}

TLGPSubFile& TLGPFile::SubFile(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= SubFiles.size()) {
        throw std::out_of_range("no sub-file at index " + std::to_string(index));
    }
    return *SubFiles[static_cast<std::size_t>(index)];
}

bool TLGPFile::ChangedOnDisk() const { return platform::ReadFileIdentity(FileName) != Identity; }

void TLGPFile::NoteIdentity() { Identity = platform::ReadFileIdentity(FileName); }

std::unique_ptr<std::istream> TLGPFile::OpenAgain() const {
    auto file = OpenForReading(FileName);
    // Checked after opening: the handle then reads the file checked, or an even newer one.
    if (Identity && ChangedOnDisk()) {
        throw lgp::FileError(lgp::PrintableName(FileName) + " changed on disk since it was opened");
    }
    return file;
}

std::vector<std::uint8_t> TLGPFile::ReadStoredData(std::istream& archive,
                                                   const TLGPSubFile& subFile) {
    if (subFile.Offset < 0 || subFile.Length < 0) {
        throw lgp::FileError("sub-file " + lgp::PrintableName(subFile.Name) +
                             " has no data in the archive");
    }
    return ReadAt(archive, static_cast<std::uint64_t>(subFile.Offset) + kDataHeaderSize,
                  static_cast<std::size_t>(subFile.Length));
}

std::vector<std::uint8_t> TLGPFile::ReadStoredData(const TLGPSubFile& subFile) const {
    return ReadStoredData(*OpenAgain(), subFile);
}

std::vector<std::uint8_t> TLGPFile::ReadSubFile(const TLGPSubFile& subFile) const {
    return lzs::DecodeStream(ReadStoredData(subFile));
}
