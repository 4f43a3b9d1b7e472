// Project file (.inp): one value per line, CR LF, sections in a fixed order, names in
// windows-1250, reals as general(15) with the program's decimal separator.
#include <fstream>
#include <istream>
#include <ostream>
#include <set>
#include <unordered_map>

#include "base/Cp1250.h"
#include "base/Errors.h"
#include "base/NumberText.h"
#include "model/AtomicFile.h"
#include "model/MKPSpace.h"
#include "model/ProjectFileCases.h"
#include "model/ProjectFileLines.h"

namespace {
// Builds the whole file in memory first: a model that cannot be stored is refused before a
// single byte reaches the stream or the disk.
class TProjectWriter {
public:
    explicit TProjectWriter(const TMKPSpace& space, std::size_t sizeHint = 0) : mSpace(space) {
        mOut.reserve(sizeHint);
    }

    std::string Text() {
        Check();
        WriteMaterials();
        WriteSections();
        WriteNodes();
        WriteMembers();
        WriteSupports();
        WriteMemberLoads();
        WriteNodalLoads();
        // Load cases and combinations, when the model has any (ProjectFileCases.h).
        mOut += CaseSectionsText(const_cast<TMKPSpace&>(mSpace), &Encoded);
        return std::move(mOut);
    }

private:
    void Line(const std::string& s) {
        mOut += s;
        mOut += "\r\n";
    }
    void Real(TReal v) { Line(FormatRoundTrip(v)); }
    void Int(std::int32_t v) { Line(std::to_string(v)); }
    void Flag(bool v) { Line(v ? "1" : "0"); }

    // A name occupies exactly one line and must survive the code page.
    static std::string Encoded(const std::string& name, const std::string& what) {
        if (name.find_first_of("\r\n") != std::string::npos)
            throw TKorvanError(what + " „" + name + "“ obsahuje konec řádku; projekt nelze uložit.");
        std::string out, bad;
        if (!TryUtf8ToCp1250(name, out, bad))
            throw TKorvanError(what + " „" + name + "“ obsahuje znak „" + bad +
                               "“, který nelze uložit v kódování windows-1250. Přejmenujte jej, prosím.");
        return out;
    }

    // The reader resolves names and numbers; a model it would refuse or read differently is not
    // written (duplicate names would make the second record's name line the only one skipped).
    void Check() {
        std::set<std::string> names;
        for (const TMaterial* m : mSpace.Materials) {
            mMaterialNames.push_back(Encoded(m->Name, "Název materiálu"));
            mMaterialIndex.emplace(m, int(mMaterialIndex.size()));
            if (!names.insert(m->Name).second)
                throw TKorvanError("Materiál „" + m->Name + "“ je v modelu dvakrát; projekt nelze uložit.");
        }
        names.clear();
        for (const TProfil* s : mSpace.Sections) {
            mSectionNames.push_back(Encoded(s->Name, "Název profilu"));
            if (!names.insert(s->Name).second)
                throw TKorvanError("Profil „" + s->Name + "“ je v modelu dvakrát; projekt nelze uložit.");
            const auto material = mMaterialIndex.find(s->Material);
            if (!s->Material || material == mMaterialIndex.end())
                throw TKorvanError("Profil „" + s->Name + "“ nemá materiál; projekt nelze uložit.");
            mSectionMaterial.push_back(material->second);
            mSectionIndex.emplace(s, int(mSectionIndex.size()));
        }
        int i = 0;
        for (const TUzel* n : mSpace.Nodes)
            if (n->Number != ++i) throw TKorvanError("Číslování uzlů je porušeno; projekt nelze uložit.");
        i = 0;
        for (const TPrut* m : mSpace.Members) {
            const std::string member = "Prut " + std::to_string(m->Number);
            if (m->Number != ++i) throw TKorvanError("Číslování prutů je porušeno; projekt nelze uložit.");
            const auto section = mSectionIndex.find(m->Section);
            if (!m->Section || section == mSectionIndex.end())
                throw TKorvanError(member + " nemá profil; projekt nelze uložit.");
            mMemberSection.push_back(section->second);
            if (!Listed(m->NodeA) || !Listed(m->NodeB))
                throw TKorvanError(member + " nemá oba uzly; projekt nelze uložit.");
            if (m->NodeA == m->NodeB || (m->NodeA->X == m->NodeB->X && m->NodeA->Y == m->NodeB->Y))
                throw TKorvanError(member + " má oba konce ve stejném bodě; projekt nelze uložit.");
        }
    }

