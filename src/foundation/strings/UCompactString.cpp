#include "foundation/strings/UCompactString.h"

#include <algorithm>
#include <cstring>

static_assert(sizeof(UCompactString) == 16);

namespace {

constexpr char16_t latin1Limit = 0x100;

bool isLatin1(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < latin1Limit; });
}

} // namespace

QString* UCompactString::wide() const
{
    QString* text = nullptr;
    std::memcpy(&text, latin1_, sizeof text);
    return text;
}

void UCompactString::clear()
{
    if (isWide())
        delete wide();
    state_ = nullState;
}

void UCompactString::assign(QStringView text)
{
    clear();
    if (std::size_t(text.size()) <= inlineCapacity && isLatin1(text)) {
        for (qsizetype i = 0; i < text.size(); ++i)
            latin1_[i] = char(text[i].unicode());
        state_ = static_cast<unsigned char>(text.size());
        return;
    }
    const QString* const held = new QString(text.toString());
    std::memcpy(latin1_, &held, sizeof held);
    state_ = wideState;
}

QString UCompactString::toString() const
{
    if (isNull())
        return QString();
    if (isWide())
        return *wide();
    // An empty text stays distinct from the null string.
    return state_ == 0 ? QStringLiteral("") : QString::fromLatin1(latin1_, state_);
}

QStringView UCompactString::view(Buffer& buffer) const
{
    if (isNull())
        return {};
    if (isWide())
        return *wide();
    for (std::size_t i = 0; i < state_; ++i)
        buffer[i] = char16_t(static_cast<unsigned char>(latin1_[i]));
    return QStringView(buffer.data(), state_);
}

bool UCompactString::equals(QStringView text) const
{
    if (isNull())
        return false;
    if (isWide())
        return *wide() == text;
    if (text.size() != state_)
        return false;
    // A short loop: names are compared with this on every look-up while a model is read.
    for (std::size_t i = 0; i < state_; ++i) {
        if (text[qsizetype(i)].unicode() != static_cast<unsigned char>(latin1_[i]))
            return false;
    }
    return true;
}
