// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// APIFuns' window, message, menu and clipboard helpers through the binary
// interface, each through its slot and through Invoke, on real Qt widgets of
// this process (which has a QApplication, as a calling program does).
#include "lib/apifuns/windowmessage.h"
#include "tests/lib/abiclient.h"
#include "tests/support/isolation.h"
#include "tests/support/temptree.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTableWidget>
#include <QTextEdit>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <vector>
#include <xcb/xcb.h>

namespace
{

using namespace abiclient;
using mrb::test::ScopedEnv;
using mrb::test::TempTree;

// A widget that answers every message it is sent and writes each one down.
class Receiver : public QWidget
{
public:
    std::string log;

protected:
    bool event(QEvent *e) override
    {
        if (e->type() != QfcMessageEvent::messageType)
            return QWidget::event(e);
        const auto *m = static_cast<QfcMessageEvent *>(e);
        log += std::to_string(m->message) + " " + std::to_string(m->paramA) + " " + std::to_string(m->paramB) + ";";
        e->accept();
        return true;
    }
};

// A form of the calling program: a menu bar with two menus, text boxes, a
// list box and a report-style tree.
struct Form {
    Form()
    {
        window.setWindowTitle(QStringLiteral("Marrowby Test Form"));
        QMenu *file = window.menuBar()->addMenu(QStringLiteral("&File"));
        file->addAction(QStringLiteral("&New"));
        file->addSeparator();
        file->addAction(QStringLiteral("E&xit"));
        view = window.menuBar()->addMenu(QStringLiteral("&View"));
        for (const char *text : {"&Icons", "&List", "&Details"})
            view->addAction(QString::fromLatin1(text));
        auto *central = new QWidget(&window);
        window.setCentralWidget(central);
        for (QWidget *w : std::initializer_list<QWidget *> {&line, &text, &list, &tree, &table, &receiver})
            w->setParent(central);
        tree.setColumnCount(2);
        tree.setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Size")});
        table.setColumnCount(2);
        table.setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Size")});
        table.move(300, 200);
        window.resize(600, 400);
        list.resize(200, 150);
        tree.resize(300, 200);
        window.show();
        outsider.setWindowTitle(QStringLiteral("Outsider"));
        outsider.show();
    }
    static std::int32_t idOf(QWidget &w) { return static_cast<std::int32_t>(w.winId()); }
    std::string checks() const
    {
        std::string marks;
        for (QAction *a : view->actions())
            marks += a->isChecked() ? '1' : '0';
        return marks;
    }

    QMainWindow window;
    QMenu *view = nullptr;
    QLineEdit line;
    QTextEdit text;
    QListWidget list;
    QTreeWidget tree;
    QTableWidget table;
    Receiver receiver;
    QWidget outsider; // a window without a menu bar
};

std::string kernelMajor()
{
    std::ifstream in("/proc/sys/kernel/osrelease");
    std::string release;
    std::getline(in, release, '.');
    return release;
}

class WindowsClient : public ::testing::Test
{
public:
    TempTree tree;
    ScopedEnv store {"QFC_REGISTRY_DIR", tree.path("registry")};
    Object<APIFunsSlots> api {clsidAPIFuns, iidAPIFuns};
    Form form;

