// The logic of the load cases and combinations dialogs and of the window's case choice, without
// widgets: cases added, changed and deleted with their loads, exclusive groups, the generated
// combinations as the core gives them, and every change taken back by the undo history.
#include <gtest/gtest.h>

#include <functional>

#include "analysis/En1990.h"
#include "model/MKPSpace.h"
#include "model/UserDialogs.h"
#include "ui/common/CaseChoice.h"
#include "ui/dialogs/CombinationsLogic.h"
#include "ui/dialogs/LoadCasesLogic.h"
#include "ui/editing/UndoHistory.h"
#include "ui/panel/LoadInput.h"

namespace {
// Two members over three nodes; a force and a distributed load on member 1, a force at node 2.
struct TFrame {
    TMKPSpace space;
    TZatizeni* force = nullptr;
    TZatizeni* spread = nullptr;
    TZatizeni* nodal = nullptr;
    TFrame() {
        TMaterial* steel = space.PridejMaterial("S235", 210000, 7850);
        TProfil* section = space.PridejProfil("IPE 200", steel, 0.00285L, 0.0000194L, 0.00000142L);
        TUzel* a = space.PridejUzel(1, 0, 0);
        TUzel* b = space.PridejUzel(2, 4, 0);
        TUzel* c = space.PridejUzel(3, 8, 0);
        TPrut* m = space.PridejPrut(a, b, section, false, 1, false, false);
        space.PridejPrut(b, c, section, false, 2, false, false);
        force = m->PridejZatizeni(KLoadForce, nullptr, 1, 0, 10, 0, 90);
        spread = m->PridejZatizeni(KLoadDistributed, nullptr, 0, 4, 5, 5, 90);
        nodal = b->PridejZatizeni(KLoadForce, nullptr, 20, 90);
    }
};

TCaseFields Case(const char* name, TCaseKind kind, TCaseCategory category = TCaseCategory::None,
                 const char* group = "", bool both = false) {
    int c = 0;
    for (std::size_t i = 0; i < AllCategories().size(); ++i)
        if (AllCategories()[i] == category) c = int(i);
    return {name, int(kind), c, group, both};
}

std::vector<std::string> Names(const std::vector<TCaseRow>& rows) {
    std::vector<std::string> v;
    for (const TCaseRow& r : rows)
        v.push_back(r.Name + ":" + r.Loads);
    return v;
}

TModelSnapshot Snap(const TMKPSpace& space) {
    TModelSnapshot s;
    EXPECT_TRUE(TakeSnapshot(space, s));
    return s;
}
} // namespace

