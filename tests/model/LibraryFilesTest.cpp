#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <sstream>

#include "base/Errors.h"
#include "model/MKPSpace.h"
#include "model/ProjectFileSupport.h"

using namespace projecttest;

// Every test starts from a point as both the program's and the system's decimal separator, so the
// results do not depend on the locale the tests run under.
class SectionLibrary : public ::testing::Test {
    TSeparators mSeparators{'.', "."};
};
class MaterialLibrary : public ::testing::Test {
    TSeparators mSeparators{'.', "."};
};
class Libraries : public ::testing::Test {
    TSeparators mSeparators{'.', "."};
};
class LibraryData : public ::testing::Test {
    TSeparators mSeparators{'.', "."};
};

namespace {
namespace fs = std::filesystem;

void ReadSections(TMKPSpace& s, const std::string& text) {
    std::istringstream in(text);
    s.NactiKnihovnuProfilu(in);
}
void ReadMaterials(TMKPSpace& s, const std::string& text) {
    std::istringstream in(text);
    s.NactiKnihovnuMaterialu(in);
}
std::string DataFile(const std::string& name) {
    return std::string(KORVAN_SOURCE_DIR) + "/data/" + name;
}
} // namespace

TEST_F(SectionLibrary, RecordsBetweenRemarksGetTheCurrentMaterial) {
    TMKPSpace s;
    TMaterial* concrete = s.PridejMaterial("C20/25", 30000, 2500);
    s.CurrentMaterial = concrete;
    ReadSections(
        s, Lines({"*remark", "", "IPE series", " C", "C",
                  "Obd\xE9ln\xEDk 30\xD7"
                  "60",
                  "0.18", "0.0054", "0.00135", "remark between", "Cx", "T 40", "1.5E-4", "2E-8", "3E-8"}));
    ASSERT_EQ(s.Sections.Count(), 2);
    EXPECT_EQ(s.Sections[0]->Name, "Obdélník 30×60");
    EXPECT_EQ(s.Sections[0]->Material, concrete);
    EXPECT_EQ(s.Sections[0]->A, 0.18L);
    EXPECT_EQ(s.Sections[0]->Iy, 0.0054L);
    EXPECT_EQ(s.Sections[0]->Iz, 0.00135L);
    EXPECT_EQ(s.Sections[1]->Name, "T 40");
    EXPECT_EQ(s.Sections[1]->A, 1.5e-4L);
}

TEST_F(SectionLibrary, NamesAreWindows1250) {
    TMKPSpace s;
    ReadSections(s, Lines({"C", "Tr\xE1m \xC8SN", "1", "2", "3"}));
    ASSERT_EQ(s.Sections.Count(), 1);
    EXPECT_EQ(s.Sections[0]->Name, "Trám ČSN");
}

TEST_F(SectionLibrary, ExistingNamesAreSkippedAndKeepTheirMaterial) {
    TMKPSpace s;
    TMaterial* steel = s.PridejMaterial("S235", 210000, 7850);
    TMaterial* concrete = s.PridejMaterial("C20/25", 30000, 2500);
    TProfil* old = s.PridejProfil("IPE 200", steel, 1, 1, 1);
    s.CurrentMaterial = concrete;
    const std::string text = Lines({"C", "IPE 200", "0.00285", "1.94E-5", "1.42E-6", "C", "IPE 220",
                                    "0.00334", "2.77E-5", "2.05E-6", "C", "IPE 220", "9", "9", "9"});
    ReadSections(s, text);
    ReadSections(s, text);
    ASSERT_EQ(s.Sections.Count(), 2);
    EXPECT_EQ(s.Sections[0], old);
    EXPECT_EQ(old->A, 1);
    EXPECT_EQ(old->Material, steel);
    EXPECT_EQ(s.Sections[1]->Material, concrete);
    EXPECT_EQ(s.Sections[1]->A, 0.00334L);
}

TEST_F(SectionLibrary, ARemarkStartingWithTheTagIsARecord) {
    TMKPSpace s;
    // "Comment" opens a record: its name is "IPE 80" and the next three lines its numbers.
    ReadSections(s, Lines({"Comment", "IPE 80", "0.000764", "8.01E-7", "8.49E-8"}));
    ASSERT_EQ(s.Sections.Count(), 1);
    EXPECT_EQ(s.Sections[0]->Name, "IPE 80");
    TMKPSpace t;
    EXPECT_THROW(ReadSections(t, Lines({"Comment about IPE", "IPE 80", "0.000764", "8.01E-7", "8.49E-8",
                                        "Calculated by hand"})),
                 TFileFormatError);
}

