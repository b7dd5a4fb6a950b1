#pragma once

#include <cstdint>
#include <istream>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "lgp/lgp_sub_file.h"
#include "platform/file_facts.h"

// An open archive: its header, its table of contents as sub-file objects, and the file
// itself, kept open for as long as this object lives.
class TLGPFile {
public:
    // Bytes of the archive header (12-byte creator text, 4-byte entry count) and of one entry.
    static constexpr std::size_t kHeaderSize = 16;
    static constexpr std::size_t kEntrySize = 27;
    // Bytes of a sub-file's data header: its name and the length of its data.
    static constexpr std::size_t kDataHeaderSize = 24;
    static constexpr std::size_t kNameSize = 20;

    // The 12 creator bytes without their leading blanks and zero bytes.
    std::string Creator;
    std::string FileName;
    std::unique_ptr<std::istream> Stream;
    // One per table-of-contents entry, in table order.
    std::vector<std::unique_ptr<TLGPSubFile>> SubFiles;
    std::int32_t Count = 0;
    // The opened file's size, modification time and file number, read as it was opened (and
    // again after a save over it); nothing when the archive was read from a stream of no file.
    std::optional<platform::FileIdentity> Identity;

    // Opens the archive at path, keeps it as Stream, notes its Identity and reads its table of
    // contents and every sub-file's data length. Throws lgp::FileError when the file cannot be
    // opened or read (a folder: "PATH is a folder"; a FIFO or a device, refused before it is
    // opened so that nothing waits for a writer: "PATH is not a regular file"),
    // lgp::FormatError when its table or an entry points outside the file.
    void ReadTableOfContents(const std::string& path);
    // Same, from an archive already open as stream; fileName is what ReadSubFile reopens.
    void ReadTableOfContents(std::unique_ptr<std::istream> stream, const std::string& fileName);

    // True when the file at FileName is no longer the one opened (or last saved over): another
    // program replaced, rewrote or removed it. Saving over it would overwrite that change.
    bool ChangedOnDisk() const;
    // Notes the identity of the file now at FileName as Identity (nothing when it cannot be
    // read): done on opening, and after saving over the archive's own file.
    void NoteIdentity();

    // A new handle on FileName. Throws lgp::FileError when it cannot be opened, or when the file
    // there changed on disk since it was opened: its data no longer match the table read.
    std::unique_ptr<std::istream> OpenAgain() const;

    // The sub-file at a table index; throws std::out_of_range for a bad index.
    TLGPSubFile& SubFile(int index) const;

    // The sub-file's stored bytes, read through a handle of its own on FileName (OpenAgain) so
    // that Stream's position is kept. Throws lgp::FileError.
    std::vector<std::uint8_t> ReadStoredData(const TLGPSubFile& subFile) const;
    // The sub-file's stored bytes read from `archive`. Throws lgp::FileError.
    static std::vector<std::uint8_t> ReadStoredData(std::istream& archive,
                                                    const TLGPSubFile& subFile);
    // The sub-file's stored data decoded as an LZS stream (a level's field file).
    std::vector<std::uint8_t> ReadSubFile(const TLGPSubFile& subFile) const;
};
