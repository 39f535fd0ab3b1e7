#include "tables/UFemCardTableStyle.h"

#include "cardmodel/card/UFemCardTextColumns.h"

namespace {

QTextCharFormat foreground(const QColor& color)
{
    QTextCharFormat format;
    format.setForeground(color);
    return format;
}

} // namespace

UFemCardStringAttributesDictionary UFemCardTableStyle::defaultCardStringAttributesDictionary()
{
    return { { UFemCardStringAttributesKeyForNormal, QTextCharFormat() },
        { UFemCardStringAttributesKeyForComment, foreground(commentColor()) },
        { UFemCardStringAttributesKeyForSpecial, foreground(Qt::blue) },
        { UFemCardStringAttributesKeyForError, foreground(Qt::red) },
        { UFemCardStringAttributesKeyForWarning, foreground(Qt::red) } };
}
