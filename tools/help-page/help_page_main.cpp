// Build tool: one program's help text source becomes the header that compiles it in and its
// manual page.   quorvex-help-page SOURCE VERSION HEADER MANPAGE
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "help_troff.h"

namespace {

constexpr const char* kDelimiter = "quorvex_help";

bool writeFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    return static_cast<bool>(out.flush());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: quorvex-help-page SOURCE VERSION HEADER MANPAGE\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::string help{std::istreambuf_iterator<char>(in), {}};
    const auto page = helppage::helpToTroff(help, argv[2]);
    if (!in || !page || help.find(std::string(")") + kDelimiter) != std::string::npos) {
        std::fprintf(stderr, "%s: not a help text (its first line is NAME - SUMMARY)\n", argv[1]);
        return 1;
    }
    const std::string header = "// Made from " + std::string(argv[1]) +
                               " by quorvex-help-page.\n#pragma once\n\ninline constexpr char "
                               "kHelpText[] = R\"" +
                               kDelimiter + "(" + help + ")" + kDelimiter + "\";\n";
    if (!writeFile(argv[3], header) || !writeFile(argv[4], *page)) {
        std::fprintf(stderr, "quorvex-help-page: cannot write %s or %s\n", argv[3], argv[4]);
        return 1;
    }
    return 0;
}
