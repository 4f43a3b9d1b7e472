// The model space's global stiffness matrix is made and destroyed here, where its type is known.
#include "analysis/EquationOrder.h"
#include "analysis/ProfileMatrix.h"
#include "analysis/SparseMatrix.h"
#include "model/MKPSpace.h"

static_assert(TElimination{} == TElimination::Automatic, "a new model space eliminates as it pays");
static_assert(TEquationOrder{} == TEquationOrder::Automatic, "a new model space orders as it pays");
static_assert(TSolverPath{} == TSolverPath::Automatic, "a new model space chooses its solver as it pays");

TProfileMatrix* TMKPSpace::NewMatrix() {
    return new TProfileMatrix();
}

void TMKPSpace::TMatrixDeleter::operator()(TProfileMatrix* matrix) const {
    delete matrix;
}

void TMKPSpace::TSparseDeleter::operator()(TSparseMatrix* matrix) const {
    delete matrix;
}
