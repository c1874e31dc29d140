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

/*
 * The operations of each interface, one line each, in slot order:
 *
 *   OP(n, Result, Name, Arguments)
 *
 *   n          the dispatch number less 0x60030000
 *   Result     what the trailing result pointer receives: NONE (no result
 *              pointer), STR (BSTR *), I16 (int16_t *), I32 (int32_t *),
 *              BOOL (VARIANT_BOOL *) or STR_ARRAY (SAFEARRAY **: strings,
 *              lower bound 0); BSTR is STR for every caller, for an
 *              operation that builds its long string result itself
 *   Arguments  A(Kind, Name) for a required argument, O(Kind, Name, Default)
 *              for an optional one; Kind is STR (BSTR), I16, I32, BOOL
 *              (VARIANT_BOOL), VARIANT (VARIANT *), or one passed by
 *              reference: STR_REF (BSTR *), I32_REF (int32_t *), BOOL_REF
 *              (VARIANT_BOOL *), OBJECT_REF (IDispatch **) or ARRAY_REF
 *              (SAFEARRAY **, an array of variants)
 *
 * The C tables below and the library's own slot tables, late binding and
 * type information are all made from these lists: an operation is added by
 * adding its line (at the end of its list: slots never move).
 */

#define QFC_GENFUNS_OPERATIONS(OP, A, O) \
    OP(0x00, STR,  GetCharsetList,       ) \
    OP(0x01, STR,  LongToHTMLColor,      A(I32, Color)) \
    OP(0x02, NONE, SetMenuCaption,       A(OBJECT_REF, Target) O(STR, MenusFile, "")) \
    OP(0x03, NONE, SetTip,               A(OBJECT_REF, Target) O(STR, TipsFile, "")) \
    OP(0x04, BOOL, InVar,                A(VARIANT, Target) A(ARRAY_REF, VarList)) \
    OP(0x05, NONE, AdjListColWid,        A(OBJECT_REF, Target)) \
    OP(0x06, I32,  GetFilesQty,          A(STR, Path)) \
    OP(0x07, BOOL, CheckShortcut,        A(STR, Shortcut)) \
    OP(0x08, STR,  GetSysTempPath,       ) \
    OP(0x09, STR,  GetEnglishWeekday,    A(I16, WeekSN)) \
    OP(0x0A, STR,  GetEnglishShortMonth, A(I16, MonthSN))

/* WinState is the window-state code: 0 hidden, 1 normal, 2 minimised,
   3 maximised, 4 normal without focus, 6 minimised without focus. */
#define QFC_APIFUNS_OPERATIONS(OP, A, O) \
    OP(0x00, I32,  GetWindowsVersion,        ) \
    OP(0x01, NONE, AcceptDragFiles,          A(I32, CtrHandle) A(I32, Accept)) \
    OP(0x02, NONE, MapNetDrive,              A(I32, WinHandle) A(I32, Action)) \
    OP(0x03, NONE, DisconnectNetDrive,       A(I32, WinHandle) A(I32, Action)) \
    OP(0x04, NONE, SendMsg,                  A(I32, Handle) A(I32, msg) A(I32, ParamA) A(VARIANT, ParamB)) \
    OP(0x05, NONE, PostMsg,                  A(I32, Handle) A(I32, msg) A(I32, ParamA) A(VARIANT, ParamB)) \
    OP(0x06, STR_ARRAY, GetFilesOpenName,    A(I32, WinHandle) A(STR, Title) A(STR, Filter) O(STR_REF, DefDir, "") O(BOOL_REF, MultiSel, 0)) \
    /* Filter: pairs of text NUL pattern NUL; DefExt without the point; "" when cancelled */ \
    OP(0x07, STR,  GetFileSaveName,          A(I32, WinHandle) A(STR, Title) A(STR, FileName) A(STR, Filter) O(STR, DefDir, "") O(STR, DefExt, "")) \
    OP(0x08, NONE, GetFileIcon,              A(STR, FileName) A(I32, SmallPicDC) A(I32, BigPicDC)) \
    OP(0x09, NONE, ExecFile,                 A(STR, FileName) A(I32, WinState)) \
    OP(0x0A, NONE, ExecCmd,                  A(STR, Command) A(I32, WinState)) \
    OP(0x0B, I32,  SelectColor,              A(I32, WinHandle)) /* 0x00BBGGRR, -1 when cancelled */ \
    OP(0x0C, NONE, TxtOperate,               A(I32, TxtHandle) A(STR_REF, Action)) \
    OP(0x0D, STR,  ReadIni,                  A(STR, FileName) A(STR, Segment) A(STR, KeyName)) \
    OP(0x0E, NONE, AddHScrollToListBox,      A(I32, Handle) A(I32, Width)) \
    OP(0x0F, NONE, WriteIni,                 A(STR_REF, FileName) A(STR_REF, Segment) A(STR_REF, KeyName) A(STR_REF, KeyValue)) \
    OP(0x10, NONE, SetRadioMenu,             A(I32, MenuHandle) A(I32, Pos)) \
    OP(0x11, I32,  GetMenuHandle,            A(I32, WinHandle)) \
    OP(0x12, I32,  GetSubMenuHandle,         A(I32, MenuHandle) A(I32_REF, Pos)) \
    OP(0x13, STR,  GetSysPath,               A(STR, Class)) \
    OP(0x14, I32,  FindWindowTitle,          A(STR, Title)) \
    OP(0x15, STR,  ChooseFolder,             A(I32, WinHandle) A(STR, Prompt)) \
    OP(0x16, STR,  DropFiles,                A(I32, hDrop)) \
    OP(0x17, NONE, Wait,                     A(I32, Milliseconds)) \
    OP(0x18, STR,  GetSpecialFolder,         A(I16, ID)) \
    OP(0x19, STR,  QueryRecycleBin,          O(STR, Drive, "")) \
    OP(0x1A, STR,  GetUserTempPath,          ) \
    OP(0x1B, NONE, DelUntilReboot,           A(STR, FileName)) \
    OP(0x1C, NONE, SetTreeViewBgColor,       A(I32, TvHandle) A(I32, BgColor)) \
    OP(0x1D, NONE, EmptyRecycleBin,          A(I32, WinHandle) O(STR, Drive, "")) \
    OP(0x1E, NONE, SetLVHeaderColor,         A(I32, Handle) A(BOOL, SetUnset) O(I32, BgColor, 0) O(I32, ForeColor, 0)) \
    OP(0x1F, NONE, DelToRecycled,            A(STR, FileName)) \
    OP(0x20, NONE, ShowFileFolderProperties, A(I32, Handle) A(STR, FileFolderName)) \
    OP(0x21, I32,  LoadDLL,                  A(STR, DLLFile)) \
    OP(0x22, STR,  GetDLLString,             A(I32, ResHandle) A(I32, ResID)) \
    OP(0x23, NONE, UnloadDLL,                A(I32, ResHandle)) \
    OP(0x24, NONE, KillProcess,              A(STR, NameProcess)) \
    OP(0x25, NONE, SetClipboardText,         A(STR, Text)) \
    OP(0x26, STR,  GetClipboardText,         )

