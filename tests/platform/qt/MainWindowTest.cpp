#include <gtest/gtest.h>

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

#include "platform/qt/MainWindow.h"
#include "platform/qt/QtTestApp.h"
#include "support/VirtualClock.h"
#include "window/FormControls.h"

namespace pontrel {
namespace {

using test::qtTestApp;

std::vector<std::string> rows(int count) {
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) {
        lines.push_back("Zeile " + std::to_string(i));
    }
    return lines;
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.showForm();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    template <typename Widget>
    Widget* widget(const char* name) {
        auto* found = window.findChild<Widget*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    static void flush() { QCoreApplication::processEvents(); }

    QListView* list() { return widget<QListView>("lst_code"); }
    QPoint rowCentre(int row) {
        return list()->visualRect(list()->model()->index(row, 0)).center();
    }
    std::vector<int> shownSelection() {
        std::vector<int> selected;
        for (const QModelIndex& index : list()->selectionModel()->selectedRows()) {
            selected.push_back(index.row());
        }
        std::sort(selected.begin(), selected.end());
        return selected;
    }
    void fillList(int count, std::vector<int> selected = {}) {
        controls.lst_code.setItems(rows(count));
        for (const int row : selected) {
            controls.lst_code.setSelected(row, true);
        }
        flush();
    }

    QApplication& app = qtTestApp();
    test::VirtualClock clock;
    FormControls controls{clock};
    MainWindow window{controls.frm_pontrel, controls.allControls()};
};

TEST_F(MainWindowTest, WindowHasTheDesignClientSizeAndFollowsTheOuterHeight) {
    EXPECT_EQ(window.size(), QSize(305, 478));
    EXPECT_EQ(window.windowTitle(), "Pontrel");
    EXPECT_EQ(list()->geometry(), QRect(8, 336, 289, 134));

    controls.frm_pontrel.setOuterHeight(9619);
    controls.lst_code.setHeight(268 * 15);
    flush();
    EXPECT_EQ(window.height(), (9619 - 495) / 15);
    EXPECT_EQ(list()->height(), 268);
}

TEST_F(MainWindowTest, ProgramChangesReachTheWidgetsOnTheNextTurnOfTheEventLoop) {
    controls.txt_0_wait.setText("750");
    controls.lbl_info.setCaption("Welche Zeit?");
    controls.cmd_load.setEnabled(true);
    controls.chk_0_listbox.setValue(0);
    controls.com_0_startcode.setText("F5");
    controls.hsc_befehle.setValue(2);
    controls.img_pontrel.setVisible(false);
    controls.opt_3_click[2].click();
    controls.opt_3_click[2].setVisible(true);
    controls.chk_0_vordergrund.setToolTip("Warum nicht");
    EXPECT_EQ(widget<QLineEdit>("txt_0_wait")->text(), "500") << "not coalesced";

    flush();
    EXPECT_EQ(widget<QLineEdit>("txt_0_wait")->text(), "750");
    EXPECT_EQ(widget<QLabel>("lbl_info")->text(), "Welche Zeit?");
    EXPECT_TRUE(widget<QPushButton>("cmd_load")->isEnabled());
    EXPECT_FALSE(widget<QCheckBox>("chk_0_listbox")->isChecked());
    EXPECT_EQ(widget<QComboBox>("com_0_startcode")->currentText(), "F5");
    EXPECT_EQ(widget<QScrollBar>("hsc_befehle")->value(), 2);
    EXPECT_FALSE(widget<QWidget>("img_pontrel")->isVisible());
    EXPECT_TRUE(widget<QRadioButton>("opt_3_click(2)")->isChecked());
    EXPECT_TRUE(widget<QRadioButton>("opt_3_click(2)")->isVisible());
    EXPECT_EQ(widget<QCheckBox>("chk_0_vordergrund")->toolTip(), "Warum nicht");
}

TEST_F(MainWindowTest, ListRowsAndSelectionAreMirroredAndRebuiltOnlyWhenTheRowsChange) {
    QSignalSpy resets(list()->model(), &QAbstractItemModel::modelReset);
    controls.lst_code.setItems(rows(10));
    controls.lst_code.setItems(rows(1000));
    controls.lst_code.setSelected(999, true);
    controls.lst_code.setSelected(3, true);
    flush();
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(list()->model()->rowCount(), 1000);
    EXPECT_EQ(list()->model()->index(999, 0).data().toString(), "Zeile 999");
    EXPECT_EQ(shownSelection(), (std::vector<int>{3, 999}));
    EXPECT_EQ(list()->currentIndex().row(), 3);

    controls.lst_code.setSelected(999, false);
    flush();
    EXPECT_EQ(resets.count(), 1) << "a selection change rebuilt the rows";
    EXPECT_EQ(shownSelection(), (std::vector<int>{3}));
}

TEST_F(MainWindowTest, ClickOnARowIsSelectedBeforeMouseDownIsRaised) {
    fillList(6, {1, 2, 3});
    struct Seen {
        MouseButton button;
        std::vector<bool> selection;
        int listIndex;
    };
    std::vector<Seen> seen;
    controls.lst_code.MouseDown.connect([&](MouseButton button) {
        seen.push_back({button, controls.lst_code.selection(), controls.lst_code.listIndex()});
    });

    // A plain click on a row of a multiple selection leaves that row alone selected at once.
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, Qt::NoModifier, rowCentre(2));
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, Qt::ShiftModifier, rowCentre(4));
    QTest::mouseClick(list()->viewport(), Qt::RightButton, Qt::NoModifier, rowCentre(0));

