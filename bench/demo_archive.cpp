#include "bench/demo_archive.h"

#include "sample/sample_archive.h"

const std::filesystem::path& DemoArchivePath(const char* fileName) {
    static const std::filesystem::path path = [fileName] {
        const std::filesystem::path file = std::filesystem::temp_directory_path() / fileName;
        sample::WriteSampleArchive(file.string());
        return file;
    }();
    return path;
}
