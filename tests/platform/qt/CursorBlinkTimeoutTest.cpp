#include "platform/qt/CursorBlinkTimeout.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QStyleHints>
#include <QTest>

#include "platform/qt/QtTestApp.h"

namespace pontrel {
namespace {

int flashTime() {
    return QGuiApplication::styleHints()->cursorFlashTime();
}

TEST(CursorBlinkTimeoutTest, BlinkingStopsWithoutInputAndComesBackWithAKey) {
    test::qtTestApp();
    const int desktop = flashTime();
    ASSERT_GT(desktop, 0);
    {
        const CursorBlinkTimeout blink(std::chrono::milliseconds(100));
        QLineEdit edit;
        edit.show();
        EXPECT_EQ(flashTime(), desktop);
        EXPECT_TRUE(test::processEventsUntil([] { return flashTime() == 0; }));

        QTest::keyClick(&edit, Qt::Key_A);
        EXPECT_EQ(flashTime(), desktop);
        EXPECT_TRUE(test::processEventsUntil([] { return flashTime() == 0; }));
    }
    EXPECT_EQ(flashTime(), desktop);
}

}  // namespace
}  // namespace pontrel
