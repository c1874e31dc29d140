/* SPDX-FileCopyrightText: 2026 The Marrowby developers */
/* SPDX-License-Identifier: MIT */
/*
 * The binary types of the component runtime, usable from C and C++.
 *
 * Everything here is plain data with a fixed layout on x86-64 / aarch64 Linux:
 * identifiers, status codes, the interface tables of IUnknown, IDispatch and
 * IClassFactory, automation strings (BSTR), tagged values (VARIANT) and arrays
 * (SAFEARRAY).
 *
 * Memory contract, shared by every module of a process (the program, the
 * component library and any other client):
 *  - A BSTR points at UTF-16 code units that follow a uint32 byte length and are
 *    followed by one NUL unit. The block starts 4 bytes before the pointer and
 *    comes from the C library's malloc(); SysFreeString frees it with free().
 *    A NULL BSTR is the empty string.
 *  - A SAFEARRAY descriptor and its data block both come from malloc().
 *  - Because all modules use the process's single malloc, a string or array
 *    that one module allocates may be freed by another. Each module carries its
 *    own copy of the functions declared below (the library keeps its copy
 *    private); they behave identically, so which copy frees a block does not
 *    matter.
 *  - The caller owns what it passes; a returned BSTR or SAFEARRAY belongs to
 *    the caller.
 */
#ifndef MRB_PLATFORM_COM_ABI_H
#define MRB_PLATFORM_COM_ABI_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Laid out by hand: a binary interface reads best that way. */
/* clang-format off */

typedef int32_t HRESULT;
typedef int32_t SCODE;
typedef int32_t DISPID;
typedef uint32_t LCID;
typedef uint16_t VARTYPE;
typedef int16_t VARIANT_BOOL;
typedef double DATE;
typedef int64_t CY;

#ifdef __cplusplus
typedef char16_t OLECHAR;
#else
typedef uint16_t OLECHAR;
#endif
typedef OLECHAR *BSTR;

#define VARIANT_TRUE ((VARIANT_BOOL)-1)
#define VARIANT_FALSE ((VARIANT_BOOL)0)

/* Status codes. */
#define S_OK ((HRESULT)0)
#define S_FALSE ((HRESULT)1)
#define E_NOTIMPL ((HRESULT)0x80004001)
#define E_NOINTERFACE ((HRESULT)0x80004002)
#define E_POINTER ((HRESULT)0x80004003)
#define E_FAIL ((HRESULT)0x80004005)
#define E_UNEXPECTED ((HRESULT)0x8000FFFF)
#define E_OUTOFMEMORY ((HRESULT)0x8007000E)
#define E_INVALIDARG ((HRESULT)0x80070057)
#define CLASS_E_NOAGGREGATION ((HRESULT)0x80040110)
#define CLASS_E_CLASSNOTAVAILABLE ((HRESULT)0x80040111)
#define REGDB_E_CLASSNOTREG ((HRESULT)0x80040154)
#define CO_E_DLLNOTFOUND ((HRESULT)0x8004F002)
#define CO_E_ERRORINDLL ((HRESULT)0x800401F9)
#define SELFREG_E_TYPELIB ((HRESULT)0x80040200)
#define SELFREG_E_CLASS ((HRESULT)0x80040201)
#define DISP_E_UNKNOWNINTERFACE ((HRESULT)0x80020001)
#define DISP_E_MEMBERNOTFOUND ((HRESULT)0x80020003)
#define DISP_E_PARAMNOTFOUND ((HRESULT)0x80020004)
#define DISP_E_TYPEMISMATCH ((HRESULT)0x80020005)
#define DISP_E_UNKNOWNNAME ((HRESULT)0x80020006)
#define DISP_E_NONAMEDARGS ((HRESULT)0x80020007)
#define DISP_E_BADVARTYPE ((HRESULT)0x80020008)
#define DISP_E_EXCEPTION ((HRESULT)0x80020009)
#define DISP_E_OVERFLOW ((HRESULT)0x8002000A)
#define DISP_E_BADINDEX ((HRESULT)0x8002000B)
#define DISP_E_BADPARAMCOUNT ((HRESULT)0x8002000E)
#define DISP_E_PARAMNOTOPTIONAL ((HRESULT)0x8002000F)

