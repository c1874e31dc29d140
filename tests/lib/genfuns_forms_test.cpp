// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// GenFuns' form helpers through the binary interface, through their slots and
// through Invoke, on a real form of ours handed over as an automation object.
#include "app/window/formautomation.h"
#include "tests/lib/abiclient.h"
#include "tests/support/temptree.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

using namespace abiclient;
using mrb::test::ScopedEnv;
using mrb::test::TempTree;

// A form with menus (one pair a control array), a toolbar, a status bar with
// three panels, a text box, a button and a report-style list.
struct Form {
    Form()
    {
        window.setObjectName(QStringLiteral("frmTest"));
        source = window.menuBar()->addMenu(QString());
        source->setObjectName(QStringLiteral("mens"));
        for (const char *name : {"menss", "mensr"})
            source->addAction(QString())->setObjectName(QLatin1String(name));
        for (int i = 0; i < 2; ++i) {
            QAction *view = source->addAction(QString());
            view->setObjectName(QStringLiteral("menv"));
            view->setProperty("Index", i);
        }
        toolbar = window.addToolBar(QStringLiteral("tools"));
        toolbar->setObjectName(QStringLiteral("tlb"));
        toolbar->addAction(QStringLiteral("New"));
        toolbar->addSeparator();
        toolbar->addAction(QStringLiteral("Open"));
        for (int i = 0; i < 3; ++i)
            window.statusBar()->addWidget(new QLabel(QStringLiteral("panel")));
        window.statusBar()->setObjectName(QStringLiteral("stb"));
        auto *central = new QWidget(&window);
        window.setCentralWidget(central);
        filter = new QLineEdit(central);
        filter->setObjectName(QStringLiteral("txtFilter"));
        go = new QPushButton(QStringLiteral("Go"), central);
        go->setObjectName(QStringLiteral("sbtGo"));
        list = new QTreeWidget(central);
        list->setObjectName(QStringLiteral("lsvDestination"));
        list->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Size")});
        list->headerItem()->setData(1, Qt::UserRole, QStringLiteral("200")); // the Size column's least width
        list->header()->setStretchLastSection(false);
        list->resize(500, 200);
        window.resize(700, 400);
        window.show();
        reset();
    }
    void reset()
    {
        source->setTitle(QStringLiteral("&Source"));
        const char *captions[] = {"Select &All", "&Refresh", "View &0", "View &1"};
        for (int i = 0; i < 4; ++i)
            source->actions().at(i)->setText(QLatin1String(captions[i]));
        for (QWidget *w : std::initializer_list<QWidget *> {filter, go})
            w->setToolTip(QStringLiteral("old tip"));
        for (QAction *a : toolbar->actions())
            a->setToolTip(QStringLiteral("old tip"));
        for (QLabel *panel : window.statusBar()->findChildren<QLabel *>())
            panel->setToolTip(QStringLiteral("old tip"));
        list->clear();
        list->header()->resizeSection(0, 40);
        list->header()->resizeSection(1, 40);
    }
    void fill()
    {
        new QTreeWidgetItem(list, {QStringLiteral("a rather long file name.mp3"), QStringLiteral("1 KB")});
        new QTreeWidgetItem(list, {QStringLiteral("b.mp3"), QStringLiteral("2 KB")});
    }
    std::string captions() const
    {
        std::string text = source->title().toStdString();
        for (QAction *a : source->actions())
            text += "|" + a->text().toStdString();
        return text;
    }
    std::string tips() const
    {
        std::string text = filter->toolTip().toStdString() + "|" + go->toolTip().toStdString() + "|";
        for (QAction *a : toolbar->actions())
            text += a->toolTip().toStdString() + ",";
        text += "|";
        for (QLabel *panel : window.statusBar()->findChildren<QLabel *>())
            text += panel->toolTip().toStdString() + ",";
        return text;
    }
    std::string widths() const
    {
        const int first = list->header()->sectionSize(0);
        const bool fits = first >= list->fontMetrics().horizontalAdvance(QStringLiteral("a rather long file name.mp3"));
        return (fits ? std::string("fits") : std::to_string(first)) + "|"
            + std::to_string(list->header()->sectionSize(1));
    }

