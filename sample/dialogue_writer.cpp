#include "sample/dialogue_writer.h"
#include "text/character_table.h"

#include <algorithm>
#include <array>

namespace sample {
namespace {

// Windows-1252 characters the game's texts use beside ASCII.
constexpr std::string_view kOpenQuote = "\x93";
constexpr std::string_view kCloseQuote = "\x94";
constexpr std::string_view kLineBreak = "\r\n";
constexpr std::string_view kNewPage = text::CharacterTable[0xE8];
// Characters of text on one line of a dialogue window.
constexpr int kLineWidth = 34;

// Sentence patterns: $P a place, $I an item, $R a relative, $T a time, $G goods, $M a party
// member's tag, $C the company.
constexpr std::string_view kTownsfolkLines[] = {
    "Have you heard? They say $C is building a new reactor near $P.",
    "I used to work at $P, before the accident.",
    "If you're heading to $P, watch out for monsters on the way.",
    "The $G here are the best in town. You should try them!",
    "Welcome to $P! Take your time and look around.",
    "Don't go near $P after dark.",
    "My $R works at $P. Nobody has heard from them in three days...",
    "You're not from around here, are you?",
    "$C keeps raising the price of everything.",
    "Sorry, I'm busy right now. Come back later.",
    "Business has been slow ever since the bridge collapsed.",
    "The next train to $P leaves $T.",
    "I saw a strange man in a black cape near $P.",
    "Kids these days don't even know what the sky looks like.",
    "That $I you're carrying looks pretty useful.",
    "Keep your voice down. The guards are listening.",
    "I've lived here all my life, and I've never seen anything like it.",
    "Whatever you do, don't tell my $R about this.",
    "They say there's treasure hidden somewhere in $P.",
    "It's been raining for days. My roof leaks again.",
    "Did you come all the way from $P? You must be tired.",
    "The mayor wants to see you at $P.",
    "Nobody goes into $P anymore. Not since the fire.",
    "My grandpa says the planet is crying. Do you believe that?",
    "Ha! You call that a sword?",
    "We're closed for inventory. Sorry about that.",
    "I lost my $I somewhere around here. Have you seen it?",
    "Is it true that you fought $C's soldiers?",
    "Things were better $T... or maybe I was just younger.",
    "The $G at Caf\xE9 Lumi\xE8re are worth the trip, believe me.",
    "Se\xF1or Dalvo bought the whole street $T. Can you believe it?",
    "Careful on the stairs, they're older than I am.",
    "I'm saving up for a trip to $P. Just a few more years!",
    "If you need a place to sleep, the inn is just down the road.",
    "Those soldiers from $C took everything we had $T.",
    "A monster came down from the hills and ate my $R's chickens!",
};

constexpr std::string_view kPartyLines[] = {
    "Let's keep moving.",
    "Something's not right about this place...",
    "We should check $P first.",
    "$M, stay close to me.",
    "...Fine. I'll go on ahead.",
    "Hey! Wait up!",
    "Don't get careless. They could be anywhere.",
    "I've got a bad feeling about this.",
    "Is everyone all right?",
    "We don't have time for this!",
    "Heh, not bad.",
    "I'll never forgive them for what they did to $P.",
    "So this is $P... It's bigger than I thought.",
    "Whatever happens, we stick together.",
    "Maybe there's another way in.",
    "$M, what do you think?",
    "We'd better rest before we go any further.",
    "Keep your eyes open. This is $C's territory.",
};

constexpr std::string_view kOpenings[] = {
    "Hey! ",
    "Huh? ",
    "Well{PAUSE 1}... ",
    "Listen. ",
    "Hmm\x85 ",
    "Come on! ",
    "Oh! ",
    "Wait{PAUSE 2}\x85 ",
    "Ha ha! ",
    "Ugh... ",
    "Um{PAUSE 1}, ",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
};

constexpr std::string_view kPlaces[] = {
    "the reactor", "the station",  "the old church", "the market",    "the upper plate",
    "the mines",   "the harbour",  "the north gate", "the inn",       "the weapon shop",
    "the bridge",  "the mansion",  "the lighthouse", "the ranch",     "Port Vellis",
    "Mount Corra", "Kessel Mines", "Lake Aurin",     "the Gold Mine", "Caf\xE9 Lumi\xE8re",
};
constexpr std::string_view kItems[] = {
    "Potion",    "Ether",       "Phoenix Down", "Tent",    "Antidote",
    "Hi-Potion", "Echo Screen", "Remedy",       "Materia", "Hyper",
};
constexpr std::string_view kRelatives[] = {"son",    "husband", "daughter", "brother",
                                           "father", "wife",    "sister"};
constexpr std::string_view kTimes[] = {"at dawn",        "every hour", "tomorrow morning",
                                       "in ten minutes", "years ago",  "last week"};
constexpr std::string_view kGoods[] = {"weapons", "pies",      "potions", "fish",
                                       "boots",   "cr\xEApes", "apples"};
constexpr std::string_view kMembers[] = {"{CLOUD}",    "{BARRET}",   "{TIFA}",    "{AERIS}",
                                         "{RED XIII}", "{MEMBER 2}", "{MEMBER 3}"};
constexpr std::string_view kColors[] = {"{CYAN}", "{GREEN}", "{YELLOW}", "{RED}", "{PURPLE}"};

constexpr std::string_view kNames[] = {
    "Old man", "Guard", "Girl",   "Boy",    "Shopkeeper",     "Innkeeper", "Soldier",
    "Woman",   "Man",   "Worker", "Kid",    "Granny",         "Priest",    "Sailor",
    "Marlo",   "Essie", "Dobbs",  "Kettle", "Station master", "Dancer",    "Mechanic",
};

struct QuestionPattern {
    std::string_view question;
    std::array<std::string_view, 4> choices;
};

constexpr QuestionPattern kQuestions[] = {
    {"Would you like to rest? It's {VAR1} gil for the night.", {"Stay", "Don't stay"}},
    {"Shall I tell you about $P?", {"Yes, please.", "No, thanks."}},
    {"Where do you want to go?", {"$P", "$P", "Stay here"}},
    {"Do you want to save your progress?", {"Save", "Cancel"}},
    {"Will you help us?", {"Of course.", "Not now."}},
    {"What'll it be?", {"Buy", "Sell", "Leave"}},
    {"Do you want to hear the rules again?", {"Yes", "No"}},
    {"Which way, $M?", {"Left", "Right", "Straight on", "Go back"}},
    {"Are you ready to board?", {"Board", "Not yet"}},
};

constexpr std::string_view kNotices[] = {
    "Received \x93$I\x94!",
    "Received {VAR1} gil!",
    "The door is locked.",
    "Can't go this way.",
    "There's nothing here.",
    "{MEMBER 1} found a \x93$I\x94!",
    "Nothing happened{PAUSE 3}\x85",
    "It's an old clock. It hasn't moved in years.",
    "Press %23 to climb the ladder.",
    "Time remaining: {VAR2} seconds",
    "{RED}{BLINK}DANGER{WHITE}  Falling rocks",
    "{SPACED CHARACTERS}CLOSED",
    "{CHOCOBO NAME} looks happy!",
    "Obtained the key to $P.",
    "The machine starts with a loud hum{PAUSE 2}.{PAUSE 2}.{PAUSE 2}.",
    "{YELLOW}Item Shop{WHITE}%41Open every day",
    "A letter. It says:\r\n\x93Meet me at $P $T.\x94",
};

// Splits at blanks, but never inside a tag: "{PAUSE 1}" stays one piece with its word.
std::vector<std::string> Words(std::string_view text) {
    std::vector<std::string> words;
    std::string word;
    bool inTag = false;
    for (const char c : text) {
        if (c == ' ' && !inTag) {
            if (!word.empty()) words.push_back(word);
            word.clear();
            continue;
        }
        if (c == '{') inTag = true;
        if (c == '}') inTag = false;
        word += c;
    }
    if (!word.empty()) words.push_back(word);
    return words;
}

}  // namespace

int DrawnWidth(std::string_view tagged) {
    static constexpr std::pair<std::string_view, int> kTagWidths[] = {
        {"{CLOUD}", 5},        {"{BARRET}", 6},   {"{TIFA}", 4},      {"{AERIS}", 5},
        {"{RED XIII}", 8},     {"{YUFFIE}", 6},   {"{CAIT SITH}", 9}, {"{VINCENT}", 7},
        {"{CID}", 3},          {"{MEMBER 1}", 7}, {"{MEMBER 2}", 7},  {"{MEMBER 3}", 7},
        {"{CHOICE}", 3},       {"{VAR1}", 5},     {"{VAR2}", 3},      {"{VAR3}", 5},
        {"{CHOCOBO NAME}", 6},
    };
    int width = 0;
    std::size_t i = 0;
    while (i < tagged.size()) {
        if (tagged[i] == '{') {
            const std::size_t close = tagged.find('}', i);
            if (close == std::string_view::npos) break;
            const std::string_view tag = tagged.substr(i, close - i + 1);
            for (const auto& [name, letters] : kTagWidths) {
                if (tag == name) width += letters;
            }
            i = close + 1;
        } else if (tagged[i] == '%') {
            ++width;
            ++i;
            while (i < tagged.size() && tagged[i] >= '0' && tagged[i] <= '9') ++i;
        } else {
            ++width;
            ++i;
        }
    }
    return width;
}

std::string_view DialogueWriter::CharacterName() { return random_.Pick(kNames); }

std::string DialogueWriter::FillSlots(std::string_view pattern) {
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '$' || i + 1 == pattern.size()) {
            out += pattern[i];
            continue;
        }
        const char slot = pattern[++i];
        std::string word;
        switch (slot) {
            case 'P':
                word = random_.Pick(kPlaces);
                break;
            case 'I':
                word = random_.Pick(kItems);
                break;
            case 'R':
                word = random_.Pick(kRelatives);
                break;
            case 'T':
                word = random_.Pick(kTimes);
                break;
            case 'G':
                word = random_.Pick(kGoods);
                break;
            case 'M':
                word = random_.Pick(kMembers);
                break;
            case 'C':
                word = random_.Chance(0.3) ? "{RED}Shinra{WHITE}" : "Shinra";
                break;
            default:
                word = std::string(1, slot);
                break;
        }
        // Names of places and things stand out in colour now and then.
        if ((slot == 'P' || slot == 'I') && random_.Chance(0.2)) {
            word = std::string(random_.Pick(kColors)) + word + "{WHITE}";
        }
        out += word;
    }
    return out;
}