// Each change through the dialogs' functions, what the list shows after it, and then every change
// taken back step by step: the model read back from each step is the model of that step (cases,
// groups, combinations and which case each load belongs to).
TEST(LoadCasesLogic, ChangesAndTheirUndo) {
    TFrame f;
    TMKPSpace& s = f.space;
    TRecordingDialogs sink;
    TDialogsGuard guard(sink);
    struct TStep {
        const char* What;
        std::function<void()> Do;
        std::vector<std::string> Rows; // name:loads
    } steps[] = {
        {"the first case takes every load",
         [&] { EXPECT_EQ(AddCase(s, Case(" G ", TCaseKind::Permanent)), ""); },
         {"G:3"}},
        {"a wind case",
         [&] {
             EXPECT_EQ(AddCase(s, Case("Vítr zleva", TCaseKind::Variable, TCaseCategory::Wind, "W")), "");
         },
         {"G:3", "Vítr zleva:0"}},
        {"its opposite in the same group",
         [&] {
             EXPECT_EQ(AddCase(s, Case("Vítr zprava", TCaseKind::Variable, TCaseCategory::Wind, "W")), "");
         },
         {"G:3", "Vítr zleva:0", "Vítr zprava:0"}},
        {"a load moves",
         [&] { s.NastavStavZatizeni(*f.nodal, s.LoadCases[1]); },
         {"G:2", "Vítr zleva:1", "Vítr zprava:0"}},
        {"rename with both values",
         [&] {
             EXPECT_EQ(ChangeCase(s, 0, Case("Stálé", TCaseKind::Permanent, TCaseCategory::None, "", true)),
                       "");
         },
         {"Stálé:2", "Vítr zleva:1", "Vítr zprava:0"}},
        {"a user combination",
         [&] {
             EXPECT_EQ(AddCombination(s, {"K 1", {"1,35", "", "1,5"}}, ','), "");
         },
         {"Stálé:2", "Vítr zleva:1", "Vítr zprava:0"}},
        {"generated combinations",
         [&] { EXPECT_GT(GenerateCombinations(s, TGenerationOptions{}), 0); },
         {"Stálé:2", "Vítr zleva:1", "Vítr zprava:0"}},
        {"a case with a load goes with it",
         [&] {
             EXPECT_NE(DeleteCaseQuestion(s, 1), "");
             EXPECT_TRUE(DeleteCase(s, 1));
         },
         {"Stálé:2", "Vítr zprava:0"}},
        {"an empty case goes without a question",
         [&] {
             EXPECT_EQ(DeleteCaseQuestion(s, 1), "");
             EXPECT_TRUE(DeleteCase(s, 1));
         },
         {"Stálé:2"}},
        {"the last case leaves its loads to the model without cases",
         [&] {
             EXPECT_NE(DeleteCaseQuestion(s, 0).find("poslední"), std::string::npos);
             EXPECT_TRUE(DeleteCase(s, 0));
         },
         {}},
    };
    TUndoHistory history;
    std::vector<TModelSnapshot> states{Snap(s)};
    std::vector<std::vector<std::string>> rows{{}};
    history.Reset(states.back());
    for (TStep& step : steps) {
        step.Do();
        EXPECT_EQ(Names(CaseRows(s)), step.Rows) << step.What;
        states.push_back(Snap(s));
        rows.push_back(step.Rows);
        EXPECT_TRUE(history.Commit(states.back())) << step.What << " is a step of its own";
    }
    EXPECT_EQ(f.force->LoadCase, nullptr);
    EXPECT_EQ(s.Nodes[1]->Loads.Count(), 0) << "the wind load went with its case";
    EXPECT_TRUE(sink.Messages.empty());
    TModelView left;
    for (std::size_t i = states.size() - 1; i-- > 0;) {
        const TModelSnapshot* state = history.Undo(left);
        ASSERT_NE(state, nullptr);
        RestoreSnapshot(s, *state, left);
        SCOPED_TRACE(i);
        EXPECT_TRUE(Snap(s).Same(states[i]));
        EXPECT_EQ(Names(CaseRows(s)), rows[i]);
    }
    ASSERT_EQ(s.LoadCases.Count(), 0);
    EXPECT_EQ(s.Combinations.Count(), 0);
}

TEST(LoadCasesLogic, RefusalsChangeNothing) {
    TFrame f;
    TMKPSpace& s = f.space;
    ASSERT_EQ(AddCase(s, Case("G", TCaseKind::Permanent)), "");
    const std::string before = Snap(s).Project;
    const TCaseFields refused[] = {
        Case("", TCaseKind::Variable),
        Case("  ", TCaseKind::Variable),
        Case("G", TCaseKind::Variable),
        Case("Weight", TCaseKind::Permanent),
        Case("Výchozí", TCaseKind::Permanent),
        Case("a\nb", TCaseKind::Permanent),
        Case("Q", TCaseKind::Variable, TCaseCategory::None, "x\ny"),
        {"Q", 7, 0, "", false},
        {"Q", 1, 99, "", false},
    };
    for (const TCaseFields& c : refused) {
        EXPECT_NE(AddCase(s, c), "") << c.Name;
        EXPECT_EQ(Snap(s).Project, before) << c.Name;
    }
    ASSERT_EQ(AddCase(s, Case("Q", TCaseKind::Variable)), "");
    EXPECT_NE(ChangeCase(s, 1, Case("G", TCaseKind::Variable)), "") << "a name taken by another case";
    EXPECT_EQ(ChangeCase(s, 1, Case("Q", TCaseKind::Variable)), "") << "its own name is no conflict";
    EXPECT_NE(ChangeCase(s, 2, Case("R", TCaseKind::Variable)), "") << "no case there";
}

