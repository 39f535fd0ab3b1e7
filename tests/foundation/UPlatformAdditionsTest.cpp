#include "foundation/UColorAddition.h"
#include "foundation/UFemConstants.h"
#include "foundation/UPreferenceFont.h"
#include "foundation/strings/UCLocaleFormat.h"

#include "ScopedLocale.h"

#include <QCborValue>

#include <gtest/gtest.h>

TEST(PlatformAdditions, PreferenceColoursKeepTheirFourDoubles)
{
    const _UGLColor awkward { 0.1, 1.0 / 3.0, 0.7000000000000001, 0.123456789012345678 };
    const QVariantList stored = UPreferenceColorWithUGLColor(awkward);
    ASSERT_EQ(stored.size(), 4);
    EXPECT_EQ(stored[1].toDouble(), 1.0 / 3.0);
    EXPECT_EQ(UGLColorWithPreferenceColor(stored), awkward);
    // As the user defaults keep it.
    const QVariant reread = QCborValue::fromVariant(stored).toVariant();
    EXPECT_EQ(UGLColorWithPreferenceColor(reread), awkward);

    const QVariantList gray = UPreferenceColorWithUGLColor(UGLColorWithWhite(0.25, 0.5));
    EXPECT_EQ(gray, (QVariantList { 0.25, 0.25, 0.25, 0.5 }));
}

TEST(PlatformAdditions, MalformedPreferenceColoursReadMissingEntriesAsZero)
{
    EXPECT_EQ(
        UGLColorWithPreferenceColor(QVariantList { 0.5 }), (_UGLColor { 0.5, 0.0, 0.0, 0.0 }));
    EXPECT_EQ(UGLColorWithPreferenceColor(QVariantList { 1, "x", true, 0.5 }),
        (_UGLColor { 1.0, 0.0, 1.0, 0.5 }));
    EXPECT_EQ(UGLColorWithPreferenceColor(QVariant()), _UGLColor {});
    EXPECT_EQ(UGLColorWithPreferenceColor(QStringLiteral("red")), _UGLColor {});
}

TEST(PlatformAdditions, LabelColourOfAFlag)
{
    const _UGLColor black { 0.0, 0.0, 0.0, 1.0 };
    const _UGLColor gray { 0.5, 0.5, 0.5, 1.0 };
    EXPECT_EQ(UTextLabelColorForFlag(true), black);
    EXPECT_EQ(UTextLabelColorForFlag(1), black);
    EXPECT_EQ(UTextLabelColorForFlag(false), gray);
    EXPECT_EQ(UTextLabelColorForFlag(0), gray);
    EXPECT_EQ(UTextLabelColorForFlag(QVariant()), gray);
    EXPECT_EQ(UTextLabelColorForFlag(UFemNullObject), gray);
}

TEST(PlatformAdditions, PreferenceFonts)
{
    const UPreferenceFont font { QStringLiteral("DejaVu Sans Mono"), 10.5 };
    EXPECT_EQ(font.preferenceFont().toString(), "DejaVu Sans Mono,10.5");
    EXPECT_EQ(UPreferenceFont::fontWithPreferenceFont(font.preferenceFont()), font);
    // The first two fields of a full font description.
    EXPECT_EQ(UPreferenceFont::fontWithPreferenceFont(
                  QStringLiteral("DejaVu Sans,12,-1,5,400,0,0,0,0,0,0,0,0,0,0,1")),
        (UPreferenceFont { QStringLiteral("DejaVu Sans"), 12.0 }));
    EXPECT_EQ(
        UPreferenceFont::userFixedPitchFontOfSize(12).preferenceFont().toString(), "monospace,12");
    for (const QVariant& bad :
        { QVariant(), QVariant(12), QVariant(""), QVariant("Courier"), QVariant(",12"),
            QVariant("Courier,big"), QVariant("Courier,-3"), QVariant("Courier,nan") })
        EXPECT_FALSE(UPreferenceFont::fontWithPreferenceFont(bad).has_value())
            << bad.toString().toStdString();
}

TEST(PlatformAdditions, SharedConstants)
{
    EXPECT_TRUE(UFemEmptyString.isEmpty());
    EXPECT_TRUE(UFemNullObject.isValid());
    EXPECT_TRUE(UFemNullObject.isNull());
    EXPECT_NE(UFemNullObject, QVariant());
}

TEST(PlatformAdditions, CLocaleFormattingIgnoresTheProcessLocale)
{
    ScopedLocale german("de_DE.UTF-8");
    if (!german.available())
        GTEST_SKIP() << "the de_DE.UTF-8 locale is not installed";
    EXPECT_EQ(UCLocaleFormat("%#+.3E|%.2f", 1234.5, -0.25), "+1.234E+03|-0.25");
    const QByteArray wide = UCLocaleFormat("%300.1f", 2.5);
    EXPECT_EQ(wide.size(), 300);
    EXPECT_TRUE(wide.endsWith(" 2.5"));
}
