// The floor for the start-up measurement: a bare 800 x 600 Qt window that reports its first
// paint the way the editor does.
#include <QApplication>
#include <QPainter>
#include <QWidget>

#include "qt/first_paint.h"

class Bare : public QWidget {
  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), Qt::black);
        if (reported_) return;
        reported_ = true;
        qtui::reportFirstPaint();
    }

  private:
    bool reported_ = false;
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Bare w;
    w.setWindowFlags(Qt::FramelessWindowHint);
    w.setFixedSize(800, 600);
    w.show();
    return QApplication::exec();
}