    void WriteMaterials() {
        if (mSpace.Materials.Empty()) return;
        Line("*Materials");
        int i = 0;
        for (const TMaterial* m : mSpace.Materials) {
            Line("M");
            Line(mMaterialNames[i++]);
            Real(m->E);
            Real(m->D);
        }
    }

    void WriteSections() {
        if (mSpace.Sections.Empty()) return;
        Line("*Shapes");
        int i = 0;
        for (const TProfil* s : mSpace.Sections) {
            Line("C");
            Line(mSectionNames[i++]);
            Line(mMaterialNames[std::size_t(mSectionMaterial[std::size_t(i - 1)])]);
            Real(s->A);
            Real(s->Iy);
            Real(s->Iz);
        }
    }

    void WriteNodes() {
        if (mSpace.Nodes.Empty()) return;
        Line("*Nodes");
        for (const TUzel* n : mSpace.Nodes) {
            Line("U");
            Int(n->Number);
            Real(n->X);
            Real(n->Y);
        }
    }

    void WriteMembers() {
        if (mSpace.Members.Empty()) return;
        Line("*Members");
        std::size_t k = 0;
        for (const TPrut* m : mSpace.Members) {
            Line("P");
            Line(mSectionNames[std::size_t(mMemberSection[k++])]);
            Int(m->Number);
            Flag(m->SectionTurned);
            Int(m->NodeA->Number);
            Int(m->NodeB->Number);
            Flag(m->HingeA);
            Flag(m->HingeB);
        }
    }

    // One record per restrained node; the node's one support angle is the one of u.
    void WriteSupports() {
        if (mSpace.Nodes.Empty()) return;
        Line("*Supports");
        for (const TUzel* n : mSpace.Nodes) {
            if (!n->HasSupport()) continue;
            Line("B");
            Int(n->Number);
            Flag(n->DofU.Fixed);
            Flag(n->DofW.Fixed);
            Flag(n->DofRot.Fixed);
            Real(n->DofU.Angle);
        }
    }

    // Self-weight loads have no type letter in the format; the self-weight option recreates
    // them, so they are left out and every written file reads back.
    void WriteMemberLoads() {
        if (mSpace.Members.Empty()) return;
        Line("*MemberLoads");
        for (const TPrut* m : mSpace.Members)
            for (const TZatizeni* z : m->Loads) {
                if (z->Kind == KLoadSelfWeight) continue;
                Line("ZP");
                Int(m->Number);
                Line(z->Kind == KLoadMoment ? "M" : z->Kind == KLoadDistributed ? "Q" : "P");
                Real(z->A);
                Real(z->C);
                Real(z->Q1);
                Real(z->Q2);
                Real(z->Angle);
            }
    }

    void WriteNodalLoads() {
        if (mSpace.Nodes.Empty()) return;
        Line("*NodalLoads");
        for (const TUzel* n : mSpace.Nodes)
            for (const TZatizeni* z : n->Loads) {
                Line("ZU");
                Int(n->Number);
                Line(z->Kind == KLoadMoment ? "M" : "P");
                Real(z->Q1);
                Real(z->Angle);
            }
    }

    // A node of this model: with the numbering checked, the one at its number's position.
    bool Listed(const TUzel* node) const {
        return node && node->Number >= 1 && node->Number <= mSpace.Nodes.Count() &&
               mSpace.Nodes[node->Number - 1] == node;
    }

    const TMKPSpace& mSpace;
    // Positions by pointer, so that the checks and the references take constant time each.
    std::unordered_map<const TMaterial*, int> mMaterialIndex;
    std::unordered_map<const TProfil*, int> mSectionIndex;
    std::vector<int> mSectionMaterial;
    std::vector<int> mMemberSection;
    std::vector<std::string> mMaterialNames;
    std::vector<std::string> mSectionNames;
    std::string mOut;
};

// Reads a project into an empty model space. References are resolved at once, in one pass, so a
// record can refer only to records before it; whatever the model could not hold consistently is
// refused with the line that names it.
class TProjectReader {
public:
    TProjectReader(std::istream& in, TMKPSpace& space, const std::string& path)
        : mLines(in, path), mSpace(space), mCases(mLines, space) {}

