#include "help_troff.h"

#include <cctype>
#include <sstream>
#include <vector>

namespace helppage {
namespace {

// Backslashes and hyphens as troff wants them, and no line that troff would take for a request.
std::string escaped(const std::string& text) {
    std::string out = !text.empty() && (text[0] == '.' || text[0] == '\'') ? "\\&" : "";
    for (char c : text) {
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
    }
    return out;
}

std::size_t indentOf(const std::string& line) {
    return line.find_first_not_of(' ');
}

std::string upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

std::optional<std::string> helpToTroff(const std::string& help, const std::string& version) {
    std::vector<std::string> lines;
    std::istringstream in(help);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    const std::size_t dash = lines.empty() ? std::string::npos : lines[0].find(" - ");
    if (dash == std::string::npos || dash == 0) return std::nullopt;
    const std::string name = lines[0].substr(0, dash);

    std::string out = ".TH " + escaped(upper(name)) + " 1 \"\" \"quorvex\\-editor " +
                      escaped(version) + "\" \"User Commands\"\n.SH NAME\n" + escaped(name) +
                      " \\- " + escaped(lines[0].substr(dash + 3)) + "\n";
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const std::size_t indent = indentOf(line);
        if (indent == std::string::npos) continue;
        const std::string text = line.substr(indent);
        if (indent == 0 && text.starts_with("usage: ")) {
            out += ".SH SYNOPSIS\n" + escaped(text.substr(7)) + "\n";
        } else if (indent == 0 && text.ends_with(':')) {
            out += ".SH " + escaped(upper(text.substr(0, text.size() - 1))) + "\n";
        } else if (indent >= 4) {
            out += escaped(text) + "\n";
        } else if (const std::size_t gap = text.find("  "); gap != std::string::npos) {
            out += ".TP\n\\fB" + escaped(text.substr(0, gap)) + "\\fR\n" +
                   escaped(text.substr(text.find_first_not_of(' ', gap))) + "\n";
        } else {
            out += ".PP\n" + escaped(text) + "\n";
        }
    }
    return out;
}

}  // namespace helppage
