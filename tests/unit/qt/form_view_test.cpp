// The Qt view under the offscreen platform: TForm1 rendered into an image.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>

#include "app/combination_dialog.h"
#include "app/main_form.h"
#include "offscreen_application.h"
#include "qt/form_view.h"
#include "qt/qt_host.h"
#include "sim/sim_presets.h"
#include "skin/hover_states.h"

namespace {

struct Rendered : ::testing::Test {
    void SetUp() override { offscreenApplication(); }
    sim::SimulatedMouse mouse{sim::DeviceKind::Macro};
    qtui::QtHost host;
    app::TForm1 form{host, mouse};

    QImage render() {
        qtui::FormView* view = host.viewOf(form);
        view->sync();
        QImage image(view->size(), QImage::Format_RGB32);
        view->render(&image);
        return image;
    }
};

TEST_F(Rendered, MainWindowShowsItsSkin) {
    host.setMainForm(form, [] { return true; });
    form.FormCreate();
    const QImage image = render();
    ASSERT_EQ(image.size(), QSize(800, 600));
    // The red line under the header, the red ring on the mouse, and a selected navigation
    // button (Alternate Key: the built-in image's current profile).
    EXPECT_GT(qRed(image.pixel(400, 86)), 180);
    EXPECT_GT(qRed(image.pixel(195 + 236, 104 + 250 - 13)), 150);
    const QRgb selected = image.pixel(161 + 10, 484 + 18);
    EXPECT_GT(qRed(selected), 120);
    EXPECT_LT(qGreen(selected), 80);
    // The Main Control button is not selected: dark.
    EXPECT_LT(qRed(image.pixel(71 + 4, 484 + 30)), 80);
    // Caption text of the Apply button is drawn in white somewhere in its label.
    bool white = false;
    for (int y = 160; y < 190 && !white; ++y) {
        for (int x = 10; x < 76; ++x) white |= qGray(image.pixel(x, y)) > 200;
    }
    EXPECT_TRUE(white);
}

// The first paint decodes nothing itself: every picture it shows was prepared at start.
TEST_F(Rendered, EveryPictureOfTheFirstPaintIsPreparedAtStart) {
    host.setMainForm(form, [] { return true; });
    form.FormCreate();
    const std::vector<std::string> prepared = skin::startPagePictures();
    for (const auto& c : form.controls()) {
        if (c->kind() != ui::ControlKind::Picture || !c->showing() || c->picture().empty())
            continue;
        EXPECT_TRUE(std::ranges::find(prepared, c->picture()) != prepared.end())
            << c->name() << " shows " << c->picture();
    }
}

TEST_F(Rendered, InputControlsAreRealWidgetsThatFollowTheModel) {
    host.setMainForm(form, [] { return true; });
    form.FormCreate();
    host.viewOf(form)->sync();
    EXPECT_TRUE(host.viewOf(form)->findChildren<QLineEdit*>().empty())
        << "the pages with edits are hidden at start: their widgets come when they show";
    ui::Control& repeat = form.at("Edt_Repeat1");
    repeat.setCaption("7");
    repeat.setVisible(true);
    host.viewOf(form)->sync();
    const auto edits = host.viewOf(form)->findChildren<QLineEdit*>();
    ASSERT_EQ(edits.size(), 1);
    EXPECT_EQ(edits[0]->geometry(), QRect(repeat.formBounds().x, repeat.formBounds().y,
                                          repeat.formBounds().w, repeat.formBounds().h));
    EXPECT_EQ(edits[0]->text(), "7");
    EXPECT_EQ(edits[0]->maxLength(), 2);
    repeat.setVisible(false);
    host.viewOf(form)->sync();
    EXPECT_FALSE(edits[0]->isVisible()) << "made once, then hidden and shown with its control";
}

// The widgets are children of the view, not of their group: a disabled group must disable
// them itself, and enable them again.
TEST_F(Rendered, AWidgetInADisabledGroupIsDisabled) {
    host.setMainForm(form, [] { return true; });
    form.FormCreate();
    form.DisplayP4_OnClick();
    const ui::Rect r = form.at("Edt_Delay").formBounds();
    for (const bool enabled : {false, true}) {
        form.at("Gb_Delay").setEnabled(enabled);
        host.viewOf(form)->sync();
        int found = 0;
        for (QLineEdit* e : host.viewOf(form)->findChildren<QLineEdit*>()) {
            if (e->geometry() != QRect(r.x, r.y, r.w, r.h)) continue;
            EXPECT_EQ(e->isEnabled(), enabled);
            ++found;
        }
        EXPECT_EQ(found, 1);
    }
}

// Where the desktop refuses to move the window (the offscreen platform does), it follows the
// pointer from the press on the background until the release, and the model follows it.
TEST_F(Rendered, TheWindowIsDraggedByHandWhereTheDesktopWillNot) {
    host.setMainForm(form, [] { return true; });
    form.FormCreate();
    host.showForm(form);
    qtui::FormView* view = host.viewOf(form);
    const QPoint start = view->pos();
    const QPointF inside(400, 20);
    QCursor::setPos(start + inside.toPoint());
    QMouseEvent press(QEvent::MouseButtonPress, inside, view->mapToGlobal(inside), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view, &press);
    ASSERT_TRUE(view->movingByHand());
    const QPointF moved = view->mapToGlobal(inside) + QPointF(30, 15);
    QMouseEvent drag(QEvent::MouseMove, inside, moved, Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(view, &drag);
    QMouseEvent release(QEvent::MouseButtonRelease, inside, moved, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(view, &release);
    EXPECT_FALSE(view->movingByHand());
    EXPECT_EQ(view->pos(), start + QPoint(30, 15));
    view->sync();
    EXPECT_EQ(view->pos(), start + QPoint(30, 15)) << "a sync keeps it there";
    EXPECT_EQ(form.bounds().x, start.x() + 30);
}

// The side buttons reach the form as Back and Forward (what a recording from the window hears)
// and press nothing: no drag of the window, as a left press on the background would start.
TEST_F(Rendered, TheSideButtonsAreBackAndForwardAndPressNothing) {
    host.setMainForm(form, [] { return true; });
    form.FormCreate();
    host.showForm(form);
    qtui::FormView* view = host.viewOf(form);
    std::vector<std::pair<ui::MouseButton, bool>> heard;
    form.onWindowButton = [&](ui::MouseButton b, bool down) { heard.emplace_back(b, down); };
    const QPointF inside(400, 20);
    for (const Qt::MouseButton b : {Qt::BackButton, Qt::ForwardButton}) {
        QMouseEvent press(QEvent::MouseButtonPress, inside, view->mapToGlobal(inside), b, b,
                          Qt::NoModifier);
        QApplication::sendEvent(view, &press);
        EXPECT_FALSE(view->movingByHand());
        QMouseEvent release(QEvent::MouseButtonRelease, inside, view->mapToGlobal(inside), b,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(view, &release);
    }
    EXPECT_EQ(heard,
              (std::vector<std::pair<ui::MouseButton, bool>>{{ui::MouseButton::Back, true},
                                                             {ui::MouseButton::Back, false},
                                                             {ui::MouseButton::Forward, true},
                                                             {ui::MouseButton::Forward, false}}));
}

// No caption runs past its control in any language table: it fits at some size from the
// control's own down to the smallest, on one line or (buttons) on two.
// Every caption drawn alone, white on black, at each display scale: it fits, no letter runs
// out of the label, and a button's caption keeps its margin.
TEST_F(Rendered, EveryCaptionFitsItsControlInEveryLanguageAtEveryScale) {
    host.setMainForm(form, [] { return true; });
    form.FormCreate();
    for (const double scale : {1.0, 1.25, 1.5, 2.0}) {
        for (int language = 1; language <= 3; ++language) {
            form.Btn_LangClick(language);
            for (const auto& c : form.controls()) {
                if (c->kind() != ui::ControlKind::Label || c->caption().empty()) continue;
                // Key labels name what the mouse holds and scroll when it is long.
                if (c->scrollsWhenLong()) continue;
                const QRect r(0, 0, c->bounds().w, c->bounds().h);
                // Wider than the label: a caption that runs out of it shows beyond its end.
                QImage image(QSize(r.width() + 8, r.height()) * scale, QImage::Format_RGB32);
                image.setDevicePixelRatio(scale);
                image.fill(Qt::black);
                QPainter p(&image);
                p.setPen(Qt::white);
                qtui::drawCaption(p, *c, r);
                p.end();
                int first = image.width(), last = -1;
                for (int y = 0; y < image.height(); ++y)
                    for (int x = 0; x < image.width(); ++x)
                        if (qGreen(image.pixel(x, y)) > 60) {
                            first = std::min(first, x);
                            last = std::max(last, x);
                        }
                // A button (wider than an arrow) shows a clear gap inside its bevel.
                const int margin = c->verticalCenter() && r.width() >= 40 ? int(3 * scale) : 0;
                const std::string where = std::to_string(scale) + "x, table " +
                                          std::to_string(language) + ": " + c->name() + " \"" +
                                          c->caption() + "\"";
                const int flags = c->verticalCenter() ? Qt::AlignVCenter : Qt::AlignTop;
                EXPECT_TRUE(qtui::fitCaption(*c, r, flags).fits) << where;
                if (c->verticalCenter()) EXPECT_GE(first, margin) << where;
                EXPECT_LT(last, int(r.width() * scale) - margin) << where;
            }
        }
    }
}

// A dialog's shape where no compositor blends it: its rounded picture, not its rectangle.
TEST_F(Rendered, ADialogPaintsOnlyItsPicturesShape) {
    host.setMainForm(form, [] { return true; });
    form.FormCreate();
    app::TForm2 dialog{form, host};
    dialog.FormCreate();
    host.syncAll();
    qtui::FormView* view = host.viewOf(dialog);
    ASSERT_NE(view, nullptr);
    const QRegion painted = view->paintedRegion();
    EXPECT_TRUE(painted.contains(QPoint(177, 90)));
    for (const QPoint corner : {QPoint(0, 0), QPoint(354, 0), QPoint(0, 179), QPoint(354, 179)})
        EXPECT_FALSE(painted.contains(corner)) << corner.x() << "," << corner.y();
}

// A combination's name longer than its key label keeps the label's font size and scrolls
// through the label while hovered.
TEST_F(Rendered, ALongKeyLabelScrollsAtItsOwnSize) {
    host.setMainForm(form, [] { return true; });
    form.FormCreate();
    ui::Control& key = form.at("Key1");
    key.setCaption("Ctrl+Alt+Shift+Win+PageDown+Num Lock");
    const ui::Rect b = key.formBounds();
    const auto fitted = [&] {
        return qtui::fitCaption(key, QRect(b.x, b.y, b.w, b.h), Qt::AlignVCenter);
    };
    EXPECT_EQ(fitted().font.pixelSize(), qtui::pixelSize(key.font().size));
    EXPECT_FALSE(fitted().wrapped);
    form.ButtonTypeCMouseEnter(1);
    form.LabelRunTimer();
    EXPECT_EQ(key.caption(), "trl+Alt+Shift+Win+PageDown+Num Lock    C");
    form.LabelRunTimer();
    EXPECT_EQ(key.caption(), "rl+Alt+Shift+Win+PageDown+Num Lock    Ct");
    EXPECT_EQ(fitted().font.pixelSize(), qtui::pixelSize(key.font().size));
}

}  // namespace

namespace {

// A left click on the view of a form, at a point of the form.
void click(QWidget* view, QPointF at) {
    for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent e(type, at, view->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(view, &e);
    }
}

// The key A typed on a US keyboard, to whichever widget has the focus now.
void typeA() {
    QWidget* target = QApplication::focusWidget();
    if (!target) return;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, 38, 0x61, 0, "a");
    QApplication::sendEvent(target, &press);
}

}  // namespace

TEST_F(Rendered, TheCombinationEditHasTheFocusWheneverTheModelMovesIt) {
    host.setMainForm(form, [] { return true; });
    form.FormCreate();
    host.showForm(form);
    app::TForm2 dialog{form, host};
    const auto settle = [this] {
        QApplication::processEvents();
        host.syncAll();
        QApplication::processEvents();
    };
    dialog.FormCreate();
    settle();
    qtui::FormView* view = host.viewOf(dialog);
    auto* edit = view->findChild<QLineEdit*>();
    ASSERT_TRUE(edit);
    QCheckBox* ctrl = nullptr;
    for (QCheckBox* box : view->findChildren<QCheckBox*>()) {
        if (box->text() == "Ctrl") ctrl = box;
    }
    ASSERT_TRUE(ctrl);
    const struct {
        const char* after;
        std::function<void()> step;
    } cases[] = {
        {"opening", [] {}},
        {"a tick, which took the focus to its box",
         [&] {
             ctrl->setFocus();
             ctrl->click();
         }},
        {"Clear, clicked while a box had the focus",
         [&] {
             ctrl->setFocus();
             click(view, QPointF(196 + 40, 134 + 12));
         }},
        {"a second opening, after the box had the focus",
         [&] {
             ctrl->setFocus();
             dialog.IB_CloseClick();
             settle();
             host.viewOf(form)->activateWindow();
             settle();
             dialog.FormCreate();
         }},
    };
    for (const auto& c : cases) {
        c.step();
        settle();
        EXPECT_EQ(QApplication::focusWidget(), edit) << "after " << c.after;
        dialog.IB_CancelClick();
        settle();
        typeA();
        settle();
        EXPECT_EQ(edit->text(), "A") << "a key typed after " << c.after;
    }
}
