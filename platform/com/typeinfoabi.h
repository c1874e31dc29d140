/* SPDX-FileCopyrightText: 2026 The Marrowby developers */
/* SPDX-License-Identifier: MIT */
/*
 * ITypeInfo: how an automation object describes its interface, for clients
 * that discover operations instead of knowing them. Usable from C and C++;
 * the layouts are the usual ones on 64-bit targets.
 *
 * What a describing object hands out (TYPEATTR, FUNCDESC) belongs to it: the
 * caller gives it back with ReleaseTypeAttr / ReleaseFuncDesc before
 * releasing the ITypeInfo. Names come back as BSTRs the caller frees.
 */
#ifndef MRB_PLATFORM_COM_TYPEINFOABI_H
#define MRB_PLATFORM_COM_TYPEINFOABI_H

#include "platform/com/abi.h"

#ifdef __cplusplus
extern "C" {
#endif

/* clang-format off */

typedef int32_t MEMBERID;
typedef uint32_t HREFTYPE;
#define MEMBERID_NIL DISPID_UNKNOWN

/* {00020401-0000-0000-C000-000000000046} */
#define MRB_IID_ITYPEINFO_INIT {0x00020401u, 0x0000u, 0x0000u, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}}

#define TYPE_E_ELEMENTNOTFOUND ((HRESULT)0x8002802B)

/* Types that only appear in a TYPEDESC. */
enum {
    VT_VOID = 24,
    VT_HRESULT = 25,
    VT_PTR = 26,       /* lptdesc: the type pointed to */
    VT_SAFEARRAY = 27, /* lptdesc: the element type */
    VT_USERDEFINED = 29
};

typedef enum TYPEKIND {
    TKIND_ENUM = 0, TKIND_RECORD, TKIND_MODULE, TKIND_INTERFACE, TKIND_DISPATCH, TKIND_COCLASS, TKIND_ALIAS, TKIND_UNION
} TYPEKIND;
typedef enum FUNCKIND { FUNC_VIRTUAL = 0, FUNC_PUREVIRTUAL, FUNC_NONVIRTUAL, FUNC_STATIC, FUNC_DISPATCH } FUNCKIND;
typedef enum INVOKEKIND {
    INVOKE_FUNC = 1, INVOKE_PROPERTYGET = 2, INVOKE_PROPERTYPUT = 4, INVOKE_PROPERTYPUTREF = 8
} INVOKEKIND;
typedef enum CALLCONV { CC_FASTCALL = 0, CC_CDECL = 1, CC_STDCALL = 4 } CALLCONV;

#define TYPEFLAG_FHIDDEN 0x10
#define TYPEFLAG_FDUAL 0x40
#define TYPEFLAG_FNONEXTENSIBLE 0x80
#define TYPEFLAG_FOLEAUTOMATION 0x100
#define TYPEFLAG_FDISPATCHABLE 0x1000

#define PARAMFLAG_NONE 0x0
#define PARAMFLAG_FIN 0x1
#define PARAMFLAG_FOUT 0x2
#define PARAMFLAG_FRETVAL 0x8
#define PARAMFLAG_FOPT 0x10
#define PARAMFLAG_FHASDEFAULT 0x20

typedef struct TYPEDESC {
    union {
        struct TYPEDESC *lptdesc;
        struct ARRAYDESC *lpadesc;
        HREFTYPE hreftype;
    };
    VARTYPE vt;
} TYPEDESC;

typedef struct IDLDESC {
    uintptr_t dwReserved;
    uint16_t wIDLFlags;
} IDLDESC;

typedef struct PARAMDESCEX {
    uint32_t cBytes;
    VARIANT varDefaultValue;
} PARAMDESCEX;

typedef struct PARAMDESC {
    PARAMDESCEX *pparamdescex; /* the default value, with PARAMFLAG_FHASDEFAULT */
    uint16_t wParamFlags;
} PARAMDESC;

typedef struct ELEMDESC {
    TYPEDESC tdesc;
    union {
        IDLDESC idldesc;
        PARAMDESC paramdesc;
    };
} ELEMDESC;

typedef struct TYPEATTR {
    GUID guid;
    LCID lcid;
    uint32_t dwReserved;
    MEMBERID memidConstructor;
    MEMBERID memidDestructor;
    OLECHAR *lpstrSchema;
    uint32_t cbSizeInstance;
    TYPEKIND typekind;
    uint16_t cFuncs;
    uint16_t cVars;
    uint16_t cImplTypes;
    uint16_t cbSizeVft;
    uint16_t cbAlignment;
    uint16_t wTypeFlags;
    uint16_t wMajorVerNum;
    uint16_t wMinorVerNum;
    TYPEDESC tdescAlias;
    IDLDESC idldescType;
} TYPEATTR;

typedef struct FUNCDESC {
    MEMBERID memid;             /* the dispatch number */
    SCODE *lprgscode;
    ELEMDESC *lprgelemdescParam; /* cParams entries */
    FUNCKIND funckind;
    INVOKEKIND invkind;
    CALLCONV callconv;
    int16_t cParams;
    int16_t cParamsOpt;
    int16_t oVft;               /* byte offset of the operation's slot */
    int16_t cScodes;
    ELEMDESC elemdescFunc;      /* the result (VT_VOID for none) */
    uint16_t wFuncFlags;
} FUNCDESC;

struct ITypeInfo;
struct ITypeComp;
struct ITypeLib;
struct VARDESC;

typedef struct ITypeInfoVtbl {
    HRESULT (*QueryInterface)(struct ITypeInfo *self, const IID *iid, void **out);
    uint32_t (*AddRef)(struct ITypeInfo *self);
    uint32_t (*Release)(struct ITypeInfo *self);
    HRESULT (*GetTypeAttr)(struct ITypeInfo *self, TYPEATTR **attr);
    HRESULT (*GetTypeComp)(struct ITypeInfo *self, struct ITypeComp **comp);
    HRESULT (*GetFuncDesc)(struct ITypeInfo *self, uint32_t index, FUNCDESC **desc);
    HRESULT (*GetVarDesc)(struct ITypeInfo *self, uint32_t index, struct VARDESC **desc);
    HRESULT (*GetNames)(struct ITypeInfo *self, MEMBERID memid, BSTR *names, uint32_t maxNames, uint32_t *count);
    HRESULT (*GetRefTypeOfImplType)(struct ITypeInfo *self, uint32_t index, HREFTYPE *ref);
    HRESULT (*GetImplTypeFlags)(struct ITypeInfo *self, uint32_t index, int32_t *flags);
    HRESULT (*GetIDsOfNames)(struct ITypeInfo *self, OLECHAR **names, uint32_t count, MEMBERID *ids);
    HRESULT (*Invoke)(struct ITypeInfo *self,
                      void *instance,
                      MEMBERID memid,
                      uint16_t flags,
                      DISPPARAMS *params,
                      VARIANT *result,
                      EXCEPINFO *exception,
                      uint32_t *argError);
    HRESULT (*GetDocumentation)(struct ITypeInfo *self,
                                MEMBERID memid,
                                BSTR *name,
                                BSTR *docString,
                                uint32_t *helpContext,
                                BSTR *helpFile);
    HRESULT (*GetDllEntry)(struct ITypeInfo *self, MEMBERID memid, INVOKEKIND kind, BSTR *dll, BSTR *name, uint16_t *ordinal);
    HRESULT (*GetRefTypeInfo)(struct ITypeInfo *self, HREFTYPE ref, struct ITypeInfo **info);
    HRESULT (*AddressOfMember)(struct ITypeInfo *self, MEMBERID memid, INVOKEKIND kind, void **address);
    HRESULT (*CreateInstance)(struct ITypeInfo *self, IUnknown *outer, const IID *iid, void **out);
    HRESULT (*GetMops)(struct ITypeInfo *self, MEMBERID memid, BSTR *mops);
    HRESULT (*GetContainingTypeLib)(struct ITypeInfo *self, struct ITypeLib **lib, uint32_t *index);
    void (*ReleaseTypeAttr)(struct ITypeInfo *self, TYPEATTR *attr);
    void (*ReleaseFuncDesc)(struct ITypeInfo *self, FUNCDESC *desc);
    void (*ReleaseVarDesc)(struct ITypeInfo *self, struct VARDESC *desc);
} ITypeInfoVtbl;

typedef struct ITypeInfo {
    const ITypeInfoVtbl *lpVtbl;
} ITypeInfo;

/* clang-format on */

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* MRB_PLATFORM_COM_TYPEINFOABI_H */