    // An operation without a result, with the state it leaves behind.
    Case effect(std::string name,
        std::function<void()> prepare,
        std::function<HRESULT()> slot,
        DISPID dispid,
        std::vector<Arg> args,
        std::function<std::string()> observe,
        std::string after)
    {
        return {name,
            [prepare](const Place &) {
                if (prepare)
                    prepare();
            },
            [slot](const Place &) { return slot() == S_OK ? std::string() : std::string("failed"); },
            dispid,
            [args](const Place &) { return args; },
            "",
            [observe](const Place &) { return observe(); },
            after};
    }
    // An operation with a number or text result.
    Case result(
        std::string name, std::function<std::string()> slot, DISPID dispid, std::vector<Arg> args, std::string r)
    {
        return {
            name, nullptr, [slot](const Place &) { return slot(); }, dispid, [args](const Place &) { return args; }, r};
    }
    std::string sysPath(const std::string &cls)
    {
        Str out;
        api->GetSysPath(api.self(), Str(cls).get(), out.out());
        return out.text();
    }
    std::string number(HRESULT (*const APIFunsSlots::*slot)(void *, I32, I32 *), I32 argument)
    {
        I32 n = -99;
        (api.operator->()->*slot)(api.self(), argument, &n);
        return std::to_string(n);
    }
    std::string subMenu(I32 menu, I32 pos)
    {
        I32 n = -99;
        api->GetSubMenuHandle(api.self(), menu, &pos, &n);
        return std::to_string(n);
    }
    std::string findWindow(const std::string &title)
    {
        I32 n = -99;
        api->FindWindowTitle(api.self(), Str(title).get(), &n);
        return std::to_string(n);
    }
    HRESULT txtOperate(QWidget &w, const std::string &action)
    {
        Str a(action);
        return api->TxtOperate(api.self(), Form::idOf(w), a.ref());
    }
    // SendMsg or PostMsg with a ParamB that is a number or a text.
    HRESULT message(bool post, QWidget &w, I32 msg, I32 a, const Arg &b)
    {
        VARIANT v {};
        Str text(b.text);
        if (b.kind == Arg::Text) {
            v.vt = VT_BSTR;
            v.bstrVal = text.get();
        } else {
            v.vt = VT_I4;
            v.lVal = b.number;
        }
        return (post ? api->PostMsg : api->SendMsg)(api.self(), Form::idOf(w), msg, a, &v);
    }
    std::string lineState() { return form.line.text().toStdString() + "|" + clipboard(); }
    static std::string clipboard() { return QGuiApplication::clipboard()->text().toStdString(); }
    void selectWorld()
    {
        form.line.setText(QStringLiteral("hello world"));
        form.line.setSelection(6, 5);
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    }
};

TEST_F(WindowsClient, EveryWindowAndMenuHelperThroughItsSlotAndThroughInvoke)
{
    ASSERT_TRUE(api);
    const I32 window = Form::idOf(form.window);
    const I32 bar = std::stoi(number(&APIFunsSlots::GetMenuHandle, window));
    ASSERT_NE(bar, 0);
    const I32 viewMenu = std::stoi(subMenu(bar, 1));
    ASSERT_NE(viewMenu, 0);
    const I32 fileMenu = std::stoi(subMenu(bar, 0));
    const auto send = [this](bool post, QWidget &w, I32 msg, I32 a, Arg b) {
        return [=, this, &w] { return message(post, w, msg, a, b); };
    };
    const auto receiverLog = [this] {
        QCoreApplication::processEvents();
        return std::exchange(form.receiver.log, std::string());
    };
    const auto lineWith = [this](const char *start, const char *typed, bool undone) {
        return [=, this] {
            form.line.setText(QString::fromLatin1(start));
            form.line.insert(QString::fromLatin1(typed));
            if (undone)
                form.line.undo();
        };
    };
    const auto radio = [this](I32 menu, I32 pos) {
        return [=, this] { return api->SetRadioMenu(api.self(), menu, pos); };
    };
    const auto hScroll = [this](I32 width) {
        return [=, this] { return api->AddHScrollToListBox(api.self(), Form::idOf(form.list), width); };
    };
    const auto scrollWidth = [this] {
        QCoreApplication::processEvents();
        const QScrollBar *barOf = form.list.horizontalScrollBar();
        return std::to_string(barOf->maximum() == 0 ? 0 : barOf->maximum() + form.list.viewport()->width());
    };
    const auto treeColor = [this](I32 color) {
        return [=, this] { return api->SetTreeViewBgColor(api.self(), Form::idOf(form.tree), color); };
    };
    const auto treeBase = [this] { return form.tree.palette().color(QPalette::Base).name().toStdString(); };
    const std::string systemBase = QApplication::palette(&form.tree).color(QPalette::Base).name().toStdString();
    const QString longText = QStringLiteral("a rather long item text in the first column");
    const auto narrowColumn = [this, longText] {
        form.tree.clear();
        new QTreeWidgetItem(&form.tree, QStringList {longText, QStringLiteral("x")});
        form.tree.header()->resizeSection(0, 20);
    };
    const auto columnFits = [this, longText] {
        const int width = form.tree.header()->sectionSize(0);
        return width >= form.tree.fontMetrics().horizontalAdvance(longText) ? std::string("fits")
                                                                            : std::to_string(width);
    };
    const auto wait = [this](I32 ms) { return [=, this] { return api->Wait(api.self(), ms); }; };
    form.list.addItem(QStringLiteral("short"));

    runBothWays(api.dispatch(),
        tree.root(),
        {
            result(
                "GetWindowsVersion",
                [this] {
                    I32 n = -1;
                    api->GetWindowsVersion(api.self(), &n);
                    return std::to_string(n);
                },
                id(0),
                {},
                kernelMajor()),
            result(
                "GetSysPath W", [this] { return sysPath("W"); }, id(19), {s("W")}, "/usr"),
            result(
                "GetSysPath P", [this] { return sysPath("P"); }, id(19), {s("P")}, "/opt"),
            result(
                "GetSysPath w", [this] { return sysPath("w"); }, id(19), {s("w")}, ""),
            result(
                "FindWindowTitle",
                [this] { return findWindow("Marrowby Test Form"); },
                id(20),
                {s("Marrowby Test Form")},
                std::to_string(window)),
            result(
                "FindWindowTitle of none", [this] { return findWindow("Marrowby"); }, id(20), {s("Marrowby")}, "0"),
            result(
                "GetMenuHandle",
                [&] { return number(&APIFunsSlots::GetMenuHandle, window); },
                id(17),
                {i4(window)},
                std::to_string(bar)),
            result(
                "GetMenuHandle of a control",
                [&] { return number(&APIFunsSlots::GetMenuHandle, Form::idOf(form.line)); },
                id(17),
                {i4(Form::idOf(form.line))},
                std::to_string(bar)),
            result(
                "GetMenuHandle without a menu bar",
                [&] { return number(&APIFunsSlots::GetMenuHandle, Form::idOf(form.outsider)); },
                id(17),
                {i4(Form::idOf(form.outsider))},
                "0"),
            result(
                "GetSubMenuHandle",
                [&] { return subMenu(bar, 1); },
                id(18),
                {i4(bar), i4ref(1)},
                std::to_string(viewMenu)),
            result(
                "GetSubMenuHandle past the end", [&] { return subMenu(bar, 2); }, id(18), {i4(bar), i4ref(2)}, "0"),
            result(
                "GetSubMenuHandle of an item",
                [&] { return subMenu(fileMenu, 0); },
                id(18),
                {i4(fileMenu), i4ref(0)},
                "0"),
            result(
                "GetSubMenuHandle of a window id",
                [&] { return subMenu(window, 0); },
                id(18),
                {i4(window), i4ref(0)},
                "0"),
            effect(
                "SetRadioMenu",
                nullptr,
                radio(viewMenu, 2),
                id(16),
                {i4(viewMenu), i4(2)},
                [this] { return form.checks(); },
                "001"),
            effect(
                "SetRadioMenu moves the mark",
                nullptr,
                radio(viewMenu, 0),
                id(16),
                {i4(viewMenu), i4(0)},
                [this] { return form.checks(); },
                "100"),
            effect(
                "SetRadioMenu past the end",
                nullptr,
                radio(viewMenu, 9),
                id(16),
                {i4(viewMenu), i4(9)},
                [this] { return form.checks(); },
                "100"),
            effect("SendMsg",
                nullptr,
                send(false, form.receiver, 0x8001, 7, i4(-1)),
                id(4),
                {i4(Form::idOf(form.receiver)), i4(0x8001), i4(7), i4(-1)},
                receiverLog,
                "32769 7 -1;"),
            effect("SendMsg with a number as text",
                nullptr,
                send(false, form.receiver, 0x8001, 7, s(" 12 ")),
                id(4),
                {i4(Form::idOf(form.receiver)), i4(0x8001), i4(7), s(" 12 ")},
                receiverLog,
                "32769 7 12;"),
            effect("SendMsg with text",
                nullptr,
                send(false, form.receiver, 0x8001, 7, s("twelve")),
                id(4),
                {i4(Form::idOf(form.receiver)), i4(0x8001), i4(7), s("twelve")},
                receiverLog,
                ""),
            {"PostMsg is queued",
                nullptr,
                [&](const Place &) {
                    message(true, form.receiver, 0x8002, 1, i4(2));
                    return std::exchange(form.receiver.log, std::string());
                },
                id(5),
                [&](const Place &) {
                    return std::vector<Arg> {i4(Form::idOf(form.receiver)), i4(0x8002), i4(1), i4(2)};
                },
                "",
                [&](const Place &) { return receiverLog(); },
                "32770 1 2;"},
            effect(
                "SendMsg copy to a line edit",
                [this] { selectWorld(); },
                send(false, form.line, 0x301, 0, i4(0)),
                id(4),
                {i4(Form::idOf(form.line)), i4(0x301), i4(0), i4(0)},
                [this] { return lineState(); },
                "hello world|world"),
            effect(
                "TxtOperate Cut",
                [this] { selectWorld(); },
                [this] { return txtOperate(form.line, " Cut "); },
                id(12),
                {i4(Form::idOf(form.line)), sref(" Cut ")},
                [this] { return lineState(); },
                "hello |world"),
            effect(
                "TxtOperate copy in lower case",
                [this] { selectWorld(); },
                [this] { return txtOperate(form.line, "copy"); },
                id(12),
                {i4(Form::idOf(form.line)), sref("copy")},
                [this] { return lineState(); },
                "hello world|before"),
            effect(
                "TxtOperate Delete",
                [this] { selectWorld(); },
                [this] { return txtOperate(form.line, "Delete"); },
                id(12),
                {i4(Form::idOf(form.line)), sref("Delete")},
                [this] { return lineState(); },
                "hello |before"),
            effect(
                "TxtOperate Undo",
                lineWith("a", "b", false),
                [this] { return txtOperate(form.line, "Undo"); },
                id(12),
                {i4(Form::idOf(form.line)), sref("Undo")},
                [this] { return lineState(); },
                "a|before"),
            effect(
                "TxtOperate Redo",
                lineWith("a", "b", true),
                [this] { return txtOperate(form.line, "Redo"); },
                id(12),
                {i4(Form::idOf(form.line)), sref("Redo")},
                [this] { return lineState(); },
                "ab|before"),
            effect(
                "TxtOperate Paste",
                [this] {
                    form.text.clear();
                    QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
                },
                [this] { return txtOperate(form.text, "Paste"); },
                id(12),
                {i4(Form::idOf(form.text)), sref("Paste")},
                [this] { return form.text.toPlainText().toStdString(); },
                "pasted"),
            effect(
                "TxtOperate to a widget that answers",
                nullptr,
                [this] { return txtOperate(form.receiver, "Copy"); },
                id(12),
                {i4(Form::idOf(form.receiver)), sref("Copy")},
                receiverLog,
                "769 0 0;"),
            effect("AddHScrollToListBox",
                nullptr,
                hScroll(1000),
                id(14),
                {i4(Form::idOf(form.list)), i4(1000)},
                scrollWidth,
                "1000"),
            effect("AddHScrollToListBox 0",
                nullptr,
                hScroll(0),
                id(14),
                {i4(Form::idOf(form.list)), i4(0)},
                scrollWidth,
                "0"),
            effect("SetTreeViewBgColor",
                nullptr,
                treeColor(0x00FFFF00),
                id(28),
                {i4(Form::idOf(form.tree)), i4(0x00FFFF00)},
                treeBase,
                "#00ffff"),
            effect("SetTreeViewBgColor -1",
                nullptr,
                treeColor(-1),
                id(28),
                {i4(Form::idOf(form.tree)), i4(-1)},
                treeBase,
                systemBase),
            effect("SendMsg sizes a column to its items",
                narrowColumn,
                send(false, form.tree, 0x101E, 0, i4(-1)),
                id(4),
                {i4(Form::idOf(form.tree)), i4(0x101E), i4(0), i4(-1)},
                columnFits,
                "fits"),
            effect("SendMsg sets a column's width",
                narrowColumn,
                send(false, form.tree, 0x101E, 0, i4(55)),
                id(4),
                {i4(Form::idOf(form.tree)), i4(0x101E), i4(0), i4(55)},
                columnFits,
                "55"),
            effect(
                "Wait", nullptr, wait(20), id(23), {i4(20)}, [] { return std::string(); }, ""),
            // A negative time is no wait at all, never an endless one.
            effect(
                "Wait -1", nullptr, wait(-1), id(23), {i4(-1)}, [] { return std::string(); }, ""),
        });
}

// Another client's window, listed by the window manager as it lists its clients.
TEST_F(WindowsClient, FindWindowTitleFindsAnotherClientsWindowOnX11)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X display (qfc_apifuns_windows_on_xvfb)";
    xcb_connection_t *other = xcb_connect(nullptr, nullptr);
    ASSERT_FALSE(xcb_connection_has_error(other));
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(other)).data;
    const xcb_window_t window = xcb_generate_id(other);
    xcb_create_window(other,
        XCB_COPY_FROM_PARENT,
        window,
        screen->root,
        0,
        0,
        100,
        100,
        0,
        XCB_WINDOW_CLASS_INPUT_OUTPUT,
        screen->root_visual,
        0,
        nullptr);
    const char title[] = "Another Client";
    xcb_change_property(
        other, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, std::strlen(title), title);
    const char listName[] = "_NET_CLIENT_LIST";
    xcb_intern_atom_reply_t *list =
        xcb_intern_atom_reply(other, xcb_intern_atom(other, 0, std::strlen(listName), listName), nullptr);
    ASSERT_NE(list, nullptr);
    xcb_change_property(other, XCB_PROP_MODE_APPEND, screen->root, list->atom, XCB_ATOM_WINDOW, 32, 1, &window);
    xcb_flush(other);

    runBothWays(api.dispatch(),
        tree.root(),
        {
            result(
                "FindWindowTitle of another client",
                [this] { return findWindow("Another Client"); },
                id(20),
                {s("Another Client")},
                std::to_string(static_cast<I32>(window))),
            result(
                "FindWindowTitle of a title that differs in case",
                [this] { return findWindow("another client"); },
                id(20),
                {s("another client")},
                "0"),
        });
    xcb_delete_property(other, screen->root, list->atom);
    xcb_destroy_window(other, window);
    std::free(list);
    xcb_disconnect(other);
}

