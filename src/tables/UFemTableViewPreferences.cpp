#include "tables/UFemTableViewPreferences.h"

#include "foundation/UFemFolderItemKeys.h"

namespace {

const QString resultExprList
    = QStringLiteral("#(type:Node): Displacement;\n#(type:Elem): VonMisesStress;\n");

QVariantMap folder(const QString& name, quint64 orderHint, const QVariantMap& object)
{
    return { { UFemFolderItemNameStringPreferencesKey, name },
        { UFemFolderItemOrderHintNumberPreferencesKey, orderHint },
        { UFemFolderItemObjectPreferencesKey, object } };
}

} // namespace

QVariantMap UFemTableViewPreferences::tableViewPreferences(bool rowIndex, bool name,
    bool cardString, bool errorString, bool resultTable, const QString& resultTableExprList)
{
    return { { IsCardRowIndexColumnActiveTableViewPreferenceKey, rowIndex },
        { IsCardNameStringColumnActiveTableViewPreferenceKey, name },
        { IsCardStringColumnActiveTableViewPreferenceKey, cardString },
        { IsErrorStringColumnActiveTableViewPreferenceKey, errorString },
        { IsCardTableViewOtherValueActiveTableViewPreferenceKey, false },
        { CardTableViewOtherValueListStringTableViewPreferenceKey, QString() },
        { IsResultTableViewActiveTableViewPreferenceKey, resultTable },
        { ResultTableViewCardValueExprListStringTableViewPreferenceKey, resultTableExprList } };
}

QVariantList UFemTableViewPreferences::defaultTableViewPreferencesFolderArray()
{
    const QVariantMap model = tableViewPreferences(true, false, true, false, false, QString());
    const QVariantMap modelWithError
        = tableViewPreferences(true, false, true, true, false, QString());
    const QVariantMap result = tableViewPreferences(true, true, false, false, true, resultExprList);
    return { QVariantMap { { UFemFolderItemObjectPreferencesKey, model } },
        folder(QStringLiteral("Model"), 1100, model),
        folder(QStringLiteral("Model with Error"), 1200, modelWithError),
        folder(QStringLiteral("Result"), 2100, result) };
}

QVariantMap UFemTableViewPreferences::defaultTableViewPreferencesOfFolderIndex(int index)
{
    return defaultTableViewPreferencesFolderArray()
        .at(index)
        .toMap()
        .value(UFemFolderItemObjectPreferencesKey)
        .toMap();
}
