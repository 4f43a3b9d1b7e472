// Random edit sequences on the model space. After every step the model must keep its numbering
// (numbers = position + 1, equation numbers 3n-2, 3n-1, 3n) and every reference (members to nodes
// and sections, sections to materials, current objects, clipboard, selections, current loads, load
// cases) must point into the model's own lists. The clean-up operations are also checked against
// the survivors and current objects their rules give.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "model/MKPSpace.h"
#include "model/UserDialogs.h"

namespace {
template <class T> std::vector<T*> Items(const TObjectList<T>& list) {
    return {list.begin(), list.end()};
}

template <class T> bool InList(const T* item, const TObjectList<T>& list) {
    return list.Contains(item);
}

::testing::AssertionResult Invariants(const TMKPSpace& s) {
    std::ostringstream fault;
    for (int i = 0; i < s.Nodes.Count(); ++i) {
        const TUzel* n = s.Nodes[i];
        if (n->Number != i + 1) fault << "node at " << i << " has number " << n->Number << "; ";
        if (n->DofRot.Code != 3 * (i + 1) - 2 || n->DofU.Code != 3 * (i + 1) - 1 ||
            n->DofW.Code != 3 * (i + 1))
            fault << "node " << i + 1 << " has codes " << n->DofRot.Code << "," << n->DofU.Code << ","
                  << n->DofW.Code << "; ";
        if (n->CurrentLoad && !n->Loads.Contains(n->CurrentLoad))
            fault << "node " << i + 1 << " current load; ";
        for (const TZatizeni* z : n->Loads)
            if (z->LoadCase && z->LoadCase != &s.WeightCase) fault << "node load case; ";
    }
    for (int i = 0; i < s.Members.Count(); ++i) {
        const TPrut* m = s.Members[i];
        if (m->Number != i + 1) fault << "member at " << i << " has number " << m->Number << "; ";
        if (!InList(m->NodeA, s.Nodes) || !InList(m->NodeB, s.Nodes))
            fault << "member " << i + 1 << " node; ";
        if (!InList(m->Section, s.Sections)) fault << "member " << i + 1 << " section; ";
        if (m->CurrentLoad && !m->Loads.Contains(m->CurrentLoad))
            fault << "member " << i + 1 << " current load; ";
        for (const TZatizeni* z : m->Loads)
            if (z->LoadCase && z->LoadCase != &s.WeightCase) fault << "member load case; ";
    }
    for (const TProfil* p : s.Sections)
        if (!InList(p->Material, s.Materials)) fault << "section " << p->Name << " material; ";
    if (s.CurrentNode && !InList(s.CurrentNode, s.Nodes)) fault << "CurrentNode; ";
    if (s.CurrentMember && !InList(s.CurrentMember, s.Members)) fault << "CurrentMember; ";
    if (s.CurrentSection && !InList(s.CurrentSection, s.Sections)) fault << "CurrentSection; ";
    if (s.CurrentMaterial && !InList(s.CurrentMaterial, s.Materials)) fault << "CurrentMaterial; ";
    if (s.SectionClipboard && !InList(s.SectionClipboard, s.Sections)) fault << "SectionClipboard; ";
    for (const TUzel* n : s.SelectedNodes)
        if (!InList(n, s.Nodes)) fault << "SelectedNodes; ";
    for (const TPrut* m : s.SelectedMembers)
        if (!InList(m, s.Members)) fault << "SelectedMembers; ";
    if (s.SelectedNodes.OwnsItems() || s.SelectedMembers.OwnsItems()) fault << "a selection owns its items; ";
    std::string text = fault.str();
    if (text.empty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << text;
}

class TRandomEditor {
public:
    explicit TRandomEditor(unsigned seed) : mRng(seed) {}

    TMKPSpace Space;

    // One random edit; returns its name for the failure message.
    std::string Step() {
        switch (Pick(21)) {
        case 0:
        case 1:
        case 2:
            AddNode();
            return "PridejUzel";
        case 3:
            AddMaterial();
            return "PridejMaterial";
        case 4:
            AddSection();
            return "PridejProfil";
        case 5:
        case 6:
        case 7:
            AddMember();
            return "PridejPrut";
        case 8:
            AddLoad();
            return "PridejZatizeni";
        case 9:
            DeleteLoad();
            return "SmazZatizeni";
        case 10:
            DeleteMember();
            return "SmazPrut";
        case 11:
            DeleteUnconnectedNodes();
            return "SmazNepripojeneUzly";
        case 12:
            DeleteUnusedSections();
            return "SmazNepouziteProfily";
        case 13:
            DeleteUnusedMaterials();
            return "SmazNepouziteMaterialy";
        case 14:
            Space.OtocAktualniPrut();
            return "OtocAktualniPrut";
        case 15:
            Space.OtocPrutySKloubemA();
            return "OtocPrutySKloubemA";
        case 16:
            Space.NastavVlastniTihu(Pick(2) == 0);
            return "NastavVlastniTihu";
        case 17:
            if (Pick(8) == 0) {
                ClearAll();
                return "SmazVse";
            }
            ChooseCurrent();
            return "current objects";
        case 18:
            ChooseCurrent();
            return "current objects";
        case 19:
            Select();
            return "selection";
        default:
            Unselect();
            return "unselect";
        }
    }

private:
    std::mt19937 mRng;
    int mNames = 0;

    std::string NewName(char prefix) {
        std::string name(1, prefix);
        name += std::to_string(++mNames);
        return name;
    }
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(mRng); }
    template <class T> T* Any(const TObjectList<T>& list) {
        return list.Empty() ? nullptr : list[Pick(list.Count())];
    }
    template <class T> T* AnyOrNone(const TObjectList<T>& list) { return Pick(4) == 0 ? nullptr : Any(list); }

    void AddNode() {
        // A coarse grid, so that coincident nodes occur and must be refused for members.
        Space.PridejUzel(Space.Nodes.Count() + 1, Pick(5), Pick(5));
    }
    void AddMaterial() {
        TMaterial* m = Space.PridejMaterial(NewName('M'), 210000, 7850);
        if (Pick(2) == 0) Space.CurrentMaterial = m;
    }
    void AddSection() {
        TMaterial* material = Any(Space.Materials);
        if (!material) return; // the section dialog needs a material
        TProfil* p = Space.PridejProfil(NewName('S'), material, 0.01L, 1e-4L, 2e-5L);
        if (Pick(2) == 0) {
            Space.CurrentSection = p;
            Space.CurrentMaterial = material;
        }
    }
    void AddMember() {
        TUzel* a = Any(Space.Nodes);
        TUzel* b = Any(Space.Nodes);
        TProfil* section = Pick(3) == 0 ? Any(Space.Sections) : Space.CurrentSection;
        // The callers refuse identical or coincident end nodes and need a section.
        if (!a || !b || !section || (a->X == b->X && a->Y == b->Y)) return;
        Space.PridejPrut(a, b, section, Pick(2) == 0, Space.Members.Count() + 1, Pick(2) == 0, Pick(2) == 0);
    }
    void AddLoad() {
        if (Pick(2) == 0) {
            if (TUzel* n = Any(Space.Nodes))
                n->PridejZatizeni(static_cast<std::uint8_t>(Pick(2)), nullptr, 10, 90);
        } else if (TPrut* m = Any(Space.Members)) {
            auto kind = static_cast<std::uint8_t>(Pick(3));
            TReal c = kind == KLoadDistributed ? m->Length / 2 : 0;
            m->PridejZatizeni(kind, nullptr, m->Length / 4, c, 5, kind == KLoadDistributed ? 7 : 0, 90);
        }
    }
    void DeleteLoad() {
        if (Pick(2) == 0) {
            if (TUzel* n = Any(Space.Nodes)) n->SmazZatizeni();
        } else if (TPrut* m = Any(Space.Members)) {
            if (Pick(4) == 0)
                m->SmazVsechnaZatizeni();
            else
                m->SmazZatizeni();
        }
    }
    void DeleteMember() {
        // The delete command empties the selection first; sometimes it is left as it is, and the
        // deleted member must still never be reachable through it.
        if (Pick(2) == 0) Space.SelectedMembers.Clear();
        std::vector<TPrut*> expected = Items(Space.Members);
        TPrut* current = Space.CurrentMember;
        if (current) expected.erase(std::find(expected.begin(), expected.end(), current));
        Space.SmazPrut();
        EXPECT_EQ(Items(Space.Members), expected) << "the other members keep their order";
        EXPECT_EQ(Space.CurrentMember, current ? Space.Members.First() : nullptr);
    }
    void DeleteUnconnectedNodes() {
        std::vector<TUzel*> expected;
        for (TUzel* n : Space.Nodes)
            if (std::any_of(Space.Members.begin(), Space.Members.end(),
                            [n](TPrut* m) { return m->NodeA == n || m->NodeB == n; }))
                expected.push_back(n);
        TUzel* current = Space.CurrentNode;
        bool currentGoes = current && std::find(expected.begin(), expected.end(), current) == expected.end();
        Space.SmazNepripojeneUzly();
        EXPECT_EQ(Items(Space.Nodes), expected);
        if (currentGoes)
            EXPECT_EQ(Space.CurrentNode, Space.Nodes.First());
        else
            EXPECT_EQ(Space.CurrentNode, current);
    }
    void DeleteUnusedSections() {
        std::vector<TProfil*> expected;
        for (TProfil* p : Space.Sections)
            if (std::any_of(Space.Members.begin(), Space.Members.end(),
                            [p](TPrut* m) { return m->Section == p; }))
                expected.push_back(p);
        TProfil* current = Space.CurrentSection;
        TMaterial* material = Space.CurrentMaterial;
        bool currentGoes = current && std::find(expected.begin(), expected.end(), current) == expected.end();
        Space.SmazNepouziteProfily();
        EXPECT_EQ(Items(Space.Sections), expected);
        if (!currentGoes) {
            EXPECT_EQ(Space.CurrentSection, current);
            EXPECT_EQ(Space.CurrentMaterial, material);
        } else if (!expected.empty() && !Space.Members.Empty()) {
            TPrut* member = Space.CurrentMember ? Space.CurrentMember : Space.Members.First();
            EXPECT_EQ(Space.CurrentSection, member->Section);
            EXPECT_EQ(Space.CurrentMaterial, member->Section->Material);
        } else if (!expected.empty()) {
            EXPECT_EQ(Space.CurrentSection, expected.front());
        } else {
            EXPECT_EQ(Space.CurrentSection, nullptr);
        }
    }
    void DeleteUnusedMaterials() {
        std::vector<TMaterial*> expected;
        for (TMaterial* m : Space.Materials)
            if (std::any_of(Space.Sections.begin(), Space.Sections.end(),
                            [m](TProfil* p) { return p->Material == m; }))
                expected.push_back(m);
        TMaterial* current = Space.CurrentMaterial;
        bool currentGoes = current && std::find(expected.begin(), expected.end(), current) == expected.end();
        Space.SmazNepouziteMaterialy();
        EXPECT_EQ(Items(Space.Materials), expected);
        if (!currentGoes)
            EXPECT_EQ(Space.CurrentMaterial, current);
        else if (!expected.empty() && Space.CurrentSection)
            EXPECT_EQ(Space.CurrentMaterial, Space.CurrentSection->Material);
        else if (!expected.empty())
            EXPECT_EQ(Space.CurrentMaterial, expected.front());
        else
            EXPECT_EQ(Space.CurrentMaterial, nullptr);
    }
    void ClearAll() {
        TReal factor = Space.WeightCase.Factor;
        bool selfWeight = Space.SelfWeight;
        Space.SmazVse();
        EXPECT_TRUE(Space.Nodes.Empty() && Space.Members.Empty() && Space.Sections.Empty() &&
                    Space.Materials.Empty() && Space.SelectedNodes.Empty() && Space.SelectedMembers.Empty());
        EXPECT_EQ(Space.WeightCase.Factor, factor);
        EXPECT_EQ(Space.SelfWeight, selfWeight);
    }
    void ChooseCurrent() {
        switch (Pick(5)) {
        case 0:
            Space.CurrentNode = AnyOrNone(Space.Nodes);
            break;
        case 1:
            Space.CurrentMember = AnyOrNone(Space.Members);
            break;
        case 2:
            // Choosing a section in the section list also shows its material.
            Space.CurrentSection = AnyOrNone(Space.Sections);
            if (Space.CurrentSection) Space.CurrentMaterial = Space.CurrentSection->Material;
            break;
        case 3:
            Space.CurrentMaterial = AnyOrNone(Space.Materials);
            break;
        default:
            Space.SectionClipboard = AnyOrNone(Space.Sections);
            break;
        }
    }
    void Select() {
        // SelectedMembers may hold a member any number of times, SelectedNodes a node more than once.
        if (Pick(2) == 0) {
            if (TUzel* n = Any(Space.Nodes); n && Space.SelectedNodes.Last() != n) Space.SelectedNodes.Add(n);
        } else if (TPrut* m = Any(Space.Members)) {
            Space.SelectedMembers.Add(m);
            if (Pick(3) == 0) Space.CurrentMember = m;
        }
    }
    void Unselect() {
        if (Pick(2) == 0)
            Space.SelectedNodes.Clear();
        else
            Space.SelectedMembers.Clear();
    }
};
} // namespace

