#pragma once

#include <QString>
#include <QVariantList>
#include <QVariantMap>

// The eight keys of a card table's view preferences.
inline const QString IsCardRowIndexColumnActiveTableViewPreferenceKey
    = QStringLiteral("IsCardRowIndexColumnActiveTableViewPreferenceKey");
inline const QString IsCardNameStringColumnActiveTableViewPreferenceKey
    = QStringLiteral("IsCardNameStringColumnActiveTableViewPreferenceKey");
inline const QString IsCardStringColumnActiveTableViewPreferenceKey
    = QStringLiteral("IsCardStringColumnActiveTableViewPreferenceKey");
inline const QString IsErrorStringColumnActiveTableViewPreferenceKey
    = QStringLiteral("IsErrorStringColumnActiveTableViewPreferenceKey");
inline const QString IsCardTableViewOtherValueActiveTableViewPreferenceKey
    = QStringLiteral("IsCardTableViewOtherValueActiveTableViewPreferenceKey");
inline const QString CardTableViewOtherValueListStringTableViewPreferenceKey
    = QStringLiteral("CardTableViewOtherValueListStringTableViewPreferenceKey");
inline const QString IsResultTableViewActiveTableViewPreferenceKey
    = QStringLiteral("IsResultTableViewActiveTableViewPreferenceKey");
inline const QString ResultTableViewCardValueExprListStringTableViewPreferenceKey
    = QStringLiteral("ResultTableViewCardValueExprListStringTableViewPreferenceKey");

// The default presets of the card table's view preferences: the base (object only), then
// "Model", "Model with Error" and "Result".
class UFemTableViewPreferences {
public:
    static constexpr int modelWithErrorFolderIndex = 2;

    static QVariantList defaultTableViewPreferencesFolderArray();
    // The preferences dictionary of a default folder.
    static QVariantMap defaultTableViewPreferencesOfFolderIndex(int index);
    static QVariantMap tableViewPreferences(bool rowIndex, bool name, bool cardString,
        bool errorString, bool resultTable, const QString& resultTableExprList);
};