    void Read() {
        std::string_view line;
        bool content = false, header = false;
        while (mLines.Next(line)) {
            if (line.empty()) continue;
            content = true;
            if (line[0] == '*') header = header || IsHeader(line);
            // Only the first character is tested for the one-letter tags, so "U   " opens a
            // node record while " U" (a leading blank) and "ZP " (a trailing blank) open nothing.
            switch (line[0]) {
            case 'M':
                ReadMaterial();
                continue;
            case 'C':
                ReadSection();
                continue;
            case 'U':
                ReadNode();
                continue;
            case 'P':
                ReadMember();
                continue;
            case 'B':
                ReadSupport();
                continue;
            default:
                break;
            }
            if (line == "ZP")
                ReadMemberLoad();
            else if (line == "ZU")
                ReadNodalLoad();
            else if (line == "ZS")
                mCases.ReadCase();
            else if (line == "ZL")
                mCases.ReadRun();
            else if (line == "ZK")
                mCases.ReadCombination();
        }
        mCases.Finish();
        // A file with text in it from which neither a section header nor a single record came is
        // some other file, not an empty project.
        if (content && !header && mSpace.Materials.Empty() && mSpace.Sections.Empty() && mSpace.Nodes.Empty() &&
            mSpace.Members.Empty())
            throw TFileFormatError("Řádek 1: soubor není souborem projektu KORVAN: nemá žádnou hlavičku oddílu "
                                   "(*Materials, *Nodes, *Members …).",
                                   1, {});
    }

private:
    static bool IsHeader(std::string_view line) {
        for (const char* h : {"*Materials", "*Shapes", "*Nodes", "*Members", "*Supports", "*MemberLoads", "*NodalLoads"})
            if (line == h) return true;
        return false;
    }

    // A duplicate name skips only the name line; the rest of that record is met as ordinary lines.
    void ReadMaterial() {
        std::string name = mLines.Name();
        if (mSpace.Materials.NajdiMaterial(name)) return;
        TReal e = mLines.Real();
        TReal d = mLines.Real();
        mSpace.PridejMaterial(name, e, d);
    }

    void ReadSection() {
        std::string name = mLines.Name();
        if (mSpace.Sections.NajdiProfil(name)) return;
        std::string materialName = mLines.Name();
        int materialLine = mLines.LineNumber();
        TReal a = mLines.Real(), iy = mLines.Real(), iz = mLines.Real();
        TMaterial* material = mSpace.Materials.NajdiMaterial(materialName);
        if (!material)
            mLines.Refuse("profil „" + name + "“ odkazuje na neexistující materiál „" + materialName + "“.",
                          materialLine);
        mSpace.PridejProfil(name, material, a, iy, iz);
    }

    // Numbers are kept as read; a number other than the next position would break the equation
    // numbering the analysis relies on, so such a file is refused.
    void CheckNumber(int number, int expected, int line, const char* what) {
        if (number != expected)
            mLines.Refuse(std::string(what) + " č. " + std::to_string(number) + ": očekáváno číslo " +
                              std::to_string(expected) + " (číslování postupně od 1).",
                          line);
    }

    void ReadNode() {
        int number = mLines.Int();
        int line = mLines.LineNumber();
        TReal x = mLines.Real(), y = mLines.Real();
        CheckNumber(number, mSpace.Nodes.Count() + 1, line, "uzel");
        mSpace.PridejUzel(number, x, y);
    }

    // Nodes and members are numbered by their position here (CheckNumber), so a number finds its
    // object at once.
    TUzel* NodeNumbered(int number) const {
        return number >= 1 && number <= mSpace.Nodes.Count() ? mSpace.Nodes[number - 1] : nullptr;
    }
    TPrut* MemberNumbered(int number) const {
        return number >= 1 && number <= mSpace.Members.Count() ? mSpace.Members[number - 1] : nullptr;
    }

    // who names the record for the refusal (built only then).
    template <class TWho> TUzel* Node(int number, int line, const TWho& who) {
        TUzel* node = NodeNumbered(number);
        if (!node)
            mLines.Refuse(std::string(who()) + " odkazuje na neexistující uzel č. " + std::to_string(number) + ".",
                          line);
        return node;
    }

