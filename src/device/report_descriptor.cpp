#include "device/report_descriptor.h"

#include <array>
#include <map>
#include <vector>

namespace device {
namespace {

enum ItemType { kMain = 0, kGlobal = 1, kLocal = 2, kReserved = 3 };

// Main item tags.
constexpr int kTagFeature = 0x0B;
// Global item tags.
constexpr int kTagReportSize = 0x07;
constexpr int kTagReportId = 0x08;
constexpr int kTagReportCount = 0x09;
constexpr int kTagPush = 0x0A;
constexpr int kTagPop = 0x0B;

constexpr std::uint8_t kLongItemPrefix = 0xFE;
// No real report comes near this; it keeps the bit arithmetic far from overflow.
constexpr std::uint64_t kMaxReportBits = 0xFFFF * 8ull;
constexpr std::size_t kMaxPushDepth = 32;

struct Globals {
    std::uint32_t reportSize = 0;
    std::uint32_t reportCount = 0;
    std::uint32_t reportId = 0;
};

}  // namespace

std::optional<std::uint16_t> featureReportLength(std::span<const std::uint8_t> d) {
    if (d.empty() || d.size() > kMaxReportDescriptorSize) return std::nullopt;
    Globals globals;
    std::vector<Globals> stack;
    std::map<std::uint32_t, std::uint64_t> featureBits;  // by report id
    std::size_t i = 0;
    while (i < d.size()) {
        const std::uint8_t prefix = d[i];
        if (prefix == kLongItemPrefix) {
            // Long item: prefix, data size, tag, data. No long item carries what we look for.
            if (i + 2 >= d.size()) return std::nullopt;
            const std::size_t size = d[i + 1];
            if (i + 3 + size > d.size()) return std::nullopt;
            i += 3 + size;
            continue;
        }
        static constexpr std::array<std::size_t, 4> kSizes{0, 1, 2, 4};
        const std::size_t size = kSizes[prefix & 0x03];
        const int type = (prefix >> 2) & 0x03;
        const int tag = prefix >> 4;
        if (i + 1 + size > d.size()) return std::nullopt;
        std::uint32_t value = 0;
        for (std::size_t k = 0; k < size; ++k)
            value |= static_cast<std::uint32_t>(d[i + 1 + k]) << (8 * k);
        i += 1 + size;

        if (type == kGlobal) {
            switch (tag) {
                case kTagReportSize:
                    globals.reportSize = value;
                    break;
                case kTagReportCount:
                    globals.reportCount = value;
                    break;
                case kTagReportId:
                    if (value == 0 || value > 0xFF) return std::nullopt;
                    globals.reportId = value;
                    break;
                case kTagPush:
                    if (stack.size() >= kMaxPushDepth) return std::nullopt;
                    stack.push_back(globals);
                    break;
                case kTagPop:
                    if (stack.empty()) return std::nullopt;
                    globals = stack.back();
                    stack.pop_back();
                    break;
                default:
                    break;
            }
        } else if (type == kMain && tag == kTagFeature) {
            std::uint64_t& bits = featureBits[globals.reportId];
            // Compared before adding: a huge size times count must not wrap the sum around.
            const std::uint64_t added =
                static_cast<std::uint64_t>(globals.reportSize) * globals.reportCount;
            if (added > kMaxReportBits - bits) return std::nullopt;
            bits += added;
        } else if (type == kReserved) {
            return std::nullopt;
        }
    }
    std::uint64_t largestBytes = 0;
    bool any = false;
    for (const auto& [id, bits] : featureBits) {
        any = true;
        largestBytes = std::max(largestBytes, (bits + 7) / 8);
    }
    if (!any) return std::uint16_t{0};
    // With its report id the length must still fit the 16 bits Windows counts it in.
    if (largestBytes + 1 > 0xFFFF) return std::nullopt;
    return static_cast<std::uint16_t>(largestBytes + 1);
}

}  // namespace device