TEST_F(SectionLibrary, EitherSeparatorReadsUnderEitherSetting) {
    for (char separator : {'.', ','}) {
        TSeparators guard(separator, std::string(1, separator));
        TMKPSpace s;
        ReadSections(s, Lines({"C", "a", "0,5", "1.5E-5", "2,5E-6"}));
        ASSERT_EQ(s.Sections.Count(), 1) << separator;
        EXPECT_EQ(s.Sections[0]->A, 0.5L);
        EXPECT_EQ(s.Sections[0]->Iy, 1.5e-5L);
        EXPECT_EQ(s.Sections[0]->Iz, 2.5e-6L);
    }
}

TEST_F(SectionLibrary, ABadNumberStopsWithTheLineAndKeepsEarlierEntries) {
    struct Row {
        std::vector<std::string> tail;
        int line;
        const char* message;
    };
    const Row rows[] = {
        {{"C", "b", "x", "1", "1"}, 8, "'x' is not a valid floating point value"},
        {{"C", "b", "1", "1", ""}, 10, "'' is not a valid floating point value"},
        {{"C", "b", "1"}, 9, "konec souboru"},
        {{"C"}, 7, "konec souboru"},
    };
    for (const Row& r : rows) {
        std::string text = Lines({"C", "a", "1", "2", "3"});
        for (const std::string& l : r.tail)
            text += l + "\r\n";
        TMKPSpace s;
        try {
            ReadSections(s, text);
            ADD_FAILURE() << r.message;
        } catch (const TFileFormatError& e) {
            EXPECT_EQ(e.Line(), r.line) << e.what();
            EXPECT_NE(std::string(e.what()).find(r.message), std::string::npos) << e.what();
        }
        ASSERT_EQ(s.Sections.Count(), 1);
        EXPECT_EQ(s.Sections[0]->Name, "a");
    }
}

TEST_F(MaterialLibrary, TagLetterDuplicatesAndErrors) {
    TMKPSpace s;
    s.PridejMaterial("S235", 1, 1);
    ReadMaterials(s, Lines({"*Ocel", "C24 is not a material record", "M", "S235", "210000", "7850", "Mat",
                            "D\xF8"
                            "evo",
                            "11000", "420"}));
    ASSERT_EQ(s.Materials.Count(), 2);
    EXPECT_EQ(s.Materials[0]->E, 1);
    EXPECT_EQ(s.Materials[1]->Name, "Dřevo");
    EXPECT_EQ(s.Materials[1]->E, 11000);
    EXPECT_EQ(s.Materials[1]->D, 420);
    EXPECT_THROW(ReadMaterials(s, Lines({"M", "B", "30 000", "2500"})), TFileFormatError);
    EXPECT_EQ(s.Materials.Count(), 2);
}

TEST_F(Libraries, MissingOrUnreadableFilesRaiseIoErrors) {
    TMKPSpace s;
    EXPECT_THROW(s.NactiKnihovnuProfilu(DataFile("missing.crs")), TFileIoError);
    EXPECT_THROW(s.NactiKnihovnuMaterialu(DataFile("missing.mat")), TFileIoError);
    EXPECT_THROW(s.NactiKnihovnuProfilu(std::string(KORVAN_SOURCE_DIR) + "/data"), TFileIoError);
    EXPECT_TRUE(s.Sections.Empty());
    EXPECT_TRUE(s.Materials.Empty());
}

