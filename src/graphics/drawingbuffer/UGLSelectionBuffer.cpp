#include "graphics/drawingbuffer/UGLSelectionBuffer.h"

#include "foundation/errors/UException.h"
#include "graphics/opengl/UGLOpenGL.h"

#include <algorithm>
#include <limits>

namespace {

// Name count, minimum depth, maximum depth.
constexpr quint64 hitRecordHeaderSize = 3;

} // namespace

UGLSelectionBuffer::UGLSelectionBuffer(quint64 capacity, quint64 maximumCapacity)
    : buffer_(std::max<quint64>(capacity, hitRecordHeaderSize + 1))
    , maximumCapacity_(std::max<quint64>(maximumCapacity, buffer_.size()))
{
    if (maximumCapacity_ > quint64(std::numeric_limits<GLsizei>::max()))
        UFemRaiseProgramErrorWithValue(
            QStringLiteral("Selection buffer size is out of range."), long(maximumCapacity_));
}

std::vector<UGLSelectionHit> UGLSelectionBuffer::selectHits(
    const std::function<void()>& draw, bool isDrawingRepeatable, bool* didOverflow)
{
    const GLuint list = isDrawingRepeatable ? 0 : glGenLists(1);
    GLint hitCount = 0;
    runPass(
        [&] {
            if (list != 0)
                glNewList(list, GL_COMPILE_AND_EXECUTE);
            draw();
            if (list != 0)
                glEndList();
        },
        &hitCount);
    while (hitCount < 0 && buffer_.size() < maximumCapacity_) {
        buffer_.resize(std::min<quint64>(2 * buffer_.size(), maximumCapacity_));
        runPass(list != 0 ? std::function<void()>([list] { glCallList(list); }) : draw, &hitCount);
    }
    if (list != 0)
        glDeleteLists(list, 1);
    if (didOverflow != nullptr)
        *didOverflow = hitCount < 0;
    return readHits(hitCount);
}

void UGLSelectionBuffer::runPass(const std::function<void()>& draw, GLint* hitCount)
{
    glSelectBuffer(GLsizei(buffer_.size()), buffer_.data());
    glRenderMode(GL_SELECT);
    glInitNames();
    glPushName(noName);
    draw();
    *hitCount = glRenderMode(GL_RENDER);
}

std::vector<UGLSelectionHit> UGLSelectionBuffer::readHits(qint64 hitCount) const
{
    std::vector<UGLSelectionHit> hits;
    quint64 position = 0;
    while ((hitCount < 0 || qint64(hits.size()) < hitCount)
        && position + hitRecordHeaderSize <= buffer_.size()) {
        const quint64 nameCount = buffer_[position];
        const quint64 recordEnd = position + hitRecordHeaderSize + nameCount;
        if (recordEnd > buffer_.size())
            break;
        hits.push_back(
            { std::vector<quint32>(buffer_.begin() + qint64(position + hitRecordHeaderSize),
                  buffer_.begin() + qint64(recordEnd)),
                buffer_[position + 1], buffer_[position + 2] });
        position = recordEnd;
    }
    return hits;
}