#define QFC_TXTFILE_OPERATIONS(OP, A, O) \
    OP(0x00, NONE, AppendLine,       A(STR, FileName) A(STR_REF, Content)) \
    OP(0x01, STR,  ReadLastLine,     A(STR, FileName)) \
    OP(0x02, I32,  GetLineQty,       A(STR, FileName)) \
    OP(0x03, NONE, DeleteLine,       A(STR, FileName) A(STR, Content) O(STR, Separator, "") O(I16, FieldNo, 0)) \
    OP(0x04, NONE, ModifyLine,       A(STR, FileName) A(STR, OldString) A(STR, NewString) O(STR, Separator, "") O(I16, FieldNo, 0)) \
    OP(0x05, BOOL, FindLine,         A(STR, FileName) A(STR, Line)) \
    OP(0x06, I32,  GetLineNoByFind,  A(STR, FileName) A(STR, FindString) O(BOOL, MatchCase, -1)) \
    OP(0x07, STR,  GetLineStrByFind, A(STR, FileName) A(STR, FindString) O(BOOL, MatchCase, -1)) \
    OP(0x08, NONE, WriteByCharset,   A(STR, FileName) A(STR, Content) O(STR, CharSet, "utf-8")) \
    OP(0x09, STR,  ReadByCharset,    A(STR, FileName) O(STR, CharSet, "utf-8")) \
    OP(0x0A, STR,  AutoRead,         A(STR, FileName)) \
    OP(0x0B, STR,  GetEncoding,      A(STR, FileName))

/* The dispatch numbers in between belong to the class's private operations. */
#define QFC_BASE64_OPERATIONS(OP, A, O) \
    OP(0x00, BSTR, Encode,       A(STR, Source) O(STR, CharSet, "utf-8")) \
    OP(0x03, BSTR, EncodeFile,   A(STR, astrFile)) \
    OP(0x05, STR,  Decode,       A(STR_REF, sInput) O(STR, CharSet, "utf-8")) \
    OP(0x06, NONE, DecodeToFile, A(STR_REF, sInput) A(STR_REF, sFileName))

/* Every argument by reference; KeyRoot and KeyType hold the enumeration
   values above. 0x08 and 0x09 belong to the class's private operations. */
