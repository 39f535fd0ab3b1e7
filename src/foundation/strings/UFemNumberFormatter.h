#pragma once

#include "foundation/UPreferenceFont.h"

#include <QByteArray>
#include <QString>
#include <QVariantList>
#include <QVariantMap>

#include <memory>
#include <optional>

// Keys of the preference dictionary of a number formatter.
inline const QString UFemNumberFormatterFontKey = QStringLiteral("UFemNumberFormatterFontKey");
inline const QString UFemNumberFormatterNumberOfDigitsKey
    = QStringLiteral("UFemNumberFormatterNumberOfDigitsKey");
inline const QString UFemNumberFormatterDoesAllowExtendLengthKey
    = QStringLiteral("UFemNumberFormatterDoesAllowExtendLengthKey");
inline const QString UFemNumberFormatterIsLeftEdgeDecimalPointKey
    = QStringLiteral("UFemNumberFormatterIsLeftEdgeDecimalPointKey");
inline const QString UFemNumberFormatterExponentialNumberFormatTypeKey
    = QStringLiteral("UFemNumberFormatterExponentialNumberFormatTypeKey");
inline const QString UFemNumberFormatterDoesUseConstantExponentialNumberKey
    = QStringLiteral("UFemNumberFormatterDoesUseConstantExponentialNumberKey");
inline const QString UFemNumberFormatterConstantExponentialNumberKey
    = QStringLiteral("UFemNumberFormatterConstantExponentialNumberKey");
inline const QString UFemNumberFormatterDoesUseConstantDecimalPointPositionKey
    = QStringLiteral("UFemNumberFormatterDoesUseConstantDecimalPointPositionKey");
inline const QString UFemNumberFormatterConstantDecimalPointPositionKey
    = QStringLiteral("UFemNumberFormatterConstantDecimalPointPositionKey");

// The exponent styles as stored in the dictionary.
inline const QString UFemComputerExponentialNumberFormatType
    = QStringLiteral("UFemComputerExponentialNumberFormatType");
inline const QString UFemMathematicsExponentialNumberFormatType
    = QStringLiteral("UFemMathematicsExponentialNumberFormatType");
inline const QString UFemNoExponentialNumberFormatType
    = QStringLiteral("UFemNoExponentialNumberFormatType");

class UFemNumberFormatter;
using UFemNumberFormatterPtr = std::shared_ptr<const UFemNumberFormatter>;

// Fixed-width number text with a set number of significant digits, in one of three exponent
// styles, optionally with a fixed (shared) exponent and a fixed number of decimals, so that the
// numbers of a table column, a legend or a written file line up. A small copyable value; its
// settings travel as a preference dictionary. Text is made under the C locale.
class UFemNumberFormatter {
public:
    enum Style : qint32 { ComputerStyle = 1, MathematicsStyle = 2, NoExponentStyle = 3 };

    // From a preference dictionary; an empty one gives 6 digits, computer style.
    explicit UFemNumberFormatter(const QVariantMap& preferenceNumberFormatter = {});

    static UFemNumberFormatter numberFormatterWithPreferenceNumberFormatter(
        const QVariantMap& dictionary);
    void setNumberFormatterWithPreferenceNumberFormatter(const QVariantMap& dictionary);
    // Automatic (editable) values are never written, so they are chosen again after reading.
    QVariantMap preferenceNumberFormatter() const;

    static UFemNumberFormatter defaultWritingFileNumberFormatter();
    static UFemNumberFormatter defaultColorScaleImageNumberFormatter();
    static UFemNumberFormatter defaultResultTableNumberFormatter();
    static QVariantList defaultPreferenceNumberFormatterFolderArray();

    static UFemNumberFormatter _makeSimpleNumberFormatterWithNumberOfDigits(quint64 numberOfDigits);
    // The cached formatter for 2 to 8 digits, a new one otherwise.
    static UFemNumberFormatterPtr _simpleNumberFormatterWithNumberOfDigits(quint64 numberOfDigits);
    static QString stringWithValue(double value, quint64 numberOfDigits);
    // The quick class-level text (4 digits) that error messages use.
    static QString quickStringWithValue(double value)
    {
        return stringWithValue(value, quickNumberOfDigits);
    }
    static constexpr quint64 quickNumberOfDigits = 4;

