#pragma once
// The line rules shared by the layout and language tables: INI text with sections, entries and
// ";" comments, keys and sections compared without regard to case.
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace skin {

std::string lowerAscii(std::string_view s);
std::string_view trimBlanks(std::string_view s);

// Fed one line (or token) at a time; hands out the entries of one section.
class IniSectionReader {
  public:
    explicit IniSectionReader(std::string_view section) : wanted_(lowerAscii(section)) {}
    // The key and value of an entry of the wanted section, blanks dropped; nothing for
    // sections, comments, other sections' entries and lines without "=".
    std::optional<std::pair<std::string_view, std::string_view>> feed(std::string_view line);

  private:
    std::string wanted_;
    bool inSection_ = false;
};

}  // namespace skin
