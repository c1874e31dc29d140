/* SPDX-FileCopyrightText: 2026 The Marrowby developers */
/* SPDX-License-Identifier: MIT */
/*
 * A client of libQFC_MRB.so written in C that knows only the binary
 * interface: the four exports, the identifiers and the slot tables. It makes
 * its own strings and arrays by the documented memory layout (a malloc block
 * holding a uint32 byte length, the UTF-16 units and a NUL), so it also proves
 * that a foreign module can free what the library allocates and the reverse.
 * Each check returns NULL when it passes, or what went wrong.
 */
#include "tests/lib/abi_checks.h"

#include "lib/public/interfaces.h"
#include "platform/com/abi.h"

#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* The slot tables, counted from 1 after the seven standard slots. */
#define SLOT(n) (7 + (n)-1)
#define APIFUNS_READINI SLOT(14)
#define APIFUNS_WRITEINI SLOT(16)
#define GENFUNS_INVAR SLOT(5)

_Static_assert(offsetof(QfcAPIFunsVtbl, ReadIni) == APIFUNS_READINI * sizeof(void *), "ReadIni is slot 14");
_Static_assert(offsetof(QfcAPIFunsVtbl, WriteIni) == APIFUNS_WRITEINI * sizeof(void *), "WriteIni is slot 16");
_Static_assert(offsetof(QfcAPIFunsVtbl, GetClipboardText) == SLOT(39) * sizeof(void *), "39 operations");
_Static_assert(offsetof(QfcGenFunsVtbl, InVar) == GENFUNS_INVAR * sizeof(void *), "InVar is slot 5");
_Static_assert(sizeof(QfcGenFunsVtbl) == SLOT(12) * sizeof(void *), "11 operations");
_Static_assert(sizeof(QfcTxtFileVtbl) == SLOT(13) * sizeof(void *), "12 operations");
_Static_assert(sizeof(QfcBase64Vtbl) == SLOT(5) * sizeof(void *), "4 operations");
_Static_assert(sizeof(QfcRegistryVtbl) == SLOT(11) * sizeof(void *), "10 operations");
_Static_assert(sizeof(VARIANT) == 24, "VARIANT is 24 bytes");
_Static_assert(sizeof(GUID) == 16, "GUID is 16 bytes");

typedef HRESULT (*ReadIniFn)(void *self, BSTR file, BSTR section, BSTR key, BSTR *result);
typedef HRESULT (*WriteIniFn)(void *self, BSTR *file, BSTR *section, BSTR *key, BSTR *value);
typedef HRESULT (*InVarFn)(void *self, VARIANT *target, SAFEARRAY **list, VARIANT_BOOL *result);

