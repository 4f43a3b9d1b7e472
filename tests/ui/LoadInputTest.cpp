#include <gtest/gtest.h>

#include <cmath>

#include "model/MKPSpace.h"
#include "model/UserDialogs.h"
#include "ui/panel/LoadInput.h"

namespace {

constexpr TReal KTol = 1e-12L;

TLoadFields Entry(int type, int method, const char* value, const char* endValue, const char* angle, const char* a,
                  const char* c) {
    TLoadFields f;
    f.Type = type;
    f.Method = method;
    f.Value = value;
    f.EndValue = endValue;
    f.Angle = angle;
    f.A = a;
    f.C = c;
    return f;
}

} // namespace

TEST(LoadInput, FieldsShownPerTargetAndType) {
    struct TRow {
        TLoadTarget Target;
        int Type;
        TLoadFieldsShown Shown; // q2, angle, A, C, B
    } rows[] = {
        {TLoadTarget::Member, KTypeForce, {false, true, true, false, false}},
        {TLoadTarget::Member, KTypeMoment, {false, false, true, false, false}},
        {TLoadTarget::Member, KTypeDistributed, {true, true, true, true, true}},
        {TLoadTarget::Node, KTypeForce, {false, true, false, false, false}},
        {TLoadTarget::Node, KTypeMoment, {false, false, false, false, false}},
    };
    for (const TRow& r : rows)
        EXPECT_EQ(ShownLoadFields(r.Target, r.Type), r.Shown)
            << (r.Target == TLoadTarget::Node ? "node " : "member ") << r.Type;
}

TEST(LoadInput, NodeNeverOffersADistributedLoad) {
    struct TRow {
        TLoadTarget Target;
        int Type;
        int OnOpening;
        int OnChoice;
    } rows[] = {
        {TLoadTarget::Node, KTypeDistributed, KTypeForce, KTypeMoment},
        {TLoadTarget::Node, KTypeForce, KTypeForce, KTypeForce},
        {TLoadTarget::Node, KTypeMoment, KTypeMoment, KTypeMoment},
        {TLoadTarget::Member, KTypeDistributed, KTypeDistributed, KTypeDistributed},
        {TLoadTarget::Member, KTypeMoment, KTypeMoment, KTypeMoment},
    };
    for (const TRow& r : rows) {
        EXPECT_EQ(TypeOnOpening(r.Target, r.Type), r.OnOpening) << r.Type;
        EXPECT_EQ(TypeOnChoice(r.Target, r.Type), r.OnChoice) << r.Type;
    }
    EXPECT_STREQ(LoadDialogCaption(TLoadTarget::Member), "Zatížení prutu.");
    EXPECT_STREQ(LoadDialogCaption(TLoadTarget::Node), "Uzlové zatížení.");
}

