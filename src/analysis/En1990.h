#pragma once
// The combinations of EN 1990 generated from the load cases (buildings, recommended values):
//
//   ultimate 6.10    Σ γG·Gk + γQ·Qk,1 + Σ γQ·ψ0,i·Qk,i             every variable case leading in turn
//   ultimate 6.10a   Σ γG·Gk + Σ γQ·ψ0,i·Qk,i
//   ultimate 6.10b   Σ ξ·γG·Gk + γQ·Qk,1 + Σ γQ·ψ0,i·Qk,i        every variable case leading in turn
//   characteristic   Σ Gk + Qk,1 + Σ ψ0,i·Qk,i                      every variable case leading in turn
//   frequent         Σ Gk + ψ1,1·Qk,1 + Σ ψ2,i·Qk,i                 every variable case leading in turn
//   quasi-permanent  Σ Gk + Σ ψ2,i·Qk,i
//   accidental 6.11  Σ Gk + Ad + ψ1,1·Qk,1 + Σ ψ2,i·Qk,i            every accidental case, every
//                                                                   variable case leading in turn
//
// γG,sup = 1.35 (ξ·γG,sup with ξ = 0.85 in 6.10b), γG,inf = 1.0, γQ = 1.5. A permanent case is
// unfavourable (γG,sup); one marked BothValues is taken with both values, each in its own
// combination. The variable cases act together, except that of an exclusive group only one case
// acts at a time: every combination takes one case of every group (the leading case's group: the
// leading case), and each choice is a combination of its own. Terms whose factor is 0 are left
// out, and of combinations with the same terms only the first is kept. Terms follow the order of
// the cases.
#include <memory>
#include <string>
#include <vector>

#include "model/LoadCases.h"

class TMKPSpace;

struct TGenerationOptions {
    bool Ultimate = true;
    bool Split610 = false; // 6.10a and 6.10b instead of 6.10
    bool Serviceability = true;
    bool Accidental = true;
};

constexpr TReal KGammaGSup = 1.35L;
constexpr TReal KGammaGInf = 1.0L;
constexpr TReal KGammaQ = 1.5L;
constexpr TReal KXi = 0.85L;

// The combinations of the given cases, ultimate first, then characteristic, frequent,
// quasi-permanent and accidental ones; named "MSÚ 1", "MSP-Ch 1", "MSP-Č 1", "MSP-K 1", "MIM 1"
// and so on, skipping the names in taken (the user's own combinations).
std::vector<std::unique_ptr<TKombinace>> GenerujKombinace(const std::vector<TZatezovaciStav*>& cases,
                                                          const TGenerationOptions& options,
                                                          const std::vector<std::string>& taken = {});

// The generated combinations formed again after the cases changed (a case added, deleted or given
// another kind, category or group; self-weight switched on or off), so that none of them names a
// case that is gone or leaves out one that is there. The options are read from what was generated
// (6.10a/b, serviceability, accidental); the user's own combinations stay. False when nothing was
// generated, and then nothing changes.
bool ObnovGenerovaneKombinace(TMKPSpace& space);
