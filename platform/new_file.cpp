#include "platform/new_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <windows.h>

#include "platform/utf8_path.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#endif

namespace platform {

namespace {

constexpr std::size_t kBufferSize = 1 << 16;
constexpr std::intptr_t kClosed = -1;

#ifdef _WIN32

HANDLE AsHandle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

// Writes up to count bytes; how many, or -1 when the system refused them.
std::int64_t WriteSome(std::intptr_t handle, const char* data, std::size_t count) {
    DWORD written = 0;
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
    return WriteFile(AsHandle(handle), data, chunk, &written, nullptr) ? written : -1;
}

std::error_code LastError() {
    const DWORD error = GetLastError();
    if (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL) {
        return std::make_error_code(std::errc::no_space_on_device);
    }
    return {static_cast<int>(error), std::system_category()};
}

#else

std::error_code LastError() { return {errno, std::generic_category()}; }

std::int64_t WriteSome(std::intptr_t handle, const char* data, std::size_t count) {
    while (true) {
        const ssize_t written = ::write(static_cast<int>(handle), data, count);
        if (written >= 0 || errno != EINTR) return written;
    }
}

#endif

}  // namespace

NewFile::NewFile(std::intptr_t handle, std::string path)
    : handle_(handle), path_(std::move(path)), buffer_(kBufferSize) {
    setp(buffer_.data(), buffer_.data() + buffer_.size());
}

NewFile::~NewFile() { Close(); }

void NewFile::Fail(std::error_code error) {
    if (!error_) error_ = error;
}

bool NewFile::Flush() {
    const std::size_t pending = static_cast<std::size_t>(pptr() - pbase());
    const bool written = WriteAll(pbase(), pending);
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    return written;
}

std::streambuf::int_type NewFile::overflow(int_type c) {
    if (!Flush()) return traits_type::eof();
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    return c;
}

std::streamsize NewFile::xsputn(const char* data, std::streamsize count) {
    const auto size = static_cast<std::size_t>(count);
    if (size <= static_cast<std::size_t>(epptr() - pptr())) {
        std::memcpy(pptr(), data, size);
        pbump(static_cast<int>(size));
        return count;
    }
    if (!Flush()) return 0;
    // Large blocks go straight to the file rather than through the buffer.
    if (size >= buffer_.size()) return WriteAll(data, size) ? count : 0;
    std::memcpy(pptr(), data, size);
    pbump(static_cast<int>(size));
    return count;
}

int NewFile::sync() { return Flush() ? 0 : -1; }

bool NewFile::WriteAll(const char* data, std::size_t count) {
    if (error_) return false;
    while (count > 0) {
        const std::int64_t written = WriteSome(handle_, data, count);
        if (written < 0) {
            Fail(LastError());
            return false;
        }
        data += written;
        count -= static_cast<std::size_t>(written);
    }
    return true;
}

std::streambuf::pos_type NewFile::seekpos(pos_type position, std::ios_base::openmode which) {
    return seekoff(off_type(position), std::ios_base::beg, which);
}

#ifdef _WIN32

std::unique_ptr<NewFile> NewFile::Create(const std::string& path, unsigned) {
    const std::wstring wide = PathFromUtf8(path).wstring();
    // Others may delete it while it is written: an interrupted program removes its own
    // temporary file so (platform/interrupt_guard.h).
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                              nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) return nullptr;
        if (error == ERROR_FILENAME_EXCED_RANGE) {
            throw std::system_error(std::make_error_code(std::errc::filename_too_long),
                                    "cannot create " + path);
        }
        throw std::system_error(static_cast<int>(error), std::system_category(),
                                "cannot create " + path);
    }
    return std::unique_ptr<NewFile>(new NewFile(reinterpret_cast<std::intptr_t>(file), path));
}