TEST(LoadInput, MemberLoadRecords) {
    const TReal s60 = std::sqrt(3.0L) / 2; // sin 60° = sin 120°
    struct TRow {
        const char* Name;
        TReal L;
        TReal Gamma;
        TLoadFields Fields;
        bool Note;
        std::uint8_t Kind;
        TReal A, C, Q1, Q2, Angle;
    } rows[] = {
        {"distributed over the second half by fractions", 4, 0,
         Entry(KTypeDistributed, KMethodGlobal, "3", "5", "90", "0,5/", "0,5/"), false, KLoadDistributed, 2, 2,
         3, 5, 90},
        {"force -10 at 90 on a member at 30", 4, 30, Entry(KTypeForce, KMethodGlobal, "-10", "0", "90", "1", "0"),
         true, KLoadForce, 1, 0, 10, 0, 60},
        {"moment -5 keeps its sign, angle 0 whatever the field", 4, 30,
         Entry(KTypeMoment, KMethodProjection, "-5", "-3", "45", "2", "0"), false, KLoadMoment, 2, 0, -5, 0, 0},
        {"projection on a member at 330", 4, 330,
         Entry(KTypeDistributed, KMethodProjection, "10", "10", "90", "0", "1/"), false, KLoadDistributed, 0, 4,
         10 * s60, 10 * s60, -240},
        {"projection on a member falling to the left keeps the direction", 4, 150,
         Entry(KTypeDistributed, KMethodProjection, "10", "4", "90", "0", "1/"), false, KLoadDistributed, 0, 4,
         10 * s60, 4 * s60, -60},
        {"projection applies to a force as well", 2, 330, Entry(KTypeForce, KMethodProjection, "6", "0", "90", "1", "0"),
         false, KLoadForce, 1, 0, 6 * s60, 0, -240},
        {"local direction is stored as entered", 4, 330, Entry(KTypeForce, KMethodLocal, "2", "0", "90", "1", "0"),
         false, KLoadForce, 1, 0, 2, 0, 90},
        {"force ignores a loaded length left in C", 4, 0, Entry(KTypeForce, KMethodGlobal, "1", "0", "90", "1", "2"),
         false, KLoadForce, 1, 0, 1, 0, 90},
        {"force at 1/ of the length", 4, 0, Entry(KTypeForce, KMethodGlobal, "1", "0", "90", "1/", "0"), false,
         KLoadForce, 4, 0, 1, 0, 90},
        {"negative fraction and negative length are taken positive", 4, 0,
         Entry(KTypeDistributed, KMethodGlobal, "1", "1", "90", "-0,25/", "-2"), false, KLoadDistributed, 1, 2, 1,
         1, 90},
        {"negative q2 alone shows the note", 4, 0,
         Entry(KTypeDistributed, KMethodGlobal, "1", "-2", "90", "0", "4"), true, KLoadDistributed, 0, 4, 1, 2,
         90},
        {"fractions meeting at node b despite rounding", 3, 0,
         Entry(KTypeDistributed, KMethodGlobal, "1", "1", "90", "0,15/", "0,85/"), false, KLoadDistributed, 0.45L,
         2.55L, 1, 1, 90},
    };
    for (const TRow& r : rows) {
        SCOPED_TRACE(r.Name);
        const TLoadReading got = ReadMemberLoad(r.Fields, r.L, r.Gamma, ',');
        ASSERT_EQ(got.Outcome, TLoadOutcome::Load) << got.Message;
        EXPECT_TRUE(got.Message.empty());
        EXPECT_EQ(got.NegativeNote, r.Note);
        EXPECT_EQ(got.Load.Kind, r.Kind);
        EXPECT_NEAR(got.Load.A, r.A, KTol);
        EXPECT_NEAR(got.Load.C, r.C, KTol);
        EXPECT_NEAR(got.Load.Q1, r.Q1, KTol);
        EXPECT_NEAR(got.Load.Q2, r.Q2, KTol);
        EXPECT_NEAR(got.Load.Angle, r.Angle, KTol);
        // Every accepted load lies on the member.
        EXPECT_LE(got.Load.A + got.Load.C, r.L);
    }
}

TEST(LoadInput, MemberLoadRefusals) {
    struct TRow {
        const char* Name;
        TLoadFields Fields;
        TLoadOutcome Outcome;
        bool Note;
        const char* Message;
    } rows[] = {
        {"distributed 0,5/ + 0,6/ reaches past node b",
         Entry(KTypeDistributed, KMethodGlobal, "1", "1", "90", "0,5/", "0,6/"), TLoadOutcome::Refused, false,
         KLoadBeyondMember},
        {"force before node a", Entry(KTypeForce, KMethodGlobal, "1", "0", "90", "-1", "0"), TLoadOutcome::Refused,
         false, KLoadBeyondMember},
        {"force past node b, with the note first", Entry(KTypeForce, KMethodGlobal, "-1", "0", "90", "5", "0"),
         TLoadOutcome::Refused, true, KLoadBeyondMember},
        {"moment past node b", Entry(KTypeMoment, KMethodGlobal, "1", "0", "0", "4,01", "0"), TLoadOutcome::Refused,
         false, KLoadBeyondMember},
        {"fraction above one", Entry(KTypeForce, KMethodGlobal, "1", "0", "90", "1,5/", "0"), TLoadOutcome::Refused,
         false, KLoadBeyondMember},
        {"value not a number", Entry(KTypeForce, KMethodGlobal, "abc", "0", "90", "1", "0"), TLoadOutcome::Invalid,
         false, KInvalidEntry},
        {"position with a bad fraction", Entry(KTypeForce, KMethodGlobal, "-2", "0", "90", "x/", "0"),
         TLoadOutcome::Invalid, true, KInvalidEntry},
        {"angle not a number", Entry(KTypeForce, KMethodGlobal, "2", "0", "down", "1", "0"), TLoadOutcome::Invalid,
         false, KInvalidEntry},
        {"q2 not a number", Entry(KTypeDistributed, KMethodGlobal, "2", "?", "90", "0", "1"),
         TLoadOutcome::Invalid, false, KInvalidEntry},
        {"infinite value", Entry(KTypeForce, KMethodGlobal, "INF", "0", "90", "1", "0"), TLoadOutcome::Invalid,
         false, KInvalidEntry},
    };
    for (const TRow& r : rows) {
        SCOPED_TRACE(r.Name);
        const TLoadReading got = ReadMemberLoad(r.Fields, 4, 0, ',');
        EXPECT_EQ(got.Outcome, r.Outcome);
        EXPECT_EQ(got.NegativeNote, r.Note);
        EXPECT_EQ(got.Message, r.Message);
    }
}

