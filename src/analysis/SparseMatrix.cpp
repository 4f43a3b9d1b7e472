#include "analysis/SparseMatrix.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <limits>
#include <new>
#include <thread>

#include <cholmod.h>

#include "analysis/IdleCores.h"

namespace {
// Refinement stops after this many corrections, whether or not they still shrink.
constexpr int KMaxCorrections = 12;
// Nested dissection is tried beside AMD from this many nodes (on plane grids it fills less from
// a few tens of thousands of nodes; below, AMD alone is as good and faster to find).
constexpr int KDissectionNodes = 20000;
// The work from which Automatic looks closer at what keeps the cores busy (as the profile does).
constexpr double KLookCloserWork = 3e8;

TReal MaxAbs(const TReal* v, std::size_t n) {
    TReal m = 0;
    for (std::size_t i = 0; i < n; ++i) m = std::max(m, std::fabs(v[i]));
    return m;
}
} // namespace

struct TSparseMatrix::TCholmod {
    cholmod_common Common;
    cholmod_sparse* A = nullptr; // upper triangle by columns, in the model's numbering
    cholmod_factor* L = nullptr;
    TCholmod() {
        cholmod_l_start(&Common);
        Common.print = 0; // refusals are told by the program, not on stderr
        Common.supernodal = CHOLMOD_SUPERNODAL;
    }
    ~TCholmod() {
        if (L) cholmod_l_free_factor(&L, &Common);
        if (A) cholmod_l_free_sparse(&A, &Common);
        cholmod_l_finish(&Common);
    }
    TCholmod(const TCholmod&) = delete;
    TCholmod& operator=(const TCholmod&) = delete;
};

TSparseMatrix::TSparseMatrix(int nodes, const std::vector<std::pair<int, int>>& links) : mNodes(nodes) {
    // Neighbour lists with the node itself, sorted, without repeats.
    mStart.assign(std::size_t(nodes) + 1, 1);
    mStart[0] = 0;
    for (auto [a, b] : links)
        if (a != b) {
            ++mStart[std::size_t(a) + 1];
            ++mStart[std::size_t(b) + 1];
        }
    for (int v = 0; v < nodes; ++v) mStart[std::size_t(v) + 1] += mStart[std::size_t(v)];
    mNext.resize(std::size_t(mStart[std::size_t(nodes)]));
    std::vector<int> fill(mStart.begin(), mStart.end() - 1);
    for (int v = 0; v < nodes; ++v) mNext[std::size_t(fill[std::size_t(v)]++)] = v;
    for (auto [a, b] : links)
        if (a != b) {
            mNext[std::size_t(fill[std::size_t(a)]++)] = b;
            mNext[std::size_t(fill[std::size_t(b)]++)] = a;
        }
    int out = 0;
    std::vector<int> start(mStart);
    for (int v = 0; v < nodes; ++v) {
        auto begin = mNext.begin() + start[std::size_t(v)], end = mNext.begin() + start[std::size_t(v) + 1];
        std::sort(begin, end);
        end = std::unique(begin, end);
        mStart[std::size_t(v)] = out;
        for (auto it = begin; it != end; ++it) mNext[std::size_t(out++)] = *it;
    }
    mStart[std::size_t(nodes)] = out;
    mNext.resize(std::size_t(out));
    mValues.assign(9 * std::size_t(out), 0.0L);
}

TSparseMatrix::~TSparseMatrix() = default;

int TSparseMatrix::Slot(int v, int w) const {
    const auto begin = mNext.begin() + mStart[std::size_t(v)], end = mNext.begin() + mStart[std::size_t(v) + 1];
    const auto it = std::lower_bound(begin, end, w);
    return it != end && *it == w ? int(it - begin) : -1;
}

bool TSparseMatrix::InPattern(int i, int j) const {
    assert(i >= 1 && i <= Size() && j >= 1 && j <= Size());
    return Slot((i - 1) / 3, (j - 1) / 3) >= 0;
}

