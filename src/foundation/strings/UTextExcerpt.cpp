#include "foundation/strings/UTextExcerpt.h"

#include <algorithm>
#include <utility>

UTextExcerpt::UTextExcerpt(qsizetype limit, qsizetype capacity)
    : limit_(std::max<qsizetype>(limit, 0))
{
    if (capacity > 0)
        text_.reserve(std::min(capacity, limit_));
}

UTextExcerpt& UTextExcerpt::operator+=(QStringView text)
{
    if (isCut_)
        return *this;
    const qsizetype room = limit_ - text_.size();
    if (text.size() <= room) {
        text_ += text;
        return *this;
    }
    QStringView kept = text.first(room);
    // Half a surrogate pair is no character.
    if (!kept.isEmpty() && kept.back().isHighSurrogate())
        kept.chop(1);
    text_ += kept;
    isCut_ = true;
    return *this;
}

UTextExcerpt& UTextExcerpt::operator+=(const QString& text)
{
    if (!isCut_ && text.size() <= limit_ - text_.size()) {
        text_ += text;
        return *this;
    }
    return *this += QStringView(text);
}

QString UTextExcerpt::take()
{
    if (isCut_)
        text_ += Ellipsis;
    isCut_ = false;
    return std::exchange(text_, QString());
}
