/* SPDX-FileCopyrightText: 2026 The Marrowby developers */
/* SPDX-License-Identifier: MIT */
/* A resource library as LoadDLL reads one: a shared object with a string table. */
#include "lib/apifuns/stringtable.h"

#include <stddef.h>

#define TEN "0123456789"
#define HUNDRED TEN TEN TEN TEN TEN TEN TEN TEN TEN TEN

__attribute__((visibility("default"))) const QfcStringResource qfc_string_table[] = {
    {101, "Western European (Windows)"},
    {102, "Unicode (UTF-8) \xE2\x80\x94 \xC3\xA9t\xC3\xA9"},
    {103, HUNDRED HUNDRED HUNDRED},
    {0, NULL},
};