std::size_t TSparseMatrix::Index(int i, int j) const {
    const int v = (i - 1) / 3, w = (j - 1) / 3;
    const int slot = Slot(v, w);
    assert(slot >= 0);
    const std::size_t degree = std::size_t(mStart[std::size_t(v) + 1] - mStart[std::size_t(v)]);
    return 9 * std::size_t(mStart[std::size_t(v)]) + 3 * degree * std::size_t((i - 1) % 3) + 3 * std::size_t(slot) +
           std::size_t((j - 1) % 3);
}

std::vector<std::pair<int, TReal>> TSparseMatrix::Row(int k) const {
    const int v = (k - 1) / 3;
    const std::size_t degree = std::size_t(mStart[std::size_t(v) + 1] - mStart[std::size_t(v)]);
    const TReal* row = mValues.data() + 9 * std::size_t(mStart[std::size_t(v)]) + 3 * degree * std::size_t((k - 1) % 3);
    std::vector<std::pair<int, TReal>> out;
    out.reserve(3 * degree);
    for (std::size_t s = 0; s < degree; ++s)
        for (int l = 1; l <= 3; ++l) out.emplace_back(3 * mNext[std::size_t(mStart[std::size_t(v)]) + s] + l, row[3 * s + std::size_t(l - 1)]);
    return out;
}

void TSparseMatrix::ClearRowAndColumn(int k) {
    const int v = (k - 1) / 3;
    for (int s = mStart[std::size_t(v)]; s < mStart[std::size_t(v) + 1]; ++s) {
        const int w = mNext[std::size_t(s)];
        for (int l = 1; l <= 3; ++l) {
            Ref(k, 3 * w + l) = 0;
            Ref(3 * w + l, k) = 0;
        }
    }
    Ref(k, k) = 1;
}

void TSparseMatrix::Residual(const TReal* b, const TReal* x, TReal* r) const {
    for (int v = 0; v < mNodes; ++v) {
        const int begin = mStart[std::size_t(v)], degree = mStart[std::size_t(v) + 1] - begin;
        const TReal* row = mValues.data() + 9 * std::size_t(begin);
        for (int k = 0; k < 3; ++k, row += 3 * degree) {
            TReal sum = 0;
            for (int s = 0; s < degree; ++s) {
                const TReal* xw = x + 3 * std::size_t(mNext[std::size_t(begin + s)]);
                sum += row[3 * s] * xw[0] + row[3 * s + 1] * xw[1] + row[3 * s + 2] * xw[2];
            }
            const std::size_t e = 3 * std::size_t(v) + std::size_t(k);
            r[e] = b[e] - sum;
        }
    }
}

