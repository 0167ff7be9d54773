#include <memory>

#include "e2e/E2eTest.h"
#include "e2e/support/QtReceiver.h"
#include "e2e/support/XlibReceiver.h"

namespace pontrel::e2e {
namespace {

enum class Receiver { Xlib, Qt };

struct TypingCase {
    const char* layout;
    Receiver receiver;
};

void PrintTo(const TypingCase& typing, std::ostream* out) {
    *out << typing.layout << (typing.receiver == Receiver::Xlib ? " Xlib" : " Qt");
}

class TypingTest : public E2eTest, public ::testing::WithParamInterface<TypingCase> {
protected:
    TypingTest() : E2eTest(GetParam().layout) {}
};

// What the macro's text command holds, and what a user sees arrive.
constexpr const char* macroText = "Grüße aus Köln: ÄÖÜ äöü ß @ € {{} 1+1=2 (ok){ENTER}Ende";
constexpr const char* typedText = "Grüße aus Köln: ÄÖÜ äöü ß @ € { 1+1=2 (ok)\nEnde";

TEST_P(TypingTest, MacroFromTheCommandLineTypesGermanTextExactly) {
    std::unique_ptr<XlibReceiver> xlib;
    std::unique_ptr<QtReceiver> qt;
    Window receiver = 0;
    if (GetParam().receiver == Receiver::Xlib) {
        xlib = std::make_unique<XlibReceiver>(Rect{700, 300, 600, 200}, 0xFFFFFF);
        receiver = xlib->window();
    } else {
        qt = std::make_unique<QtReceiver>(desktop, qtReceiverProgram);
        receiver = qt->window();
    }
    const auto received = [&] { return xlib ? xlib->text() : qt->text(); };

    PontrelApp app = playMacro({basicSettings(50), waitRecord(focusTimeMs), textRecord(macroText)});
    ASSERT_NE(app.window(), 0U) << app.log();
    ASSERT_TRUE(desktop.focus(receiver));

    waitUntil([&] { return received() == typedText; }, focusTimeMs + 10000, 20);
    EXPECT_EQ(received(), typedText) << "layout " << GetParam().layout;
}

INSTANTIATE_TEST_SUITE_P(LayoutsAndReceivers, TypingTest,
                         ::testing::Values(TypingCase{"de", Receiver::Xlib},
                                           TypingCase{"de", Receiver::Qt},
                                           TypingCase{"us", Receiver::Xlib},
                                           TypingCase{"us", Receiver::Qt}),
                         [](const ::testing::TestParamInfo<TypingCase>& typing) {
                             return std::string(typing.param.layout) +
                                    (typing.param.receiver == Receiver::Xlib ? "_Xlib" : "_Qt");
                         });

}  // namespace
}  // namespace pontrel::e2e
