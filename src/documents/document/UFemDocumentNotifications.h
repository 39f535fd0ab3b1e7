#pragma once

#include <QString>

// Bracket every change of a document's lock inputs; the sender is the document, no user info.
inline const QString UFemDocumentLockStatusWillChangeNotification
    = QStringLiteral("UFemDocumentLockStatusWillChangeNotification");
inline const QString UFemDocumentLockStatusDidChangeNotification
    = QStringLiteral("UFemDocumentLockStatusDidChangeNotification");

// Posted on the main thread when a background calculation ends.
inline const QString UFemCalculationDoneNotification
    = QStringLiteral("UFemCalculationDoneNotification");
// quint64: the identifier the calculation was started with.
inline const QString UFemCalculationIdentifierNumberKey
    = QStringLiteral("UFemCalculationIdentifierNumberKey");
// std::shared_ptr<UFemDataController>: the calculated copy, holding the results.
inline const QString UFemCalculationDataControllerKey
    = QStringLiteral("UFemCalculationDataControllerKey");
// UErrorPtr: present when the calculation failed or was cancelled.
inline const QString UFemCalculationErrorKey = QStringLiteral("UFemCalculationErrorKey");
