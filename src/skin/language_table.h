#pragma once
// Language tables: UTF-16 little-endian text of quoted "Key=Text" tokens, read into a lookup.
#include <map>
#include <span>
#include <string>
#include <string_view>

#include "keys/key_naming.h"

namespace skin {

class LanguageTable : public keys::LanguageTexts {
  public:
    LanguageTable() = default;
    // Reads the entries of `section`. The byte-order mark FF FE is skipped when present; the
    // text is UTF-16 little-endian either way.
    static LanguageTable parse(std::span<const std::uint8_t> bytes, std::string_view section);
    // Table N (1 to 3) of the program's resources; empty when the resource is missing.
    static LanguageTable load(int n);

    // The text of a key (UTF-8), empty when the key is absent.
    std::string text(std::string_view key) const override;
    std::size_t size() const { return entries_.size(); }

  private:
    friend std::string FindStrKey(std::string_view text, const LanguageTable (&tables)[3]);
    std::map<std::string, std::string, std::less<>> entries_;  // lower-case keys
};

// The key ("Str100" and up) whose text equals `text` in table 1, then 2, then 3; the last
// match wins. Empty when no table has it.
std::string FindStrKey(std::string_view text, const LanguageTable (&tables)[3]);

// UTF-16 little-endian to UTF-8; unpaired surrogates become U+FFFD.
std::string utf16leToUtf8(std::span<const std::uint8_t> bytes);

}  // namespace skin
