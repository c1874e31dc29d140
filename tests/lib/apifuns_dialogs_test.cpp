// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// The dialogs of APIFuns, shown by the real library in this process (which has
// a QApplication, as the program does) and driven the way a user would.
#include "lib/public/interfaces.h"
#include "platform/com/bstr.h"
#include "platform/com/runtime.h"
#include "platform/com/variant.h"
#include "tests/lib/libraryfile.h"
#include "tests/support/temptree.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QDropEvent>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <QWindow>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <thread>

namespace
{

using namespace mrb::platform;
using namespace std::string_literals;
using mrb::test::ScopedEnv;
using mrb::test::TempTree;

constexpr CLSID clsidAPIFuns = QFC_CLSID_APIFUNS_INIT;
constexpr IID iidAPIFuns = QFC_IID_APIFUNS_INIT;

// Runs act on the next modal window of type W once it shows; gives up (and
// closes whatever is modal) after ten seconds so a test never hangs.
template <class W> void whenShown(std::function<void(W *)> act)
{
    auto *timer = new QTimer;
    auto *started = new std::chrono::steady_clock::time_point(std::chrono::steady_clock::now());
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, started, act] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *w = qobject_cast<W *>(modal)) {
            timer->stop();
            timer->deleteLater();
            delete started;
            act(w);
        } else if (std::chrono::steady_clock::now() - *started > std::chrono::seconds(10)) {
            timer->stop();
            timer->deleteLater();
            delete started;
            ADD_FAILURE() << "the expected window did not show";
            if (auto *dialog = qobject_cast<QDialog *>(modal))
                dialog->reject();
        }
    });
    timer->start();
}

void typeFileName(QFileDialog *dialog, const QString &name)
{
    auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(edit, nullptr);
    edit->setText(name);
}

std::string waitForFile(const std::string &path)
{
    for (int i = 0; i < 100 && !std::filesystem::exists(path); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return TempTree::read(path);
}

class Dialogs : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(registerLibrary(mrb::test::libraryFile()), S_OK);
        HRESULT status = E_FAIL;
        api = createInstance<QfcAPIFuns>(clsidAPIFuns, iidAPIFuns, &status);
        ASSERT_EQ(status, S_OK);
        owner.setWindowTitle(QStringLiteral("Marrowby"));
        owner.resize(400, 300);
        owner.show();
        handle = static_cast<std::int32_t>(owner.winId());
    }

    std::string saveName(const std::string &fileName, const std::string &defDir, const std::string &defExt)
    {
        Bstr title("Save Listing As");
        Bstr name(fileName);
        Bstr filter("Playlist\0*.m3u\0All files\0*.*"s); // no NUL after the last pattern
        Bstr dir(defDir);
        Bstr ext(defExt);
        Bstr result;
        EXPECT_EQ(api->lpVtbl->GetFileSaveName(
                      api.get(), handle, title.get(), name.get(), filter.get(), dir.get(), ext.get(), result.out()),
            S_OK);
        return result.utf8();
    }

    TempTree tree;
    ScopedEnv registry {"QFC_REGISTRY_DIR", tree.path("registry")};
    ComPtr<QfcAPIFuns> api;
    QWidget owner;
    std::int32_t handle = 0;
};

TEST_F(Dialogs, SaveAddsTheDefaultExtensionToATypedName)
{
    const std::string out = tree.dir("out");
    whenShown<QFileDialog>([&](QFileDialog *dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Save Listing As"));
        EXPECT_EQ(dialog->directory().absolutePath().toStdString(), out);
        EXPECT_EQ(
            dialog->nameFilters(), (QStringList {QStringLiteral("Playlist (*.m3u)"), QStringLiteral("All files (*)")}));
        EXPECT_EQ(dialog->selectedNameFilter(), QStringLiteral("Playlist")); // details hidden, as the caller wrote it
        EXPECT_EQ(dialog->parentWidget(), &owner);
        typeFileName(dialog, QStringLiteral("my list"));
        static_cast<QDialog *>(dialog)->accept();
    });
    EXPECT_EQ(saveName("", out, "m3u"), out + "/my list.m3u");
}

