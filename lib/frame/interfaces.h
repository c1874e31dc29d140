/* SPDX-FileCopyrightText: 2026 The Marrowby developers */
/* SPDX-License-Identifier: MIT */
/*
 * The public binary interface of libQFC_MRB.so, usable from C and C++: the
 * identifiers of its type library, classes and interfaces, and the slot tables
 * of its five interfaces. Slots never move; new ones would go at the end.
 *
 * Every interface starts with the seven slots of IDispatch (QueryInterface,
 * AddRef, Release, GetTypeInfoCount, GetTypeInfo, GetIDsOfNames, Invoke); the
 * class's operations follow from the eighth slot on. The n-th operation
 * (counting from 0) has the dispatch number 0x60030000 + n unless its comment
 * gives another.
 *
 * Argument conventions (see platform/com/abi.h for strings and arrays):
 *  - Every operation returns an HRESULT. An operation that fails returns S_OK
 *    with the empty result ("" / 0 / false / an empty array) unless its
 *    comment says otherwise; E_POINTER means the result pointer was NULL.
 *  - The caller owns every argument it passes, by value or by reference. An
 *    operation may replace a by-reference string (it then frees the old one).
 *  - The trailing Result pointer receives a new BSTR or SAFEARRAY that belongs
 *    to the caller; on entry its old content is ignored (not freed).
 *  - An optional argument the caller has no value for is passed as its
 *    default: "" (or NULL) for a string, 0, VARIANT_FALSE; a default named in
 *    the comment otherwise.
 *  - bool is VARIANT_BOOL: VARIANT_TRUE (-1) or VARIANT_FALSE (0).
 *  - Window handles are native window ids (QWidget::winId) as int32.
 *
 * The C structure names carry a "Qfc" prefix where the interface is called
 * _GenFuns, _APIFuns, _TxtFile, _Base64 and _Registry.
 */
#ifndef QFC_MRB_INTERFACES_H
#define QFC_MRB_INTERFACES_H

#include "platform/com/abi.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Laid out by hand: a binary interface reads best that way. */
/* clang-format off */