#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)

/* A 128-bit identifier: uint32, uint16, uint16, 8 bytes (16 bytes, no padding). */
typedef struct GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
} GUID;
typedef GUID IID;
typedef GUID CLSID;

/* {00000000-0000-0000-C000-000000000046} and friends. */
#define MRB_IID_IUNKNOWN_INIT {0x00000000u, 0x0000u, 0x0000u, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}}
#define MRB_IID_IDISPATCH_INIT {0x00020400u, 0x0000u, 0x0000u, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}}
#define MRB_IID_ICLASSFACTORY_INIT {0x00000001u, 0x0000u, 0x0000u, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}}
#define MRB_IID_ISUPPORTERRORINFO_INIT {0xDF0B3D60u, 0x548Fu, 0x101Bu, {0x8E, 0x65, 0x08, 0x00, 0x2B, 0x2B, 0xD1, 0x19}}
#define MRB_IID_IERRORINFO_INIT {0x1CF2B120u, 0x547Du, 0x101Bu, {0x8E, 0x65, 0x08, 0x00, 0x2B, 0x2B, 0xD1, 0x19}}
#define MRB_IID_NULL_INIT {0u, 0u, 0u, {0, 0, 0, 0, 0, 0, 0, 0}}

/* Variant types. */
enum VARENUM {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R4 = 4,
    VT_R8 = 5,
    VT_CY = 6,
    VT_DATE = 7,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_ERROR = 10,
    VT_BOOL = 11,
    VT_VARIANT = 12,
    VT_UNKNOWN = 13,
    VT_DECIMAL = 14,
    VT_I1 = 16,
    VT_UI1 = 17,
    VT_UI2 = 18,
    VT_UI4 = 19,
    VT_I8 = 20,
    VT_UI8 = 21,
    VT_INT = 22,
    VT_UINT = 23,
    VT_ARRAY = 0x2000,
    VT_BYREF = 0x4000,
    VT_TYPEMASK = 0x0FFF
};

struct IUnknown;
struct IDispatch;
struct IClassFactory;
struct IErrorInfo;
struct SAFEARRAY;
struct VARIANT;

/* The usual 24-byte tagged value: type, three reserved words, 16-byte union. */
typedef struct VARIANT {
    VARTYPE vt;
    uint16_t wReserved1;
    uint16_t wReserved2;
    uint16_t wReserved3;
    union {
        int64_t llVal;
        int32_t lVal;
        uint8_t bVal;
        int16_t iVal;
        float fltVal;
        double dblVal;
        VARIANT_BOOL boolVal;
        SCODE scode;
        CY cyVal;
        DATE date;
        BSTR bstrVal;
        struct IUnknown *punkVal;
        struct IDispatch *pdispVal;
        struct SAFEARRAY *parray;
        uint8_t *pbVal;
        int16_t *piVal;
        int32_t *plVal;
        int64_t *pllVal;
        float *pfltVal;
        double *pdblVal;
        VARIANT_BOOL *pboolVal;
        SCODE *pscode;
        CY *pcyVal;
        DATE *pdate;
        BSTR *pbstrVal;
        struct IUnknown **ppunkVal;
        struct IDispatch **ppdispVal;
        struct SAFEARRAY **pparray;
        struct VARIANT *pvarVal;
        void *byref;
        int8_t cVal;
        uint16_t uiVal;
        uint32_t ulVal;
        uint64_t ullVal;
        int32_t intVal;
        uint32_t uintVal;
        struct {
            void *pvRecord;
            void *pRecInfo;
        } brecVal;
    };
} VARIANT;
typedef VARIANT VARIANTARG;

typedef struct SAFEARRAYBOUND {
    uint32_t cElements;
    int32_t lLbound;
} SAFEARRAYBOUND;

/* fFeatures bits. */
#define FADF_HAVEVARTYPE 0x0080
#define FADF_BSTR 0x0100
#define FADF_UNKNOWN 0x0200
#define FADF_DISPATCH 0x0400
#define FADF_VARIANT 0x0800

