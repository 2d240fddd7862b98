// The Qt view on screens of 100 %, 150 % and 200 % (the offscreen platform with three screens).
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTemporaryDir>
#include <QWindow>

#include <cmath>

#include "app/main_form.h"
#include "qt/form_view.h"
#include "qt/picture_prefetch.h"
#include "qt/qt_host.h"
#include "sim/sim_presets.h"
#include "skin/pictures.h"

namespace {

QApplication& scaledApplication() {
    static QTemporaryDir dir;
    static const QString config = dir.filePath("screens.json");
    QFile file(config);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(R"({"screens": [
            {"name": "one", "x": 0, "y": 0, "width": 1920, "height": 1080, "dpr": 1},
            {"name": "one-and-a-half", "x": 1920, "y": 0, "width": 2400, "height": 1600, "dpr": 1.5},
            {"name": "two", "x": 4320, "y": 0, "width": 3200, "height": 2400, "dpr": 2}]})");
        file.close();
    }
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toUtf8());
    static int argc = 1;
    static char name[] = "qt_scale_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);  // outlives Qt's input devices
    return *app;
}

QScreen* screenOf(double ratio) {
    for (QScreen* s : QGuiApplication::screens())
        if (s->devicePixelRatio() == ratio) return s;
    return nullptr;
}

void putOn(QWidget* view, double ratio) {
    QScreen* screen = screenOf(ratio);
    ASSERT_NE(screen, nullptr) << ratio;
    view->windowHandle()->setScreen(screen);
    view->move(screen->geometry().topLeft() + QPoint(20, 20));
    QCoreApplication::processEvents();
    ASSERT_EQ(view->devicePixelRatioF(), ratio);
}

// A dialog's window is see-through where nothing is drawn: compared as shown on black.
QImage overBlack(QImage image) {
    image.setDevicePixelRatio(1);  // compared pixel by pixel
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::black);
    QPainter(&flat).drawImage(0, 0, image);
    return flat;
}

// The main window, shown.
struct MainWindow {
    explicit MainWindow(qtui::QtHost& host) : form{host, mouse} {
        host.setMainForm(form, [] { return true; });
        form.FormCreate();
        host.showForm(form);
    }
    sim::SimulatedMouse mouse{sim::DeviceKind::Macro};
    app::TForm1 form;
};

struct Scaled : ::testing::Test {
    void SetUp() override { scaledApplication(); }
    qtui::QtHost host;
};

// On each screen a picture is its set's own pixels drawn one to one, not the 1x picture
// stretched, and it follows the window from screen to screen.
TEST_F(Scaled, PicturesComeFromTheSetOfTheScreen) {
    ui::Form form{"pictures"};
    ui::Control& pic = form.add(ui::ControlKind::Picture, "Img");
    pic.setBounds({10, 10, 0, 0});
    pic.setAutoSize(true);
    skin::showPicture(pic, "SetS_02");
    const ui::Rect r = pic.formBounds();
    form.setBounds({0, 0, r.w + 20, r.h + 20});
    host.showForm(form);
    qtui::FormView* view = host.viewOf(form);
    for (const double ratio : {1.0, 2.0, 1.5, 1.0}) {
        putOn(view, ratio);
        const QImage shot = overBlack(view->grab().toImage());
        ASSERT_EQ(shot.size(),
                  QSize(std::lround((r.w + 20) * ratio), std::lround((r.h + 20) * ratio)));
        const QImage picture = qtui::decodeImage(skin::pictureInSet("SetS_02", ratio));
        ASSERT_FALSE(picture.isNull());
        const QImage expected = overBlack(picture);
        const int x0 = std::lround(10 * ratio), y0 = x0;
        int worst = 0;
        for (int y = 0; y < expected.height(); ++y) {
            for (int x = 0; x < expected.width(); ++x) {
                const QRgb a = shot.pixel(x0 + x, y0 + y), b = expected.pixel(x, y);
                worst = std::max({worst, std::abs(qRed(a) - qRed(b)),
                                  std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
            }
        }
        EXPECT_LE(worst, 3) << "at " << ratio;
    }
}

// A pointer over any device pixel of a control finds the control a 100 % window finds at that
// logical pixel, up to the last device pixel of its edges.
TEST_F(Scaled, PointerPositionsHitTheSameControlsAsAtOneTimes) {
    MainWindow main{host};
    app::TForm1& form = main.form;
    qtui::FormView* view = host.viewOf(form);
    for (const double ratio : {1.5, 2.0}) {
        putOn(view, ratio);
        int checked = 0;
        for (const auto& c : form.controls()) {
            if (!c->showing() || c->windowed() || c->formBounds().w <= 0) continue;
            const ui::Rect r = c->formBounds();
            for (const auto& [lx, ly] : {std::pair{r.x, r.y}, {r.x + r.w - 1, r.y + r.h - 1}}) {
                // The device pixels of a logical pixel are those whose centres lie inside it.
                for (const double edge : {0.0, 1.0}) {
                    const double dx = std::ceil((lx + edge) * ratio - 0.5) - edge;
                    const double dy = std::ceil((ly + edge) * ratio - 0.5) - edge;
                    const QPointF at(dx / ratio, dy / ratio);
                    QMouseEvent move(QEvent::MouseMove, at, view->mapToGlobal(at), Qt::NoButton,
                                     Qt::NoButton, Qt::NoModifier);
                    QApplication::sendEvent(view, &move);
                    ASSERT_EQ(form.hovered(), form.hitTest(lx, ly))
                        << c->name() << " at device " << dx << "," << dy << " (" << ratio << ")";
                    ++checked;
                }
            }
        }
        EXPECT_GT(checked, 100);
    }
}

// Moved from a 100 % screen to a 200 % one (its pictures follow, as above), the whole window is
// drawn at twice the size and a click lands on the control drawn under it, to its edge pixels.
TEST_F(Scaled, AWindowMovedToADoubleScreenIsClickedWhereItShows) {
    MainWindow main{host};
    app::TForm1& form = main.form;
    qtui::FormView* view = host.viewOf(form);
    int clicks = 0;
    ui::Control& advanced = form.at("Btn_Adv");
    advanced.onClick = [&clicks](ui::Control&) { ++clicks; };
    putOn(view, 1.0);
    putOn(view, 2.0);
    EXPECT_EQ(view->grab().toImage().size(), QSize(1600, 1200));
    const ui::Rect r = advanced.formBounds();
    // Device pixels at 200 %, as the pointer reports them: half logical pixels.
    for (const QPointF at : {QPointF(r.x, r.y), QPointF(r.x + r.w - 0.5, r.y + r.h - 0.5),
                             QPointF(r.x - 0.5, r.y + r.h / 2)}) {
        for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent e(type, at, view->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
            QApplication::sendEvent(view, &e);
        }
    }
    EXPECT_EQ(clicks, 2) << "its first and last device pixels, and not the one left of it";
}

}  // namespace
