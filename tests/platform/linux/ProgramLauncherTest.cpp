#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/linux/ProgramLauncher.h"
#include "platform/linux/ShellWords.h"
#include "platform/linux/TempFolder.h"

namespace pontrel {
namespace {

using test::TempFolder;

TEST(ShellWordsTest, SplitsAsAShellDoesWithoutExpanding) {
    const struct {
        const char* text;
        std::vector<std::string> words;
    } cases[] = {
        {"a  b\tc ", {"a", "b", "c"}},
        {"'a b' \"c d\"", {"a b", "c d"}},
        {R"("x\"y" 'it''s' a\ b)", {"x\"y", "its", "a b"}},
        {R"("a\nb" 'c\d')", {"a\\nb", "c\\d"}},
        {R"(pre"mid"'post' $HOME *)", {"premidpost", "$HOME", "*"}},
        {"\"\" ''", {"", ""}},
        {"\"unclosed arg", {"unclosed arg"}},
        {"   ", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(splitShellWords(c.text), c.words) << c.text;
    }
}

// Restores an environment variable and the current directory that a test changes.
class SavedState {
public:
    SavedState() : folder_(std::filesystem::current_path()) {
        if (const char* path = std::getenv("PATH")) {
            path_ = path;
        }
    }
    ~SavedState() {
        std::filesystem::current_path(folder_);
        if (path_) {
            setenv("PATH", path_->c_str(), 1);
        }
    }
    SavedState(const SavedState&) = delete;
    SavedState& operator=(const SavedState&) = delete;

private:
    std::filesystem::path folder_;
    std::optional<std::string> path_;
};

// Programs that report what they were started with: their name, parent, folder and arguments,
// NUL-separated, into one report file (written whole by a rename).
class ProgramLauncherTest : public testing::Test {
protected:
    ProgramLauncherTest() { std::filesystem::create_directory(folder / "with blank"); }

    void makeProgram(const std::string& path, const std::string& interpreter = "/bin/sh") {
        const std::string report = folder / "report";
        test::writeText(path,
                        "#!" + interpreter +
                            "\n{ printf '%s\\0' \"$0\" \"$PPID\" \"$(pwd)\" \"$@\"; } > '" +
                            report + ".tmp' && /bin/mv '" + report + ".tmp' '" + report + "'\n",
                        0755);
    }

    struct Report {
        std::string program;
        pid_t parent = 0;
        std::string folder;
        std::vector<std::string> arguments;
    };

