#include "jobs/qt_strings.h"

namespace jobs {

QString fromUtf8(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string toUtf8(const QString& text) { return text.toStdString(); }

QString fromWindows1252(std::string_view windows1252) {
    return fromUtf8(text::Windows1252ToUtf8(windows1252));
}

text::Windows1252Text toWindows1252(const QString& text) {
    return text::Utf8ToWindows1252(toUtf8(text));
}

}  // namespace jobs
