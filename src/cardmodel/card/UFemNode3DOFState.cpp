#include "cardmodel/card/UFemNode3DOFState.h"

QString UFemNodeDOFStateName(quint64 state)
{
    switch (quint8(state)) {
    case UFemNodeDOFStateValid:
        return QStringLiteral("Valid");
    case UFemNodeDOFStateRestrained:
        return QStringLiteral("Restrained");
    case UFemNodeDOFStateZeroStiffness:
        return QStringLiteral("ZeroStiffness");
    default:
        return QStringLiteral("UnknownState");
    }
}