/* Type library QFC_MRB 1.0, locale 1033: {9505D27B-17A9-4F1B-AE6F-4972AF601C5A} */
#define QFC_LIBID_INIT {0x9505D27Bu, 0x17A9u, 0x4F1Bu, {0xAE, 0x6F, 0x49, 0x72, 0xAF, 0x60, 0x1C, 0x5A}}
/* GenFuns {82C12EAA-540A-47C9-A0A0-BCD046E588CA}, _GenFuns {278124B4-3C23-4060-A642-A7401F259255} */
#define QFC_CLSID_GENFUNS_INIT {0x82C12EAAu, 0x540Au, 0x47C9u, {0xA0, 0xA0, 0xBC, 0xD0, 0x46, 0xE5, 0x88, 0xCA}}
#define QFC_IID_GENFUNS_INIT {0x278124B4u, 0x3C23u, 0x4060u, {0xA6, 0x42, 0xA7, 0x40, 0x1F, 0x25, 0x92, 0x55}}
/* APIFuns {4D25CE52-8FCA-409A-B19A-2B1B2B3C16B5}, _APIFuns {050D09ED-B86B-4661-BC11-4248B465E351} */
#define QFC_CLSID_APIFUNS_INIT {0x4D25CE52u, 0x8FCAu, 0x409Au, {0xB1, 0x9A, 0x2B, 0x1B, 0x2B, 0x3C, 0x16, 0xB5}}
#define QFC_IID_APIFUNS_INIT {0x050D09EDu, 0xB86Bu, 0x4661u, {0xBC, 0x11, 0x42, 0x48, 0xB4, 0x65, 0xE3, 0x51}}
/* TxtFile {FD836FF0-47AA-4B09-B25A-2DCE1995BE0F}, _TxtFile {EF6B5F9D-BF29-4CC3-98D0-C474F188AA31} */
#define QFC_CLSID_TXTFILE_INIT {0xFD836FF0u, 0x47AAu, 0x4B09u, {0xB2, 0x5A, 0x2D, 0xCE, 0x19, 0x95, 0xBE, 0x0F}}
#define QFC_IID_TXTFILE_INIT {0xEF6B5F9Du, 0xBF29u, 0x4CC3u, {0x98, 0xD0, 0xC4, 0x74, 0xF1, 0x88, 0xAA, 0x31}}
/* Base64 {FD29AA50-2559-47A2-AE8C-381250D543D9}, _Base64 {6E58711F-4F35-4D9C-920A-ED4E4035CE9F} */
#define QFC_CLSID_BASE64_INIT {0xFD29AA50u, 0x2559u, 0x47A2u, {0xAE, 0x8C, 0x38, 0x12, 0x50, 0xD5, 0x43, 0xD9}}
#define QFC_IID_BASE64_INIT {0x6E58711Fu, 0x4F35u, 0x4D9Cu, {0x92, 0x0A, 0xED, 0x4E, 0x40, 0x35, 0xCE, 0x9F}}
/* Registry {E7EBD814-D705-4D9F-9451-0E317902DFF2}, _Registry {A15A19B9-5ABA-48CF-B899-5AEC49042EEC} */
#define QFC_CLSID_REGISTRY_INIT {0xE7EBD814u, 0xD705u, 0x4D9Fu, {0x94, 0x51, 0x0E, 0x31, 0x79, 0x02, 0xDF, 0xF2}}
#define QFC_IID_REGISTRY_INIT {0xA15A19B9u, 0x5ABAu, 0x48CFu, {0xB8, 0x99, 0x5A, 0xEC, 0x49, 0x04, 0x2E, 0xEC}}
/* Enumerations KeyRoot {1EC625BA-FBD4-4C9A-A17C-D37985280546}, KeyType {6E25BB89-250E-4DD4-8DA0-A86D1353D4E8} */
#define QFC_ENUM_KEYROOT_INIT {0x1EC625BAu, 0xFBD4u, 0x4C9Au, {0xA1, 0x7C, 0xD3, 0x79, 0x85, 0x28, 0x05, 0x46}}
#define QFC_ENUM_KEYTYPE_INIT {0x6E25BB89u, 0x250Eu, 0x4DD4u, {0x8D, 0xA0, 0xA8, 0x6D, 0x13, 0x53, 0xD4, 0xE8}}

/* Enumeration KeyRoot: the predefined registry roots. */
enum QfcKeyRoot {
    QFC_HKEY_CLASSES_ROOT = (int32_t)0x80000000u,
    QFC_HKEY_CURRENT_USER = (int32_t)0x80000001u,
    QFC_HKEY_LOCAL_MACHINE = (int32_t)0x80000002u,
    QFC_HKEY_USERS = (int32_t)0x80000003u,
    QFC_HKEY_CURRENT_CONFIG = (int32_t)0x80000005u
};

/* Enumeration KeyType: registry value types. */
enum QfcKeyType { QFC_REG_SZ = 1, QFC_REG_EXPAND_SZ = 2, QFC_REG_BINARY = 3, QFC_REG_DWORD = 4 };

#define QFC_IDISPATCH_MEMBERS(Iface)                                                                                      \
    HRESULT (*QueryInterface)(struct Iface * self, const IID *iid, void **out);                                        \
    uint32_t (*AddRef)(struct Iface * self);                                                                           \
    uint32_t (*Release)(struct Iface * self);                                                                          \
    HRESULT (*GetTypeInfoCount)(struct Iface * self, uint32_t * count);                                                \
    HRESULT (*GetTypeInfo)(struct Iface * self, uint32_t index, LCID lcid, void **typeInfo);                           \
    HRESULT (*GetIDsOfNames)(struct Iface * self, const IID *iid, OLECHAR **names, uint32_t count, LCID lcid, DISPID *ids); \
    HRESULT (*Invoke)(struct Iface * self,                                                                             \
                      DISPID member,                                                                                   \
                      const IID *iid,                                                                                  \
                      LCID lcid,                                                                                       \
                      uint16_t flags,                                                                                  \
                      DISPPARAMS *params,                                                                              \
                      VARIANT *result,                                                                                 \
                      EXCEPINFO *exception,                                                                            \
                      uint32_t *argError);

