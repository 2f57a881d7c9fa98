#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/app.h"
#include "fake_platform.h"
#include "loading/preview_window.h"
#include "platform/ui/hit_test.h"

namespace vorlane {
namespace {

struct MainWindow : ::testing::Test {
    testing::FakePlatform fake;
    App app{fake};
    Control& c(const char* name) { return app.main.control(name); }
};

TEST_F(MainWindow, HasFiftyUniquelyNamedControls) {
    std::set<std::string> names;
    for (const Control& control : app.main.controls()) names.insert(control.name());
    EXPECT_EQ(app.main.controls().size(), 50u);
    EXPECT_EQ(names.size(), 50u);
}

TEST_F(MainWindow, HoldsEveryControlTheHandlersUse) {
    for (const char* name :
         {"编辑框1", "编辑框2", "编辑框3", "编辑框4", "编辑框5", "编辑框6", "编辑框7", "编辑框8", "编辑框9",
          "编辑框10", "编辑框11", "编辑框12", "编辑框13", "单选框1", "单选框2", "透明标签4", "透明标签5",
          "透明标签10", "透明标签13", "透明标签15", "透明标签16", "时钟1", "动画物体1", "动画框1", "通用对话框1", "图形按钮12"}) {
        EXPECT_NE(app.main.find(name), nullptr) << name;
    }
    Window preview(previewWindowSpec(), app);
    for (const char* name : {"图形按钮3", "动画框1", "动画物体1"}) EXPECT_NE(preview.find(name), nullptr) << name;
}

TEST_F(MainWindow, PlacesChildrenRelativeToTheirParents) {
    EXPECT_EQ(c("图片框2").windowRect(), (Rect{424, 80, 408, 176}));
    EXPECT_EQ(c("动画框1").windowRect(), (Rect{424, 80, 408, 176}));
    EXPECT_EQ(c("透明标签8").windowRect().left, 48);
    EXPECT_EQ(c("图形按钮7").windowRect().right(), 848);
    EXPECT_GT(c("图形按钮7").windowRect().right(), app.main.bounds().width);
}

TEST_F(MainWindow, StartsInTheLayoutsStates) {
    EXPECT_FALSE(c("单选框1").checked());
    EXPECT_FALSE(c("单选框2").checked());
    EXPECT_FALSE(c("图形按钮12").checked());
    EXPECT_EQ(c("时钟1").interval(), 100);
    EXPECT_EQ(c("透明标签13").text(), "1.0");
    EXPECT_EQ(c("透明标签15").text(), "1.0");
    EXPECT_EQ(c("透明标签5").text(), "0.0.0.0");
    for (int i = 4; i <= 13; ++i) {
        const Control& box = c(("编辑框" + std::to_string(i)).c_str());
        EXPECT_FALSE(box.visible());
        EXPECT_FALSE(box.enabled());
    }
    for (const char* name : {"编辑框1", "编辑框2", "编辑框3"}) {
        EXPECT_TRUE(c(name).visible());
        EXPECT_TRUE(c(name).enabled());
        EXPECT_EQ(c(name).text(), "");
    }
}

TEST_F(MainWindow, HitTestingFollowsTheStackingAndSkipsWhatIsNotOnTheSurface) {
    EXPECT_STREQ(controlAt(app.main, 380, 288)->name(), "图形按钮8") << "the overlap belongs to the upper button";
    EXPECT_STREQ(controlAt(app.main, 500, 150)->name(), "动画框1") << "a child lies above its picture box";
    EXPECT_STREQ(controlAt(app.main, 420, 70)->name(), "图片框3");
    EXPECT_EQ(controlAt(app.main, 420, 10), nullptr) << "bare surface: the window can be dragged here";
    EXPECT_STREQ(controlAt(app.main, 0, 420)->name(), "图片框1") << "the band starts left of the window";
    EXPECT_EQ(controlAt(app.main, 396, 138), nullptr) << "the invisible timer takes no clicks";
}

TEST_F(MainWindow, ClicksFlipTheToggleAndCheckOneRadioOfTheGroup) {
    app.main.fire(c("单选框2"), Event::Clicked);
    EXPECT_TRUE(c("单选框2").checked());
    EXPECT_FALSE(c("单选框1").checked());
    app.main.fire(c("单选框1"), Event::Clicked);
    EXPECT_TRUE(c("单选框1").checked());
    EXPECT_FALSE(c("单选框2").checked());
    app.main.fire(c("单选框1"), Event::Clicked);
    EXPECT_TRUE(c("单选框1").checked());
}

}  // namespace
}  // namespace vorlane
