// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/window/formautomation.h"

#include "platform/com/controlkinds.h"
#include "platform/com/guid.h"
#include "platform/com/objectdispatch.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QSizeGrip>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>
#include <QTreeView>

namespace mrb::ui
{

namespace
{

using mrb::platform::ObjectCollection;

// A column header is a small object of the view's, made once per column.
constexpr const char *columnProperty = "qfcColumn";

QHeaderView *headerOf(QObject *view)
{
    if (auto *tree = qobject_cast<QTreeView *>(view))
        return tree->header();
    if (auto *table = qobject_cast<QTableView *>(view))
        return table->horizontalHeader();
    return nullptr;
}

QObject *columnHeader(QObject *view, int section)
{
    const QString name = QStringLiteral("qfc-column-%1").arg(section);
    if (QObject *known = view->findChild<QObject *>(name, Qt::FindDirectChildrenOnly))
        return known;
    auto *column = new QObject(view);
    column->setObjectName(name);
    column->setProperty(columnProperty, section);
    return column;
}

bool inToolbar(const QAction *action)
{
    for (const QObject *o : action->associatedObjects()) {
        if (qobject_cast<const QToolBar *>(o))
            return true;
    }
    return false;
}

bool isMenuItem(QObject *object)
{
    if (qobject_cast<QMenu *>(object))
        return true;
    auto *action = qobject_cast<QAction *>(object);
    if (!action || action->isSeparator())
        return false;
    for (const QObject *o : action->associatedObjects()) {
        if (qobject_cast<const QMenu *>(o) || qobject_cast<const QMenuBar *>(o))
            return true;
    }
    return false;
}

ObjectCollection collectionOf(const QList<QObject *> &objects, int firstIndex)
{
    ObjectCollection c;
    c.firstIndex = firstIndex;
    for (QObject *o : objects)
        c.items.push_back(o);
    return c;
}

QList<QObject *> controlsOf(QObject *form)
{
    QList<QObject *> controls;
    for (QObject *o : form->findChildren<QObject *>()) {
        const QString name = o->objectName();
        if ((o->isWidgetType() || qobject_cast<QAction *>(o)) && !name.isEmpty()
            && !name.startsWith(QLatin1String("qt_")))
            controls.push_back(o);
    }
    return controls;
}

QList<QObject *> panelsOf(QStatusBar *bar)
{
    QList<QObject *> panels;
    for (QWidget *w : bar->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (!qobject_cast<QSizeGrip *>(w) && !w->objectName().startsWith(QLatin1String("qt_")))
            panels.push_back(w);
    }
    return panels;
}

class FormMembers final : public mrb::platform::ObjectMembers
{
public:
    std::optional<QVariant> get(QObject *object, const QString &name, const QVariantList &) const override
    {
        const auto is = [&name](const char *n) { return name.compare(QLatin1String(n), Qt::CaseInsensitive) == 0; };
        if (const QVariant section = object->property(columnProperty); section.isValid()) {
            QHeaderView *header = headerOf(object->parent());
            if (!header)
                return std::nullopt;
            if (is("Width"))
                return header->sectionSize(section.toInt());
            if (is("Tag"))
                return header->model()
                    ? header->model()->headerData(section.toInt(), Qt::Horizontal, Qt::UserRole).toString()
                    : QString();
            return std::nullopt;
        }
        if (is("Name"))
            return object->objectName();
        if (is("Index")) {
            const QVariant index = object->property("Index");
            return index.isValid() ? std::optional<QVariant>(index) : std::nullopt;
        }
        if (is("Caption"))
            return caption(object);
        if (is("ToolTipText")) {
            if (auto *action = qobject_cast<QAction *>(object))
                return inToolbar(action) ? std::optional<QVariant>(action->toolTip()) : std::nullopt;
            if (object->isWidgetType() && !qobject_cast<QMenu *>(object))
                return static_cast<QWidget *>(object)->toolTip();
            return std::nullopt;
        }
        if (is("Controls"))
            return QVariant::fromValue(collectionOf(controlsOf(object), 0));
        if (is("Buttons")) {
            if (auto *bar = qobject_cast<QToolBar *>(object)) {
                QList<QObject *> buttons;
                for (QAction *a : bar->actions())
                    buttons.push_back(a);
                return QVariant::fromValue(collectionOf(buttons, 1));
            }
        }
        if (is("Panels")) {
            if (auto *bar = qobject_cast<QStatusBar *>(object))
                return QVariant::fromValue(collectionOf(panelsOf(bar), 1));
        }
        if (is("View")) {
            if (qobject_cast<QTreeView *>(object) || qobject_cast<QTableView *>(object))
                return 3;
            if (auto *list = qobject_cast<QListView *>(object))
                return list->viewMode() == QListView::IconMode ? 0 : 2;
        }
        if (is("ListItems")) {
            if (auto *view = qobject_cast<QAbstractItemView *>(object)) {
                ObjectCollection rows;
                rows.count = view->model() ? view->model()->rowCount() : 0;
                return QVariant::fromValue(rows);
            }
        }
        if (is("ColumnHeaders")) {
            if (QHeaderView *header = headerOf(object)) {
                QList<QObject *> columns;
                for (int i = 0; i < header->count(); ++i)
                    columns.push_back(columnHeader(object, i));
                return QVariant::fromValue(collectionOf(columns, 1));
            }
        }
        if (is("hwnd") && object->isWidgetType())
            return static_cast<int>(static_cast<QWidget *>(object)->winId());
        return std::nullopt;
    }

