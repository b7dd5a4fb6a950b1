#include "jobs/save_as_name.h"

namespace jobs {

QString SaveAsFileName(const QString& chosen, bool archiveFilterSelected) {
    // The extension runs from the last dot; one that spans a folder separator is never ".lgp",
    // so the name has the extension exactly when it ends with it.
    if (archiveFilterSelected && !chosen.endsWith(QStringLiteral(".lgp"), Qt::CaseInsensitive)) {
        return chosen + QStringLiteral(".lgp");
    }
    return chosen;
}

}  // namespace jobs
