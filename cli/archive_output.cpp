#include "cli/archive_output.h"

#include "lgp/archive_saver.h"
#include "lgp/compress_stream.h"

void SaveChangedArchive(TLGPFile& archive, const std::string& path,
                        const std::optional<std::string>& output, bool changed) {
    if (output || changed) SaveArchive(archive, output.value_or(path), CompressStream);
}