struct QfcGenFuns;
struct QfcAPIFuns;
struct QfcTxtFile;
struct QfcBase64;
struct QfcRegistry;

/* _GenFuns */
typedef struct QfcGenFunsVtbl {
    QFC_IDISPATCH_MEMBERS(QfcGenFuns)
    /*  1 */ HRESULT (*GetCharsetList)(struct QfcGenFuns *self, BSTR *Result);
    /*  2 */ HRESULT (*LongToHTMLColor)(struct QfcGenFuns *self, int32_t Color, BSTR *Result);
    /*  3 */ HRESULT (*SetMenuCaption)(struct QfcGenFuns *self, IDispatch **Target, BSTR MenusFile /* optional */);
    /*  4 */ HRESULT (*SetTip)(struct QfcGenFuns *self, IDispatch **Target, BSTR TipsFile /* optional */);
    /*  5 */ HRESULT (*InVar)(struct QfcGenFuns *self, VARIANT *Target, SAFEARRAY **VarList, VARIANT_BOOL *Result);
    /*  6 */ HRESULT (*AdjListColWid)(struct QfcGenFuns *self, IDispatch **Target);
    /*  7 */ HRESULT (*GetFilesQty)(struct QfcGenFuns *self, BSTR Path, int32_t *Result);
    /*  8 */ HRESULT (*CheckShortcut)(struct QfcGenFuns *self, BSTR Shortcut, VARIANT_BOOL *Result);
    /*  9 */ HRESULT (*GetSysTempPath)(struct QfcGenFuns *self, BSTR *Result);
    /* 10 */ HRESULT (*GetEnglishWeekday)(struct QfcGenFuns *self, int16_t WeekSN, BSTR *Result);
    /* 11 */ HRESULT (*GetEnglishShortMonth)(struct QfcGenFuns *self, int16_t MonthSN, BSTR *Result);
} QfcGenFunsVtbl;
typedef struct QfcGenFuns {
    const QfcGenFunsVtbl *lpVtbl;
} QfcGenFuns;

/* _APIFuns. WinState is the window-state code: 0 hidden, 1 normal, 2 minimised,
   3 maximised, 4 normal without focus, 6 minimised without focus. */