TEST_F(Dialogs, SaveKeepsAnExtensionTheUserTyped)
{
    const std::string out = tree.dir("out");
    whenShown<QFileDialog>([&](QFileDialog *dialog) {
        typeFileName(dialog, QStringLiteral("list.txt"));
        static_cast<QDialog *>(dialog)->accept();
    });
    EXPECT_EQ(saveName("", out, "m3u"), out + "/list.txt");
}

TEST_F(Dialogs, SaveCancelledGivesEmptyText)
{
    whenShown<QFileDialog>([&](QFileDialog *dialog) {
        auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(edit, nullptr);
        EXPECT_TRUE(edit->text().isEmpty());
        dialog->reject();
    });
    EXPECT_EQ(saveName("", tree.root(), "m3u"), "");
}

TEST_F(Dialogs, SaveOffersTheGivenNameAndAsksBeforeReplacing)
{
    const std::string out = tree.dir("out");
    tree.file("out/old.m3u", 10);
    // First refuse to replace (the dialog stays), then agree.
    whenShown<QFileDialog>([&](QFileDialog *dialog) {
        auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->text(), QStringLiteral("old.m3u"));
        whenShown<QMessageBox>([](QMessageBox *box) { box->button(QMessageBox::No)->click(); });
        static_cast<QDialog *>(dialog)->accept();
        EXPECT_TRUE(dialog->isVisible());
        whenShown<QMessageBox>([](QMessageBox *box) { box->button(QMessageBox::Yes)->click(); });
        static_cast<QDialog *>(dialog)->accept();
    });
    EXPECT_EQ(saveName("old.m3u", out, "m3u"), out + "/old.m3u");
}

TEST_F(Dialogs, SaveRefusesAFolderThatDoesNotExist)
{
    whenShown<QFileDialog>([&](QFileDialog *dialog) {
        typeFileName(dialog, QString::fromStdString(tree.path("nowhere/list")));
        whenShown<QMessageBox>([](QMessageBox *box) {
            EXPECT_TRUE(box->text().contains(QStringLiteral("does not exist")));
            box->accept();
        });
        static_cast<QDialog *>(dialog)->accept();
        EXPECT_TRUE(dialog->isVisible());
        dialog->reject();
    });
    EXPECT_EQ(saveName("", tree.root(), "m3u"), "");
}

TEST_F(Dialogs, ChooseFolderGivesTheChosenFolderOrEmptyText)
{
    const std::string pick = tree.dir("pick me");
    Bstr prompt("Please choose an output folder.");
    whenShown<QFileDialog>([&](QFileDialog *dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Please choose an output folder."));
        EXPECT_EQ(dialog->fileMode(), QFileDialog::Directory);
        dialog->setDirectory(QString::fromStdString(tree.root()));
        typeFileName(dialog, QString::fromStdString(pick));
        static_cast<QDialog *>(dialog)->accept();
    });
    Bstr result;
    ASSERT_EQ(api->lpVtbl->ChooseFolder(api.get(), handle, prompt.get(), result.out()), S_OK);
    EXPECT_EQ(result.utf8(), pick);

    whenShown<QFileDialog>([](QFileDialog *dialog) { dialog->reject(); });
    ASSERT_EQ(api->lpVtbl->ChooseFolder(api.get(), handle, prompt.get(), result.out()), S_OK);
    EXPECT_EQ(result.utf8(), "");
}

TEST_F(Dialogs, OpenGivesOnePathOrTheFolderAndTheNames)
{
    const std::string dir = tree.dir("songs");
    tree.file("songs/a.mp3", 1);
    tree.file("songs/b.mp3", 1);
    tree.file("songs/c.mp3", 1);
    Bstr title("Open");
    Bstr filter("Songs\0*.mp3\0\0"s);
    BSTR defDir = allocBstr(dir);
    auto open = [&](bool multi) {
        VARIANT_BOOL multiSel = multi ? VARIANT_TRUE : VARIANT_FALSE;
        SafeArrayPtr result;
        EXPECT_EQ(api->lpVtbl->GetFilesOpenName(
                      api.get(), handle, title.get(), filter.get(), &defDir, &multiSel, result.out()),
            S_OK);
        return stringsOf(result.get());
    };
    whenShown<QFileDialog>([](QFileDialog *dialog) {
        EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFiles);
        typeFileName(dialog, QStringLiteral("\"a.mp3\" \"b.mp3\" \"c.mp3\""));
        static_cast<QDialog *>(dialog)->accept();
    });
    EXPECT_EQ(open(true), (std::vector<std::string> {dir, "a.mp3", "b.mp3", "c.mp3"}));
    whenShown<QFileDialog>([](QFileDialog *dialog) {
        EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
        typeFileName(dialog, QStringLiteral("b.mp3"));
        static_cast<QDialog *>(dialog)->accept();
    });
    EXPECT_EQ(open(false), (std::vector<std::string> {dir + "/b.mp3"}));
    whenShown<QFileDialog>([](QFileDialog *dialog) { dialog->reject(); });
    EXPECT_TRUE(open(true).empty());
    EXPECT_EQ(toUtf8(defDir), dir);
    SysFreeString(defDir);
}