    ASSERT_EQ(seen.size(), 3U);
    EXPECT_EQ(seen[0].button, MouseButton::Left);
    EXPECT_EQ(seen[0].selection, (std::vector<bool>{false, false, true, false, false, false}));
    EXPECT_EQ(seen[0].listIndex, 2);
    EXPECT_EQ(seen[1].selection, (std::vector<bool>{false, false, true, true, true, false}));
    EXPECT_EQ(seen[1].listIndex, 4);
    EXPECT_EQ(seen[2].button, MouseButton::Right);
    EXPECT_EQ(seen[2].selection, seen[1].selection) << "the right button changed the selection";
}

TEST_F(MainWindowTest, CtrlLettersRaiseKeyPressAndNothingElse) {
    fillList(4, {1});
    QGuiApplication::clipboard()->setText("vorher");
    std::vector<int> pressed;
    controls.lst_code.KeyPress.connect([&](int character) { pressed.push_back(character); });

    for (const Qt::Key key : {Qt::Key_A, Qt::Key_C, Qt::Key_D, Qt::Key_N, Qt::Key_V, Qt::Key_X}) {
        QTest::keyClick(list(), key, Qt::ControlModifier);
    }
    flush();
    EXPECT_EQ(pressed, (std::vector<int>{1, 3, 4, 14, 22, 24}));
    EXPECT_EQ(shownSelection(), (std::vector<int>{1})) << "Ctrl+A selected all by itself";
    EXPECT_EQ(controls.lst_code.selCount(), 1);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "vorher") << "Ctrl+C copied by itself";
}

TEST_F(MainWindowTest, ReleasedNavigationKeysRaiseKeyUpWithTheirVirtualKeyCode) {
    fillList(30, {5});
    list()->setFocus();
    const std::vector<std::pair<Qt::Key, int>> keys{
        {Qt::Key_PageUp, 33}, {Qt::Key_PageDown, 34}, {Qt::Key_End, 35},   {Qt::Key_Home, 36},
        {Qt::Key_Left, 37},   {Qt::Key_Up, 38},       {Qt::Key_Right, 39}, {Qt::Key_Down, 40},
        {Qt::Key_Delete, 46}, {Qt::Key_F5, 0},        {Qt::Key_Return, 0}};
    for (const auto& [key, code] : keys) {
        std::vector<int> released;
        controls.lst_code.KeyUp.connect([&](int virtualKey) { released.push_back(virtualKey); });
        QTest::keyRelease(list(), key);
        EXPECT_EQ(released, code == 0 ? std::vector<int>{} : std::vector<int>{code}) << key;
    }
}

TEST_F(MainWindowTest, ArrowKeyMovesTheSelectionBeforeItsKeyUp) {
    fillList(10, {5});
    list()->setFocus();
    int listIndexAtKeyUp = -1;
    controls.lst_code.KeyUp.connect([&](int) { listIndexAtKeyUp = controls.lst_code.listIndex(); });
    QTest::keyClick(list(), Qt::Key_Down);
    EXPECT_EQ(listIndexAtKeyUp, 6);
    EXPECT_TRUE(controls.lst_code.selected(6));
    EXPECT_FALSE(controls.lst_code.selected(5));
}

