// The editor: wiring only. The Qt host, the HID backend (real, or simulated with
// QUORVEX_SIMULATED_MOUSE) and the main window with its wait window.
#include <QApplication>
#include <QScreen>
#include <QThread>

#include <cstdio>
#include <cstring>

#include "app/editor.h"
#if defined(QUORVEX_HAVE_XKB)
#include "keys/linux/xkb_key_namer.h"
#endif
#include "qt/linux/font_configuration.h"
#include "qt/picture_prefetch.h"
#include "qt/qt_host.h"
#include "qt/single_instance.h"
#include "quorvex-editor_help.h"
#include "quorvex_version.h"
#include "select_backend.h"
#include "skin/hover_states.h"
#include "skin/pictures.h"

namespace {

// --help and --version answer on the terminal; anything else is refused before a window opens.
int answerCommandLine(const char* arg) {
    if (!std::strcmp(arg, "--help") || !std::strcmp(arg, "-h")) {
        std::fputs(kHelpText, stdout);
        return 0;
    }
    if (!std::strcmp(arg, "--version")) {
        std::printf("quorvex-editor %s\n", kQuorvexVersion);
        return 0;
    }
    std::fprintf(stderr, "quorvex-editor: unknown argument %s\n%s", arg, kHelpText);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) return answerCommandLine(argv[1]);
    // Qt takes the first thread that asks for its thread data as the main thread: this one asks
    // before the decoding thread below can (a large image's conversion uses Qt's thread pool).
    QThread::currentThread();
    // The start page's large pictures decode on the second core while Qt connects to the display.
    qtui::PicturePrefetch::start(skin::startPagePictures());
    qtui::loadFontConfigurationAhead();
    // Qt gets no command line.
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QApplication application(qtArgc, qtArgv);
    // The desktop matches the window to its desktop entry (Wayland's app id) and its icon.
    QGuiApplication::setDesktopFileName("org.quorvex.Editor");
    // On a scaled screen the first paint wants the pictures of another set: they are prepared
    // now that the screen is known (the 1x ones above were a guess).
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const double set = skin::pictureSetFor(screen->devicePixelRatio());
        if (set != 1.0) {
            std::vector<std::string> scaled;
            for (const std::string& name : skin::startPagePictures())
                scaled.push_back(skin::pictureInSet(name, set));
            qtui::PicturePrefetch::start(std::move(scaled));
        }
    }
    qtui::SingleInstance instance(app::TForm1::kCaption);
    if (instance.otherInstanceRaised()) {
        // A second start ends before its first paint would have taken the pictures.
        qtui::PicturePrefetch::discard();
        return 0;
    }

#if defined(QUORVEX_HAVE_XKB)
    // Keys are named as the user's layout types them; without an X display, as on US keyboards.
    keys::setKeyNamerWhenNeeded([] { return keys::makeXkbKeyNamer(); });
#endif
    // The icon of the title bar, the task bar and the window switcher (_NET_WM_ICON on X11).
    QApplication::setWindowIcon(qtui::pictureIcon("MAINICON"));
    auto backend = device::makeHidBackend();
    qtui::QtHost host;
    host.setApplicationTitle("Gaming Mouse");
    app::Editor editor(host, *backend);
    editor.start([&host](app::TForm1& form) {
        host.setMainForm(form, [&form] { return form.FormCloseQuery(); });
    });
    instance.onRaiseRequest([&host] { host.raiseMainWindow(); });
    const int status = QApplication::exec();
    qtui::PicturePrefetch::discard();  // the window may have closed before its first paint
    return status;
}