std::streambuf::pos_type NewFile::seekoff(off_type offset, std::ios_base::seekdir direction,
                                          std::ios_base::openmode) {
    if (!Flush()) return pos_type(off_type(-1));
    const DWORD method = direction == std::ios_base::beg   ? FILE_BEGIN
                         : direction == std::ios_base::cur ? FILE_CURRENT
                                                           : FILE_END;
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    LARGE_INTEGER reached;
    if (!SetFilePointerEx(AsHandle(handle_), distance, &reached, method)) {
        Fail(LastError());
        return pos_type(off_type(-1));
    }
    return pos_type(off_type(reached.QuadPart));
}

void NewFile::TakeAttributes(const FileFacts& model) {
    if (model.attributes == 0) return;
    // Times of 0 are left as they are; the archive bit stays set, as on any new file.
    FILE_BASIC_INFO info{};
    info.FileAttributes = model.attributes | FILE_ATTRIBUTE_ARCHIVE;
    if (!SetFileInformationByHandle(AsHandle(handle_), FileBasicInfo, &info, sizeof info)) {
        throw std::system_error(LastError(), "cannot set the attributes of " + path_);
    }
}

void NewFile::Commit() {
    if (!Flush()) throw std::system_error(error_, "cannot write " + path_);
    if (!FlushFileBuffers(AsHandle(handle_))) {
        Fail(LastError());
        throw std::system_error(error_, "cannot flush " + path_);
    }
    const BOOL closed = CloseHandle(AsHandle(handle_));
    handle_ = kClosed;
    if (!closed) throw std::system_error(LastError(), "cannot close " + path_);
}

void NewFile::Close() {
    if (handle_ != kClosed) CloseHandle(AsHandle(handle_));
    handle_ = kClosed;
}

void IgnoreFileSizeSignal() {}

#else

std::unique_ptr<NewFile> NewFile::Create(const std::string& path, unsigned mode) {
    const int file =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, static_cast<mode_t>(mode));
    if (file < 0) {
        if (errno == EEXIST) return nullptr;
        throw std::system_error(errno, std::generic_category(), "cannot create " + path);
    }
    return std::unique_ptr<NewFile>(new NewFile(file, path));
}

std::streambuf::pos_type NewFile::seekoff(off_type offset, std::ios_base::seekdir direction,
                                          std::ios_base::openmode) {
    if (!Flush()) return pos_type(off_type(-1));
    const int whence = direction == std::ios_base::beg   ? SEEK_SET
                       : direction == std::ios_base::cur ? SEEK_CUR
                                                         : SEEK_END;
    const off_t reached = ::lseek(static_cast<int>(handle_), static_cast<off_t>(offset), whence);
    if (reached < 0) {
        Fail(LastError());
        return pos_type(off_type(-1));
    }
    return pos_type(off_type(reached));
}

void NewFile::TakeAttributes(const FileFacts& model) {
    const int file = static_cast<int>(handle_);
    // Where giving the file away is not permitted, the group alone may be.
    if (::fchown(file, model.owner, model.group) != 0 &&
        ::fchown(file, static_cast<uid_t>(-1), model.group) != 0) {
        // Neither is: the file stays this process's, as any file it creates.
    }
    // After the owner: changing it clears the set-user and set-group bits.
    if (::fchmod(file, static_cast<mode_t>(model.mode)) != 0) {
        throw std::system_error(LastError(), "cannot set the permissions of " + path_);
    }
}

void NewFile::Commit() {
    if (!Flush()) throw std::system_error(error_, "cannot write " + path_);
    if (::fsync(static_cast<int>(handle_)) != 0) {
        Fail(LastError());
        throw std::system_error(error_, "cannot flush " + path_);
    }
    const int closed = ::close(static_cast<int>(handle_));
    handle_ = kClosed;
    if (closed != 0) throw std::system_error(LastError(), "cannot close " + path_);
}

void NewFile::Close() {
    if (handle_ != kClosed) ::close(static_cast<int>(handle_));
    handle_ = kClosed;
}

void IgnoreFileSizeSignal() { std::signal(SIGXFSZ, SIG_IGN); }

#endif

}  // namespace platform
