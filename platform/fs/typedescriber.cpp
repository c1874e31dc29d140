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

const TypeDescriber::Type kNoExtension {"File", false};

std::string_view extensionOf(std::string_view name)
{
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0)
        return {};
    return name.substr(dot + 1);
}

// Playlists are audio types in the database; those that are text say so by
// inheriting text/plain, the others are named here.
bool isMediaType(const QMimeType &mime)
{
    const QString name = mime.name();
    if (!name.startsWith(QLatin1String("audio/")) && !name.startsWith(QLatin1String("video/")))
        return false;
    for (const char *playlist : {"audio/x-scpls", "audio/x-ms-asx", "audio/x-iriver-pla"}) {
        if (name == QLatin1String(playlist))
            return false;
    }
    return !mime.inherits(QStringLiteral("text/plain"));
}

TypeDescriber::Type lookUp(const std::string &lowerExtension)
{
    static const QMimeDatabase database;
    const QString probe =
        QStringLiteral("x.") + QString::fromUtf8(lowerExtension.data(), qsizetype(lowerExtension.size()));
    const QMimeType mime = database.mimeTypeForFile(probe, QMimeDatabase::MatchExtension);
    if (mime.isValid() && !mime.isDefault()) {
        const QString comment = mime.comment();
        if (!comment.isEmpty())
            return {comment.toStdString(), isMediaType(mime)};
    }
    std::string text;
    for (const char c : lowerExtension)
        text.push_back((c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c);
    return {text + " File", false};
}

} // namespace

TypeDescriber::TypeDescriber() = default;
TypeDescriber::~TypeDescriber() = default;

const std::string &TypeDescriber::describe(std::string_view fileName)
{
    return typeOf(fileName).description;
}

bool TypeDescriber::isMedia(std::string_view fileName)
{
    return typeOf(fileName).isMedia;
}

const TypeDescriber::Type &TypeDescriber::typeOf(std::string_view fileName)
{
    const std::string_view extension = extensionOf(fileName);
    if (extension.empty())
        return kNoExtension;
    std::string key(extension);
    for (char &c : key) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    {
        // the walk's reading threads ask at once, nearly always for a type already known
        const std::shared_lock lock(m_mutex);
        if (const auto it = m_byExtension.find(key); it != m_byExtension.end())
            return it->second;
    }
    // looked up without the lock, so the others never wait for the database
    Type type = lookUp(key);
    const std::lock_guard lock(m_mutex);
    return m_byExtension.emplace(std::move(key), std::move(type)).first->second;
}

} // namespace mrb::platform::posix
