// One hover picture change of a navigation button, enter and leave, including the repaint of
// the main window's view (offscreen platform, painted synchronously).
#include <benchmark/benchmark.h>

#include <QApplication>

#include "app/main_form.h"
#include "qt/form_view.h"
#include "qt/qt_host.h"
#include "sim/sim_presets.h"

namespace {

void BM_NavigationHoverEnterLeave(benchmark::State& state) {
    sim::SimulatedMouse mouse(sim::DeviceKind::Macro);
    qtui::QtHost host;
    app::TForm1 form(host, mouse);
    host.setMainForm(form, [] { return true; });
    form.FormCreate();
    qtui::FormView* view = host.viewOf(form);
    view->show();
    view->sync();
    view->repaint();
    const ui::Rect adv = form.at("Btn_Adv").formBounds();
    for (auto _ : state) {
        form.pointerMove(adv.x + 5, adv.y + 5);
        view->sync();
        view->repaint();
        form.pointerMove(5, 595);
        view->sync();
        view->repaint();
    }
    if (form.at("Img_Adv").picture() != "SetS_01")
        state.SkipWithError("the hover pictures did not change back");
}
BENCHMARK(BM_NavigationHoverEnterLeave)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
