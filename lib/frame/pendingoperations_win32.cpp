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

// The parameter types of a list line without their names, each after a
// comma; QFC_PENDING_PARAMETERS gets them as (_ , type, type ...) and drops
// the "_" with the leading comma.
#define QFC_PENDING_TYPE(Kind, Name) , QFC_CPP_TYPE_##Kind
#define QFC_PENDING_OPTIONAL_TYPE(Kind, Name, Default) , QFC_CPP_TYPE_##Kind
#define QFC_PENDING_PARAMETERS(ignored, ...) __VA_ARGS__
// One class's operation, by the class and the name its failures give.
#define QFC_PENDING_OPERATION(Class, ClassName, Result, Name, Types)                                                   \
    QFC_CPP_RESULT_##Result Class::Name(QFC_PENDING_PARAMETERS Types)                                                  \
    {                                                                                                                  \
        notYetAvailable(ClassName "." #Name);                                                                          \
    }

QFC_CLASS_DEFINITION(GenFuns, QfcGenFuns, IID_GenFuns, "_GenFuns", QFC_GENFUNS_OPERATIONS)
#define QFC_PENDING_GENFUNS(n, Result, Name, Arguments)                                                                \
    QFC_PENDING_OPERATION(GenFuns, "GenFuns", Result, Name, (_ Arguments))
QFC_GENFUNS_OPERATIONS(QFC_PENDING_GENFUNS, QFC_PENDING_TYPE, QFC_PENDING_OPTIONAL_TYPE)

QFC_CLASS_DEFINITION(ApiFuns, QfcAPIFuns, IID_APIFuns, "_APIFuns", QFC_APIFUNS_OPERATIONS)
#define QFC_PENDING_APIFUNS(n, Result, Name, Arguments)                                                                \
    QFC_PENDING_OPERATION(ApiFuns, "APIFuns", Result, Name, (_ Arguments))
QFC_APIFUNS_OPERATIONS(QFC_PENDING_APIFUNS, QFC_PENDING_TYPE, QFC_PENDING_OPTIONAL_TYPE)

QFC_CLASS_DEFINITION(TxtFile, QfcTxtFile, IID_TxtFile, "_TxtFile", QFC_TXTFILE_OPERATIONS)
#define QFC_PENDING_TXTFILE(n, Result, Name, Arguments)                                                                \
    QFC_PENDING_OPERATION(TxtFile, "TxtFile", Result, Name, (_ Arguments))
QFC_TXTFILE_OPERATIONS(QFC_PENDING_TXTFILE, QFC_PENDING_TYPE, QFC_PENDING_OPTIONAL_TYPE)

QFC_CLASS_DEFINITION(Base64, QfcBase64, IID_Base64, "_Base64", QFC_BASE64_OPERATIONS)
#define QFC_PENDING_BASE64(n, Result, Name, Arguments)                                                                 \
    QFC_PENDING_OPERATION(Base64, "Base64", Result, Name, (_ Arguments))
QFC_BASE64_OPERATIONS(QFC_PENDING_BASE64, QFC_PENDING_TYPE, QFC_PENDING_OPTIONAL_TYPE)

QFC_CLASS_DEFINITION(Registry, QfcRegistry, IID_Registry, "_Registry", QFC_REGISTRY_OPERATIONS)
#define QFC_PENDING_REGISTRY(n, Result, Name, Arguments)                                                               \
    QFC_PENDING_OPERATION(Registry, "Registry", Result, Name, (_ Arguments))
QFC_REGISTRY_OPERATIONS(QFC_PENDING_REGISTRY, QFC_PENDING_TYPE, QFC_PENDING_OPTIONAL_TYPE)

} // namespace qfc