#define QFC_REGISTRY_OPERATIONS(OP, A, O) \
    OP(0x00, BOOL, ExportRegKey,             A(I32_REF, KeyRoot) A(STR_REF, KeyPath) A(STR_REF, FileName)) \
    OP(0x01, BOOL, ImportRegKey,             A(I32_REF, KeyRoot) A(STR_REF, KeyPath) A(STR_REF, FileName)) \
    OP(0x02, STR,  ReadRegKey,               A(I32_REF, KeyRoot) A(STR_REF, KeyPath) A(STR_REF, SubKey) O(STR_REF, NoKeyFoundValue, "")) \
    OP(0x03, BOOL, WriteRegKey,              A(I32_REF, KeyType) A(I32_REF, KeyRoot) A(STR_REF, KeyPath) A(STR_REF, SubKey) A(STR_REF, SubKeyValue)) \
    OP(0x04, STR,  EnumerateRegKeys,         A(I32_REF, KeyRoot) A(STR_REF, KeyPath)) \
    OP(0x05, STR,  EnumerateRegKeyValues,    A(I32_REF, KeyRoot) A(STR_REF, KeyPath)) \
    OP(0x06, NONE, DeleteRegKey,             A(I32_REF, KeyRoot) A(STR_REF, KeyPath)) \
    OP(0x07, BOOL, DeleteRegKeyValue,        A(I32_REF, KeyRoot) A(STR_REF, KeyPath) O(STR_REF, SubKey, "")) \
    OP(0x0A, I16,  GetRegKeyItems,           A(I32_REF, KeyRoot) A(STR_REF, KeyPath)) \
    OP(0x0B, STR,  EnumerateRegKeyItemNames, A(I32_REF, KeyRoot) A(STR_REF, KeyPath))

/* ---- the C tables, made from the lists ------------------------------------------ */

#define QFC_C_TYPE_STR BSTR
#define QFC_C_TYPE_I16 int16_t
#define QFC_C_TYPE_I32 int32_t
#define QFC_C_TYPE_BOOL VARIANT_BOOL
#define QFC_C_TYPE_VARIANT VARIANT *
#define QFC_C_TYPE_STR_REF BSTR *
#define QFC_C_TYPE_I32_REF int32_t *
#define QFC_C_TYPE_BOOL_REF VARIANT_BOOL *
#define QFC_C_TYPE_OBJECT_REF IDispatch **
#define QFC_C_TYPE_ARRAY_REF SAFEARRAY **
#define QFC_C_RESULT_NONE
#define QFC_C_RESULT_STR , BSTR *Result
#define QFC_C_RESULT_BSTR , BSTR *Result
#define QFC_C_RESULT_I16 , int16_t *Result
#define QFC_C_RESULT_I32 , int32_t *Result
#define QFC_C_RESULT_BOOL , VARIANT_BOOL *Result
#define QFC_C_RESULT_STR_ARRAY , SAFEARRAY **Result

#define QFC_C_ARGUMENT(Kind, Name) , QFC_C_TYPE_##Kind Name
#define QFC_C_OPTIONAL(Kind, Name, Default) QFC_C_ARGUMENT(Kind, Name)
#define QFC_C_SLOT(n, Result, Name, Arguments) HRESULT (*Name)(struct QFC_C_SELF *self Arguments QFC_C_RESULT_##Result);

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

/* struct Iface { const IfaceVtbl *lpVtbl; } with IfaceVtbl holding the seven
   IDispatch slots and then one slot per line of the list. */
#define QFC_C_INTERFACE(Iface, LIST)                                                                                   \
    struct Iface;                                                                                                      \
    typedef struct Iface##Vtbl {                                                                                       \
        QFC_IDISPATCH_MEMBERS(Iface)                                                                                   \
        LIST(QFC_C_SLOT, QFC_C_ARGUMENT, QFC_C_OPTIONAL)                                                               \
    } Iface##Vtbl;                                                                                                     \
    typedef struct Iface {                                                                                             \
        const Iface##Vtbl *lpVtbl;                                                                                     \
    } Iface;

#define QFC_C_SELF QfcGenFuns
QFC_C_INTERFACE(QfcGenFuns, QFC_GENFUNS_OPERATIONS)
#undef QFC_C_SELF
#define QFC_C_SELF QfcAPIFuns
QFC_C_INTERFACE(QfcAPIFuns, QFC_APIFUNS_OPERATIONS)
#undef QFC_C_SELF
#define QFC_C_SELF QfcTxtFile
QFC_C_INTERFACE(QfcTxtFile, QFC_TXTFILE_OPERATIONS)
#undef QFC_C_SELF
#define QFC_C_SELF QfcBase64
QFC_C_INTERFACE(QfcBase64, QFC_BASE64_OPERATIONS)
#undef QFC_C_SELF
#define QFC_C_SELF QfcRegistry
QFC_C_INTERFACE(QfcRegistry, QFC_REGISTRY_OPERATIONS)
#undef QFC_C_SELF

#undef QFC_IDISPATCH_MEMBERS

#ifdef __cplusplus
} /* extern "C" */
#endif

/* clang-format on */

#endif /* QFC_MRB_INTERFACES_H */
