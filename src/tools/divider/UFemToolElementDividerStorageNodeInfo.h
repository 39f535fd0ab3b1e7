#pragma once

#include <QString>

#include <array>

// One node that a run of the element divider creates: its name and location.
class UFemToolElementDividerStorageNodeInfo {
public:
    UFemToolElementDividerStorageNodeInfo(QString nodeNameString, const double location[3])
        : nodeNameString_(std::move(nodeNameString))
        , location_ { location[0], location[1], location[2] }
    {
    }

    const QString& nodeNameString() const { return nodeNameString_; }
    void getNodeLocation(double location[3]) const
    {
        for (int axis = 0; axis < 3; ++axis)
            location[axis] = location_[axis];
    }
    // Whether `location` is closer than `epsilon` on every axis.
    bool isAtLocation(const double location[3], double epsilon) const
    {
        for (int axis = 0; axis < 3; ++axis) {
            const double distance = location[axis] - location_[axis];
            if (!(epsilon > distance && epsilon > -distance))
                return false;
        }
        return true;
    }

private:
    QString nodeNameString_;
    std::array<double, 3> location_;
};