TEST_F(Dialogs, SelectColorGivesBlueGreenRedOrMinusOne)
{
    std::int32_t colour = 0;
    whenShown<QColorDialog>([](QColorDialog *dialog) {
        dialog->setCurrentColor(QColor(0x11, 0x22, 0x33));
        static_cast<QDialog *>(dialog)->accept();
    });
    ASSERT_EQ(api->lpVtbl->SelectColor(api.get(), handle, &colour), S_OK);
    EXPECT_EQ(colour, 0x00332211);
    whenShown<QColorDialog>([](QColorDialog *dialog) { dialog->reject(); });
    ASSERT_EQ(api->lpVtbl->SelectColor(api.get(), handle, &colour), S_OK);
    EXPECT_EQ(colour, -1);
}

TEST_F(Dialogs, MapNetDriveSaysClearlyWhenGioIsMissing)
{
    tree.dir("empty-bin");
    ScopedEnv path("PATH", tree.path("empty-bin"));
    whenShown<QMessageBox>([](QMessageBox *box) {
        EXPECT_TRUE(box->text().contains(QStringLiteral("\"gio\" is not installed"))) << box->text().toStdString();
        box->accept();
    });
    EXPECT_EQ(api->lpVtbl->MapNetDrive(api.get(), handle, 1), S_OK);
    whenShown<QMessageBox>([](QMessageBox *box) { box->accept(); });
    EXPECT_EQ(api->lpVtbl->DisconnectNetDrive(api.get(), handle, 1), S_OK);
}

class NetworkDrives : public Dialogs
{
protected:
    void SetUp() override
    {
        Dialogs::SetUp();
        // A stand-in gio that logs its arguments and asks for credentials like the real one.
        tree.fileWith("bin/gio",
            "#!/bin/sh\n"
            "log='"
                + tree.path("gio.log")
                + "'\n"
                  "echo \"$*\" >> \"$log\"\n"
                  "if [ \"$1 $2\" = 'mount -l' ]; then\n"
                  "  printf 'Mount(0): public on nas -> smb://nas/public/\\n  Type: GDaemonMount\\n'; exit 0\n"
                  "fi\n"
                  "if [ \"$2\" = '-u' ]; then exit 0; fi\n"
                  "case \"$2\" in smb://bad*) echo 'gio: smb://bad/: Failed to mount: no such host' >&2; exit 2;; "
                  "esac\n"
                  "printf 'Authentication Required\\nUser [root]: '; read user\n"
                  "printf 'Domain [WORKGROUP]: '; read domain\n"
                  "printf 'Password: '; read pass\n"
                  "echo \"user=$user domain=$domain pass=$pass\" >> \"$log\"\n");
        tree.chmod("bin/gio", 0755);
    }
    ScopedEnv path {"PATH", tree.path("bin") + ":/usr/bin:/bin"};
};

void fill(QDialog *dialog, const char *name, const QString &text)
{
    auto *edit = dialog->findChild<QLineEdit *>(QLatin1String(name));
    ASSERT_NE(edit, nullptr) << name;
    edit->setText(text);
}

TEST_F(NetworkDrives, ConnectMountsTheAddressAndAnswersTheCredentialPrompts)
{
    whenShown<QDialog>([](QDialog *dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Connect Network Drive"));
        fill(dialog, "address", QStringLiteral("smb://nas/public"));
        fill(dialog, "user", QStringLiteral("ann"));
        fill(dialog, "password", QStringLiteral("s3cret word"));
        static_cast<QDialog *>(dialog)->accept();
    });
    EXPECT_EQ(api->lpVtbl->MapNetDrive(api.get(), handle, 1), S_OK);
    EXPECT_EQ(TempTree::read(tree.path("gio.log")), "mount smb://nas/public\nuser=ann domain= pass=s3cret word\n");
}