std::string DialogueWriter::Sentences(int count, bool partyMember) {
    std::string out;
    for (int s = 0; s < count; ++s) {
        if (s > 0) out += ' ';
        out += random_.Pick(kOpenings);
        out += FillSlots(partyMember ? random_.Pick(kPartyLines) : random_.Pick(kTownsfolkLines));
    }
    return out;
}

Dialogue DialogueWriter::Layout(std::string_view speaker, const std::string& words,
                                int linesPerPage) {
    // Wrap into lines; the quote marks take a column at each end.
    std::vector<std::string> lines;
    std::string line;
    int lineWidth = 0;
    for (const std::string& word : Words(words)) {
        const int width = DrawnWidth(word);
        if (!line.empty() && lineWidth + 1 + width > kLineWidth) {
            lines.push_back(line);
            line.clear();
            lineWidth = 0;
        }
        if (!line.empty()) {
            line += ' ';
            ++lineWidth;
        }
        line += word;
        lineWidth += width;
    }
    if (!line.empty()) lines.push_back(line);

    Dialogue dialogue;
    for (std::size_t first = 0; first < lines.size(); first += linesPerPage) {
        const std::size_t last = std::min(lines.size(), first + linesPerPage);
        std::string page;
        int pageLines = 0;
        if (!speaker.empty()) {
            page += speaker;
            page += kLineBreak;
            dialogue.widestLine = std::max(dialogue.widestLine, DrawnWidth(speaker));
            ++pageLines;
        }
        for (std::size_t i = first; i < last; ++i) {
            // The first line opens the quote; the next ones are indented under it.
            std::string text = (i == first ? std::string(kOpenQuote) : std::string(" ")) + lines[i];
            if (i + 1 == last) text += kCloseQuote;
            page += text;
            if (i + 1 != last) page += kLineBreak;
            dialogue.widestLine = std::max(dialogue.widestLine, DrawnWidth(text));
            ++pageLines;
        }
        if (!dialogue.tagged.empty()) dialogue.tagged += kNewPage;
        dialogue.tagged += page;
        dialogue.tallestPage = std::max(dialogue.tallestPage, pageLines);
    }
    return dialogue;
}

