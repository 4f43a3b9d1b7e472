#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/MKPSpace.h"
#include "model/UserDialogs.h"
#include "ui/dialogs/DefinitionLogic.h"
#include "units/Prevody.h"

namespace {
const std::string KInvalid = "Neplatné zadání.";
const std::string KNoMaterial = "Seznam materiálů je prázdný. Nejdříve vytvořte či načtěte materál z knihovny.";

using TMessages = std::vector<std::string>;

// A model with material S235 (current) and section IPE 200, in the given unit system.
struct Model {
    TRecordingDialogs sink;
    TDialogsGuard guard{sink};
    TMKPSpace space;
    explicit Model(bool withMaterial = true, int units = 0) {
        space.NastavSoustavuJednotek(static_cast<std::uint8_t>(units));
        if (!withMaterial) return;
        space.CurrentMaterial = space.PridejMaterial("S235", 210000, 7850);
        space.CurrentSection = space.PridejProfil("IPE 200", space.CurrentMaterial, 0.00285L, 1.94e-5L, 1.42e-6L);
    }
};
} // namespace

TEST(SectionDialogLogic, ChecksInOrderAndCreatesOnlyWhenAllPass) {
    struct TCase {
        const char* Title;
        bool Material;
        TSectionFields Fields;
        TMessages Expected; // empty: the section is created
    };
    const std::vector<TCase> cases = {
        {"no material before bad numbers and name", false, {"", "x", "", "1,5"}, {KNoMaterial}},
        {"no material with sound fields", false, {"P1", "1", "1", "1"}, {KNoMaterial}},
        {"comma number with exponent", true, {"P1", "2,5E-3", "1", "1"}, {}},
        {"point under a comma locale", true, {"P1", "2.5E-3", "1", "1"}, {KInvalid}},
        {"empty Iz", true, {"P1", "1", "1", ""}, {KInvalid}},
        {"numbers before the empty name", true, {"", "abc", "1", "1"}, {KInvalid}},
        {"empty name", true, {"", "1", "1", "1"}, {"Pojmenujte profil, prosím."}},
        {"existing name", true, {"IPE 200", "1", "1", "1"}, {"Použijte unikátní jméno. IPE 200 již existuje."}},
        {"name differing in case only", true, {"ipe 200", "1", "1", "1"}, {}},
        {"name not trimmed", true, {" IPE 200", "1", "1", "1"}, {}},
        {"zero and negative values", true, {"P0", "0", "-1", "-0,5"}, {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Title);
        Model m(c.Material);
        const int before = m.space.Sections.Count();
        TProfil* s = CreateSection(m.space, c.Fields, ',');
        EXPECT_EQ(m.sink.Messages, c.Expected);
        if (!c.Expected.empty()) {
            EXPECT_EQ(s, nullptr);
            EXPECT_EQ(m.space.Sections.Count(), before);
            continue;
        }
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(m.space.Sections.Count(), before + 1);
        EXPECT_EQ(m.space.Sections.Last(), s);
        EXPECT_EQ(s->Name, c.Fields.Name);
        EXPECT_EQ(s->Material, m.space.CurrentMaterial);
        EXPECT_EQ(s->A, StrToFloat(c.Fields.A, ','));
        EXPECT_EQ(s->Iy, StrToFloat(c.Fields.Iy, ','));
        EXPECT_EQ(s->Iz, StrToFloat(c.Fields.Iz, ','));
    }
}

TEST(SectionDialogLogic, ImperialValuesAreStoredInMetres) {
    struct TCase {
        const char* A;
        const char* I;
        TReal ExpectedA;
        TReal ExpectedI;
    };
    const std::vector<TCase> cases = {
        {"1", "1", 0.00064516L, 0.0254L * 0.0254L * 0.0254L * 0.0254L},
        {"4,41", "100", 4.41L * 0.00064516L, 100.0L * 0.0254L * 0.0254L * 0.0254L * 0.0254L},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.A);
        Model m(true, 1);
        TProfil* s = CreateSection(m.space, {"W", c.A, c.I, c.I}, ',');
        ASSERT_NE(s, nullptr);
        EXPECT_NEAR(static_cast<double>(s->A), static_cast<double>(c.ExpectedA), 1e-18);
        EXPECT_NEAR(static_cast<double>(s->Iy / c.ExpectedI), 1.0, 1e-15);
        EXPECT_NEAR(static_cast<double>(s->Iz / c.ExpectedI), 1.0, 1e-15);
    }
}

