#include "analysis/EquationOrder.h"

#include <algorithm>
#include <cassert>

namespace {
// Neighbours of every node, without repeats, in compressed rows.
struct TGraph {
    std::vector<int> Start, Next;
    int Degree(int v) const { return Start[std::size_t(v) + 1] - Start[std::size_t(v)]; }
};

TGraph Adjacency(int nodes, const std::vector<std::pair<int, int>>& links) {
    TGraph g;
    g.Start.assign(std::size_t(nodes) + 1, 0);
    for (auto [a, b] : links) {
        if (a == b) continue;
        ++g.Start[std::size_t(a) + 1];
        ++g.Start[std::size_t(b) + 1];
    }
    for (int v = 0; v < nodes; ++v) g.Start[std::size_t(v) + 1] += g.Start[std::size_t(v)];
    g.Next.resize(std::size_t(g.Start[std::size_t(nodes)]));
    std::vector<int> fill(g.Start.begin(), g.Start.end() - 1);
    for (auto [a, b] : links) {
        if (a == b) continue;
        g.Next[std::size_t(fill[std::size_t(a)]++)] = b;
        g.Next[std::size_t(fill[std::size_t(b)]++)] = a;
    }
    // Two members between the same nodes are one link; repeats would only inflate degrees.
    std::vector<int> start(g.Start);
    int out = 0;
    for (int v = 0; v < nodes; ++v) {
        auto begin = g.Next.begin() + start[std::size_t(v)], end = g.Next.begin() + start[std::size_t(v) + 1];
        std::sort(begin, end);
        end = std::unique(begin, end);
        g.Start[std::size_t(v)] = out;
        for (auto it = begin; it != end; ++it) g.Next[std::size_t(out++)] = *it;
    }
    g.Start[std::size_t(nodes)] = out;
    g.Next.resize(std::size_t(out));
    return g;
}

// Breadth-first levels from root within its connected part: the nodes in visiting order (level by
// level, each node's unvisited neighbours by ascending degree), the number of levels and where
// the last level starts. mark[v] == stamp marks a visited node.
struct TLevels {
    std::vector<int> Order;
    int Depth = 0;
    std::size_t LastLevel = 0;
};

void Visit(const TGraph& g, int root, std::vector<int>& mark, int stamp, TLevels& out) {
    out.Order.clear();
    out.Order.push_back(root);
    mark[std::size_t(root)] = stamp;
    std::size_t levelBegin = 0;
    out.Depth = 0;
    std::vector<int> found;
    while (levelBegin < out.Order.size()) {
        const std::size_t levelEnd = out.Order.size();
        out.LastLevel = levelBegin;
        ++out.Depth;
        for (std::size_t i = levelBegin; i < levelEnd; ++i) {
            const int v = out.Order[i];
            found.clear();
            for (int k = g.Start[std::size_t(v)]; k < g.Start[std::size_t(v) + 1]; ++k) {
                const int w = g.Next[std::size_t(k)];
                if (mark[std::size_t(w)] == stamp) continue;
                mark[std::size_t(w)] = stamp;
                found.push_back(w);
            }
            std::stable_sort(found.begin(), found.end(), [&](int a, int b) { return g.Degree(a) < g.Degree(b); });
            out.Order.insert(out.Order.end(), found.begin(), found.end());
        }
        levelBegin = levelEnd;
    }
}
} // namespace

std::vector<int> ProfileReducingOrder(int nodes, const std::vector<std::pair<int, int>>& links) {
    const TGraph g = Adjacency(nodes, links);
    std::vector<int> order;
    order.reserve(std::size_t(nodes));
    std::vector<int> mark(std::size_t(nodes), 0), taken(std::size_t(nodes), 0);
    int stamp = 0;
    TLevels levels, candidate;
    for (int seed = 0; seed < nodes; ++seed) {
        if (taken[std::size_t(seed)]) continue;
        // A pseudo-peripheral root (George and Liu): from a node of the part, move to a node of
        // least degree in the last level while that deepens the level structure.
        Visit(g, seed, mark, ++stamp, levels);
        int root = seed;
        for (int tries = 0; tries < 8; ++tries) {
            int best = -1;
            for (std::size_t i = levels.LastLevel; i < levels.Order.size(); ++i)
                if (best < 0 || g.Degree(levels.Order[i]) < g.Degree(best)) best = levels.Order[i];
            Visit(g, best, mark, ++stamp, candidate);
            if (candidate.Depth <= levels.Depth) break;
            root = best;
            std::swap(levels, candidate);
        }
        Visit(g, root, mark, ++stamp, levels);
        for (int v : levels.Order) {
            taken[std::size_t(v)] = 1;
            order.push_back(v);
        }
    }
    std::reverse(order.begin(), order.end());
    assert(int(order.size()) == nodes);
    return order;
}

std::vector<int> EnvelopeStarts(int nodes, const std::vector<std::pair<int, int>>& links,
                                const std::vector<int>& place) {
    const int n = 3 * nodes;
    std::vector<int> first(std::size_t(n) + 1);
    for (int p = 0; p <= n; ++p) first[std::size_t(p)] = std::max(p, 1);
    for (auto [a, b] : links) {
        const int pa = place[std::size_t(a)], pb = place[std::size_t(b)];
        const int low = 3 * std::min(pa, pb) + 1;
        for (int pv : {pa, pb})
            for (int k = 1; k <= 3; ++k) first[std::size_t(3 * pv + k)] = std::min(first[std::size_t(3 * pv + k)], low);
    }
    return first;
}

double ProfileTerms(const std::vector<int>& first) {
    double terms = 0;
    for (std::size_t p = 1; p < first.size(); ++p) terms += double(int(p) - first[p]) * double(int(p) - first[p]);
    return terms;
}

bool ReorderPays(double modelTerms, double reducedTerms) {
    return modelTerms >= KReorderMinTerms && reducedTerms * KReorderGain <= modelTerms;
}
