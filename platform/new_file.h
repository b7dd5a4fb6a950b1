#pragma once

#include <cstdint>
#include <memory>
#include <streambuf>
#include <string>
#include <system_error>
#include <vector>

#include "platform/file_facts.h"

namespace platform {

// A file created for writing under a name that no file had, written through a buffer of its
// own. It keeps the error of the first write, seek or flush that fails (a stream over it only
// sees that something failed), and fails every later one. Closed, not flushed, when destroyed.
class NewFile : public std::streambuf {
public:
    // Creates the file at path with the permission bits `mode` (less the process's umask);
    // nullptr when something of that name exists. Throws std::system_error for any other
    // failure (std::errc::filename_too_long on every system for a name that is too long).
    static std::unique_ptr<NewFile> Create(const std::string& path, unsigned mode = 0666);
    ~NewFile() override;
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    // The first failure of a write, seek or flush; empty while none failed. A full disk is
    // std::errc::no_space_on_device on every system.
    std::error_code Error() const { return error_; }

    // Gives the file `model`'s owner and group, as far as this process may, and its permission
    // bits (POSIX), or its attributes (Windows). Throws std::system_error when the bits or
    // attributes cannot be set.
    void TakeAttributes(const FileFacts& model);

    // Writes out the buffer, waits until the system has the data on the disk and closes the
    // file. Throws std::system_error.
    void Commit();

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* data, std::streamsize count) override;
    int sync() override;
    pos_type seekoff(off_type offset, std::ios_base::seekdir direction,
                     std::ios_base::openmode which) override;
    pos_type seekpos(pos_type position, std::ios_base::openmode which) override;

private:
    NewFile(std::intptr_t handle, std::string path);

    // Both return false, with Error() set, when the system refuses the bytes.
    bool Flush();
    bool WriteAll(const char* data, std::size_t count);
    void Fail(std::error_code error);
    void Close();

    // A POSIX file descriptor, or a Windows HANDLE; -1 once closed.
    std::intptr_t handle_;
    std::string path_;
    std::vector<char> buffer_;
    std::error_code error_;
};

// Makes a write past the process's file-size limit fail with an error (POSIX: ignores
// SIGXFSZ, which would end the process and leave its temporary files behind). Call once at start.
void IgnoreFileSizeSignal();

}  // namespace platform
