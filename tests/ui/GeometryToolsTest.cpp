#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "ObjectPanelTestSupport.h"
#include "model/MKPSpace.h"
#include "model/UserDialogs.h"
#include "ui/common/GeometryTools.h"

namespace {

const char* const KZero = "Nulová délka prutu není dovolena.";
const char* const KInvalid = "Neplatné zadání.";

// A model space built from coordinates, with one section for every member, messages recorded and
// the decimal comma in force.
class GeometryTools : public ::testing::Test {
protected:
    GeometryTools() : Guard(Sink), Comma(',') { Reset(); }
    // An empty model with one steel section for the members.
    void Reset() {
        Space.SmazVse();
        TMaterial* steel = Space.PridejMaterial("S235", 210000.0L, 7850.0L);
        Section = Space.PridejProfil("IPE 200", steel, 0.00284L, 1.943e-5L, 1.42e-6L);
    }
    TUzel* Node(TReal x, TReal y) { return Space.PridejUzel(Space.Nodes.Count() + 1, x, y); }
    TPrut* Member(TUzel* a, TUzel* b) {
        return Space.PridejPrut(a, b, Section, false, Space.Members.Count() + 1, false, false);
    }
    TPrut* Member(TReal xa, TReal ya, TReal xb, TReal yb) { return Member(Node(xa, ya), Node(xb, yb)); }
    // A member that only serves as the auxiliary member (first in the selection).
    TPrut* Auxiliary(TReal xa, TReal ya, TReal xb, TReal yb) {
        TPrut* current = Space.CurrentMember;
        TPrut* aux = Member(xa, ya, xb, yb);
        Space.SelectedMembers.Add(aux);
        Space.CurrentMember = current;
        return aux;
    }
    void Load(TPrut* m) { m->PridejZatizeni(KLoadForce, nullptr, 0.5L, 0.0L, 10.0L, 0.0L, 90.0L); }

    TMKPSpace Space;
    TProfil* Section = nullptr;
    TRecordingDialogs Sink;
    TDialogsGuard Guard;
    TSeparatorGuard Comma;
};

constexpr TReal KTol = 1e-12L;

} // namespace

TEST_F(GeometryTools, ReadsAbsoluteRelativeAndInvalidEntries) {
    struct TRow {
        const char* Text;
        bool Length;
        bool Imperial;
        TEntry::TKind Kind;
        TReal Value;
    } rows[] = {
        {"10", true, false, TEntry::KAbsolute, 10.0L},
        {"2+", true, false, TEntry::KAdd, 2.0L},
        {"2-", true, false, TEntry::KSubtract, 2.0L},
        {"-2", true, false, TEntry::KAbsolute, -2.0L},
        {"-2-", true, false, TEntry::KSubtract, -2.0L},
        {" 0,25+ ", true, false, TEntry::KAdd, 0.25L},
        {"0.25", true, false, TEntry::KInvalid, 0.0L}, // the point is not the separator
        {"", true, false, TEntry::KInvalid, 0.0L},
        {"+", true, false, TEntry::KInvalid, 0.0L},
        {"abc", false, false, TEntry::KInvalid, 0.0L},
        {"30+", false, false, TEntry::KAdd, 30.0L},
        {"1E5000", false, false, TEntry::KInvalid, 0.0L},
        // Imperial lengths are feet-inch texts; angles stay numbers of degrees.
        {"5'-3''", true, true, TEntry::KAbsolute, 1.6002L},
        {"5'+", true, true, TEntry::KAdd, 1.524L},
        {"63", true, true, TEntry::KAbsolute, 1.6002L},
        {"-5'3", true, true, TEntry::KAbsolute, -1.6002L},
        {"abc", true, true, TEntry::KInvalid, 0.0L},
        {"", true, true, TEntry::KInvalid, 0.0L},
        {"5'x", true, true, TEntry::KInvalid, 0.0L},
        {"45", false, true, TEntry::KAbsolute, 45.0L},
    };
    for (const TRow& r : rows) {
        SCOPED_TRACE(r.Text);
        Space.NastavSoustavuJednotek(r.Imperial ? 1 : 0);
        const TEntry e = ReadEntry(r.Text, r.Length, Space);
        EXPECT_EQ(e.Kind, r.Kind);
        if (e.Valid()) {
            EXPECT_NEAR(static_cast<double>(e.Value), static_cast<double>(r.Value), 1e-12);
        }
    }
    TEntry add{TEntry::KAdd, 2.0L}, sub{TEntry::KSubtract, 2.0L}, abs{TEntry::KAbsolute, 2.0L};
    EXPECT_EQ(add.Apply(5.0L), 7.0L);
    EXPECT_EQ(sub.Apply(5.0L), 3.0L);
    EXPECT_EQ(abs.Apply(5.0L), 2.0L);
    EXPECT_EQ(sub.Signed(), -2.0L);
}

