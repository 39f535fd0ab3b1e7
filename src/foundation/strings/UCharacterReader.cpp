#include "foundation/strings/UCharacterReader.h"

#include "foundation/errors/UException.h"

UCharacterReader::UCharacterReader(
    const UStringGettingCharactersProtocol& source, quint64 startIndex, quint64 endIndex)
    : source_(source)
    , chunkStart_(startIndex)
    , end_(endIndex)
{
    if (startIndex > endIndex || endIndex > source.length())
        URaiseRangeException();
}

bool UCharacterReader::refill()
{
    const quint64 start = index();
    if (start >= end_)
        return false;
    chunkCount_ = source_.getCharacterAndSetValidCharacterBufferPtr(
        &chunk_, start, end_, buffer_, bufferLength);
    chunkStart_ = start;
    position_ = 0;
    return chunkCount_ > 0;
}
