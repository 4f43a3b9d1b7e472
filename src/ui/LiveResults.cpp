#include "ui/LiveResults.h"

#include <vector>

#include "model/NumberText.h"
#include "model/UserDialogs.h"

namespace {
// A member as the computation would turn it, with what turning it back has to restore exactly
// (the angles of its loads grow by 180° each way, which is not always exact in reverse).
struct TTurned {
    TPrut* Member;
    std::vector<TReal> LoadAngles;
};

// End results of a member seen from its other end: the local axes x and z change sign, moments
// and rotations (clockwise) keep theirs.
TVector Reversed(const TVector& s) {
    TVector r = s;
    for (std::size_t i : {std::size_t(1), std::size_t(2), std::size_t(4), std::size_t(5)})
        r[i] = -r[i];
    return r;
}
} // namespace

TLiveOutcome PrubeznyVypocet(TMKPSpace& space) {
    TLiveOutcome outcome;
    std::vector<TTurned> turned;
    for (TPrut* m : space.Members)
        if (m->HingeA && !m->HingeB) {
            TTurned t{m, {}};
            for (const TZatizeni* z : m->Loads)
                t.LoadAngles.push_back(z->Angle);
            turned.push_back(std::move(t));
        }
    TRecordingDialogs quiet;
    {
        TDialogsGuard guard(quiet);
        const bool trace = space.TraceEnabled;
        space.TraceEnabled = false;
        outcome.Status = space.Vypocet();
        space.TraceEnabled = trace;
    }
    for (TTurned& t : turned) {
        TPrut* m = t.Member;
        m->OtocPrut();
        std::size_t i = 0;
        for (TZatizeni* z : m->Loads)
            z->Angle = t.LoadAngles[i++];
        if (outcome.Ok() && m->HasResults()) {
            TVector a = Reversed(m->Sb), b = Reversed(m->Sa);
            m->Sa = std::move(a);
            m->Sb = std::move(b);
        }
    }
    if (!outcome.Ok()) {
        if (!quiet.Messages.empty()) outcome.Message = quiet.Messages.front();
        outcome.Place = MistoOdmitnuti(outcome.Status);
    }
    return outcome;
}

std::string TextRovnovahy(const TEquilibrium& e) {
    const TReal worst = e.Relative > e.Residual ? e.Relative : e.Residual;
    return "Rovnováha: " + FormatExponent(worst, 2, 1);
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