// The member (0, 0)-(3, 4) with the length tool; node "a" never moves.
TEST_F(GeometryTools, LengthMovesNodeBAlongTheMember) {
    struct TRow {
        const char* Text;
        TReal X, Y;
        const char* Message;
    } rows[] = {
        {"10", 6.0L, 8.0L, nullptr},   {"2+", 4.2L, 5.6L, nullptr}, {"2-", 1.8L, 2.4L, nullptr},
        {"0", 3.0L, 4.0L, KZero},      {"5-", 3.0L, 4.0L, KZero},   {"abc", 3.0L, 4.0L, KInvalid},
        {"", 3.0L, 4.0L, nullptr},     {"-5", -3.0L, -4.0L, nullptr},
    };
    for (const TRow& r : rows) {
        SCOPED_TRACE(r.Text);
        Reset();
        Sink.Messages.clear();
        TPrut* m = Member(0, 0, 3, 4);
        const TToolOutcome o = ApplySingleValue(Space, TGeometryTool::Length, r.Text);
        EXPECT_NEAR(static_cast<double>(m->NodeB->X), static_cast<double>(r.X), 1e-12);
        EXPECT_NEAR(static_cast<double>(m->NodeB->Y), static_cast<double>(r.Y), 1e-12);
        EXPECT_EQ(m->NodeA->X, 0.0L);
        EXPECT_EQ(m->NodeA->Y, 0.0L);
        const bool moved = r.X != 3.0L;
        EXPECT_EQ(o.Edited, moved);
        EXPECT_EQ(o.MemberDisplay, moved);
        EXPECT_FALSE(o.KeepOpen);
        EXPECT_NEAR(static_cast<double>(m->Length), std::hypot(double(r.X), double(r.Y)), 1e-12);
        if (r.Message)
            EXPECT_EQ(Sink.Messages, std::vector<std::string>{r.Message});
        else
            EXPECT_TRUE(Sink.Messages.empty());
    }
}

TEST_F(GeometryTools, AngleToolsTurnNodeBClockwise) {
    struct TRow {
        TGeometryTool Tool;
        const char* Text;
        bool WithAuxiliary;
        TReal X, Y;
    } rows[] = {
        {TGeometryTool::Orientation, "90", false, 0.0L, -2.0L},
        {TGeometryTool::Orientation, "90+", false, 0.0L, -2.0L},
        {TGeometryTool::Orientation, "90-", false, 0.0L, 2.0L},
        {TGeometryTool::Orientation, "180", false, -2.0L, 0.0L},
        // The auxiliary member runs at 30° (down to the right).
        {TGeometryTool::Perpendicular, "", true, 2.0L * std::cos(DegToRad(120.0L)), -2.0L * std::sin(DegToRad(120.0L))},
        {TGeometryTool::Parallel, "", true, 2.0L * std::cos(DegToRad(30.0L)), -1.0L},
        {TGeometryTool::AngleToMember, "15", true, 2.0L * std::cos(DegToRad(45.0L)), -2.0L * std::sin(DegToRad(45.0L))},
        {TGeometryTool::AngleToMember, "15-", true, 2.0L * std::cos(DegToRad(15.0L)), -2.0L * std::sin(DegToRad(15.0L))},
        // Without the auxiliary member (or without text) nothing happens.
        {TGeometryTool::Perpendicular, "", false, 2.0L, 0.0L},
        {TGeometryTool::Parallel, "", false, 2.0L, 0.0L},
        {TGeometryTool::AngleToMember, "15", false, 2.0L, 0.0L},
        {TGeometryTool::Orientation, "", false, 2.0L, 0.0L},
    };
    for (const TRow& r : rows) {
        SCOPED_TRACE(std::string(GeometryToolButton(r.Tool)) + " " + r.Text);
        Reset();
        TPrut* m = Member(0, 0, 2, 0);
        if (r.WithAuxiliary) Auxiliary(10, 0, 10 + std::cos(DegToRad(30.0L)), -std::sin(DegToRad(30.0L)));
        ApplySingleValue(Space, r.Tool, r.Text);
        EXPECT_NEAR(static_cast<double>(m->NodeB->X), static_cast<double>(r.X), 1e-12);
        EXPECT_NEAR(static_cast<double>(m->NodeB->Y), static_cast<double>(r.Y), 1e-12);
        EXPECT_NEAR(static_cast<double>(m->Length), 2.0, 1e-12);
    }
    EXPECT_TRUE(Sink.Messages.empty());
}