TEST_F(WindowsClient, AStaleMenuHandleReachesNothing)
{
    const I32 bar = std::stoi(number(&APIFunsSlots::GetMenuHandle, Form::idOf(form.window)));
    const I32 viewMenu = std::stoi(subMenu(bar, 1));
    delete form.view;
    EXPECT_EQ(api->SetRadioMenu(api.self(), viewMenu, 0), S_OK);
    EXPECT_EQ(subMenu(viewMenu, 0), "0");
    // The same menu bar keeps its number; the new menu gets a new one.
    form.view = form.window.menuBar()->addMenu(QStringLiteral("&View"));
    EXPECT_EQ(number(&APIFunsSlots::GetMenuHandle, Form::idOf(form.window)), std::to_string(bar));
    const std::string again = subMenu(bar, 1);
    EXPECT_NE(again, "0");
    EXPECT_NE(again, std::to_string(viewMenu));
}

TEST_F(WindowsClient, ClipboardTextThroughItsSlotsAndThroughInvoke)
{
    const auto setText = [this](std::string text) {
        return [this, text] { return api->SetClipboardText(api.self(), Str(text).get()); };
    };
    const auto getText = [this] {
        Str out;
        api->GetClipboardText(api.self(), out.out());
        return out.text();
    };
    const auto pictureOnly = [] {
        QImage picture(4, 4, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QGuiApplication::clipboard()->setImage(picture);
    };
    runBothWays(api.dispatch(),
        tree.root(),
        {
            effect("SetClipboardText",
                nullptr,
                setText("Grüße\tand a tab"),
                id(37),
                {s("Grüße\tand a tab")},
                clipboard,
                "Grüße\tand a tab"),
            effect("SetClipboardText of nothing", nullptr, setText(""), id(37), {s("")}, clipboard, ""),
            {"GetClipboardText",
                [](const Place &) { QGuiApplication::clipboard()->setText(QStringLiteral("line 1\r\nline 2")); },
                [&](const Place &) { return getText(); },
                id(38),
                [](const Place &) { return std::vector<Arg> {}; },
                "line 1\r\nline 2"},
            {"GetClipboardText of a picture",
                [&](const Place &) { pictureOnly(); },
                [&](const Place &) { return getText(); },
                id(38),
                [](const Place &) { return std::vector<Arg> {}; },
                ""},
        });
}

// The address space this process has mapped, in bytes (VmSize).
rlim_t mappedBytes()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmSize:", 0) == 0)
            return static_cast<rlim_t>(std::stoull(line.substr(7))) * 1024;
    }
    return 0;
}

