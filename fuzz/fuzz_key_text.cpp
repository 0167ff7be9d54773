// Key text from arbitrary bytes: parsing must not crash, an error returns no actions, and a
// successful parse releases every key it presses, in reverse order.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "engine/KeyTextParser.h"
#include "engine/KeyTranscript.h"

namespace {

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void checkBalanced(const pontrel::KeyActions& actions) {
    std::vector<pontrel::NamedKey> down;
    for (const pontrel::KeyAction& action : actions) {
        if (action.kind == pontrel::KeyAction::Kind::Press) {
            for (pontrel::NamedKey key : down) {
                check(key != action.key);
            }
            down.push_back(action.key);
        } else if (action.kind == pontrel::KeyAction::Kind::Release) {
            check(!down.empty() && down.back() == action.key);
            down.pop_back();
        }
    }
    check(down.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const pontrel::KeyTextParse parse = pontrel::parseKeyText(text);
    if (parse.error) {
        check(parse.actions.empty());
        check(parse.error->position <= size);
        check(!parse.error->message().empty());
        return 0;
    }
    checkBalanced(parse.actions);
    const std::string transcript = pontrel::describe(parse.actions);
    check(parse.actions.empty() == transcript.empty());
    return 0;
}
