#pragma once
// A small INI file read and edited in place: "[Group]" lines and "key=value" entries. Edits keep
// every other line as it was; the file is replaced whole (through a symbolic link, keeping its
// mode).
#include <optional>
#include <string>
#include <vector>

namespace settings {

class IniFile {
  public:
    // A file that does not exist or cannot be read reads as empty.
    explicit IniFile(std::string path);
    // False for a file that exists but could not be read: saving it would lose what it holds.
    bool readable() const { return readable_; }
    std::optional<std::string> value(const std::string& group, const std::string& key) const;
    // A decimal integer from `low` to `high`, or nothing.
    std::optional<int> number(const std::string& group, const std::string& key, int low,
                              int high) const;
    void set(const std::string& group, const std::string& key, const std::string& value);
    // Writes the file (making its folder); false when it cannot be written or was not readable.
    bool save() const;

  private:
    std::string path_;
    std::vector<std::string> lines_;
    bool readable_ = true;
};

}  // namespace settings