// A new direction on an axis puts node "b" (or the node of a split) exactly on the axis through
// node "a": cos and sin of the radian value of 90° are not exactly 0 and 1.
TEST_F(GeometryTools, NodesOnTheAxesLieExactlyOnThem) {
    struct TRow {
        TGeometryTool Tool;
        const char* Text;
        TReal Xb, Yb;         // member from (1, 1)
        bool HorizontalAux;   // an auxiliary member from (9, 1) to (12, 1)
        TReal X, Y;           // where node "b" (or the new node of a split) must be, exactly
    } rows[] = {
        {TGeometryTool::Length, "2-", 1, -4, false, 1, -2},     // vertical, downward
        {TGeometryTool::Length, "7", -3, 1, false, -6, 1},      // horizontal, to the left
        {TGeometryTool::Orientation, "90", 4, 5, false, 1, -4}, // length 5
        {TGeometryTool::Orientation, "180", 4, 5, false, -4, 1},
        {TGeometryTool::Orientation, "-90", 4, 5, false, 1, 6},
        {TGeometryTool::Perpendicular, "", 4, 5, true, 1, -4},
        {TGeometryTool::SplitMember, "0,25/", 1, 5, false, 1, 2},
    };
    for (const TRow& r : rows) {
        SCOPED_TRACE(std::string(GeometryToolButton(r.Tool)) + " " + r.Text);
        Reset();
        TPrut* m = Member(1, 1, r.Xb, r.Yb);
        if (r.HorizontalAux) Auxiliary(9, 1, 12, 1);
        ApplySingleValue(Space, r.Tool, r.Text);
        const TUzel* placed = r.Tool == TGeometryTool::SplitMember ? Space.Nodes.Last() : m->NodeB;
        EXPECT_EQ(placed->X, r.X);
        EXPECT_EQ(placed->Y, r.Y);
    }
    EXPECT_TRUE(Sink.Messages.empty());
}

TEST_F(GeometryTools, PerpendicularToAHorizontalMemberIsNinety) {
    TPrut* m = Member(0, 0, 3, 4);
    Auxiliary(0, -1, 5, -1);
    ApplySingleValue(Space, TGeometryTool::Perpendicular, "");
    EXPECT_NEAR(static_cast<double>(m->Angle), 90.0, 1e-12);
    EXPECT_NEAR(static_cast<double>(m->NodeB->Y), -5.0, 1e-12);
}

TEST_F(GeometryTools, LengthByMemberTakesTheAuxiliaryLength) {
    TPrut* m = Member(0, 0, 3, 4);
    Auxiliary(0, -1, 2.5L, -1);
    ApplySingleValue(Space, TGeometryTool::LengthByMember, "ignored");
    EXPECT_NEAR(static_cast<double>(m->NodeB->X), 1.5, 1e-12);
    EXPECT_NEAR(static_cast<double>(m->NodeB->Y), 2.0, 1e-12);
}

TEST_F(GeometryTools, OpeningFillsReadOnlyValuesOrAsksForTheAuxiliaryMember) {
    const TGeometryTool readOnly[] = {TGeometryTool::LengthByMember, TGeometryTool::ExtendToAxis,
                                      TGeometryTool::Perpendicular, TGeometryTool::Parallel};
    Member(0, 0, 1, 0);
    for (TGeometryTool t : readOnly) {
        Sink.Messages.clear();
        const TSingleValueOpening o = OpenSingleValue(Space, t);
        EXPECT_FALSE(o.Shown);
        EXPECT_EQ(Sink.Messages, std::vector<std::string>{"Nejdříve vyberte pomocný prut.(Shift + left click)"});
    }
    for (TGeometryTool t : {TGeometryTool::Length, TGeometryTool::AngleToMember, TGeometryTool::SupportRelative,
                            TGeometryTool::SplitMember}) {
        const TSingleValueOpening o = OpenSingleValue(Space, t);
        EXPECT_TRUE(o.Shown);
        EXPECT_FALSE(o.ReadOnly);
        EXPECT_EQ(o.Text, "");
    }
    Sink.Messages.clear();
    Auxiliary(5, -1, 5, 3); // vertical upward: length 4, angle -90
    const std::pair<TGeometryTool, const char*> filled[] = {{TGeometryTool::LengthByMember, "4,000"},
                                                            {TGeometryTool::ExtendToAxis, "5,000"},
                                                            {TGeometryTool::Perpendicular, "0,000"},
                                                            {TGeometryTool::Parallel, "-90,000"}};
    for (const auto& [tool, text] : filled) {
        const TSingleValueOpening o = OpenSingleValue(Space, tool);
        EXPECT_TRUE(o.Shown);
        EXPECT_TRUE(o.ReadOnly);
        EXPECT_EQ(o.Text, text);
    }
    EXPECT_TRUE(Sink.Messages.empty());
}

