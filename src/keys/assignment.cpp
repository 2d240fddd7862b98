#include "keys/assignment.h"

#include "image/key_code_texts.h"
#include "keys/key_code.h"

namespace keys {

void storeKeyCode(image::EditorImage& img, int profile, int button, const std::string& codeText) {
    if (profile < 1 || profile > 3 || button < 1 || button > 12) return;
    const auto code = keyCodeFromText(codeText);
    if (!code) return;
    const auto p = static_cast<std::size_t>(profile - 1), b = static_cast<std::size_t>(button - 1);
    img.keyCodeTexts[p][b] = keyCodeText(*code);
    const std::size_t at = image::keyCodeOffset(p, b);
    for (std::size_t i = 0; i < code->size(); ++i) img.sectionBuf[at + i] = (*code)[i];
}

std::array<std::string, 3> exchangeBasicFunction(std::array<std::string, 3> codes, int button,
                                                 const std::string& picked) {
    if (button < 1 || button > 3) return codes;
    const std::string old = codes[static_cast<std::size_t>(button - 1)];
    for (int other = 0; other < 3; ++other) {
        if (other != button - 1 && codes[static_cast<std::size_t>(other)] == picked) {
            codes[static_cast<std::size_t>(other)] = old;
        }
    }
    codes[static_cast<std::size_t>(button - 1)] = picked;
    return codes;
}

std::string scrollCaption(const std::string& caption, bool firstStep) {
    if (caption.empty()) return caption;
    std::size_t first = 1;
    while (first < caption.size() && (static_cast<unsigned char>(caption[first]) & 0xC0) == 0x80)
        ++first;
    return caption.substr(first) + (firstStep ? "    " : "") + caption.substr(0, first);
}

}  // namespace keys
