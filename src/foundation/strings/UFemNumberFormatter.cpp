#include "foundation/strings/UFemNumberFormatter.h"

#include "foundation/UFemFolderItemKeys.h"
#include "foundation/strings/UCLocaleFormat.h"

#include <QCborValue>
#include <QHash>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr quint64 defaultNumberOfDigits = 6;
constexpr quint64 tabulatedThresholdCount = 12;
constexpr double zeroExponent = -100.0;
constexpr double defaultFontPointSize = 12.0;
// Guards against hostile preference files: printf widths are ints, and no double has more
// meaningful digits than this.
constexpr quint64 maximumDigitsOrDecimals = 100;
constexpr qint64 maximumExponentMagnitude = 1000;
// The extension a text may take beyond its width.
constexpr quint64 maximumExtendLength = 4;
constexpr int narrowestExponentialWidth = 6;
constexpr int exponentialOverheadWidth = 7;
constexpr quint64 simpleCacheFirst = 2;
constexpr quint64 simpleCacheLast = 8;

double thresholdFormula(quint64 n)
{
    return -std::log10(1.0 - 0.501 * std::pow(10.0, -static_cast<double>(n)));
}

// Added to log10|v| before taking the floor, it gives the decimal exponent that v has once it
// is rounded to n significant digits (9.9999996 with n = 6 counts as exponent 1).
double threshold(quint64 n)
{
    static const std::array<double, tabulatedThresholdCount + 1> table = [] {
        std::array<double, tabulatedThresholdCount + 1> values {};
        for (quint64 i = 1; i <= tabulatedThresholdCount; ++i)
            values[i] = thresholdFormula(i);
        return values;
    }();
    return n >= 1 && n <= tabulatedThresholdCount ? table[n] : thresholdFormula(n);
}

qint64 roundedExponent(double value, quint64 n)
{
    return static_cast<qint64>(std::floor(std::log10(std::fabs(value)) + threshold(n)));
}

QString fromLatin1(const QByteArray& text)
{
    return QString::fromLatin1(text);
}

bool isPresentAndTrue(const QVariantMap& dictionary, const QString& key)
{
    const auto found = dictionary.constFind(key);
    return found != dictionary.cend() && found->toBool();
}

bool isPresentAndFalse(const QVariantMap& dictionary, const QString& key)
{
    const auto found = dictionary.constFind(key);
    return found != dictionary.cend() && !found->toBool();
}

quint64 boundedUnsigned(const QVariant& value)
{
    return std::min(value.toULongLong(), maximumDigitsOrDecimals);
}

QVariantMap simpleDictionary(quint64 numberOfDigits)
{
    return {
        { UFemNumberFormatterFontKey,
            UPreferenceFont::userFixedPitchFontOfSize(defaultFontPointSize).preferenceFont() },
        { UFemNumberFormatterNumberOfDigitsKey, QVariant::fromValue<qulonglong>(numberOfDigits) },
        { UFemNumberFormatterExponentialNumberFormatTypeKey,
            UFemComputerExponentialNumberFormatType },
    };
}

QVariantMap fixedExponentDictionary(quint64 numberOfDigits)
{
    QVariantMap dictionary = simpleDictionary(numberOfDigits);
    dictionary.insert(UFemNumberFormatterDoesUseConstantExponentialNumberKey, true);
    dictionary.insert(UFemNumberFormatterDoesUseConstantDecimalPointPositionKey, true);
    return dictionary;
}

QVariantMap folderItem(const QString& name, qulonglong orderHint, const QVariantMap& object)
{
    return {
        { UFemFolderItemNameStringPreferencesKey, name },
        { UFemFolderItemOrderHintNumberPreferencesKey, QVariant::fromValue(orderHint) },
        { UFemFolderItemObjectPreferencesKey, object },
    };
}

} // namespace

UFemNumberFormatter::UFemNumberFormatter(const QVariantMap& preferenceNumberFormatter)
{
    setNumberFormatterWithPreferenceNumberFormatter(preferenceNumberFormatter);
}

// Construction and the preference dictionary ------------------------------------------------

UFemNumberFormatter UFemNumberFormatter::numberFormatterWithPreferenceNumberFormatter(
    const QVariantMap& dictionary)
{
    return UFemNumberFormatter(dictionary);
}