    // The report of the program started last, waiting for it a few seconds at most.
    std::optional<Report> awaitReport() {
        const std::string path = folder / "report";
        for (int i = 0; i < 500 && !std::filesystem::exists(path); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (!std::filesystem::exists(path)) {
            return std::nullopt;
        }
        const std::string text = test::readText(path);
        std::filesystem::remove(path);
        std::vector<std::string> fields;
        for (std::size_t start = 0, end; (end = text.find('\0', start)) != std::string::npos;
             start = end + 1) {
            fields.push_back(text.substr(start, end - start));
        }
        if (fields.size() < 3) {
            return std::nullopt;
        }
        return Report{
            fields[0], std::stoi(fields[1]), fields[2], {fields.begin() + 3, fields.end()}};
    }

    Status start(const std::string& commandLine) {
        const auto command = resolveProgramCommand(commandLine);
        if (!command) {
            return Status::failure("not resolved");
        }
        return startDetached(*command);
    }

    TempFolder folder;
};

TEST_F(ProgramLauncherTest, FindsTheProgramAndItsArgumentsWithOrWithoutQuotes) {
    makeProgram(folder / "prog");
    makeProgram(folder / "with blank/prog");
    makeProgram(folder / "prog two");
    makeProgram(folder / "a");
    std::filesystem::create_directory(folder / "a b");
    makeProgram(folder / "a b/c");
    const std::string dir = folder.path();
    const struct {
        std::string commandLine;
        std::string program;
        std::vector<std::string> arguments;
    } cases[] = {
        {dir + "/prog a b", dir + "/prog", {"a", "b"}},
        {"  " + dir + "/prog  ", dir + "/prog", {}},
        {dir + "/with blank/prog x  y", dir + "/with blank/prog", {"x", "y"}},
        {dir + "/with blank/prog", dir + "/with blank/prog", {}},
        {"\"" + dir + "/with blank/prog\" \"one arg\" 'two words' three\\ four",
         dir + "/with blank/prog",
         {"one arg", "two words", "three four"}},
        // The whole text wins over a shorter program name.
        {dir + "/prog two", dir + "/prog two", {}},
        // The longest prefix naming a program wins over a shorter one.
        {dir + "/a b/c d", dir + "/a b/c", {"d"}},
        {dir + "/a x 'y z'", dir + "/a", {"x", "y z"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.commandLine);
        ASSERT_TRUE(start(c.commandLine).ok());
        const auto report = awaitReport();
        ASSERT_TRUE(report);
        EXPECT_EQ(report->program, c.program);
        EXPECT_EQ(report->arguments, c.arguments);
        EXPECT_NE(report->parent, getpid()) << "the program must not be our child";
    }
}

TEST_F(ProgramLauncherTest, LooksUpBareNamesOnPathAndRunsInOurCurrentFolder) {
    SavedState saved;
    makeProgram(folder / "with blank/pontrel-test-prog");
    setenv("PATH", (folder / "with blank").c_str(), 1);
    std::filesystem::current_path(folder.path());
    ASSERT_TRUE(start("pontrel-test-prog arg").ok());
    auto report = awaitReport();
    ASSERT_TRUE(report);
    EXPECT_EQ(report->program, folder / "with blank/pontrel-test-prog");
    EXPECT_EQ(report->arguments, std::vector<std::string>{"arg"});
    EXPECT_EQ(std::filesystem::canonical(report->folder),
              std::filesystem::canonical(folder.path()));

    makeProgram(folder / "local");
    ASSERT_TRUE(start("./local").ok());
    report = awaitReport();
    ASSERT_TRUE(report);
    EXPECT_EQ(report->program, "./local");
}

TEST_F(ProgramLauncherTest, AProgramThatCannotBeStartedIsAFailure) {
    test::writeText(folder / "not executable", "#!/bin/sh\n", 0644);
    makeProgram(folder / "bad interpreter", "/nonexistent/interpreter");
    const std::string cases[] = {
        folder / "missing",
        folder / "missing arg",
        "\"" + folder / "with blank" + "\"",
        folder / "not executable",
        "",
        "  ",
    };
    for (const auto& commandLine : cases) {
        EXPECT_FALSE(start(commandLine).ok()) << commandLine;
    }
    // It resolves, but exec fails: the failure must come back from the child.
    const auto command = resolveProgramCommand(folder / "bad interpreter");
    ASSERT_TRUE(command);
    EXPECT_FALSE(startDetached(*command).ok());
}

TEST_F(ProgramLauncherTest, APassedDescriptorIsTheProgramsThirdAndItsOnlyCopyOutlivesUs) {
    int fds[2];
    ASSERT_EQ(pipe2(fds, O_CLOEXEC), 0);
    ASSERT_TRUE(startDetached({"/bin/sh", {"-c", "echo ready >&3; sleep 0.2"}}, fds[1]).ok());
    close(fds[1]);
    std::string said;
    char buffer[64];
    pollfd readable{fds[0], POLLIN, 0};
    ssize_t got = 1;
    // The end comes when the program ends: no one else kept the descriptor open.
    while (got > 0 && poll(&readable, 1, 5000) == 1) {
        got = read(fds[0], buffer, sizeof buffer);
        said.append(buffer, static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
    }
    close(fds[0]);
    EXPECT_EQ(said, "ready\n");
    EXPECT_EQ(got, 0) << "the pipe never closed";
}

// A record's program text can be a megabyte of words; trying every prefix of it as a file name
// would take time in the square of its length and hang the window.
TEST_F(ProgramLauncherTest, AVeryLongTextOfWordsIsResolvedWithoutTryingEveryPrefix) {
    makeProgram(folder / "prog");
    std::string words;
    for (int i = 0; i < 300000; ++i) {
        words += "x ";
    }
    const auto command = resolveProgramCommand(folder / "prog" + " " + words);
    ASSERT_TRUE(command);
    EXPECT_EQ(command->program, folder / "prog");
    EXPECT_EQ(command->arguments.size(), 300000U);
    EXPECT_FALSE(resolveProgramCommand(words));
    EXPECT_FALSE(resolveProgramCommand(std::string(100000, 'y')));
}

}  // namespace
}  // namespace pontrel
