#pragma once

#include <string>
#include <string_view>

#include <QChar>
#include <QString>

// The editor's form of tagged text. Tagged text is Windows-1252 with CR LF line breaks and may
// hold NUL (an 0xFF inside a stored text); the editor holds UTF-16 with one character per line
// break and cannot show NUL. These conversions are exact inverses on what DecodeText produces,
// so that EncodeText gets back the very bytes of an unedited text.
namespace ui {

// Shown in place of NUL: visible, so the user can see and delete the hidden end of a text, and
// outside Windows-1252, so nothing typed from the game's character set reads as it.
inline constexpr QChar kNulStandIn = QChar(0x2400);

// Tagged text as the editor shows it: each CR LF one "\n", NUL as kNulStandIn.
QString TaggedToEditor(std::string_view tagged);

// The editor's raw text (QTextDocument::toRawText: U+2029 between paragraphs, U+2028 for a
// line break within one, or "\n") back to tagged text: every such break becomes CR LF,
// kNulStandIn NUL; a character outside Windows-1252 becomes text::kReplacementChar.
std::string EditorToTagged(const QString& editor);

// The editor position of a byte position in tagged text: a CR LF counts as one character; a
// position between its CR and LF gives the position of the break.
int EditorPosition(std::string_view tagged, std::size_t taggedPosition);

// The byte position in tagged text of a position in the editor's raw text.
std::size_t TaggedPosition(const QString& editor, int editorPosition);

// Text in the editor's form split by what the game can store: `kept` without the characters
// that the game has no code for (those outside Windows-1252, and those of Windows-1252 that no
// CharacterTable entry is made of, such as the euro sign), and those characters, each once,
// in the order they first stand. Line breaks and kNulStandIn are kept.
struct StorableSplit {
    QString kept;
    QString missing;
};
StorableSplit SplitStorable(const QString& editor);

// Characters for a message, each with its code point: "€ (U+20AC), Ω (U+03A9)"; one that
// shows nothing, such as a no-break space, by its code point alone.
QString DescribeCharacters(const QString& characters);

}  // namespace ui
