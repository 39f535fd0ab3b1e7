#include "tables/UFemAlphaActivateColorWell.h"
#include "tables/UFemAlphaDeactivateColorWell.h"

#include <QColorDialog>

#include <gtest/gtest.h>

namespace {

// Channels no 8- or 16-bit colour holds exactly.
constexpr _UGLColor storedColor { 0.123456789, 0.3, 0.7071, 0.45 };

} // namespace

TEST(AlphaColorWell, OpacityControlAndExactUnchangedColours)
{
    UFemAlphaActivateColorWell withAlpha;
    UFemAlphaDeactivateColorWell withoutAlpha;
    for (UFemColorWell* well :
        { static_cast<UFemColorWell*>(&withAlpha), static_cast<UFemColorWell*>(&withoutAlpha) }) {
        well->setColor(storedColor);
        int changes = 0;
        well->setColorChangedHandler([&changes](const _UGLColor&) { ++changes; });
        QColorDialog* dialog = well->activate();
        EXPECT_EQ(dialog->testOption(QColorDialog::ShowAlphaChannel), well->showsAlphaControl());
        dialog->accept();
        EXPECT_EQ(well->color(), storedColor);
        EXPECT_EQ(changes, 0);

        dialog = well->activate();
        dialog->setCurrentColor(QColor(255, 0, 0, 128));
        dialog->accept();
        EXPECT_EQ(changes, 1);
        const _UGLColor changed = well->color();
        EXPECT_EQ(changed.red, 1.0);
        EXPECT_EQ(changed.green, 0.0);
        EXPECT_EQ(changed.blue, 0.0);
        EXPECT_FLOAT_EQ(float(changed.alpha), well->showsAlphaControl() ? 128.0F / 255.0F : 0.45F);
    }
    EXPECT_TRUE(withAlpha.showsAlphaControl());
    EXPECT_FALSE(withoutAlpha.showsAlphaControl());
}