typedef struct QfcAPIFunsVtbl {
    QFC_IDISPATCH_MEMBERS(QfcAPIFuns)
    /*  1 */ HRESULT (*GetWindowsVersion)(struct QfcAPIFuns *self, int32_t *Result);
    /*  2 */ HRESULT (*AcceptDragFiles)(struct QfcAPIFuns *self, int32_t CtrHandle, int32_t Accept);
    /*  3 */ HRESULT (*MapNetDrive)(struct QfcAPIFuns *self, int32_t WinHandle, int32_t Action);
    /*  4 */ HRESULT (*DisconnectNetDrive)(struct QfcAPIFuns *self, int32_t WinHandle, int32_t Action);
    /*  5 */ HRESULT (*SendMsg)(struct QfcAPIFuns *self, int32_t Handle, int32_t msg, int32_t ParamA, VARIANT *ParamB);
    /*  6 */ HRESULT (*PostMsg)(struct QfcAPIFuns *self, int32_t Handle, int32_t msg, int32_t ParamA, VARIANT *ParamB);
    /*  7 */ HRESULT (*GetFilesOpenName)(struct QfcAPIFuns *self,
                                         int32_t WinHandle,
                                         BSTR Title,
                                         BSTR Filter,
                                         BSTR *DefDir /* optional */,
                                         VARIANT_BOOL *MultiSel /* optional */,
                                         SAFEARRAY **Result /* strings, lower bound 0 */);
    /*  8 */ HRESULT (*GetFileSaveName)(struct QfcAPIFuns *self,
                                        int32_t WinHandle,
                                        BSTR Title,
                                        BSTR FileName,
                                        BSTR Filter /* pairs: text NUL pattern NUL ... */,
                                        BSTR DefDir /* optional */,
                                        BSTR DefExt /* optional, without the point */,
                                        BSTR *Result /* "" when cancelled */);
    /*  9 */ HRESULT (*GetFileIcon)(struct QfcAPIFuns *self, BSTR FileName, int32_t SmallPicDC, int32_t BigPicDC);
    /* 10 */ HRESULT (*ExecFile)(struct QfcAPIFuns *self, BSTR FileName, int32_t WinState);
    /* 11 */ HRESULT (*ExecCmd)(struct QfcAPIFuns *self, BSTR Command, int32_t WinState);
    /* 12 */ HRESULT (*SelectColor)(struct QfcAPIFuns *self, int32_t WinHandle, int32_t *Result /* 0x00BBGGRR, -1 */);
    /* 13 */ HRESULT (*TxtOperate)(struct QfcAPIFuns *self, int32_t TxtHandle, BSTR *Action);
    /* 14 */ HRESULT (*ReadIni)(struct QfcAPIFuns *self, BSTR FileName, BSTR Segment, BSTR KeyName, BSTR *Result);
    /* 15 */ HRESULT (*AddHScrollToListBox)(struct QfcAPIFuns *self, int32_t Handle, int32_t Width);
    /* 16 */ HRESULT (*WriteIni)(struct QfcAPIFuns *self, BSTR *FileName, BSTR *Segment, BSTR *KeyName, BSTR *KeyValue);
    /* 17 */ HRESULT (*SetRadioMenu)(struct QfcAPIFuns *self, int32_t MenuHandle, int32_t Pos);
    /* 18 */ HRESULT (*GetMenuHandle)(struct QfcAPIFuns *self, int32_t WinHandle, int32_t *Result);
    /* 19 */ HRESULT (*GetSubMenuHandle)(struct QfcAPIFuns *self, int32_t MenuHandle, int32_t *Pos, int32_t *Result);
    /* 20 */ HRESULT (*GetSysPath)(struct QfcAPIFuns *self, BSTR Class, BSTR *Result);
    /* 21 */ HRESULT (*FindWindowTitle)(struct QfcAPIFuns *self, BSTR Title, int32_t *Result);
    /* 22 */ HRESULT (*ChooseFolder)(struct QfcAPIFuns *self, int32_t WinHandle, BSTR Prompt, BSTR *Result);
    /* 23 */ HRESULT (*DropFiles)(struct QfcAPIFuns *self, int32_t hDrop, BSTR *Result);
    /* 24 */ HRESULT (*Wait)(struct QfcAPIFuns *self, int32_t Milliseconds);
    /* 25 */ HRESULT (*GetSpecialFolder)(struct QfcAPIFuns *self, int16_t ID, BSTR *Result);
    /* 26 */ HRESULT (*QueryRecycleBin)(struct QfcAPIFuns *self, BSTR Drive /* optional */, BSTR *Result);
    /* 27 */ HRESULT (*GetUserTempPath)(struct QfcAPIFuns *self, BSTR *Result);
    /* 28 */ HRESULT (*DelUntilReboot)(struct QfcAPIFuns *self, BSTR FileName);
    /* 29 */ HRESULT (*SetTreeViewBgColor)(struct QfcAPIFuns *self, int32_t TvHandle, int32_t BgColor);
    /* 30 */ HRESULT (*EmptyRecycleBin)(struct QfcAPIFuns *self, int32_t WinHandle, BSTR Drive /* optional */);
    /* 31 */ HRESULT (*SetLVHeaderColor)(struct QfcAPIFuns *self,
                                         int32_t Handle,
                                         VARIANT_BOOL SetUnset,
                                         int32_t BgColor /* optional */,
                                         int32_t ForeColor /* optional */);
    /* 32 */ HRESULT (*DelToRecycled)(struct QfcAPIFuns *self, BSTR FileName);
    /* 33 */ HRESULT (*ShowFileFolderProperties)(struct QfcAPIFuns *self, int32_t Handle, BSTR FileFolderName);
    /* 34 */ HRESULT (*LoadDLL)(struct QfcAPIFuns *self, BSTR DLLFile, int32_t *Result);
    /* 35 */ HRESULT (*GetDLLString)(struct QfcAPIFuns *self, int32_t ResHandle, int32_t ResID, BSTR *Result);
    /* 36 */ HRESULT (*UnloadDLL)(struct QfcAPIFuns *self, int32_t ResHandle);
    /* 37 */ HRESULT (*KillProcess)(struct QfcAPIFuns *self, BSTR NameProcess);
    /* 38 */ HRESULT (*SetClipboardText)(struct QfcAPIFuns *self, BSTR Text);
    /* 39 */ HRESULT (*GetClipboardText)(struct QfcAPIFuns *self, BSTR *Result);
} QfcAPIFunsVtbl;
typedef struct QfcAPIFuns {
    const QfcAPIFunsVtbl *lpVtbl;
} QfcAPIFuns;