TEST_F(GeometryTools, ExtendToAxisWithExactVerticalityTests) {
    struct TRow {
        const char* Case;
        TReal Current[4];
        TReal Aux[4];
        bool Parallel;
        TReal X, Y;
    } rows[] = {
        {"to a vertical member", {0, 0, 1, 0}, {5, -1, 5, 3}, false, 5, 0},
        {"both sloped", {0, 0, 1, 1}, {4, 0, 5, -1}, false, 2, 2},
        {"current vertical", {0, 0, 0, 1}, {-1, 3, 1, 5}, false, 0, 4},
        {"nearly vertical takes the slopes", {0, 0, 1e-9L, 1}, {-5, 2, 5, 2}, false, 2e-9L, 2},
        {"both vertical", {0, 0, 0, 1}, {2, 0, 2, 5}, true, 0, 1},
        {"parallel sloped", {0, 0, 1, 1}, {3, 0, 4, 1}, true, 1, 1},
        {"parallel horizontal", {0, 0, 1, 0}, {0, 2, 3, 2}, true, 1, 0},
    };
    for (const TRow& r : rows) {
        SCOPED_TRACE(r.Case);
        Reset();
        Sink.Messages.clear();
        TPrut* m = Member(r.Current[0], r.Current[1], r.Current[2], r.Current[3]);
        TPrut* aux = Auxiliary(r.Aux[0], r.Aux[1], r.Aux[2], r.Aux[3]);
        const TIntersection p = PrusecikOs(*m, *aux);
        EXPECT_EQ(p.Parallel, r.Parallel);
        const TSingleValueOpening opened = OpenSingleValue(Space, TGeometryTool::ExtendToAxis);
        EXPECT_TRUE(opened.Shown);
        const TToolOutcome o = ApplySingleValue(Space, TGeometryTool::ExtendToAxis, opened.Text);
        EXPECT_NEAR(static_cast<double>(m->NodeB->X), static_cast<double>(r.X), 1e-12);
        EXPECT_NEAR(static_cast<double>(m->NodeB->Y), static_cast<double>(r.Y), 1e-12);
        EXPECT_EQ(o.KeepOpen, r.Parallel);
        EXPECT_EQ(o.Edited, !r.Parallel);
        if (r.Parallel) {
            EXPECT_EQ(opened.Text, "");
            EXPECT_EQ(Sink.Messages,
                      (std::vector<std::string>{
                          "Není možno prodloužit k ose. Zkontrolujte, zda pruty nejsou rvnoběžné.",
                          "Nelze prodloužit k ose. Zkontrolujte, zda pruty nejsou rovnoběžné."}));
        } else {
            EXPECT_TRUE(Sink.Messages.empty());
        }
    }
}

// An intersection on node "a" would leave the member without length.
TEST_F(GeometryTools, ExtendToAxisOntoNodeAIsRefused) {
    TPrut* m = Member(0, 0, 1, 1);
    Load(m);
    Auxiliary(0, -2, 0, 5);
    EXPECT_EQ(OpenSingleValue(Space, TGeometryTool::ExtendToAxis).Text, "0,000");
    const TToolOutcome o = ApplySingleValue(Space, TGeometryTool::ExtendToAxis, "0,000");
    EXPECT_FALSE(o.Edited);
    EXPECT_FALSE(o.KeepOpen);
    EXPECT_EQ(m->NodeB->X, 1.0L);
    EXPECT_EQ(m->NodeB->Y, 1.0L);
    EXPECT_EQ(m->Loads.Count(), 1);
    EXPECT_EQ(Sink.Messages, std::vector<std::string>{KZero});
}