void UFemNumberFormatter::reset()
{
    numberFormatterFont_.reset();
    numberOfDigits_ = 0;
    doesAllowExtendLength_ = true;
    isLeftEdgeDecimalPoint_ = false;
    numberExponentialFormatterType_ = 0;
    doesUseConstantExponentialNumber_ = isConstantExponentialNumberValid_
        = isConstantExponentialNumberEditable_ = false;
    constantExponentialNumber_ = 0;
    doesUseConstantDecimalPointPosition_ = isConstantDecimalPointPositionValid_ = false;
    isConstantDecimalPointPositionEditable_ = false;
    constantDecimalPointPosition_ = 0;
}

// Missing keys and the asymmetric reading of flags ("only NO clears", "only YES sets") follow the
// stored form, so that a dictionary written by preferenceNumberFormatter reads back unchanged.
void UFemNumberFormatter::setNumberFormatterWithPreferenceNumberFormatter(
    const QVariantMap& dictionary)
{
    reset();
    if (const auto font = dictionary.constFind(UFemNumberFormatterFontKey);
        font != dictionary.cend())
        numberFormatterFont_ = UPreferenceFont::fontWithPreferenceFont(*font);
    const auto digits = dictionary.constFind(UFemNumberFormatterNumberOfDigitsKey);
    numberOfDigits_ = digits == dictionary.cend() ? defaultNumberOfDigits
                                                  : std::max<quint64>(1, boundedUnsigned(*digits));
    doesAllowExtendLength_
        = !isPresentAndFalse(dictionary, UFemNumberFormatterDoesAllowExtendLengthKey);
    isLeftEdgeDecimalPoint_
        = isPresentAndTrue(dictionary, UFemNumberFormatterIsLeftEdgeDecimalPointKey);

    const auto style = dictionary.constFind(UFemNumberFormatterExponentialNumberFormatTypeKey);
    if (style == dictionary.cend() || style->toString() == UFemComputerExponentialNumberFormatType)
        numberExponentialFormatterType_ = ComputerStyle;
    else if (style->toString() == UFemMathematicsExponentialNumberFormatType)
        numberExponentialFormatterType_ = MathematicsStyle;
    else
        numberExponentialFormatterType_ = NoExponentStyle;

    if (hasExponentStyle())
        readExponentKeys(dictionary);
    else
        readDecimalPositionKeys(dictionary);
}

void UFemNumberFormatter::readExponentKeys(const QVariantMap& dictionary)
{
    doesUseConstantExponentialNumber_
        = isPresentAndTrue(dictionary, UFemNumberFormatterDoesUseConstantExponentialNumberKey);
    if (!doesUseConstantExponentialNumber_)
        return;
    const auto exponent = dictionary.constFind(UFemNumberFormatterConstantExponentialNumberKey);
    isConstantExponentialNumberValid_ = exponent != dictionary.cend();
    isConstantExponentialNumberEditable_ = !isConstantExponentialNumberValid_;
    if (isConstantExponentialNumberValid_)
        constantExponentialNumber_ = std::clamp(
            exponent->toLongLong(), -maximumExponentMagnitude, maximumExponentMagnitude);

    doesUseConstantDecimalPointPosition_
        = isPresentAndTrue(dictionary, UFemNumberFormatterDoesUseConstantDecimalPointPositionKey);
    if (!doesUseConstantDecimalPointPosition_)
        return;
    const auto position = dictionary.constFind(UFemNumberFormatterConstantDecimalPointPositionKey);
    isConstantDecimalPointPositionValid_ = position != dictionary.cend();
    isConstantDecimalPointPositionEditable_ = !isConstantDecimalPointPositionValid_;
    if (isConstantDecimalPointPositionValid_)
        constantDecimalPointPosition_ = boundedUnsigned(*position);
}

// Without an exponent the position is used unless switched off, and a missing position is
// neither valid nor automatic.
void UFemNumberFormatter::readDecimalPositionKeys(const QVariantMap& dictionary)
{
    doesUseConstantDecimalPointPosition_
        = !isPresentAndFalse(dictionary, UFemNumberFormatterDoesUseConstantDecimalPointPositionKey);
    if (!doesUseConstantDecimalPointPosition_)
        return;
    const auto position = dictionary.constFind(UFemNumberFormatterConstantDecimalPointPositionKey);
    isConstantDecimalPointPositionValid_ = position != dictionary.cend();
    if (isConstantDecimalPointPositionValid_)
        constantDecimalPointPosition_ = boundedUnsigned(*position);
}

