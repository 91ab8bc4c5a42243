#include <gtest/gtest.h>

#include "reports/PrintLayout.h"

namespace quorvane {
namespace {

// A page of 1000 x 2000 pixels with lines of 20: fractions of the page cut toward zero.
TEST(PrintLayout, PlacesTheTableHeaderRowsAndFooterOnThePage) {
    const TPrintLayout layout(1000, 2000, 20);
    EXPECT_EQ(layout.LinesPerPage(), 94); // trunc(1900 / 20) - 1
    EXPECT_EQ(layout.HeaderCell(0), (TPrintRect{25, 48, 174, 68}));
    EXPECT_EQ(layout.HeaderCell(1), (TPrintRect{175, 48, 274, 68}));
    EXPECT_EQ(layout.HeaderCell(3), (TPrintRect{475, 48, 975, 68}));
    EXPECT_EQ(layout.HeaderRuleY(), 80);
    EXPECT_EQ(layout.FirstRowTop(), 90);
    // The size values end left of their header's edge; sizes align right, the rest left.
    EXPECT_EQ(layout.RowCell(1, 90), (TPrintRect{175, 90, 270, 110}));
    EXPECT_EQ(TPrintLayout::RowAlign(1), TPrintAlign::Right);
    EXPECT_EQ(TPrintLayout::RowAlign(3), TPrintAlign::Left);
    EXPECT_EQ(layout.RowBand(90), (TPrintRect{25, 90, 975, 110}));
    EXPECT_EQ(layout.FooterRuleY(), 1955);
    EXPECT_EQ(layout.FooterLeftCell(), (TPrintRect{25, 1965, 800, 1985}));
    EXPECT_EQ(layout.FooterRightCell(), (TPrintRect{500, 1965, 975, 1985}));
}

TEST(PrintLayout, CountsThePagesTheRowsTake) {
    const TPrintLayout layout(1000, 2000, 20);
    EXPECT_EQ(layout.PageCount(0), 1);
    EXPECT_EQ(layout.PageCount(94), 1);
    EXPECT_EQ(layout.PageCount(95), 2);
    EXPECT_EQ(layout.PageCount(188), 2);
    // A font taller than the page still prints a row a page.
    const TPrintLayout tall(100, 100, 500);
    EXPECT_EQ(tall.LinesPerPage(), 1);
    EXPECT_EQ(tall.PageCount(3), 3);
}

} // namespace
} // namespace quorvane
