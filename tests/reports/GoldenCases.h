#pragma once
// The golden texts of tests/data/reports, as one table: the projects that have goldens times the
// four variants (decimal separator × unit system) each golden is written in. A golden file is
// named <stem>.<report|protocol><variant suffix>.txt.
//
// The report and protocol goldens of the bundled examples are written by
// tests/data/reports/frame_reference.py, an exact rational solution of the frame by the
// stiffness method with its own number formatting (run it with --check-goldens after touching
// either). The cantilever and simple-beam reports were derived by hand from closed forms
// (P·L, P, P·L³/3EI; P/2, P·L/4, P·L³/48EI); their imperial variants are those texts converted by
// the script (frame_reference.py --imperial).
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

struct TGoldenProject {
    const char* Project; // relative to the source folder
    const char* Stem;
};

struct TGoldenVariant {
    const char* Suffix;
    char Separator;
    std::uint8_t UnitSystem; // 0 metric, 1 imperial
};

inline const std::vector<TGoldenVariant> KGoldenVariants = {
    {".point", '.', 0},
    {".comma", ',', 0},
    {".imperial.point", '.', 1},
    {".imperial.comma", ',', 1},
};

// Report and protocol goldens.
inline const std::vector<TGoldenProject> KGoldenExamples = {
    {"examples/portal-frame.inp", "portal-frame"},
    {"examples/continuous-beam.inp", "continuous-beam"},
    {"examples/truss.inp", "truss"},
    {"examples/three-hinged-frame.inp", "three-hinged-frame"},
};

// Report goldens only.
inline const std::vector<TGoldenProject> KGoldenHandModels = {
    {"tests/data/reports/cantilever.inp", "cantilever"},
    {"tests/data/reports/simple-beam.inp", "simple-beam"},
};

using TGoldenCase = std::tuple<TGoldenProject, TGoldenVariant>;

inline std::string GoldenProjectPath(const TGoldenCase& c) {
    return std::string(KORVAN_SOURCE_DIR) + "/" + std::get<0>(c).Project;
}

// kind: "report" or "protocol".
inline std::string GoldenPath(const TGoldenCase& c, const char* kind) {
    return std::string(KORVAN_SOURCE_DIR) + "/tests/data/reports/" + std::get<0>(c).Stem + "." + kind +
           std::get<1>(c).Suffix + ".txt";
}

// Test names such as continuous_beam_imperial_comma.
inline std::string GoldenCaseName(const ::testing::TestParamInfo<TGoldenCase>& info) {
    std::string name = std::string(std::get<0>(info.param).Stem) + std::get<1>(info.param).Suffix;
    for (char& ch : name)
        if (ch == '-' || ch == '.') ch = '_';
    return name;
}

// Every project of the list in every variant.
inline auto GoldenTable(const std::vector<TGoldenProject>& projects) {
    return ::testing::Combine(::testing::ValuesIn(projects), ::testing::ValuesIn(KGoldenVariants));
}

inline void PrintTo(const TGoldenProject& p, std::ostream* os) {
    *os << p.Stem;
}
inline void PrintTo(const TGoldenVariant& v, std::ostream* os) {
    *os << v.Suffix;
}