TEST(ModelSpaceProperty, RandomEditsKeepNumberingAndReferences) {
    TRecordingDialogs dialogs;
    TDialogsGuard guard(dialogs);
    int members = 0, deleted = 0;
    for (unsigned seed = 1; seed <= 60; ++seed) {
        TRandomEditor editor(seed);
        for (int step = 0; step < 400; ++step) {
            std::string what = editor.Step();
            ASSERT_TRUE(Invariants(editor.Space)) << "seed " << seed << ", step " << step << ": " << what;
            if (::testing::Test::HasFailure()) FAIL() << "seed " << seed << ", step " << step << ": " << what;
            members = std::max(members, editor.Space.Members.Count());
            deleted += what == "SmazPrut";
        }
    }
    // The sequences reach real models, not only empty ones.
    EXPECT_GE(members, 10);
    EXPECT_GT(deleted, 100);
    EXPECT_TRUE(dialogs.Messages.empty()) << "no editing operation here reports anything";
}

TEST(ModelSpaceProperty, DeletedMemberLeavesEveryCopyOfItInTheSelection) {
    TMKPSpace space;
    TMaterial* steel = space.PridejMaterial("S235", 210000, 7850);
    TProfil* section = space.PridejProfil("IPE 200", steel, 0.00285L, 0.0000194L, 0.00000142L);
    TUzel* a = space.PridejUzel(1, 0, 0);
    TUzel* b = space.PridejUzel(2, 1, 0);
    TPrut* first = space.PridejPrut(a, b, section, false, 1, false, false);
    TPrut* second = space.PridejPrut(b, a, section, false, 2, false, false);
    // Shift-clicking a member twice puts it twice in the selection.
    space.SelectedMembers.Add(second);
    space.SelectedMembers.Add(first);
    space.SelectedMembers.Add(second);
    space.CurrentMember = second;
    space.SmazPrut();
    ASSERT_EQ(space.SelectedMembers.Count(), 1);
    EXPECT_EQ(space.SelectedMembers[0], first);
    EXPECT_EQ(space.CurrentMember, first);
}