// After a length or angle tool the loads of every member at node "b" are gone; members that meet
// the current member only at node "a" keep theirs, and the members at node "b" follow it.
TEST_F(GeometryTools, MovingNodeBDeletesTheLoadsAtNodeB) {
    const std::pair<TGeometryTool, const char*> tools[] = {
        {TGeometryTool::Length, "10"}, {TGeometryTool::Orientation, "30"}, {TGeometryTool::ExtendToAxis, ""}};
    for (const auto& [tool, text] : tools) {
        SCOPED_TRACE(GeometryToolButton(tool));
        Reset();
        TUzel* a = Node(0, 0);
        TUzel* b = Node(3, 4);
        TPrut* atB = Member(b, Node(6, 4));
        TPrut* atA = Member(Node(-3, 0), a);
        TPrut* m = Member(a, b);
        for (TPrut* each : {m, atB, atA})
            Load(each);
        Load(atB);
        atB->CurrentLoad = nullptr; // loads are deleted whatever the current load
        Auxiliary(10, 0, 10, 5);
        Space.CurrentMember = m;
        const TToolOutcome o = ApplySingleValue(Space, tool, text);
        EXPECT_TRUE(o.Edited);
        EXPECT_EQ(o.LostLoads, (std::vector<int>{1, 3})); // atB and m, not atA
        EXPECT_EQ(m->Loads.Count(), 0);
        EXPECT_EQ(atB->Loads.Count(), 0);
        EXPECT_EQ(atB->CurrentLoad, nullptr);
        EXPECT_EQ(atA->Loads.Count(), 1);
        const TReal dx = atB->NodeB->X - b->X, dy = atB->NodeB->Y - b->Y;
        EXPECT_NEAR(static_cast<double>(atB->Length), static_cast<double>(std::sqrt(dx * dx + dy * dy)), 1e-12);
    }
}

// Moving node "b" onto the far end of another member at node "b" is refused as well.
TEST_F(GeometryTools, NodeBNeverLandsOnTheFarEndOfAnotherMember) {
    TUzel* b = Node(3, 4);
    TPrut* other = Member(b, Node(6, 8));
    TPrut* m = Member(Node(0, 0), b);
    Load(other);
    ApplySingleValue(Space, TGeometryTool::Length, "10");
    EXPECT_EQ(b->X, 3.0L);
    EXPECT_EQ(b->Y, 4.0L);
    EXPECT_EQ(other->Loads.Count(), 1);
    EXPECT_FALSE(std::isnan(static_cast<double>(other->Angle)));
    EXPECT_EQ(Sink.Messages, std::vector<std::string>{KZero});
    EXPECT_EQ(Space.CurrentMember, m);
}

TEST_F(GeometryTools, SplitMember) {
    const char* const endFraction = "Nelze vložit uzel na konec prutu. nulová délka není povolena.";
    const char* const endDistance = "Nelze vložit uzel na konec prutu. Nulová délka není povolena.";
    struct TRow {
        const char* Text;
        bool Split;
        TReal X;            // the new node on the x axis
        bool OtherLoadsGone; // loads of the other member at the old node "b"
        const char* Message;
    } rows[] = {
        {"0,25/", true, 1.0L, true, nullptr},
        {"1", true, 1.0L, false, nullptr},
        {"3,5", true, 3.5L, false, nullptr},
        {"1,5/", true, 6.0L, true, nullptr}, // beyond the end, on the member's line
        {"-1", true, -1.0L, false, nullptr},
        {"1/", false, 0, false, endFraction},
        {"1,0/", false, 0, false, endFraction},
        {"0/", false, 0, false, endFraction},
        {"4", false, 0, false, endDistance},
        {"0", false, 0, false, endDistance},
        {"abc/", false, 0, false, KInvalid},
        {"abc", false, 0, false, KInvalid},
        {"", false, 0, false, nullptr},
    };
    for (const TRow& r : rows) {
        SCOPED_TRACE(r.Text);
        Reset();
        Sink.Messages.clear();
        TUzel* a = Node(0, 0);
        TUzel* b = Node(4, 0);
        TPrut* atB = Member(b, Node(4, 3));
        TPrut* atA = Member(a, Node(0, 3));
        TPrut* m = Member(a, b);
        m->HingeB = true;
        m->SectionTurned = true;
        for (TPrut* each : {m, atB, atA})
            Load(each);
        const int nodes = Space.Nodes.Count();
        const TToolOutcome o = ApplySingleValue(Space, TGeometryTool::SplitMember, r.Text);
        EXPECT_EQ(o.Edited, r.Split);
        EXPECT_EQ(atA->Loads.Count(), 1);
        if (!r.Split) {
            EXPECT_EQ(Space.Nodes.Count(), nodes);
            EXPECT_EQ(Space.Members.Count(), 3);
            EXPECT_EQ(m->NodeB, b);
            EXPECT_EQ(m->Loads.Count(), 1);
            EXPECT_EQ(atB->Loads.Count(), 1);
            EXPECT_EQ(Space.CurrentMember, m);
            if (r.Message)
                EXPECT_EQ(Sink.Messages, std::vector<std::string>{r.Message});
            else
                EXPECT_TRUE(Sink.Messages.empty());
            continue;
        }
        EXPECT_TRUE(Sink.Messages.empty());
        ASSERT_EQ(Space.Nodes.Count(), nodes + 1);
        TUzel* n = Space.Nodes.Last();
        EXPECT_EQ(n->Number, nodes + 1);
        EXPECT_NEAR(static_cast<double>(n->X), static_cast<double>(r.X), 1e-12);
        EXPECT_EQ(n->Y, 0.0L);
        ASSERT_EQ(Space.Members.Count(), 4);
        TPrut* added = Space.Members.Last();
        EXPECT_EQ(added->Number, 4);
        EXPECT_EQ(Space.CurrentMember, added);
        EXPECT_EQ(added->NodeA, n);
        EXPECT_EQ(added->NodeB, b);
        EXPECT_EQ(added->Section, m->Section);
        EXPECT_TRUE(added->SectionTurned);
        EXPECT_FALSE(added->HingeA);
        EXPECT_FALSE(added->HingeB);
        // The split member keeps its connections: its hinge now lies at the new node.
        EXPECT_EQ(m->NodeB, n);
        EXPECT_TRUE(m->HingeB);
        EXPECT_NEAR(static_cast<double>(m->Length), std::fabs(double(r.X)), 1e-12);
        EXPECT_NEAR(static_cast<double>(added->Length), std::fabs(4.0 - double(r.X)), 1e-12);
        EXPECT_EQ(m->Loads.Count(), 0);
        EXPECT_EQ(atB->Loads.Count(), r.OtherLoadsGone ? 0 : 1);
    }
}

