#include "model/MKPSpace.h"

#include <utility>

#include "model/UserDialogs.h"

TMKPSpace::TMKPSpace() {
    NastavVlastniTihu(false);
    NastavSoustavuJednotek(0);
}

TMKPSpace::~TMKPSpace() {
    SelectedMembers.Clear();
    SelectedNodes.Clear();
    Members.DestroyAll();
    Sections.DestroyAll();
    Nodes.DestroyAll();
    Materials.DestroyAll();
    LoadCases.DestroyAll();
}

TUzel* TMKPSpace::PridejUzel(std::int32_t number, TReal x, TReal y) {
    auto* node = new TUzel(number, x, y);
    Nodes.Add(node);
    return node;
}

TPrut* TMKPSpace::PridejPrut(TUzel* a, TUzel* b, TProfil* section, bool sectionTurned, std::int32_t number,
                             bool hingeA, bool hingeB) {
    auto* member = new TPrut(a, b, section, sectionTurned, number);
    member->HingeA = hingeA;
    member->HingeB = hingeB;
    CurrentMember = member;
    Members.Add(member);
    return member;
}

TProfil* TMKPSpace::PridejProfil(const std::string& name, TMaterial* material, TReal a, TReal iy, TReal iz) {
    auto* section = new TProfil(name, material, a, iy, iz);
    Sections.Add(section);
    return section;
}

TMaterial* TMKPSpace::PridejMaterial(const std::string& name, TReal e, TReal d) {
    auto* material = new TMaterial(name, e, d);
    Materials.Add(material);
    return material;
}

void TMKPSpace::SmazPrut() {
    TPrut* member = CurrentMember;
    if (!member) return;
    // The delete command empties the selection first; should it not, no copy of the member (a member
    // may be selected any number of times) may stay behind in it.
    while (SelectedMembers.Remove(member) >= 0) {
    }
    Members.Remove(member);
    Members.Precisluj();
    Release(member->Sa);
    Release(member->Sb);
    delete member;
    CurrentMember = Members.First();
}

void TMKPSpace::SmazNepripojeneUzly() {
    bool currentDeleted = false;
    for (int i = 0; i < Nodes.Count();) {
        TUzel* node = Nodes[i];
        bool used = false;
        for (TPrut* m : Members)
            if (m->NodeA == node || m->NodeB == node) {
                used = true;
                break;
            }
        if (used) {
            ++i;
            continue;
        }
        if (node == CurrentNode) currentDeleted = true;
        // A deleted node must never be reached through the selection afterwards.
        while (SelectedNodes.Remove(node) >= 0) {
        }
        Nodes.Extract(i);
        delete node;
    }
    Nodes.Precisluj();
    if (currentDeleted) CurrentNode = Nodes.First();
}

void TMKPSpace::SmazNepouziteProfily() {
    bool currentDeleted = false;
    for (int i = 0; i < Sections.Count();) {
        TProfil* section = Sections[i];
        bool used = false;
        for (TPrut* m : Members)
            if (m->Section == section) {
                used = true;
                break;
            }
        if (used) {
            ++i;
            continue;
        }
        if (section == CurrentSection) currentDeleted = true;
        if (section == SectionClipboard) SectionClipboard = nullptr;
        Sections.Extract(i);
        delete section;
    }
    if (!currentDeleted) return;
    if (!Sections.Empty() && !Members.Empty()) {
        TPrut* member = CurrentMember ? CurrentMember : Members.First();
        CurrentSection = member->Section;
        if (CurrentSection) CurrentMaterial = CurrentSection->Material;
    } else if (!Sections.Empty()) {
        CurrentSection = Sections.First();
    } else {
        CurrentSection = nullptr;
    }
}

void TMKPSpace::SmazNepouziteMaterialy() {
    bool currentDeleted = false;
    for (int i = 0; i < Materials.Count();) {
        TMaterial* material = Materials[i];
        bool used = false;
        for (TProfil* s : Sections)
            if (s->Material == material) {
                used = true;
                break;
            }
        if (used) {
            ++i;
            continue;
        }
        if (material == CurrentMaterial) currentDeleted = true;
        Materials.Extract(i);
        delete material;
    }
    if (!currentDeleted) return;
    if (!Materials.Empty() && CurrentSection)
        CurrentMaterial = CurrentSection->Material;
    else if (!Materials.Empty())
        CurrentMaterial = Materials.First();
    else
        CurrentMaterial = nullptr;
}