// GetClipboardText used to trap every failure: out of memory for a huge text
// it answered success and "". It traps nothing, so the caller hears of it.
TEST_F(WindowsClient, GetClipboardTextPassesAFailureOnToItsCaller)
{
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "the sanitizer's shadow memory does not fit under an address-space limit";
#endif
    if (QGuiApplication::platformName() != QStringLiteral("offscreen"))
        GTEST_SKIP() << "on a real display the clipboard may live in another process";
    const int code = mrb::test::runInChild([this] {
        QGuiApplication::clipboard()->setText(QString(8 * 1024 * 1024, QChar(0xE9)));
        // Room for small allocations, none for the text as UTF-8 (16 MiB and more).
        rlimit space {};
        ::getrlimit(RLIMIT_AS, &space);
        space.rlim_cur = mappedBytes() + 8 * 1024 * 1024;
        ::setrlimit(RLIMIT_AS, &space);
        Str out;
        const std::string got = failedText(api->GetClipboardText(api.self(), out.out()), api.dispatch());
        EXPECT_EQ(got, "failed 0x80020009: Out of memory");
        return got == "failed 0x80020009: Out of memory" ? 0 : 1;
    });
    EXPECT_EQ(code, 0);
}

// What a header shows: "red on aqua" when both colours are in its picture,
// else "plain" and then the style sheet it has.
std::string headerLook(QHeaderView *header)
{
    const QImage picture = header->grab().toImage().convertToFormat(QImage::Format_RGB32);
    bool aqua = false, red = false;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QColor c = picture.pixelColor(x, y);
            aqua = aqua || c == QColor(0, 255, 255);
            red = red || (c.red() - c.green() > 100 && c.red() - c.blue() > 100); // red text, smoothed
        }
    }
    if (aqua || red)
        return aqua && red ? "red on aqua" : "partly";
    return "plain|" + header->styleSheet().toStdString();
}

