#include "platform/shell_link.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/link_file.h"
#include "tests/platform/temporary_wine_prefix.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using platform::LinkFileTarget;

// What a built link records: an ID list of `idListSize` bytes unless 0, and the local base path
// and common path suffix in ANSI and, when `unicode`, in UTF-16 too.
struct Link {
    std::size_t idListSize = 0;
    std::string base = {};
    std::string suffix = {};
    bool unicode = false;
    std::u16string unicodeBase = {};
    std::u16string unicodeSuffix = {};
};

constexpr std::size_t kLinkInfo = 0x4C;  // where the LinkInfo starts without an ID list

void PutU16(Bytes& bytes, std::size_t at, std::uint32_t value) {
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void PutU32(Bytes& bytes, std::size_t at, std::uint32_t value) {
    PutU16(bytes, at, value);
    PutU16(bytes, at + 2, value >> 16);
}

// A shell link file that ends with its LinkInfo, laid out as the shell writes one.
Bytes BuildLink(const Link& link) {
    Bytes bytes;
    bytes.reserve(512);  // spares GCC 12 a false -Warray-bounds on growing the vector
    bytes.resize(0x4C);
    PutU32(bytes, 0, 0x4C);
    const std::uint8_t clsid[] = {0x01, 0x14, 0x02, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46};
    std::copy(std::begin(clsid), std::end(clsid), bytes.begin() + 4);
    PutU32(bytes, 0x14, 0x2 | 0x80 | (link.idListSize > 0 ? 0x1 : 0));  // HasLinkInfo, IsUnicode
    if (link.idListSize > 0) {
        bytes.insert(bytes.end(), {static_cast<std::uint8_t>(link.idListSize), 0});
        bytes.insert(bytes.end(), link.idListSize, 0x5A);
    }

    const std::size_t start = bytes.size();
    const std::uint32_t headerSize = link.unicode ? 0x24 : 0x1C;
    bytes.resize(start + headerSize, 0);
    PutU32(bytes, start + 4, headerSize);
    PutU32(bytes, start + 8, 0x1);  // VolumeIDAndLocalBasePath
    const auto field = [&](std::size_t offset) {
        PutU32(bytes, start + offset, static_cast<std::uint32_t>(bytes.size() - start));
    };
    field(0x0C);  // a VolumeID of a fixed drive without label
    for (const std::uint8_t byte :
         {0x11, 0, 0, 0, 3, 0, 0, 0, 0x78, 0x56, 0x34, 0x12, 0x10, 0, 0, 0, 0}) {
        bytes.push_back(byte);
    }
    const auto ansi = [&](std::size_t offset, const std::string& text) {
        field(offset);
        bytes.insert(bytes.end(), text.begin(), text.end());
        bytes.push_back(0);
    };
    const auto utf16 = [&](std::size_t offset, const std::u16string& text) {
        field(offset);
        for (const char16_t unit : text) {
            bytes.insert(bytes.end(), {std::uint8_t(unit), std::uint8_t(unit >> 8)});
        }
        bytes.insert(bytes.end(), {0, 0});
    };
    ansi(0x10, link.base);
    ansi(0x18, link.suffix);
    if (link.unicode) {
        utf16(0x1C, link.unicodeBase);
        utf16(0x20, link.unicodeSuffix);
    }
    PutU32(bytes, start, static_cast<std::uint32_t>(bytes.size() - start));
    return bytes;
}

const Link kPlain = {.base = "C:\\Games\\FF7\\data\\field\\flevel.lgp"};

TEST(LinkFileTest, ReadsTheLocalPath) {
    struct Case {
        const char* what;
        Link link;
        std::string expected;
    };
    const Case cases[] = {
        {"ANSI", kPlain, "C:\\Games\\FF7\\data\\field\\flevel.lgp"},
        {"after an ID list", {.idListSize = 40, .base = "C:\\flevel.lgp"}, "C:\\flevel.lgp"},
        {"base and suffix",
         {.base = "C:\\Games\\", .suffix = "FF7\\flevel.lgp"},
         "C:\\Games\\FF7\\flevel.lgp"},
        {"Windows-1252",
         {.base = "C:\\\xDC"
                  "ber\x80\\",
          .suffix = "a.lgp"},
         "C:\\\u00DCber\u20AC\\a.lgp"},
        {"Unicode before ANSI",
         {.idListSize = 12,
          .base = "C:\\?\\a.lgp",
          .unicode = true,
          .unicodeBase = u"C:\\\u30B2\u30FC\u30E0\\",
          .unicodeSuffix = u"\U0001F600.lgp"},
         "C:\\\u30B2\u30FC\u30E0\\\U0001F600.lgp"},
    };
    for (const Case& test : cases) {
        const Bytes bytes = BuildLink(test.link);
        EXPECT_EQ(LinkFileTarget(bytes), test.expected) << test.what;
        // Every shorter file is cut inside the LinkInfo; any single damaged byte must not lead
        // the reader outside the buffer either.
        for (std::size_t size = 0; size < bytes.size(); ++size) {
            EXPECT_EQ(LinkFileTarget(Bytes(bytes.begin(), bytes.begin() + size)), "")
                << test.what << ", " << size << " bytes";
        }
        for (std::size_t at = 0; at < bytes.size(); ++at) {
            Bytes damaged = bytes;
            damaged[at] ^= 0xFF;
            LinkFileTarget(damaged);
        }
    }
}

TEST(LinkFileTest, MalformedLinksGiveNothing) {
    const Bytes plain = BuildLink(kPlain);
    const auto linkInfoSize = static_cast<std::uint32_t>(plain.size() - kLinkInfo);
    struct Case {
        const char* what;
        std::function<void(Bytes&)> damage;
    };
    const Case cases[] = {
        {"header size", [](Bytes& b) { PutU32(b, 0, 0x4D); }},
        {"class", [](Bytes& b) { b[19] = 0x47; }},
        {"no LinkInfo flag", [](Bytes& b) { b[0x14] &= ~0x2; }},
        {"ID list flag without a list", [](Bytes& b) { b[0x14] |= 0x1; }},
        {"no local path", [](Bytes& b) { PutU32(b, kLinkInfo + 8, 0x2); }},
        {"LinkInfo past the end", [&](Bytes& b) { PutU32(b, kLinkInfo, linkInfoSize + 1); }},
        {"LinkInfo within its header", [](Bytes& b) { PutU32(b, kLinkInfo, 0x18); }},
        {"LinkInfo header size", [](Bytes& b) { PutU32(b, kLinkInfo + 4, 0x20); }},
        {"LinkInfo header past it", [&](Bytes& b) { PutU32(b, kLinkInfo + 4, linkInfoSize + 4); }},
        {"base in the header", [](Bytes& b) { PutU32(b, kLinkInfo + 0x10, 4); }},
        {"base past the end", [&](Bytes& b) { PutU32(b, kLinkInfo + 0x10, linkInfoSize); }},
        {"suffix far out", [](Bytes& b) { PutU32(b, kLinkInfo + 0x18, 0xFFFFFFFF); }},
        {"suffix unterminated", [&](Bytes& b) { PutU32(b, kLinkInfo, linkInfoSize - 1); }},
        {"Unicode offsets into the header", [](Bytes& b) { PutU32(b, kLinkInfo + 4, 0x24); }},
    };
    for (const Case& test : cases) {
        Bytes bytes = plain;
        test.damage(bytes);
        EXPECT_EQ(LinkFileTarget(bytes), "") << test.what;
    }
}

TEST(ShellLinkTest, ShortcutsAreNamedDotLnkInAnyCase) {
    const std::pair<const char*, bool> cases[] = {
        {"flevel.lnk", true},  {"FLEVEL.LNK", true},      {"dir/Flevel.Lnk", true},  {".lnk", true},
        {"flevel.lgp", false}, {"flevel.lnk.lgp", false}, {"dir.lnk/flevel", false}, {"lnk", false},
        {"", false},
    };
    for (const auto& [path, expected] : cases) {
        EXPECT_EQ(platform::IsShortcut(path), expected) << path;
    }
}

TEST(ShellLinkTest, FollowsShortcutsIntoTheWinePrefix) {
    const TemporaryWinePrefix prefix("shell_link");
    std::filesystem::create_directories(prefix.Root() / "drive_c" / "Games" / "FF7");
    const char* saved = std::getenv("WINEPREFIX");
    const std::string savedPrefix = saved != nullptr ? saved : "";
    setenv("WINEPREFIX", prefix.Root().c_str(), 1);

    struct Case {
        const char* what;
        Bytes contents;
        std::filesystem::path expected;
    };
    const Case cases[] = {
        {"on a drive of the prefix", BuildLink({.base = "C:\\GAMES\\ff7\\flevel.lgp"}),
         prefix.Root() / "drive_c" / "Games" / "FF7" / "flevel.lgp"},
        {"on another drive", BuildLink({.base = "D:\\flevel.lgp"}), "D:\\flevel.lgp"},
        {"not a link", Bytes{'L', 0, 0, 0}, {}},
    };
    const std::filesystem::path shortcut = prefix.Root() / "flevel.lnk";
    for (const Case& test : cases) {
        std::ofstream(shortcut, std::ios::binary)
            .write(reinterpret_cast<const char*>(test.contents.data()),
                   static_cast<std::streamsize>(test.contents.size()));
        EXPECT_EQ(platform::ShortcutTarget(shortcut), test.expected) << test.what;
    }
    EXPECT_EQ(platform::ShortcutTarget(prefix.Root() / "missing.lnk"), std::filesystem::path());

    if (saved != nullptr) {
        setenv("WINEPREFIX", savedPrefix.c_str(), 1);
    } else {
        unsetenv("WINEPREFIX");
    }
}

}  // namespace