// A distance that only rounds onto an end would make a member of (almost) zero length.
TEST_F(GeometryTools, SplitAtAnEndByRoundingIsRefused) {
    TPrut* m = Member(1, 1, 4, 5);
    m->Length = 5.0L + 4e-18L; // as a computed length may be
    ApplySingleValue(Space, TGeometryTool::SplitMember, "5");
    EXPECT_EQ(Space.Members.Count(), 1);
    EXPECT_EQ(Sink.Messages,
              std::vector<std::string>{"Nelze vložit uzel na konec prutu. Nulová délka není povolena."});
    Sink.Messages.clear();
    ApplySingleValue(Space, TGeometryTool::SplitMember, "1E-30/"); // rounds onto node "a"
    EXPECT_EQ(Space.Members.Count(), 1);
    EXPECT_EQ(Sink.Messages, std::vector<std::string>{KZero});
}

TEST_F(GeometryTools, SupportRotation) {
    struct TRow {
        TGeometryTool Tool;
        const char* Text;
        bool WithAuxiliary;
        TReal Rotation;
        const char* Message;
    } rows[] = {
        {TGeometryTool::SupportAbsolute, "30+", false, 40.0L, nullptr},
        {TGeometryTool::SupportAbsolute, "30-", false, -20.0L, nullptr},
        {TGeometryTool::SupportAbsolute, "30", false, 30.0L, nullptr},
        {TGeometryTool::SupportAbsolute, "x", false, 10.0L, KInvalid},
        {TGeometryTool::SupportAbsolute, "", false, 10.0L, nullptr},
        {TGeometryTool::SupportRelative, "15", true, 45.0L, nullptr},
        {TGeometryTool::SupportRelative, "15-", true, 15.0L, nullptr},
        {TGeometryTool::SupportRelative, "15", false, 10.0L, nullptr},
    };
    for (const TRow& r : rows) {
        SCOPED_TRACE(std::string(GeometryToolButton(r.Tool)) + " " + r.Text);
        Reset();
        Sink.Messages.clear();
        TPrut* m = Member(0, 0, 1, 0);
        Load(m);
        TUzel* n = m->NodeA;
        n->DofU.Angle = n->DofW.Angle = n->DofRot.Angle = 10.0L;
        Space.CurrentNode = n;
        if (r.WithAuxiliary) Auxiliary(5, 0, 5 + std::cos(DegToRad(30.0L)), -std::sin(DegToRad(30.0L)));
        const TToolOutcome o = ApplySingleValue(Space, r.Tool, r.Text);
        for (const TNodeDof* d : {&n->DofU, &n->DofW, &n->DofRot})
            EXPECT_NEAR(static_cast<double>(d->Angle), static_cast<double>(r.Rotation), 1e-12);
        EXPECT_EQ(o.NodeDisplay, r.Rotation != 10.0L);
        EXPECT_EQ(m->Loads.Count(), 1);
        EXPECT_EQ(m->NodeB->X, 1.0L);
        if (r.Message)
            EXPECT_EQ(Sink.Messages, std::vector<std::string>{r.Message});
        else
            EXPECT_TRUE(Sink.Messages.empty());
    }
    Space.CurrentNode = nullptr;
    EXPECT_FALSE(ApplySingleValue(Space, TGeometryTool::SupportAbsolute, "5").Edited);
}