TEST_F(LibraryData, EveryFixedFileLoadsOnceWithRealValues) {
    struct Row {
        const char* file;
        const char* first; // the smallest section of the series, or the first material
        int minimum;       // entries at least
    };
    const Row sections[] = {
        {"crsI.crs", "IPN 80", 20},        {"crsIE.crs", "IPE A 80", 15},     {"crsIPE.crs", "IPE 80", 20},
        {"crsHEB.crs", "HE 100 B", 20},    {"crsU.crs", "UPN 30", 20},        {"crsUE.crs", "UAP 80", 8},
        {"crsUPE.crs", "UPE 80", 10},      {"crsLr.crs", "CAI 30x20x3", 15},  {"crsL.crs", "CAE 20x3", 40},
        {"crsTrK.crs", "TRON 21x2,3", 50}, {"crsTrC.crs", "TCAR 22x2,3", 50}, {"crsT.crs", "TEAE 30x4", 8}};
    for (char separator : {'.', ','}) {
        TSeparators guard(separator, std::string(1, separator));
        for (const Row& r : sections) {
            const std::string bytes = Slurp(DataFile(r.file));
            ASSERT_FALSE(bytes.empty()) << r.file;
            // Every line ends with CR LF.
            for (std::size_t i = bytes.find('\n'); i != std::string::npos; i = bytes.find('\n', i + 1))
                ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << r.file;
            TMKPSpace s;
            TMaterial* steel = s.PridejMaterial("S235", 210000, 7850);
            s.CurrentMaterial = steel;
            s.NactiKnihovnuProfilu(DataFile(r.file));
            const int count = s.Sections.Count();
            EXPECT_GE(count, r.minimum) << r.file;
            EXPECT_EQ(s.Sections.First()->Name, r.first) << r.file;
            for (const TProfil* p : s.Sections) {
                // No number of a name has more than four digits: a designation and a mass run
                // together ("IPE 750137") would read as one depth.
                std::size_t digits = 0;
                for (char c : p->Name) {
                    digits = std::isdigit(static_cast<unsigned char>(c)) ? digits + 1 : 0;
                    EXPECT_LE(digits, 4u) << p->Name;
                }
                EXPECT_EQ(p->Material, steel);
                EXPECT_TRUE(p->A > 0 && p->A < 0.2L) << p->Name;
                EXPECT_TRUE(p->Iy > 0 && p->Iz > 0 && p->Iy < 0.1L) << p->Name;
            }
            s.NactiKnihovnuProfilu(DataFile(r.file));
            EXPECT_EQ(s.Sections.Count(), count) << r.file;
        }
    }
}

TEST_F(LibraryData, SectionValuesAreThoseOfTheTable) {
    TMKPSpace s;
    s.NactiKnihovnuProfilu(DataFile("crsIPE.crs"));
    s.NactiKnihovnuProfilu(DataFile("crsHEB.crs"));
    const TProfil* ipe = s.Sections.NajdiProfil("IPE 300");
    ASSERT_NE(ipe, nullptr);
    EXPECT_EQ(ipe->A, 0.0053812L);
    EXPECT_EQ(ipe->Iy, 0.0000835611L);
    EXPECT_EQ(ipe->Iz, 0.00000603779L);
    const TProfil* heavy = s.Sections.NajdiProfil("IPE 750x137");
    ASSERT_NE(heavy, nullptr);
    EXPECT_EQ(heavy->A, 0.0174586L);
    // I and H sections bend about their strong axis by default; the series run upwards in size.
    const TProfil* previous = nullptr;
    for (const TProfil* p : s.Sections) {
        EXPECT_GT(p->Iy, p->Iz) << p->Name;
        if (previous && previous->Name.substr(0, 3) == p->Name.substr(0, 3)) {
            EXPECT_GT(p->A, previous->A) << p->Name;
        }
        previous = p;
    }
}

TEST_F(LibraryData, MaterialFilesHoldTheStandardClasses) {
    struct Row {
        const char* file;
        const char* name;
        TReal e, d;
    };
    const Row rows[] = {{"matO.mat", "S235", 210000, 7850},  {"matO.mat", "S355", 210000, 7850},
                        {"matO.mat", "S460", 210000, 7850},  {"matD.mat", "C16", 8000, 370},
                        {"matD.mat", "C24", 11000, 420},     {"matD.mat", "C30", 12000, 460},
                        {"matD.mat", "GL24h", 11500, 420},   {"matD.mat", "GL28h", 12600, 460},
                        {"matB.mat", "C12/15", 27000, 2500}, {"matB.mat", "C30/37", 33000, 2500},
                        {"matB.mat", "C50/60", 37000, 2500}};
    for (const Row& r : rows) {
        TMKPSpace s;
        s.NactiKnihovnuMaterialu(DataFile(r.file));
        const TMaterial* m = s.Materials.NajdiMaterial(r.name);
        ASSERT_NE(m, nullptr) << r.file << " " << r.name;
        EXPECT_EQ(m->E, r.e) << r.name;
        EXPECT_EQ(m->D, r.d) << r.name;
    }
}