QVariantMap UFemNumberFormatter::preferenceNumberFormatter() const
{
    QVariantMap dictionary;
    if (numberFormatterFont_)
        dictionary.insert(UFemNumberFormatterFontKey, numberFormatterFont_->preferenceFont());
    dictionary.insert(
        UFemNumberFormatterNumberOfDigitsKey, QVariant::fromValue<qulonglong>(numberOfDigits_));
    dictionary.insert(UFemNumberFormatterDoesAllowExtendLengthKey, doesAllowExtendLength_);
    dictionary.insert(UFemNumberFormatterIsLeftEdgeDecimalPointKey, isLeftEdgeDecimalPoint_);
    const QString style = numberExponentialFormatterType_ == ComputerStyle
        ? UFemComputerExponentialNumberFormatType
        : numberExponentialFormatterType_ == MathematicsStyle
        ? UFemMathematicsExponentialNumberFormatType
        : UFemNoExponentialNumberFormatType;
    dictionary.insert(UFemNumberFormatterExponentialNumberFormatTypeKey, style);
    if (hasExponentStyle()) {
        dictionary.insert(UFemNumberFormatterDoesUseConstantExponentialNumberKey,
            doesUseConstantExponentialNumber_);
        if (!doesUseConstantExponentialNumber_)
            return dictionary;
        if (isConstantExponentialNumberValid_ && !isConstantExponentialNumberEditable_)
            dictionary.insert(UFemNumberFormatterConstantExponentialNumberKey,
                QVariant::fromValue<qlonglong>(constantExponentialNumber_));
    }
    dictionary.insert(UFemNumberFormatterDoesUseConstantDecimalPointPositionKey,
        doesUseConstantDecimalPointPosition_);
    if (doesUseConstantDecimalPointPosition_ && isConstantDecimalPointPositionValid_
        && !isConstantDecimalPointPositionEditable_)
        dictionary.insert(UFemNumberFormatterConstantDecimalPointPositionKey,
            QVariant::fromValue<qulonglong>(constantDecimalPointPosition_));
    return dictionary;
}

size_t UFemNumberFormatter::hash() const
{
    return qHash(QCborValue::fromVariant(preferenceNumberFormatter()).toCbor());
}

size_t qHash(const UFemNumberFormatter& formatter, size_t seed)
{
    return qHashMulti(seed, formatter.hash());
}

// Defaults ---------------------------------------------------------------------------------------

UFemNumberFormatter UFemNumberFormatter::defaultWritingFileNumberFormatter()
{
    return UFemNumberFormatter(simpleDictionary(12));
}

UFemNumberFormatter UFemNumberFormatter::defaultColorScaleImageNumberFormatter()
{
    return UFemNumberFormatter(fixedExponentDictionary(defaultNumberOfDigits));
}

UFemNumberFormatter UFemNumberFormatter::defaultResultTableNumberFormatter()
{
    return UFemNumberFormatter(fixedExponentDictionary(defaultNumberOfDigits));
}

QVariantList UFemNumberFormatter::defaultPreferenceNumberFormatterFolderArray()
{
    constexpr qulonglong resultTableOrderHint = 1100;
    constexpr qulonglong writingFileOrderHint = 1200;
    return {
        folderItem(QStringLiteral("NumberFormatter 1"), resultTableOrderHint,
            defaultResultTableNumberFormatter().preferenceNumberFormatter()),
        folderItem(QStringLiteral("NumberFormatter 2"), writingFileOrderHint,
            defaultWritingFileNumberFormatter().preferenceNumberFormatter()),
    };
}

UFemNumberFormatter UFemNumberFormatter::_makeSimpleNumberFormatterWithNumberOfDigits(
    quint64 numberOfDigits)
{
    return UFemNumberFormatter(simpleDictionary(numberOfDigits));
}

UFemNumberFormatterPtr UFemNumberFormatter::_simpleNumberFormatterWithNumberOfDigits(
    quint64 numberOfDigits)
{
    using Cache = std::array<UFemNumberFormatterPtr, simpleCacheLast - simpleCacheFirst + 1>;
    static const Cache cache = [] {
        Cache formatters;
        for (quint64 n = simpleCacheFirst; n <= simpleCacheLast; ++n)
            formatters[n - simpleCacheFirst] = std::make_shared<const UFemNumberFormatter>(
                _makeSimpleNumberFormatterWithNumberOfDigits(n));
        return formatters;
    }();
    if (numberOfDigits >= simpleCacheFirst && numberOfDigits <= simpleCacheLast)
        return cache[numberOfDigits - simpleCacheFirst];
    return std::make_shared<const UFemNumberFormatter>(
        _makeSimpleNumberFormatterWithNumberOfDigits(numberOfDigits));
}