TEST(MaterialDialogLogic, ChecksInOrderAndConvertsImperialUnits) {
    struct TCase {
        const char* Title;
        int Units;
        TMaterialFields Fields;
        TMessages Expected;
        TReal E = 0.0L; // expected stored values when created
        TReal D = 0.0L;
    };
    const std::vector<TCase> cases = {
        {"metric", 0, {"C30", "32000", "2500"}, {}, 32000.0L, 2500.0L},
        {"comma decimals", 0, {"Al", "70000,5", "2,7E3"}, {}, 70000.5L, 2700.0L},
        {"bad E before the empty name", 0, {"", "7e", "1"}, {KInvalid}},
        {"point under a comma locale", 0, {"Al", "1.5", "1"}, {KInvalid}},
        {"empty name", 0, {"", "1", "1"}, {"Zadejte jméno materiálu, prosím."}},
        {"existing name", 0, {"S235", "1", "1"}, {"Zvolte unikátní jméno. S235 již existuje."}},
        {"case differs", 0, {"s235", "1", "1"}, {}, 1.0L, 1.0L},
        {"imperial", 1, {"A36", "29000000", "490"}, {}, PsiNaMPa(29000000.0L), LbFt3NaKgM3(490.0L)},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Title);
        Model m(true, c.Units);
        TProfil* section = m.space.CurrentSection;
        TMaterial* sectionMaterial = section->Material;
        TMaterial* mat = CreateMaterial(m.space, c.Fields, ',');
        EXPECT_EQ(m.sink.Messages, c.Expected);
        EXPECT_EQ(section->Material, sectionMaterial); // the current section keeps its material
        if (!c.Expected.empty()) {
            EXPECT_EQ(mat, nullptr);
            EXPECT_EQ(m.space.Materials.Count(), 1);
            continue;
        }
        ASSERT_NE(mat, nullptr);
        EXPECT_EQ(m.space.Materials.Last(), mat);
        EXPECT_EQ(mat->E, c.E);
        EXPECT_EQ(mat->D, c.D);
    }
}

TEST(DefinitionLogic, UnitLabelsFollowTheUnitSystem) {
    Model metric(false, 0);
    Model imperial(false, 1);
    const TDefinitionUnitLabels m = DefinitionUnitLabels(metric.space);
    const TDefinitionUnitLabels i = DefinitionUnitLabels(imperial.space);
    EXPECT_EQ((std::vector<std::string>{m.Area, m.Iy, m.Iz, m.Stress, m.Density}),
              (std::vector<std::string>{"m2", "m4", "m4", "MPa", "kg/m3"}));
    EXPECT_EQ((std::vector<std::string>{i.Area, i.Iy, i.Iz, i.Stress, i.Density}),
              (std::vector<std::string>{"in2", "in4", "in4", "psi", "lb/ft3"}));
    const TUnitPanelTexts pm = UnitPanelTexts(metric.space);
    const TUnitPanelTexts pi = UnitPanelTexts(imperial.space);
    EXPECT_EQ((std::vector<std::string>{pm.Length, pm.Force, pm.Stress}),
              (std::vector<std::string>{"m", "kN", "MPa"}));
    EXPECT_EQ((std::vector<std::string>{pi.Length, pi.Force, pi.Stress}),
              (std::vector<std::string>{"ft", "lb", "psi"}));
}

TEST(SettingsLogic, OpeningShowsTheModelsValues) {
    struct TCase {
        TReal Factor;
        int Division;
        int Units;
        const char* Text;
    };
    const std::vector<TCase> cases = {
        {1.0L, 10, 0, "1"}, {1.35L, 25, 1, "1,4"}, {0.125L, 60, 0, "0,13"}, {12345.0L, 10, 0, "1,2E4"}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Text);
        Model m(false, c.Units);
        m.space.WeightCase.Factor = c.Factor;
        m.space.MemberDivision = c.Division;
        const TSettingsFields f = SettingsFieldsOf(m.space, ',');
        EXPECT_EQ(f.Factor, c.Text);
        EXPECT_EQ(f.ShownFactor, c.Text);
        EXPECT_EQ(f.Division, std::to_string(c.Division));
        EXPECT_EQ(f.UnitSystem, c.Units);
    }
}