double TSparseMatrix::Analyse() {
    mCholmod = std::make_unique<TCholmod>();
    cholmod_common* c = &mCholmod->Common;
    const std::size_t n = std::size_t(Size()), nodes = std::size_t(mNodes);
    // The order of the nodes (a node's three equations stay together): the graph is nine times
    // smaller than the matrix and the supernodes keep the blocks.
    std::vector<SuiteSparse_long> perm(n);
    {
        const std::size_t links = std::size_t(mStart[nodes]);
        cholmod_sparse* g = cholmod_l_allocate_sparse(nodes, nodes, (links + nodes) / 2 + 1, 1, 1, 1, CHOLMOD_PATTERN, c);
        if (!g) throw std::bad_alloc();
        auto* gp = static_cast<SuiteSparse_long*>(g->p);
        auto* gi = static_cast<SuiteSparse_long*>(g->i);
        SuiteSparse_long used = 0;
        for (std::size_t w = 0; w < nodes; ++w) {
            gp[w] = used;
            for (int s = mStart[w]; s < mStart[w + 1] && mNext[std::size_t(s)] <= int(w); ++s) gi[used++] = mNext[std::size_t(s)];
        }
        gp[nodes] = used;
        c->nmethods = mNodes >= KDissectionNodes ? 2 : 1;
        c->method[0].ordering = CHOLMOD_AMD;
        c->method[1].ordering = CHOLMOD_METIS;
        c->postorder = 1;
        cholmod_factor* lg = cholmod_l_analyze(g, c);
        if (!lg && c->nmethods == 2) { // a library without METIS: AMD alone
            c->nmethods = 1;
            lg = cholmod_l_analyze(g, c);
        }
        cholmod_l_free_sparse(&g, c);
        if (!lg) throw std::bad_alloc();
        const auto* nodePerm = static_cast<const SuiteSparse_long*>(lg->Perm);
        for (std::size_t i = 0; i < nodes; ++i)
            for (std::size_t k = 0; k < 3; ++k) perm[3 * i + k] = 3 * nodePerm[i] + SuiteSparse_long(k);
        cholmod_l_free_factor(&lg, c);
    }
    // The upper triangle of the equations by columns: column j holds rows i <= j.
    std::size_t upper = 0;
    for (std::size_t v = 0; v < nodes; ++v)
        for (int s = mStart[v]; s < mStart[v + 1]; ++s) {
            const std::size_t w = std::size_t(mNext[std::size_t(s)]);
            upper += w < v ? 9 : w == v ? 6 : 0;
        }
    cholmod_sparse* a = cholmod_l_allocate_sparse(n, n, upper, 1, 1, 1, CHOLMOD_REAL, c);
    if (!a) throw std::bad_alloc();
    mCholmod->A = a;
    auto* ap = static_cast<SuiteSparse_long*>(a->p);
    auto* ai = static_cast<SuiteSparse_long*>(a->i);
    SuiteSparse_long used = 0;
    for (std::size_t j = 0; j < n; ++j) {
        ap[j] = used;
        const std::size_t v = j / 3;
        for (int s = mStart[v]; s < mStart[v + 1]; ++s)
            for (std::size_t l = 0; l < 3; ++l) {
                const std::size_t i = 3 * std::size_t(mNext[std::size_t(s)]) + l;
                if (i <= j) ai[used++] = SuiteSparse_long(i);
            }
    }
    ap[n] = used;
    assert(std::size_t(used) == upper);
    c->nmethods = 1;
    c->method[0].ordering = CHOLMOD_GIVEN;
    c->postorder = 1;
    mCholmod->L = cholmod_l_analyze_p(a, perm.data(), nullptr, 0, c);
    if (!mCholmod->L) throw std::bad_alloc();
    return c->fl;
}

// Row by row, the nonzero entries of each neighbour's 3 × 3 block as a group. The residual of a
// row is Σ over the neighbours of (a0·x0 + a1·x1 + a2·x2), from +0 (Residual); with a zero entry's
// term left out the block's sum is the same but for the sign of a zero, and a block of zeros adds
// nothing: a sum from +0 never becomes -0, and adding a zero to it leaves it as it is (x finite,
// as every refined x is). So the residuals keep their bits.
void TSparseMatrix::FormResidualTerms() {
    mTermRow.assign(1, 0);
    mTermGroups.assign(1, 0);
    mTermIndex.clear();
    mTermValue.clear();
    for (int v = 0; v < mNodes; ++v) {
        const int begin = mStart[std::size_t(v)], degree = mStart[std::size_t(v) + 1] - begin;
        const TReal* values = mValues.data() + 9 * std::size_t(begin);
        for (int c = 0; c < 3; ++c, values += 3 * degree) {
            for (int s = 0; s < degree; ++s) {
                const std::uint32_t w = std::uint32_t(mNext[std::size_t(begin + s)]);
                for (std::uint32_t l = 0; l < 3; ++l)
                    if (values[3 * s + int(l)] != 0) {
                        mTermIndex.push_back(3 * w + l);
                        mTermValue.push_back(values[3 * s + int(l)]);
                    }
                if (mTermIndex.size() != mTermGroups.back()) mTermGroups.push_back(std::uint32_t(mTermIndex.size()));
            }
            mTermRow.push_back(std::uint32_t(mTermGroups.size() - 1));
        }
    }
}

