#include "cli/png_file.h"

#include <cstdint>
#include <stdexcept>
#include <vector>

#include <QBuffer>
#include <QByteArray>
#include <QImage>

#include "cli/command.h"

namespace cli {

void WritePngFile(const std::string& path, const QImage& picture) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "PNG")) throw std::runtime_error("cannot make the PNG picture");
    WriteWholeFile(path, std::vector<std::uint8_t>(png.begin(), png.end()));
}

}  // namespace cli
