/* SPDX-FileCopyrightText: 2026 The Marrowby developers */
/* SPDX-License-Identifier: MIT */
/*
 * A resource library for LoadDLL and GetDLLString of APIFuns: a shared object
 * that exports, under the name qfc_string_table, an array of string resources
 * ended by an entry whose text is NULL. Usable from C and C++:
 *
 *   const QfcStringResource qfc_string_table[] = {
 *       {101, "Western European"}, {102, "Unicode (UTF-8)"}, {0, NULL}};
 */
#ifndef QFC_MRB_STRINGTABLE_H
#define QFC_MRB_STRINGTABLE_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct QfcStringResource {
    int32_t id; /* the ResID GetDLLString asks for */
    const char *text; /* UTF-8 */
} QfcStringResource;

#define QFC_STRING_TABLE_SYMBOL "qfc_string_table"

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* QFC_MRB_STRINGTABLE_H */
