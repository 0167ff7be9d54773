// The editor in-process with its Qt view on a private Xvfb: one keystroke in a panel field with
// 999 commands in the list (record written, list rebuilt and repainted), and loading and saving
// a file of 32001 records.

#include <unistd.h>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "BenchFigures.h"
#include "model/MacroFile.h"
#include "platform/linux/PosixFileSystem.h"
#include "platform/qt/MainWindow.h"
#include "platform/qt/QtScheduler.h"
#include "support/FakePlatform.h"
#include "support/display/XvfbServer.h"
#include "window/MainForm.h"

namespace pontrel::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int keystrokes = 200;
constexpr int fileRuns = 10;

void writeFile(const std::string& path, int commands) {
    std::vector<std::string> records{"code:|000|wait:|500|loop:|1|start:|no|stop:|ESC|"};
    for (int i = 1; i <= commands; ++i) {
        records.push_back("code:|002|xpos:|" + std::to_string(i) + "|ypos:|200|");
    }
    std::ofstream(path, std::ios::binary) << encodeMacroFile(records);
}

Figures timed(int count, const std::function<void()>& work) {
    std::vector<double> ms;
    for (int i = 0; i < count; ++i) {
        const auto start = Clock::now();
        work();
        ms.push_back(millisecondsBetween(start, Clock::now()));
    }
    return figures(ms);
}

void report(const char* what, const Figures& f, double goal) {
    std::printf("%-38s median %7.2f ms  p99 %7.2f ms  (goal <= %.0f ms: %s; median/goal %.2f)\n",
                what, f.median, f.p99, goal, verdict(f.median <= goal), f.median / goal);
}

}  // namespace
}  // namespace pontrel::bench

int main(int argc, char** argv) {
    using namespace pontrel;
    test::XvfbServer server;
    std::string folder = (std::filesystem::temp_directory_path() / "editor_bench.XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr || chdir(folder.c_str()) != 0) {
        std::perror("temporary folder");
        return 1;
    }
    QApplication application(argc, argv);
    QtScheduler scheduler;
    test::FakePlatform fakes;
    PosixFileSystem files;
    Platform platform{scheduler,     fakes.input,  fakes.screen,      fakes.system, fakes.clipboard,
                      fakes.dialogs, fakes.window, fakes.environment, files,        fakes.recorder};
    MainForm form(platform);
    MainWindow window(form.frm_pontrel, form.allControls());
    form.lifecycle.Form_Load();
    window.flushPending();
    window.showForm();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "the window did not show\n");
        return 1;
    }

    bench::writeFile("liste.qmc", 999);
    form.dateipfad = "liste.qmc";
    form.storage.cmd_load_Click();
    form.hsc_befehle.setValue(500);
    QCoreApplication::processEvents();
    auto* field = window.findChild<QLineEdit*>("txt_2_x");
    field->setFocus();
    field->end(false);
    QCoreApplication::processEvents();
    const std::string before = form.befehl_zeilen[500];
    int stroke = 0;
    const bench::Figures keystroke = bench::timed(bench::keystrokes, [&] {
        QTest::keyClick(field, ++stroke % 2 == 1 ? Qt::Key_7 : Qt::Key_Backspace);
        QCoreApplication::processEvents();
    });
    QTest::keyClick(field, Qt::Key_7);
    QCoreApplication::processEvents();
    const bool written = form.befehl_zeilen[500] != before;

    bench::writeFile("gross.qmc", 32000);
    const bench::Figures load = bench::timed(bench::fileRuns, [&] {
        form.dateipfad = "gross.qmc";
        form.storage.cmd_load_Click();
        QCoreApplication::processEvents();
    });
    const int loaded = form.befehl_anzahl;
    const bench::Figures save = bench::timed(bench::fileRuns, [&] {
        form.dateipfad = "kopie.qmc";
        form.storage.cmd_save_Click();
    });
    const auto saved = std::filesystem::file_size("kopie.qmc");
    std::filesystem::remove_all(folder);

    std::printf("editor, Qt view on Xvfb\n");
    bench::report("keystroke in txt_2_x, 999 commands", keystroke, 5);
    bench::report("load of 32001 records", load, 150);
    bench::report("save of 32001 records", save, 100);
    std::printf("record rewritten by the keystrokes: %s; commands loaded: %d; saved %ju bytes\n",
                written ? "yes" : "NO", loaded, static_cast<std::uintmax_t>(saved));
    return 0;
}