TEST(LoadInput, NodeLoadRecords) {
    struct TRow {
        const char* Name;
        TLoadFields Fields;
        TLoadOutcome Outcome;
        bool Note;
        std::uint8_t Kind;
        TReal Q1, Angle;
        const char* Message;
    } rows[] = {
        {"negative force", Entry(KTypeForce, KMethodProjection, "-7,5", "0", "45", "3", "0"), TLoadOutcome::Load,
         true, KLoadForce, 7.5L, 45, ""},
        {"moment keeps its sign, angle 0", Entry(KTypeMoment, KMethodGlobal, "-5", "0", "30", "0", "0"),
         TLoadOutcome::Load, false, KLoadMoment, -5, 0, ""},
        {"distributed refused", Entry(KTypeDistributed, KMethodGlobal, "5", "5", "90", "0", "1"),
         TLoadOutcome::Refused, false, 0, 0, 0, KNodeDistributedLoad},
        {"value not a number", Entry(KTypeForce, KMethodGlobal, "5x", "0", "90", "0", "0"), TLoadOutcome::Invalid,
         false, 0, 0, 0, KInvalidEntry},
        {"angle not a number", Entry(KTypeForce, KMethodGlobal, "5", "0", "9O", "0", "0"), TLoadOutcome::Invalid,
         false, 0, 0, 0, KInvalidEntry},
    };
    for (const TRow& r : rows) {
        SCOPED_TRACE(r.Name);
        const TLoadReading got = ReadNodeLoad(r.Fields, ',');
        EXPECT_EQ(got.Outcome, r.Outcome);
        EXPECT_EQ(got.NegativeNote, r.Note);
        EXPECT_EQ(got.Message, r.Message);
        if (got.Outcome != TLoadOutcome::Load) continue;
        EXPECT_EQ(got.Load.Kind, r.Kind);
        EXPECT_EQ(got.Load.Q1, r.Q1);
        EXPECT_EQ(got.Load.Angle, r.Angle);
        EXPECT_EQ(got.Load.A, 0);
        EXPECT_EQ(got.Load.C, 0);
        EXPECT_EQ(got.Load.Q2, 0);
    }
}

class LoadConfirm : public ::testing::Test {
protected:
    void SetUp() override {
        TMaterial* m = Space.PridejMaterial("S235", 210000, 7850);
        TProfil* p = Space.PridejProfil("IPE 300", m, 0.00538L, 0.0000836L, 0.000006038L);
        A = Space.PridejUzel(1, 0, 0);
        B = Space.PridejUzel(2, 4, 0);
        Member = Space.PridejPrut(A, B, p, false, 1, false, false);
        Space.CurrentNode = B;
    }
    TMKPSpace Space;
    TRecordingDialogs Sink;
    TDialogsGuard Guard{Sink};
    TUzel* A = nullptr;
    TUzel* B = nullptr;
    TPrut* Member = nullptr;
};

TEST_F(LoadConfirm, EmptyFieldsBecomeZeroAndTheLoadIsCurrent) {
    TLoadFields f = Entry(KTypeDistributed, KMethodGlobal, "2", "", "", "1", "");
    EXPECT_EQ(ConfirmMemberLoad(Space, f, ','), TConfirmResult::Added);
    EXPECT_EQ(f.EndValue, "0");
    EXPECT_EQ(f.Angle, "0");
    EXPECT_EQ(f.C, "0");
    ASSERT_EQ(Member->Loads.Count(), 1);
    const TZatizeni* z = Member->CurrentLoad;
    ASSERT_EQ(z, Member->Loads[0]);
    EXPECT_EQ(z->LoadCase, nullptr);
    EXPECT_EQ(z->B, 3); // L - (a + c)
    EXPECT_TRUE(Sink.Messages.empty());

    // A force after it, with the loaded length still in C: no loaded length, B = L - a.
    f.Type = KTypeForce;
    f.C = "2";
    EXPECT_EQ(ConfirmMemberLoad(Space, f, ','), TConfirmResult::Added);
    ASSERT_EQ(Member->Loads.Count(), 2);
    EXPECT_EQ(Member->CurrentLoad->C, 0);
    EXPECT_EQ(Member->CurrentLoad->B, 3);
}