/* An array descriptor; this runtime makes only one-dimensional arrays. The
   descriptor is a malloc() block of its own, and so is pvData. fFeatures says
   whether the elements own strings, values or references (and so how to free
   them); cbElements gives their size. */
typedef struct SAFEARRAY {
    uint16_t cDims;
    uint16_t fFeatures;
    uint32_t cbElements;
    uint32_t cLocks;
    void *pvData;
    SAFEARRAYBOUND rgsabound[1];
} SAFEARRAY;

typedef struct DISPPARAMS {
    VARIANTARG *rgvarg; /* arguments in reverse order */
    DISPID *rgdispidNamedArgs;
    uint32_t cArgs;
    uint32_t cNamedArgs;
} DISPPARAMS;

typedef struct EXCEPINFO {
    uint16_t wCode;
    uint16_t wReserved;
    BSTR bstrSource;
    BSTR bstrDescription;
    BSTR bstrHelpFile;
    uint32_t dwHelpContext;
    void *pvReserved;
    HRESULT (*pfnDeferredFillIn)(struct EXCEPINFO *);
    SCODE scode;
} EXCEPINFO;

#define DISPATCH_METHOD 0x1
#define DISPATCH_PROPERTYGET 0x2
#define DISPATCH_PROPERTYPUT 0x4
#define DISPATCH_PROPERTYPUTREF 0x8
#define DISPID_UNKNOWN (-1)
#define DISPID_PROPERTYPUT (-3)

/* Interfaces: a pointer to a table of function pointers, object pointer first. */
typedef struct IUnknownVtbl {
    HRESULT (*QueryInterface)(struct IUnknown *self, const IID *iid, void **out);
    uint32_t (*AddRef)(struct IUnknown *self);
    uint32_t (*Release)(struct IUnknown *self);
} IUnknownVtbl;
typedef struct IUnknown {
    const IUnknownVtbl *lpVtbl;
} IUnknown;

typedef struct IDispatchVtbl {
    HRESULT (*QueryInterface)(struct IDispatch *self, const IID *iid, void **out);
    uint32_t (*AddRef)(struct IDispatch *self);
    uint32_t (*Release)(struct IDispatch *self);
    HRESULT (*GetTypeInfoCount)(struct IDispatch *self, uint32_t *count);
    HRESULT (*GetTypeInfo)(struct IDispatch *self, uint32_t index, LCID lcid, void **typeInfo);
    HRESULT (*GetIDsOfNames)(struct IDispatch *self,
                             const IID *iid,
                             OLECHAR **names,
                             uint32_t count,
                             LCID lcid,
                             DISPID *ids);
    HRESULT (*Invoke)(struct IDispatch *self,
                      DISPID member,
                      const IID *iid,
                      LCID lcid,
                      uint16_t flags,
                      DISPPARAMS *params,
                      VARIANT *result,
                      EXCEPINFO *exception,
                      uint32_t *argError);
} IDispatchVtbl;
typedef struct IDispatch {
    const IDispatchVtbl *lpVtbl;
} IDispatch;

typedef struct IClassFactoryVtbl {
    HRESULT (*QueryInterface)(struct IClassFactory *self, const IID *iid, void **out);
    uint32_t (*AddRef)(struct IClassFactory *self);
    uint32_t (*Release)(struct IClassFactory *self);
    HRESULT (*CreateInstance)(struct IClassFactory *self, IUnknown *outer, const IID *iid, void **out);
    HRESULT (*LockServer)(struct IClassFactory *self, int32_t lock);
} IClassFactoryVtbl;
typedef struct IClassFactory {
    const IClassFactoryVtbl *lpVtbl;
} IClassFactory;

/* An object that can describe its last failure answers QueryInterface for
   IErrorInfo with a record of it (number, source, description). */
typedef struct IErrorInfoVtbl {
    HRESULT (*QueryInterface)(struct IErrorInfo *self, const IID *iid, void **out);
    uint32_t (*AddRef)(struct IErrorInfo *self);
    uint32_t (*Release)(struct IErrorInfo *self);
    HRESULT (*GetGUID)(struct IErrorInfo *self, GUID *guid);
    HRESULT (*GetSource)(struct IErrorInfo *self, BSTR *source);
    HRESULT (*GetDescription)(struct IErrorInfo *self, BSTR *description);
    HRESULT (*GetHelpFile)(struct IErrorInfo *self, BSTR *helpFile);
    HRESULT (*GetHelpContext)(struct IErrorInfo *self, uint32_t *helpContext);
} IErrorInfoVtbl;
typedef struct IErrorInfo {
    const IErrorInfoVtbl *lpVtbl;
} IErrorInfo;

