// Section (.crs) and material (.mat) libraries: the records of the project file, a section
// without its material name. Entries whose name the model already holds are skipped, so loading
// a library twice adds nothing the second time. A number that does not convert stops the reading;
// the entries read before it stay in the model.
#include "model/MKPSpace.h"
#include "model/ProjectFileLines.h"

namespace {
// Lines that are empty or do not start with the tag letter are remarks. After a duplicate name
// only the name line is consumed; its number lines are then met as ordinary lines.
template <class TRecord> void ReadRecords(TValueLines& lines, char tag, TRecord record) {
    std::string line;
    while (lines.Next(line)) {
        if (line.empty() || line[0] != tag) continue;
        record(lines.Name());
    }
}

// Every new section gets the model's current material.
void ReadSections(TMKPSpace& space, TValueLines& lines) {
    ReadRecords(lines, 'C', [&](const std::string& name) {
        if (space.Sections.NajdiProfil(name)) return;
        TReal a = lines.Real(), iy = lines.Real(), iz = lines.Real();
        space.PridejProfil(name, space.CurrentMaterial, a, iy, iz);
    });
}

void ReadMaterials(TMKPSpace& space, TValueLines& lines) {
    ReadRecords(lines, 'M', [&](const std::string& name) {
        if (space.Materials.NajdiMaterial(name)) return;
        TReal e = lines.Real(), d = lines.Real();
        space.PridejMaterial(name, e, d);
    });
}
} // namespace

void TMKPSpace::NactiKnihovnuProfilu(std::istream& in) {
    TValueLines lines(in);
    ReadSections(*this, lines);
}

void TMKPSpace::NactiKnihovnuProfilu(const std::string& fileName) {
    std::ifstream in = OpenForReading(fileName);
    TValueLines lines(in, fileName);
    ReadSections(*this, lines);
}

void TMKPSpace::NactiKnihovnuMaterialu(std::istream& in) {
    TValueLines lines(in);
    ReadMaterials(*this, lines);
}

void TMKPSpace::NactiKnihovnuMaterialu(const std::string& fileName) {
    std::ifstream in = OpenForReading(fileName);
    TValueLines lines(in, fileName);
    ReadMaterials(*this, lines);
}
