// The floor for the start-up measurement: a bare 800 x 600 Qt window that reports its first
// paint the way the editor does.
#include <QApplication>
#include <QPainter>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <cstdlib>

class Bare : public QWidget {
  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), Qt::black);
        if (reported_) return;
        reported_ = true;
        if (const char* file = std::getenv("QUORVEX_FIRST_PAINT_FILE")) {
            const auto now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                 std::chrono::system_clock::now().time_since_epoch())
                                 .count();
            if (FILE* f = std::fopen(file, "w")) {
                std::fprintf(f, "%lld\n", static_cast<long long>(now));
                std::fclose(f);
            }
        }
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