Dialogue DialogueWriter::LocationName(std::string_view location) {
    Dialogue dialogue;
    dialogue.tagged = std::string(location);
    dialogue.widestLine = DrawnWidth(location);
    dialogue.tallestPage = 1;
    return dialogue;
}

Dialogue DialogueWriter::Speech(std::string_view speaker, bool partyMember) {
    // Most speeches fit one page; a few run over several.
    const double roll = random_.Real();
    const int sentences = roll < 0.55  ? random_.Range(1, 2)
                          : roll < 0.9 ? random_.Range(2, 4)
                                       : random_.Range(4, 7);
    std::string words = Sentences(sentences, partyMember);
    if (random_.Chance(0.05)) words += " {WAIT KEYPRESS}";
    return Layout(speaker, words, random_.Chance(0.7) ? 3 : 2);
}

Dialogue DialogueWriter::Question(std::string_view speaker) {
    const QuestionPattern& pattern = random_.Pick(kQuestions);
    Dialogue dialogue = Layout(speaker, FillSlots(pattern.question), 8);
    int line = static_cast<int>(std::count(dialogue.tagged.begin(), dialogue.tagged.end(), '\n'));
    dialogue.firstChoice = line + 1;
    for (const std::string_view choice : pattern.choices) {
        if (choice.empty()) break;
        const std::string text = "{CHOICE}" + FillSlots(choice);
        dialogue.tagged += kLineBreak;
        dialogue.tagged += text;
        dialogue.widestLine = std::max(dialogue.widestLine, DrawnWidth(text));
        ++line;
    }
    dialogue.lastChoice = line;
    dialogue.tallestPage = line + 1;
    return dialogue;
}

Dialogue DialogueWriter::Notice() {
    Dialogue dialogue;
    dialogue.tagged = FillSlots(random_.Pick(kNotices));
    int lines = 1;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = dialogue.tagged.find(kLineBreak, start);
        const std::string_view line =
            std::string_view(dialogue.tagged)
                .substr(start, end == std::string::npos ? std::string::npos : end - start);
        dialogue.widestLine = std::max(dialogue.widestLine, DrawnWidth(line));
        if (end == std::string::npos) break;
        start = end + kLineBreak.size();
        ++lines;
    }
    dialogue.tallestPage = lines;
    return dialogue;
}

}  // namespace sample
