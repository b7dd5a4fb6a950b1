// One drag step in the window modification dialog, without a display: the mouse moves one
// pixel with the button held, the dialog moves the window image (and, when resizing, redraws
// the preview with its grips), and the events are processed until the screen is painted. The
// window is full-screen (304 x 216) with a busy text, the dearest to draw.
#include <functional>
#include <string>

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>

#include <benchmark/benchmark.h>

#include "lgp/window.h"
#include "preview/glyph_sets.h"
#include "ui/window_modification_form.h"

namespace {

TWindowModificationForm* form = nullptr;

QLabel* WindowImage() { return form->findChild<QLabel*>("windowImage"); }

void SendMouse(QEvent::Type type, QPoint globalPos) {
    QLabel* image = WindowImage();
    QMouseEvent event(type, image->mapFromGlobal(globalPos), globalPos, Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(image, &event);
}

// Presses at pos of the image, then moves the mouse one pixel back and forth per step.
void DragSteps(benchmark::State& state, QPoint pos) {
    const QPoint press = WindowImage()->mapToGlobal(pos);
    SendMouse(QEvent::MouseButtonPress, press);
    int step = 0;
    for (auto _ : state) {
        step = 1 - step;
        SendMouse(QEvent::MouseMove, press + QPoint(step, step));
        QApplication::processEvents();
    }
    SendMouse(QEvent::MouseButtonRelease, press);
}

void MoveStep(benchmark::State& state) { DragSteps(state, {150, 100}); }

void ResizeStep(benchmark::State& state) { DragSteps(state, {302, 214}); }

BENCHMARK(MoveStep)->Unit(benchmark::kMicrosecond);
BENCHMARK(ResizeStep)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    const preview::GlyphSets glyphs = preview::GlyphSets::FromBuiltinFont();
    std::string text;
    for (int line = 0; line < 12; ++line) {
        text += "{CLOUD}{MULTICOLOUR}Ready?{MULTICOLOUR} {YELLOW}Then on, %12 {WHITE}all.\r\n";
    }
    TWindow window;
    window.X = 8;
    window.Y = 8;
    window.Width = 304;
    window.Height = 216;
    TWindowModificationForm dialog;
    form = &dialog;
    QTimer::singleShot(0, &dialog, [&] {
        benchmark::RunSpecifiedBenchmarks();
        dialog.reject();
    });
    dialog.edit(window, text, glyphs, preview::DefaultWindowColors);
    benchmark::Shutdown();
    return 0;
}