TEST_F(GeometryTools, MoveNodeByCoordinates) {
    struct TRow {
        const char* X;
        const char* Y;
        TReal NewX, NewY;
        const char* Message;
    } rows[] = {
        {"1+", "", 2.0L, 1.0L, nullptr},   {"", "2-", 1.0L, -1.0L, nullptr},
        {"3", "4", 3.0L, 4.0L, nullptr},   {"-2", "0,5+", -2.0L, 1.5L, nullptr},
        {"abc", "5", 1.0L, 5.0L, KInvalid}, // the x field is skipped, the y field applies
        {"", "", 1.0L, 1.0L, nullptr},
        {"5", "5", 1.0L, 1.0L, KZero}, // onto the other end of its member
        {"4+", "4+", 1.0L, 1.0L, KZero},
    };
    for (const TRow& r : rows) {
        SCOPED_TRACE(std::string(r.X) + " | " + r.Y);
        Reset();
        Sink.Messages.clear();
        TPrut* m = Member(1, 1, 5, 5);
        Load(m);
        Space.CurrentNode = m->NodeA;
        const TToolOutcome o = ApplyCoordinates(Space, TGeometryTool::MoveNode, r.X, r.Y);
        EXPECT_EQ(m->NodeA->X, r.NewX);
        EXPECT_EQ(m->NodeA->Y, r.NewY);
        const TReal dx = 5.0L - r.NewX, dy = 5.0L - r.NewY;
        EXPECT_NEAR(static_cast<double>(m->Length), static_cast<double>(std::sqrt(dx * dx + dy * dy)), 1e-12);
        EXPECT_EQ(o.Edited, r.NewX != 1.0L || r.NewY != 1.0L);
        EXPECT_EQ(m->Loads.Count(), 1);
        if (r.Message)
            EXPECT_EQ(Sink.Messages, std::vector<std::string>{r.Message});
        else
            EXPECT_TRUE(Sink.Messages.empty());
    }
}

TEST_F(GeometryTools, NewNodeByCoordinates) {
    struct TRow {
        const char* X;
        const char* Y;
        bool Added;
        const char* Message;
    } rows[] = {
        {"2", "3,5", true, nullptr},  {"-2", "-3", true, nullptr}, {"", "3", false, nullptr},
        {"2", "", false, nullptr},    {"a", "3", false, KInvalid}, {"2+", "3", false, KInvalid},
    };
    for (const TRow& r : rows) {
        SCOPED_TRACE(std::string(r.X) + " | " + r.Y);
        Reset();
        Sink.Messages.clear();
        TUzel* first = Node(0, 0);
        Space.CurrentNode = first;
        const TToolOutcome o = ApplyCoordinates(Space, TGeometryTool::NewNode, r.X, r.Y);
        EXPECT_EQ(o.Edited, r.Added);
        ASSERT_EQ(Space.Nodes.Count(), r.Added ? 2 : 1);
        if (r.Added) {
            TUzel* n = Space.Nodes.Last();
            EXPECT_EQ(Space.CurrentNode, n);
            EXPECT_EQ(n->Number, 2);
            EXPECT_EQ(n->X, std::stold(std::string(r.X)));
        } else {
            EXPECT_EQ(Space.CurrentNode, first);
        }
        if (r.Message)
            EXPECT_EQ(Sink.Messages, std::vector<std::string>{r.Message});
        else
            EXPECT_TRUE(Sink.Messages.empty());
    }
}

