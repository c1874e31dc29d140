// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "lib/frame/arguments.h"
#include "lib/frame/dispatch.h"
#include "lib/public/interfaces.h"

#include <cstdint>
#include <span>
#include <string>

// A class of the library is put together from its list of operations
// (QFC_..._OPERATIONS in interfaces.h), so an operation is written down once:
//
//   // txtfile.h
//   class TxtFile final : public DispatchObject<TxtFile, QfcTxtFile>
//   {
//       QFC_CLASS_OPERATIONS(TxtFile, QFC_TXTFILE_OPERATIONS)
//   };
//   // txtfile.cpp
//   QFC_CLASS_DEFINITION(TxtFile, QfcTxtFile, IID_TxtFile, "_TxtFile", QFC_TXTFILE_OPERATIONS)
//   std::int32_t TxtFile::GetLineQty(std::string FileName) { ... }
//
// The first declares the constructor, the class's identity and one member
// function per line, with the C++ types of arguments.h; the second defines
// the constructor, the interface table (slots in list order) and the
// dispatch table (names, dispatch numbers, parameters and defaults).

namespace qfc
{

// R(P...) from a result type and argument types, to declare a member function.
template <class R, class... P> struct FunctionOf {
    using type = R(P...);
};

} // namespace qfc

#define QFC_CPP_TYPE_STR std::string
#define QFC_CPP_TYPE_I16 std::int16_t
#define QFC_CPP_TYPE_I32 std::int32_t
#define QFC_CPP_TYPE_BOOL bool
#define QFC_CPP_TYPE_VARIANT ::qfc::VariantArg
#define QFC_CPP_TYPE_STR_REF ::qfc::StrRef
#define QFC_CPP_TYPE_I32_REF ::qfc::Int32Ref
#define QFC_CPP_TYPE_BOOL_REF ::qfc::BoolRef
#define QFC_CPP_TYPE_OBJECT_REF ::qfc::DispatchRef
#define QFC_CPP_TYPE_ARRAY_REF ::qfc::SafeArrayRef
#define QFC_CPP_RESULT_NONE void
#define QFC_CPP_RESULT_STR std::string
#define QFC_CPP_RESULT_BSTR ::mrb::platform::Bstr
#define QFC_CPP_RESULT_I16 std::int16_t
#define QFC_CPP_RESULT_I32 std::int32_t
#define QFC_CPP_RESULT_BOOL bool
#define QFC_CPP_RESULT_STR_ARRAY ::qfc::StringArray

// ---- declarations ---------------------------------------------------------------

#define QFC_DECLARE_ARGUMENT(Kind, Name) , QFC_CPP_TYPE_##Kind
#define QFC_DECLARE_OPTIONAL(Kind, Name, Default) , QFC_CPP_TYPE_##Kind
#define QFC_DECLARE_OPERATION(n, Result, Name, Arguments)                                                              \
    ::qfc::FunctionOf<QFC_CPP_RESULT_##Result Arguments>::type Name;

#define QFC_CLASS_OPERATIONS(Class, LIST)                                                                              \
public:                                                                                                                \
    Class();                                                                                                           \
    static const IID &interfaceId();                                                                                   \
    static const char *interfaceName();                                                                                \
    static std::span<const ::qfc::Operation> operations();                                                             \
    LIST(QFC_DECLARE_OPERATION, QFC_DECLARE_ARGUMENT, QFC_DECLARE_OPTIONAL)

// ---- definitions ----------------------------------------------------------------

#define QFC_PARAM_REQUIRED(Kind, Name) , ::qfc::required(#Name)
#define QFC_PARAM_OPTIONAL(Kind, Name, Default) , ::qfc::optional(#Name, Default)
#define QFC_DISPATCH_ENTRY(n, Result, Name, Arguments)                                                                 \
    ::qfc::operation<&Self::Name>(#Name, ::qfc::firstDispid + (n)Arguments),
#define QFC_SLOT_ENTRY(n, Result, Name, Arguments) QFC_SLOT(Iface, Self::Name),
#define QFC_NO_ARGUMENT(Kind, Name)
#define QFC_NO_OPTIONAL(Kind, Name, Default)

#define QFC_CLASS_DEFINITION(Class, IfaceType, Iid, PublishedName, LIST)                                               \
    namespace                                                                                                          \
    {                                                                                                                  \
    namespace qfc_table_##Class                                                                                        \
    {                                                                                                                  \
        using Self = Class;                                                                                            \
        using Iface = IfaceType;                                                                                       \
        const ::qfc::Operation dispatchTable[] = {LIST(QFC_DISPATCH_ENTRY, QFC_PARAM_REQUIRED, QFC_PARAM_OPTIONAL)};   \
        const IfaceType##Vtbl interfaceTable = {                                                                       \
            QFC_DISPATCH_SLOTS(Class), LIST(QFC_SLOT_ENTRY, QFC_NO_ARGUMENT, QFC_NO_OPTIONAL)};                        \
    }                                                                                                                  \
    }                                                                                                                  \
    Class::Class()                                                                                                     \
        : DispatchObject(&qfc_table_##Class::interfaceTable)                                                           \
    {                                                                                                                  \
    }                                                                                                                  \
    const IID &Class::interfaceId()                                                                                    \
    {                                                                                                                  \
        return Iid;                                                                                                    \
    }                                                                                                                  \
    const char *Class::interfaceName()                                                                                 \
    {                                                                                                                  \
        return PublishedName;                                                                                          \
    }                                                                                                                  \
    std::span<const ::qfc::Operation> Class::operations()                                                              \
    {                                                                                                                  \
        return qfc_table_##Class::dispatchTable;                                                                       \
    }
