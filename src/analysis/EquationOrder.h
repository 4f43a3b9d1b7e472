#pragma once
// The order in which the equations are eliminated. The model's own order (node by node, in node
// numbers) is kept whenever it is good: its results equal those of the dense elimination bit for
// bit. Nodes numbered in any order (drawn, split, generated) can give a profile that fills most of
// the matrix; then the nodes are taken in reverse Cuthill–McKee order, which keeps every node's
// neighbours close to it, and the solution agrees with the model's order to rounding.
#include <utility>
#include <vector>

// Automatic: the profile-reducing order when it cuts the elimination work by KReorderGain or more
// and the model's order costs at least KReorderMinTerms; Model: always the model's order;
// Reduced: always the profile-reducing order.
enum class TEquationOrder { Automatic, Model, Reduced };
constexpr double KReorderGain = 2;
constexpr double KReorderMinTerms = 1e6;

// The nodes 0..nodes-1 in reverse Cuthill–McKee order (order[i] = node), each connected part from
// a pseudo-peripheral node; links are the node pairs joined by a member.
std::vector<int> ProfileReducingOrder(int nodes, const std::vector<std::pair<int, int>>& links);

// The envelope starts of the equations (3 per node, in node order) when node v is taken at place
// place[v] (0-based): first[p] for positions p = 1..3·nodes.
std::vector<int> EnvelopeStarts(int nodes, const std::vector<std::pair<int, int>>& links,
                                const std::vector<int>& place);

// The work of eliminating a profile: Σ (p - first[p])².
double ProfileTerms(const std::vector<int>& first);

// Whether the Automatic choice takes the profile-reducing order.
bool ReorderPays(double modelTerms, double reducedTerms);