TEST(SettingsLogic, TwoIndependentStepsWithTheirMessages) {
    const std::string KWarning = "Zvažte, prosím, praktickou využitelnost takto jemného dělení. Vysoké hodnoty "
                                 "mohou podstatně zpomalit překreslování plátna.";
    struct TCase {
        const char* Title;
        const char* Factor;
        const char* Division;
        int Units;
        TMessages Expected;
        TReal StoredFactor;
        int StoredDivision; // model and every member
        int StoredUnits;
    };
    // The model starts with factor 1,5, division 20 and metric units.
    const std::vector<TCase> cases = {
        {"division 5 becomes 10", "1,5", "5", 0, {}, 1.5L, 10, 0},
        {"division 60 warns once", "1,5", "60", 0, {KWarning}, 1.5L, 60, 0},
        {"division 50 is quiet", "1,5", "50", 0, {}, 1.5L, 50, 0},
        {"empty division, factor still stored", "2,25", "", 1, {KInvalid}, 2.25L, 20, 0},
        {"bad factor, division still stored", "1.2", "12", 1, {KInvalid}, 1.5L, 12, 1},
        {"both invalid: two messages", "x", "1,5", 1, {KInvalid, KInvalid}, 1.5L, 20, 0},
        {"imperial applied with the division", "0", "30", 1, {}, 0.0L, 30, 1},
        {"largest division", "1,5", "100000", 0, {KWarning}, 1.5L, 100000, 0},
        {"division too large for the result tables", "1,5", "100001", 1, {KInvalid}, 1.5L, 20, 0},
        {"division beyond the integers", "1,5", "99999999999", 1, {KInvalid}, 1.5L, 20, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Title);
        Model m;
        m.space.WeightCase.Factor = 1.5L;
        m.space.MemberDivision = 20;
        TUzel* a = m.space.PridejUzel(1, 0, 0);
        TUzel* b = m.space.PridejUzel(2, 3, 0);
        TUzel* d = m.space.PridejUzel(3, 3, 4);
        for (auto [p, q] : {std::pair{a, b}, std::pair{b, d}}) {
            TPrut* member = m.space.PridejPrut(p, q, m.space.CurrentSection, false, m.space.Members.Count() + 1,
                                               false, false);
            member->Divisions = 20;
        }
        TSettingsFields f;
        f.Factor = c.Factor;
        f.ShownFactor = "1,5";
        f.Division = c.Division;
        f.UnitSystem = c.Units;
        const TSettingsOutcome out = ApplySettings(m.space, f, ',');
        EXPECT_EQ(m.sink.Messages, c.Expected);
        EXPECT_EQ(m.space.WeightCase.Factor, c.StoredFactor);
        EXPECT_EQ(m.space.MemberDivision, c.StoredDivision);
        for (const TPrut* member : m.space.Members)
            EXPECT_EQ(member->Divisions, c.StoredDivision);
        EXPECT_EQ(m.space.UnitSystem, c.StoredUnits);
        EXPECT_EQ(m.space.LengthLabel, c.StoredUnits == 1 ? "ft" : "m");
        EXPECT_EQ(out.DivisionApplied, m.space.MemberDivision != 20);
        EXPECT_EQ(out.UnitSystemChanged, c.StoredUnits == 1);
        EXPECT_EQ(out.FactorChanged, c.StoredFactor != 1.5L);
    }
}

TEST(SettingsLogic, TheTypedCoefficientIsUsedAndAnUntouchedOneKeepsAllItsDigits) {
    // The field shows 1.35 as "1,4". Typing any text, even "1,4" again, stores what was typed;
    // confirming without touching the field must not round the model's coefficient.
    struct TCase {
        const char* Typed; // nullptr: the field left as it opened
        TReal Stored;
        bool Changed;
    };
    const std::vector<TCase> cases = {
        {nullptr, 1.35L, false}, {"1,4", 1.4L, true}, {"1,35", 1.35L, false}, {"1,40", 1.4L, true}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Typed ? c.Typed : "untouched");
        Model m(false);
        m.space.WeightCase.Factor = 1.35L;
        TSettingsFields f = SettingsFieldsOf(m.space, ',');
        EXPECT_EQ(f.Factor, "1,4");
        if (c.Typed) {
            f.Factor = c.Typed;
            f.FactorTyped = true;
        }
        const TSettingsOutcome out = ApplySettings(m.space, f, ',');
        EXPECT_TRUE(m.sink.Messages.empty());
        EXPECT_TRUE(out.FactorApplied);
        EXPECT_EQ(out.FactorChanged, c.Changed);
        EXPECT_EQ(m.space.WeightCase.Factor, c.Stored);
    }
}
