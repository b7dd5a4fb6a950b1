// Draws the window modification dialog for the first window of a text of a level, into a PNG,
// without a display (run with QT_QPA_PLATFORM=offscreen). Used for the README's picture.
// Usage: orvenne_window_screenshot [--language FILE.lng] ARCHIVE LEVEL TEXT OUTPUT.png
#include <cstdio>
#include <exception>

#include <QApplication>
#include <QPixmap>
#include <QTimer>

#include "jobs/qt_strings.h"
#include "lgp/archive_loader.h"
#include "preview/glyph_sets.h"
#include "text/text_decoder.h"
#include "ui/language_catalog.h"
#include "ui/window_modification_form.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QStringList arguments = QApplication::arguments();
    if (arguments.size() > 2 && arguments[1] == QStringLiteral("--language")) {
        ui::LoadLanguage(arguments[2]);
        arguments.remove(1, 2);
    }
    if (arguments.size() != 5) {
        std::fprintf(stderr, "usage: orvenne_window_screenshot [--language FILE.lng] ARCHIVE "
                             "LEVEL TEXT OUTPUT.png\n");
        return 2;
    }
    TLGPFile archive;
    try {
        lgp::LoadArchive(archive, jobs::toUtf8(arguments[1]));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "orvenne_window_screenshot: %s\n", error.what());
        return 1;
    }
    const std::size_t text = arguments[3].toULong() - 1;
    for (const auto& subFile : archive.SubFiles) {
        if (jobs::fromWindows1252(subFile->Name) != arguments[2] ||
            text >= subFile->Texts.size() || subFile->Texts[text].Windows.empty()) {
            continue;
        }
        const preview::GlyphSets glyphs = preview::GlyphSets::FromBuiltinFont();
        TWindowModificationForm dialog;
        bool saved = false;
        QTimer::singleShot(0, &dialog, [&] {
            saved = dialog.grab().save(arguments[4]);
            dialog.reject();
        });
        dialog.edit(*subFile->Texts[text].Windows.front(),
                    text::DecodeText(subFile->Texts[text].Bytes), glyphs,
                    preview::DefaultWindowColors);
        return saved ? 0 : 1;
    }
    std::fprintf(stderr, "orvenne_window_screenshot: no such level, or the text has no window\n");
    return 1;
}
