#include "ui/editing/LiveResults.h"

#include <vector>

#include "analysis/MemberTable.h"
#include "base/NumberText.h"
#include "model/UserDialogs.h"

namespace {
// A member as the computation would turn it, with what turning it back has to restore exactly:
// the angles of its loads grow by 180° each way, which is not always exact in reverse, and the
// positions of its point loads are formed again from the other end.
struct TTurned {
    TPrut* Member;
    struct TLoad {
        TReal A, B, C, Q1, Q2, Angle;
    };
    std::vector<TLoad> Loads;
    bool WasTurned; // ResultsTurned before this computation
};
} // namespace

TLiveOutcome PrubeznyVypocet(TMKPSpace& space) {
    TLiveOutcome outcome;
    std::vector<TTurned> turned;
    for (TPrut* m : space.Members)
        if (m->HingeA && !m->HingeB) {
            TTurned t{m, {}, m->ResultsTurned};
            for (const TZatizeni* z : m->Loads)
                t.Loads.push_back({z->A, z->B, z->C, z->Q1, z->Q2, z->Angle});
            turned.push_back(std::move(t));
            // KoncoveSily clears the mark: still set afterwards, the end results were not formed
            // again (a refusal before them) and stay as they were.
            m->ResultsTurned = true;
        }
    TRecordingDialogs quiet;
    {
        TThreadDialogsGuard guard(quiet); // this thread's only: it may be a computing thread
        const bool trace = space.TraceEnabled;
        space.TraceEnabled = false;
        outcome.Status = space.Vypocet();
        space.TraceEnabled = trace;
    }
    for (TTurned& t : turned) {
        TPrut* m = t.Member;
        m->OtocPrut();
        std::size_t i = 0;
        for (TZatizeni* z : m->Loads) {
            const TTurned::TLoad& l = t.Loads[i++];
            z->A = l.A, z->B = l.B, z->C = l.C, z->Q1 = l.Q1, z->Q2 = l.Q2, z->Angle = l.Angle;
        }
        if (m->ResultsTurned) {
            m->ResultsTurned = t.WasTurned;
        } else {
            // Formed on the turned member: read them from this member's ends; the table along
            // the member is formed on the turned member as well (SestavPrubehy).
            TVector a = ReversedEndResults(m->Sb), b = ReversedEndResults(m->Sa);
            m->Sa = std::move(a);
            m->Sb = std::move(b);
            m->ResultsTurned = true;
        }
    }
    // An envelope formed while those members were turned holds their stations from the other end:
    // formed again, it reads them from their own node a, as it is drawn and reported.
    if (outcome.Ok() && space.Envelope && !turned.empty()) space.ZobrazVysledky();
    if (!outcome.Ok()) {
        if (!quiet.Messages.empty()) outcome.Message = quiet.Messages.front();
        outcome.Place = MistoOdmitnuti(outcome.Status);
    }
    return outcome;
}

std::string TextRovnovahy(const TEquilibrium& e) {
    const TReal worst = e.Relative > e.Residual ? e.Relative : e.Residual;
    std::string text = "Rovnováha: " + FormatExponent(worst, 2, 1);
    if (e.StationsMember > 0 && !(e.Stations <= KStationsLimit))
        text += ", průběh na prutu " + std::to_string(e.StationsMember) +
                " nesouhlasí s konci: " + FormatExponent(e.Stations, 2, 1);
    return text;
}

std::string TextOdmitnuti(const TLiveOutcome& outcome) {
    std::string reason = outcome.Status.Result == TSolveResult::ZeroPivot     ? "nulová hodnota na diagonále"
                         : outcome.Status.Result == TSolveResult::Mechanism   ? "mechanismus"
                         : outcome.Status.Result == TSolveResult::Refused     ? "neplatná hodnota"
                         : outcome.Status.Result == TSolveResult::Unbalanced  ? "rovnováha nesplněna"
                         : outcome.Status.Result == TSolveResult::ShortMember ? "příliš krátký prut"
                         : outcome.Status.Result == TSolveResult::LoadOutside ? "zatížení mimo prut"
                                                                               : "žádný prut";
    std::string text = "Výpočet odmítnut (" + reason + ")";
    const std::string place = PopisMista(outcome.Place);
    return place.empty() ? text : text + ": " + place;
}