TEST_F(NetworkDrives, ConnectRefusesAnAddressThatIsNoRemoteLocationAndReportsFailures)
{
    whenShown<QDialog>([](QDialog *dialog) {
        fill(dialog, "address", QStringLiteral("/home/someone"));
        whenShown<QMessageBox>([](QMessageBox *box) { box->accept(); });
        static_cast<QDialog *>(dialog)->accept();
        EXPECT_TRUE(dialog->isVisible());
        fill(dialog, "address", QStringLiteral("smb://bad/share"));
        whenShown<QMessageBox>([](QMessageBox *box) {
            EXPECT_TRUE(box->text().contains(QStringLiteral("no such host"))) << box->text().toStdString();
            // an address is shown as typed, never taken for markup
            EXPECT_EQ(box->textFormat(), Qt::PlainText);
            box->accept();
        });
        static_cast<QDialog *>(dialog)->accept();
        EXPECT_TRUE(dialog->isVisible());
        dialog->reject();
    });
    EXPECT_EQ(api->lpVtbl->MapNetDrive(api.get(), handle, 1), S_OK);
    EXPECT_EQ(TempTree::read(tree.path("gio.log")), "mount smb://bad/share\n");
}

TEST_F(NetworkDrives, DisconnectUnmountsTheChosenLocation)
{
    whenShown<QDialog>([](QDialog *dialog) {
        auto *list = dialog->findChild<QListWidget *>(QStringLiteral("mounts"));
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(list->count(), 1);
        EXPECT_EQ(list->item(0)->text(), QStringLiteral("public on nas (smb://nas/public/)"));
        static_cast<QDialog *>(dialog)->accept();
    });
    EXPECT_EQ(api->lpVtbl->DisconnectNetDrive(api.get(), handle, 1), S_OK);
    EXPECT_EQ(TempTree::read(tree.path("gio.log")), "mount -l\nmount -u smb://nas/public/\n");
}

TEST_F(Dialogs, ExecFileOffersAChoiceOfProgramWhenNoneIsAssociated)
{
    ScopedEnv dataHome("XDG_DATA_HOME", tree.path("data"));
    ScopedEnv dataDirs("XDG_DATA_DIRS", tree.path("system"));
    ScopedEnv configHome("XDG_CONFIG_HOME", tree.path("config"));
    ScopedEnv configDirs("XDG_CONFIG_DIRS", tree.path("etc"));
    tree.fileWith("bin/recorder", "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + tree.path("recorded") + "'\n");
    tree.chmod("bin/recorder", 0755);
    tree.fileWith("system/applications/recorder.desktop",
        "[Desktop Entry]\nType=Application\nName=Recorder\nExec=" + tree.path("bin/recorder") + " --open %f\n");
    const std::string file = tree.fileWith("data file.qqzz", std::string("\x01\x02\x03", 3));
    whenShown<QDialog>([](QDialog *dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Open With"));
        auto *list = dialog->findChild<QListWidget *>(QStringLiteral("applications"));
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(list->count(), 1);
        EXPECT_EQ(list->item(0)->text(), QStringLiteral("Recorder"));
        static_cast<QDialog *>(dialog)->accept();
    });
    Bstr name(file);
    EXPECT_EQ(api->lpVtbl->ExecFile(api.get(), name.get(), 3), S_OK);
    EXPECT_EQ(waitForFile(tree.path("recorded")), "--open\n" + file + "\n");

    // A file that does not exist opens nothing and asks nothing.
    Bstr missing(tree.path("gone.qqzz"));
    EXPECT_EQ(api->lpVtbl->ExecFile(api.get(), missing.get(), 3), S_OK);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(Dialogs, PropertiesWindowDescribesAFileAndStaysOpen)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const std::string file = tree.file("docs/report.txt", 1234);
    Bstr name(file);
    ASSERT_EQ(api->lpVtbl->ShowFileFolderProperties(api.get(), handle, name.get()), S_OK);
    QWidget *window = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QStringLiteral("properties") && w->isVisible())
            window = w;
    }
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("report.txt Properties"));
    auto text = [window](const char *label) {
        auto *l = window->findChild<QLabel *>(QLatin1String(label));
        return l ? l->text().toStdString() : std::string("<missing>");
    };
    EXPECT_EQ(text("name"), "report.txt");
    EXPECT_EQ(text("location"), tree.path("docs"));
    EXPECT_NE(text("size").find("(1,234 bytes)"), std::string::npos) << text("size");
    EXPECT_EQ(text("permissions").substr(0, 9), "rw-r--r--");
    window->close();

    Bstr folder(tree.path("docs"));
    tree.file("docs/sub/more.txt", 6);
    ASSERT_EQ(api->lpVtbl->ShowFileFolderProperties(api.get(), handle, folder.get()), S_OK);
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QStringLiteral("properties") && w->isVisible()) {
            auto *contains = w->findChild<QLabel *>(QStringLiteral("contains"));
            ASSERT_NE(contains, nullptr);
            EXPECT_EQ(contains->text(), QStringLiteral("2 files, 1 folders"));
            EXPECT_EQ(w->findChild<QLabel *>(QStringLiteral("type"))->text(), QStringLiteral("Folder"));
            w->close();
        }
    }
    QLocale::setDefault(QLocale::c());
}

