// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// The five classes of the Windows build, every operation answering that it
// is not available there yet: their identities, slots, dispatch numbers and
// type library are the real ones, so creation, registration and late binding
// can be checked while the operations move onto the Win32 platform layer.
// TODO: the operations themselves, on the Win32 implementations of platform/.
#include "lib/apifuns/apifuns.h"
#include "lib/base64/base64.h"
#include "lib/frame/identities.h"
#include "lib/genfuns/genfuns.h"
#include "lib/registry/registry.h"
#include "lib/txtfile/txtfile.h"

namespace qfc
{

namespace
{

// E_NOTIMPL with the operation's name, as a caller's exception record shows it.
[[noreturn]] void notYetAvailable(const char *source)
{
    throw Failure({E_NOTIMPL, source, "Not available in the Windows build yet."});
}

} // namespace

// The parameter types of a list line without their names; the first, empty,
// argument of QFC_PENDING_PARAMETERS_ only swallows the leading comma.
#define QFC_PENDING_PARAMETERS_(ignored, ...) __VA_ARGS__
#define QFC_PENDING_PARAMETERS(...) QFC_PENDING_PARAMETERS_(__VA_ARGS__)
#define QFC_PENDING_TYPE(Kind, Name) , QFC_CPP_TYPE_##Kind
#define QFC_PENDING_OPTIONAL_TYPE(Kind, Name, Default) , QFC_CPP_TYPE_##Kind
#define QFC_PENDING_OPERATION(n, Result, Name, Arguments)                                                              \
    QFC_CPP_RESULT_##Result QFC_PENDING_CLASS::Name(QFC_PENDING_PARAMETERS(_ Arguments))                               \
    {                                                                                                                  \
        notYetAvailable(QFC_PENDING_NAME "." #Name);                                                                   \
    }

QFC_CLASS_DEFINITION(GenFuns, QfcGenFuns, IID_GenFuns, "_GenFuns", QFC_GENFUNS_OPERATIONS)
#define QFC_PENDING_CLASS GenFuns
#define QFC_PENDING_NAME "GenFuns"
QFC_GENFUNS_OPERATIONS(QFC_PENDING_OPERATION, QFC_PENDING_TYPE, QFC_PENDING_OPTIONAL_TYPE)
#undef QFC_PENDING_CLASS
#undef QFC_PENDING_NAME

QFC_CLASS_DEFINITION(ApiFuns, QfcAPIFuns, IID_APIFuns, "_APIFuns", QFC_APIFUNS_OPERATIONS)
#define QFC_PENDING_CLASS ApiFuns
#define QFC_PENDING_NAME "APIFuns"
QFC_APIFUNS_OPERATIONS(QFC_PENDING_OPERATION, QFC_PENDING_TYPE, QFC_PENDING_OPTIONAL_TYPE)
#undef QFC_PENDING_CLASS
#undef QFC_PENDING_NAME

QFC_CLASS_DEFINITION(TxtFile, QfcTxtFile, IID_TxtFile, "_TxtFile", QFC_TXTFILE_OPERATIONS)
#define QFC_PENDING_CLASS TxtFile
#define QFC_PENDING_NAME "TxtFile"
QFC_TXTFILE_OPERATIONS(QFC_PENDING_OPERATION, QFC_PENDING_TYPE, QFC_PENDING_OPTIONAL_TYPE)
#undef QFC_PENDING_CLASS
#undef QFC_PENDING_NAME

QFC_CLASS_DEFINITION(Base64, QfcBase64, IID_Base64, "_Base64", QFC_BASE64_OPERATIONS)
#define QFC_PENDING_CLASS Base64
#define QFC_PENDING_NAME "Base64"
QFC_BASE64_OPERATIONS(QFC_PENDING_OPERATION, QFC_PENDING_TYPE, QFC_PENDING_OPTIONAL_TYPE)
#undef QFC_PENDING_CLASS
#undef QFC_PENDING_NAME

QFC_CLASS_DEFINITION(Registry, QfcRegistry, IID_Registry, "_Registry", QFC_REGISTRY_OPERATIONS)
#define QFC_PENDING_CLASS Registry
#define QFC_PENDING_NAME "Registry"
QFC_REGISTRY_OPERATIONS(QFC_PENDING_OPERATION, QFC_PENDING_TYPE, QFC_PENDING_OPTIONAL_TYPE)
#undef QFC_PENDING_CLASS
#undef QFC_PENDING_NAME

} // namespace qfc
