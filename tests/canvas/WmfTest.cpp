#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include "CanvasFixture.h"
#include "canvas/WmfPainter.h"
#include "cli/Calc.h"

namespace {
std::uint16_t Word(const std::vector<std::uint8_t>& b, std::size_t i) {
    return static_cast<std::uint16_t>(b[2 * i] | (b[2 * i + 1] << 8));
}
std::uint32_t DWord(const std::vector<std::uint8_t>& b, std::size_t i) {
    return Word(b, i) | (static_cast<std::uint32_t>(Word(b, i + 1)) << 16);
}

// Walks the records after both headers; counts them by function and checks that their sizes
// lead exactly to the end record.
struct TWmfWalk {
    std::map<std::uint16_t, int> Count;
    std::uint32_t MaxRecord = 0;
    bool EndsWithEof = false;
    bool SizesConsistent = true;
};

TWmfWalk Walk(const std::vector<std::uint8_t>& b) {
    TWmfWalk w;
    const std::size_t words = b.size() / 2;
    std::size_t i = 11 + 9;
    while (i + 3 <= words) {
        const std::uint32_t size = DWord(b, i);
        const std::uint16_t function = Word(b, i + 2);
        if (size < 3 || i + size > words) {
            w.SizesConsistent = false;
            return w;
        }
        w.MaxRecord = std::max(w.MaxRecord, size);
        if (function == 0) {
            w.EndsWithEof = size == 3 && i + 3 == words;
            return w;
        }
        ++w.Count[function];
        i += size;
    }
    w.SizesConsistent = false;
    return w;
}

void PortalFrame(TCanvasModel& m) {
    TUzel* a = m.Node(0, 0);
    TUzel* b = m.Node(0, 4);
    TUzel* c = m.Node(6, 4);
    TUzel* d = m.Node(6, 0);
    a->DofU.Fixed = a->DofW.Fixed = a->DofRot.Fixed = true;
    d->DofU.Fixed = d->DofW.Fixed = true;
    m.Member(a, b);
    m.Member(b, c, false, true)->PridejZatizeni(KLoadDistributed, nullptr, 0, 6, 10, 10, 90);
    m.Member(c, d);
    b->PridejZatizeni(KLoadForce, nullptr, 20, 0);
    c->PridejZatizeni(KLoadMoment, nullptr, 5, 0);
    m.space.ShowNumbers = true;
    m.space.Origin.Visible = true;
    m.space.ShowAll();
}
} // namespace