    QString stringWithValue(double value) const;
    // The nominal width: n + 6 with an exponent style, n + 2 otherwise.
    quint64 valueStringLength() const;
    // The length of the text of 0.0: the width tables pad to.
    quint64 stringLength() const;

    // Fills the automatic exponent and decimal position for values up to |maxValue|; a value that
    // is not finite changes nothing.
    void setNumberFormatterHintWithMaxValue(double maxValue);

    const std::optional<UPreferenceFont>& numberFormatterFont() const
    {
        return numberFormatterFont_;
    }
    quint64 numberOfDigits() const { return numberOfDigits_; }
    bool doesAllowExtendLength() const { return doesAllowExtendLength_; }
    bool isLeftEdgeDecimalPoint() const { return isLeftEdgeDecimalPoint_; }
    qint32 numberExponentialFormatterType() const { return numberExponentialFormatterType_; }
    bool doesUseConstantExponentialNumber() const { return doesUseConstantExponentialNumber_; }
    bool isConstantExponentialNumberValid() const { return isConstantExponentialNumberValid_; }
    bool isConstantExponentialNumberEditable() const
    {
        return isConstantExponentialNumberEditable_;
    }
    qint64 constantExponentialNumber() const { return constantExponentialNumber_; }
    bool doesUseConstantDecimalPointPosition() const
    {
        return doesUseConstantDecimalPointPosition_;
    }
    bool isConstantDecimalPointPositionValid() const
    {
        return isConstantDecimalPointPositionValid_;
    }
    bool isConstantDecimalPointPositionEditable() const
    {
        return isConstantDecimalPointPositionEditable_;
    }
    quint64 constantDecimalPointPosition() const { return constantDecimalPointPosition_; }

    friend bool operator==(const UFemNumberFormatter&, const UFemNumberFormatter&) = default;
    // The hash of the preference dictionary (equal formatters hash alike).
    size_t hash() const;

private:
    // The decimals and overflow a value takes at the formatter's digits.
    struct DigitLayout {
        quint64 decimals = 0;
        quint64 overflow = 0;
    };
    struct Mantissa {
        double value = 0.0;
        qint64 exponent = 0;
        bool hasExponent = false;
        DigitLayout layout;
    };

    void reset();
    void readExponentKeys(const QVariantMap& dictionary);
    void readDecimalPositionKeys(const QVariantMap& dictionary);
    bool hasExponentStyle() const;
    bool hasValidConstantExponent() const;
    bool hasValidConstantDecimalPosition() const;

    DigitLayout digitLayout(double value) const;
    DigitLayout decimalsWithFixedPosition(double mantissa, bool extendsWithOverflow) const;
    Mantissa mantissaOf(double value) const;
    QString finiteStringWithValue(double value) const;
    QString nonFiniteStringWithValue(double value) const;
    std::optional<QString> positionalText(const Mantissa& mantissa) const;
    QByteArray leftEdgeText(QByteArray text, double mantissa) const;
    QString narrowestText(double value) const;

    // Field order is the order of equality; the font compares last.
    quint64 numberOfDigits_ = 0;
    bool doesAllowExtendLength_ = true;
    bool isLeftEdgeDecimalPoint_ = false;
    qint32 numberExponentialFormatterType_ = 0;
    bool doesUseConstantExponentialNumber_ = false;
    bool isConstantExponentialNumberValid_ = false;
    bool isConstantExponentialNumberEditable_ = false;
    qint64 constantExponentialNumber_ = 0;
    bool doesUseConstantDecimalPointPosition_ = false;
    bool isConstantDecimalPointPositionValid_ = false;
    bool isConstantDecimalPointPositionEditable_ = false;
    quint64 constantDecimalPointPosition_ = 0;
    std::optional<UPreferenceFont> numberFormatterFont_;
};

size_t qHash(const UFemNumberFormatter& formatter, size_t seed = 0);
