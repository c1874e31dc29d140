// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "tests/support/playlistreader.h"

#include <totem-pl-parser.h>

namespace mrb::test
{

namespace
{

void collectEntry(TotemPlParser *, const char *uri, GHashTable *, gpointer data)
{
    std::string entry = uri;
    if (gchar *path = g_filename_from_uri(uri, nullptr, nullptr)) {
        entry = path;
        g_free(path);
    }
    static_cast<std::vector<std::string> *>(data)->push_back(entry);
}

} // namespace

ParsedPlaylist readPlaylist(const std::string &path)
{
    ParsedPlaylist playlist;
    TotemPlParser *parser = totem_pl_parser_new();
    g_signal_connect(parser, "entry-parsed", G_CALLBACK(collectEntry), &playlist.entries);
    gchar *uri = g_filename_to_uri(path.c_str(), nullptr, nullptr);
    playlist.parsed = totem_pl_parser_parse(parser, uri, FALSE) == TOTEM_PL_PARSER_RESULT_SUCCESS;
    g_free(uri);
    g_object_unref(parser);
    return playlist;
}

} // namespace mrb::test
