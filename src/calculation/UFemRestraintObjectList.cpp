#include "calculation/UFemRestraintObjectList.h"

#include "foundation/errors/UFemErrorsRunCalculation.h"

#include <QStringList>

#include <algorithm>
#include <array>
#include <queue>
#include <unordered_map>

namespace {

bool isEquation(const UFemRestraintObject& object)
{
    return object.restraintObjectType == UFemRestraintObjectTypeRestraintEquation;
}

bool isFixed(const UFemRestraintObject& object)
{
    return object.restraintObjectType == UFemRestraintObjectTypeFixedDisplacement;
}

quint64 termIndex(const _UFemRestraintEquationTableComponent_nodeNo& term)
{
    return 6 * term.nodeNo + 3 * term.rotation + term.direction;
}

} // namespace

void UFemRestraintObjectList::addFixedDisplacement(
    quint64 nodeNo, quint64 rotation, quint64 direction)
{
    objects_.push_back(UFemRestraintObject::fixedDisplacementRestraintObject(
        nextRestraintObjectIdentifier_++, nodeNo, rotation, direction));
}

void UFemRestraintObjectList::addForcedDisplacement(
    quint64 nodeNo, quint64 rotation, quint64 direction, double value)
{
    objects_.push_back(UFemRestraintObject::forcedDisplacementRestraintObject(
        nextRestraintObjectIdentifier_++, nodeNo, rotation, direction, value));
}

void UFemRestraintObjectList::addRestraintEquation(quint64 nodeNo, quint64 rotation,
    quint64 direction, const _UFemRestraintEquationTableComponent_nodeNo* table, quint64 count)
{
    objects_.push_back(UFemRestraintObject::restraintEquationRestraintObject(
        nextRestraintObjectIdentifier_++, nodeNo, rotation, direction, table, count));
}

QString UFemRestraintObjectList::degreeOfFreedomName(quint64 rotation, quint64 direction)
{
    static const std::array<const char*, 6> names { "TX", "TY", "TZ", "RX", "RY", "RZ" };
    const quint64 index = 3 * rotation + direction;
    return index < names.size() ? QString::fromLatin1(names[index]) : QStringLiteral("??");
}

bool UFemRestraintObjectList::arrangeForApplication(
    const NodeNameLookup& nodeNameStringWithNodeNo, UErrorPtr* error)
{
    std::vector<UFemRestraintObject> objects = objects_;
    std::sort(objects.begin(), objects.end(), UFemCompareRestraintObjectsByDegreeOfFreedom);
    if (!removeRepeatedFixedDisplacements(objects, nodeNameStringWithNodeNo, error))
        return false;
    std::sort(objects.begin(), objects.end(), UFemCompareRestraintObjectsByType);
    if (!orderRestraintEquations(objects, error))
        return false;
    objects_ = std::move(objects);
    return true;
}

bool UFemRestraintObjectList::removeRepeatedFixedDisplacements(
    std::vector<UFemRestraintObject>& objects, const NodeNameLookup& nodeName, UErrorPtr* error)
{
    // Sorted by degree of freedom: restraints on one DOF stand together, fixed ones by identifier.
    QStringList overRestrained;
    std::vector<UFemRestraintObject> kept;
    kept.reserve(objects.size());
    for (UFemRestraintObject& object : objects) {
        if (kept.empty() || !kept.back().isOnSameDegreeOfFreedom(object)) {
            kept.push_back(std::move(object));
            continue;
        }
        if (isFixed(kept.back()) && isFixed(object))
            continue;
        const QString name = nodeName(object.nodeNo) + QLatin1Char('@')
            + degreeOfFreedomName(quint64(object.rotation), object.direction);
        if (overRestrained.isEmpty() || overRestrained.back() != name)
            overRestrained.append(name);
        kept.push_back(std::move(object));
    }
    if (!overRestrained.isEmpty()) {
        UFemSetError(error,
            UFemSeveralRestraintExistForSameDegreeOfFreedomError_withDegreeOfFreedomInfoString(
                overRestrained.join(QStringLiteral(", "))));
        return false;
    }
    objects = std::move(kept);
    return true;
}

// A topological sort of the equations (the leading part of the list, sorted by type): an equation
// that uses another's dependent DOF comes before it; among free equations the list order holds.
bool UFemRestraintObjectList::orderRestraintEquations(
    std::vector<UFemRestraintObject>& objects, UErrorPtr* error)
{
    const auto end = std::find_if_not(objects.begin(), objects.end(), isEquation);
    const std::size_t count = std::size_t(end - objects.begin());
    if (count == 0)
        return true;
    // After the duplicate check every dependent DOF belongs to exactly one equation.
    std::unordered_map<quint64, std::size_t> equationOfDependent;
    for (std::size_t i = 0; i < count; ++i)
        equationOfDependent.emplace(objects[i].degreeOfFreedomIndex(), i);
    // Edge user -> owner: the owner waits until every user has been placed.
    std::vector<std::vector<std::size_t>> owners(count);
    std::vector<std::size_t> waitingUsers(count, 0);
    for (std::size_t user = 0; user < count; ++user) {
        for (const auto& term : objects[user].restraintEquationTable) {
            const auto owner = equationOfDependent.find(termIndex(term));
            if (owner == equationOfDependent.end())
                continue;
            owners[user].push_back(owner->second);
            ++waitingUsers[owner->second];
        }
    }
    std::priority_queue<std::size_t, std::vector<std::size_t>, std::greater<>> ready;
    for (std::size_t i = 0; i < count; ++i) {
        if (waitingUsers[i] == 0)
            ready.push(i);
    }
    std::vector<UFemRestraintObject> ordered;
    ordered.reserve(objects.size());
    while (!ready.empty()) {
        const std::size_t next = ready.top();
        ready.pop();
        ordered.push_back(objects[next]);
        for (const std::size_t owner : owners[next]) {
            if (--waitingUsers[owner] == 0)
                ready.push(owner);
        }
    }
    if (ordered.size() != count) {
        UFemSetError(error, UFemRestraintEquationDegreeOfFreedomLoopedError());
        return false;
    }
    ordered.insert(
        ordered.end(), std::make_move_iterator(end), std::make_move_iterator(objects.end()));
    objects = std::move(ordered);
    return true;
}

std::vector<_UFemForceDisplacementRestraintTableComponent_nodeNo>
UFemRestraintObjectList::forcedDisplacementTable() const
{
    std::vector<_UFemForceDisplacementRestraintTableComponent_nodeNo> table;
    for (const UFemRestraintObject& object : objects_) {
        if (object.restraintObjectType == UFemRestraintObjectTypeForcedDisplacement)
            table.push_back(
                { object.nodeNo, quint64(object.rotation), object.direction, object.value });
    }
    return table;
}
