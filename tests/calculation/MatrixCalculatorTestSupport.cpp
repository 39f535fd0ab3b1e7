#include "MatrixCalculatorTestSupport.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

std::shared_ptr<UFemCardName> makeName(const QString& text)
{
    auto name = std::make_shared<UFemCardName>(nullptr);
    name->_setCardNameString(text);
    return name;
}

quint64 dofOf(quint64 node, quint64 rotation, quint64 direction)
{
    return 6 * node + 3 * rotation + direction;
}

// Solves A x = b (n x n, row-major) for the unknowns flagged in `active`, the others 0, by
// Gaussian elimination with partial pivoting; b holds `m` right-hand sides per row.
std::vector<double> denseSolve(std::vector<double> A, std::vector<double> b, quint64 n, quint64 m,
    const std::vector<bool>& active)
{
    std::vector<quint64> index;
    for (quint64 i = 0; i < n; ++i) {
        if (active[i])
            index.push_back(i);
    }
    const quint64 k = index.size();
    std::vector<double> a(k * k), r(k * m);
    for (quint64 i = 0; i < k; ++i) {
        for (quint64 j = 0; j < k; ++j)
            a[i * k + j] = A[index[i] * n + index[j]];
        for (quint64 c = 0; c < m; ++c)
            r[i * m + c] = b[index[i] * m + c];
    }
    for (quint64 p = 0; p < k; ++p) {
        quint64 best = p;
        for (quint64 i = p + 1; i < k; ++i) {
            if (std::abs(a[i * k + p]) > std::abs(a[best * k + p]))
                best = i;
        }
        for (quint64 j = 0; j < k; ++j)
            std::swap(a[p * k + j], a[best * k + j]);
        for (quint64 c = 0; c < m; ++c)
            std::swap(r[p * m + c], r[best * m + c]);
        for (quint64 i = p + 1; i < k; ++i) {
            const double f = a[i * k + p] / a[p * k + p];
            for (quint64 j = p; j < k; ++j)
                a[i * k + j] -= f * a[p * k + j];
            for (quint64 c = 0; c < m; ++c)
                r[i * m + c] -= f * r[p * m + c];
        }
    }
    std::vector<double> x(n * m, 0.0);
    for (quint64 p = k; p-- > 0;) {
        for (quint64 c = 0; c < m; ++c) {
            double s = r[p * m + c];
            for (quint64 j = p + 1; j < k; ++j)
                s -= a[p * k + j] * x[index[j] * m + c];
            x[index[p] * m + c] = s / a[p * k + p];
        }
    }
    return x;
}

} // namespace

CalculatorTestModel::CalculatorTestModel(
    std::vector<std::array<double, 3>> locations, quint64 caseCount)
    : locations_(std::move(locations))
{
    for (quint64 n = 0; n < locations_.size(); ++n)
        nodeNames_.push_back(makeName(QStringLiteral("N%1").arg(n)));
    for (quint64 c = 0; c < caseCount; ++c)
        caseNames_.push_back(makeName(QStringLiteral("C%1").arg(c)));
}

void CalculatorTestModel::addBar(quint64 a, quint64 b, double EA)
{
    double v[3];
    double length = 0.0;
    for (int d = 0; d < 3; ++d) {
        v[d] = locations_[b][d] - locations_[a][d];
        length += v[d] * v[d];
    }
    length = std::sqrt(length);
    std::array<double, 9> k {};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j)
            k[3 * i + j] = EA / length * (v[i] / length) * (v[j] / length);
    }
    std::array<double, 9> minus {};
    std::transform(k.begin(), k.end(), minus.begin(), [](double x) { return -x; });
    blocks_.push_back({ a, 0, a, 0, k });
    blocks_.push_back({ b, 0, b, 0, k });
    blocks_.push_back({ a, 0, b, 0, minus });
    blocks_.push_back({ b, 0, a, 0, minus });
}

void CalculatorTestModel::addSpring(quint64 a, quint64 b, quint64 direction, double k)
{
    std::array<double, 9> plus {}, minus {};
    plus[4 * direction] = k;
    minus[4 * direction] = -k;
    blocks_.push_back({ a, 0, a, 0, plus });
    blocks_.push_back({ b, 0, b, 0, plus });
    blocks_.push_back({ a, 0, b, 0, minus });
    blocks_.push_back({ b, 0, a, 0, minus });
}

void CalculatorTestModel::addLoad(
    quint64 node, quint64 rotation, quint64 caseIndex, std::array<double, 3> values)
{
    loads_.push_back({ node, rotation, caseIndex, values });
}

void CalculatorTestModel::fix(quint64 node, quint64 rotation, quint64 direction)
{
    restraints_.push_back({ Kind::Fixed, node, rotation, direction, 0.0, {} });
}

