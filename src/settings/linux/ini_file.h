#pragma once
// A small INI file read and edited in place: "[Group]" lines and "key=value" entries. Edits keep
// every other line as it was; the file is replaced whole.
#include <optional>
#include <string>
#include <vector>

namespace settings {

class IniFile {
  public:
    // A file that does not exist or cannot be read reads as empty.
    explicit IniFile(std::string path);
    std::optional<std::string> value(const std::string& group, const std::string& key) const;
    // A decimal integer from `low` to `high`, or nothing.
    std::optional<int> number(const std::string& group, const std::string& key, int low,
                              int high) const;
    void set(const std::string& group, const std::string& key, const std::string& value);
    // Writes the file (making its folder); false when it cannot be written.
    bool save() const;

  private:
    std::string path_;
    std::vector<std::string> lines_;
};

}  // namespace settings