TEST(Wmf, PlaceableHeaderChecksumAndSizes) {
    TCanvasModel m(765, 520);
    PortalFrame(m);
    const std::vector<std::uint8_t> b = WmfPicture(m.space);
    ASSERT_EQ(b.size() % 2, 0u);
    ASSERT_GT(b.size(), 22u + 18u + 6u);
    EXPECT_EQ(DWord(b, 0), 0x9AC6CDD7u);
    EXPECT_EQ(Word(b, 2), 0); // handle
    EXPECT_EQ(static_cast<std::int16_t>(Word(b, 3)), 0);
    EXPECT_EQ(static_cast<std::int16_t>(Word(b, 4)), 0);
    EXPECT_EQ(Word(b, 5), 765);
    EXPECT_EQ(Word(b, 6), 520);
    EXPECT_EQ(Word(b, 7), 96);
    EXPECT_EQ(DWord(b, 8), 0u);
    std::uint16_t x = 0;
    for (std::size_t i = 0; i < 10; ++i)
        x ^= Word(b, i);
    EXPECT_EQ(Word(b, 10), x);
    // META_HEADER
    EXPECT_EQ(Word(b, 11), 1);
    EXPECT_EQ(Word(b, 12), 9);
    EXPECT_EQ(Word(b, 13), 0x0300);
    EXPECT_EQ(DWord(b, 14), (b.size() - 22) / 2);
    const TWmfWalk walk = Walk(b);
    ASSERT_TRUE(walk.SizesConsistent);
    EXPECT_TRUE(walk.EndsWithEof);
    EXPECT_EQ(DWord(b, 17), walk.MaxRecord);
    EXPECT_EQ(Word(b, 19), 0);
    // Every object created is deleted before the next of its kind, so three slots suffice.
    EXPECT_GE(Word(b, 16), 3);
    EXPECT_LE(Word(b, 16), 6);
    EXPECT_EQ(walk.Count.at(TWmfPainter::KSetMapMode), 1);
    EXPECT_EQ(walk.Count.at(TWmfPainter::KEllipse), 4 + 1); // node dots and the hinge
    EXPECT_EQ(walk.Count.at(TWmfPainter::KPolygon), 1);     // the pinned support
    EXPECT_EQ(walk.Count.at(TWmfPainter::KPolyline), 1);    // the distributed load
    EXPECT_EQ(walk.Count.at(TWmfPainter::KArc), 1);         // the moment load
    EXPECT_GE(walk.Count.at(TWmfPainter::KTextOut), 4 + 3 + 4);
    EXPECT_EQ(walk.Count.at(TWmfPainter::KLineTo), walk.Count.at(TWmfPainter::KMoveTo));
    EXPECT_EQ(walk.Count.at(TWmfPainter::KCreatePen) + walk.Count.at(TWmfPainter::KCreateBrush) +
                  walk.Count.at(TWmfPainter::KCreateFont),
              walk.Count.at(TWmfPainter::KSelectObject));
}

TEST(Wmf, RecordParametersPutYBeforeX) {
    TWmfPainter p(100, 80);
    p.SetPen({KRed, 2, TPenStyle::Solid});
    p.Line({3, 4}, {50, 60});
    p.SetBrush({KWhite, TBrushStyle::Solid});
    p.Ellipse({44, 355, 50, 361});
    p.SetBrush({KSilver, TBrushStyle::BDiagonal});
    p.FloodFill(7, 9, KBlack);
    const std::vector<std::uint8_t> b = p.Bytes();
    std::vector<std::vector<std::uint16_t>> recs;
    for (std::size_t i = 20; i + 3 <= b.size() / 2;) {
        std::uint32_t size = DWord(b, i);
        std::vector<std::uint16_t> r;
        for (std::size_t k = 2; k < size; ++k)
            r.push_back(Word(b, i + k));
        recs.push_back(r);
        i += size;
    }
    auto find = [&](std::uint16_t f) {
        for (auto& r : recs)
            if (r[0] == f) return r;
        return std::vector<std::uint16_t>{};
    };
    EXPECT_EQ(find(TWmfPainter::KMoveTo), (std::vector<std::uint16_t>{TWmfPainter::KMoveTo, 4, 3}));
    EXPECT_EQ(find(TWmfPainter::KLineTo), (std::vector<std::uint16_t>{TWmfPainter::KLineTo, 60, 50}));
    EXPECT_EQ(find(TWmfPainter::KCreatePen),
              (std::vector<std::uint16_t>{TWmfPainter::KCreatePen, 0, 2, 0, 255, 0}));
    EXPECT_EQ(find(TWmfPainter::KEllipse),
              (std::vector<std::uint16_t>{TWmfPainter::KEllipse, 361, 50, 355, 44}));
    // The hatched brush (before its select, the delete, the fill and the end record): style 2, silver,
    // back-diagonal hatch 3.
    EXPECT_EQ(recs[recs.size() - 5],
              (std::vector<std::uint16_t>{TWmfPainter::KCreateBrush, 2, 0xC0C0, 0xC0, 3}));
    EXPECT_EQ(find(TWmfPainter::KFloodFill),
              (std::vector<std::uint16_t>{TWmfPainter::KFloodFill, 0, 0, 9, 7}));
}