void CalculatorTestModel::force(quint64 node, quint64 rotation, quint64 direction, double value)
{
    restraints_.push_back({ Kind::Forced, node, rotation, direction, value, {} });
}

void CalculatorTestModel::equation(
    quint64 node, quint64 rotation, quint64 direction, std::vector<Term> terms)
{
    restraints_.push_back({ Kind::Equation, node, rotation, direction, 0.0, std::move(terms) });
}

std::unique_ptr<UFemWFMatrixCalculator> CalculatorTestModel::stiffnessCalculator(
    UMemoryPagePolicy pagePolicy)
{
    auto calculator = std::make_unique<UFemWFMatrixCalculator>(this, nodeCount());
    calculator->setCalculationPagePolicy(pagePolicy);
    UFemRaisesOnFailure(calculator->setupTo_1_SetStiffnessMatrix(nullptr));
    for (const Block& b : blocks_)
        calculator->addStiffnessMatrix(
            b.values.data(), nodeName(b.node1), b.rotation1, nodeName(b.node2), b.rotation2);
    return calculator;
}

bool CalculatorTestModel::completeCalculator(UFemWFMatrixCalculator& calculator, UErrorPtr* error)
{
    std::vector<quint64> cases(caseCount());
    for (quint64 c = 0; c < caseCount(); ++c)
        cases[c] = c;
    calculator.setCalculationIndex(0);
    calculator.setCaseNoIndexSet(cases);
    UFemRaisesOnFailure(calculator.setupTo_2_SetForceMatrix(nullptr));
    for (const Load& load : loads_) {
        // A card's own storage, gone after the call.
        std::array<double, 3> values = load.values;
        calculator.addForceMatrix(
            values.data(), nodeName(load.node), load.rotation, *caseNames_[load.caseIndex]);
    }
    UFemRaisesOnFailure(calculator.setupTo_3_SetRestraint(nullptr));
    for (const Restraint& r : restraints_) {
        if (r.kind == Kind::Fixed) {
            calculator.addFixDisplacementRestraintWithNodeName(
                nodeName(r.node), r.rotation, r.direction);
        } else if (r.kind == Kind::Forced) {
            calculator.addForceDisplacementRestraintWithDisplacementValue(
                r.value, nodeName(r.node), r.rotation, r.direction);
        } else {
            std::vector<_UFemRestraintEquationTableComponent> table;
            for (const Term& t : r.terms)
                table.push_back({ &nodeName(t.node), qint8(t.rotation), t.direction, t.factor });
            calculator.addRestraintEquationRestraintWithNumberOfRestraintEquationComponent(
                table.size(), table.data(), nodeName(r.node), r.rotation, r.direction);
        }
    }
    return calculator.setupTo_4_RunMatrixCalculation(error);
}

std::unique_ptr<UFemWFMatrixCalculator> CalculatorTestModel::setUpCalculator(
    UErrorPtr* error, UMemoryPagePolicy pagePolicy)
{
    auto calculator = stiffnessCalculator(pagePolicy);
    if (!completeCalculator(*calculator, error))
        return nullptr;
    return calculator;
}

