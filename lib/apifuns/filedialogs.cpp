// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/apifuns/filedialogs.h"

#include "lib/apifuns/widgets.h"

#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace qfc
{

namespace
{

QString patternsOf(const std::string &patterns)
{
    QStringList out;
    for (QString p : QString::fromStdString(patterns).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        p = p.trimmed();
        if (p == QLatin1String("*.*"))
            p = QStringLiteral("*");
        if (!p.isEmpty())
            out << p;
    }
    return out.join(QLatin1Char(' '));
}

// A save dialog that also refuses a folder that does not exist, as the
// caller asks that the path exist.
class SaveDialog : public QFileDialog
{
public:
    using QFileDialog::QFileDialog;

    void accept() override
    {
        const QStringList files = selectedFiles();
        if (!files.isEmpty()) {
            const QFileInfo info(files.first());
            if (!info.isDir() && !info.absoluteDir().exists()) {
                showPlainMessage(this,
                    windowTitle(),
                    QStringLiteral("%1\nThe path does not exist. Check the path and try again.")
                        .arg(QDir::toNativeSeparators(info.absolutePath())),
                    MessageKind::Warning);
                return;
            }
        }
        QFileDialog::accept();
    }
};

void prepare(QFileDialog &dialog, QWidget *owner, const std::string &filter, const std::string &defDir)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);
    const QStringList filters = nameFiltersOf(filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.first());
    }
    if (!defDir.empty() && QFileInfo(toQPath(defDir)).isDir())
        dialog.setDirectory(toQPath(defDir));
}

std::string withoutTrailingSlash(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

} // namespace

QStringList nameFiltersOf(const std::string &filter)
{
    std::vector<std::string> parts;
    std::string current;
    for (const char c : filter) {
        if (c == '\0') {
            parts.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty())
        parts.push_back(current);
    QStringList filters;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].empty() && parts[i + 1].empty())
            break; // the double NUL that ends the list
        const QString patterns = patternsOf(parts[i + 1]);
        if (!patterns.isEmpty())
            filters << QStringLiteral("%1 (%2)").arg(QString::fromStdString(parts[i]), patterns);
    }
    return filters;
}

std::string saveFileName(QWidget *owner,
    const std::string &title,
    const std::string &fileName,
    const std::string &filter,
    const std::string &defDir,
    const std::string &defExt)
{
    SaveDialog dialog(owner, title.empty() ? QStringLiteral("Save As") : QString::fromStdString(title));
    prepare(dialog, owner, filter, defDir);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    QString suffix = QString::fromStdString(defExt).trimmed();
    while (suffix.startsWith(QLatin1Char('.')))
        suffix.remove(0, 1);
    if (!suffix.isEmpty())
        dialog.setDefaultSuffix(suffix);
    if (!fileName.empty())
        dialog.selectFile(toQPath(fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return fromQPath(dialog.selectedFiles().first());
}

std::vector<std::string> openFileNames(
    QWidget *owner, const std::string &title, const std::string &filter, const std::string &defDir, bool multiSel)
{
    QFileDialog dialog(owner, title.empty() ? QStringLiteral("Open") : QString::fromStdString(title));
    prepare(dialog, owner, filter, defDir);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(multiSel ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList files = dialog.selectedFiles();
    if (files.size() == 1)
        return {fromQPath(files.first())};
    std::vector<std::string> out;
    if (files.isEmpty())
        return out;
    // Several files: their folder first, then the names in the dialog's order.
    out.push_back(withoutTrailingSlash(fromQPath(QFileInfo(files.first()).absolutePath())));
    for (const QString &f : files)
        out.push_back(fromQPath(QFileInfo(f).fileName()));
    return out;
}

std::string chooseFolder(QWidget *owner, const std::string &prompt)
{
    QFileDialog dialog(owner, prompt.empty() ? QStringLiteral("Browse for Folder") : QString::fromStdString(prompt));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setDirectory(QDir::homePath());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QFileInfo chosen(dialog.selectedFiles().first());
    if (!chosen.isDir())
        return {};
    return withoutTrailingSlash(fromQPath(chosen.absoluteFilePath()));
}

std::int32_t selectColor(QWidget *owner)
{
    QColorDialog dialog(Qt::black, owner);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    dialog.setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);
    if (dialog.exec() != QDialog::Accepted)
        return -1;
    const QColor c = dialog.selectedColor();
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(c.red()) | (static_cast<std::uint32_t>(c.green()) << 8)
        | (static_cast<std::uint32_t>(c.blue()) << 16));
}

} // namespace qfc
