// The source folders stand on floors: a file includes only its own folder and the floors below,
// nothing under cli includes the window layer, and no dialog includes the main window's header.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace {
namespace fs = std::filesystem;

const std::map<std::string, int> KFloor = {
    {"base", 0},   {"units", 1},   {"model", 2}, {"analysis", 3}, {"canvas", 4}, {"reports", 4},
    {"expr", 4},   {"render", 5},  {"cli", 6},   {"ui", 7},       {"app", 8}};

struct TArrow {
    std::string From; // path under src/
    std::string To;   // the included path
};

std::vector<TArrow> Arrows() {
    const fs::path src = fs::path(KORVAN_SOURCE_DIR) / "src";
    const std::regex include(R"re(^\s*#\s*include\s+"([^"]+)")re");
    std::vector<TArrow> arrows;
    for (const auto& entry : fs::recursive_directory_iterator(src)) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".h" && ext != ".cpp") continue;
        std::ifstream in(entry.path());
        std::smatch m;
        for (std::string line; std::getline(in, line);)
            if (std::regex_search(line, m, include) && fs::exists(src / m[1].str()))
                arrows.push_back({fs::relative(entry.path(), src).generic_string(), m[1].str()});
    }
    return arrows;
}

std::string FolderOf(const std::string& path) {
    return path.substr(0, path.find('/'));
}
} // namespace

TEST(Floors, IncludesRunDownwardsOnly) {
    const std::vector<TArrow> arrows = Arrows();
    ASSERT_GT(arrows.size(), 100u);
    for (const TArrow& a : arrows) {
        ASSERT_TRUE(KFloor.count(FolderOf(a.From)) && KFloor.count(FolderOf(a.To))) << a.From << " -> " << a.To;
        EXPECT_LE(KFloor.at(FolderOf(a.To)), KFloor.at(FolderOf(a.From))) << a.From << " -> " << a.To;
        if (a.From.rfind("ui/dialogs/", 0) == 0) {
            EXPECT_NE(a.To, "ui/window/MKPUnit1.h") << a.From;
        }
    }
}