QString UFemNumberFormatter::stringWithValue(double value, quint64 numberOfDigits)
{
    return _simpleNumberFormatterWithNumberOfDigits(numberOfDigits)->stringWithValue(value);
}

// Output -----------------------------------------------------------------------------------------

bool UFemNumberFormatter::hasExponentStyle() const
{
    return numberExponentialFormatterType_ == ComputerStyle
        || numberExponentialFormatterType_ == MathematicsStyle;
}

bool UFemNumberFormatter::hasValidConstantExponent() const
{
    return doesUseConstantExponentialNumber_ && isConstantExponentialNumberValid_;
}

bool UFemNumberFormatter::hasValidConstantDecimalPosition() const
{
    return doesUseConstantDecimalPointPosition_ && isConstantDecimalPointPositionValid_;
}

quint64 UFemNumberFormatter::valueStringLength() const
{
    constexpr quint64 exponentWidth = 4;
    constexpr quint64 signAndPointWidth = 2;
    return numberOfDigits_ + signAndPointWidth + (hasExponentStyle() ? exponentWidth : 0);
}

quint64 UFemNumberFormatter::stringLength() const
{
    return static_cast<quint64>(stringWithValue(0.0).size());
}

QString UFemNumberFormatter::stringWithValue(double value) const
{
    return std::isfinite(value) ? finiteStringWithValue(value) : nonFiniteStringWithValue(value);
}

// Not-a-number and the infinities have no digits to lay out; they are shown right-aligned to
// the width of the column they appear in.
QString UFemNumberFormatter::nonFiniteStringWithValue(double value) const
{
    const QString text = std::isnan(value) ? QStringLiteral("nan")
        : value > 0                        ? QStringLiteral("+inf")
                                           : QStringLiteral("-inf");
    return text.rightJustified(static_cast<qsizetype>(stringLength()), u' ');
}

// The decimals of a value printed with n significant digits, and by how many characters its
// integer digits overflow the width.
UFemNumberFormatter::DigitLayout UFemNumberFormatter::digitLayout(double value) const
{
    const qint64 n = static_cast<qint64>(numberOfDigits_);
    if (!std::isfinite(value))
        return { 0, maximumDigitsOrDecimals + maximumExtendLength + 1 };
    qint64 exponent = static_cast<qint64>(zeroExponent);
    if (value != 0.0) {
        const qint64 integerDigits
            = static_cast<qint64>(std::floor(std::log10(std::fabs(value)))) + 1;
        exponent = roundedExponent(value, static_cast<quint64>(std::max(integerDigits, n)));
    }
    if (exponent >= n)
        return { 0, static_cast<quint64>(exponent - n + 1) };
    const qint64 smallestPositional = isLeftEdgeDecimalPoint_ ? -1 : 0;
    const qint64 smallDecimals = isLeftEdgeDecimalPoint_ ? n : n - 1;
    if (exponent < smallestPositional)
        return { static_cast<quint64>(smallDecimals), 0 };
    return { static_cast<quint64>(n - exponent - 1), 0 };
}

// The decimals when a fixed decimal position may apply. With an exponent and extension allowed,
// the fixed position always holds and widens the text where the value needs fewer decimals;
// without an exponent it holds without widening.
UFemNumberFormatter::DigitLayout UFemNumberFormatter::decimalsWithFixedPosition(
    double mantissa, bool extendsWithOverflow) const
{
    const DigitLayout layout = digitLayout(mantissa);
    if (!hasValidConstantDecimalPosition())
        return layout;
    const quint64 position = constantDecimalPointPosition_;
    if (!doesAllowExtendLength_) {
        if (layout.overflow > 0)
            return layout;
        return { std::min(layout.decimals, position), 0 };
    }
    if (!extendsWithOverflow)
        return { position, 0 };
    if (layout.decimals < position || layout.overflow > 0)
        return { position, position + layout.overflow - layout.decimals };
    return { position, 0 };
}

UFemNumberFormatter::Mantissa UFemNumberFormatter::mantissaOf(double value) const
{
    Mantissa mantissa;
    if (!hasExponentStyle()) {
        mantissa.value = value;
        mantissa.layout = decimalsWithFixedPosition(value, false);
        return mantissa;
    }
    mantissa.hasExponent = true;
    if (hasValidConstantExponent()) {
        mantissa.exponent = constantExponentialNumber_;
        mantissa.value
            = value == 0.0 ? 0.0 : value * std::pow(10.0, -static_cast<double>(mantissa.exponent));
        mantissa.layout = decimalsWithFixedPosition(mantissa.value, true);
        return mantissa;
    }
    // The left-edge form of a free exponent: a mantissa below 1 with every digit after the point.
    mantissa.exponent = value == 0.0 ? 0 : roundedExponent(value, numberOfDigits_) + 1;
    mantissa.value = value * std::pow(10.0, -static_cast<double>(mantissa.exponent));
    mantissa.layout = { numberOfDigits_, 0 };
    return mantissa;
}

