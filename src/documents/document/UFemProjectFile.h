#pragma once

#include "foundation/errors/UError.h"

#include <QByteArray>
#include <QString>
#include <QVariantMap>

#include <optional>

// The project fields a project file holds.
struct UFemProjectFileContents {
    std::optional<QString> projectTitleString;
    std::optional<QString> projectVersionString;
    std::optional<QString> projectCommentString;
    std::optional<QString> projectModelFilePathString;
    bool projectDoesLoadModelDataAuto = false;
    std::optional<QString> projectResultFilePathString;
    bool projectDoesLoadResultDataAuto = false;
    // Stored and given back unchanged, objects of classes the program does not know included.
    std::optional<QVariantMap> projectPreferencesDictionary;

    bool operator==(const UFemProjectFileContents&) const = default;
};

// The version a project file is written with, and the newest minimum version this program reads.
inline constexpr qint64 UFemProjectFileMinimumVersionNumber = 800000;
inline constexpr qint64 UFemProjectFileCreatorVersionNumber = 801051;

// The keyed archive of a project file, its keys in their fixed order.
QByteArray UFemProjectFileData(const UFemProjectFileContents& contents);
// Reads non-empty project file data. Damaged data, another kind of archive or a value of the
// wrong kind give 11003; a file that needs a newer program gives 11004.
[[nodiscard]] std::optional<UFemProjectFileContents> UFemReadProjectFileData(
    const QByteArray& data, UErrorPtr* error);
