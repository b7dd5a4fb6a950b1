#include "sample/script_section.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string_view>

#include "sample/byte_writer.h"
#include "sample/dialogue_writer.h"
#include "lgp/field_opcodes.h"
#include "text/text_encoder.h"

namespace sample {
namespace {

constexpr int kScriptsPerEntity = 32;
constexpr int kHeaderSize = 32;
constexpr int kScreenWidth = 320;
constexpr int kScreenHeight = 240;
// Windows 0 to 2 carry dialogue; 3 is kept for messages that no window of theirs precedes.
constexpr std::uint8_t kUnopenedWindow = 3;
// Comparison codes of the IF opcodes.
constexpr std::uint8_t kEqual = 0;
constexpr std::uint8_t kNotEqual = 1;

struct PartyMember {
    std::string_view entity;
    std::string_view tag;
};
constexpr PartyMember kParty[] = {
    {"cl", "{CLOUD}"},       {"ba", "{BARRET}"},    {"ti", "{TIFA}"},
    {"ae", "{AERIS}"},       {"red", "{RED XIII}"}, {"yuf", "{YUFFIE}"},
    {"cait", "{CAIT SITH}"}, {"vin", "{VINCENT}"},  {"cid", "{CID}"},
};
constexpr std::string_view kObjects[] = {"door", "save", "tre", "sign", "shop", "gate", "elev"};
constexpr std::string_view kCreators[] = {"field01", "evtteam", "mapteam", "scenario"};

// Opcodes of everyday script code: moves, animations, variables, sounds, camera and fades.
constexpr std::uint8_t kCommonOpcodes[] = {
    0x01, 0x02, 0x03, 0x24, 0xA8, 0xAB, 0xA3, 0xAE, 0xAF, 0xB0, 0xB2, 0xB3, 0x5E, 0xF1,
    0x80, 0x81, 0x82, 0x83, 0x85, 0x76, 0x7A, 0x95, 0xC7, 0xC5, 0xA4, 0x6B, 0x6C, 0x64,
    0x67, 0xE0, 0xE1, 0x52, 0x2E, 0x58, 0x99, 0x33, 0xBF, 0xD1, 0x2A, 0x34, 0x35, 0xB4,
    0xB5, 0x22, 0x74, 0x75, 0x9D, 0x9E, 0xE5, 0xE6, 0xE7, 0xE9, 0xF0, 0xF2, 0x26, 0x71,
};

// Opcodes a random pick may not use: those that never occur or carry their own length, the
// dialogue opcodes counted separately, jumps and conditions (their targets are laid out by
// ScriptBuilder) and the returns that would end the script early.
bool Pickable(std::uint8_t opcode) {
    const std::uint8_t length = lgp::kOpcodeLengths[opcode];
    if (length == lgp::kOpcodeNeverOccurs || length == lgp::kOpcodeLengthInParameters) return false;
    if (opcode >= 0x10 && opcode <= 0x19) return false;
    switch (opcode) {
        case 0x00:
        case 0x07:
        case lgp::kOpcodeWindowSize:
        case 0x30:
        case 0x31:
        case 0x32:
        case lgp::kOpcodeMessage:
        case lgp::kOpcodeAsk:
        case lgp::kOpcodeWindow:
        case 0xCB:
        case 0xCC:
            return false;
        default:
            return true;
    }
}

struct Entity {
    std::string name;
    std::vector<std::vector<std::uint8_t>> scripts;
    bool model = false;
};

class SectionComposer {
public:
    SectionComposer(const ScriptSectionPlan& plan, SampleRandom& random)
        : plan_(plan), random_(random), writer_(random) {}

    ScriptSection Compose();

private:
    // A byte parameter as scripts use them: mostly bank nibbles, flags and small counts.
    std::uint8_t Argument();
    std::vector<std::uint8_t> Arguments(std::uint8_t opcode);
    void Ordinary(ScriptBuilder& script, int count);
    void RareOpcode(ScriptBuilder& script);
    void Special(ScriptBuilder& script);
    void Kawai(ScriptBuilder& script);

