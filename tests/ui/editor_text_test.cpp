#include <cstdint>
#include <string>
#include <vector>

#include <QPlainTextEdit>
#include <QTextDocument>
#include <QtTest>

#include "text/text_decoder.h"
#include "text/text_encoder.h"
#include "ui/editor_text.h"

namespace {

// What the editor gives back for tagged text after showing it unchanged.
std::string ThroughTheEditor(const std::string& tagged) {
    QPlainTextEdit editor;
    editor.setPlainText(ui::TaggedToEditor(tagged));
    return ui::EditorToTagged(editor.document()->toRawText());
}

}  // namespace

class EditorTextTest : public QObject {
    Q_OBJECT

private slots:
    // Every game byte, each break kind, a NUL from an inner 0xFF: the encoder gets back what
    // the decoder gave, and so the stored bytes (where no two codes read alike).
    void everyTextComesBackAsItsBytes() {
        std::vector<std::uint8_t> all;
        for (int code = 0; code < 0xFF; ++code) {
            if (code == 0xFE) continue;
            all.push_back(static_cast<std::uint8_t>(code));
        }
        all.push_back(0xFF);
        const std::vector<std::vector<std::uint8_t>> texts = {
            all,
            {0x28, 0xE7, 0x29, 0xE8, 0x2A, 0xFF},
            {0xE7, 0xE7, 0xFF},
            {0x21, 0xFF, 0x22, 0x23, 0xFF},
            {0xFE, 0xD4, 0x21, 0xFE, 0xDD, 0x0A, 0x00, 0xE1, 0x22, 0xFF},
            {0xFF},
        };
        for (const std::vector<std::uint8_t>& bytes : texts) {
            const std::string tagged = text::DecodeText(bytes);
            QCOMPARE(ThroughTheEditor(tagged), tagged);
            if (bytes != all) QCOMPARE(text::EncodeText(ThroughTheEditor(tagged), true), bytes);
        }
    }

    void lineBreaksAndNulAsTheEditorShowsThem() {
        const std::string tagged("A\r\nB\r\n{NEW PAGE}\r\nC\0D", 21);
        const QString editor = ui::TaggedToEditor(tagged);
        QCOMPARE(editor, QStringLiteral("A\nB\n{NEW PAGE}\nC\u2400D"));
        // Both of the editor's own breaks, and a bare "\n", become CR LF.
        QCOMPARE(ui::EditorToTagged(QStringLiteral("A\u2029B\u2028C\nD")), "A\r\nB\r\nC\r\nD");
        QCOMPARE(ui::EditorToTagged(QStringLiteral("x\u2400")), std::string("x\0", 2));
        // Windows-1252 letters stay themselves; what it lacks becomes "?".
        QCOMPARE(ui::EditorToTagged(QStringLiteral("\u00E9\u2026\u03A9")), "\xE9\x85?");
    }

    void positionsSkipTheSecondCharacterOfEachBreak() {
        const std::string tagged = "ab\r\ncd\r\n\r\ne";
        const QString editor = ui::TaggedToEditor(tagged);
        QCOMPARE(editor, QStringLiteral("ab\ncd\n\ne"));
        for (int position = 0; position <= editor.size(); ++position) {
            const std::size_t taggedPosition = ui::TaggedPosition(editor, position);
            QCOMPARE(ui::EditorPosition(tagged, taggedPosition), position);
        }
        QCOMPARE(ui::TaggedPosition(editor, 3), std::size_t{4});
        QCOMPARE(ui::TaggedPosition(editor, 7), std::size_t{10});
        // Between CR and LF: the break itself.
        QCOMPARE(ui::EditorPosition(tagged, 3), 2);
        // Beyond the BMP: two UTF-16 units, one replacement byte.
        QCOMPARE(ui::TaggedPosition(QStringLiteral("\U0001F600x"), 2), std::size_t{1});
    }

    void whatTheGameCannotStoreIsSetApart() {
        struct Row {
            QString editor;
            QString kept;
            QString missing;
            QString described;
        };
        const Row rows[] = {
            {QStringLiteral("Caf\u00E9 \u2026 {CLOUD}\t%12\n\u2029x\u2400"),
             QStringLiteral("Caf\u00E9 \u2026 {CLOUD}\t%12\n\u2029x\u2400"), QString(), QString()},
            // The euro sign is Windows-1252 but no game character; each missing one is named
            // once.
            {QStringLiteral("5\u20AC \u03A9 6\u20AC"), QStringLiteral("5  6"),
             QStringLiteral("\u20AC\u03A9"), QStringLiteral("\u20AC (U+20AC), \u03A9 (U+03A9)")},
            // A pair of UTF-16 units is one character; one that shows nothing is named by its
            // code.
            {QStringLiteral("a\U0001F600b\u00A0c"), QStringLiteral("abc"),
             QStringLiteral("\U0001F600\u00A0"), QStringLiteral("\U0001F600 (U+1F600), U+00A0")},
            {QStringLiteral("a\r\nb"), QStringLiteral("a\r\nb"), QString(), QString()},
        };
        for (const Row& row : rows) {
            const ui::StorableSplit split = ui::SplitStorable(row.editor);
            QCOMPARE(split.kept, row.kept);
            QCOMPARE(split.missing, row.missing);
            QCOMPARE(ui::DescribeCharacters(split.missing), row.described);
        }
    }
};

QTEST_MAIN(EditorTextTest)
#include "editor_text_test.moc"