/* An object whose operations leave an error record for their caller says for
   which of its interfaces through this one. */
struct ISupportErrorInfo;
typedef struct ISupportErrorInfoVtbl {
    HRESULT (*QueryInterface)(struct ISupportErrorInfo *self, const IID *iid, void **out);
    uint32_t (*AddRef)(struct ISupportErrorInfo *self);
    uint32_t (*Release)(struct ISupportErrorInfo *self);
    HRESULT (*InterfaceSupportsErrorInfo)(struct ISupportErrorInfo *self, const IID *iid);
} ISupportErrorInfoVtbl;
typedef struct ISupportErrorInfo {
    const ISupportErrorInfoVtbl *lpVtbl;
} ISupportErrorInfo;

/* The entry points of an in-process component library. */
typedef HRESULT (*DllGetClassObjectFn)(const CLSID *clsid, const IID *iid, void **out);
typedef HRESULT (*DllCanUnloadNowFn)(void);
typedef HRESULT (*DllRegisterServerFn)(void);
typedef HRESULT (*DllUnregisterServerFn)(void);

/* Strings. len is in UTF-16 units; text may be NULL (the units are then NUL). */
BSTR SysAllocStringLen(const OLECHAR *text, uint32_t len);
BSTR SysAllocString(const OLECHAR *text);
void SysFreeString(BSTR s);
uint32_t SysStringLen(BSTR s);
uint32_t SysStringByteLen(BSTR s);

/* Values. VariantClear frees what the value owns (string, array, reference)
   and leaves VT_EMPTY; VariantCopy makes an owning deep copy. */
void VariantInit(VARIANT *v);
HRESULT VariantClear(VARIANT *v);
HRESULT VariantCopy(VARIANT *dest, const VARIANT *src);

/* One-dimensional arrays of VT_BSTR, VT_VARIANT, VT_I2, VT_I4, VT_BOOL, VT_R8,
   VT_UI1, VT_DISPATCH or VT_UNKNOWN, elements zero-filled. */
SAFEARRAY *SafeArrayCreateVector(VARTYPE vt, int32_t lowerBound, uint32_t count);
HRESULT SafeArrayDestroy(SAFEARRAY *array);
HRESULT SafeArrayGetLBound(SAFEARRAY *array, uint32_t dim, int32_t *bound);
HRESULT SafeArrayGetUBound(SAFEARRAY *array, uint32_t dim, int32_t *bound);
HRESULT SafeArrayGetVartype(SAFEARRAY *array, VARTYPE *vt);
HRESULT SafeArrayCopy(SAFEARRAY *array, SAFEARRAY **out);

#ifdef __cplusplus
} /* extern "C" */

static_assert(sizeof(GUID) == 16, "GUID is 16 bytes");
static_assert(sizeof(VARIANT) == 24, "VARIANT is 24 bytes");
static_assert(offsetof(VARIANT, lVal) == 8, "the VARIANT union starts at byte 8");
static_assert(sizeof(SAFEARRAYBOUND) == 8, "SAFEARRAYBOUND is 8 bytes");
static_assert(offsetof(SAFEARRAY, pvData) == 16, "SAFEARRAY data pointer at byte 16");
static_assert(offsetof(SAFEARRAY, rgsabound) == 24, "SAFEARRAY bounds at byte 24");
static_assert(sizeof(OLECHAR) == 2, "UTF-16 code units");
#else
_Static_assert(sizeof(GUID) == 16, "GUID is 16 bytes");
_Static_assert(sizeof(VARIANT) == 24, "VARIANT is 24 bytes");
_Static_assert(offsetof(VARIANT, lVal) == 8, "the VARIANT union starts at byte 8");
#endif

/* clang-format on */

#endif /* MRB_PLATFORM_COM_ABI_H */