TEST(Wmf, TextsInWindows1250) {
    struct Row {
        std::string utf8, cp1250;
    } rows[] = {
        {"abc 1.5", "abc 1.5"},
        {"žluťoučký kůň", "\x9El\x75\x9Dou\xE8k\xFD k\xF9\xF2"},
        {"Vetknutí", "Vetknut\xED"},
        {"Ω€", "?\x80"}, // no omega in the code page
        {"\xC3", "?"},   // a cut sequence
    };
    for (const Row& r : rows)
        EXPECT_EQ(WmfTextBytes(r.utf8), r.cp1250) << r.utf8;
}

TEST(Wmf, ConvertsWithLibwmf) {
    if (std::system("command -v wmf2svg > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "wmf2svg is not installed (scripts/setup.sh installs libwmf-bin)";
    TCanvasModel m(765, 520);
    PortalFrame(m);
    const std::vector<std::uint8_t> bytes = WmfPicture(m.space);
    const auto dir = std::filesystem::temp_directory_path() / ("korvan-wmf-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto wmf = dir / "portal.wmf", svg = dir / "portal.svg";
    {
        std::ofstream out(wmf, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    const std::string cmd =
        "wmf2svg -o '" + svg.string() + "' '" + wmf.string() + "' > '" + (dir / "log").string() + "' 2>&1";
    EXPECT_EQ(std::system(cmd.c_str()), 0);
    std::ifstream in(svg);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("<svg"), std::string::npos);
    EXPECT_NE(text.find("<ellipse"), std::string::npos);
    EXPECT_NE(text.find("<polyline"), std::string::npos);
    EXPECT_NE(text.find("<line"), std::string::npos);
    // A truncated file is refused: the check above can fail.
    {
        std::ofstream out(wmf, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), 60);
    }
    EXPECT_NE(std::system(cmd.c_str()), 0);
    std::filesystem::remove_all(dir);
}

namespace {
int Occurrences(const std::string& text, const std::string& what) {
    int n = 0;
    for (auto p = text.find(what); p != std::string::npos; p = text.find(what, p + 1))
        ++n;
    return n;
}
} // namespace

// Every example in every display mode, written by the calculator and read back by libwmf.
TEST(Wmf, EveryExampleInEveryModeConvertsWithLibwmf) {
    if (std::system("command -v wmf2svg > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "wmf2svg is not installed (scripts/setup.sh installs libwmf-bin)";
    const auto dir = std::filesystem::temp_directory_path() / ("korvan-wmfex-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    int examples = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(KORVAN_SOURCE_DIR) + "/examples")) {
        if (entry.path().extension() != ".inp") continue;
        ++examples;
        TMKPSpace model;
        model.NactiProjekt(entry.path().string());
        for (const char* mode : {"model", "T", "N", "M", "def"}) {
            SCOPED_TRACE(entry.path().filename().string() + " " + mode);
            const auto wmf = dir / "picture.wmf", svg = dir / "picture.svg";
            std::ostringstream out, err;
            ASSERT_EQ(RunCalc({"--picture", wmf.string(), "--mode", mode, entry.path().string()}, out, err),
                      0)
                << err.str();
            const std::string cmd =
                "wmf2svg -o '" + svg.string() + "' '" + wmf.string() + "' > /dev/null 2>&1";
            ASSERT_EQ(std::system(cmd.c_str()), 0);
            std::ifstream in(svg);
            const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            // The anchor's ring, and in the model view one dot per node.
            const bool modelView = std::string(mode) == "model";
            EXPECT_GE(Occurrences(text, "<ellipse"), 1 + (modelView ? model.Nodes.Count() : 0)); // hinges and moments add more
            EXPECT_GE(Occurrences(text, "<line"), model.Members.Count() + 2);
            EXPECT_GE(Occurrences(text, "<text"), 2); // the origin marker's X and Y at least
        }
    }
    EXPECT_GE(examples, 1);
    std::filesystem::remove_all(dir);
}
