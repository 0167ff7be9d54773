// A program command from arbitrary text, as a record of the program-start command holds it:
// reading it must not crash or take long, and what it resolves to is an executable file.
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/linux/ProgramLauncher.h"
#include "platform/linux/ShellWords.h"

namespace {

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const std::string& word : pontrel::splitShellWords(text)) {
        check(word.size() <= text.size());
    }
    if (const auto command = pontrel::resolveProgramCommand(text)) {
        struct stat info {};
        check(stat(command->program.c_str(), &info) == 0 && S_ISREG(info.st_mode));
        check(access(command->program.c_str(), X_OK) == 0);
    }
    return 0;
}
