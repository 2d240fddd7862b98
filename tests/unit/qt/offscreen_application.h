#pragma once
// The one application object of a Qt test program, on the offscreen platform.
#include <QApplication>

inline QApplication& offscreenApplication() {
    static int argc = 1;
    static char name[] = "qt_tests";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: Qt's input devices, made by the synthesized mouse events, are torn down at
    // exit and must not outlive the application object they refer to.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}
