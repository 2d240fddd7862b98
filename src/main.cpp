// The editor: wiring only. The Qt host, the HID backend (real, or simulated with
// QUORVEX_SIMULATED_MOUSE) and the main window with its wait window.
#include <QApplication>

#include "app/combination_dialog.h"
#include "app/main_form.h"
#include "app/name_dialog.h"
#include "app/wait_form.h"
#include "select_backend.h"
#include "macros/input_capture.h"
#include "qt/qt_host.h"
#include "qt/single_instance.h"
#include "settings/mouse_settings.h"

int main(int, char** argv) {
    // The program reads no command line, and Qt gets none either.
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QApplication application(qtArgc, qtArgv);
    qtui::SingleInstance instance(app::TForm1::kCaption);
    if (instance.otherInstanceRaised()) return 0;

    auto backend = device::makeHidBackend();
    qtui::QtHost host;
    host.setApplicationTitle("Gaming Mouse");
    app::TForm1 form(host, *backend);
    form.setInputCapture(macros::makeSystemInputCapture());
    form.setMouseSettingsStore(settings::makeSystemMouseSettingsStore());
    host.setMainForm(form, [&form] { return form.FormCloseQuery(); });
    form.FormCreate();
    app::TFormLoadingUI wait(host);
    wait.FormCreate(form.bounds());
    form.setWaitForm(&wait);
    app::TForm2 combination(form, host);
    app::TForm3 naming(form, host);
    form.openCombinationDialog = [&combination] { combination.FormCreate(); };
    form.openNameDialog = [&naming] { naming.FormCreate(); };
    instance.onRaiseRequest([&host] { host.raiseMainWindow(); });

    host.showForm(form);
    return QApplication::exec();
}