/* _TxtFile */
typedef struct QfcTxtFileVtbl {
    QFC_IDISPATCH_MEMBERS(QfcTxtFile)
    /*  1 */ HRESULT (*AppendLine)(struct QfcTxtFile *self, BSTR FileName, BSTR *Content);
    /*  2 */ HRESULT (*ReadLastLine)(struct QfcTxtFile *self, BSTR FileName, BSTR *Result);
    /*  3 */ HRESULT (*GetLineQty)(struct QfcTxtFile *self, BSTR FileName, int32_t *Result);
    /*  4 */ HRESULT (*DeleteLine)(struct QfcTxtFile *self,
                                   BSTR FileName,
                                   BSTR Content,
                                   BSTR Separator /* optional, default "" */,
                                   int16_t FieldNo /* optional, default 0 */);
    /*  5 */ HRESULT (*ModifyLine)(struct QfcTxtFile *self,
                                   BSTR FileName,
                                   BSTR OldString,
                                   BSTR NewString,
                                   BSTR Separator /* optional, default "" */,
                                   int16_t FieldNo /* optional, default 0 */);
    /*  6 */ HRESULT (*FindLine)(struct QfcTxtFile *self, BSTR FileName, BSTR Line, VARIANT_BOOL *Result);
    /*  7 */ HRESULT (*GetLineNoByFind)(struct QfcTxtFile *self,
                                        BSTR FileName,
                                        BSTR FindString,
                                        VARIANT_BOOL MatchCase /* optional, default true */,
                                        int32_t *Result);
    /*  8 */ HRESULT (*GetLineStrByFind)(struct QfcTxtFile *self,
                                         BSTR FileName,
                                         BSTR FindString,
                                         VARIANT_BOOL MatchCase /* optional, default true */,
                                         BSTR *Result);
    /*  9 */ HRESULT (*WriteByCharset)(struct QfcTxtFile *self,
                                       BSTR FileName,
                                       BSTR Content,
                                       BSTR CharSet /* optional, default "utf-8" */);
    /* 10 */ HRESULT (*ReadByCharset)(struct QfcTxtFile *self,
                                      BSTR FileName,
                                      BSTR CharSet /* optional, default "utf-8" */,
                                      BSTR *Result);
    /* 11 */ HRESULT (*AutoRead)(struct QfcTxtFile *self, BSTR FileName, BSTR *Result);
    /* 12 */ HRESULT (*GetEncoding)(struct QfcTxtFile *self, BSTR FileName, BSTR *Result);
} QfcTxtFileVtbl;
typedef struct QfcTxtFile {
    const QfcTxtFileVtbl *lpVtbl;
} QfcTxtFile;

