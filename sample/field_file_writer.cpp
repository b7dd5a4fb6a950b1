#include "sample/field_file_writer.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>

#include "sample/background_painter.h"
#include "sample/background_sections.h"
#include "sample/byte_writer.h"
#include "sample/field_sections.h"

namespace sample {
namespace {

constexpr int kSections = 9;
constexpr int kTile = 16;
// The smallest background: the 320 x 240 screen.
constexpr int kScreenColumns = 20;
constexpr int kScreenRows = 15;
constexpr int kSmallestRows = BackgroundPainter::kSmallestHeight / kTile;
static_assert(kScreenColumns * kTile >= BackgroundPainter::kSmallestWidth);

struct Keyword {
    std::string_view word;
    Scene scene;
};

// The first keyword found in a level's description decides its background: rooms before
// caves before machinery before open land; a town street when none matches.
constexpr Keyword kSceneKeywords[] = {
    {"cave", Scene::Cave},
    {"mine", Scene::Cave},
    {"crater", Scene::Cave},
    {"cliff", Scene::Cave},
    {"maze", Scene::Cave},
    {"lifestream", Scene::Cave},
    {"sewer", Scene::Cave},
    {"underground", Scene::Cave},
    {"pipe", Scene::Cave},
    {"temple", Scene::Cave},
    {"house", Scene::Interior},
    {"inn", Scene::Interior},
    {"shop", Scene::Interior},
    {"room", Scene::Interior},
    {"floor", Scene::Interior},
    {"lobby", Scene::Interior},
    {"bar", Scene::Interior},
    {"hall", Scene::Interior},
    {"office", Scene::Interior},
    {"mansion", Scene::Interior},
    {"pub", Scene::Interior},
    {"diner", Scene::Interior},
    {"clinic", Scene::Interior},
    {"inside", Scene::Interior},
    {"cabin", Scene::Interior},
    {"hideout", Scene::Interior},
    {"elevator", Scene::Interior},
    {"museum", Scene::Interior},
    {"hotel", Scene::Interior},
    {"heaven", Scene::Interior},
    {"cockpit", Scene::Interior},
    {"stables", Scene::Interior},
    {"cellar", Scene::Interior},
    {"basement", Scene::Interior},
    {"stairs", Scene::Interior},
    {"boutique", Scene::Interior},
    {"pharmacy", Scene::Interior},
    {"reactor", Scene::Industrial},
    {"sector", Scene::Industrial},
    {"midgar", Scene::Industrial},
    {"train", Scene::Industrial},
    {"plate", Scene::Industrial},
    {"cannon", Scene::Industrial},
    {"ship", Scene::Industrial},
    {"submarine", Scene::Industrial},
    {"rocket", Scene::Industrial},
    {"highwind", Scene::Industrial},
    {"gelnika", Scene::Industrial},
    {"dock", Scene::Industrial},
    {"airport", Scene::Industrial},
    {"barracks", Scene::Industrial},
    {"junon", Scene::Industrial},
    {"forest", Scene::Wilds},
    {"glacier", Scene::Wilds},
    {"wilderness", Scene::Wilds},
    {"plains", Scene::Wilds},
    {"marshes", Scene::Wilds},
    {"jungle", Scene::Wilds},
    {"desert", Scene::Wilds},
    {"valley", Scene::Wilds},
    {"farm", Scene::Wilds},
    {"hill", Scene::Wilds},
    {"mt.", Scene::Wilds},
    {"canyon", Scene::Wilds},
    {"condor", Scene::Wilds},
    {"sea", Scene::Wilds},
    {"sky", Scene::Wilds},
    {"shore", Scene::Wilds},
};

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

bool Contains(const std::string& text, std::string_view word) {
    return text.find(word) != std::string::npos;
}

Scene SceneOf(const std::string& description) {
    for (const Keyword& keyword : kSceneKeywords) {
        if (Contains(description, keyword.word)) return keyword.scene;
    }
    return Scene::Street;
}

Mood MoodOf(const std::string& description, SampleRandom& random) {
    for (const std::string_view word : {"glacier", "icicle", "gaea", "snow"}) {
        if (Contains(description, word)) return Mood::Snow;
    }
    for (const std::string_view word : {"desert", "corel prison", "canyon", "costa"}) {
        if (Contains(description, word)) return Mood::Desert;
    }
    for (const std::string_view word : {"midgar", "sector", "slums", "reactor", "wall market",
                                        "gold saucer", "ghost", "northern cave"}) {
        if (Contains(description, word)) return Mood::Night;
    }
    return random.Chance(0.2) ? Mood::Dusk : Mood::Day;
}

// The place's name as the map-name text shows it: the description up to its first " - ".
std::string LocationOf(std::string_view description) {
    return std::string(description.substr(0, description.find(" - ")));
}

int TextCount(TextLayout layout, SampleRandom& random) {
    if (layout == TextLayout::TinyTextSection) return random.Range(2, 6);
    // Most levels have a few dozen texts, towns up to about 150.
    return 1 + static_cast<int>(149 * std::pow(random.Real(), 2.2));
}

}  // namespace

SampleField MakeFieldFile(std::string_view name, std::string_view description, TextLayout layout,
                          std::uint64_t seed) {
    SampleRandom random(seed);
    const std::string lowerDescription = Lower(description);
    SampleField field;
    SampleLevel& level = field.level;
    level.name = std::string(name);
    level.layout = layout;

    ScriptSectionPlan plan;
    plan.levelName = level.name;
    plan.location = LocationOf(description);
    plan.layout = layout;
    plan.texts = TextCount(layout, random);
    ScriptSection script = MakeScriptSection(plan, random);
    level.entities = script.entities;
    level.texts = script.texts;
    level.textBytes = script.textBytes;
    level.windows = script.tally.windows;
    level.messages = script.tally.messages;
    level.tagged = std::move(script.tagged);
    for (int t = 0; t < script.texts; ++t) {
        const int links = script.tally.windowLinks[static_cast<std::size_t>(t)];
        level.textWindows.push_back(links);
        level.windowLinks += links;
        if (links > 0) ++level.windowedTexts;
    }

    // The background fills one to four texture pages, most levels one or two. A small
    // picture stands in the middle of the screen with black around it.
    const double roll = random.Real();
    const int pages = roll < 0.55 ? 1 : roll < 0.85 ? 2 : roll < 0.96 ? 3 : 4;
    const int tiles = static_cast<int>(pages * 256 * random.Real(0.78, 0.95) / 1.08);
    const int columns = std::clamp(random.Range(kScreenColumns, 40), kScreenColumns,
                                   std::max(kScreenColumns, tiles / kScreenRows));
    Scene scene = SceneOf(lowerDescription);
    Mood mood = MoodOf(lowerDescription, random);
    int paintedRows = std::max(kSmallestRows, tiles / columns);
    if (description.starts_with("Black screen")) {
        // Event scenes on a black screen: a dark strip in the middle.
        scene = Scene::Industrial;
        mood = Mood::Night;
        paintedRows = kSmallestRows;
    }
    const int rows = std::max(paintedRows, kScreenRows);
    BackgroundPainter painter(columns * kTile, paintedRows * kTile, random);
    const Painting painting = painter.Paint(scene, mood, random.Range(2, 6));
    BackgroundSections background =
        MakeBackgroundSections(painting, (rows - paintedRows) / 2 * kTile, rows * kTile, random);
    level.texturePages = background.pages;
    level.backgroundWidth = columns * kTile;
    level.backgroundHeight = rows * kTile;

    const std::array<std::vector<std::uint8_t>, kSections> sections = {
        std::move(script.bytes),
        CameraSection(random),
        ModelLoaderSection(script.models, random),
        std::move(background.palette),
        WalkmeshSection(random),
        TileMapSection(random),
        EncounterSection(random),
        TriggerSection(name, random),
        std::move(background.background),
    };
    ByteWriter file;
    std::size_t size = 6 + 8 * kSections;
    for (const auto& section : sections) size += section.size();
    file.Reserve(size);
    file.U16(0);
    file.U32(kSections);
    const std::size_t positions = file.Size();
    file.Zeros(4 * kSections);
    for (int s = 0; s < kSections; ++s) {
        file.PatchU32(positions + 4 * s, static_cast<std::uint32_t>(file.Size()));
        file.U32(static_cast<std::uint32_t>(sections[s].size()));
        file.Append(sections[s]);
    }
    field.decoded = file.Take();
    level.decodedSize = field.decoded.size();
    return field;
}

}  // namespace sample
