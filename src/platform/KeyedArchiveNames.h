#pragma once

#include <QString>

// The fixed names of the keyed-archiver form, shared by its reader and writer.
namespace KeyedArchiveNames {

inline const QString archiverKey = QStringLiteral("$archiver");
inline const QString versionKey = QStringLiteral("$version");
inline const QString topKey = QStringLiteral("$top");
inline const QString objectsKey = QStringLiteral("$objects");
inline const QString nullEntry = QStringLiteral("$null");
inline const QString classKey = QStringLiteral("$class");
inline const QString classNameKey = QStringLiteral("$classname");
inline const QString classesKey = QStringLiteral("$classes");
inline const QString archiverName = QStringLiteral("NSKeyedArchiver");
constexpr qint64 archiveVersion = 100000;

inline const QString rootClass = QStringLiteral("NSObject");
inline const QString stringClass = QStringLiteral("NSString");
inline const QString mutableStringClass = QStringLiteral("NSMutableString");
inline const QString arrayClass = QStringLiteral("NSArray");
inline const QString mutableArrayClass = QStringLiteral("NSMutableArray");
inline const QString dictionaryClass = QStringLiteral("NSDictionary");
inline const QString mutableDictionaryClass = QStringLiteral("NSMutableDictionary");
inline const QString dateClass = QStringLiteral("NSDate");
inline const QString dataClass = QStringLiteral("NSData");
inline const QString mutableDataClass = QStringLiteral("NSMutableData");
inline const QString nullClass = QStringLiteral("NSNull");

inline const QString stringKey = QStringLiteral("NS.string");
inline const QString keysKey = QStringLiteral("NS.keys");
inline const QString elementsKey = QStringLiteral("NS.objects");
inline const QString timeKey = QStringLiteral("NS.time");
inline const QString dataKey = QStringLiteral("NS.data");

} // namespace KeyedArchiveNames
