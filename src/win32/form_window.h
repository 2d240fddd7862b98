#pragma once
// The window of one form: paints its pictures, labels and panels in z-order, hosts native child
// controls for its input controls, and hands pointer and key input to the form.
#include <windows.h>

#include <functional>
#include <map>
#include <memory>

#include "ui/form.h"
#include "win32/canvas.h"

namespace win32ui {

class Win32Host;

class FormWindow {
  public:
    FormWindow(ui::Form& form, Win32Host& host, bool main);
    ~FormWindow();
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    HWND hwnd() const { return hwnd_; }
    ui::Form& form() { return form_; }
    // Brings the window up to date with the model: place, repaints of what changed, controls.
    void sync();

    // The window procedure's share; false for messages left to DefWindowProc.
    bool handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Messages of a child control's own procedure; false lets the control handle them.
    bool handleChild(HWND child, UINT message, WPARAM wParam, LPARAM lParam);

    static void registerClass(HINSTANCE instance);

    // Device pixels per logical pixel: the window's DPI over 96.
    double scale() const { return scale_; }
    // A logical rectangle in device pixels (edges rounded, so neighbours stay neighbours).
    ui::Rect toDevice(const ui::Rect& r) const;
    // The logical pixel that holds the centre of a device pixel.
    int toLogical(int device) const;

  private:
    struct Child {
        HWND hwnd = nullptr;
        std::uint64_t revision = 0;
        HBRUSH brush = nullptr;
        ui::Color brushColor;
    };
    void paint();
    void paintChildren(const ui::Control* parent);
    void paintControl(const ui::Control& c);
    Child& child(ui::Control& c);
    HWND createChild(ui::Control& c);
    void syncChild(ui::Control& c, Child& ch);
    ui::Control* controlOf(HWND child) const;
    void command(HWND child, int code);
    void drawItem(const DRAWITEMSTRUCT& item);
    LRESULT colours(HDC dc, HWND child);
    void afterInput();
    // Takes a new DPI: back buffer, pictures, fonts and child controls follow it.
    void setDpi(unsigned dpi);
    // The child of the model's focused control, or with `orLast` else the one that had the focus
    // when the window was left; null when none can take it.
    HWND focusTarget(bool orLast) const;

    ui::Form& form_;
    Win32Host& host_;
    bool main_;
    HWND hwnd_ = nullptr;
    Canvas canvas_;
    std::map<ui::Control*, Child> children_;
    std::map<HWND, ui::Control*> controlOf_;
    ui::Control* creating_ = nullptr;
    bool syncing_ = false;
    bool tracking_ = false;
    double scale_ = 1.0;
    std::uint64_t focusRevision_ = 0;
    HWND restoreFocus_ = nullptr;
};

}  // namespace win32ui
