#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "platform/qt/GermanTranslations.h"
#include "platform/qt/QtClipboardService.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtEnvironment.h"
#include "platform/qt/QtFileFilter.h"
#include "platform/qt/QtTestApp.h"
#include "platform/qt/QtWindowService.h"
#include "support/FakePlatform.h"

namespace pontrel {
namespace {

using test::qtTestApp;

TEST(QtFileFilterTest, ClassicFiltersBecomeQtFilters) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {".qmc|*.qmc", ".qmc (*.qmc)"},
        {"BMP - Windows Bitmap|*.bmp|JPG - JPEG Dateien|*.jpg",
         "BMP - Windows Bitmap (*.bmp);;JPG - JPEG Dateien (*.jpg)"},
        {".exe|*.exe|.bat|*.bat", ".exe (*.exe);;.bat (*.bat);;Alle Dateien (*)"},
        {"Bilder|*.bmp;*.jpg", "Bilder (*.bmp *.jpg)"},
        {"Makros|*.qmc|ohne Muster", "Makros (*.qmc)"},
        {"", ""},
    };
    for (const auto& [classic, qt] : cases) {
        EXPECT_EQ(qtFileFilter(classic), qt) << classic;
    }
}

TEST(QtEnvironmentTest, CommandLineQuotesEachArgumentQtLeftOver) {
    qtTestApp();
    QtEnvironment environment;
    EXPECT_EQ(environment.commandLine(), "\"/daten/ein Makro.qmc\" \"zwei\"");
    EXPECT_EQ(environment.programFileName(), "Pontrel");
    EXPECT_EQ(environment.pathSeparator(), "/");
    for (int i = 0; i < 100; ++i) {
        const double value = environment.randomUnit();
        ASSERT_GE(value, 0.0);
        ASSERT_LT(value, 1.0);
    }
}

// Notes what the clipboard held at the moment queued input was waited for.
class DrainWitness : public test::FakeInput {
public:
    using FakeInput::FakeInput;
    void drainQueuedInput() override {
        FakeInput::drainQueuedInput();
        clipboardWhileDraining.push_back(QGuiApplication::clipboard()->text().toStdString());
    }
    std::vector<std::string> clipboardWhileDraining;
};

TEST(QtClipboardServiceTest, QueuedInputIsDeliveredBeforeTheClipboardChanges) {
    qtTestApp();
    test::Transcript log;
    test::CallRecorder calls(log);
    DrainWitness input(calls);
    QtClipboardService clipboard(input);
    QGuiApplication::clipboard()->setText("alt");

    EXPECT_TRUE(clipboard.setText("15").ok());
    EXPECT_EQ(input.clipboardWhileDraining, std::vector<std::string>{"alt"});
    EXPECT_EQ(QGuiApplication::clipboard()->text(QClipboard::Clipboard), "15");
    EXPECT_TRUE(clipboard.clear().ok());
    EXPECT_EQ(QGuiApplication::clipboard()->text(QClipboard::Clipboard), "");
}

class QtWindowServiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.setFixedSize(305, 478);
        window.move(100, 120);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        service.attach(&window);
    }

    QApplication& app = qtTestApp();
    QWidget window;
    QtWindowService service;
};

TEST_F(QtWindowServiceTest, GeometryIsInScreenPixelsAtFifteenTwipsPerPixel) {
    EXPECT_EQ(service.twipsPerPixelX(), 15);
    EXPECT_EQ(service.twipsPerPixelY(), 15);
    EXPECT_EQ(service.frameRect(), (Rect{100, 120, 305, 478}));  // no window manager: no frame
}

TEST_F(QtWindowServiceTest, TopmostNeitherMovesNorRecreatesTheWindow) {
    const WId before = window.winId();
    ASSERT_TRUE(service.setTopmost(true).ok());
    QCoreApplication::processEvents();
    EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(window.windowHandle()->flags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.winId(), before);
    EXPECT_EQ(window.pos(), QPoint(100, 120));

    ASSERT_TRUE(service.setTopmost(false).ok());
    EXPECT_FALSE(window.windowHandle()->flags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(window.isVisible());
}

TEST_F(QtWindowServiceTest, OpacityIsSetWithoutACompositorToo) {
    ASSERT_TRUE(service.setOpacity(81).ok());
    EXPECT_NEAR(window.windowOpacity(), 81 / 255.0, 0.01);
    ASSERT_TRUE(service.setOpacity(255).ok());
    EXPECT_DOUBLE_EQ(window.windowOpacity(), 1.0);
}

TEST_F(QtWindowServiceTest, PopupMenuShowsTheEntriesAsTheControlsSayAndRaisesTheChosenOne) {
    MenuItem first("mnunewcommand", "Neuer Befehl", "Strg+N");
    MenuItem separator("mnuSeparator", "-");
    MenuItem cut("mnucut", "Ausschneiiden", "Strg+X");
    MenuItem copy("mnucopy", "Kopieren", "Strg+C");
    cut.setEnabled(false);
    Menu menu("mnulistboxcode", "ListBoxCode", {&first, &separator, &cut, &copy});
    std::vector<std::string> clicked;
    for (MenuItem* item : {&first, &cut, &copy}) {
        item->Click.connect([&clicked, item] { clicked.push_back(item->name()); });
    }

    QStringList shown;
    std::vector<bool> enabled;
    // The menu runs its own event loop; this looks at it from inside and picks "Kopieren".
    QTimer::singleShot(100, [&] {
        QMenu* popup = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* candidate = qobject_cast<QMenu*>(top); candidate && candidate->isVisible()) {
                popup = candidate;
            }
        }
        if (popup == nullptr) {
            ADD_FAILURE() << "no menu shown";
            return;
        }
        for (QAction* action : popup->actions()) {
            shown << (action->isSeparator() ? "-" : action->text());
            enabled.push_back(action->isEnabled());
        }
        popup->setActiveAction(popup->actions().at(3));
        QTest::keyClick(popup, Qt::Key_Return);
    });
    service.popupMenu(menu);

    EXPECT_EQ(shown, (QStringList{"Neuer Befehl\tStrg+N", "-", "Ausschneiiden\tStrg+X",
                                  "Kopieren\tStrg+C"}));
    EXPECT_EQ(enabled, (std::vector<bool>{true, true, false, true}));
    EXPECT_EQ(clicked, std::vector<std::string>{"mnucopy"});
}

