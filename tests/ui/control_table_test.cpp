#include "ui/control_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string_view>

namespace tallaro::ui {
namespace {

TEST(ControlTable, EveryControlLiesWithinTheClientAreaOnWholePixels) {
    for (const ControlSpec &control : kControls) {
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

TEST(ControlTable, NamesAreUniqueAndCarryTheirKind) {
    std::set<std::string_view> names;
    for (const ControlSpec &control : kControls) {
        SCOPED_TRACE(control.name);
        EXPECT_TRUE(names.insert(control.name).second);
        const std::string_view prefix = control.kind == ControlKind::Button       ? "Btn"
                                        : control.kind == ControlKind::InputField ? "Text"
                                                                                  : "L";
        EXPECT_TRUE(control.name.starts_with(prefix));
    }
}

TEST(ControlTable, FontsKeepTheirDesignSizesAndWeights) {
    EXPECT_EQ(fontSpec(FontRole::WindowDefault).pointSize, 8.25);
    EXPECT_EQ(fontSpec(FontRole::WindowDefault).weight, 400);
    EXPECT_EQ(fontSpec(FontRole::Bold).pointSize, 8.25);
    EXPECT_EQ(fontSpec(FontRole::Bold).weight, 700);
    EXPECT_EQ(fontSpec(FontRole::BoldLarge).pointSize, 18.0);
    EXPECT_EQ(fontSpec(FontRole::BoldLarge).weight, 700);
    EXPECT_EQ(twipsToPixels(kWindow.clientWidth), 217);
    EXPECT_EQ(twipsToPixels(kWindow.clientHeight), 107);
}

}  // namespace
}  // namespace tallaro::ui