TEST_F(GeometryTools, ImperialLengthsAndCoordinatesAreFeetAndInches) {
    Space.NastavSoustavuJednotek(1);
    TPrut* m = Member(0, 0, 0, 1);
    ApplySingleValue(Space, TGeometryTool::Length, "10'");
    EXPECT_NEAR(static_cast<double>(m->NodeB->Y), 3.048, 1e-12);
    ApplySingleValue(Space, TGeometryTool::Length, "6''-");
    EXPECT_NEAR(static_cast<double>(m->NodeB->Y), 3.048 - 0.1524, 1e-12);
    // A text that is no feet-inch text is refused rather than taken as one foot.
    ApplySingleValue(Space, TGeometryTool::Length, "ten");
    EXPECT_NEAR(static_cast<double>(m->NodeB->Y), 3.048 - 0.1524, 1e-12);
    EXPECT_EQ(Sink.Messages, std::vector<std::string>{KInvalid});
    Space.CurrentNode = m->NodeA;
    ApplyCoordinates(Space, TGeometryTool::MoveNode, "1'+", "");
    EXPECT_NEAR(static_cast<double>(m->NodeA->X), 0.3048, 1e-12);
    ApplySingleValue(Space, TGeometryTool::SplitMember, "0,5/");
    EXPECT_EQ(Space.Members.Count(), 2);
}

TEST_F(GeometryTools, ToolsWithoutTheirObjectsDoNothing) {
    for (TGeometryTool t : {TGeometryTool::Length, TGeometryTool::Orientation, TGeometryTool::SplitMember,
                            TGeometryTool::ExtendToAxis, TGeometryTool::MoveNode, TGeometryTool::None}) {
        const TToolOutcome o = ApplySingleValue(Space, t, "1");
        EXPECT_FALSE(o.Edited);
        EXPECT_FALSE(o.KeepOpen);
        EXPECT_FALSE(ApplyCoordinates(Space, t, "1", "1").Edited);
    }
    EXPECT_EQ(Space.Nodes.Count(), 0);
    EXPECT_TRUE(Sink.Messages.empty());
}

// With self-weight on, the members whose loads a tool deletes, and the new member of a split, keep
// a self-weight load for their new length; the user's loads are gone. With it off they stay bare.
TEST_F(GeometryTools, SelfWeightStaysWithTheMembersWhoseLoadsAreDeleted) {
    struct TRow {
        TGeometryTool Tool;
        const char* Text;
        bool SelfWeight;
    } rows[] = {
        {TGeometryTool::Length, "10", true},    {TGeometryTool::Orientation, "30", true},
        {TGeometryTool::SplitMember, "0,25/", true}, {TGeometryTool::SplitMember, "1", true},
        {TGeometryTool::Length, "10", false},   {TGeometryTool::SplitMember, "0,25/", false},
    };
    for (const TRow& r : rows) {
        SCOPED_TRACE(std::string(GeometryToolButton(r.Tool)) + " " + r.Text + (r.SelfWeight ? " on" : " off"));
        Reset();
        TUzel* b = Node(4, 0);
        TPrut* atB = Member(b, Node(4, 3));
        TPrut* m = Member(Node(0, 0), b);
        Space.NastavVlastniTihu(r.SelfWeight);
        Load(m);
        if (r.Tool != TGeometryTool::Length) Load(atB); // else it holds its self-weight only, if any
        const TToolOutcome o = ApplySingleValue(Space, r.Tool, r.Text);
        // A self-weight load comes back: only the members that lost a placed load are named.
        const bool atBLost = r.Tool != TGeometryTool::Length && std::string(r.Text) != "1";
        EXPECT_EQ(o.LostLoads, (atBLost ? std::vector<int>{1, 2} : std::vector<int>{2}));
        for (TPrut* each : Space.Members) {
            const bool touched = each == m || each == Space.CurrentMember ||
                                 (each == atB && std::string(r.Text) != "1"); // an absolute split spares it
            if (!touched) continue;
            SCOPED_TRACE(each->Number);
            ASSERT_EQ(each->Loads.Count(), r.SelfWeight ? 1 : 0);
            if (!r.SelfWeight) continue;
            const TZatizeni* z = each->Loads.First();
            EXPECT_EQ(z->Kind, KLoadSelfWeight);
            EXPECT_EQ(each->CurrentLoad, z);
            EXPECT_NEAR(static_cast<double>(z->C), static_cast<double>(each->Length), 1e-12);
            EXPECT_NEAR(static_cast<double>(z->Angle), static_cast<double>(90.0L - each->Angle), 1e-12);
        }
        if (std::string(r.Text) == "1") {
            EXPECT_EQ(atB->Loads.Count(), r.SelfWeight ? 2 : 1); // its own self-weight and load stay
        }
    }
    EXPECT_EQ(LostLoadsNote({}), "");
    EXPECT_EQ(LostLoadsNote({3}), "Smazána zatížení prutu 3.");
    EXPECT_EQ(LostLoadsNote({1, 4}), "Smazána zatížení prutů 1, 4.");
}
