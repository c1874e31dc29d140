// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/apifuns/propertieswindow.h"

#include "lib/apifuns/widgets.h"
#include "platform/os/fileowner.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QMimeDatabase>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

#include <filesystem>
#include <optional>

namespace qfc
{

namespace
{

struct FolderContents {
    std::uint64_t bytes = 0;
    std::uint64_t files = 0;
    std::uint64_t folders = 0;
    bool complete = true;
};

// Totals below a folder, never through symbolic links; a very large tree is
// cut short after a few seconds so the window still opens.
FolderContents contentsOf(const std::string &folder)
{
    FolderContents c;
    QElapsedTimer clock;
    clock.start();
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(
             folder, std::filesystem::directory_options::skip_permission_denied, ec);
         it != std::filesystem::recursive_directory_iterator();
         it.increment(ec)) {
        if (ec)
            break;
        const std::filesystem::file_status status = it->symlink_status(ec);
        if (ec)
            continue;
        if (std::filesystem::is_directory(status))
            ++c.folders;
        else {
            ++c.files;
            if (const std::uintmax_t size = it->file_size(ec); std::filesystem::is_regular_file(status) && !ec)
                c.bytes += static_cast<std::uint64_t>(size);
        }
        if ((c.files + c.folders) % 1024 == 0 && clock.elapsed() > 3000) {
            c.complete = false;
            break;
        }
    }
    return c;
}

QString sizeText(std::uint64_t bytes)
{
    const QLocale locale;
    return QStringLiteral("%1 (%2 bytes)")
        .arg(locale.formattedDataSize(static_cast<qint64>(bytes)), locale.toString(static_cast<qulonglong>(bytes)));
}

QString dateText(const QDateTime &when)
{
    return when.isValid() ? QLocale().toString(when.toLocalTime(), QLocale::LongFormat) : QString();
}

QString permissionText(const mrb::platform::FileOwnership &owner)
{
    static const char letters[] = "rwxrwxrwx";
    QString mode;
    for (int i = 0; i < 9; ++i)
        mode += (owner.permissions & (0400u >> i)) ? QLatin1Char(letters[i]) : QLatin1Char('-');
    return QStringLiteral("%1 (owner %2, group %3)")
        .arg(mode, QString::fromLocal8Bit(owner.user.c_str()), QString::fromLocal8Bit(owner.group.c_str()));
}

QLabel *value(QWidget *parent, const QString &text, const char *name)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText); // names may hold what reads as markup
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setWordWrap(true);
    return label;
}

} // namespace

QWidget *showProperties(QWidget *owner, const std::string &path)
{
    const std::optional<mrb::platform::FileOwnership> ownership = mrb::platform::ownershipOf(path);
    if (!ownership)
        return nullptr;
    const QFileInfo info(toQPath(path));
    const bool isFolder = info.isDir();

    auto *window = new QWidget(owner, Qt::Window);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setObjectName(QStringLiteral("properties"));
    const QString name = info.fileName().isEmpty() ? info.absoluteFilePath() : info.fileName();
    window->setWindowTitle(QStringLiteral("%1 Properties").arg(name));

    auto *layout = new QVBoxLayout(window);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Name:"), value(window, name, "name"));
    QString type = isFolder ? QStringLiteral("Folder") : QMimeDatabase().mimeTypeForFile(info).comment();
    if (info.isSymLink())
        type += QStringLiteral(" (link to %1)").arg(info.symLinkTarget());
    form->addRow(QStringLiteral("Type:"), value(window, type, "type"));
    form->addRow(QStringLiteral("Location:"), value(window, info.absolutePath(), "location"));
    if (isFolder) {
        const FolderContents c = contentsOf(path);
        form->addRow(QStringLiteral("Size:"),
            value(window, sizeText(c.bytes) + (c.complete ? QString() : QStringLiteral(" or more")), "size"));
        form->addRow(QStringLiteral("Contains:"),
            value(window,
                QStringLiteral("%1 files, %2 folders")
                    .arg(QLocale().toString(static_cast<qulonglong>(c.files)),
                        QLocale().toString(static_cast<qulonglong>(c.folders))),
                "contains"));
    } else {
        form->addRow(QStringLiteral("Size:"), value(window, sizeText(static_cast<std::uint64_t>(info.size())), "size"));
    }
    form->addRow(QStringLiteral("Created:"), value(window, dateText(info.birthTime()), "created"));
    form->addRow(QStringLiteral("Modified:"), value(window, dateText(info.lastModified()), "modified"));
    form->addRow(QStringLiteral("Accessed:"), value(window, dateText(info.lastRead()), "accessed"));
    form->addRow(QStringLiteral("Permissions:"), value(window, permissionText(*ownership), "permissions"));
    layout->addLayout(form);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, window);
    QObject::connect(buttons, &QDialogButtonBox::rejected, window, &QWidget::close);
    layout->addWidget(buttons);
    window->show();
    return window;
}

} // namespace qfc
