// The load cases and combinations in a project file: round trip, the fallback of a reader that
// knows nothing of them, and the refusal of every malformed line of their sections.
#include <gtest/gtest.h>

#include <sstream>

#include "base/Errors.h"
#include "model/MKPSpace.h"
#include "model/ProjectFileSupport.h"

using namespace projecttest;

namespace {
// A frame with three cases (two of them an exclusive pair), loads of the cases interleaved on
// members and nodes, self-weight, and a user and a generated combination.
struct TCaseFrame {
    TMKPSpace space;
    TCaseFrame() {
        TMaterial* steel = space.PridejMaterial("S235", 210000, 7850);
        TProfil* ipe = space.PridejProfil("IPE 200", steel, 0.00285L, 0.0000194L, 1.42e-6L);
        TUzel* a = space.PridejUzel(1, 0, 0);
        TUzel* b = space.PridejUzel(2, 0, 4);
        TUzel* c = space.PridejUzel(3, 6, 4);
        a->DofU.Fixed = a->DofW.Fixed = a->DofRot.Fixed = true;
        c->DofW.Fixed = true;
        TPrut* m1 = space.PridejPrut(a, b, ipe, false, 1, false, false);
        TPrut* m2 = space.PridejPrut(b, c, ipe, false, 2, false, false);
        TZatizeni* l1 = m2->PridejZatizeni(KLoadDistributed, nullptr, 0, 6, 5, 5, 90);
        TZatizeni* l2 = m2->PridejZatizeni(KLoadForce, nullptr, 3, 0, 10, 0, 90);
        TZatizeni* l3 = m1->PridejZatizeni(KLoadDistributed, nullptr, 0, 4, 2, 2, 0);
        TZatizeni* l4 = b->PridejZatizeni(KLoadForce, nullptr, 8, 0);
        TZatizeni* l5 = c->PridejZatizeni(KLoadForce, nullptr, -8, 0);
        space.NastavVlastniTihu(true);
        TZatezovaciStav* g = space.PridejZatezovaciStav("Stálé", TCaseKind::Permanent);
        g->BothValues = true;
        TZatezovaciStav* w1 = space.PridejZatezovaciStav("Vítr zleva", TCaseKind::Variable, TCaseCategory::Wind, "vítr");
        TZatezovaciStav* w2 = space.PridejZatezovaciStav("Užitné", TCaseKind::Variable, TCaseCategory::B);
        TZatezovaciStav* w3 = space.PridejZatezovaciStav("Vítr zprava", TCaseKind::Variable, TCaseCategory::Wind, "vítr");
        space.NastavStavZatizeni(*l1, g);
        space.NastavStavZatizeni(*l2, w2);
        space.NastavStavZatizeni(*l3, w1);
        space.NastavStavZatizeni(*l4, w1);
        space.NastavStavZatizeni(*l5, w3);
        space.PridejKombinaci("Moje", TCombinationKind::User, {{g, 1.2L}, {&space.WeightCase, 1.2L}, {w2, 0.35L}});
        space.PridejKombinaci("MSÚ 1", TCombinationKind::Ultimate, {{g, 1.35L}, {w1, 1.5L}}, "6.10, hlavní Vítr zleva");
    }
};

// The cases, each load's case (member loads, then nodal loads) and the combinations as text.
std::string CaseDump(TMKPSpace& s) {
    std::ostringstream o;
    for (const TZatezovaciStav* c : s.LoadCases)
        o << c->Name << '|' << KindCode(c->Kind) << '|' << CategoryCode(c->Category) << '|' << c->Group << '|'
          << c->BothValues << '\n';
    for (const TPrut* m : s.Members)
        for (const TZatizeni* z : m->Loads)
            if (z->Kind != KLoadSelfWeight) o << s.StavZatizeni(*z)->Name << ';';
    for (const TUzel* n : s.Nodes)
        for (const TZatizeni* z : n->Loads) o << s.StavZatizeni(*z)->Name << ';';
    o << '\n';
    for (const TKombinace* k : s.Combinations)
        o << k->Name << '|' << CombinationKindCode(k->Kind) << '|' << k->Formula << '|' << k->TermsText('.') << '\n';
    return o.str();
}

std::string ReadError(const std::string& text) {
    TMKPSpace space;
    try {
        Read(space, text);
    } catch (const TFileFormatError& e) {
        return e.what();
    }
    return {};
}
} // namespace

class ProjectFileCases : public ::testing::Test {
    TSeparators mSeparators{'.', "."};
};

TEST_F(ProjectFileCases, RoundTripKeepsCasesGroupsAndCombinations) {
    TCaseFrame f;
    const std::string text = Write(f.space);
    TMKPSpace back;
    Read(back, text);
    EXPECT_EQ(CaseDump(back), CaseDump(f.space));
    EXPECT_EQ(Write(back), text);
    // The combination of the self-weight case names the reader's own "Weight" case.
    EXPECT_EQ(back.Combinations[0]->Terms[1].Case, &back.WeightCase);
}

