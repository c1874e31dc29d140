// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// The classes of the Windows build whose operations are not there yet, each
// operation answering so: their identities, slots, dispatch numbers and type
// library are the real ones, so creation, registration and late binding work.
#include "lib/frame/identities.h"
#include "lib/frame/unavailable_win32.h"
#include "lib/txtfile/txtfile.h"

namespace qfc
{

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

QFC_CLASS_DEFINITION(TxtFile, QfcTxtFile, IID_TxtFile, "_TxtFile", QFC_TXTFILE_OPERATIONS)
#define QFC_PENDING_TXTFILE(n, Result, Name, Arguments)                                                                \
    QFC_PENDING_OPERATION(TxtFile, "TxtFile", Result, Name, (_ Arguments))
QFC_TXTFILE_OPERATIONS(QFC_PENDING_TXTFILE, QFC_PENDING_TYPE, QFC_PENDING_OPTIONAL_TYPE)

} // namespace qfc
