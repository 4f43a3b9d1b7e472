#!/usr/bin/env bash
# Whole-process benchmark of korvan-calc on grid frames (bays x storeys, fixed feet, uniform
# loads on the beams, wind at the left column), numbered storey by storey and shuffled.
#
#   bench/whole_process.sh [KORVAN_CALC ...]
#
# Every korvan-calc given (default: build/src/korvan-calc) is timed on every grid in the same run,
# so the ratios compare like with like on a busy machine. Printed per grid and program:
#   - the best wall time of REPEAT runs of `korvan-calc --no-trace --table`;
#   - the ratio to the dense elimination loop, estimated from a timed 80-bit dense loop of
#     DENSE_N equations scaled by n^3;
#   - the ratio to a whole Python run that reads the same file, assembles it and solves it with
#     scipy's spsolve in double (when python3-scipy is installed);
#   - the peak resident memory;
#   - reading alone (the same project with a bad last record: read to its end and refused),
#     against `cat` of the file;
#   - at the end, per program, the growth exponents of time and memory from one grid to the next
#     (t ~ n^a, MB ~ n^b, n the nodes), over the grids as given.
# Environment: GRIDS="24x40 24x40s 100x99" (s = shuffled node numbers), REPEAT=3 (READ_REPEAT=15
# for the reading and cat timings), DENSE_N=900, SCIPY_MAX_NODES (scipy is not run on larger
# grids; default: every grid). The large frames of the sparse solver, once each:
#   GRIDS="100x99 199x199 499x499" REPEAT=1 READ_REPEAT=3 bench/whole_process.sh
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
calcs=("$@")
[ ${#calcs[@]} -eq 0 ] && calcs=("$root/build/src/korvan-calc")
grids=${GRIDS:-"24x40 24x40s 100x99"}
repeat=${REPEAT:-3}
read_repeat=${READ_REPEAT:-15} # reading and cat take milliseconds: more runs for a steady best
scipy_max_nodes=${SCIPY_MAX_NODES:-0} # 0: no limit
dense_n=${DENSE_N:-900}
work=$(mktemp -d "${TMPDIR:-/tmp}/korvan-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

# ---- the grids ---------------------------------------------------------------------------------
write_grid() { # bays storeys shuffled file
    python3 - "$@" <<'EOF'
import random, sys
bays, storeys, shuffled, path = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3] == "1", sys.argv[4]
cols = bays + 1
count = cols * (storeys + 1)
number = list(range(1, count + 1))          # node at grid index g gets number[g]
if shuffled:
    random.Random(15).shuffle(number)
where = [0] * (count + 1)
for g, n in enumerate(number):
    where[n] = g
out = ["*Materials", "M", "S235", "210000", "7850", "*Shapes", "C", "R1", "S235", "0.01", "0.0001", "0.00005",
       "*Nodes"]
for n in range(1, count + 1):
    g = where[n]
    out += ["U", str(n), repr(6.0 * (g % cols)), repr(3.5 * (g // cols))]
members, beams = [], []
for r in range(1, storeys + 1):
    for c in range(cols):
        members.append((number[(r - 1) * cols + c], number[r * cols + c]))
    for c in range(bays):
        beams.append(len(members) + 1)
        members.append((number[r * cols + c], number[r * cols + c + 1]))
out.append("*Members")
for i, (a, b) in enumerate(members, 1):
    out += ["P", "R1", str(i), "0", str(a), str(b), "0", "0"]
out.append("*Supports")
for c in range(cols):
    out += ["B", str(number[c]), "1", "1", "1", "0"]
out.append("*MemberLoads")
for i in beams:
    out += ["ZP", str(i), "Q", "0", "6", "12", "12", "90"]
out.append("*NodalLoads")
for r in range(1, storeys + 1):
    out += ["ZU", str(number[r * cols]), "P", "5", "0"]
with open(path, "w", newline="") as f:
    f.write("\r\n".join(out) + "\r\n")
EOF
}

# ---- scipy: read, assemble in double, spsolve -------------------------------------------------
cat >"$work/scipy_solve.py" <<'EOF'
import math, sys
import numpy as np
from scipy.sparse import coo_matrix
from scipy.sparse.linalg import spsolve

lines = [l.rstrip("\r") for l in open(sys.argv[1], encoding="cp1250").read().split("\n")]
i, mats, secs, nodes, members, fixed, loads = 0, {}, {}, [], [], set(), {}
def take():
    global i
    i += 1
    return lines[i - 1]
while i < len(lines):
    t = take()
    if t == "M": n = take(); mats[n] = (float(take()), float(take()))
    elif t == "C": n = take(); m = take(); secs[n] = (mats[m][0], float(take()), float(take()), float(take()))
    elif t == "U": take(); nodes.append((float(take()), float(take())))
    elif t == "P": s = take(); take(); take(); a = int(take()); b = int(take()); take(); take(); members.append((s, a, b))
    elif t == "B":
        n = int(take()); u, w, r = take(), take(), take(); take()
        if r == "1": fixed.add(3 * n - 3)
        if u == "1": fixed.add(3 * n - 2)
        if w == "1": fixed.add(3 * n - 1)
    elif t == "ZP": members_loads = loads.setdefault("m", []); members_loads.append((int(take()), take(), *[float(take()) for _ in range(5)]))
    elif t == "ZU": nl = loads.setdefault("n", []); nl.append((int(take()), take(), float(take()), float(take())))
n = 3 * len(nodes)
rows, cols, vals, f = [], [], [], np.zeros(n)
for s, a, b in members:
    e, area, iy, _ = secs[s]
    (xa, ya), (xb, yb) = nodes[a - 1], nodes[b - 1]
    l = math.hypot(xb - xa, yb - ya); c, sn = (xb - xa) / l, -(yb - ya) / l
    ea, ei = e * area / l, e * iy
    k = np.zeros((6, 6))
    for p, q, v in ((1, 1, ea), (1, 4, -ea), (4, 4, ea)):
        k[p, q] = k[q, p] = v
    for p, q, v in ((2, 2, 12), (2, 5, -12), (5, 5, 12), (0, 2, -6 * l), (0, 5, 6 * l), (3, 2, -6 * l),
                    (3, 5, 6 * l), (0, 0, 4 * l * l), (3, 3, 4 * l * l), (0, 3, 2 * l * l)):
        k[p, q] = k[q, p] = v * ei / l ** 3
    t = np.eye(6)
    for o in (0, 3):
        t[o + 1, o + 1] = t[o + 2, o + 2] = c
        t[o + 1, o + 2], t[o + 2, o + 1] = sn, -sn
    kg = t.T @ k @ t
    codes = [3 * a - 3, 3 * a - 2, 3 * a - 1, 3 * b - 3, 3 * b - 2, 3 * b - 1]
    for p in range(6):
        for q in range(6):
            rows.append(codes[p]); cols.append(codes[q]); vals.append(kg[p, q])
for (m, kind, a0, c0, q1, q2, ang) in loads.get("m", []):
    s, a, b = members[m - 1]
    (xa, ya), (xb, yb) = nodes[a - 1], nodes[b - 1]
    half = q1 * math.hypot(xb - xa, yb - ya) / 2
    f[3 * a - 1] += half; f[3 * b - 1] += half
for (nn, kind, q, ang) in loads.get("n", []):
    f[3 * nn - 2] += q * math.cos(math.radians(ang)); f[3 * nn - 1] += q * math.sin(math.radians(ang))
keep = np.array([d not in fixed for d in range(n)])
k = coo_matrix((vals, (rows, cols)), shape=(n, n)).tocsc()[keep][:, keep]
x = spsolve(k, f[keep])
print(len(x), float(np.max(np.abs(x))))
EOF

# ---- the dense loop: seconds per n^3 ----------------------------------------------------------
cat >"$work/dense.cpp" <<'EOF'
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>
int main(int argc, char** argv) {
    const int n = std::atoi(argv[1]);
    std::vector<long double> k(std::size_t(n + 1) * std::size_t(n + 1)), fg(std::size_t(n + 1));
    auto at = [&](int i, int j) -> long double& { return k[std::size_t(i) * std::size_t(n + 1) + std::size_t(j)]; };
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) at(i, j) = 1.0L / (1 + (i > j ? i - j : j - i));
        at(i, i) = n;
        fg[std::size_t(i)] = 1;
    }
    const auto t0 = std::chrono::steady_clock::now();
    for (int kk = 1; kk <= n - 1; ++kk)
        for (int i = kk + 1; i <= n; ++i) {
            const long double f = -(at(i, kk) / at(kk, kk));
            for (int j = kk; j <= n; ++j) at(i, j) += f * at(kk, j);
            fg[std::size_t(i)] += f * fg[std::size_t(kk)];
        }
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::printf("%.6e\n", s / (double(n) * n * n) + 0 * double(fg[std::size_t(n)]));
}
EOF
g++ -O2 -o "$work/dense" "$work/dense.cpp"
per_n3=$("$work/dense" "$dense_n")

# The first Python that has scipy (a version manager's python3 may lack the system's packages).
have_scipy=0
for py in python3 /usr/bin/python3; do
    if "$py" -c "import scipy.sparse.linalg" 2>/dev/null; then
        have_scipy=1
        scipy_python=$py
        break
    fi
done

best_time() { # command... -> best wall seconds of $runs (default $repeat) runs, and the peak RSS in MB of the last
    local best="" start end rss
    for _ in $(seq "${runs:-$repeat}"); do
        start=$EPOCHREALTIME
        /usr/bin/time -f "%M" -o "$work/time" "$@" >/dev/null 2>"$work/stderr" || true
        end=$EPOCHREALTIME
        rss=$(tail -n 1 "$work/time")
        best=$(python3 -c "print(min($end - $start, float('${best:-1e9}')))")
    done
    echo "$best $((rss / 1024))"
}

printf '%-8s %7s %-28s %9s %8s %10s %10s %8s %9s\n' grid nodes program seconds "MB" "vs dense" "vs scipy" read "read/cat"
for g in $grids; do
    grid=${g%s}
    shuffled=0; [ "$grid" != "$g" ] && shuffled=1
    bays=${grid%x*}; storeys=${grid#*x}
    file="$work/grid-$g.inp"; bare="$work/bare-$g.inp"
    write_grid "$bays" "$storeys" "$shuffled" "$file"
    { cat "$file"; printf 'ZU\r\n1\r\nX\r\n0\r\n0\r\n'; } >"$bare"
    nodes=$(( (bays + 1) * (storeys + 1) ))
    dense=$(python3 -c "print($per_n3 * (3 * $nodes) ** 3)")
    scipy="-"
    scipy_mb="-"
    if [ $have_scipy = 1 ] && { [ "$scipy_max_nodes" -eq 0 ] || [ "$nodes" -le "$scipy_max_nodes" ]; }; then
        read -r scipy scipy_mb < <(best_time "$scipy_python" "$work/scipy_solve.py" "$file")
    fi
    read -r cat_t _ < <(runs=$read_repeat best_time cat "$file")
    for calc in "${calcs[@]}"; do
        read -r t mb < <(best_time "$calc" --no-trace --table "$file")
        echo "$calc $g $nodes $t $mb" >>"$work/growth"
        read -r rt _ < <(runs=$read_repeat best_time "$calc" --no-trace --table "$bare")
        python3 - "$g" "$nodes" "$calc" "$t" "$mb" "$dense" "$scipy" "$rt" "$cat_t" <<'EOF'
import sys
g, nodes, calc, t, mb, dense, scipy, rt, cat = sys.argv[1:]
t, dense, rt, cat = float(t), float(dense), float(rt), float(cat)
name = calc if len(calc) <= 28 else "..." + calc[-25:]
vs_scipy = "-" if scipy == "-" else "%.2fx" % (t / float(scipy))
print("%-8s %7s %-28s %9.3f %8s %9.0fx %10s %8.3f %8.1fx" % (g, nodes, name, t, mb, dense / t, vs_scipy, rt, rt / cat))
EOF
    done
    if [ "$scipy" != "-" ]; then
        printf '%-8s %7s %-28s %9.3f %8s\n' "$g" "$nodes" "python3 + scipy spsolve" "$scipy" "$scipy_mb"
    fi
done
python3 - "$work/growth" <<'EOF'
import math, sys
runs = {}
for line in open(sys.argv[1]):
    calc, g, nodes, t, mb = line.split()
    runs.setdefault(calc, []).append((g, int(nodes), float(t), float(mb)))
for calc, rows in runs.items():
    for (g1, n1, t1, m1), (g2, n2, t2, m2) in zip(rows, rows[1:]):
        if n2 == n1 or min(t1, t2, m1, m2) <= 0:
            continue
        k = math.log(n2 / n1)
        name = calc if len(calc) <= 28 else "..." + calc[-25:]
        print("growth %-28s %s -> %s: time ~ n^%.2f, memory ~ n^%.2f" % (name, g1, g2, math.log(t2 / t1) / k,
                                                                      math.log(m2 / m1) / k))
EOF
echo "dense loop: $per_n3 s per n^3 (measured at n = $dense_n); 'vs dense' = estimated dense time / time;"
echo "'vs scipy' = time / scipy time (below 1 is faster); read = the project read to a bad last record and refused."