TEST_F(ProjectFileCases, ModelWithoutCasesIsWrittenAsBeforeAndOlderReaderSeesAllLoads) {
    TCaseFrame f;
    const std::string text = Write(f.space);
    const std::size_t section = text.find("*LoadCases\r\n");
    ASSERT_NE(section, std::string::npos);
    ASSERT_EQ(text.find("*NodalLoads"), text.rfind("*NodalLoads"));
    ASSERT_LT(text.find("*NodalLoads"), section);
    // Every line of the new sections is skipped by a reader that knows only today's tags.
    std::istringstream lines(text.substr(section));
    for (std::string line; std::getline(lines, line);) {
        line.pop_back(); // CR
        ASSERT_FALSE(line.empty());
        EXPECT_EQ(std::string("MCUPB").find(line[0]), std::string::npos) << line;
        EXPECT_TRUE(line != "ZP" && line != "ZU") << line;
    }
    // Without them the file gives the same model with every load, as one case.
    TMKPSpace withCases, older;
    Read(withCases, text);
    Read(older, text.substr(0, section));
    EXPECT_TRUE(older.LoadCases.Empty());
    std::string a = Dump(withCases), b = Dump(older);
    for (std::string* s : {&a, &b})
        for (std::size_t p; (p = s->find("|1\n")) != std::string::npos;) s->replace(p, 3, "|0\n"); // LoadCase set or not
    EXPECT_EQ(a, b);

    // The last case deleted with its loads kept: the file is that of a model that never had cases.
    const std::string plain = Write(older);
    older.PridejZatezovaciStav("Dočasný", TCaseKind::Variable, TCaseCategory::A);
    EXPECT_NE(Write(older), plain);
    older.SmazZatezovaciStav(older.LoadCases[0], &older.DefaultCase);
    EXPECT_EQ(Write(older), plain);
}

TEST_F(ProjectFileCases, EveryMalformedLineIsRefusedWithItsNumber) {
    TCaseFrame f;
    const std::string good = Write(f.space);
    std::vector<std::string> lines;
    std::istringstream in(good);
    for (std::string l; std::getline(in, l);) lines.push_back(l.substr(0, l.size() - 1));
    const auto lineOf = [&](const std::string& text, std::size_t after = 0) {
        for (std::size_t i = after; i < lines.size(); ++i)
            if (lines[i] == text) return i;
        ADD_FAILURE() << text;
        return std::size_t(0);
    };
    const std::size_t cases = lineOf("*LoadCases"), combinations = lineOf("*Combinations");
    const std::size_t run = lineOf("ZL"), combination = lineOf("ZK", combinations);
    const struct {
        std::size_t Line; // 0-based line replaced
        std::string Text;
    } rows[] = {
        {cases + 2, "Stálé"},               // a name without its apostrophe
        {cases + 2, "'Weight"},             // the program's own case
        {cases + 8, lines[cases + 2]},      // a second case of one name (the file is windows-1250)
        {cases + 3, "X"},                   // unknown kind
        {cases + 4, "z"},                   // unknown category
        {cases + 4, "b"},                   // a category of a permanent case
        {cases + 6, "2"},                   // both values neither 0 nor 1
        {run + 1, "'Neznámý"},              // loads of an unknown case
        {run + 2, "0"},                     // a run without loads
        {run + 2, "99"},                    // a run past the last load record
        {run + 2, "x"},                     // a count that is no number
        {combination + 2, "xyz"},           // unknown kind of combination
        {combination + 4, "-1"},            // a negative number of terms
        {combination + 5, "'Nic"},          // a term of an unknown case
        {combination + 6, "1.5x"},          // a factor that is not a number
        {lineOf("ZK", combination + 1) + 1, "'Moje"}, // a second combination of one name
    };
    for (const auto& r : rows) {
        std::vector<std::string> bad = lines;
        bad[r.Line] = r.Text;
        std::string text;
        for (const std::string& l : bad) text += l + "\r\n";
        TMKPSpace space;
        try {
            Read(space, text);
            ADD_FAILURE() << "accepted: " << r.Text << " on line " << r.Line + 1;
        } catch (const TFileFormatError& e) {
            EXPECT_EQ(e.Line(), int(r.Line + 1)) << r.Text << ": " << e.what();
        }
    }
    // Runs that leave load records without a case: refused at the last run.
    std::vector<std::string> shortRun = lines;
    const std::size_t lastRun = [&] {
        std::size_t last = run;
        for (std::size_t i = run; i < combinations; ++i)
            if (lines[i] == "ZL") last = i;
        return last;
    }();
    shortRun.erase(shortRun.begin() + long(lastRun), shortRun.begin() + long(lastRun) + 3);
    std::string text;
    for (const std::string& l : shortRun) text += l + "\r\n";
    EXPECT_NE(ReadError(text).find("nepatří žádnému"), std::string::npos);
}