std::vector<double> CalculatorTestModel::denseSolution() const
{
    const quint64 n = 6 * nodeCount();
    const quint64 m = caseCount();
    std::vector<double> K(n * n, 0.0), F(n * m, 0.0);
    for (const Block& b : blocks_) {
        for (quint64 i = 0; i < 3; ++i) {
            for (quint64 j = 0; j < 3; ++j)
                K[dofOf(b.node1, b.rotation1, i) * n + dofOf(b.node2, b.rotation2, j)]
                    += b.values[3 * i + j];
        }
    }
    for (const Load& l : loads_) {
        for (quint64 d = 0; d < 3; ++d)
            F[dofOf(l.node, l.rotation, d) * m + l.caseIndex] += l.values[d];
    }
    // u = T q + u0, with q one entry per DOF (restrained entries unused).
    std::vector<const Restraint*> restraintOf(n, nullptr);
    for (const Restraint& r : restraints_)
        restraintOf[dofOf(r.node, r.rotation, r.direction)] = &r;
    std::vector<double> T(n * n, 0.0), u0(n, 0.0);
    std::vector<bool> done(n, false);
    std::function<void(quint64)> resolve = [&](quint64 i) {
        if (done[i])
            return;
        done[i] = true;
        const Restraint* r = restraintOf[i];
        if (!r) {
            T[i * n + i] = 1.0;
        } else if (r->kind == Kind::Forced) {
            u0[i] = r->value;
        } else if (r->kind == Kind::Equation) {
            for (const Term& t : r->terms) {
                const quint64 j = dofOf(t.node, t.rotation, t.direction);
                resolve(j);
                for (quint64 q = 0; q < n; ++q)
                    T[i * n + q] += t.factor * T[j * n + q];
                u0[i] += t.factor * u0[j];
            }
        }
    };
    for (quint64 i = 0; i < n; ++i)
        resolve(i);
    // K' = T^T K T, f' = T^T (f - K u0).
    std::vector<double> KT(n * n, 0.0), Kr(n * n, 0.0), Fr(n * m, 0.0);
    for (quint64 i = 0; i < n; ++i)
        for (quint64 k = 0; k < n; ++k)
            if (K[i * n + k] != 0.0)
                for (quint64 q = 0; q < n; ++q)
                    KT[i * n + q] += K[i * n + k] * T[k * n + q];
    for (quint64 i = 0; i < n; ++i)
        for (quint64 p = 0; p < n; ++p)
            if (T[i * n + p] != 0.0)
                for (quint64 q = 0; q < n; ++q)
                    Kr[p * n + q] += T[i * n + p] * KT[i * n + q];
    for (quint64 i = 0; i < n; ++i) {
        double ku0 = 0.0;
        for (quint64 k = 0; k < n; ++k)
            ku0 += K[i * n + k] * u0[k];
        for (quint64 p = 0; p < n; ++p)
            if (T[i * n + p] != 0.0)
                for (quint64 c = 0; c < m; ++c)
                    Fr[p * m + c] += T[i * n + p] * (F[i * m + c] - ku0);
    }
    std::vector<bool> active(n);
    for (quint64 i = 0; i < n; ++i)
        active[i] = restraintOf[i] == nullptr && Kr[i * n + i] != 0.0;
    const std::vector<double> q = denseSolve(Kr, Fr, n, m, active);
    std::vector<double> u(n * m, 0.0);
    for (quint64 i = 0; i < n; ++i)
        for (quint64 c = 0; c < m; ++c) {
            double s = u0[i];
            for (quint64 p = 0; p < n; ++p)
                s += T[i * n + p] * q[p * m + c];
            u[i * m + c] = s;
        }
    return u;
}

quint64 CalculatorTestModel::nodeNoWithNodeNameString(const QString& nodeNameString) const
{
    for (quint64 n = 0; n < nodeNames_.size(); ++n) {
        if (nodeNames_[n]->cardNameString() == nodeNameString)
            return n;
    }
    return UFemNotFound;
}

QString CalculatorTestModel::nodeNameStringWithNodeNo(quint64 nodeNo) const
{
    return nodeNames_.at(nodeNo)->cardNameString();
}

QString CalculatorTestModel::caseNameStringWithCaseIndex(quint64 caseIndex, quint64) const
{
    return caseNames_.at(caseIndex)->cardNameString();
}

quint64 CalculatorTestModel::caseIndexWithCaseNameString(
    const QString& caseNameString, quint64) const
{
    for (quint64 c = 0; c < caseNames_.size(); ++c) {
        if (caseNames_[c]->cardNameString() == caseNameString)
            return c;
    }
    return UFemNotFound;
}

void CalculatorTestModel::getNodeLocation(double* location, quint64 nodeNo) const
{
    std::copy(locations_[nodeNo].begin(), locations_[nodeNo].end(), location);
}

std::vector<double> calculatorSolution(
    const UFemWFMatrixCalculator& calculator, quint64 nodeCount, quint64 caseCount)
{
    const double* values = nullptr;
    const quint64* triples = nullptr;
    const _UFemNode3DOFState* states = nullptr;
    const quint64 rows = calculator.getDisplacementMatrixValueTable(&values, &triples, &states);
    std::vector<double> u(6 * nodeCount * caseCount, 0.0);
    for (quint64 row = 0; row < rows; ++row)
        for (quint64 c = 0; c < caseCount; ++c)
            for (quint64 d = 0; d < 3; ++d)
                u[(3 * triples[row] + d) * caseCount + c] = values[(row * caseCount + c) * 3 + d];
    return u;
}

bool solveCalculator(UFemWFMatrixCalculator& calculator, UErrorPtr* error)
{
    UErrorPtr failure;
    if (!calculator.prepareMatrixCalculation(&failure) && failure) {
        *error = failure;
        return false;
    }
    return calculator.runMatrixCalculation(error) && calculator.finalizeMatrixCalculation(error);
}

double relativeDifference(const std::vector<double>& value, const std::vector<double>& reference)
{
    double scale = 0.0, difference = 0.0;
    for (quint64 i = 0; i < reference.size(); ++i) {
        scale = std::max(scale, std::abs(reference[i]));
        difference = std::max(difference, std::abs(value[i] - reference[i]));
        if (std::isnan(value[i]))
            return INFINITY;
    }
    return difference / scale;
}
