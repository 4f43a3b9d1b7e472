// Project file (.inp): one value per line, CR LF, sections in a fixed order.
#include <fstream>
#include <istream>
#include <ostream>

#include "model/Errors.h"
#include "model/MKPSpace.h"
#include "model/NumberText.h"
#include "units/Prevody.h"

namespace {
const char* const KEol = "\r\n";

bool ReadLine(std::istream& in, std::string& line) {
    if (!std::getline(in, line)) return false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

std::string NextLine(std::istream& in) {
    std::string line;
    ReadLine(in, line);
    return line;
}

TReal NextReal(std::istream& in) {
    std::string text = NextLine(in);
    NormalizujOddelovac(text);
    return StrToFloat(text);
}

int NextInt(std::istream& in) { return StrToInt(NextLine(in)); }

char KindLetter(std::uint8_t kind) { return kind == KLoadMoment ? 'M' : kind == KLoadDistributed ? 'Q' : 'P'; }
} // namespace

void TMKPSpace::UlozProjekt(std::ostream& out) {
    auto real = [&](TReal v) { out << FloatToStr(v) << KEol; };
    auto line = [&](const std::string& s) { out << s << KEol; };
    if (!Materials.Empty()) {
        line("*Materials");
        for (TMaterial* m : Materials) {
            line("M");
            line(m->Name);
            real(m->E);
            real(m->D);
        }
    }
    if (!Sections.Empty()) {
        line("*Shapes");
        for (TProfil* s : Sections) {
            line("C");
            line(s->Name);
            line(s->Material ? s->Material->Name : "");
            real(s->A);
            real(s->Iy);
            real(s->Iz);
        }
    }
    if (!Nodes.Empty()) {
        line("*Nodes");
        for (TUzel* n : Nodes) {
            line("U");
            line(std::to_string(n->Number));
            real(n->X);
            real(n->Y);
        }
    }
    if (!Members.Empty()) {
        line("*Members");
        for (TPrut* m : Members) {
            line("P");
            line(m->Section ? m->Section->Name : "");
            line(std::to_string(m->Number));
            line(m->SectionTurned ? "1" : "0");
            line(std::to_string(m->NodeA->Number));
            line(std::to_string(m->NodeB->Number));
            line(m->HingeA ? "1" : "0");
            line(m->HingeB ? "1" : "0");
        }
    }
    if (!Nodes.Empty()) {
        line("*Supports");
        for (TUzel* n : Nodes) {
            if (!n->HasSupport()) continue;
            line("B");
            line(std::to_string(n->Number));
            line(n->DofU.Fixed ? "1" : "0");
            line(n->DofW.Fixed ? "1" : "0");
            line(n->DofRot.Fixed ? "1" : "0");
            real(n->DofU.Angle);
        }
    }
    if (!Members.Empty()) {
        line("*MemberLoads");
        for (TPrut* m : Members)
            for (TZatizeni* z : m->Loads) {
                if (z->Kind == KLoadSelfWeight) continue; // the self-weight option recreates them
                line("ZP");
                line(std::to_string(m->Number));
                line(std::string(1, KindLetter(z->Kind)));
                real(z->A);
                real(z->C);
                real(z->Q1);
                real(z->Q2);
                real(z->Angle);
            }
    }
    if (!Nodes.Empty()) {
        line("*NodalLoads");
        for (TUzel* n : Nodes)
            for (TZatizeni* z : n->Loads) {
                line("ZU");
                line(std::to_string(n->Number));
                line(z->Kind == KLoadMoment ? "M" : "P");
                real(z->Q1);
                real(z->Angle);
            }
    }
}

void TMKPSpace::UlozProjekt(const std::string& fileName) {
    std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
    if (!out) throw TFileIoError("Soubor nelze vytvořit: " + fileName, fileName);
    UlozProjekt(out);
}

void TMKPSpace::NactiProjekt(std::istream& in) {
    SmazVse();
    std::string line;
    while (ReadLine(in, line)) {
        if (line.empty()) continue;
        if (line[0] == 'M') {
            std::string name = NextLine(in);
            if (Materials.NajdiMaterial(name)) continue;
            TReal e = NextReal(in);
            TReal d = NextReal(in);
            PridejMaterial(name, e, d);
        } else if (line[0] == 'C') {
            std::string name = NextLine(in);
            if (Sections.NajdiProfil(name)) continue;
            std::string material = NextLine(in);
            TReal a = NextReal(in), iy = NextReal(in), iz = NextReal(in);
            PridejProfil(name, Materials.NajdiMaterial(material), a, iy, iz);
        } else if (line[0] == 'U') {
            int number = NextInt(in);
            TReal x = NextReal(in), y = NextReal(in);
            PridejUzel(number, x, y);
        } else if (line[0] == 'P') {
            std::string section = NextLine(in);
            int number = NextInt(in);
            bool turned = NextInt(in) == 1;
            int a = NextInt(in), b = NextInt(in);
            bool ha = NextInt(in) == 1, hb = NextInt(in) == 1;
            PridejPrut(Nodes.NajdiUzel(a), Nodes.NajdiUzel(b), Sections.NajdiProfil(section), turned, number, ha,
                       hb);
        } else if (line[0] == 'B') {
            TUzel* n = Nodes.NajdiUzel(NextInt(in));
            bool u = NextInt(in) == 1, w = NextInt(in) == 1, r = NextInt(in) == 1;
            TReal angle = NextReal(in);
            if (n) {
                n->DofU.Fixed = n->DofU.Fixed || u;
                n->DofW.Fixed = n->DofW.Fixed || w;
                n->DofRot.Fixed = n->DofRot.Fixed || r;
                n->DofU.Angle = n->DofW.Angle = n->DofRot.Angle = angle;
            }
        } else if (line == "ZP") {
            int number = NextInt(in);
            std::string type = NextLine(in);
            std::uint8_t kind = !type.empty() && type[0] == 'M' ? KLoadMoment
                                : !type.empty() && type[0] == 'Q' ? KLoadDistributed
                                                                  : KLoadForce;
            TReal a = NextReal(in), c = NextReal(in), q1 = NextReal(in), q2 = NextReal(in), angle = NextReal(in);
            if (TPrut* m = Members.NajdiPrut(number)) m->PridejZatizeni(kind, nullptr, a, c, q1, q2, angle);
        } else if (line == "ZU") {
            int number = NextInt(in);
            std::string type = NextLine(in);
            std::uint8_t kind = !type.empty() && type[0] == 'M' ? KLoadMoment : KLoadForce;
            TReal q = NextReal(in), angle = NextReal(in);
            if (TUzel* n = Nodes.NajdiUzel(number)) n->PridejZatizeni(kind, nullptr, q, angle);
        }
    }
}

void TMKPSpace::NactiProjekt(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    if (!in) throw TFileIoError("Soubor nelze otevřít: " + fileName, fileName);
    NactiProjekt(in);
}
