// The flash view: scrolled through a full 256 KiB image one screen at a
// time, and following the image when it grows to the largest one.
#include "BenchImages.h"
#include "HexContainer.h"
#include "HexView.h"

#include <QCoreApplication>
#include <QScrollBar>
#include <benchmark/benchmark.h>

namespace {
// About the size of the view on the main window's flash page.
constexpr int ViewWidth = 860;
constexpr int ViewHeight = 560;

void showView(HexView &view)
{
    view.resize(ViewWidth, ViewHeight);
    view.show();
    view.imageChanged();
    QCoreApplication::processEvents();
}

int rowsOnScreen(const HexView &view)
{
    const int last = view.rowAt(view.viewport()->height() - 1);
    return (last < 0 ? view.model()->rowCount() - 1 : last) - view.rowAt(0) + 1;
}
}

static void BM_HexViewScroll256K(benchmark::State &state)
{
    THexContainer image;
    image.LoadFromFile(fullFlashHexFile());
    image.Resize(FullFlashSize - 1);
    HexView view(image, [] { return FullFlashSize; });
    showView(view);
    QScrollBar *bar = view.verticalScrollBar();
    std::int64_t rows = 0;
    std::int64_t screens = 0;
    for (auto _ : state) {
        for (int top = 0;; top += bar->pageStep()) {
            bar->setValue(top);
            view.viewport()->repaint();
            rows += rowsOnScreen(view);
            ++screens;
            if (top >= bar->maximum())
                break;
        }
    }
    state.counters["rows_per_s"] = benchmark::Counter(double(rows), benchmark::Counter::kIsRate);
    state.counters["screens_per_s"] = benchmark::Counter(double(screens), benchmark::Counter::kIsRate);
    state.counters["rows_per_screen"] = double(rows) / double(screens);
    // The rows a screen holds follow the fixed font's line height on the machine.
    state.counters["row_height_px"] = view.rowHeight(0);
}
BENCHMARK(BM_HexViewScroll256K)->Unit(benchmark::kMillisecond);

// The image grows to 262,145 lines (outside the time); the view takes the
// new row count, goes to the last line and paints it.
static void BM_HexViewGrowToLargestImage(benchmark::State &state)
{
    THexContainer image;
    HexView view(image, [] { return FullFlashSize; });
    showView(view);
    for (auto _ : state) {
        state.PauseTiming();
        image.Clear();
        view.imageChanged();
        image.Resize(THexContainer::MaxLines * THexLine::Columns - 1);
        state.ResumeTiming();
        view.imageChanged();
        view.scrollToBottom();
        view.viewport()->repaint();
    }
    state.counters["rows"] = view.model()->rowCount();
}
BENCHMARK(BM_HexViewGrowToLargestImage)->Unit(benchmark::kMillisecond);