TEST_F(WindowsClient, HeaderColouringPaintsRedOnAquaAndComesOffCleanly)
{
    const QString own = QStringLiteral("QHeaderView { font-style: italic; }");
    form.tree.header()->setStyleSheet(own);
    const auto color = [this](QWidget &view, bool on) {
        return [this, &view, on] {
            return api->SetLVHeaderColor(api.self(), Form::idOf(view), on ? -1 : 0, 0x00FFFF00, 0x000000FF);
        };
    };
    const auto args = [](QWidget &view, bool on) {
        return std::vector<Arg> {i4(Form::idOf(view)), flag(on), i4(0x00FFFF00), i4(0x000000FF)};
    };
    const auto looks = [this] {
        QCoreApplication::processEvents();
        const std::string first = headerLook(form.tree.header());
        return first + " / " + headerLook(form.table.horizontalHeader());
    };
    runBothWays(api.dispatch(),
        tree.root(),
        {
            // Run twice, the second install is on the same view while the first is active.
            effect("SetLVHeaderColor",
                nullptr,
                color(form.tree, true),
                id(30),
                args(form.tree, true),
                looks,
                "red on aqua / plain|"),
            effect("SetLVHeaderColor off",
                nullptr,
                color(form.tree, false),
                id(30),
                args(form.tree, false),
                looks,
                "plain|" + own.toStdString() + " / plain|"),
            effect("SetLVHeaderColor on another view",
                color(form.tree, true),
                color(form.table, true),
                id(30),
                args(form.table, true),
                looks,
                "plain|" + own.toStdString() + " / red on aqua"),
            effect("SetLVHeaderColor off again",
                nullptr,
                color(form.table, false),
                id(30),
                args(form.table, false),
                looks,
                "plain|" + own.toStdString() + " / plain|"),
        });
}

} // namespace