// Runs look(dialog) on the next modal dialog of this kind once it is open.
template <typename Dialog>
void whenOpen(std::function<void(Dialog&)> look) {
    QTimer::singleShot(100, [look] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            ADD_FAILURE() << "no dialog open";
            return;
        }
        look(*dialog);
    });
}

TEST(QtDialogsTest, YesNoQuestionAnswersWithTheButtonPressed) {
    qtTestApp();
    QtDialogs dialogs;
    for (const auto button : {QMessageBox::Yes, QMessageBox::No}) {
        whenOpen<QMessageBox>([button](QMessageBox& box) {
            EXPECT_EQ(box.text(), "Möchten Sie diesen Befehl wirklich ausführen?");
            EXPECT_EQ(box.icon(), QMessageBox::Question);
            EXPECT_EQ(box.standardButtons(), QMessageBox::Yes | QMessageBox::No);
            box.button(button)->click();
        });
        const MessageAnswer answer =
            dialogs.messageBox("Möchten Sie diesen Befehl wirklich ausführen?", "",
                               MessageButtons::YesNo, MessageIcon::Question);
        EXPECT_EQ(answer, button == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No);
    }
}

TEST(QtDialogsTest, FileDialogStartsAtTheKeptNameAndACancelKeepsIt) {
    qtTestApp();
    QTemporaryDir folder;
    const QString kept = folder.filePath("alt.qmc");
    CommonDialog dialog{"comdia_pontrel", ".qmc|*.qmc", kept.toStdString()};
    QtDialogs dialogs;

    whenOpen<QFileDialog>([&](QFileDialog& files) {
        EXPECT_EQ(files.nameFilters(), QStringList{".qmc (*.qmc)"});
        EXPECT_EQ(files.directory().absolutePath(), folder.path());
        EXPECT_TRUE(files.testOption(QFileDialog::DontConfirmOverwrite));
        files.reject();
    });
    EXPECT_FALSE(dialogs.showSave(dialog));
    EXPECT_EQ(dialog.fileName, kept.toStdString());

    const QString chosen = folder.filePath("neu.qmc");
    whenOpen<QFileDialog>([&](QFileDialog& files) {
        // Typed into the name field, as a user does.
        auto* name = files.findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(name, nullptr);
        name->setText(chosen);
        static_cast<QDialog&>(files).accept();  // the file dialog's own accept, public there
    });
    EXPECT_TRUE(dialogs.showSave(dialog));
    EXPECT_EQ(dialog.fileName, chosen.toStdString());
}

TEST(QtDialogsTest, QtsOwnTextsAreGermanWhateverTheLocale) {
    qtTestApp();
    const QLocale userLocale;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const GermanTranslations german;
    ASSERT_TRUE(german.loaded());
    QtDialogs dialogs;

    QStringList question;
    whenOpen<QMessageBox>([&](QMessageBox& box) {
        question << box.button(QMessageBox::Yes)->text() << box.button(QMessageBox::No)->text();
        box.button(QMessageBox::No)->click();
    });
    dialogs.messageBox("Möchten Sie diesen Befehl wirklich ausführen?", "", MessageButtons::YesNo,
                       MessageIcon::Question);
    EXPECT_EQ(question, (QStringList{"&Ja", "&Nein"}));

    QString lookIn;
    QStringList save;
    CommonDialog dialog{"comdia_pontrel", ".qmc|*.qmc", ""};
    whenOpen<QFileDialog>([&](QFileDialog& files) {
        lookIn = files.findChild<QLabel*>("lookInLabel")->text();
        for (QAbstractButton* button : files.findChild<QDialogButtonBox*>("buttonBox")->buttons()) {
            save << button->text();
        }
        files.reject();
    });
    EXPECT_FALSE(dialogs.showSave(dialog));
    EXPECT_EQ(lookIn, "Suchen in:");
    save.sort();
    EXPECT_EQ(save, (QStringList{"Abbrechen", "S&peichern"}));
    QLocale::setDefault(userLocale);
}

}  // namespace
}  // namespace pontrel
