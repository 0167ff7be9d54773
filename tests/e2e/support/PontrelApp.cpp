// The model's header first: Xlib's macros (None) would break it.
#include "model/MacroFile.h"

#include "e2e/support/PontrelApp.h"

#include <fstream>
#include <sstream>

namespace pontrel::e2e {

namespace {

constexpr int twipsPerPixel = 15;
constexpr std::size_t startDigitIndex = 5;

}  // namespace

std::filesystem::path writeMacro(const Desktop& desktop, const std::string& name,
                                 const std::vector<std::string>& records, char startDigit) {
    std::string bytes = encodeMacroFile(records);
    bytes[startDigitIndex] = startDigit;
    const std::filesystem::path path = desktop.folder() / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

PontrelApp::PontrelApp(const Desktop& desktop, const std::string& program,
                       const std::vector<std::string>& arguments)
    : desktop_(desktop) {
    std::vector<std::string> argv{program};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    process_ = desktop.start(argv, "pontrel");
}

Window PontrelApp::window(int timeoutMs) {
    if (window_ == 0) {
        window_ = desktop_.windowOf(process_->pid(), timeoutMs);
    }
    return window_;
}

Point PontrelApp::atDesign(int twipsX, int twipsY) {
    const Rect client = desktop_.clientRect(window());
    return {client.x + twipsX / twipsPerPixel, client.y + twipsY / twipsPerPixel};
}

std::string PontrelApp::log() const {
    std::ifstream in(desktop_.logFile("pontrel"));
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

}  // namespace pontrel::e2e
