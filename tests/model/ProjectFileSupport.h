#pragma once
// Helpers of the project and library file tests: a canonical dump of a model, file texts from
// line lists, a guard for the two decimal separators, random models.
#include <charconv>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <random>
#include <sstream>
#include <string>

#include "base/NumberText.h"
#include "model/MKPSpace.h"
#include "units/Prevody.h"

namespace projecttest {

// Every value at full precision, independent of the program's number texts.
inline std::string Exact(TReal v) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

// Everything a project file stores, plus the references and current objects, in one text.
inline std::string Dump(const TMKPSpace& s) {
    std::ostringstream o;
    for (const TMaterial* m : s.Materials)
        o << "M|" << m->Name << '|' << Exact(m->E) << '|' << Exact(m->D) << '\n';
    for (const TProfil* p : s.Sections)
        o << "C|" << p->Name << '|' << s.Materials.IndexOf(p->Material) << '|' << Exact(p->A) << '|'
          << Exact(p->Iy) << '|' << Exact(p->Iz) << '\n';
    for (const TUzel* n : s.Nodes) {
        o << "U|" << n->Number << '|' << Exact(n->X) << '|' << Exact(n->Y) << '|' << n->DofU.Fixed
          << n->DofW.Fixed << n->DofRot.Fixed << '|' << Exact(n->DofU.Angle) << '|' << Exact(n->DofW.Angle)
          << '|' << Exact(n->DofRot.Angle) << '|' << n->DofRot.Code << ',' << n->DofU.Code << ','
          << n->DofW.Code << '|' << n->Loads.IndexOf(n->CurrentLoad) << '\n';
        for (const TZatizeni* z : n->Loads)
            o << " ZU|" << int(z->Kind) << '|' << Exact(z->Q1) << '|' << Exact(z->Angle) << '\n';
    }
    for (const TPrut* m : s.Members) {
        o << "P|" << m->Number << '|' << s.Sections.IndexOf(m->Section) << '|' << m->SectionTurned << '|'
          << s.Nodes.IndexOf(m->NodeA) << '|' << s.Nodes.IndexOf(m->NodeB) << '|' << m->HingeA << m->HingeB
          << '|' << Exact(m->Length) << '|' << Exact(m->Angle) << '|' << m->Loads.IndexOf(m->CurrentLoad)
          << '\n';
        for (const TZatizeni* z : m->Loads)
            o << " ZP|" << int(z->Kind) << '|' << Exact(z->A) << '|' << Exact(z->B) << '|' << Exact(z->C)
              << '|' << Exact(z->Q1) << '|' << Exact(z->Q2) << '|' << Exact(z->Angle) << '|'
              << (z->LoadCase != nullptr) << '\n';
    }
    o << "current|" << s.Nodes.IndexOf(s.CurrentNode) << '|' << s.Members.IndexOf(s.CurrentMember) << '|'
      << s.Sections.IndexOf(s.CurrentSection) << '|' << s.Materials.IndexOf(s.CurrentMaterial) << '\n';
    return o.str();
}

// A file text: the lines joined, each ended by CR LF.
inline std::string Lines(std::initializer_list<std::string> lines) {
    std::string s;
    for (const std::string& l : lines)
        s += l + "\r\n";
    return s;
}

inline std::string Write(TMKPSpace& s) {
    std::ostringstream out;
    s.UlozProjekt(out);
    return out.str();
}

inline void Read(TMKPSpace& s, const std::string& text) {
    std::istringstream in(text);
    s.NactiProjekt(in);
}

inline std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Sets the program's and the system's decimal separators for one test and restores them.
class TSeparators {
public:
    TSeparators(char program, const std::string& system)
        : mProgram(DecimalSeparator()), mSystem(SystemDecimalSeparator()) {
        SetDecimalSeparator(program);
        SetSystemDecimalSeparator(system);
    }
    ~TSeparators() {
        SetDecimalSeparator(mProgram);
        SetSystemDecimalSeparator(mSystem);
    }

private:
    char mProgram;
    std::string mSystem;
};

// A random model within what the program can build: unique names (some Czech), consecutive
// numbers, members between distinct points, loads of every kind a file can hold.
inline void BuildRandomModel(TMKPSpace& s, std::mt19937& rng) {
    auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto real = [&]() {
        switch (uniform(0, 4)) {
        case 0:
            return TReal(uniform(-20, 20));
        case 1:
            return TReal(uniform(-2000, 2000)) / 8;
        case 2:
            return std::uniform_real_distribution<double>(-1e3, 1e3)(rng) * 1.0L;
        case 3:
            return TReal(uniform(1, 999)) * 1e-7L;
        default:
            return std::uniform_real_distribution<double>(1e5, 1e9)(rng) * 1.0L;
        }
    };
    const char* stems[] = {"S235",     "Dřevo C24", "Beton C20/25", "Ocel – žárově zinkovaná",
                           " mezera ", "ŽLUŤ"};
    int materials = uniform(1, 3);
    for (int i = 0; i < materials; ++i)
        s.PridejMaterial(std::string(stems[uniform(0, 5)]) + " #" + std::to_string(i), real(), real());
    int sections = uniform(1, 3);
    for (int i = 0; i < sections; ++i)
        s.PridejProfil("Profil č. " + std::to_string(i), s.Materials[uniform(0, materials - 1)], real(),
                       real(), real());
    int nodes = uniform(2, 8);
    for (int i = 0; i < nodes; ++i) {
        // Distinct points: the x coordinate carries the index.
        TUzel* n = s.PridejUzel(i + 1, TReal(i) + TReal(uniform(0, 99)) / 200, real());
        if (uniform(0, 2) == 0) {
            n->DofU.Fixed = uniform(0, 1);
            n->DofW.Fixed = uniform(0, 1);
            n->DofRot.Fixed = uniform(0, 1);
            if (n->HasSupport()) n->DofU.Angle = n->DofW.Angle = n->DofRot.Angle = real();
        }
        for (int k = uniform(0, 2); k > 0; --k)
            n->PridejZatizeni(static_cast<std::uint8_t>(uniform(0, 1)), nullptr, real(), real());
    }
    int members = uniform(0, 8);
    for (int i = 0; i < members; ++i) {
        int a = uniform(0, nodes - 1), b = uniform(0, nodes - 2);
        if (b >= a) ++b;
        TPrut* m = s.PridejPrut(s.Nodes[a], s.Nodes[b], s.Sections[uniform(0, sections - 1)], uniform(0, 1),
                                i + 1, uniform(0, 1), uniform(0, 1));
        for (int k = uniform(0, 3); k > 0; --k)
            m->PridejZatizeni(static_cast<std::uint8_t>(uniform(0, 2)), nullptr, real(), real(), real(),
                              real(), real());
    }
}

} // namespace projecttest