TSolveStatus TSparseMatrix::Factorize() {
    assert(mCholmod && mCholmod->L);
    cholmod_common* c = &mCholmod->Common;
    cholmod_sparse* a = mCholmod->A;
    const std::size_t n = std::size_t(Size());
    // The values of column j above the diagonal are those of row j left of it.
    auto* ax = static_cast<double*>(a->x);
    const auto* ap = static_cast<const SuiteSparse_long*>(a->p);
    const auto* ai = static_cast<const SuiteSparse_long*>(a->i);
    for (std::size_t j = 0; j < n; ++j)
        for (SuiteSparse_long p = ap[j]; p < ap[j + 1]; ++p) ax[p] = double(At(int(j) + 1, int(ai[p]) + 1));
    FormResidualTerms();
    cholmod_factor* l = mCholmod->L;
    if (!cholmod_l_factorize(a, l, c) && c->status < CHOLMOD_OK) throw std::bad_alloc();
    const auto* perm = static_cast<const SuiteSparse_long*>(l->Perm);
    // The pivots in the order of elimination: a diagonal of L squared is the pivot of its equation.
    const std::size_t failed = c->status == CHOLMOD_NOT_POSDEF ? l->minor : n;
    if (!l->is_super) // what a failed factorization may leave: only where it failed is known
        return {TSolveResult::Mechanism, failed < n ? int(perm[failed]) + 1 : 1};
    const auto* super = static_cast<const SuiteSparse_long*>(l->super);
    const auto* pi = static_cast<const SuiteSparse_long*>(l->pi);
    const auto* px = static_cast<const SuiteSparse_long*>(l->px);
    const auto* lx = static_cast<const double*>(l->x);
    for (std::size_t s = 0; s < l->nsuper; ++s) {
        const SuiteSparse_long k1 = super[s], k2 = super[s + 1], rows = pi[s + 1] - pi[s];
        for (SuiteSparse_long k = k1; k < k2; ++k) {
            const int e = int(perm[k]) + 1;
            if (std::size_t(k) >= failed) return {TSolveResult::Mechanism, e};
            const double diagonal = lx[px[s] + (k - k1) * rows + (k - k1)];
            const TReal pivot = TReal(diagonal) * diagonal;
            if (!(pivot >= KMechanismLimit) || pivot < KPivotRatioLimit * At(e, e)) return {TSolveResult::Mechanism, e};
        }
    }
    return {};
}