TEST_F(LoadConfirm, MessagesInTheirOrderAndNothingAddedOnRefusal) {
    struct TRow {
        const char* Name;
        TLoadFields Fields;
        TConfirmResult Result;
        std::vector<std::string> Messages;
        int Loads;
    } rows[] = {
        {"negative force", Entry(KTypeForce, KMethodGlobal, "-10", "", "90", "2", ""), TConfirmResult::Added,
         {KNegativeLoadNote}, 1},
        {"note, then the reach refusal", Entry(KTypeDistributed, KMethodGlobal, "-1", "1", "90", "0,5/", "0,6/"),
         TConfirmResult::StayOpen, {KNegativeLoadNote, KLoadBeyondMember}, 0},
        {"invalid entry closes", Entry(KTypeForce, KMethodGlobal, "1", "", "90", "a", ""), TConfirmResult::Close,
         {KInvalidEntry}, 0},
    };
    for (const TRow& r : rows) {
        SCOPED_TRACE(r.Name);
        Member->SmazVsechnaZatizeni();
        Sink.Messages.clear();
        TLoadFields f = r.Fields;
        EXPECT_EQ(ConfirmMemberLoad(Space, f, ','), r.Result);
        EXPECT_EQ(Sink.Messages, r.Messages);
        EXPECT_EQ(Member->Loads.Count(), r.Loads);
    }
}

TEST_F(LoadConfirm, NodeLoadsAndMissingTargets) {
    TLoadFields f = Entry(KTypeMoment, KMethodGlobal, "-5", "", "30", "", "");
    EXPECT_EQ(ConfirmNodeLoad(Space, f, ','), TConfirmResult::Added);
    ASSERT_EQ(B->Loads.Count(), 1);
    EXPECT_EQ(B->CurrentLoad->Kind, KLoadMoment);
    EXPECT_EQ(B->CurrentLoad->Q1, -5);
    EXPECT_EQ(B->CurrentLoad->Angle, 0);
    EXPECT_TRUE(Sink.Messages.empty());

    f.Type = KTypeDistributed;
    EXPECT_EQ(ConfirmNodeLoad(Space, f, ','), TConfirmResult::StayOpen);
    EXPECT_EQ(Sink.Messages, std::vector<std::string>{KNodeDistributedLoad});
    EXPECT_EQ(B->Loads.Count(), 1);

    Sink.Messages.clear();
    Space.CurrentNode = nullptr;
    Space.CurrentMember = nullptr;
    f.Type = KTypeForce;
    EXPECT_EQ(ConfirmNodeLoad(Space, f, ','), TConfirmResult::NoTarget);
    EXPECT_EQ(ConfirmMemberLoad(Space, f, ','), TConfirmResult::NoTarget);
    EXPECT_TRUE(Sink.Messages.empty());
    EXPECT_EQ(Member->Loads.Count(), 0);
}

