// Dialog units to pixels: the rounding of MulDiv, each rectangle field mapped on its own, and the base units of
// the font the dialogs are really drawn with.
#include "DialogUnits.h"

#include <QFontInfo>

#include <gtest/gtest.h>

struct MulDivCase {
    int m_nA, m_nB, m_nC, m_nExpected;
};

class MulDivTest : public ::testing::TestWithParam<MulDivCase> {};

TEST_P(MulDivTest, RoundsToNearestHalvesAwayFromZero)
{
    const MulDivCase& c = GetParam();
    EXPECT_EQ(MulDiv(c.m_nA, c.m_nB, c.m_nC), c.m_nExpected);
}

INSTANTIATE_TEST_SUITE_P(Cases, MulDivTest,
                         ::testing::Values(MulDivCase{13, 7, 4, 23},   // 22.75
                                           MulDivCase{2, 7, 4, 4},     // 3.5 rounds up
                                           MulDivCase{6, 7, 4, 11},    // 10.5 rounds up
                                           MulDivCase{1, 7, 4, 2},     // 1.75
                                           MulDivCase{15, 13, 8, 24},  // 24.375
                                           MulDivCase{4, 13, 8, 7},    // 6.5 rounds up
                                           MulDivCase{-2, 7, 4, -4},   // -3.5 rounds away from zero
                                           MulDivCase{2, -7, 4, -4},
                                           MulDivCase{-2, -7, 4, 4},
                                           MulDivCase{0, 7, 4, 0},
                                           MulDivCase{5, 7, 0, 0}));   // no division by zero

TEST(MulDivTest, ProductWiderThanIntStillDividesExactly)
{
    // The product is kept in 64 bits, as MulDiv's contract demands.
    EXPECT_EQ(MulDiv(1000000, 3000, 1000), 3000000);
    EXPECT_EQ(MulDiv(2000000000, 2, 4), 1000000000);
}

struct MapCase {
    DluRect m_rect;
    QSize m_base;
    QRect m_expected;
};

class MapDialogRectTest : public ::testing::TestWithParam<MapCase> {};

TEST_P(MapDialogRectTest, MapsEachFieldOnItsOwn)
{
    const MapCase& c = GetParam();
    EXPECT_EQ(MapDialogRect(c.m_rect, c.m_base), c.m_expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MapDialogRectTest,
    ::testing::Values(
        // The "Linear Conversion" radio button with DejaVu Sans 8 pt units (7 x 13).
        MapCase{{13, 15, 73, 10}, {7, 13}, {23, 24, 128, 16}},
        // The value-on-display edit: x 169.75 -> 170, y 186.875 -> 187, 124.25 -> 124, 24.375 -> 24.
        MapCase{{97, 115, 71, 15}, {7, 13}, {170, 187, 124, 24}},
        // The main window's client area.
        MapCase{{0, 0, 287, 247}, {7, 13}, {0, 0, 502, 401}},
        // The classic MS Sans Serif units (6 x 13) give the sizes the original window had.
        MapCase{{0, 0, 287, 247}, {6, 13}, {0, 0, 431, 401}},
        // Halves: x = 2 -> 3.5 -> 4, width 6 -> 10.5 -> 11, y = 4 -> 6.5 -> 7.
        MapCase{{2, 4, 6, 4}, {7, 13}, {4, 7, 11, 7}}));

TEST(DialogBaseUnitsTest, DejaVuSansEightPointIsSevenByThirteen)
{
    // The dialogs' font on our machines (fonts-dejavu-core) at 96 dpi: 353 pixels for the 52 letters,
    // so (353 / 26 + 1) / 2 = 7 wide (a plain average would truncate 6.79 to 6), 13 high.
    const QFont font = DialogFont("MS Sans Serif", 8);
    ASSERT_EQ(QFontInfo(font).family(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(DialogBaseUnits(font), QSize(7, 13));
}
