#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "cli/Calc.h"
#include "cli/Picture.h"

#ifdef KORVAN_WITH_QT
#include <QImage>
#endif

namespace {
const std::string KPortal = std::string(KORVAN_SOURCE_DIR) + "/examples/portal-frame.inp";

struct TRun {
    int rc;
    std::string out, err;
};
TRun Calc(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    int rc = RunCalc(args, out, err);
    return {rc, out.str(), err.str()};
}

std::filesystem::path TempDir() {
    auto d = std::filesystem::temp_directory_path() / ("korvan-picture-" + std::to_string(::getpid()));
    std::filesystem::create_directories(d);
    return d;
}

std::string Read(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
} // namespace

TEST(Picture, OptionsAreCheckedBeforeAnythingIsWritten) {
    struct Row {
        std::vector<std::string> args;
        bool ok;
    } rows[] = {
        {{"--picture", "a.png", "--size", "640x480"}, true},
        {{"--picture", "a.WMF", "--mode", "def", "--numbers", "--reactions"}, true},
        {{"--picture", "a.bmp"}, false},
        {{"--picture"}, false},
        {{"--picture", "a.png", "--size", "0x480"}, false},
        {{"--picture", "a.png", "--size", "640"}, false},
        {{"--picture", "a.png", "--size", "640x-1"}, false},
        {{"--picture", "a.png", "--size", "99999x10"}, false},
        {{"--picture", "a.png", "--mode", "m"}, false},
        {{"--picture", "a.png", "--mode"}, false},
    };
    for (const Row& r : rows) {
        TPictureOptions o;
        std::string error;
        for (std::size_t i = 0; i < r.args.size(); ++i) {
            ASSERT_TRUE(TakePictureOption(r.args, i, o, error));
            if (!error.empty()) break;
        }
        EXPECT_EQ(error.empty(), r.ok) << r.args.back() << ": " << error;
    }
    TPictureOptions o;
    std::string error;
    std::vector<std::string> args{"--picture", "x.svg", "--size", "300x200", "--mode", "M"};
    for (std::size_t i = 0; i < args.size(); ++i)
        TakePictureOption(args, i, o, error);
    EXPECT_EQ(o.File, "x.svg");
    EXPECT_EQ(o.Width, 300);
    EXPECT_EQ(o.Height, 200);
    EXPECT_EQ(o.Mode, 3);
    std::size_t i = 0;
    EXPECT_FALSE(TakePictureOption({"--help"}, i, o, error));
    const TRun bad = Calc({"--picture", "x.gif", KPortal});
    EXPECT_EQ(bad.rc, 2);
    EXPECT_NE(bad.err.find("x.gif"), std::string::npos);
}

TEST(Picture, WritesAMetafileOfTheExample) {
    const auto dir = TempDir();
    const auto file = dir / "portal.wmf";
    const TRun r = Calc({"--picture", file.string(), "--size", "400x300", KPortal});
    ASSERT_EQ(r.rc, 0) << r.err;
    EXPECT_NE(r.out.find("Obrázek: "), std::string::npos);
    const std::string bytes = Read(file);
    ASSERT_GT(bytes.size(), 40u);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\xD7\xCD\xC6\x9A"));
    EXPECT_EQ(static_cast<unsigned char>(bytes[10]) | (static_cast<unsigned char>(bytes[11]) << 8), 400);
    EXPECT_FALSE(std::filesystem::exists(dir / "portal.wmf.tmp-korvan"));
    std::filesystem::remove_all(dir);
}

TEST(Picture, UnwritableTargetIsReportedAndKeepsTheOldFile) {
    const auto dir = TempDir();
    const TRun missing = Calc({"--picture", (dir / "no" / "such" / "p.wmf").string(), KPortal});
    EXPECT_EQ(missing.rc, 2);
    EXPECT_NE(missing.err.find("Nelze zapsat"), std::string::npos);
    // A directory in the target's place: the write fails and the directory stays.
    std::filesystem::create_directories(dir / "taken.wmf");
    const TRun taken = Calc({"--picture", (dir / "taken.wmf").string(), KPortal});
    EXPECT_EQ(taken.rc, 2);
    EXPECT_TRUE(std::filesystem::is_directory(dir / "taken.wmf"));
    std::filesystem::remove_all(dir);
}

#ifdef KORVAN_WITH_QT
TEST(Picture, WritesPngSvgAndPdfThroughQt) {
    const auto dir = TempDir();
    const TRun png = Calc({"--picture", (dir / "p.png").string(), "--size", "320x240", "--numbers", KPortal});
    ASSERT_EQ(png.rc, 0) << png.err;
    QImage image(QString::fromStdString((dir / "p.png").string()));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), 320);
    EXPECT_EQ(image.height(), 240);
    int dark = 0;
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x)
            dark += qGray(image.pixel(x, y)) < 100;
    EXPECT_GT(dark, 200); // the frame is drawn, not just the background
    ASSERT_EQ(Calc({"--picture", (dir / "p.svg").string(), KPortal}).rc, 0);
    const std::string svg = Read(dir / "p.svg");
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_NE(svg.find("viewBox=\"0 0 765 520\""), std::string::npos);
    EXPECT_NE(svg.find(">15.000</text>"), std::string::npos); // labels stay text, not outlines
    ASSERT_EQ(Calc({"--picture", (dir / "p.pdf").string(), KPortal}).rc, 0);
    EXPECT_EQ(Read(dir / "p.pdf").substr(0, 5), "%PDF-");
    std::filesystem::remove_all(dir);
}
#endif