QString UFemNumberFormatter::finiteStringWithValue(double value) const
{
    if (hasExponentStyle() && !hasValidConstantExponent() && !isLeftEdgeDecimalPoint_)
        return fromLatin1(UCLocaleFormat("%#+.*E", static_cast<int>(numberOfDigits_) - 1, value));
    const Mantissa mantissa = mantissaOf(value);
    std::optional<QString> text = positionalText(mantissa);
    if (!text)
        return narrowestText(value);
    if (mantissa.hasExponent)
        *text += fromLatin1(UCLocaleFormat("E%+03i", static_cast<int>(mantissa.exponent)));
    return *text;
}

// The positional text of a mantissa with its decimals; nothing when it overflows too far.
std::optional<QString> UFemNumberFormatter::positionalText(const Mantissa& mantissa) const
{
    const int width = static_cast<int>(numberOfDigits_) + 2;
    const int decimals = static_cast<int>(mantissa.layout.decimals);
    const quint64 overflow = mantissa.layout.overflow;
    if (overflow == 0) {
        const QByteArray text = UCLocaleFormat("%#+*.*f", width, decimals, mantissa.value);
        return fromLatin1(isLeftEdgeDecimalPoint_ ? leftEdgeText(text, mantissa.value) : text);
    }
    if (doesAllowExtendLength_ && overflow <= maximumExtendLength)
        return fromLatin1(UCLocaleFormat("%#+*.*f", width, decimals, mantissa.value));
    if (overflow == 1)
        return fromLatin1(UCLocaleFormat("%+*.*f", width, decimals, mantissa.value));
    return std::nullopt;
}

// Moves the decimal point to the left edge: "+0.123456" becomes "+.123456", and a padded
// "  +0.12" becomes "   +.12" at the same width. Only a "0." right after the sign is touched.
QByteArray UFemNumberFormatter::leftEdgeText(QByteArray text, double mantissa) const
{
    const qsizetype widerLength = static_cast<qsizetype>(numberOfDigits_) + 3;
    if (text.size() == widerLength) {
        if (text.mid(1, 2) == "0.")
            text.remove(1, 1);
        return text;
    }
    return mantissa < 0 ? text.replace("-0.", " -.") : text.replace("+0.", " +.");
}

// A value too wide for the positional form, in the narrowest form the nominal width allows.
QString UFemNumberFormatter::narrowestText(double value) const
{
    const int nominalWidth = static_cast<int>(valueStringLength());
    if (nominalWidth > narrowestExponentialWidth)
        return fromLatin1(UCLocaleFormat("%#+.*e", nominalWidth - exponentialOverheadWidth, value));
    if (nominalWidth == narrowestExponentialWidth)
        return fromLatin1(UCLocaleFormat("%+.0e", value));
    return QStringLiteral("*****").left(nominalWidth);
}

// Automatic settings ------------------------------------------------------------------------------

void UFemNumberFormatter::setNumberFormatterHintWithMaxValue(double maxValue)
{
    if (!std::isfinite(maxValue) || !hasExponentStyle() || !doesUseConstantExponentialNumber_)
        return;
    const bool positionIsAutomatic
        = doesUseConstantDecimalPointPosition_ && isConstantDecimalPointPositionEditable_;
    if (isConstantExponentialNumberEditable_) {
        isConstantExponentialNumberValid_ = true;
        constantExponentialNumber_ = maxValue == 0.0
            ? 0
            : roundedExponent(maxValue, numberOfDigits_) + (isLeftEdgeDecimalPoint_ ? 1 : 0);
        if (positionIsAutomatic) {
            isConstantDecimalPointPositionValid_ = true;
            constantDecimalPointPosition_
                = isLeftEdgeDecimalPoint_ ? numberOfDigits_ : numberOfDigits_ - 1;
        }
        return;
    }
    if (positionIsAutomatic) {
        isConstantDecimalPointPositionValid_ = true;
        constantDecimalPointPosition_ = digitLayout(
            maxValue * std::pow(10.0, -static_cast<double>(constantExponentialNumber_)))
                                            .decimals;
    }
}
