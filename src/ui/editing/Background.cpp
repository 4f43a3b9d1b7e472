#include "ui/editing/Background.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <new>
#include <unordered_map>

#include "analysis/Cancel.h"
#include "analysis/Envelope.h"
#include "model/UserDialogs.h"

void CopyComputationSettings(const TMKPSpace& space, TMKPSpace& copy) {
    copy.TraceDir = space.TraceDir;
    copy.TraceEnabled = space.TraceEnabled;
    copy.TraceMatrixLimit = space.TraceMatrixLimit;
    copy.Elimination = space.Elimination;
    copy.EquationOrder = space.EquationOrder;
    copy.SolverPath = space.SolverPath;
    copy.TracedCase = space.TracedCase;
    copy.ResultsChoice = space.ResultsChoice;
    copy.UnitSystem = space.UnitSystem;
    copy.LengthUnit = space.LengthUnit;
    copy.ForceUnit = space.ForceUnit;
    copy.StressUnit = space.StressUnit;
    copy.SectionUnit = space.SectionUnit;
    copy.LengthLabel = space.LengthLabel;
    copy.ForceLabel = space.ForceLabel;
    copy.StressLabel = space.StressLabel;
    copy.SectionLabel = space.SectionLabel;
}

namespace {
constexpr std::size_t KRealBytes = 10; // the bits of a real, without the padding

// The space's object in the place of the copy's.
template <class T> std::unordered_map<const T*, T*> Places(const TObjectList<T>& from, const TObjectList<T>& to) {
    std::unordered_map<const T*, T*> map;
    map.reserve(std::size_t(from.Count()));
    for (int i = 0; i < from.Count() && i < to.Count(); ++i) map.emplace(from[i], to[i]);
    return map;
}
} // namespace

bool TakeComputed(TMKPSpace& computed, TMKPSpace& space, const TResultsChoice& choiceAtStart) {
    bool changed = false;
    const auto cases = Places(computed.LoadCases, space.LoadCases);
    const auto caseOf = [&](const TZatezovaciStav* c) -> TZatezovaciStav* {
        if (c == &computed.WeightCase) return &space.WeightCase;
        if (c == &computed.DefaultCase) return &space.DefaultCase;
        const auto it = cases.find(c);
        return it == cases.end() ? nullptr : it->second;
    };
    // One table is shared by every node and member showing the same state: repointed once.
    std::unordered_map<const TLoadFactors*, std::shared_ptr<const TLoadFactors>> tables;
    const auto table = [&](const std::shared_ptr<const TLoadFactors>& t) -> std::shared_ptr<const TLoadFactors> {
        if (!t) return nullptr;
        auto& mine = tables[t.get()];
        if (!mine) {
            auto copy = std::make_shared<TLoadFactors>(*t);
            copy->Repoint(caseOf);
            mine = std::move(copy);
        }
        return mine;
    };

    const int nodes = std::min(computed.Nodes.Count(), space.Nodes.Count());
    for (int p = 0; p < nodes; ++p) {
        TUzel* from = computed.Nodes[p];
        TUzel* to = space.Nodes[p];
        to->Displacement = std::move(from->Displacement);
        to->DofRot.Reaction = from->DofRot.Reaction;
        to->DofU.Reaction = from->DofU.Reaction;
        to->DofW.Reaction = from->DofW.Reaction;
        to->LoadFactors = table(from->LoadFactors);
    }
    const int members = std::min(computed.Members.Count(), space.Members.Count());
    const auto nodeAt = Places(computed.Nodes, space.Nodes);
    for (int i = 0; i < members; ++i) {
        TPrut* from = computed.Members[i];
        TPrut* to = space.Members[i];
        if (nodeAt.at(from->NodeA) != to->NodeA) { // turned round by the computation
            changed = true;
            std::swap(to->HingeA, to->HingeB);
            std::swap(to->NodeA, to->NodeB);
        }
        to->Angle = from->Angle;
        to->Length = from->Length;
        to->CosA = from->CosA;
        to->SinA = from->SinA;
        const int loads = std::min(from->Loads.Count(), to->Loads.Count());
        for (int k = 0; k < loads; ++k) {
            const TZatizeni* a = from->Loads[k];
            TZatizeni* b = to->Loads[k];
            for (TReal TZatizeni::*v : {&TZatizeni::A, &TZatizeni::B, &TZatizeni::C, &TZatizeni::Q1, &TZatizeni::Q2,
                                        &TZatizeni::Angle}) {
                changed = changed || std::memcmp(&(a->*v), &(b->*v), KRealBytes) != 0;
                b->*v = a->*v;
            }
        }
        to->Sa = std::move(from->Sa);
        to->Sb = std::move(from->Sb);
        to->Results = std::move(from->Results);
        to->ResultsTurned = from->ResultsTurned;
        to->LoadFactors = table(from->LoadFactors);
    }

    TCaseResults& store = space.CaseResults;
    store = std::move(computed.CaseResults);
    computed.CaseResults.Clear();
    for (TZatezovaciStav*& c : store.Cases) c = caseOf(c);
    for (const TUzel*& n : store.NodeA) n = nodeAt.at(n);

    space.Envelope.reset();
    if (computed.Envelope) {
        const auto combinations = Places(computed.Combinations, space.Combinations);
        auto envelope = std::make_shared<TObalka>(*computed.Envelope);
        for (const TKombinace*& k : envelope->Combinations) k = combinations.at(k);
        space.Envelope = std::move(envelope);
        computed.Envelope.reset();
    }
    space.ResultsValid = computed.ResultsValid;
    space.TraceFailures = std::move(computed.TraceFailures);
    space.TraceWritten = std::move(computed.TraceWritten);
    space.TraceMatricesLeftOut = computed.TraceMatricesLeftOut;
    if (space.ResultsChoice == choiceAtStart) {
        space.ResultsChoice = computed.ResultsChoice;
    } else if (space.ResultsValid && !space.ZobrazVysledky()) {
        space.ResultsChoice = {};
        space.ZobrazVysledky();
    }
    return changed;
}