    bool set(QObject *object, const QString &name, const QVariant &value) const override
    {
        const auto is = [&name](const char *n) { return name.compare(QLatin1String(n), Qt::CaseInsensitive) == 0; };
        if (const QVariant section = object->property(columnProperty); section.isValid()) {
            QHeaderView *header = headerOf(object->parent());
            bool ok = false;
            const int width = value.toInt(&ok);
            if (!header || !is("Width") || !ok)
                return false;
            header->resizeSection(section.toInt(), width);
            return true;
        }
        if (is("Caption"))
            return setCaption(object, value.toString());
        if (is("ToolTipText")) {
            if (auto *action = qobject_cast<QAction *>(object)) {
                if (!inToolbar(action))
                    return false;
                action->setToolTip(value.toString());
                return true;
            }
            if (!object->isWidgetType() || qobject_cast<QMenu *>(object))
                return false;
            static_cast<QWidget *>(object)->setToolTip(value.toString());
            return true;
        }
        return false;
    }

    bool implements(QObject *object, const IID &iid) const override
    {
        if (iid == mrb::platform::IID_ToolbarControl)
            return qobject_cast<QToolBar *>(object) != nullptr;
        if (iid == mrb::platform::IID_StatusBarControl)
            return qobject_cast<QStatusBar *>(object) != nullptr;
        if (iid == mrb::platform::IID_MenuControl)
            return isMenuItem(object);
        return false;
    }

private:
    static std::optional<QVariant> caption(QObject *object)
    {
        if (auto *action = qobject_cast<QAction *>(object))
            return action->text();
        if (auto *menu = qobject_cast<QMenu *>(object))
            return menu->title();
        if (auto *button = qobject_cast<QAbstractButton *>(object))
            return button->text();
        if (auto *label = qobject_cast<QLabel *>(object))
            return label->text();
        if (auto *group = qobject_cast<QGroupBox *>(object))
            return group->title();
        if (object->isWidgetType() && static_cast<QWidget *>(object)->isWindow())
            return static_cast<QWidget *>(object)->windowTitle();
        return std::nullopt;
    }
    static bool setCaption(QObject *object, const QString &text)
    {
        if (auto *action = qobject_cast<QAction *>(object))
            action->setText(text);
        else if (auto *menu = qobject_cast<QMenu *>(object))
            menu->setTitle(text);
        else if (auto *button = qobject_cast<QAbstractButton *>(object))
            button->setText(text);
        else if (auto *label = qobject_cast<QLabel *>(object))
            label->setText(text);
        else if (auto *group = qobject_cast<QGroupBox *>(object))
            group->setTitle(text);
        else if (object->isWidgetType() && static_cast<QWidget *>(object)->isWindow())
            static_cast<QWidget *>(object)->setWindowTitle(text);
        else
            return false;
        return true;
    }
};

} // namespace

IDispatch *formAutomationObject(QWidget *form)
{
    static const auto members = std::make_shared<const FormMembers>();
    return mrb::platform::newObjectDispatch(form, members);
}

} // namespace mrb::ui
