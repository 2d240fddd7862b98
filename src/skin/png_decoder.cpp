#include "skin/png_decoder.h"

#include <zlib.h>

#include <array>
#include <cstring>
#include <optional>

namespace skin {
namespace {

constexpr std::array<std::uint8_t, 8> kSignature{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

enum ColorType : std::uint8_t { kGrey = 0, kRgb = 2, kPalette = 3, kGreyAlpha = 4, kRgba = 6 };

std::uint32_t be32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

int channels(std::uint8_t colorType) {
    switch (colorType) {
        case kGrey:
            return 1;
        case kGreyAlpha:
            return 2;
        case kRgb:
            return 3;
        case kRgba:
            return 4;
        case kPalette:
            return 1;
        default:
            return 0;
    }
}

std::uint8_t paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return static_cast<std::uint8_t>(a);
    if (pb <= pc) return static_cast<std::uint8_t>(b);
    return static_cast<std::uint8_t>(c);
}

// Inflates the picture data row by row: each `next` hands out the following filter byte and
// row, and `finish` tells whether the data held exactly the rows and no more.
class RowInflater {
  public:
    RowInflater(const std::vector<std::uint8_t>& in, std::size_t rowBytes)
        : row_(rowBytes + 1) {
        ok_ = inflateInit(&zs_) == Z_OK;
        zs_.next_in = const_cast<Bytef*>(in.data());
        zs_.avail_in = static_cast<uInt>(in.size());
    }
    ~RowInflater() {
        if (ok_) inflateEnd(&zs_);
    }
    RowInflater(const RowInflater&) = delete;
    RowInflater& operator=(const RowInflater&) = delete;

    // The filter byte and row bytes, or null when the data ends or breaks first.
    std::uint8_t* next() {
        if (!ok_) return nullptr;
        zs_.next_out = row_.data();
        zs_.avail_out = static_cast<uInt>(row_.size());
        while (zs_.avail_out > 0) {
            const int rc = inflate(&zs_, Z_NO_FLUSH);
            if (rc == Z_STREAM_END && zs_.avail_out == 0) break;
            if (rc != Z_OK) return nullptr;
        }
        return row_.data();
    }
    // True when the stream ends right after the last row.
    bool finish() {
        if (!ok_) return false;
        std::uint8_t extra;
        zs_.next_out = &extra;
        zs_.avail_out = 1;
        return inflate(&zs_, Z_FINISH) == Z_STREAM_END && zs_.avail_out == 1;
    }