// Members 1-2, 2-3, 3-4 and 4-2 with two loads each; the loads of the members at node b of the
// current member go, the others stay.
TEST(LoadInput, LoadsOfTheMembersAtNodeBAreDeleted) {
    struct TRow {
        const char* Name;
        int Current; // index of the current member, -1 none
        bool ForgetCurrentLoad; // member 4-2 holds loads but none is current
        int Deleted;
        std::vector<int> Left; // loads left per member
    } rows[] = {
        {"node b of 1-2 is node 2", 0, false, 6, {0, 0, 2, 0}},
        {"node b of 2-3 is node 3", 1, false, 4, {2, 0, 0, 2}},
        {"node b of 4-2 is node 2 again", 3, false, 6, {0, 0, 2, 0}},
        {"a list without a current load is emptied too", 0, true, 6, {0, 0, 2, 0}},
        {"no current member", -1, false, 0, {2, 2, 2, 2}},
    };
    for (const TRow& r : rows) {
        SCOPED_TRACE(r.Name);
        TMKPSpace space;
        TProfil* p = space.PridejProfil("IPE 300", space.PridejMaterial("S235", 210000, 7850), 0.00538L,
                                        0.0000836L, 0.000006038L);
        TUzel* n[4] = {space.PridejUzel(1, 0, 0), space.PridejUzel(2, 4, 0), space.PridejUzel(3, 4, 3),
                       space.PridejUzel(4, 8, 0)};
        const int ends[4][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 1}};
        for (const auto& e : ends) {
            TPrut* m = space.PridejPrut(n[e[0]], n[e[1]], p, false, 1, false, false);
            m->PridejZatizeni(KLoadForce, nullptr, 1, 0, 5, 0, 90);
            m->PridejZatizeni(KLoadDistributed, nullptr, 0, 1, 2, 2, 90);
        }
        if (r.ForgetCurrentLoad) space.Members[3]->CurrentLoad = nullptr;
        space.CurrentMember = r.Current < 0 ? nullptr : space.Members[r.Current];
        EXPECT_EQ(DeleteLoadsAtNodeB(space), r.Deleted);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(space.Members[i]->Loads.Count(), r.Left[std::size_t(i)]) << "member " << i + 1;
            EXPECT_EQ(space.Members[i]->CurrentLoad == nullptr, r.Left[std::size_t(i)] == 0) << "member " << i + 1;
        }
    }
}

// Imperial values are typed in lb, lb.ft and lb/ft, positions as feet-inch texts (a bare number
// is inches; "f/" stays a fraction): 1000 lb = 4.4482216152605 kN, 1000 lb.ft = 1.3558... kNm.
TEST(LoadInput, ImperialEntriesAreInPoundsAndFeet) {
    struct TRow {
        TLoadFields Fields;
        TReal A, C, Q1, Q2;
    } rows[] = {
        {Entry(KTypeForce, KMethodLocal, "1000", "", "90", "5'", ""), 1.524L, 0, 4.4482216152605L, 0},
        {Entry(KTypeMoment, KMethodLocal, "-1000", "", "", "63", ""), 1.6002L, 0, -1.3558179483314004L, 0},
        {Entry(KTypeDistributed, KMethodLocal, "100", "-200", "90", "1'", "0,5/"), 0.3048L, 2,
         1.4593902937206365L, 2.918780587441273L},
    };
    for (const TRow& r : rows) {
        const TLoadRecord z = ReadMemberLoad(r.Fields, 4, 0, ',', true).Load;
        for (auto [got, want] : {std::pair{z.A, r.A}, {z.C, r.C}, {z.Q1, r.Q1}, {z.Q2, r.Q2}})
            EXPECT_NEAR(double(got), double(want), 1e-15) << r.Fields.Value;
    }
    // A position that does not read is refused, never taken as one foot.
    const TLoadFields unreadable = Entry(KTypeForce, KMethodLocal, "1", "", "90", "abc", "");
    EXPECT_EQ(ReadMemberLoad(unreadable, 4, 0, ',', true).Outcome, TLoadOutcome::Invalid);
    EXPECT_NEAR(double(ReadNodeLoad(Entry(KTypeForce, 0, "500", "", "45", "", ""), ',', true).Load.Q1),
                2.22411080763025, 1e-15);
    // The hint names the units of the fields shown; the metric dialog has none.
    EXPECT_EQ(LoadUnitHint(TLoadTarget::Member, KTypeDistributed, true), "q1, q2 [lb/ft], A, C [ft-in]");
    EXPECT_EQ(LoadUnitHint(TLoadTarget::Node, KTypeMoment, true), "M [lb.ft]");
    EXPECT_EQ(LoadUnitHint(TLoadTarget::Member, KTypeForce, false), "");
}

