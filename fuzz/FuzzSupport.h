#pragma once
// What the fuzz targets share: the message sink, and the checks whose failure is a finding.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "analysis/Diagnostics.h"
#include "model/MKPSpace.h"
#include "model/UserDialogs.h"

namespace fuzz {

// A finding: print what went wrong and abort, so that libFuzzer keeps the input.
[[noreturn]] inline void Finding(const std::string& what) {
    std::fprintf(stderr, "finding: %s\n", what.c_str());
    std::abort();
}

// Every stored result of a successful computation is a number.
inline void RequireFiniteResults(const TMKPSpace& space) {
    for (const TUzel* n : space.Nodes)
        for (TReal v : n->Displacement)
            if (!std::isfinite(v)) Finding("displacement of node " + std::to_string(n->Number) + " is not finite");
    for (const TPrut* m : space.Members)
        for (const TVector* v : {&m->Sa, &m->Sb})
            for (TReal x : *v)
                if (!std::isfinite(x)) Finding("end result of member " + std::to_string(m->Number) + " is not finite");
}

// The number of stations per member a fuzzed model may ask for, so that one input stays fast.
constexpr int KMaxDivisions = 200;

inline void LimitDivisions(TMKPSpace& space) {
    for (TPrut* m : space.Members)
        if (m->Divisions > KMaxDivisions || m->Divisions < 1) m->NastavDeleni(10);
}

} // namespace fuzz