// What the kind allows: a category for a variable case only, both values for a permanent one only.
TEST(LoadCasesLogic, KindDecidesCategoryAndBothValues) {
    TFrame f;
    struct TRow {
        TCaseKind Kind;
        TCaseCategory Category;
        bool Both;
    } rows[] = {{TCaseKind::Permanent, TCaseCategory::None, true},
                {TCaseKind::Variable, TCaseCategory::SnowLow, false},
                {TCaseKind::Accidental, TCaseCategory::None, false}};
    for (const TRow& r : rows) {
        const TCaseFields asked =
            Case(("C" + std::to_string(int(r.Kind))).c_str(), r.Kind, TCaseCategory::SnowLow, " g ", true);
        ASSERT_EQ(AddCase(f.space, asked), "");
        const TZatezovaciStav& c = *f.space.LoadCases.Last();
        EXPECT_EQ(c.Kind, r.Kind);
        EXPECT_EQ(c.Category, r.Category);
        EXPECT_EQ(c.BothValues, r.Both);
        EXPECT_EQ(c.Group, "g");
        EXPECT_EQ(CaseFieldsOf(c).Kind, asked.Kind);
        EXPECT_EQ(KindTakesCategory(asked.Kind), r.Category != TCaseCategory::None);
        EXPECT_EQ(KindTakesBothValues(asked.Kind), r.Both);
    }
    EXPECT_EQ(NewCaseName(f.space), "ZS 1");
}

// The generated list is the core's, row for row, with its formulas; cases of one group never act
// together; the user's own combinations stay through a new generation.
TEST(CombinationsLogic, GeneratedAsTheCoreGivesThem) {
    TFrame f;
    TMKPSpace& s = f.space;
    ASSERT_EQ(AddCase(s, Case("G", TCaseKind::Permanent)), "");
    ASSERT_EQ(AddCase(s, Case("Sníh", TCaseKind::Variable, TCaseCategory::SnowLow)), "");
    ASSERT_EQ(AddCase(s, Case("Vítr L", TCaseKind::Variable, TCaseCategory::Wind, "W")), "");
    ASSERT_EQ(AddCase(s, Case("Vítr P", TCaseKind::Variable, TCaseCategory::Wind, "W")), "");
    ASSERT_EQ(AddCombination(s, {"MSÚ 1", {"1", "1", "", ""}}, ','), "");
    TGenerationOptions options;
    options.Split610 = true;
    const int count = GenerateCombinations(s, options);
    const auto core = GenerujKombinace(s.PocitaneStavy(), options, {"MSÚ 1"});
    ASSERT_EQ(std::size_t(count), core.size());
    const std::vector<TCombinationRow> rows = GeneratedCombinationRows(s, ',');
    ASSERT_EQ(rows.size(), core.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i], (TCombinationRow{core[i]->Name, CombinationKindName(core[i]->Kind),
                                            core[i]->TermsText(','), core[i]->Formula}));
        EXPECT_FALSE(rows[i].Formula.empty());
        EXPECT_FALSE(rows[i].Terms.find("Vítr L") != std::string::npos &&
                     rows[i].Terms.find("Vítr P") != std::string::npos)
            << rows[i].Name << " " << rows[i].Terms;
    }
    EXPECT_EQ(UserCombinationRows(s, ',').size(), 1u);
    const int again = GenerateCombinations(s, TGenerationOptions{});
    EXPECT_EQ(again, int(GeneratedCombinationRows(s).size()));
    EXPECT_EQ(UserCombinationRows(s, ',').front().Terms, "1·G + 1·Sníh");
}