    QMainWindow window;
    QMenu *source = nullptr;
    QToolBar *toolbar = nullptr;
    QLineEdit *filter = nullptr;
    QPushButton *go = nullptr;
    QTreeWidget *list = nullptr;
};

class FormsClient : public ::testing::Test
{
public:
    TempTree tree;
    ScopedEnv store {"QFC_REGISTRY_DIR", tree.path("registry")};
    Object<GenFunsSlots> gen {clsidGenFuns, iidGenFuns};
    Form form;
    IDispatch *formObject = mrb::ui::formAutomationObject(&form.window);
    IDispatch *listObject = mrb::ui::formAutomationObject(form.list);

    ~FormsClient() override
    {
        formObject->lpVtbl->Release(formObject);
        listObject->lpVtbl->Release(listObject);
    }

    // SetMenuCaption or SetTip with a language file, then what the form shows.
    Case language(std::string name,
        HRESULT (*const GenFunsSlots::*slot)(void *, IDispatch **, B),
        DISPID dispid,
        std::string file,
        std::string (Form::*shows)() const,
        std::string after)
    {
        return {name,
            [this](const Place &) { form.reset(); },
            [=, this](const Place &) {
                IDispatch *target = formObject;
                return (gen.operator->()->*slot)(gen.self(), &target, Str(file).get()) == S_OK ? "" : "failed";
            },
            dispid,
            [=, this](const Place &) {
                return std::vector<Arg> {objref(formObject), s(file)};
            },
            "",
            [=, this](const Place &) { return (form.*shows)(); },
            after};
    }
    Case columns(std::string name, bool rows, std::string after)
    {
        return {name,
            [this, rows](const Place &) {
                form.reset();
                if (rows)
                    form.fill();
            },
            [this](const Place &) {
                IDispatch *target = listObject;
                return gen->AdjListColWid(gen.self(), &target) == S_OK ? "" : "failed";
            },
            id(5),
            [this](const Place &) { return std::vector<Arg> {objref(listObject)}; },
            "",
            [this](const Place &) { return form.widths(); },
            after};
    }
};

TEST_F(FormsClient, MenuCaptionsTipsAndColumnWidthsThroughTheirSlotsAndThroughInvoke)
{
    ASSERT_TRUE(gen);
    const std::string menus = tree.fileWith("menus.ini",
        "[frmTest]\r\nmens=&Quelle\r\nmenss=&Alles ausw\xC3\xA4hlen\r\nmenv(1)=Ansicht &2\r\nmensr=\r\n"
        "[other]\r\nmenv(0)=nothing\r\n");
    const std::string tips = tree.fileWith("tips.ini",
        "[frmTest]\r\ntxtFilter=Filtermuster\r\ntlb.Buttons(1)=Neu\r\ntlb.Buttons(3)=\xC3\x96"
        "ffnen\r\n"
        "stb.Panels(2)=Dateien\r\nmenss=not a tip\r\n");
    const std::string original = "&Source|Select &All|&Refresh|View &0|View &1";
    runBothWays(gen.dispatch(),
        tree.root(),
        {
            // A missing or empty text leaves the caption as it was.
            language("SetMenuCaption",
                &GenFunsSlots::SetMenuCaption,
                id(2),
                menus,
                &Form::captions,
                "&Quelle|&Alles ausw\xC3\xA4hlen|&Refresh|View &0|Ansicht &2"),
            language("SetMenuCaption without its file",
                &GenFunsSlots::SetMenuCaption,
                id(2),
                tree.path("missing.ini"),
                &Form::captions,
                original),
            // A missing text clears the tip; menu items have none.
            language("SetTip",
                &GenFunsSlots::SetTip,
                id(3),
                tips,
                &Form::tips,
                "Filtermuster||Neu,,\xC3\x96"
                "ffnen,|,Dateien,,"),
            // (a toolbar button without a tip of its own shows its text)
            language(
                "SetTip with the captions' file", &GenFunsSlots::SetTip, id(3), menus, &Form::tips, "||New,,Open,|,,,"),
            columns("AdjListColWid", true, "fits|200"),
            columns("AdjListColWid without rows", false, "40|40"),
        });
}

} // namespace