// A load shown for editing reads back to itself: confirming the unchanged fields changes no value
// beyond 1e-17 (18 digits do not hold every 80-bit value), in either unit system and input method.
TEST_F(LoadConfirm, EditedFieldsReadBackToTheSameLoad) {
    Member->NodeB->Y = -3; // a member at an awkward angle
    Member->Geometrie();
    int n = 0;
    for (int system : {0, 1})
        for (int method : {KMethodGlobal, KMethodLocal, KMethodProjection})
            for (std::uint8_t kind : {KLoadForce, KLoadMoment, KLoadDistributed}) {
                Space.NastavSoustavuJednotek(system);
                const TReal v = 2.0L / 3 + 12345.678L * (n++ % 2);
                Member->SmazVsechnaZatizeni();
                TZatizeni* z = Member->PridejZatizeni(kind, nullptr, 0.1234567L * n, kind == KLoadDistributed,
                                                      v, v / 3, kind == KLoadMoment ? 0 : 33.3L + v);
                TLoadFields f;
                f.Method = method;
                const TLoadEdit edit = LoadEditOf(*Member, *z);
                f = LoadFieldsOf(edit, f, system == 1, ',');
                EXPECT_NE(f.Method, KMethodProjection); // the stored intensity is per member length
                ASSERT_EQ(ConfirmLoadEdit(Space, edit, f, ','), TConfirmResult::Added) << n;
                const TLoadRecord& was = edit.Was;
                const TReal q2 = kind == KLoadDistributed ? was.Q2 : 0;
                for (auto [got, want] : {std::pair{z->A, was.A}, {z->C, was.C}, {z->Q1, was.Q1}, {z->Q2, q2},
                                         {z->Angle, was.Angle}})
                    EXPECT_LE(std::fabs(got - want), std::fabs(want) * 1e-17L) << n;
            }
    // What was typed comes back as typed, and to the last bit.
    TLoadFields typed = Entry(KTypeForce, KMethodGlobal, "1000", "", "90", "5'-3''", "");
    ASSERT_EQ(ConfirmMemberLoad(Space, typed, ','), TConfirmResult::Added);
    const TZatizeni before = *Member->CurrentLoad;
    const TLoadEdit edit = LoadEditOf(*Member, *Member->CurrentLoad);
    TLoadFields shown = LoadFieldsOf(edit, {}, true, ',');
    EXPECT_EQ(shown.Value + " " + shown.Angle + " " + shown.A, "1000 90 5'-3,000''");
    ASSERT_EQ(ConfirmLoadEdit(Space, edit, shown, ','), TConfirmResult::Added);
    EXPECT_TRUE(before.Q1 == edit.Load->Q1 && before.A == edit.Load->A && before.Angle == edit.Load->Angle);
}

TEST_F(LoadConfirm, AnEditReplacesTheLoadInItsPlace) {
    TZatizeni* first = Member->PridejZatizeni(KLoadForce, nullptr, 1, 0, 5, 0, 90);
    TZatizeni* second = Member->PridejZatizeni(KLoadForce, nullptr, 2, 0, 6, 0, 90);
    Member->PridejZatizeni(KLoadMoment, nullptr, 3, 0, 7, 0, 0);
    const TLoadEdit edit = LoadEditOf(*Member, *second);
    Space.CurrentMember = nullptr;
    TLoadFields f = Entry(KTypeDistributed, KMethodLocal, "2", "4", "80", "1", "2");
    EXPECT_EQ(ConfirmLoadEdit(Space, edit, f, ','), TConfirmResult::Added);
    ASSERT_EQ(Member->Loads.Count(), 3);
    EXPECT_TRUE(Member->Loads[1] == second && Member->CurrentLoad == second && Space.CurrentMember == Member);
    EXPECT_TRUE(second->Kind == KLoadDistributed && second->Q2 == 4 && second->B == 1); // B = 4 - (1 + 2)
    EXPECT_EQ(first->Q1, 5);

    // A load changed or deleted since the dialog opened is not rewritten.
    const TLoadEdit again = LoadEditOf(*Member, *second);
    second->Q1 = 9;
    f = Entry(KTypeForce, KMethodLocal, "1", "", "90", "1", "");
    EXPECT_EQ(ConfirmLoadEdit(Space, again, f, ','), TConfirmResult::Close);
    EXPECT_EQ(second->Kind, KLoadDistributed);
    const TLoadEdit nodal = LoadEditOf(*B, *B->PridejZatizeni(KLoadForce, nullptr, 1, 90));
    B->SmazZatizeni();
    EXPECT_EQ(ConfirmLoadEdit(Space, nodal, f, ','), TConfirmResult::Close);
    EXPECT_EQ(Sink.Messages, (std::vector<std::string>{KEditedLoadGone, KEditedLoadGone}));
}
