// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/fs/typedescriber.h"

#include <QMimeDatabase>
#include <QMimeType>
#include <QString>

namespace mrb::platform::posix
{

namespace
{

const std::string kNoExtension = "File";

std::string_view extensionOf(std::string_view name)
{
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0)
        return {};
    return name.substr(dot + 1);
}

std::string lookUp(const std::string &lowerExtension)
{
    static const QMimeDatabase database;
    const QString probe =
        QStringLiteral("x.") + QString::fromUtf8(lowerExtension.data(), qsizetype(lowerExtension.size()));
    const QMimeType mime = database.mimeTypeForFile(probe, QMimeDatabase::MatchExtension);
    if (mime.isValid() && !mime.isDefault()) {
        const QString comment = mime.comment();
        if (!comment.isEmpty())
            return comment.toStdString();
    }
    std::string text;
    for (const char c : lowerExtension)
        text.push_back((c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c);
    return text + " File";
}

} // namespace

TypeDescriber::TypeDescriber() = default;
TypeDescriber::~TypeDescriber() = default;

const std::string &TypeDescriber::describe(std::string_view fileName)
{
    const std::string_view extension = extensionOf(fileName);
    if (extension.empty())
        return kNoExtension;
    std::string key(extension);
    for (char &c : key) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    const std::lock_guard lock(m_mutex);
    auto it = m_byExtension.find(key);
    if (it == m_byExtension.end()) {
        std::string text = lookUp(key);
        it = m_byExtension.emplace(std::move(key), std::move(text)).first;
    }
    return it->second;
}

} // namespace mrb::platform::posix