TEST_F(Dialogs, DroppedFilesAreHandedOutOnceByTheirHandle)
{
    QLabel target(QStringLiteral("drop here"), &owner);
    target.show();
    const auto id = static_cast<std::int32_t>(target.winId());
    ASSERT_EQ(api->lpVtbl->AcceptDragFiles(api.get(), id, 1), S_OK);
    EXPECT_TRUE(target.acceptDrops());

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QStringLiteral("/music/first song.mp3")),
        QUrl::fromLocalFile(QStringLiteral("/music/b.mp3"))});
    // As the window system delivers a drag: enter, then drop, on the window.
    const QPoint at = target.mapTo(&owner, QPoint(5, 5));
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(owner.windowHandle(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(owner.windowHandle(), &drop);
    const std::int32_t hDrop = target.property("hDrop").toInt();
    ASSERT_GT(hDrop, 0);

    Bstr first;
    ASSERT_EQ(api->lpVtbl->DropFiles(api.get(), hDrop, first.out()), S_OK);
    EXPECT_EQ(first.utf8(), "/music/first song.mp3");
    ASSERT_EQ(api->lpVtbl->DropFiles(api.get(), hDrop, first.out()), S_OK);
    EXPECT_EQ(first.utf8(), "");

    ASSERT_EQ(api->lpVtbl->AcceptDragFiles(api.get(), id, 0), S_OK);
    EXPECT_FALSE(target.acceptDrops());
}

TEST_F(Dialogs, FileIconsGoToThePictureWidgets)
{
    QLabel small(&owner);
    QLabel big(&owner);
    small.show();
    big.show();
    Bstr file(tree.fileWith("a.txt", "x"));
    ASSERT_EQ(
        api->lpVtbl->GetFileIcon(
            api.get(), file.get(), static_cast<std::int32_t>(small.winId()), static_cast<std::int32_t>(big.winId())),
        S_OK);
    EXPECT_FALSE(small.pixmap().isNull());
    EXPECT_FALSE(big.pixmap().isNull());
    EXPECT_LE(small.pixmap().width(), big.pixmap().width());
}

} // namespace

// Widget tests need their QApplication before anything else, and private
// runtime, configuration and registry folders like every test.
int main(int argc, char **argv)
{
    const std::string base = "/tmp/mrb-testenv-" + std::to_string(::getpid());
    std::filesystem::create_directories(base + "/runtime");
    std::filesystem::permissions(base + "/runtime", std::filesystem::perms::owner_all);
    ::setenv("XDG_RUNTIME_DIR", (base + "/runtime").c_str(), 0);
    ::setenv("XDG_CONFIG_HOME", (base + "/config").c_str(), 0);
    ::setenv("QFC_REGISTRY_DIR", (base + "/registry").c_str(), 0);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int rc = RUN_ALL_TESTS();
    std::error_code ec;
    std::filesystem::remove_all(base, ec);
    return rc;
}
