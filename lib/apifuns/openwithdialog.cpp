// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/apifuns/openwithdialog.h"

#include "lib/apifuns/widgets.h"
#include "platform/shell/desktopapps.h"
#include "platform/shell/launcher.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace qfc
{

namespace
{

const QString title = QStringLiteral("Open With");

class OpenWithDialog : public QDialog
{
public:
    OpenWithDialog(QWidget *owner, std::string path)
        : QDialog(owner)
        , m_path(std::move(path))
    {
        setWindowTitle(title);
        auto *layout = new QVBoxLayout(this);
        auto *question =
            new QLabel(QStringLiteral("No program is set to open \"%1\".\nChoose the program to open it with:")
                           .arg(QFileInfo(toQPath(m_path)).fileName()),
                this);
        question->setTextFormat(Qt::PlainText); // the name is shown as typed, never as markup
        layout->addWidget(question);
        m_list = new QListWidget(this);
        m_list->setObjectName(QStringLiteral("applications"));
        layout->addWidget(m_list);
        layout->addWidget(new QLabel(QStringLiteral("Or type a program (the file is added as its last argument, or "
                                                    "where %f stands):"),
            this));
        m_command = new QLineEdit(this);
        m_command->setObjectName(QStringLiteral("command"));
        layout->addWidget(m_command);
        auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&Open"));
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
        layout->addWidget(buttons);
        fill();
    }

    void accept() override
    {
        std::vector<std::string> command;
        const QString typed = m_command->text().trimmed();
        if (!typed.isEmpty()) {
            command = mrb::platform::commandLineFor(typed.toStdString(), m_path);
        } else if (const QListWidgetItem *item = m_list->currentItem()) {
            command = mrb::platform::commandLineFor(item->data(Qt::UserRole).toString().toStdString(), m_path);
        }
        if (command.empty())
            return;
        const std::string program = mrb::platform::findProgram(command.front());
        if (program.empty() || !mrb::platform::startDetached(program, {command.begin() + 1, command.end()})) {
            showPlainMessage(this,
                title,
                QStringLiteral("The program \"%1\" could not be started.").arg(QString::fromStdString(command.front())),
                MessageKind::Warning);
            return;
        }
        QDialog::accept();
    }

private:
    void fill()
    {
        const auto types = mrb::platform::mimeTypesOf(m_path);
        auto apps = mrb::platform::installedApplications();
        auto fits = [&types](const mrb::platform::DesktopApplication &app) {
            return std::any_of(app.mimeTypes.begin(), app.mimeTypes.end(), [&types](const std::string &t) {
                return std::find(types.begin(), types.end(), t) != types.end();
            });
        };
        std::stable_partition(apps.begin(), apps.end(), fits);
        for (const auto &app : apps) {
            auto *item = new QListWidgetItem(QString::fromStdString(app.name), m_list);
            item->setData(Qt::UserRole, QString::fromStdString(app.exec));
            item->setToolTip(QString::fromStdString(app.exec));
        }
        if (m_list->count() > 0)
            m_list->setCurrentRow(0);
    }

    std::string m_path;
    QListWidget *m_list;
    QLineEdit *m_command;
};

} // namespace

void chooseApplicationFor(QWidget *owner, const std::string &path)
{
    OpenWithDialog dialog(owner, path);
    dialog.setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);
    dialog.exec();
}

} // namespace qfc
