#include "ui/window_design.h"

#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string_view>

namespace tallaro::ui {
namespace {

TEST(WindowDesign, EveryControlLiesWithinTheClientAreaOnWholePixels) {
    for (const ControlDesign &control : kControls) {
        SCOPED_TRACE(control.name);
        EXPECT_GE(control.left, 0);
        EXPECT_GE(control.top, 0);
        EXPECT_LE(control.left + control.width, kWindow.clientWidth);
        EXPECT_LE(control.top + control.height, kWindow.clientHeight);
        for (int length : {control.left, control.top, control.width, control.height}) {
            EXPECT_EQ(length % kTwipsPerPixel, 0);
        }
    }
}

TEST(WindowDesign, NamesAreUniqueAndCarryTheirKind) {
    std::set<std::string_view> names;
    for (const ControlDesign &control : kControls) {
        SCOPED_TRACE(control.name);
        EXPECT_TRUE(names.insert(control.name).second);
        const std::string_view prefix = control.kind == ControlKind::Button       ? "Btn"
                                        : control.kind == ControlKind::InputField ? "Text"
                                                                                  : "L";
        EXPECT_TRUE(control.name.starts_with(prefix));
    }
}

TEST(WindowDesign, FontsKeepTheirDesignSizesAndWeights) {
    EXPECT_EQ(fontDesign(FontRole::WindowDefault).pointSize, 8.25);
    EXPECT_EQ(fontDesign(FontRole::WindowDefault).weight, 400);
    EXPECT_EQ(fontDesign(FontRole::Bold).pointSize, 8.25);
    EXPECT_EQ(fontDesign(FontRole::Bold).weight, 700);
    EXPECT_EQ(fontDesign(FontRole::BoldLarge).pointSize, 18.0);
    EXPECT_EQ(fontDesign(FontRole::BoldLarge).weight, 700);
    EXPECT_EQ(twipsToPixels(kWindow.clientWidth), 217);
    EXPECT_EQ(twipsToPixels(kWindow.clientHeight), 107);
}

TEST(WindowDesign, EachFieldIsTheInputFieldOfItsName) {
    EXPECT_EQ(kControls[fieldControl(Field::NumPers)].name, "TextNumPers");
    EXPECT_EQ(kControls[fieldControl(Field::MoneyPers)].name, "TextMoneyPers");
    EXPECT_EQ(kControls[fieldControl(Field::BaseCost)].name, "TextBaseCost");
    EXPECT_EQ(kControls[kLblPrice].name, "LblPrice");
    EXPECT_EQ(kControls[kLblTime].name, "LblTime");
}

struct Placement {
    const char *name;
    ScreenRect design;
    ScreenRect workArea;
    ScreenRect placed;
};

// A failing row says its name.
void PrintTo(const Placement &row, std::ostream *out) {
    *out << row.name;
}

class PlacementTest : public testing::TestWithParam<Placement> {};

TEST_P(PlacementTest, DesignPlaceWhenItFitsOtherwiseCentred) {
    EXPECT_EQ(placeInWorkArea(GetParam().design, GetParam().workArea), GetParam().placed);
}

INSTANTIATE_TEST_SUITE_P(
    WorkAreas, PlacementTest,
    testing::Values(
        Placement{"Fits", {388, 419, 217, 107}, {0, 0, 1280, 1024}, {388, 419, 217, 107}},
        // The right and bottom edges may touch the work area's.
        Placement{
            "TouchesTheFarEdges", {388, 419, 217, 107}, {0, 0, 605, 526}, {388, 419, 217, 107}},
        Placement{"OnePixelTooWide", {388, 419, 217, 107}, {0, 0, 604, 1024}, {193, 458, 217, 107}},
        // The left and top edges may touch too; a pixel beyond either is out.
        Placement{
            "TouchesTheLeftEdge", {388, 419, 217, 107}, {388, 0, 800, 1024}, {388, 419, 217, 107}},
        Placement{
            "TouchesTheTopEdge", {388, 419, 217, 107}, {0, 419, 1280, 800}, {388, 419, 217, 107}},
        Placement{"OnePixelLeftOfTheArea",
                  {388, 419, 217, 107},
                  {389, 0, 800, 1024},
                  {680, 458, 217, 107}},
        Placement{"OnePixelAboveTheArea",
                  {388, 419, 217, 107},
                  {0, 420, 1280, 800},
                  {531, 766, 217, 107}},
        Placement{
            "BelowAPanelAtTheTop", {388, 419, 217, 107}, {0, 430, 800, 600}, {291, 676, 217, 107}},
        // Work areas that start below a top panel or right of a left dock:
        // their far edges count from where they start.
        Placement{"UnderATopPanelTouchingTheBottom",
                  {388, 419, 217, 107},
                  {0, 64, 1280, 462},
                  {388, 419, 217, 107}},
        Placement{"UnderATopPanelOnePixelTooLow",
                  {388, 419, 217, 107},
                  {0, 64, 1280, 461},
                  {531, 241, 217, 107}},
        Placement{"BesideALeftDockTouchingTheRight",
                  {388, 419, 217, 107},
                  {64, 0, 541, 1024},
                  {388, 419, 217, 107}},
        Placement{"BesideALeftDockOnePixelTooNarrow",
                  {388, 419, 217, 107},
                  {64, 0, 540, 1024},
                  {225, 458, 217, 107}},
        Placement{"OnASecondScreenToTheLeft",
                  {388, 419, 217, 107},
                  {-1024, 0, 1024, 768},
                  {-621, 330, 217, 107}},
        Placement{
            "LargerThanTheWorkArea", {388, 419, 217, 107}, {0, 0, 200, 100}, {-8, -3, 217, 107}}),
    [](const testing::TestParamInfo<Placement> &row) { return row.param.name; });

}  // namespace
}  // namespace tallaro::ui