    void ReadMember() {
        std::string sectionName = mLines.Name();
        int sectionLine = mLines.LineNumber();
        int number = mLines.Int();
        int numberLine = mLines.LineNumber();
        bool turned = mLines.Flag();
        int a = mLines.Int();
        int aLine = mLines.LineNumber();
        int b = mLines.Int();
        int bLine = mLines.LineNumber();
        bool hingeA = mLines.Flag();
        bool hingeB = mLines.Flag();

        const auto who = [number] { return "prut č. " + std::to_string(number); };
        CheckNumber(number, mSpace.Members.Count() + 1, numberLine, "prut");
        TProfil* section = mSpace.Sections.NajdiProfil(sectionName);
        if (!section)
            mLines.Refuse(who() + " odkazuje na neexistující profil „" + sectionName + "“.", sectionLine);
        TUzel* nodeA = Node(a, aLine, who);
        TUzel* nodeB = Node(b, bLine, who);
        if (nodeA == nodeB || (nodeA->X == nodeB->X && nodeA->Y == nodeB->Y))
            mLines.Refuse(who() + " má oba konce ve stejném bodě (uzly " + std::to_string(a) + " a " +
                              std::to_string(b) + ").",
                          bLine);
        mSpace.PridejPrut(nodeA, nodeB, section, turned, number, hingeA, hingeB);
    }

    // A flag 1 sets the restraint, a flag 0 leaves it as it is; the angle goes to all three.
    void ReadSupport() {
        int number = mLines.Int();
        int line = mLines.LineNumber();
        bool u = mLines.Flag(), w = mLines.Flag(), rotation = mLines.Flag();
        TReal angle = mLines.Real();
        TUzel* node = Node(number, line, [] { return "podpora"; });
        if (u) node->DofU.Fixed = true;
        if (w) node->DofW.Fixed = true;
        if (rotation) node->DofRot.Fixed = true;
        node->DofU.Angle = node->DofW.Angle = node->DofRot.Angle = angle;
    }

    // The kind comes from the first character of the type line only ("Point" is a force).
    char TypeLetter() {
        std::string type = mLines.Value();
        char letter = type.empty() ? '\0' : type[0];
        if (letter != 'M' && letter != 'P' && letter != 'Q')
            mLines.Refuse("neznámý druh zatížení „" + ShownInMessage(Cp1250ToUtf8(type)) + "“ (očekáváno M, P nebo Q).",
                          mLines.LineNumber());
        return letter;
    }

    // A load for a member or node that does not exist is read and dropped.
    void ReadMemberLoad() {
        int number = mLines.Int();
        char letter = TypeLetter();
        std::uint8_t kind = letter == 'M' ? KLoadMoment : letter == 'Q' ? KLoadDistributed : KLoadForce;
        TReal a = mLines.Real(), c = mLines.Real(), q1 = mLines.Real(), q2 = mLines.Real();
        TReal angle = mLines.Real();
        TPrut* member = MemberNumbered(number);
        mCases.LoadRecord(member ? member->PridejZatizeni(kind, nullptr, a, c, q1, q2, angle) : nullptr);
    }

    void ReadNodalLoad() {
        int number = mLines.Int();
        std::uint8_t kind = TypeLetter() == 'M' ? KLoadMoment : KLoadForce;
        TReal q = mLines.Real(), angle = mLines.Real();
        TUzel* node = NodeNumbered(number);
        mCases.LoadRecord(node ? node->PridejZatizeni(kind, nullptr, q, angle) : nullptr);
    }

    TValueLines mLines;
    TMKPSpace& mSpace;
    TCaseSectionReader mCases;
};

void ReadProject(std::istream& in, TMKPSpace& target, const std::string& path) {
    TMKPSpace fresh;
    TProjectReader(in, fresh, path).Read();
    target.SmazVse();
    target.SwapModel(fresh);
}
} // namespace

void TMKPSpace::UlozProjekt(std::ostream& out) {
    std::string text = TProjectWriter(*this).Text();
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();
    if (!out) throw TFileIoError("Projekt nelze zapsat.", {});
}

std::string TMKPSpace::TextProjektu(std::size_t sizeHint) const {
    return TProjectWriter(*this, sizeHint).Text();
}

void TMKPSpace::UlozProjekt(const std::string& fileName) {
    WriteFileAtomically(fileName, TProjectWriter(*this).Text());
}

// The file is read into a model space of its own and exchanged with this one only when the whole
// file has been taken: a file that fails leaves the model as it was.
void TMKPSpace::NactiProjekt(std::istream& in) {
    ReadProject(in, *this, {});
}

void TMKPSpace::NactiProjekt(const std::string& fileName) {
    std::ifstream in = OpenForReading(fileName);
    ReadProject(in, *this, fileName);
}