// Forward and back substitution on the supernodal factor, x by rows (x[k·m + r]: equation k + 1 of
// right-hand side r). Every right-hand side takes the operations of the library's own solve of one
// right-hand side (cholmod_l_solve on the reference BLAS: dtrsv and dgemv per supernode), in their
// order: in the lower solve each entry takes its terms in ascending column order; in the upper one
// a supernode's column first takes the sum over the rows below it (ascending, from 0) and then its
// triangle from the last row up. Several right-hand sides only share the reading of the factor, so
// a right-hand side gets the same bits alone and among others (nonzero values alike; the sign of a
// zero may differ, which the refinement's sums and comparisons cannot see).
namespace {
// The substitution itself; where the processor has them, on wider vector registers (the same
// operations on each value, without fused multiply-adds, so the same bits).
#if defined(__GNUC__) && defined(__x86_64__) && !defined(__clang__)
__attribute__((target_clones("avx2", "default")))
#endif
void SupernodalSolve(const cholmod_factor* l, double* x, std::size_t m) {
    const std::size_t n = l->n;
    const auto* perm = static_cast<const SuiteSparse_long*>(l->Perm);
    const auto* super = static_cast<const SuiteSparse_long*>(l->super);
    const auto* pi = static_cast<const SuiteSparse_long*>(l->pi);
    const auto* px = static_cast<const SuiteSparse_long*>(l->px);
    const auto* ls = static_cast<const SuiteSparse_long*>(l->s);
    const auto* lx = static_cast<const double*>(l->x);
    std::vector<double> y(n * m), e, t(m), t4(4 * m);
    for (std::size_t k = 0; k < n; ++k) std::copy_n(x + std::size_t(perm[k]) * m, m, y.data() + k * m);
    double* const yd = y.data();
    const auto row = [&](SuiteSparse_long k) { return yd + std::size_t(k) * m; };
    for (std::size_t s = 0; s < l->nsuper; ++s) {
        const SuiteSparse_long k1 = super[s], nscol = super[s + 1] - k1, nsrow = pi[s + 1] - pi[s];
        const SuiteSparse_long below = nsrow - nscol, ps2 = pi[s] + nscol;
        const double* l1 = lx + px[s];
        for (SuiteSparse_long j = 0; j < nscol; ++j) {
            double* xj = row(k1 + j);
            const double pivot = l1[j + j * nsrow];
            if (m == 1) { // one right-hand side: its entries in a row, as the library's own
                double* x1 = row(k1);
                const double v = x1[j] /= pivot;
                for (SuiteSparse_long i = j + 1; i < nscol; ++i) x1[i] -= v * l1[i + j * nsrow];
                continue;
            }
            for (std::size_t r = 0; r < m; ++r) xj[r] /= pivot;
            for (SuiteSparse_long i = j + 1; i < nscol; ++i) {
                const double a = l1[i + j * nsrow];
                double* xi = row(k1 + i);
                for (std::size_t r = 0; r < m; ++r) xi[r] -= xj[r] * a;
            }
        }
        if (below == 0) continue;
        // The rows below the supernode, gathered: E −= L2·x1, column by column.
        e.resize(std::size_t(below) * m);
        for (SuiteSparse_long ii = 0; ii < below; ++ii) std::copy_n(row(ls[ps2 + ii]), m, e.data() + std::size_t(ii) * m);
        SuiteSparse_long j = 0;
        // Four columns at a time for several right-hand sides: each entry still takes their
        // terms one after the other in column order, and E is read once for the four.
        for (; m > 1 && j + 4 <= nscol; j += 4) {
            const double *x0 = row(k1 + j), *x1 = row(k1 + j + 1), *x2 = row(k1 + j + 2), *x3 = row(k1 + j + 3);
            const double* c0 = l1 + nscol + j * nsrow;
            for (SuiteSparse_long ii = 0; ii < below; ++ii) {
                double* ei = e.data() + std::size_t(ii) * m;
                const double a0 = c0[ii], a1 = c0[ii + nsrow], a2 = c0[ii + 2 * nsrow], a3 = c0[ii + 3 * nsrow];
                for (std::size_t r = 0; r < m; ++r) {
                    double v = ei[r];
                    v -= x0[r] * a0;
                    v -= x1[r] * a1;
                    v -= x2[r] * a2;
                    v -= x3[r] * a3;
                    ei[r] = v;
                }
            }
        }
        for (; j < nscol; ++j) {
            const double* xj = row(k1 + j);
            const double* l2 = l1 + nscol + j * nsrow;
            if (m == 1) {
                const double v = xj[0];
                for (SuiteSparse_long ii = 0; ii < below; ++ii) e[std::size_t(ii)] -= v * l2[ii];
                continue;
            }
            for (SuiteSparse_long ii = 0; ii < below; ++ii) {
                double* ei = e.data() + std::size_t(ii) * m;
                const double a = l2[ii];
                for (std::size_t r = 0; r < m; ++r) ei[r] -= xj[r] * a;
            }
        }
        for (SuiteSparse_long ii = 0; ii < below; ++ii) std::copy_n(e.data() + std::size_t(ii) * m, m, row(ls[ps2 + ii]));
    }
    for (std::size_t s = l->nsuper; s-- > 0;) {
        const SuiteSparse_long k1 = super[s], nscol = super[s + 1] - k1, nsrow = pi[s + 1] - pi[s];
        const SuiteSparse_long below = nsrow - nscol, ps2 = pi[s] + nscol;
        const double* l1 = lx + px[s];
        if (below > 0) {
            e.resize(std::size_t(below) * m);
            for (SuiteSparse_long ii = 0; ii < below; ++ii) std::copy_n(row(ls[ps2 + ii]), m, e.data() + std::size_t(ii) * m);
            SuiteSparse_long j = 0;
            // Four columns at a time for several right-hand sides, four sums each read E once for.
            for (; m > 1 && j + 4 <= nscol; j += 4) {
                const double* c0 = l1 + nscol + j * nsrow;
                std::fill(t4.begin(), t4.end(), 0.0);
                double *t0 = t4.data(), *t1 = t0 + m, *t2 = t1 + m, *t3 = t2 + m;
                for (SuiteSparse_long ii = 0; ii < below; ++ii) {
                    const double* ei = e.data() + std::size_t(ii) * m;
                    const double a0 = c0[ii], a1 = c0[ii + nsrow], a2 = c0[ii + 2 * nsrow], a3 = c0[ii + 3 * nsrow];
                    for (std::size_t r = 0; r < m; ++r) {
                        const double v = ei[r];
                        t0[r] += a0 * v;
                        t1[r] += a1 * v;
                        t2[r] += a2 * v;
                        t3[r] += a3 * v;
                    }
                }
                for (int g = 0; g < 4; ++g) {
                    double* xj = row(k1 + j + g);
                    const double* tg = t4.data() + std::size_t(g) * m;
                    for (std::size_t r = 0; r < m; ++r) xj[r] -= tg[r];
                }
            }
            for (; j < nscol; ++j) {
                const double* l2 = l1 + nscol + j * nsrow;
                if (m == 1) {
                    double sum = 0;
                    for (SuiteSparse_long ii = 0; ii < below; ++ii) sum += l2[ii] * e[std::size_t(ii)];
                    row(k1 + j)[0] -= sum;
                    continue;
                }
                std::fill(t.begin(), t.end(), 0.0);
                for (SuiteSparse_long ii = 0; ii < below; ++ii) {
                    const double* ei = e.data() + std::size_t(ii) * m;
                    const double a = l2[ii];
                    for (std::size_t r = 0; r < m; ++r) t[r] += a * ei[r];
                }
                double* xj = row(k1 + j);
                for (std::size_t r = 0; r < m; ++r) xj[r] -= t[r];
            }
        }
        for (SuiteSparse_long j = nscol; j-- > 0;) {
            double* xj = row(k1 + j);
            if (m == 1) {
                const double* x1 = row(k1);
                double v = xj[0];
                for (SuiteSparse_long i = nscol - 1; i > j; --i) v -= l1[i + j * nsrow] * x1[i];
                xj[0] = v / l1[j + j * nsrow];
                continue;
            }
            std::copy_n(xj, m, t.data());
            for (SuiteSparse_long i = nscol - 1; i > j; --i) {
                const double a = l1[i + j * nsrow];
                const double* xi = row(k1 + i);
                for (std::size_t r = 0; r < m; ++r) t[r] -= a * xi[r];
            }
            const double pivot = l1[j + j * nsrow];
            for (std::size_t r = 0; r < m; ++r) xj[r] = t[r] / pivot;
        }
    }
    for (std::size_t k = 0; k < n; ++k) std::copy_n(y.data() + k * m, m, x + std::size_t(perm[k]) * m);
}
} // namespace

