// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/apifuns/netdrivedialogs.h"

#include "lib/apifuns/widgets.h"
#include "platform/shell/networkmounts.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QVBoxLayout>

namespace qfc
{

namespace
{

const QString connectTitle = QStringLiteral("Connect Network Drive");
const QString disconnectTitle = QStringLiteral("Disconnect Network Drive");

void sayGioIsMissing(QWidget *owner, const QString &title)
{
    showPlainMessage(owner,
        title,
        QStringLiteral("Network locations cannot be connected or disconnected because the program "
                       "\"gio\" is not installed.\n\nInstall the package libglib2.0-bin (and "
                       "gvfs-backends for smb, sftp and dav locations), then try again."),
        MessageKind::Warning);
}

struct GioAnswers {
    QString user;
    QString domain;
    QString password;
};

// Runs gio with args, answering its user, domain and password prompts. True
// on success; otherwise *error holds what went wrong.
bool runGio(const QString &gio, const QStringList &args, const GioAnswers &answers, QString *error)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(gio, args);
    if (!process.waitForStarted(5000)) {
        *error = QStringLiteral("gio could not be started.");
        return false;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString output;
    int passwordPrompts = 0;
    QElapsedTimer clock;
    clock.start();
    bool refused = false;
    while (process.state() != QProcess::NotRunning && clock.elapsed() < 120000) {
        process.waitForReadyRead(100);
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        output += QString::fromLocal8Bit(process.readAll());
        const QString prompt = output.mid(output.lastIndexOf(QLatin1Char('\n')) + 1);
        if (!prompt.endsWith(QLatin1String(": ")))
            continue;
        QString reply;
        if (prompt.startsWith(QLatin1String("User"))) {
            reply = answers.user;
        } else if (prompt.startsWith(QLatin1String("Domain"))) {
            reply = answers.domain;
        } else if (prompt.startsWith(QLatin1String("Password"))) {
            if (++passwordPrompts > 1) {
                refused = true;
                break;
            }
            reply = answers.password;
        } else {
            continue;
        }
        output += QLatin1Char('\n');
        process.write((reply + QLatin1Char('\n')).toLocal8Bit());
    }
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(2000);
    }
    output += QString::fromLocal8Bit(process.readAll());
    QApplication::restoreOverrideCursor();
    if (refused) {
        *error = QStringLiteral("The user name or password was not accepted.");
        return false;
    }
    if (process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
        return true;
    *error = output.trimmed();
    if (error->isEmpty())
        *error = QStringLiteral("gio gave up without saying why.");
    return false;
}

class ConnectDialog : public QDialog
{
public:
    ConnectDialog(QWidget *owner, QString gio)
        : QDialog(owner)
        , m_gio(std::move(gio))
    {
        setWindowTitle(connectTitle);
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(new QLabel(QStringLiteral("Enter the address of a remote location, for example "
                                                    "smb://server/share, sftp://host/folder or dav://host/path."),
            this));
        auto *form = new QFormLayout;
        m_address = new QLineEdit(this);
        m_address->setObjectName(QStringLiteral("address"));
        m_address->setPlaceholderText(QStringLiteral("smb://server/share"));
        m_user = new QLineEdit(this);
        m_user->setObjectName(QStringLiteral("user"));
        m_domain = new QLineEdit(this);
        m_domain->setObjectName(QStringLiteral("domain"));
        m_password = new QLineEdit(this);
        m_password->setObjectName(QStringLiteral("password"));
        m_password->setEchoMode(QLineEdit::Password);
        form->addRow(QStringLiteral("&Address:"), m_address);
        form->addRow(QStringLiteral("&User name:"), m_user);
        form->addRow(QStringLiteral("&Domain:"), m_domain);
        form->addRow(QStringLiteral("&Password:"), m_password);
        layout->addLayout(form);
        auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&Connect"));
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        layout->addWidget(buttons);
    }

    void accept() override
    {
        const QString address = m_address->text().trimmed();
        if (!mrb::platform::isMountableAddress(address.toStdString())) {
            showPlainMessage(this,
                connectTitle,
                QStringLiteral("Enter an address such as smb://server/share or sftp://host/folder."),
                MessageKind::Warning);
            return;
        }
        QString error;
        if (!runGio(m_gio,
                {QStringLiteral("mount"), address},
                {m_user->text(), m_domain->text(), m_password->text()},
                &error)) {
            showPlainMessage(this,
                connectTitle,
                QStringLiteral("%1 could not be connected:\n%2").arg(address, error),
                MessageKind::Warning);
            return;
        }
        QDialog::accept();
    }

private:
    QString m_gio;
    QLineEdit *m_address;
    QLineEdit *m_user;
    QLineEdit *m_domain;
    QLineEdit *m_password;
};

class DisconnectDialog : public QDialog
{
public:
    DisconnectDialog(QWidget *owner, QString gio, const std::vector<mrb::platform::NetworkMount> &mounts)
        : QDialog(owner)
        , m_gio(std::move(gio))
    {
        setWindowTitle(disconnectTitle);
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(new QLabel(QStringLiteral("Choose the network location to disconnect:"), this));
        m_list = new QListWidget(this);
        m_list->setObjectName(QStringLiteral("mounts"));
        for (const auto &mount : mounts) {
            auto *item = new QListWidgetItem(
                QStringLiteral("%1 (%2)").arg(QString::fromStdString(mount.name), QString::fromStdString(mount.uri)),
                m_list);
            item->setData(Qt::UserRole, QString::fromStdString(mount.uri));
        }
        m_list->setCurrentRow(0);
        layout->addWidget(m_list);
        auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&Disconnect"));
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        layout->addWidget(buttons);
    }

    void accept() override
    {
        const QListWidgetItem *item = m_list->currentItem();
        if (!item)
            return;
        const QString uri = item->data(Qt::UserRole).toString();
        QString error;
        if (!runGio(m_gio, {QStringLiteral("mount"), QStringLiteral("-u"), uri}, {}, &error)) {
            showPlainMessage(this,
                disconnectTitle,
                QStringLiteral("%1 could not be disconnected:\n%2").arg(uri, error),
                MessageKind::Warning);
            return;
        }
        QDialog::accept();
    }

private:
    QString m_gio;
    QListWidget *m_list;
};

} // namespace

void mapNetworkDrive(QWidget *owner)
{
    const QString gio = QString::fromStdString(mrb::platform::gioProgram());
    if (gio.isEmpty()) {
        sayGioIsMissing(owner, connectTitle);
        return;
    }
    ConnectDialog dialog(owner, gio);
    dialog.setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);
    dialog.exec();
}

void disconnectNetworkDrive(QWidget *owner)
{
    const QString gio = QString::fromStdString(mrb::platform::gioProgram());
    if (gio.isEmpty()) {
        sayGioIsMissing(owner, disconnectTitle);
        return;
    }
    const auto mounts = mrb::platform::networkMounts();
    if (mounts.empty()) {
        showPlainMessage(owner,
            disconnectTitle,
            QStringLiteral("There are no connected network locations."),
            MessageKind::Information);
        return;
    }
    DisconnectDialog dialog(owner, gio, mounts);
    dialog.setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);
    dialog.exec();
}

} // namespace qfc