    bool TextsLeft() const { return static_cast<int>(dialogues_.size()) < shownTexts_; }
    std::uint8_t AddText(Dialogue dialogue);
    // A text written earlier (not the location name), or -1 when there is none.
    int EarlierText();
    void OpenWindow(ScriptBuilder& script, std::uint8_t id, const Dialogue& fitting, bool resize);

    void TalkScene(ScriptBuilder& script, std::string_view speaker, bool partyMember);
    void QuestionScene(ScriptBuilder& script, std::string_view speaker);
    void Cutscene(ScriptBuilder& script, int texts);
    void NoticeScene(ScriptBuilder& script);

    std::vector<std::uint8_t> DirectorInit();
    std::vector<std::uint8_t> IdleLoop();
    std::vector<std::uint8_t> CharacterInit(int model, bool partyMember);
    Entity Director();
    Entity Person(std::string name, std::string_view speaker, bool partyMember, int model);
    Entity WalkLine(int number);
    Entity Object(std::string_view kind, int number);

    std::vector<std::uint8_t> AkaoBlock(int id);
    std::vector<std::uint8_t> TextSection(std::size_t& textBytes) const;

    const ScriptSectionPlan& plan_;
    SampleRandom& random_;
    DialogueWriter writer_;
    DialogueTally tally_;
    std::vector<Dialogue> dialogues_;
    std::vector<std::string_view> cast_;
    // Texts that scripts show; any beyond are stored but never shown.
    int shownTexts_ = 0;
};

std::uint8_t SectionComposer::Argument() {
    const double roll = random_.Real();
    if (roll < 0.6) return static_cast<std::uint8_t>(random_.Below(8));
    if (roll < 0.9) return static_cast<std::uint8_t>(random_.Below(64));
    return static_cast<std::uint8_t>(random_.Below(256));
}

std::vector<std::uint8_t> SectionComposer::Arguments(std::uint8_t opcode) {
    std::vector<std::uint8_t> parameters(lgp::kOpcodeLengths[opcode]);
    for (auto& parameter : parameters) parameter = Argument();
    return parameters;
}

void SectionComposer::Ordinary(ScriptBuilder& script, int count) {
    for (int i = 0; i < count; ++i) {
        const double roll = random_.Real();
        if (roll < 0.08) {
            RareOpcode(script);
        } else if (roll < 0.11) {
            Special(script);
        } else if (roll < 0.13) {
            Kawai(script);
        } else {
            const std::uint8_t opcode = random_.Pick(kCommonOpcodes);
            script.Op(opcode, Arguments(opcode));
        }
    }
}

void SectionComposer::RareOpcode(ScriptBuilder& script) {
    std::uint8_t opcode;
    do {
        opcode = static_cast<std::uint8_t>(random_.Below(256));
    } while (!Pickable(opcode));
    script.Op(opcode, Arguments(opcode));
}

void SectionComposer::Special(ScriptBuilder& script) {
    switch (random_.Below(9)) {
        case 0:
            script.Special(0xF5, {static_cast<std::uint8_t>(random_.Below(2))});
            break;
        case 1:
            script.Special(0xFB, {static_cast<std::uint8_t>(random_.Below(2))});
            break;
        case 2:
            script.Special(0xFC, {static_cast<std::uint8_t>(random_.Below(2))});
            break;
        case 3:
            script.Special(0xF8, {Argument(), 0});
            break;
        case 4:
            script.Special(0xFD, {Argument(), Argument()});
            break;
        case 5:
            script.Special(0xF9, {});
            break;
        case 6:
            script.Special(0xFA, {});
            break;
        case 7:
            script.Special(0xFE, {});
            break;
        default:
            script.Special(0xFF, {});
            break;
    }
}

void SectionComposer::Kawai(ScriptBuilder& script) {
    constexpr std::uint8_t kSubOpcodes[] = {0x00, 0x01, 0x02, 0x03, 0x06, 0x0D};
    std::vector<std::uint8_t> parameters(random_.Range(1, 8));
    for (auto& parameter : parameters) parameter = Argument();
    script.Kawai(random_.Pick(kSubOpcodes), parameters);
}

std::uint8_t SectionComposer::AddText(Dialogue dialogue) {
    if (dialogues_.size() >= 256) throw std::logic_error("a level holds at most 256 texts");
    dialogues_.push_back(std::move(dialogue));
    return static_cast<std::uint8_t>(dialogues_.size() - 1);
}

int SectionComposer::EarlierText() {
    if (dialogues_.size() < 2) return -1;
    return 1 + static_cast<int>(random_.Below(static_cast<std::uint32_t>(dialogues_.size() - 1)));
}

void SectionComposer::OpenWindow(ScriptBuilder& script, std::uint8_t id, const Dialogue& fitting,
                                 bool resize) {
    const int width = std::clamp(fitting.widestLine * 7 + 16, 40, kScreenWidth - 16);
    const int height = std::clamp(fitting.tallestPage * 16 + 9, 25, kScreenHeight - 16);
    const int x = random_.Range(8, std::max(8, kScreenWidth - width - 8));
    const int y = random_.Range(8, std::max(8, kScreenHeight - height - 8));
    if (resize) {
        script.ResizeWindow(id, x, y, width, height);
    } else {
        script.Window(id, x, y, width, height);
    }
}

void SectionComposer::TalkScene(ScriptBuilder& script, std::string_view speaker, bool partyMember) {
    ScriptBuilder body = script.Block();
    Ordinary(body, random_.Range(0, 2));
    // One window shows all the texts of the scene: it fits the largest of them.
    std::vector<std::uint8_t> texts;
    Dialogue fitting;
    for (int n = random_.Range(1, 3); n > 0 && TextsLeft(); --n) {
        Dialogue dialogue = writer_.Speech(speaker, partyMember);
        fitting.widestLine = std::max(fitting.widestLine, dialogue.widestLine);
        fitting.tallestPage = std::max(fitting.tallestPage, dialogue.tallestPage);
        texts.push_back(AddText(std::move(dialogue)));
    }
    const int earlier = EarlierText();
    if (random_.Chance(0.12) && earlier > 0) {
        fitting.widestLine = std::max(fitting.widestLine, dialogues_[earlier].widestLine);
        fitting.tallestPage = std::max(fitting.tallestPage, dialogues_[earlier].tallestPage);
        texts.push_back(static_cast<std::uint8_t>(earlier));
    }
    if (texts.empty()) return;
    const std::uint8_t window = static_cast<std::uint8_t>(random_.Below(3));
    OpenWindow(body, window, fitting, false);
    if (random_.Chance(0.2))
        body.Op(0x52, {window, static_cast<std::uint8_t>(random_.Below(3)), 0});
    for (const std::uint8_t text : texts) body.Message(window, text);
    Ordinary(body, random_.Range(0, 2));
    const double roll = random_.Real();
    if (roll < 0.3) {
        // Said once: a flag in bank 1 keeps the scene from running again.
        const std::uint8_t flag = static_cast<std::uint8_t>(random_.Below(256));
        body.Op(0x82, {0x10, flag, static_cast<std::uint8_t>(random_.Below(8))});
        script.IfByte(0x10, flag, 0, kEqual, body);
    } else if (roll < 0.6) {
        // Only at some point of the story.
        const std::uint8_t address = Argument();
        script.IfByte(0x10, address, Argument(), kNotEqual, body);
    } else {
        script.Append(body);
    }
}

void SectionComposer::QuestionScene(ScriptBuilder& script, std::string_view speaker) {
    const Dialogue question = writer_.Question(speaker);
    const int choices = question.lastChoice - question.firstChoice + 1;
    const std::uint8_t window = static_cast<std::uint8_t>(random_.Below(3));
    OpenWindow(script, window, question, false);
    const std::uint8_t address = static_cast<std::uint8_t>(random_.Range(0, 31));
    const std::uint8_t asked = AddText(question);
    script.Ask(0x02, window, asked, static_cast<std::uint8_t>(question.firstChoice),
               static_cast<std::uint8_t>(question.lastChoice), address);
    for (int answer = 0; answer < choices && TextsLeft(); ++answer) {
        ScriptBuilder branch = script.Block();
        if (random_.Chance(0.5)) {
            // The answer reuses the question's window.
            branch.Message(window, AddText(writer_.Speech(speaker, false)));
        } else {
            const Dialogue reply = writer_.Notice();
            OpenWindow(branch, window, reply, true);
            branch.Message(window, AddText(reply));
        }
        Ordinary(branch, random_.Range(0, 2));
        script.IfByte(0x02, address, static_cast<std::uint8_t>(answer), kEqual, branch);
    }
}

void SectionComposer::Cutscene(ScriptBuilder& script, int texts) {
    script.Op(0x33, {1});  // the player loses control
    if (random_.Chance(0.5)) script.Op(0x6B, {0, 0, 0, 0, 0, 8, 1, 0});
    std::array<Dialogue, 3> opened{};
    std::array<bool, 3> isOpen{};
    for (int n = 0; n < texts && TextsLeft(); ++n) {
        Ordinary(script, random_.Range(1, 4));
        const std::size_t who = random_.Below(static_cast<std::uint32_t>(cast_.size()));
        const std::string_view speaker = cast_[who];
        const bool partyMember = speaker.front() == '{';
        const Dialogue dialogue = writer_.Speech(speaker, partyMember);
        if (random_.Chance(0.06)) {
            // Window 3 is never opened here: this message has no window of its own.
            script.Message(kUnopenedWindow, AddText(dialogue));
            continue;
        }
        const std::uint8_t window = static_cast<std::uint8_t>(who % 3);
        const bool fits = isOpen[window] && opened[window].widestLine >= dialogue.widestLine &&
                          opened[window].tallestPage >= dialogue.tallestPage;
        if (!fits) {
            OpenWindow(script, window, dialogue, isOpen[window] && random_.Chance(0.6));
            opened[window] = dialogue;
            isOpen[window] = true;
        }
        script.Message(window, AddText(dialogue));
        if (random_.Chance(0.15)) script.Op(0x2E, {window});
    }
    script.Op(0x33, {0});
}

void SectionComposer::NoticeScene(ScriptBuilder& script) {
    int text = -1;
    Dialogue notice;
    if (TextsLeft()) {
        notice = writer_.Notice();
        text = AddText(notice);
    } else {
        text = EarlierText();
        if (text < 0) return;
        notice = dialogues_[text];
    }
    if (random_.Chance(0.6)) {
        const std::uint8_t window = static_cast<std::uint8_t>(random_.Below(3));
        OpenWindow(script, window, notice, false);
        script.Message(window, static_cast<std::uint8_t>(text));
    } else {
        // Shown without a window opcode: the game uses the window's last or default place.
        script.Message(static_cast<std::uint8_t>(random_.Below(4)),
                       static_cast<std::uint8_t>(text));
    }
    if (random_.Chance(0.3)) script.Op(0x58, {0, Argument(), 0, 1});
}

std::vector<std::uint8_t> SectionComposer::DirectorInit() {
    ScriptBuilder script(tally_);
    script.Op(0x43, {0});  // the map name is text 0
    script.Op(0xF0, {static_cast<std::uint8_t>(random_.Below(40))});
    script.Op(0x72, {Argument(), 0});
    for (int i = random_.Range(1, 5); i > 0; --i) {
        script.Op(0x80, {0x20, Argument(), Argument()});
    }
    ScriptBuilder layers = script.Block();
    layers.Op(0xE0, {0, Argument(), Argument()});
    layers.Op(0xE1, {0, Argument(), Argument()});
    const std::uint8_t address = Argument();
    script.IfByte(0x20, address, Argument(), kEqual, layers);
    Special(script);
    Ordinary(script, random_.Range(2, 10));
    if (random_.Chance(0.2)) {
        // A countdown: a window that shows only a number, never a text.
        script.Window(kUnopenedWindow, 120, 8, 80, 25);
        script.Op(0x36, {kUnopenedWindow, 1, 0, 0});
        script.Op(0x37, {0, kUnopenedWindow, 0, 0, 0, 0, 4});
    }
    script.Op(0x6B, {0, 0, 0, 0, 0, 8, 2, 0});
    script.Return();
    return script.Code();
}

std::vector<std::uint8_t> SectionComposer::IdleLoop() {
    ScriptBuilder script(tally_);
    const std::size_t start = script.Size();
    Ordinary(script, random_.Range(1, 6));
    script.Op(0x24, {static_cast<std::uint8_t>(random_.Range(1, 90)), 0});
    if (random_.Chance(0.5)) script.JumpBack(start);
    script.Return();
    return script.Code();
}

std::vector<std::uint8_t> SectionComposer::CharacterInit(int model, bool partyMember) {
    ScriptBuilder script(tally_);
    script.Op(0xA1, {static_cast<std::uint8_t>(model)});
    if (partyMember) {
        script.Op(0xA0, {static_cast<std::uint8_t>(random_.Below(9))});
    } else {
        const int x = random_.Range(-1200, 1200);
        const int y = random_.Range(-1200, 1200);
        script.Op(0xA5, {0, 0, static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(x >> 8),
                         static_cast<std::uint8_t>(y), static_cast<std::uint8_t>(y >> 8), 0, 0,
                         static_cast<std::uint8_t>(random_.Below(200)), 0});
        script.Op(0xB3, {0, static_cast<std::uint8_t>(random_.Below(256))});
        script.Op(0xC5, {0, 1});
    }
    Ordinary(script, random_.Range(0, 3));
    script.Return();
    return script.Code();
}

Entity SectionComposer::Director() {
    Entity director{"dir", {}, false};
    director.scripts.push_back(DirectorInit());
    director.scripts.push_back(IdleLoop());
    return director;
}

Entity SectionComposer::Person(std::string name, std::string_view speaker, bool partyMember,
                               int model) {
    Entity person{std::move(name), {}, true};
    person.scripts.push_back(CharacterInit(model, partyMember));
    person.scripts.push_back(IdleLoop());
    ScriptBuilder talk(tally_);
    if (!partyMember && random_.Chance(0.15) && TextsLeft()) {
        QuestionScene(talk, speaker);
    } else if (TextsLeft() || random_.Chance(0.3)) {
        TalkScene(talk, speaker, partyMember);
    }
    talk.Return();
    person.scripts.push_back(talk.Code());
    return person;
}

Entity SectionComposer::WalkLine(int number) {
    Entity line{"line" + std::to_string(number), {}, false};
    ScriptBuilder init(tally_);
    std::vector<std::uint8_t> points(12);
    for (auto& point : points) point = static_cast<std::uint8_t>(random_.Below(256));
    init.Op(0xD0, points);
    init.Return();
    line.scripts.push_back(init.Code());
    ScriptBuilder crossed(tally_);
    if (random_.Chance(0.35)) {
        NoticeScene(crossed);
    } else {
        crossed.Op(0x60, {static_cast<std::uint8_t>(random_.Below(256)),
                          static_cast<std::uint8_t>(random_.Below(3)), Argument(), Argument(),
                          Argument(), Argument(), Argument(), 0, Argument()});
    }
    crossed.Return();
    line.scripts.push_back(crossed.Code());
    return line;
}

Entity SectionComposer::Object(std::string_view kind, int number) {
    Entity object{std::string(kind) + std::to_string(number), {}, random_.Chance(0.5)};
    ScriptBuilder init(tally_);
    if (object.model) init.Op(0xA1, {static_cast<std::uint8_t>(random_.Below(40))});
    Ordinary(init, random_.Range(1, 4));
    init.Return();
    object.scripts.push_back(init.Code());
    for (int s = random_.Range(1, 2); s > 0; --s) {
        ScriptBuilder script(tally_);
        NoticeScene(script);
        script.Return();
        object.scripts.push_back(script.Code());
    }
    return object;
}

std::vector<std::uint8_t> SectionComposer::AkaoBlock(int id) {
    // A sound sequence: header, channel mask, then notes with now and then a command.
    ByteWriter block;
    const int length = random_.Range(120, 2400);
    block.Text("AKAO");
    block.U16(id);
    block.U16(length);
    block.U16(0x0102);
    block.Zeros(6);
    block.U32(random_.Range(1, 15));
    for (int i = 0; i < length; ++i) {
        if (random_.Chance(0.12)) {
            block.U8(0xA0 + random_.Below(0x5F));
            block.U8(Argument());
        } else {
            block.U8(random_.Below(0x9A));
        }
    }
    block.U8(0xA0);
    return block.Take();
}

std::vector<std::uint8_t> SectionComposer::TextSection(std::size_t& textBytes) const {
    ByteWriter section;
    textBytes = 0;
    switch (plan_.layout) {
        case TextLayout::EmptyListThenAkao:
        case TextLayout::TinyTextSection:
            // A count of 0, then a list that ends at once with its 0 entry.
            section.U16(0);
            section.U16(0);
            return section.Take();
        default:
            break;
    }
    section.U16(static_cast<unsigned>(dialogues_.size()));
    const std::size_t listStart = section.Size();
    section.Zeros(2 * dialogues_.size());
    for (std::size_t t = 0; t < dialogues_.size(); ++t) {
        if (section.Size() > 0xFFFF) throw std::logic_error("text section too large");
        section.PatchU16(listStart + 2 * t, static_cast<unsigned>(section.Size()));
        const std::vector<std::uint8_t> bytes = text::EncodeText(dialogues_[t].tagged, true);
        section.Append(bytes);
        textBytes += bytes.size();
    }
    return section.Take();
}

ScriptSection SectionComposer::Compose() {
    const TextLayout layout = plan_.layout;
    const bool hasTexts = layout != TextLayout::EmptyListThenAkao;
    const int texts = hasTexts ? std::max(1, plan_.texts) : 0;
    const int neverShown = texts >= 20 ? random_.Range(0, texts / 20) : 0;
    shownTexts_ = texts - neverShown;
    if (hasTexts) AddText(writer_.LocationName(plan_.location));

    // Who is here: a few party members and the townsfolk, who speak in cutscenes too.
    std::vector<std::size_t> party(std::size(kParty));
    for (std::size_t i = 0; i < party.size(); ++i) party[i] = i;
    for (std::size_t i = party.size() - 1; i > 0; --i) {
        std::swap(party[i], party[random_.Below(static_cast<std::uint32_t>(i + 1))]);
    }
    party.resize(random_.Range(0, 3));
    const int townsfolk = hasTexts ? std::clamp(texts / 7 + random_.Range(0, 3), 1, 24) : 0;
    std::vector<std::string_view> names;
    for (int i = 0; i < townsfolk; ++i) names.push_back(writer_.CharacterName());
    for (const std::size_t p : party) cast_.push_back(kParty[p].tag);
    for (const std::string_view name : names) cast_.push_back(name);
    if (cast_.empty()) cast_.push_back("{CLOUD}");

    std::vector<Entity> entities;
    entities.push_back(Director());
    int model = 0;
    for (const std::size_t p : party) {
        entities.push_back(Person(std::string(kParty[p].entity), kParty[p].tag, true, model++));
    }
    for (int i = 0; i < townsfolk; ++i) {
        entities.push_back(Person("npc" + std::to_string(i), names[i], false, 10 + model++));
    }
    for (int i = random_.Range(1, 4); i > 0; --i) {
        entities.push_back(WalkLine(static_cast<int>(entities.size())));
    }
    for (int i = hasTexts ? random_.Range(0, 4) : 0; i > 0; --i) {
        entities.push_back(Object(random_.Pick(kObjects), i));
    }
    // The texts still unwritten go to cutscenes in the director's scripts.
    Entity& director = entities.front();
    while (TextsLeft()) {
        const int free = kScriptsPerEntity - static_cast<int>(director.scripts.size());
        const int left = shownTexts_ - static_cast<int>(dialogues_.size());
        ScriptBuilder script(tally_);
        Cutscene(script, free > 1 ? std::max(random_.Range(3, 10), left / (free - 1)) : left);
        script.Return();
        director.scripts.push_back(script.Code());
    }
    while (static_cast<int>(dialogues_.size()) < texts) AddText(writer_.Notice());

    std::vector<std::vector<std::uint8_t>> akao;
    if (layout != TextLayout::Texts && layout != TextLayout::TinyTextSection) {
        for (int i = random_.Range(1, 4); i > 0; --i) {
            akao.push_back(AkaoBlock(static_cast<int>(akao.size())));
        }
    }

    ScriptSection result;
    const std::vector<std::uint8_t> textSection = TextSection(result.textBytes);
    const std::size_t e = entities.size();
    const std::size_t tableEnd = kHeaderSize + 8 * e + 4 * akao.size() + 2 * kScriptsPerEntity * e;
    std::size_t position = tableEnd;
    std::vector<std::uint32_t> akaoPositions;
    const auto placeAkao = [&] {
        for (const auto& block : akao) {
            akaoPositions.push_back(static_cast<std::uint32_t>(position));
            position += block.size();
        }
    };
    if (layout == TextLayout::AkaoBeforeScripts) placeAkao();
    std::vector<std::array<std::uint16_t, kScriptsPerEntity>> table(e);
    for (std::size_t i = 0; i < e; ++i) {
        for (int s = 0; s < kScriptsPerEntity; ++s) {
            // Unused entries repeat the last script's position.
            table[i][s] = static_cast<std::uint16_t>(position);
            if (s < static_cast<int>(entities[i].scripts.size())) {
                position += entities[i].scripts[s].size();
                if (s + 1 == static_cast<int>(entities[i].scripts.size())) {
                    for (int rest = s + 1; rest < kScriptsPerEntity; ++rest) {
                        table[i][rest] = table[i][s];
                    }
                    break;
                }
            }
        }
    }
    const std::size_t textPosition = position;
    if (textPosition > 0xFFFF) throw std::logic_error("script code too large");
    position += textSection.size();
    if (layout == TextLayout::TextsThenAkao || layout == TextLayout::EmptyListThenAkao) {
        placeAkao();
    }
    // The parser must take the smallest Akao position, which need not be the first listed.
    if (akaoPositions.size() > 1 &&
        (layout == TextLayout::EmptyListThenAkao || random_.Chance(0.3))) {
        std::reverse(akaoPositions.begin(), akaoPositions.end());
    }

    ByteWriter out;
    out.U16(0x0502);
    out.U8(static_cast<unsigned>(e));
    result.models = static_cast<int>(
        std::count_if(entities.begin(), entities.end(), [](const Entity& x) { return x.model; }));
    out.U8(static_cast<unsigned>(result.models));
    out.U16(static_cast<unsigned>(textPosition));
    out.U16(static_cast<unsigned>(akao.size()));
    out.U16(512);
    out.Zeros(6);
    out.Text(random_.Pick(kCreators), 8);
    out.Text(plan_.levelName, 8);
    for (const Entity& entity : entities) out.Text(entity.name, 8);
    for (const std::uint32_t akaoPosition : akaoPositions) out.U32(akaoPosition);
    for (const auto& scripts : table) {
        for (const std::uint16_t scriptPosition : scripts) out.U16(scriptPosition);
    }
    if (layout == TextLayout::AkaoBeforeScripts) {
        for (const auto& block : akao) out.Append(block);
    }
    for (const Entity& entity : entities) {
        for (const auto& script : entity.scripts) out.Append(script);
    }
    out.Append(textSection);
    if (layout == TextLayout::TextsThenAkao || layout == TextLayout::EmptyListThenAkao) {
        for (const auto& block : akao) out.Append(block);
    }

    result.bytes = out.Take();
    result.entities = static_cast<int>(e);
    result.texts = layout == TextLayout::Texts || layout == TextLayout::TextsThenAkao
                       ? static_cast<int>(dialogues_.size())
                       : 0;
    if (result.texts == 0) result.textBytes = 0;
    for (int t = 0; t < result.texts; ++t) {
        result.tagged.push_back(dialogues_[static_cast<std::size_t>(t)].tagged);
    }
    result.tally = tally_;
    return result;
}

}  // namespace

ScriptSection MakeScriptSection(const ScriptSectionPlan& plan, SampleRandom& random) {
    return SectionComposer(plan, random).Compose();
}

}  // namespace sample