  private:
    z_stream zs_{};
    bool ok_ = false;
    std::vector<std::uint8_t> row_;
};

// Undoes a row's filter in place against the row above (all zeros for the first). Each filter
// runs as a loop of its own: the decoder spends its time here on large pictures.
bool unfilterRow(std::uint8_t filter, std::uint8_t* cur, const std::uint8_t* prev,
                 std::size_t stride, std::size_t n) {
    switch (filter) {
        case 0:
            break;
        case 1:
            for (std::size_t i = n; i < stride; ++i)
                cur[i] = static_cast<std::uint8_t>(cur[i] + cur[i - n]);
            break;
        case 2:
            for (std::size_t i = 0; i < stride; ++i)
                cur[i] = static_cast<std::uint8_t>(cur[i] + prev[i]);
            break;
        case 3:
            for (std::size_t i = 0; i < n; ++i)
                cur[i] = static_cast<std::uint8_t>(cur[i] + prev[i] / 2);
            for (std::size_t i = n; i < stride; ++i)
                cur[i] = static_cast<std::uint8_t>(cur[i] + (cur[i - n] + prev[i]) / 2);
            break;
        case 4:
            // Left of the first pixel a and c are 0, and Paeth then picks b.
            for (std::size_t i = 0; i < n; ++i)
                cur[i] = static_cast<std::uint8_t>(cur[i] + prev[i]);
            for (std::size_t i = n; i < stride; ++i)
                cur[i] = static_cast<std::uint8_t>(cur[i] + paeth(cur[i - n], prev[i], prev[i - n]));
            break;
        default:
            return false;
    }
    return true;
}

}  // namespace

std::optional<DecodeError> decodePngInto(std::span<const std::uint8_t> data,
                                         const PixelTarget& target) {
    const auto fail = [](const char* why) { return DecodeError{why}; };
    if (data.size() < kSignature.size() ||
        !std::equal(kSignature.begin(), kSignature.end(), data.begin())) {
        return fail("not a PNG file");
    }
    std::size_t pos = kSignature.size();
    bool haveHeader = false, ended = false;
    int width = 0, height = 0;
    std::uint8_t colorType = 0;
    std::vector<std::uint8_t> idat;
    std::vector<std::array<std::uint8_t, 4>> palette;
    std::optional<std::array<std::uint16_t, 3>> transparentColor;

    while (!ended) {
        if (data.size() - pos < 12) return fail("truncated chunk");
        const std::uint32_t length = be32(&data[pos]);
        if (length > data.size() - pos - 12) return fail("chunk longer than the file");
        const std::uint8_t* type = &data[pos + 4];
        const std::uint8_t* body = &data[pos + 8];
        const std::uint32_t storedCrc = be32(body + length);
        const uLong crc = crc32(crc32(0L, Z_NULL, 0), type, length + 4);
        if (crc != storedCrc) return fail("bad chunk CRC");
        pos += 12 + static_cast<std::size_t>(length);

        if (std::memcmp(type, "IHDR", 4) == 0) {
            if (haveHeader || length != 13) return fail("bad IHDR");
            width = static_cast<int>(std::min<std::uint32_t>(be32(body), 0x7FFFFFFF));
            height = static_cast<int>(std::min<std::uint32_t>(be32(body + 4), 0x7FFFFFFF));
            const std::uint8_t depth = body[8];
            colorType = body[9];
            if (width <= 0 || height <= 0 || width > kMaxPictureSide || height > kMaxPictureSide) {
                return fail("picture dimensions out of range");
            }
            if (depth != 8 || channels(colorType) == 0)
                return fail("unsupported colour type or bit depth");
            if (body[10] != 0 || body[11] != 0) return fail("unknown compression or filter method");
            if (body[12] != 0) return fail("interlaced pictures are not supported");
            haveHeader = true;
        } else if (!haveHeader) {
            return fail("first chunk is not IHDR");
        } else if (std::memcmp(type, "PLTE", 4) == 0) {
            if (length % 3 != 0 || length == 0 || length > 256 * 3) return fail("bad palette");
            palette.clear();
            for (std::uint32_t i = 0; i < length; i += 3)
                palette.push_back({body[i], body[i + 1], body[i + 2], 255});
        } else if (std::memcmp(type, "tRNS", 4) == 0) {
            if (colorType == kPalette) {
                if (length > palette.size()) return fail("bad transparency");
                for (std::uint32_t i = 0; i < length; ++i) palette[i][3] = body[i];
            } else if (colorType == kGrey && length == 2) {
                const std::uint16_t g = static_cast<std::uint16_t>(body[0] << 8 | body[1]);
                transparentColor = std::array<std::uint16_t, 3>{g, g, g};
            } else if (colorType == kRgb && length == 6) {
                transparentColor = std::array<std::uint16_t, 3>{
                    static_cast<std::uint16_t>(body[0] << 8 | body[1]),
                    static_cast<std::uint16_t>(body[2] << 8 | body[3]),
                    static_cast<std::uint16_t>(body[4] << 8 | body[5])};
            } else {
                return fail("bad transparency");
            }
        } else if (std::memcmp(type, "IDAT", 4) == 0) {
            idat.insert(idat.end(), body, body + length);
        } else if (std::memcmp(type, "IEND", 4) == 0) {
            ended = true;
        } else if ((type[0] & 0x20) == 0) {
            return fail("unknown critical chunk");
        }
    }
    if (idat.empty()) return fail("no image data");
    if (colorType == kPalette && palette.empty()) return fail("palette picture without palette");

    const int bpp = channels(colorType);
    const std::size_t stride = static_cast<std::size_t>(width) * bpp;
    // Two rows at a time, never the whole inflated picture: only the target is large.
    RowInflater rows(idat, stride);
    std::vector<std::uint8_t> above(stride, 0);
    const std::span<std::uint8_t> rgba = target(width, height);
    if (rgba.size() != static_cast<std::size_t>(width) * height * 4)
        return fail("no room for the picture");
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = rows.next();
        if (!row) return fail("damaged or short compressed data");
        std::uint8_t* cur = row + 1;
        if (!unfilterRow(row[0], cur, above.data(), stride, static_cast<std::size_t>(bpp)))
            return fail("unknown row filter");
        std::memcpy(above.data(), cur, stride);
        const std::uint8_t* src = cur;
        std::uint8_t* dst = rgba.data() + static_cast<std::size_t>(y) * width * 4;
        if (colorType == kRgba) {  // the common case: the row as it is
            std::memcpy(dst, src, stride);
            continue;
        }
        for (int x = 0; x < width; ++x, src += bpp, dst += 4) {
            switch (colorType) {
                case kGrey:
                    dst[0] = dst[1] = dst[2] = src[0];
                    dst[3] = (transparentColor && (*transparentColor)[0] == src[0]) ? 0 : 255;
                    break;
                case kGreyAlpha:
                    dst[0] = dst[1] = dst[2] = src[0];
                    dst[3] = src[1];
                    break;
                case kRgb:
                    dst[0] = src[0];
                    dst[1] = src[1];
                    dst[2] = src[2];
                    dst[3] = (transparentColor && (*transparentColor)[0] == src[0] &&
                              (*transparentColor)[1] == src[1] && (*transparentColor)[2] == src[2])
                                 ? 0
                                 : 255;
                    break;
                case kRgba:
                    std::memcpy(dst, src, 4);
                    break;
                case kPalette: {
                    if (src[0] >= palette.size()) return fail("palette index out of range");
                    std::memcpy(dst, palette[src[0]].data(), 4);
                    break;
                }
            }
        }
    }
    if (!rows.finish()) return fail("damaged or short compressed data");
    return std::nullopt;
}

PixelTarget into(Picture& picture) {
    return [&picture](int width, int height) {
        picture.width = width;
        picture.height = height;
        picture.rgba.resize(static_cast<std::size_t>(width) * height * 4);
        return std::span<std::uint8_t>(picture.rgba);
    };
}

std::variant<Picture, DecodeError> decodePng(std::span<const std::uint8_t> data) {
    Picture pic;
    if (const auto error = decodePngInto(data, into(pic))) return *error;
    return pic;
}

std::optional<std::pair<int, int>> pngDimensions(std::span<const std::uint8_t> data) {
    // Signature, then the IHDR chunk: length 13, type, width, height.
    constexpr std::size_t kHeaderEnd = 8 + 8 + 13 + 4;
    if (data.size() < kHeaderEnd ||
        !std::equal(kSignature.begin(), kSignature.end(), data.begin()) || be32(&data[8]) != 13 ||
        std::memcmp(&data[12], "IHDR", 4) != 0)
        return std::nullopt;
    const std::uint32_t width = be32(&data[16]), height = be32(&data[20]);
    if (width == 0 || height == 0 || width > kMaxPictureSide || height > kMaxPictureSide)
        return std::nullopt;
    return std::pair{static_cast<int>(width), static_cast<int>(height)};
}

}  // namespace skin
