#include "e2e/E2eTest.h"
#include "e2e/support/XlibReceiver.h"

namespace pontrel::e2e {
namespace {

class PointerTest : public E2eTest {};

TEST_F(PointerTest, MovesAndTheThreeClicksArriveAtTheirPixels) {
    XlibReceiver receiver(Rect{600, 300, 800, 500}, 0xC0C0C0);
    const Rect area = desktop.clientRect(receiver.window());
    const Point left{area.x + 10, area.y + 20};
    const Point middle{area.x + 333, area.y + 111};
    const Point right{area.x + area.width - 3, area.y + area.height - 2};

    PontrelApp app = playMacro({basicSettings(50), waitRecord(500), moveRecord(left),
                                clickRecord("left"), moveRecord(middle), clickRecord("middle"),
                                moveRecord(right), clickRecord("right")});
    ASSERT_NE(app.window(), 0U) << app.log();

    waitUntil([&] { return receiver.presses().size() >= 3; }, 10000);
    const std::vector<XlibReceiver::Press> presses = receiver.presses();
    const std::vector<std::pair<int, Point>> expected{{1, left}, {2, middle}, {3, right}};
    ASSERT_EQ(presses.size(), expected.size()) << "button presses that arrived";
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(presses[i].button, expected[i].first) << "press " << i;
        EXPECT_EQ(presses[i].at, expected[i].second)
            << "press " << i << " expected at " << pointText(expected[i].second) << ", arrived at "
            << pointText(presses[i].at);
    }
    EXPECT_EQ(desktop.pointer(), right);
}

TEST_F(PointerTest, CounterReachesTheClipboard) {
    const std::string countUp = "code:|005|start:|41|step:|1|";
    PontrelApp app = playMacro({basicSettings(50), countUp, countUp});
    ASSERT_NE(app.window(), 0U) << app.log();

    std::string clipboard;
    waitUntil(
        [&] {
            try {
                clipboard = desktop.clipboard();
            } catch (const std::exception&) {
                clipboard.clear();  // nobody owns the clipboard yet
            }
            return clipboard == "42";
        },
        10000, 100);
    EXPECT_EQ(clipboard, "42");
}

}  // namespace
}  // namespace pontrel::e2e