void TMKPSpace::SmazVse() {
    SelectedMembers.Clear();
    SelectedNodes.Clear();
    Members.DestroyAll();
    Sections.DestroyAll();
    Nodes.DestroyAll();
    Materials.DestroyAll();
    LoadCases.DestroyAll();
    Combinations.DestroyAll();
    CaseResults.Clear();
    Envelope.reset();
    ResultsChoice = {};
    TracedCase.clear();
    CurrentNode = nullptr;
    CurrentMember = nullptr;
    CurrentSection = nullptr;
    CurrentMaterial = nullptr;
    SectionClipboard = nullptr;
    ResetDisplayAfterClear();
}

void TMKPSpace::OtocAktualniPrut() {
    if (CurrentMember) CurrentMember->OtocPrut();
}

void TMKPSpace::OtocPrutySKloubemA() {
    for (TPrut* m : Members)
        if (m->HingeA && !m->HingeB) m->OtocPrut();
}

void TMKPSpace::NastavVlastniTihu(bool on) {
    SelfWeight = on;
    for (TPrut* m : Members) {
        if (on)
            m->PridejVlastniTihu(&WeightCase);
        else
            m->SmazVlastniTihu();
    }
}

void TMKPSpace::NastavDeleniPrutu(std::int32_t n) {
    MemberDivision = n > 10 ? n : 10;
    if (n > 50)
        Dialogs().Inform("Zvažte, prosím, praktickou využitelnost takto jemného dělení. Vysoké hodnoty "
                         "mohou podstatně zpomalit překreslování plátna.");
}

void TMKPSpace::SwapModel(TMKPSpace& other) {
    Materials.Swap(other.Materials);
    Sections.Swap(other.Sections);
    Members.Swap(other.Members);
    Nodes.Swap(other.Nodes);
    LoadCases.Swap(other.LoadCases);
    SelectedMembers.Swap(other.SelectedMembers);
    SelectedNodes.Swap(other.SelectedNodes);
    std::swap(CurrentNode, other.CurrentNode);
    std::swap(CurrentMember, other.CurrentMember);
    std::swap(CurrentSection, other.CurrentSection);
    std::swap(CurrentMaterial, other.CurrentMaterial);
    std::swap(SectionClipboard, other.SectionClipboard);
    Combinations.Swap(other.Combinations);
    std::swap(CaseResults, other.CaseResults);
    std::swap(Envelope, other.Envelope);
    // The two cases every model space has of its own stay; what named the other's names this one's.
    const auto repoint = [](TMKPSpace& space, TMKPSpace& from) {
        const auto mine = [&](TZatezovaciStav* c) {
            return c == &from.WeightCase ? &space.WeightCase : c == &from.DefaultCase ? &space.DefaultCase : c;
        };
        for (TKombinace* k : space.Combinations)
            for (TCombinationTerm& t : k->Terms) t.Case = mine(t.Case);
        for (TZatezovaciStav*& c : space.CaseResults.Cases) c = mine(c);
        for (TUzel* n : space.Nodes)
            for (TZatizeni* z : n->Loads) z->LoadCase = mine(z->LoadCase);
        for (TPrut* m : space.Members)
            for (TZatizeni* z : m->Loads) z->LoadCase = mine(z->LoadCase);
    };
    repoint(*this, other);
    repoint(other, *this);
}

// Units: a code outside a setter's table is stored and keeps the previous label.
void TMKPSpace::NastavJednotkuDelky(std::uint8_t code) {
    LengthUnit = code;
    if (code == 0) LengthLabel = "mm";
    if (code == 1) LengthLabel = "m";
    if (code == 6) LengthLabel = "ft";
}

void TMKPSpace::NastavJednotkuSily(std::uint8_t code) {
    ForceUnit = code;
    if (code == 1) ForceLabel = "N";
    if (code == 2) ForceLabel = "kN";
    if (code == 7) ForceLabel = "lb";
}

void TMKPSpace::NastavJednotkuNapeti(std::uint8_t code) {
    StressUnit = code;
    if (code == 1) StressLabel = "Pa";
    if (code == 3) StressLabel = "MPa";
    if (code == 8) StressLabel = "psi";
}

void TMKPSpace::NastavJednotkuPrurezu(std::uint8_t code) {
    SectionUnit = code;
    if (code == 1) SectionLabel = "m";
    if (code == 5) SectionLabel = "in";
}

void TMKPSpace::NastavSoustavuJednotek(std::uint8_t system) {
    UnitSystem = system;
    if (system == 0) {
        NastavJednotkuDelky(1);
        NastavJednotkuSily(2);
        NastavJednotkuNapeti(3);
        NastavJednotkuPrurezu(1);
    } else if (system == 1) {
        NastavJednotkuDelky(6);
        NastavJednotkuSily(7);
        NastavJednotkuNapeti(8);
        NastavJednotkuPrurezu(5);
    }
}
