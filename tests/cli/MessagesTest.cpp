// Bytes of a project in messages: control characters are escaped and a NUL cuts nothing short,
// so that a file can neither retitle the terminal nor hide the end of a message.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/MessageText.h"
#include "cli/Calc.h"
#include "cli/TerminalText.h"

using namespace std::string_literals;

TEST(Messages, ControlCharactersAreEscapedInTextsAndOnTheErrorStream) {
    const std::pair<std::string, std::string> cases[] = {
        {"plain ščř €", "plain ščř €"},
        {"\x1b]0;title\x07", "\\x1B]0;title\\x07"},
        {"12\0ab"s, "12\\x00ab"},
        {"a\x7f|\xC2\x9B|\xC2", "a\\x7F|\\u009B|\xC2"},
        {"line\nnext\ttab", "line\nnext\ttab"},
    };
    for (const auto& [raw, shown] : cases) {
        EXPECT_EQ(EscapeControls(raw, true), shown);
        std::ostringstream target;
        TEscapingStream stream(target);
        for (char c : raw)
            stream << c; // byte by byte: a C1 control split over two writes
        stream.flush();
        EXPECT_EQ(target.str(), shown);
    }
}

// A number line and a name, from the reader's two kinds of refusal.
TEST(Messages, TheCalculatorQuotesFileTextsEscapedAndWhole) {
    const std::string path = (std::filesystem::temp_directory_path() / "korvan-messages.inp").string();
    const std::pair<std::string, std::string> cases[] = {
        {"*Nodes\r\nU\r\n1\r\n1\x1b]0;x\x07\0tail\r\n"s, "1\\x1B]0;x\\x07\\x00tail"},
        {"*Materials\r\nM\r\nS\r\n1\r\n1\r\n*Shapes\r\nC\r\n\x1b[2J\r\nT\r\n1\r\n1\r\n1\r\n", "\\x1B[2J"},
    };
    for (const auto& [text, shown] : cases) {
        std::ofstream(path, std::ios::binary) << text;
        std::ostringstream out, err;
        EXPECT_EQ(RunCalc({"--no-trace", path}, out, err), 2);
        EXPECT_NE(err.str().find(shown), std::string::npos) << err.str();
        EXPECT_EQ(err.str().find('\x1b'), std::string::npos) << err.str();
    }
    std::filesystem::remove(path);
}
