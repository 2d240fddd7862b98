#pragma once
// A window that shows one form: paints its pictures, labels and panels in z-order, hosts real
// Qt widgets for its input controls, and hands pointer and key input to the form.
#include <QFont>
#include <QImage>
#include <QWidget>

#include <map>
#include <string>

#include "ui/form.h"

namespace qtui {

class QtHost;

class FormView : public QWidget {
  public:
    FormView(ui::Form& form, QtHost& host, Qt::WindowFlags flags);

    ui::Form& form() { return form_; }
    // Brings the view up to date with the model: geometry, repaints of what changed, widgets.
    void sync();
    // Black shows the desktop through (the wait window's keyed background).
    void setKeyedBackground();
    // What the form paints, as a region of the view: where a keyed view is not see-through.
    QRegion paintedRegion();
    // Called when the user asks to close the window; false keeps it open.
    std::function<bool()> onCloseRequest;
    // Moves the window with the pointer until the button is released: the drag where the
    // window manager offers no move of its own.
    void beginManualMove();
    bool movingByHand() const { return manualMove_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Hosted {
        QWidget* widget = nullptr;
        std::uint64_t revision = 0;
    };
    // A picture of the set in use and the scale it was made for (1 where the set lacks it).
    struct Scaled {
        QImage image;
        double factor = 1.0;
    };
    void paintControl(QPainter& p, const ui::Control& c);
    void paintChildren(QPainter& p, const ui::Control* parent);
    const Scaled* image(const std::string& name);
    // A picture in a tint's colour, kept while neither changes: every paint draws it again.
    const QImage& tinted(const QImage& picture, ui::Color tint);
    // Takes the picture set of the window's current scale; true when it changed.
    bool followScale();
    void syncWidget(ui::Control& c, Hosted& h);
    QWidget* createWidget(ui::Control& c);
    void afterInput();
    QPoint logicalPixel(const QPointF& position) const;
    // Moves the native focus to the widget of the control the model gave the focus.
    void giveFocus();

    ui::Form& form_;
    struct Tinted {
        qint64 source = 0;
        ui::Color tint;
        QImage image;
    } tinted_;
    QtHost& host_;
    std::map<std::string, Scaled> images_;
    double pictureSet_ = 1.0;
    bool followsScreen_ = false;
    std::map<ui::Control*, Hosted> widgets_;
    std::map<QObject*, ui::Control*> controlOf_;
    bool syncing_ = false;
    std::uint64_t focusRevision_ = 0;
    bool keyed_ = false;
    // Without a compositor a keyed view is cut to what it paints.
    void updateShape();
    bool firstPaintReported_ = false;
    bool manualMove_ = false;
    QPoint grabOffset_;
};

// Font pixel size of a point size at the 96 dpi the layout tables are made for.
int pixelSize(int points);

// How a label's caption is drawn in its rectangle: the font, whether it wraps to two lines,
// and whether it fits at all (at the smallest size it may not).
struct FittedCaption {
    QFont font;
    bool wrapped = false;
    bool fits = true;
};
// `largest`, when not 0, is the largest font pixel size to try.
FittedCaption fitCaption(const ui::Control& c, const QRect& r, int flags, int largest = 0);
// The font pixel size every label of c's size group fits at (0 outside a group).
int sizeGroupPixelSize(const ui::Form& form, const ui::Control& c);
// The part of a label's rectangle its caption is drawn in.
QRect captionRoom(const ui::Control& c, const QRect& r);
// A label's caption in `r`, fitted as above, in the painter's pen.
void drawCaption(QPainter& p, const ui::Control& c, const QRect& r, int largest = 0);

}  // namespace qtui