/* _Base64: dispatch numbers 0x60030000, 0x60030003, 0x60030005, 0x60030006. */
typedef struct QfcBase64Vtbl {
    QFC_IDISPATCH_MEMBERS(QfcBase64)
    /*  1 */ HRESULT (*Encode)(struct QfcBase64 *self, BSTR Source, BSTR CharSet /* optional, default "utf-8" */, BSTR *Result);
    /*  2 */ HRESULT (*EncodeFile)(struct QfcBase64 *self, BSTR astrFile, BSTR *Result);
    /*  3 */ HRESULT (*Decode)(struct QfcBase64 *self, BSTR *sInput, BSTR CharSet /* optional, default "utf-8" */, BSTR *Result);
    /*  4 */ HRESULT (*DecodeToFile)(struct QfcBase64 *self, BSTR *sInput, BSTR *sFileName);
} QfcBase64Vtbl;
typedef struct QfcBase64 {
    const QfcBase64Vtbl *lpVtbl;
} QfcBase64;

/* _Registry: every argument by reference; dispatch numbers 0x60030000 to
   0x60030007, then 0x6003000A and 0x6003000B. KeyRoot and KeyType hold the
   enumeration values above. */
typedef struct QfcRegistryVtbl {
    QFC_IDISPATCH_MEMBERS(QfcRegistry)
    /*  1 */ HRESULT (*ExportRegKey)(struct QfcRegistry *self, int32_t *KeyRoot, BSTR *KeyPath, BSTR *FileName, VARIANT_BOOL *Result);
    /*  2 */ HRESULT (*ImportRegKey)(struct QfcRegistry *self, int32_t *KeyRoot, BSTR *KeyPath, BSTR *FileName, VARIANT_BOOL *Result);
    /*  3 */ HRESULT (*ReadRegKey)(struct QfcRegistry *self,
                                   int32_t *KeyRoot,
                                   BSTR *KeyPath,
                                   BSTR *SubKey,
                                   BSTR *NoKeyFoundValue /* optional, default "" */,
                                   BSTR *Result);
    /*  4 */ HRESULT (*WriteRegKey)(struct QfcRegistry *self,
                                    int32_t *KeyType,
                                    int32_t *KeyRoot,
                                    BSTR *KeyPath,
                                    BSTR *SubKey,
                                    BSTR *SubKeyValue,
                                    VARIANT_BOOL *Result);
    /*  5 */ HRESULT (*EnumerateRegKeys)(struct QfcRegistry *self, int32_t *KeyRoot, BSTR *KeyPath, BSTR *Result);
    /*  6 */ HRESULT (*EnumerateRegKeyValues)(struct QfcRegistry *self, int32_t *KeyRoot, BSTR *KeyPath, BSTR *Result);
    /*  7 */ HRESULT (*DeleteRegKey)(struct QfcRegistry *self, int32_t *KeyRoot, BSTR *KeyPath);
    /*  8 */ HRESULT (*DeleteRegKeyValue)(struct QfcRegistry *self,
                                          int32_t *KeyRoot,
                                          BSTR *KeyPath,
                                          BSTR *SubKey /* optional, default "" */,
                                          VARIANT_BOOL *Result);
    /*  9 */ HRESULT (*GetRegKeyItems)(struct QfcRegistry *self, int32_t *KeyRoot, BSTR *KeyPath, int16_t *Result);
    /* 10 */ HRESULT (*EnumerateRegKeyItemNames)(struct QfcRegistry *self, int32_t *KeyRoot, BSTR *KeyPath, BSTR *Result);
} QfcRegistryVtbl;
typedef struct QfcRegistry {
    const QfcRegistryVtbl *lpVtbl;
} QfcRegistry;

#undef QFC_IDISPATCH_MEMBERS

#ifdef __cplusplus
} /* extern "C" */
#endif

/* clang-format on */

#endif /* QFC_MRB_INTERFACES_H */
