#include "foundation/errors/UFemErrorsNodeMerger.h"

#include "foundation/errors/UErrorTexts.h"
#include "foundation/errors/UException.h"
#include "foundation/strings/UFormattedString.h"

namespace {

QString nodeNameList(const QStringList& names)
{
    if (names.size() > 2)
        return UFormattedString("%@, %@, %@, ...", names[0], names[1], names[2]);
    if (names.size() == 2)
        return UFormattedString("%@, %@, ...", names[0], names[1]);
    return UFormattedString("%@, ...", names[0]);
}

} // namespace

UErrorPtr UFemToolNodeMergerSpecifiedKeepNodeCardNameListNodeCardNameError_withNodeCardErrorString(
    const QString& nodeCardErrorString)
{
    const QString description = ULocalizedFormattedString(
        "Error exists on Node Card Name in Specified Node Card Name List in clipboard.");
    return UFemMakeError(91001,
        {
            .description = description,
            .failureReason = description,
            .recoverySuggestion = ULocalizedFormattedString(
                "Specified Node Card Name must be valid.\nError:\n%@", nodeCardErrorString),
            .oneLineDescription
            = ULocalizedFormattedString("Error exists on Node Card Name in Specified Node Card "
                                        "Name List in clipboard. Specified Node Card Name "
                                        "must be valid."),
        });
}

UErrorPtr UFemToolNodeMergerNodeCountOnSameLocationOverMaxCountErrorWithMaxCount(
    quint64 maxCount, double nodeMergeDistance, const QStringList& severalNodeNameArray)
{
    if (severalNodeNameArray.isEmpty())
        UFemRaiseProgramError(QStringLiteral("No node names for the node merger error."));
    const QString names = nodeNameList(severalNodeNameArray);
    const QString description = ULocalizedFormattedString(
        "Number of node on same location ( or within distance %f ) is over %lu.", nodeMergeDistance,
        maxCount);
    return UFemMakeError(91002,
        {
            .description = description,
            .failureReason = description,
            .recoverySuggestion
            = ULocalizedFormattedString("This function can't merge node more than %lu on same "
                                        "location. or 'Node Merge Distance' might be too "
                                        "big. Check the value.\nNodes on same location: %@",
                maxCount, names),
            .oneLineDescription
            = ULocalizedFormattedString("Number of node on same location ( or within distance %f ) "
                                        "is over %lu. This function can't merge node "
                                        "more than %lu on same location. or 'Node Merge Distance' "
                                        "might be too big. Nodes on same location: %@",
                nodeMergeDistance, maxCount, maxCount, names),
        });
}
