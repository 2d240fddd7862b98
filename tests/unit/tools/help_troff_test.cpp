// A help text becomes a manual page: its name line, synopsis, sections, terms, paragraphs and
// lines that go on, with what troff would take for requests or escapes made plain.
#include <gtest/gtest.h>

#include "help_troff.h"

namespace helppage {
namespace {

TEST(HelpToTroff, EveryShapeOfLineHasItsMacro) {
    const std::string help =
        "tool - does a thing\n"
        "usage: tool [--x] FILE\n"
        "options:\n"
        "  --name NAME  the name, as a\\b\n"
        "    or .c\n"
        "exit status:\n"
        "  0 done\n"
        ".dot at the start\n";
    EXPECT_EQ(helpToTroff(help, "1.2"),
              ".TH TOOL 1 \"\" \"quorvex\\-editor 1.2\" \"User Commands\"\n"
              ".SH NAME\ntool \\- does a thing\n"
              ".SH SYNOPSIS\ntool [\\-\\-x] FILE\n"
              ".SH OPTIONS\n.TP\n\\fB\\-\\-name NAME\\fR\nthe name, as a\\eb\nor .c\n"
              ".SH EXIT STATUS\n.PP\n0 done\n"
              ".PP\n\\&.dot at the start\n");
}

TEST(HelpToTroff, ATextWithoutItsNameLineIsRefused) {
    for (const std::string help : {"", "usage: tool\n", " - no name\n"})
        EXPECT_EQ(helpToTroff(help, "1.0"), std::nullopt) << help;
}

}  // namespace
}  // namespace helppage