TBackgroundComputation::TBackgroundComputation(TJobKind kind, std::shared_ptr<const TModelSnapshot> source,
                                               const TMKPSpace& settings, TWake wake, THook hook)
    : mKind(kind), mSource(std::move(source)), mCopy(std::make_unique<TMKPSpace>()), mChoice(settings.ResultsChoice),
      mWake(std::move(wake)), mHook(std::move(hook)) {
    CopyComputationSettings(settings, *mCopy);
}

void TBackgroundComputation::Start() {
    if (!Started()) mThread = std::thread(&TBackgroundComputation::Run, this);
}

TBackgroundComputation::~TBackgroundComputation() {
    Cancel();
    Wait();
}

void TBackgroundComputation::Wait() {
    if (mThread.joinable()) mThread.join();
}

bool TBackgroundComputation::WaitFor(std::chrono::milliseconds most) {
    if (!Started()) return false;
    std::unique_lock<std::mutex> lock(mDoneLock);
    return mDoneSignal.wait_for(lock, most, [this] { return Done(); });
}

void TBackgroundComputation::Run() {
    TRecordingDialogs said;
    {
        TThreadDialogsGuard guard(said);
        TCancelScope scope(mCancel);
        try {
            if (mHook) mHook();
            PollCancel();
            try {
                RestoreSnapshot(*mCopy, *mSource, mSource->View);
            } catch (const std::bad_alloc&) {
                throw;
            } catch (const TComputationCancelled&) {
                throw;
            } catch (const std::exception&) {
                mOutcome.Unreadable = true;
            }
            if (!mOutcome.Unreadable) {
                if (mKind == TJobKind::Live)
                    mOutcome.Live = PrubeznyVypocet(*mCopy);
                else
                    mOutcome.Status = mCopy->Vypocet();
                if (mCopy->ResultsValid) {
                    PollCancel();
                    mOutcome.EquilibriumChecked = KontrolaRovnovahy(*mCopy, mOutcome.Equilibrium);
                }
            }
        } catch (const TComputationCancelled&) {
            mOutcome.Cancelled = true;
        } catch (const std::bad_alloc&) {
            mOutcome.OutOfMemory = true;
        }
    }
    mOutcome.Messages = std::move(said.Messages);
    mSource.reset(); // the snapshot's memory goes with the computation
    {
        std::lock_guard<std::mutex> lock(mDoneLock);
        mDone.store(true, std::memory_order_release);
    }
    mDoneSignal.notify_all();
    if (mWake) mWake();
}

std::chrono::milliseconds TProgressGate::Left(TClock::time_point now) const {
    if (!mBusy || Due(now)) return std::chrono::milliseconds(0);
    const auto left = KDelay - std::chrono::duration_cast<std::chrono::milliseconds>(now - mSince);
    return left.count() > 0 ? left : std::chrono::milliseconds(1);
}
