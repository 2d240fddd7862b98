// Language tables, read under each section name and looked up as the window looks them up.
#include <string>

#include "fuzz_check.h"
#include "skin/language_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    (void)skin::utf16leToUtf8({data, size});
    for (const char* section : {"lang1", "lang2", "lang3"}) {
        const skin::LanguageTable tables[3] = {skin::LanguageTable::parse({data, size}, section),
                                               skin::LanguageTable::load(2),
                                               skin::LanguageTable::load(3)};
        (void)tables[0].text("Title");
        for (int n = 0; n <= 600; ++n) {
            const std::string text = tables[0].text("Str" + std::to_string(n));
            // A key label finds its function again in whichever table gave its caption.
            if (n >= 100 && !text.empty()) fuzzing::require(!skin::FindStrKey(text, tables).empty());
        }
    }
    return 0;
}
