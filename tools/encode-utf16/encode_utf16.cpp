// Build tool: turns a UTF-8 language table source into the UTF-16 little-endian text with
// byte-order mark and CR LF line ends that the program embeds.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace {

bool decode(const std::string& in, std::size_t& i, char32_t& c) {
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(in[k]); };
    const unsigned char lead = b(i);
    int extra = lead < 0x80         ? 0
                : (lead >> 5) == 6  ? 1
                : (lead >> 4) == 14 ? 2
                : (lead >> 3) == 30 ? 3
                                    : -1;
    if (extra < 0 || i + extra >= in.size() + (extra == 0 ? 1 : 0)) return false;
    c = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        if ((b(i + k) & 0xC0) != 0x80) return false;
        c = (c << 6) | (b(i + k) & 0x3F);
    }
    i += extra + 1;
    return c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
}

void put(std::string& out, char32_t unit) {
    out.push_back(static_cast<char>(unit & 0xFF));
    out.push_back(static_cast<char>(unit >> 8));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: encode-utf16 INPUT.utf8 OUTPUT\n");
        return 2;
    }
    std::ifstream inFile(argv[1], std::ios::binary);
    const std::string in((std::istreambuf_iterator<char>(inFile)),
                         std::istreambuf_iterator<char>());
    if (!inFile) {
        std::fprintf(stderr, "encode-utf16: cannot read %s\n", argv[1]);
        return 1;
    }
    std::string out;
    put(out, 0xFEFF);
    for (std::size_t i = 0; i < in.size();) {
        char32_t c;
        if (!decode(in, i, c)) {
            std::fprintf(stderr, "encode-utf16: %s is not valid UTF-8 near byte %zu\n", argv[1], i);
            return 1;
        }
        if (c == '\r') continue;
        if (c == '\n') put(out, '\r');
        if (c >= 0x10000) {
            put(out, 0xD800 + ((c - 0x10000) >> 10));
            put(out, 0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            put(out, c);
        }
    }
    std::ofstream outFile(argv[2], std::ios::binary | std::ios::trunc);
    outFile.write(out.data(), static_cast<std::streamsize>(out.size()));
    return outFile ? 0 : 1;
}
