#pragma once
// A layout table: 8-bit INI text whose values are decimal integers.
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace skin {

class LayoutTable {
  public:
    // Reads the entries of `section`; lines are split at CR LF or LF.
    static LayoutTable parse(std::span<const std::uint8_t> text, std::string_view section);
    // The layout table "orgN" (or "org" for N = 0) of the program's resources; empty when the
    // resource is missing.
    static LayoutTable load(int n);

    // The value of a key, or nothing when it is missing or not a decimal integer.
    std::optional<long> number(std::string_view key) const;
    // The text of a key ("Web"), empty when missing.
    std::string text(std::string_view key) const;
    // Keys in file order, as written.
    const std::vector<std::string>& keys() const { return order_; }

  private:
    std::map<std::string, std::string, std::less<>> values_;  // lower-case keys
    std::vector<std::string> order_;
};

}  // namespace skin
