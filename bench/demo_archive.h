#pragma once

#include <filesystem>

// The full demo archive (the default seed), written once per run to the temporary folder as
// `fileName`; later calls give the same path, whatever name they pass. Throws what writing
// the archive throws.
const std::filesystem::path& DemoArchivePath(const char* fileName);
