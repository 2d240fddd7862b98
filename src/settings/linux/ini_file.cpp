#include "settings/linux/ini_file.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>

#include "image/raw_file.h"

namespace settings {
namespace {

std::string trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

std::optional<std::string> groupOf(const std::string& line) {
    const std::string t = trimmed(line);
    if (t.size() < 2 || t.front() != '[' || t.back() != ']') return std::nullopt;
    return t.substr(1, t.size() - 2);
}

// The key of an entry line, or nothing for comments, groups and other lines.
std::optional<std::string> keyOf(const std::string& line) {
    const std::string t = trimmed(line);
    const auto eq = t.find('=');
    if (t.empty() || t[0] == '#' || t[0] == ';' || eq == std::string::npos) return std::nullopt;
    return trimmed(t.substr(0, eq));
}

}  // namespace

IniFile::IniFile(std::string path) : path_(std::move(path)) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(path_, ec);
    if (status.type() == fs::file_type::not_found) return;  // a new file
    // Read whole or not at all: a read error half way must not pass for the end of the file.
    std::FILE* in = fs::is_regular_file(status) ? std::fopen(path_.c_str(), "rb") : nullptr;
    std::string text;
    readable_ = in != nullptr;
    if (in) {
        char chunk[4096];
        for (std::size_t n; (n = std::fread(chunk, 1, sizeof(chunk), in)) > 0;)
            text.append(chunk, n);
        readable_ = !std::ferror(in);
        std::fclose(in);
    }
    if (!readable_) return;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        lines_.push_back(text.substr(start, end - start));
        start = end + 1;
    }
}

std::optional<std::string> IniFile::value(const std::string& group, const std::string& key) const {
    std::string current;
    for (const std::string& line : lines_) {
        if (const auto g = groupOf(line)) {
            current = *g;
        } else if (current == group && keyOf(line) == key) {
            return trimmed(line.substr(line.find('=') + 1));
        }
    }
    return std::nullopt;
}

std::optional<int> IniFile::number(const std::string& group, const std::string& key, int low,
                                   int high) const {
    const auto text = value(group, key);
    if (!text) return std::nullopt;
    int n = 0;
    const auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), n);
    if (ec != std::errc() || end != text->data() + text->size() || n < low || n > high)
        return std::nullopt;
    return n;
}

void IniFile::set(const std::string& group, const std::string& key, const std::string& value) {
    std::string current;
    std::optional<std::size_t> groupEnd;  // where a missing key of the group goes
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (const auto g = groupOf(lines_[i])) {
            current = *g;
            if (current == group) groupEnd = i + 1;
        } else if (current == group) {
            if (keyOf(lines_[i]) == key) {
                lines_[i] = key + "=" + value;
                return;
            }
            if (!trimmed(lines_[i]).empty()) groupEnd = i + 1;
        }
    }
    if (groupEnd) {
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(*groupEnd), key + "=" + value);
        return;
    }
    if (!lines_.empty() && !trimmed(lines_.back()).empty()) lines_.push_back("");
    lines_.push_back("[" + group + "]");
    lines_.push_back(key + "=" + value);
}

bool IniFile::save() const {
    if (!readable_) return false;
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path_).parent_path(), ec);
    std::string text;
    for (const std::string& line : lines_) text += line + "\n";
    const auto bytes = std::span(reinterpret_cast<const image::Byte*>(text.data()), text.size());
    return !image::writeRawFile(path_, {bytes});
}

}  // namespace settings
