#pragma once
// The macro recorder: keyboard and mouse events in, event lines (with their delay lines) out,
// appended to a macro or inserted next to one of its events.
#include <cstdint>
#include <string>
#include <vector>

#include "macros/macro_model.h"

namespace macros {

// The three states of a keyboard message. One repeat counter serves all keys: a key-down
// while another is held arrives as Repeat, and any key-up resets the counter.
enum class KeyState { On, Off, Repeat };

class KeyboardHook {
  public:
    KeyState feed(bool down) {
        repeat_ = down ? repeat_ + 1 : 0;
        return repeat_ == 0 ? KeyState::Off : repeat_ == 1 ? KeyState::On : KeyState::Repeat;
    }
    int repeatCount() const { return repeat_; }

  private:
    int repeat_ = 0;
};

enum class MouseButton { Left, Right, Middle, Forward, Backward };

// Raw keyboard input names both Shift keys 0x10, both Ctrl keys 0x11 and both Alt keys 0x12,
// and a recording keeps those generic codes; every other key is itself.
int genericVirtualKey(int virtualKey);

struct DelayOptions {
    DelayMode mode = DelayMode::Recorded;
    int defaultDelay = 50;
    std::string defaultDelayText = "50";  // the edit's text, for the mode line "01" + text
};

class Recorder {
  public:
    static constexpr int kLimit = 100;

    // A normal recording: the event list is emptied and the counts start at 0.
    void startNormal(std::vector<std::string>& lines);
    // An insert recording next to the selected item `position` (front: before it, else after).
    void startInsert(int position, bool front, int insertPresses, int insertReleases);
    void stop();
    bool recording() const { return recording_; }
    bool inserting() const { return inserting_; }

    // One keyboard message. True when this release was the 100th and the recording must stop.
    bool keyboard(std::vector<std::string>& lines, int virtualKey, KeyState state,
                  std::uint32_t now, const DelayOptions& options);
    // One mouse button event (never counted against the limits).
    void mouse(std::vector<std::string>& lines, MouseButton button, bool down, std::uint32_t now,
               const DelayOptions& options);

    int pressCount() const { return pressCount_; }
    int releaseCount() const { return releaseCount_; }
    int insertPressCount() const { return insertPresses_; }
    int insertReleaseCount() const { return insertReleases_; }
    void setReleaseCount(int n) { releaseCount_ = n; }
    // The counts of a macro as edited (press and release lines, mouse lines included).
    void setCounts(int presses, int releases) {
        pressCount_ = presses;
        releaseCount_ = releases;
    }
    void clearInsertCounts() { insertPresses_ = insertReleases_ = 0; }
    // Both counts of the current placement at the limit: the macro takes no more keys.
    bool full() const {
        return (pressCount_ >= kLimit && releaseCount_ >= kLimit) ||
               (insertPresses_ >= kLimit && insertReleases_ >= kLimit);
    }
    // The list item to select after the last placed line.
    int selectedItem(const std::vector<std::string>& lines) const;

  private:
    void ensureModeLine(std::vector<std::string>& lines, const DelayOptions& options) const;
    void addDelays(std::vector<std::string>& lines, std::uint32_t now, const DelayOptions& options);
    void place(std::vector<std::string>& lines, const std::string& line);
    bool takePress();
    bool takeRelease();

    bool recording_ = false;
    bool inserting_ = false;
    bool front_ = true;
    int position_ = 0;
    std::uint32_t lastTick_ = 0;
    int pressCount_ = 0, releaseCount_ = 0;
    int insertPresses_ = 0, insertReleases_ = 0;
    bool pressLimit_ = false;
    int lastKey_ = -1;
    int heldCount_ = 0;  // for the whole run of the program
};

}  // namespace macros