void TSparseMatrix::FactorSolve(double* x, std::size_t m) const { SupernodalSolve(mCholmod->L, x, m); }

// The residuals f − K·x of the right-hand sides cols (positions among m, x and f by rows as in
// FactorSolve), rounded to double into b[k·cols.size() + q] for cols[q]; K is read once for all of
// them, and each takes the sums of Residual in their order.
void TSparseMatrix::ResidualRows(const TReal* f, const TReal* x, std::size_t m, const std::vector<std::size_t>& cols,
                                 double* b) const {
    const std::size_t k = cols.size(), n = std::size_t(Size());
    const std::uint32_t* groups = mTermGroups.data();
    const std::uint32_t* index = mTermIndex.data();
    const TReal* value = mTermValue.data();
    for (std::size_t e = 0; e < n; ++e) {
        const std::uint32_t first = mTermRow[e], last = mTermRow[e + 1];
        for (std::size_t q = 0; q < k; ++q) {
            const TReal* xc = x + cols[q];
            TReal sum = 0;
            for (std::uint32_t g = first; g < last; ++g) {
                std::uint32_t t = groups[g];
                const std::uint32_t end = groups[g + 1];
                TReal block = value[t] * xc[index[t] * m];
                while (++t < end) block += value[t] * xc[index[t] * m];
                sum += block;
            }
            b[e * k + q] = double(f[e * m + cols[q]] - sum);
        }
    }
}

