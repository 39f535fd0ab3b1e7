#pragma once

#include <QtGlobal>

// What a result file carries in its container: the type name, the versions and the components.

inline constexpr const char* UFemResultFileDataType = "UFemResultFileDataType";
// The format written.
inline constexpr quint64 UFemResultFileDataVersionNumber = 801051;
// The oldest reader that reads what is written; kept in optional integer 1.
inline constexpr quint64 UFemResultFileMinimumReaderVersionNumber = 801050;
// Files of this data version or older are refused as old.
inline constexpr quint64 UFemResultFileNewestUnreadableDataVersionNumber = 801050;
// Files that need a reader of this version or newer are refused as new.
inline constexpr quint64 UFemResultFileFirstUnreadableReaderVersionNumber = 801052;

struct UFemResultFileComponent {
    quint64 identifier;
    const char* name;
    quint64 valueType;
};

inline constexpr UFemResultFileComponent UFemResultFileProjectTitle { 1100, "ProjectTitleString",
    201 };
inline constexpr UFemResultFileComponent UFemResultFileProjectVersion { 1200,
    "ProjectVersionString", 201 };
inline constexpr UFemResultFileComponent UFemResultFileProjectComment { 1300,
    "ProjectCommentString", 201 };
inline constexpr UFemResultFileComponent UFemResultFileModelText { 2000, "ModelText", 201 };
inline constexpr UFemResultFileComponent UFemResultFileCalculationInfo { 5100,
    "CalculationInfoString", 201 };
inline constexpr UFemResultFileComponent UFemResultFileCalculationLog { 5200,
    "CalculationLogString", 201 };
inline constexpr UFemResultFileComponent UFemResultFileCalculationError { 5300,
    "CalculationErrorString", 201 };
inline constexpr UFemResultFileComponent UFemResultFileNodeNames { 6100, "NodeNameStringArray",
    202 };
inline constexpr UFemResultFileComponent UFemResultFileCaseNames { 6200, "CaseNameStringArray",
    202 };
inline constexpr UFemResultFileComponent UFemResultFileCaseRestraintNames { 6300,
    "CaseRestraintNameStringArray", 202 };
inline constexpr UFemResultFileComponent UFemResultFileCaseInfoRecords { 7100,
    "CaseInfoRecordTable", 1 };
inline constexpr UFemResultFileComponent UFemResultFileNodeInfoRecords { 7200,
    "NodeInfoRecordTable", 1 };
inline constexpr UFemResultFileComponent UFemResultFileDisplacementValues { 7300,
    "DisplacementValueTable", 11 };
// The container's name field holds 31 bytes: "EachCalculationErrorStringHolderArray" cut to fit.
inline constexpr UFemResultFileComponent UFemResultFileErrorTexts { 9100,
    "EachCalculationErrorStringHolde", 202 };