TEST(CombinationsLogic, UserCombinationFields) {
    TFrame f;
    TMKPSpace& s = f.space;
    ASSERT_EQ(AddCase(s, Case("G", TCaseKind::Permanent)), "");
    ASSERT_EQ(AddCase(s, Case("Q", TCaseKind::Variable, TCaseCategory::B)), "");
    const std::string empty = Snap(s).Project;
    struct TRow {
        TCombinationFields Fields;
        bool Accepted;
    } rows[] = {
        {{"K", {"", "0"}}, false},     // nothing acts
        {{"K", {"1,35", "x"}}, false}, // not a number
        {{"", {"1", ""}}, false},      // no name
        {{"K", {"1"}}, false},         // a factor short
        {{" K ", {"1,35", " 1,5 "}}, true},
    };
    for (const TRow& r : rows) {
        TRecordingDialogs sink;
        TDialogsGuard guard(sink);
        EXPECT_EQ(AddCombination(s, r.Fields, ',').empty(), r.Accepted) << r.Fields.Name;
        if (!r.Accepted) {
            EXPECT_EQ(Snap(s).Project, empty);
        }
    }
    EXPECT_NE(AddCombination(s, {"K", {"1", ""}}, ','), "") << "the name is taken";
    TKombinace* k = UserCombination(s, 0);
    ASSERT_NE(k, nullptr);
    EXPECT_EQ(k->Name, "K");
    const TCombinationFields shown = CombinationFieldsOf(s, *k, ',');
    EXPECT_EQ(shown, (TCombinationFields{"K", {"1,35", "1,5"}}));
    k->Terms[0].Factor = 1.0L / 3;
    const TCombinationFields third = CombinationFieldsOf(s, *k, ',');
    EXPECT_EQ(ChangeCombination(s, 0, third, ','), "");
    EXPECT_EQ(k->Terms[0].Factor, 1.0L / 3) << "a factor left as shown keeps its bits";
    EXPECT_EQ(ChangeCombination(s, 0, {"K2", {"", "2"}}, ','), "");
    EXPECT_EQ(k->TermsText(','), "2·Q");
    EXPECT_EQ(NewCombinationName(s), "K 1");
    EXPECT_TRUE(DeleteCombination(s, 0));
    EXPECT_FALSE(DeleteCombination(s, 0));
    EXPECT_EQ(Snap(s).Project, empty);
}

// The window's case choice over a model whose cases come and go.
TEST(CaseChoice, FollowsTheCasesByNameThenPosition) {
    TFrame f;
    TMKPSpace& s = f.space;
    TCaseChoice choice;
    EXPECT_EQ(CaseChoiceEntries(s), std::vector<std::string>{"Výchozí"});
    EXPECT_EQ(CaseForNewLoads(s, choice), nullptr);
    ShowCaseChoice(s, ChooseCaseEntry(s, choice, 0));
    EXPECT_EQ(s.LoadsOfCase, -1);
    EXPECT_FALSE(s.CaseColours);
    for (const char* n : {"A", "B", "C"})
        ASSERT_EQ(AddCase(s, Case(n, TCaseKind::Permanent)), "");
    EXPECT_EQ(CaseChoiceEntries(s), (std::vector<std::string>{"A", "B", "C", KAllCasesEntry}));
    choice = ChooseCaseEntry(s, choice, 1);
    EXPECT_EQ(CaseForNewLoads(s, choice), s.LoadCases[1]);
    ShowCaseChoice(s, choice);
    EXPECT_EQ(s.LoadsOfCase, 1);
    choice = ChooseCaseEntry(s, choice, 3); // all: new loads still go into B
    EXPECT_TRUE(choice.All);
    EXPECT_EQ(CaseChoiceEntry(s, choice), 3);
    EXPECT_EQ(CaseForNewLoads(s, choice), s.LoadCases[1]);
    ShowCaseChoice(s, choice);
    EXPECT_EQ(s.LoadsOfCase, -1);
    EXPECT_TRUE(s.CaseColours);
    ASSERT_TRUE(DeleteCase(s, 0)); // B moves to position 0
    choice = ValidCaseChoice(s, choice);
    EXPECT_EQ(choice.Position, 0);
    EXPECT_EQ(choice.Name, "B");
    ASSERT_EQ(ChangeCase(s, 0, Case("B2", TCaseKind::Permanent)), ""); // renamed in place
    EXPECT_EQ(ValidCaseChoice(s, choice).Name, "B2");
    ASSERT_TRUE(DeleteCase(s, 1)); // one case left: no "all"
    choice = ValidCaseChoice(s, choice);
    EXPECT_FALSE(choice.All);
    EXPECT_EQ(CaseChoiceEntries(s), std::vector<std::string>{"B2"});
    ASSERT_TRUE(DeleteCase(s, 0));
    EXPECT_EQ(ValidCaseChoice(s, choice), TCaseChoice{});
}

