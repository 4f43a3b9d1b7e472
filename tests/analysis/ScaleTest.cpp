// Work that must grow about linearly with the model: the stations of a finely divided member and
// the reference checks of the project writer. Both took minutes at these sizes when they grew
// with the square of the size; the budget leaves room for a slow or sanitized build.
#include <gtest/gtest.h>

#include <chrono>
#include <sstream>

#include "Frames.h"
#include "model/UserDialogs.h"

namespace {
double Seconds(const std::chrono::steady_clock::time_point& since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}
constexpr double KBudget = 10.0;
} // namespace

// Loads whose ends lie before most division points come last among the candidates and must
// travel to the front; the stations still come out ascending, each load end once or twice.
TEST(Scale, FinelyDividedMemberWithLoadsNearItsStart) {
    TFrame f;
    TUzel* a = f.Node(0, 0);
    TUzel* b = f.Node(10, 0);
    TPrut* m = f.Member(a, b);
    TFrame::Support(a, true, true, true);
    m->PridejZatizeni(KLoadForce, nullptr, 0.25, 0, 10, 0, 90);
    m->PridejZatizeni(KLoadDistributed, nullptr, 0.1, 2, 5, 5, 90);
    TRecordingDialogs sink;
    TDialogsGuard guard(sink);
    ASSERT_EQ(f.Space.Vypocet().Result, TSolveResult::Ok);
    const int divisions = 200000;
    m->NastavDeleni(divisions);
    const auto start = std::chrono::steady_clock::now();
    m->Prubehy();
    EXPECT_LT(Seconds(start), KBudget);
    const TVector& x = m->Results[0];
    // 0.25 (point load, twice), 0.1 and 2.1 (distributed ends) are division points here too.
    EXPECT_EQ(x.size(), std::size_t(divisions + 1 + 3));
    for (std::size_t k = 1; k < x.size(); ++k) ASSERT_LE(x[k - 1], x[k]) << k;
    // The bending moment at the free end is zero, whatever the number of stations.
    EXPECT_NEAR(D(m->Results[1].back()), 0.0, 1e-6);
    m->UvolniPrubehy();
}

TEST(Scale, SavingAProjectOfManyNodesAndMembers) {
    TFrame f;
    const int nodes = 200000;
    TUzel* previous = f.Node(0, 0);
    for (int i = 1; i < nodes; ++i) {
        TUzel* next = f.Node(i * 0.001L, (i % 7) * 0.01L);
        f.Member(previous, next);
        previous = next;
    }
    std::ostringstream out;
    const auto start = std::chrono::steady_clock::now();
    f.Space.UlozProjekt(out);
    EXPECT_LT(Seconds(start), KBudget);
    const std::string text = out.str();
    EXPECT_NE(text.find("*Members\r\nP\r\nP\r\n1\r\n"), std::string::npos);
    // The last member refers to the last two nodes.
    EXPECT_NE(text.rfind("P\r\nP\r\n" + std::to_string(nodes - 1) + "\r\n0\r\n" + std::to_string(nodes - 1) +
                         "\r\n" + std::to_string(nodes) + "\r\n"),
              std::string::npos);
}
