#pragma once
// The four fire-key modes: the corrections of their edits, their FireKey entries, and the
// selection of modes that fire-mode functions carry.
#include <array>
#include <cstdint>
#include <set>
#include <string>

#include "image/image_types.h"

namespace keys {

// The correction of a text on leaving its edit: empty or exactly "1" becomes "2"; values above
// the limit become it.
std::string correctRepeatText(const std::string& text);  // limit 15
std::string correctDelayText(const std::string& text);   // limit 2000

// The text a mode's edit is written with, always a decimal number. A text as the last image
// showed it goes back as it was read; a text the user changed is written as its correction,
// also while the focus is still in its edit.
std::string repeatTextToWrite(const std::string& text, const std::string& shown);
std::string delayTextToWrite(const std::string& text, const std::string& shown);

// The FireKey entry of a mode: 06, repeat + 0x10, byte 2's high four bits + delay bits 8-11,
// delay bits 0-7 (all modulo 256).
std::array<std::uint8_t, 4> fireKeyEntry(unsigned repeat, unsigned delay, std::uint8_t oldByte2);

// A mode's entry in the FireKey section of SectionBuf (mode 1-4), as the Advanced Page shows it:
// the repeat count from byte 1's low four bits, the delay from byte 2's low four bits and byte 3.
struct FireKeyMode {
    unsigned repeat = 0;
    unsigned delay = 0;
};
FireKeyMode readFireKeyMode(const image::SectionBuf& s, int mode);
// Writes the entry as `fireKeyEntry` builds it from the byte 2 there.
void writeFireKeyMode(image::SectionBuf& s, int mode, unsigned repeat, unsigned delay);

// The fire-mode selection: one to three of the modes 1-4 once it has a member.
class FireModeSelection {
  public:
    FireModeSelection() : modes_{1, 2, 3} {}
    const std::set<int>& modes() const { return modes_; }
    bool selected(int mode) const { return modes_.count(mode) != 0; }
    // A click on a mode's label: adds it (unless three are selected) or removes it (unless it
    // is the only one). True when the selection changed.
    bool toggle(int mode);
    // Takes the modes named by bytes 1-3 of a fire-mode code (values 1-4; others ignored).
    void takeFromCode(const std::array<std::uint8_t, 4>& code);
    // 0F, the selected modes ascending, zeros.
    std::array<std::uint8_t, 4> code() const;

  private:
    std::set<int> modes_;
};

// Takes the selection from the last fire-mode function of the 36 buttons (profile 1 first);
// false, and the selection unchanged, when no button holds one.
bool takeFireModes(const image::EditorImage& img, FireModeSelection& selection);
// Every fire-mode function of the three profiles gets the selection's code.
void writeFireModes(image::EditorImage& img, const FireModeSelection& selection);

}  // namespace keys