static const GUID clsidAPIFuns = {0x4D25CE52u, 0x8FCAu, 0x409Au, {0xB1, 0x9A, 0x2B, 0x1B, 0x2B, 0x3C, 0x16, 0xB5}};
static const GUID iidAPIFuns = {0x050D09EDu, 0xB86Bu, 0x4661u, {0xBC, 0x11, 0x42, 0x48, 0xB4, 0x65, 0xE3, 0x51}};
static const GUID clsidGenFuns = {0x82C12EAAu, 0x540Au, 0x47C9u, {0xA0, 0xA0, 0xBC, 0xD0, 0x46, 0xE5, 0x88, 0xCA}};
static const GUID iidGenFuns = {0x278124B4u, 0x3C23u, 0x4060u, {0xA6, 0x42, 0xA7, 0x40, 0x1F, 0x25, 0x92, 0x55}};
static const GUID iidUnknown = {0x00000000u, 0x0000u, 0x0000u, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
static const GUID iidDispatch = {0x00020400u, 0x0000u, 0x0000u, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
static const GUID iidClassFactory = {0x00000001u, 0x0000u, 0x0000u, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
static const GUID iidNull = {0u, 0u, 0u, {0, 0, 0, 0, 0, 0, 0, 0}};
static const GUID iidNobodyKnows = {0x12345678u, 0x9ABCu, 0xDEF0u, {1, 2, 3, 4, 5, 6, 7, 8}};

static void *library;
static DllGetClassObjectFn getClassObject;
static DllCanUnloadNowFn canUnloadNow;
static char message[512];

static const char *fail(const char *what, long value)
{
    snprintf(message, sizeof message, "%s (0x%08lX)", what, (unsigned long)value & 0xFFFFFFFFul);
    return message;
}

/* ---- strings and arrays by the documented layout -------------------------------- */

static BSTR makeString(const char *ascii)
{
    size_t n = strlen(ascii);
    char *block = malloc(4 + 2 * n + 2);
    uint32_t bytes = (uint32_t)(2 * n);
    OLECHAR *units = (OLECHAR *)(block + 4);
    size_t i;
    memcpy(block, &bytes, 4);
    for (i = 0; i < n; ++i)
        units[i] = (OLECHAR)(unsigned char)ascii[i];
    units[n] = 0;
    return units;
}

static void freeString(BSTR s)
{
    if (s)
        free((char *)s - 4);
}

static uint32_t stringBytes(BSTR s)
{
    uint32_t bytes = 0;
    if (s)
        memcpy(&bytes, (const char *)s - 4, 4);
    return bytes;
}

/* The string equals the ASCII text, by its length prefix and its final NUL. */
static int sameString(BSTR s, const char *ascii)
{
    size_t n = strlen(ascii);
    size_t i;
    if (!s)
        return n == 0;
    if (stringBytes(s) != 2 * n || s[n] != 0)
        return 0;
    for (i = 0; i < n; ++i) {
        if (s[i] != (OLECHAR)(unsigned char)ascii[i])
            return 0;
    }
    return 1;
}

static SAFEARRAY *makeVariantArray(uint32_t count)
{
    SAFEARRAY *a = calloc(1, sizeof(SAFEARRAY));
    a->cDims = 1;
    a->fFeatures = FADF_VARIANT;
    a->cbElements = sizeof(VARIANT);
    a->rgsabound[0].cElements = count;
    a->rgsabound[0].lLbound = 0;
    a->pvData = calloc(count ? count : 1, sizeof(VARIANT));
    return a;
}

static void freeVariantArray(SAFEARRAY *a)
{
    VARIANT *items = a->pvData;
    uint32_t i;
    for (i = 0; i < a->rgsabound[0].cElements; ++i) {
        if (items[i].vt == VT_BSTR)
            freeString(items[i].bstrVal);
    }
    free(a->pvData);
    free(a);
}

/* ---- objects ------------------------------------------------------------------------ */

static void *create(const GUID *clsid, const GUID *iid, HRESULT *status)
{
    IClassFactory *factory = NULL;
    void *object = NULL;
    HRESULT hr = getClassObject(clsid, &iidClassFactory, (void **)&factory);
    if (hr != S_OK || !factory) {
        *status = hr != S_OK ? hr : E_POINTER;
        return NULL;
    }
    hr = factory->lpVtbl->CreateInstance(factory, NULL, iid, &object);
    factory->lpVtbl->Release(factory);
    *status = hr;
    return hr == S_OK ? object : NULL;
}

typedef void (*AnyFn)(void);

/* The function in a slot of an object's interface table. */
static AnyFn slotOf(void *object, int index)
{
    AnyFn *table = *(AnyFn **)object;
    return table[index];
}

static uint32_t release(void *object)
{
    return ((IUnknown *)object)->lpVtbl->Release((IUnknown *)object);
}

const char *abiOpen(const char *libraryPath)
{
    library = dlopen(libraryPath, RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        snprintf(message, sizeof message, "dlopen: %s", dlerror());
        return message;
    }
    *(void **)&getClassObject = dlsym(library, "DllGetClassObject");
    *(void **)&canUnloadNow = dlsym(library, "DllCanUnloadNow");
    if (!getClassObject || !canUnloadNow || !dlsym(library, "DllRegisterServer")
        || !dlsym(library, "DllUnregisterServer"))
        return "an entry point is missing";
    return NULL;
}

const char *abiIniThroughSlots(const char *iniPath)
{
    HRESULT hr;
    void *api = create(&clsidAPIFuns, &iidAPIFuns, &hr);
    BSTR file, section, key, value, result = NULL;
    BSTR keptFile, keptValue;
    const char *problem = NULL;
    if (!api)
        return fail("APIFuns not created", hr);

    file = makeString(iniPath);
    section = makeString("Common");
    key = makeString("Path");
    value = makeString("abc");
    keptFile = file;
    keptValue = value;
    hr = ((WriteIniFn)slotOf(api, APIFUNS_WRITEINI))(api, &file, &section, &key, &value);
    if (hr != S_OK)
        problem = fail("WriteIni failed", hr);
    else if (file != keptFile || value != keptValue || !sameString(file, iniPath) || !sameString(value, "abc"))
        problem = "WriteIni changed its by-reference arguments";

    if (!problem) {
        hr = ((ReadIniFn)slotOf(api, APIFUNS_READINI))(api, file, section, key, &result);
        if (hr != S_OK)
            problem = fail("ReadIni failed", hr);
        else if (!sameString(result, "abc"))
            problem = "ReadIni did not read back abc";
        freeString(result);
        result = NULL;
    }
    if (!problem) {
        /* A missing key and absent (NULL) strings read as "". */
        BSTR other = makeString("Missing");
        hr = ((ReadIniFn)slotOf(api, APIFUNS_READINI))(api, file, section, other, &result);
        if (hr != S_OK || !sameString(result, ""))
            problem = fail("a missing key did not read as \"\"", hr);
        freeString(result);
        result = NULL;
        freeString(other);
    }
    if (!problem) {
        hr = ((ReadIniFn)slotOf(api, APIFUNS_READINI))(api, NULL, NULL, NULL, &result);
        if (hr != S_OK || !sameString(result, ""))
            problem = fail("absent strings did not read as \"\"", hr);
        freeString(result);
        result = NULL;
    }
    if (!problem) {
        hr = ((ReadIniFn)slotOf(api, APIFUNS_READINI))(api, file, section, key, NULL);
        if (hr != E_POINTER)
            problem = fail("a NULL result pointer was not refused", hr);
    }
    freeString(file);
    freeString(section);
    freeString(key);
    freeString(value);
    if (release(api) != 0 && !problem)
        problem = "the last Release did not answer 0";
    return problem;
}

static const char *inVar(void *gen, VARIANT *target, SAFEARRAY *list, VARIANT_BOOL expected, const char *what)
{
    VARIANT_BOOL answer = 7;
    SAFEARRAY *passed = list;
    HRESULT hr = ((InVarFn)slotOf(gen, GENFUNS_INVAR))(gen, target, &passed, &answer);
    if (hr != S_OK)
        return fail(what, hr);
    if (answer != expected || passed != list)
        return fail(what, answer);
    return NULL;
}

const char *abiInVarThroughSlot(void)
{
    HRESULT hr;
    void *gen = create(&clsidGenFuns, &iidGenFuns, &hr);
    SAFEARRAY *list;
    VARIANT target;
    VARIANT *items;
    const char *problem = NULL;
    if (!gen)
        return fail("GenFuns not created", hr);

    /* 5 is in { "a", 5 } */
    list = makeVariantArray(2);
    items = list->pvData;
    items[0].vt = VT_BSTR;
    items[0].bstrVal = makeString("a");
    items[1].vt = VT_I4;
    items[1].lVal = 5;
    memset(&target, 0, sizeof target);
    target.vt = VT_I2;
    target.iVal = 5;
    problem = inVar(gen, &target, list, VARIANT_TRUE, "5 not found in {\"a\", 5}");

    /* "A" is not in { "a", 5 } */
    if (!problem) {
        target.vt = VT_BSTR;
        target.bstrVal = makeString("A");
        problem = inVar(gen, &target, list, VARIANT_FALSE, "\"A\" matched \"a\"");
        freeString(target.bstrVal);
    }
    freeVariantArray(list);

    /* an object first, then the match */
    if (!problem) {
        list = makeVariantArray(2);
        items = list->pvData;
        items[0].vt = VT_DISPATCH;
        items[0].pdispVal = NULL;
        items[1].vt = VT_R8;
        items[1].dblVal = 2.0;
        target.vt = VT_I4;
        target.lVal = 2;
        problem = inVar(gen, &target, list, VARIANT_TRUE, "2 not found after an object");
        freeVariantArray(list);
    }
    /* an empty list */
    if (!problem) {
        list = makeVariantArray(0);
        problem = inVar(gen, &target, list, VARIANT_FALSE, "something found in an empty list");
        freeVariantArray(list);
    }
    release(gen);
    return problem;
}

static DISPID idOf(IDispatch *object, const char *name, HRESULT *status)
{
    BSTR text = makeString(name);
    OLECHAR *names[1];
    DISPID id = 12345;
    names[0] = text;
    *status = object->lpVtbl->GetIDsOfNames(object, &iidNull, names, 1, 1033, &id);
    freeString(text);
    return id;
}

const char *abiThroughInvoke(const char *iniPath)
{
    HRESULT hr;
    IDispatch *api = create(&clsidAPIFuns, &iidDispatch, &hr);
    IDispatch *gen;
    DISPID id;
    VARIANT args[4];
    VARIANT result;
    DISPPARAMS params;
    EXCEPINFO exception;
    uint32_t argError = 0;
    const char *problem = NULL;
    int i;
    if (!api)
        return fail("APIFuns not created for IDispatch", hr);

    id = idOf((IDispatch *)api, "writeINI", &hr);
    if (hr != S_OK || id != 0x6003000F) {
        release(api);
        return fail("GetIDsOfNames(writeINI)", id);
    }
    id = idOf((IDispatch *)api, "NoSuchOperation", &hr);
    if (hr != DISP_E_UNKNOWNNAME || id != DISPID_UNKNOWN) {
        release(api);
        return fail("an unknown name was not refused", hr);
    }

    /* WriteIni(FileName, Segment, KeyName, KeyValue): arguments in reverse order. */
    memset(args, 0, sizeof args);
    memset(&exception, 0, sizeof exception);
    args[3].vt = VT_BSTR;
    args[3].bstrVal = makeString(iniPath);
    args[2].vt = VT_BSTR;
    args[2].bstrVal = makeString("Output");
    args[1].vt = VT_BSTR;
    args[1].bstrVal = makeString("FileType");
    args[0].vt = VT_BSTR;
    args[0].bstrVal = makeString("Playlist");
    params.rgvarg = args;
    params.rgdispidNamedArgs = NULL;
    params.cArgs = 4;
    params.cNamedArgs = 0;
    memset(&result, 0, sizeof result);
    hr = api->lpVtbl->Invoke(api, 0x6003000F, &iidNull, 1033, DISPATCH_METHOD, &params, &result, &exception, &argError);
    if (hr != S_OK || result.vt != VT_EMPTY)
        problem = fail("Invoke(WriteIni)", hr);

    /* ReadIni(FileName, Segment, KeyName) */
    if (!problem) {
        params.rgvarg = args + 1;
        params.cArgs = 3;
        hr = api->lpVtbl->Invoke(api,
            0x6003000D,
            &iidNull,
            1033,
            DISPATCH_METHOD | DISPATCH_PROPERTYGET,
            &params,
            &result,
            &exception,
            &argError);
        if (hr != S_OK || result.vt != VT_BSTR || !sameString(result.bstrVal, "Playlist"))
            problem = fail("Invoke(ReadIni) did not answer Playlist", hr);
        if (result.vt == VT_BSTR)
            freeString(result.bstrVal);
        memset(&result, 0, sizeof result);
    }
    /* Too few arguments, and a member that does not exist. */
    if (!problem) {
        params.cArgs = 2;
        hr = api->lpVtbl->Invoke(
            api, 0x6003000D, &iidNull, 1033, DISPATCH_METHOD, &params, &result, &exception, &argError);
        if (hr != DISP_E_BADPARAMCOUNT)
            problem = fail("two arguments for ReadIni were not refused", hr);
    }
    if (!problem) {
        hr = api->lpVtbl->Invoke(
            api, 0x60030099, &iidNull, 1033, DISPATCH_METHOD, &params, &result, &exception, &argError);
        if (hr != DISP_E_MEMBERNOTFOUND)
            problem = fail("an unknown dispatch number was not refused", hr);
    }
    for (i = 0; i < 4; ++i)
        freeString(args[i].bstrVal);
    release(api);
    if (problem)
        return problem;

    /* InVar(Target, VarList) through GenFuns' IDispatch. */
    gen = create(&clsidGenFuns, &iidDispatch, &hr);
    if (!gen)
        return fail("GenFuns not created for IDispatch", hr);
    {
        SAFEARRAY *list = makeVariantArray(2);
        VARIANT *items = list->pvData;
        items[0].vt = VT_BSTR;
        items[0].bstrVal = makeString("True");
        items[1].vt = VT_BSTR;
        items[1].bstrVal = makeString("False");
        memset(args, 0, sizeof args);
        args[1].vt = VT_BSTR;
        args[1].bstrVal = makeString("False");
        args[0].vt = VT_ARRAY | VT_VARIANT;
        args[0].parray = list;
        params.rgvarg = args;
        params.cArgs = 2;
        hr = gen->lpVtbl->Invoke(
            gen, 0x60030004, &iidNull, 1033, DISPATCH_METHOD, &params, &result, &exception, &argError);
        if (hr != S_OK || result.vt != VT_BOOL || result.boolVal != VARIANT_TRUE)
            problem = fail("Invoke(InVar) did not find \"False\"", hr);
        freeString(args[1].bstrVal);
        args[1].bstrVal = makeString("true");
        if (!problem) {
            hr = gen->lpVtbl->Invoke(
                gen, 0x60030004, &iidNull, 1033, DISPATCH_METHOD, &params, &result, &exception, &argError);
            if (hr != S_OK || result.vt != VT_BOOL || result.boolVal != VARIANT_FALSE)
                problem = fail("Invoke(InVar) matched \"true\" with \"True\"", hr);
        }
        freeString(args[1].bstrVal);
        freeVariantArray(list);
    }
    release(gen);
    return problem;
}

const char *abiUnknownInterface(void)
{
    HRESULT hr;
    IUnknown *api = create(&clsidAPIFuns, &iidUnknown, &hr);
    void *other = (void *)1;
    const char *problem = NULL;
    if (!api)
        return fail("APIFuns not created for IUnknown", hr);
    hr = api->lpVtbl->QueryInterface(api, &iidNobodyKnows, &other);
    if (hr != E_NOINTERFACE)
        problem = fail("an unknown interface was not refused with E_NOINTERFACE", hr);
    else if (other != NULL)
        problem = "the refused interface pointer was not set to NULL";
    if (!problem) {
        hr = api->lpVtbl->QueryInterface(api, &iidAPIFuns, &other);
        if (hr != S_OK || !other)
            problem = fail("the class's own interface was refused", hr);
        else
            release(other);
    }
    if (!problem) {
        /* No aggregation, and no class the library does not have. */
        IClassFactory *factory = NULL;
        void *object = (void *)1;
        hr = getClassObject(&iidNobodyKnows, &iidClassFactory, (void **)&factory);
        if (hr != CLASS_E_CLASSNOTAVAILABLE || factory)
            problem = fail("an unknown class was not refused", hr);
        hr = getClassObject(&clsidAPIFuns, &iidClassFactory, (void **)&factory);
        if (!problem && hr == S_OK) {
            hr = factory->lpVtbl->CreateInstance(factory, api, &iidUnknown, &object);
            if (hr != CLASS_E_NOAGGREGATION || object)
                problem = fail("aggregation was not refused", hr);
            factory->lpVtbl->Release(factory);
        }
    }
    release(api);
    return problem;
}

const char *abiUnloadAfterLastRelease(void)
{
    HRESULT hr;
    void *gen;
    IClassFactory *factory = NULL;
    if (canUnloadNow() != S_OK)
        return "DllCanUnloadNow refused with no object alive";
    gen = create(&clsidGenFuns, &iidGenFuns, &hr);
    if (!gen)
        return fail("GenFuns not created", hr);
    hr = canUnloadNow();
    release(gen);
    if (hr != S_FALSE)
        return fail("DllCanUnloadNow agreed while an object was alive", hr);
    if (canUnloadNow() != S_OK)
        return "DllCanUnloadNow refused after the last Release";
    /* A server lock keeps the library too. */
    getClassObject(&clsidGenFuns, &iidClassFactory, (void **)&factory);
    factory->lpVtbl->LockServer(factory, 1);
    factory->lpVtbl->Release(factory);
    hr = canUnloadNow();
    getClassObject(&clsidGenFuns, &iidClassFactory, (void **)&factory);
    factory->lpVtbl->LockServer(factory, 0);
    factory->lpVtbl->Release(factory);
    if (hr != S_FALSE)
        return fail("DllCanUnloadNow agreed while the server was locked", hr);
    if (canUnloadNow() != S_OK)
        return "DllCanUnloadNow refused after the unlock";
    return NULL;
}
