/* SPDX-FileCopyrightText: 2026 The Marrowby developers */
/* SPDX-License-Identifier: MIT */
/* Checks of libQFC_MRB.so's binary interface, written in C (abi_checks.c).
   Each returns NULL when it passes, or what went wrong. */
#ifndef MRB_TESTS_LIB_ABI_CHECKS_H
#define MRB_TESTS_LIB_ABI_CHECKS_H

#ifdef __cplusplus
extern "C" {
#endif

const char *abiOpen(const char *libraryPath);
const char *abiIniThroughSlots(const char *iniPath);
const char *abiInVarThroughSlot(void);
const char *abiThroughInvoke(const char *iniPath);
const char *abiUnknownInterface(void);
const char *abiUnloadAfterLastRelease(void);

#ifdef __cplusplus
}
#endif

#endif