// f and x hold m right-hand sides by rows (n·m entries); x receives the solutions. Each takes
// corrections while they shrink: x = 0, then x += solve(f − K·x) on the factor, the residual in 80
// bits (the first residual is f itself). Only the right-hand sides still taking corrections are
// solved, together.
void TSparseMatrix::RefineAll(const TReal* f, TReal* x, std::size_t m) const {
    const std::size_t n = std::size_t(Size());
    std::fill(x, x + n * m, 0.0L);
    std::vector<TReal> last(m, std::numeric_limits<TReal>::infinity());
    std::vector<double> b;
    std::vector<std::size_t> cols(m);
    for (std::size_t c = 0; c < m; ++c) cols[c] = c;
    for (int step = 0; step < KMaxCorrections && !cols.empty(); ++step) {
        const std::size_t k = cols.size();
        b.resize(n * k);
        if (step == 0) {
            for (std::size_t e = 0; e < n; ++e)
                for (std::size_t q = 0; q < k; ++q) b[e * k + q] = double(f[e * m + cols[q]]);
        } else {
            ResidualRows(f, x, m, cols, b.data());
        }
        FactorSolve(b.data(), k);
        // Per right-hand side: the size of its correction, and whether it is finite and shrinks.
        std::vector<TReal> size(k, 0.0L), largest(k, 0.0L);
        std::vector<char> finite(k, 1), taken(k, 0);
        for (std::size_t e = 0; e < n; ++e)
            for (std::size_t q = 0; q < k; ++q) {
                const double d = b[e * k + q];
                size[q] = std::max(size[q], TReal(std::fabs(d)));
                finite[q] = finite[q] && std::isfinite(d);
            }
        for (std::size_t q = 0; q < k; ++q) taken[q] = finite[q] && size[q] < last[cols[q]];
        for (std::size_t e = 0; e < n; ++e)
            for (std::size_t q = 0; q < k; ++q)
                if (taken[q]) {
                    TReal& xe = x[e * m + cols[q]];
                    xe += b[e * k + q];
                    largest[q] = std::max(largest[q], std::fabs(xe));
                }
        std::vector<std::size_t> still;
        for (std::size_t q = 0; q < k; ++q) {
            if (!taken[q]) continue;
            last[cols[q]] = size[q];
            // A correction below the resolution of 80 bits changes nothing further.
            if (!(size[q] == 0 || size[q] <= largest[q] * std::numeric_limits<TReal>::epsilon())) still.push_back(cols[q]);
        }
        cols = std::move(still);
    }
}

TReal TSparseMatrix::Solve(const TVector& fg, TVector& x) const {
    const std::size_t n = std::size_t(Size());
    x.assign(n + 1, 0.0L);
    RefineAll(fg.data() + 1, x.data() + 1, 1);
    std::vector<TReal> r(n);
    Residual(fg.data() + 1, x.data() + 1, r.data());
    const TReal scale = MaxAbs(fg.data() + 1, n);
    return scale > 0 ? MaxAbs(r.data(), n) / scale : MaxAbs(r.data(), n);
}

void TSparseMatrix::SolveMany(std::vector<TReal>& x, std::size_t m, TElimination how) const {
    const std::size_t n = std::size_t(Size());
    // Work of the refinement of all of them, in factor entries read per right-hand side (about
    // four solves each), against the substitution's threshold for a second thread.
    const double work = 4.0 * double(mCholmod->L->xsize) * double(m);
    bool two = m >= 2 && how != TElimination::Serial;
    if (two && how == TElimination::Automatic)
        two = work >= KParallelSubstitution && SecondCoreIdle(work >= KLookCloserWork);
    // A share of the right-hand sides, by rows, refined on its own (they need nothing of each other).
    const auto refine = [&](std::size_t first, std::size_t count) {
        std::vector<TReal> f(n * count), solution(n * count);
        for (std::size_t e = 0; e < n; ++e)
            std::copy_n(x.begin() + std::ptrdiff_t((e + 1) * m + first), count, f.begin() + std::ptrdiff_t(e * count));
        RefineAll(f.data(), solution.data(), count);
        for (std::size_t e = 0; e < n; ++e)
            std::copy_n(solution.begin() + std::ptrdiff_t(e * count), count, x.begin() + std::ptrdiff_t((e + 1) * m + first));
    };
    if (!two) {
        const std::vector<TReal> f(x.begin() + std::ptrdiff_t(m), x.begin() + std::ptrdiff_t((n + 1) * m));
        RefineAll(f.data(), x.data() + m, m);
        return;
    }
    const std::size_t split = m / 2;
    std::thread other(refine, split, m - split);
    refine(0, split);
    other.join();
}