// New loads go into the case of the fields; an edit can move a load to another case.
TEST(LoadInputCases, LoadsGoIntoTheCaseOfTheFields) {
    TFrame f;
    TMKPSpace& s = f.space;
    TRecordingDialogs sink;
    TDialogsGuard guard(sink);
    s.CurrentMember = s.Members[0];
    s.CurrentNode = s.Nodes[0];
    TLoadFields fields;
    fields.Value = "3";
    fields.A = "1";
    ASSERT_EQ(ConfirmMemberLoad(s, fields, ','), TConfirmResult::Added);
    EXPECT_EQ(s.Members[0]->Loads.Last()->LoadCase, nullptr) << "a model without cases";
    EXPECT_TRUE(LoadCaseNames(s).empty());
    EXPECT_EQ(LoadCaseName(s, *f.force), "");
    ASSERT_EQ(AddCase(s, Case("G", TCaseKind::Permanent)), "");
    ASSERT_EQ(AddCase(s, Case("Q", TCaseKind::Variable)), "");
    EXPECT_EQ(LoadCaseNames(s), (std::vector<std::string>{"G", "Q"}));
    fields.Case = "Q";
    ASSERT_EQ(ConfirmNodeLoad(s, fields, ','), TConfirmResult::Added);
    EXPECT_EQ(s.StavZatizeni(*s.Nodes[0]->Loads.Last()), s.LoadCases[1]);
    fields.Case = "gone";
    const int loads = s.Members[0]->Loads.Count();
    EXPECT_EQ(ConfirmMemberLoad(s, fields, ','), TConfirmResult::StayOpen);
    EXPECT_EQ(s.Members[0]->Loads.Count(), loads);
    EXPECT_EQ(sink.Messages, std::vector<std::string>{KUnknownLoadCase});
    const TLoadEdit edit = LoadEditOf(*s.Members[0], *f.force);
    TLoadFields shown = LoadFieldsOf(edit, fields, false, ',');
    EXPECT_EQ(LoadCaseName(s, *f.force), "G");
    shown.Case = "Q";
    ASSERT_EQ(ConfirmLoadEdit(s, edit, shown, ','), TConfirmResult::Added);
    EXPECT_EQ(s.StavZatizeni(*f.force), s.LoadCases[1]);
    EXPECT_EQ(s.Members[0]->Loads.IndexOf(f.force), 0) << "the load keeps its place";
}

// Generated combinations follow every change of the cases (and self-weight switched on): they are
// what the generation with the same options gives for the cases there are, so none keeps a case
// that is gone or a formula that no longer holds; the user's own stay as they are.
TEST(CombinationsLogic, GeneratedFollowTheCases) {
    TFrame f;
    TMKPSpace& s = f.space;
    ASSERT_EQ(AddCase(s, Case("G", TCaseKind::Permanent)), "");
    ASSERT_EQ(AddCombination(s, {"Moje", {"1"}}, ','), "");
    EXPECT_FALSE(ObnovGenerovaneKombinace(s)); // nothing generated yet: nothing changes
    ASSERT_EQ(s.Combinations.Count(), 1);
    ASSERT_EQ(AddCase(s, Case("Q", TCaseKind::Variable, TCaseCategory::A)), "");
    ASSERT_EQ(AddCase(s, Case("Vítr L", TCaseKind::Variable, TCaseCategory::Wind, "W")), "");
    ASSERT_EQ(AddCase(s, Case("Vítr P", TCaseKind::Variable, TCaseCategory::Wind, "W")), "");
    TGenerationOptions options;
    options.Split610 = true;
    options.Serviceability = false;
    GenerateCombinations(s, options);
    const auto expectGenerated = [&](const char* step) {
        const auto core = GenerujKombinace(s.PocitaneStavy(), options, {"Moje"});
        const std::vector<TCombinationRow> rows = GeneratedCombinationRows(s, ',');
        ASSERT_EQ(rows.size(), core.size()) << step;
        for (std::size_t i = 0; i < rows.size(); ++i)
            EXPECT_EQ(rows[i], (TCombinationRow{core[i]->Name, CombinationKindName(core[i]->Kind),
                                                core[i]->TermsText(','), core[i]->Formula}))
                << step;
        EXPECT_EQ(UserCombinationRows(s, ',').front().Terms, "1·G") << step;
    };
    ASSERT_TRUE(DeleteCase(s, 3)); // "Vítr P"
    expectGenerated("delete");
    ASSERT_EQ(ChangeCase(s, 2, Case("Vítr L", TCaseKind::Variable, TCaseCategory::SnowLow)), "");
    expectGenerated("change");
    ASSERT_EQ(AddCase(s, Case("Náraz", TCaseKind::Accidental)), "");
    expectGenerated("accidental");
    s.NastavVlastniTihu(true);
    EXPECT_TRUE(ObnovGenerovaneKombinace(s));
    expectGenerated("self-weight");
}
