#pragma once
// A virtual X display for end-to-end tests, and the real editor running on it: start, find
// its window, click, take screenshots.
#include <map>
#include <string>
#include <vector>

#include "skin/png_decoder.h"

namespace e2e {

// Runs a program and returns its standard output; exit code in `status`.
std::string runCommand(const std::vector<std::string>& argv, int* status = nullptr,
                       const std::map<std::string, std::string>& env = {});
bool haveProgram(const std::string& name);

class VirtualDisplay {
  public:
    // Returns once a client can connect, or with error() set.
    VirtualDisplay();
    ~VirtualDisplay();
    bool running() const { return skipReason_.empty() && error_.empty(); }
    // A program is missing: the test is skipped.
    const std::string& skipReason() const { return skipReason_; }
    // Xvfb is there but did not start or answer: the test fails.
    const std::string& error() const { return error_; }
    const std::string& name() const { return name_; }  // ":123"

  private:
    std::string name_;
    std::string skipReason_;
    std::string error_;
    int pid_ = -1;
};

class Editor {
  public:
    // Starts the editor binary on the display with extra environment.
    Editor(const VirtualDisplay& display, const std::map<std::string, std::string>& env);
    ~Editor();

    // Waits up to `seconds` for the editor's main window; false when it never shows.
    bool waitForWindow(double seconds);
    // True once the process has ended; its exit code then in `exitCode()`.
    bool waitForExit(double seconds);
    int exitCode() const { return exitCode_; }
    // What the editor printed on its standard error so far.
    std::string errorOutput() const;
    // Clicks at a point of the main window (its own coordinates).
    void click(int x, int y);
    // The main window as a picture; saved to `artifact` (PNG) when given.
    skin::Picture screenshot(const std::string& artifact = {});
    std::string windowId() const { return window_; }
    // How many windows carry the caption.
    int windowsWithCaption();

  private:
    std::string xdotool(const std::vector<std::string>& args);

    const VirtualDisplay& display_;
    std::map<std::string, std::string> env_;
    int pid_ = -1;
    int exitCode_ = -1;
    std::string window_;
    std::string errorFile_;
};

// A pixel of a picture as r, g, b.
struct Rgb {
    int r, g, b;
};
Rgb pixel(const skin::Picture& p, int x, int y);
bool isRed(Rgb c);
// True when some pixel in the rectangle is close to white.
bool hasWhiteIn(const skin::Picture& p, int x, int y, int w, int h);

}  // namespace e2e
