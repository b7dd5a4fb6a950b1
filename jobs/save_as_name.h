#pragma once

#include <QString>

namespace jobs {

// The file name that "Save as..." writes: `chosen` with ".lgp" appended when the archive
// filter (the dialog's first) is selected and its extension is not ".lgp" in any letter case;
// otherwise `chosen` as typed.
QString SaveAsFileName(const QString& chosen, bool archiveFilterSelected);

}  // namespace jobs
