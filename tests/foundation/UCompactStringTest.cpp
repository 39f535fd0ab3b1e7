#include "foundation/strings/UCompactString.h"

#include <gtest/gtest.h>

namespace {

// Texts on both sides of the in-place limit (15 Latin-1 characters) and wider ones.
TEST(CompactString, KeepsEveryTextAndItsNullness)
{
    const QString texts[] = {
        QStringLiteral(""),
        QStringLiteral("0.125"),
        QStringLiteral("-1.23456789E+05"), // 15 characters
        QStringLiteral("-1.234567890E+05"), // 16 characters
        QStringLiteral("caf\u00E9 \u00FF"), // Latin-1 beyond ASCII
        QStringLiteral("\u03B1"), // beyond Latin-1
        QString(200, u'7'),
    };
    UCompactString kept;
    EXPECT_TRUE(kept.isNull());
    EXPECT_TRUE(kept.toString().isNull());
    EXPECT_FALSE(kept.equals(u""));
    for (const QString& text : texts) {
        SCOPED_TRACE(text.toStdString());
        kept.assign(text);
        EXPECT_FALSE(kept.isNull());
        EXPECT_EQ(kept.toString(), text);
        EXPECT_FALSE(kept.toString().isNull());
        EXPECT_TRUE(kept.equals(text));
        EXPECT_FALSE(kept.equals(text + u'x'));
        if (!text.isEmpty()) {
            EXPECT_FALSE(kept.equals(QStringView(text).chopped(1)));
        }
    }
    kept.clear();
    EXPECT_TRUE(kept.isNull());
}

} // namespace
