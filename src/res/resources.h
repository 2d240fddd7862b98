#pragma once
// Built-in resources: files of resources/ embedded into the program, looked up by type and name.
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace res {

using Bytes = std::span<const std::uint8_t>;

// The type under which every built-in picture, table and image is stored.
inline constexpr std::string_view kDataType = "RC_DATA";

// The bytes of the resource, or nothing when the program holds no such resource. Names and
// types compare without regard to case, as resource names always have. An empty resource is
// found and has zero bytes; only a missing one gives nothing.
std::optional<Bytes> find(std::string_view type, std::string_view name);

// Shorthand for find(kDataType, name).
std::optional<Bytes> findData(std::string_view name);

}  // namespace res