TEST_F(MainWindowTest, DoubleClickAndDroppedFilesReachTheList) {
    fillList(3);
    int doubleClicks = 0;
    std::vector<std::string> dropped;
    controls.lst_code.DblClick.connect([&] { ++doubleClicks; });
    controls.lst_code.FilesDropped.connect(
        [&](const std::vector<std::string>& paths) { dropped = paths; });

    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, Qt::NoModifier, rowCentre(1));
    EXPECT_EQ(doubleClicks, 1);

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/daten/mein makro.qmc"), QUrl("https://example.org/x"),
                  QUrl::fromLocalFile("/daten/b.qmc")});
    QDragEnterEvent enter(rowCentre(0), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list()->viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(rowCentre(0)), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list()->viewport(), &drop);
    EXPECT_EQ(dropped, (std::vector<std::string>{"/daten/mein makro.qmc", "/daten/b.qmc"}));
}

TEST_F(MainWindowTest, MaxLengthLimitsTypingButNeverCutsTheProgramsText) {
    auto* count = widget<QLineEdit>("txt_befehle");  // max length 5
    controls.txt_befehle.setText("1234567");
    flush();
    EXPECT_EQ(count->text(), "1234567");

    count->setFocus();
    count->end(false);
    QTest::keyClicks(count, "8");
    EXPECT_EQ(controls.txt_befehle.text(), "1234567");
    QTest::keyClick(count, Qt::Key_Backspace);
    EXPECT_EQ(controls.txt_befehle.text(), "123456");

    count->selectAll();
    QTest::keyClicks(count, "9876543");
    EXPECT_EQ(controls.txt_befehle.text(), "98765");
    EXPECT_EQ(count->text(), "98765");
}

TEST_F(MainWindowTest, UserActionsReachTheControls) {
    controls.com_0_abbruchcode.setListIndex(0);
    flush();
    std::vector<std::string> events;
    controls.txt_0_wait.Change.connect([&] { events.push_back("wait changed"); });
    controls.txt_0_wait.GotFocus.connect([&] { events.push_back("wait focus"); });
    controls.txt_0_wait.LostFocus.connect([&] { events.push_back("wait blur"); });
    controls.chk_0_vordergrund.Click.connect([&] { events.push_back("topmost clicked"); });
    controls.com_0_abbruchcode.Click.connect([&] { events.push_back("stop key chosen"); });
    controls.hsc_befehle.Change.connect([&] { events.push_back("scrolled"); });
    controls.cmd_neu.Click.connect([&] { events.push_back("Neu"); });
    controls.img_befehl_right.Click.connect([&] { events.push_back("right arrow"); });

    auto* wait = widget<QLineEdit>("txt_0_wait");
    QTest::mouseClick(wait, Qt::LeftButton);
    wait->setFocus();
    QTest::keyClicks(wait, "1");
    QTest::mouseClick(widget<QCheckBox>("chk_0_vordergrund"), Qt::LeftButton);
    widget<QComboBox>("com_0_abbruchcode")->setFocus();
    QTest::keyClick(widget<QComboBox>("com_0_abbruchcode"), Qt::Key_Down);
    auto* bar = widget<QScrollBar>("hsc_befehle");
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, QPoint(bar->width() - 4, 8));
    QTest::mouseClick(widget<QPushButton>("cmd_neu"), Qt::LeftButton);
    QTest::mouseClick(widget<QWidget>("img_befehl_right"), Qt::LeftButton);

    EXPECT_EQ(events, (std::vector<std::string>{"wait focus", "wait changed", "wait blur",
                                                "topmost clicked", "stop key chosen", "scrolled",
                                                "Neu", "right arrow"}));
    EXPECT_EQ(controls.txt_0_wait.text(), "5001");
    EXPECT_EQ(controls.chk_0_vordergrund.value(), 1);
    EXPECT_EQ(controls.com_0_abbruchcode.listIndex(), 1);
    EXPECT_EQ(controls.hsc_befehle.value(), 1);
}

TEST_F(MainWindowTest, OptionButtonsFollowTheirGroup) {
    for (int i = 0; i < 3; ++i) {
        controls.opt_3_click[i].setVisible(true);
    }
    controls.opt_3_click.select(0);
    flush();
    auto* middle = widget<QRadioButton>("opt_3_click(1)");
    const QPoint indicator(6, middle->height() / 2);
    QTest::mouseClick(middle, Qt::LeftButton, Qt::NoModifier, indicator);
    QTest::mouseClick(middle, Qt::LeftButton, Qt::NoModifier, indicator);  // keeps it on
    flush();
    EXPECT_EQ(controls.opt_3_click.selectedIndex(), 1);
    EXPECT_FALSE(widget<QRadioButton>("opt_3_click(0)")->isChecked());
    EXPECT_TRUE(middle->isChecked());
}

}  // namespace
}  // namespace pontrel
