// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// The type library inside QFC_MRB.dll, read through the system's own type
// library loader, against the operation lists the library's slots and
// dispatch numbers come from: every name, dispatch number, slot and
// parameter as an early-bound client would import it.
#include "lib/frame/identities.h"
#include "lib/frame/operation.h"
#include "platform/com/bstr.h"
#include "platform/com/guid.h"
#include "platform/com/typeinfoabi.h"
#include "platform/com/typelibrary.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace
{

// One line of an operation list: its name, dispatch number, and a letter per
// parameter (r required, o optional) after a leading 'x'.
struct Listed {
    std::string name;
    DISPID dispid;
    std::string params;
    bool hasResult;
};

#define LISTED_REQUIRED(Kind, Name) , 'r'
#define LISTED_OPTIONAL(Kind, Name, Default) , 'o'
#define LISTED_OPERATION(n, Result, Name, Arguments)                                                                   \
    Listed {#Name, qfc::firstDispid + (n), std::string {'x' Arguments}.substr(1), std::string(#Result) != "NONE"},

struct Interface {
    const char *name;
    IID iid;
    std::vector<Listed> operations;
};

const Interface interfaces[] = {
    {"_GenFuns", qfc::IID_GenFuns, {QFC_GENFUNS_OPERATIONS(LISTED_OPERATION, LISTED_REQUIRED, LISTED_OPTIONAL)}},
    {"_APIFuns", qfc::IID_APIFuns, {QFC_APIFUNS_OPERATIONS(LISTED_OPERATION, LISTED_REQUIRED, LISTED_OPTIONAL)}},
    {"_TxtFile", qfc::IID_TxtFile, {QFC_TXTFILE_OPERATIONS(LISTED_OPERATION, LISTED_REQUIRED, LISTED_OPTIONAL)}},
    {"_Base64", qfc::IID_Base64, {QFC_BASE64_OPERATIONS(LISTED_OPERATION, LISTED_REQUIRED, LISTED_OPTIONAL)}},
    {"_Registry", qfc::IID_Registry, {QFC_REGISTRY_OPERATIONS(LISTED_OPERATION, LISTED_REQUIRED, LISTED_OPTIONAL)}},
};

// Holds one ITypeInfo reference.
struct TypeInfo {
    ITypeInfo *p = nullptr;
    ~TypeInfo()
    {
        if (p)
            p->lpVtbl->Release(p);
    }
    ITypeInfoVtbl const *operator->() const { return p->lpVtbl; }
};

std::string nameOf(ITypeInfo *info, MEMBERID memid)
{
    mrb::platform::Bstr name;
    info->lpVtbl->GetDocumentation(info, memid, name.out(), nullptr, nullptr, nullptr);
    return name.utf8();
}

class TypeLibrary : public ::testing::TestWithParam<Interface>
{
protected:
    void SetUp() override
    {
        const char *library = std::getenv("MRB_LIBRARY");
        ASSERT_NE(library, nullptr) << "MRB_LIBRARY names the built QFC_MRB.dll";
        dispatchView.p = static_cast<ITypeInfo *>(
            mrb::platform::typeInfoFromFile(library, mrb::platform::formatGuid(GetParam().iid)));
        ASSERT_NE(dispatchView.p, nullptr);
        // the dual interface's table of slots
        HREFTYPE ref = 0;
        ASSERT_EQ(dispatchView->GetRefTypeOfImplType(dispatchView.p, 0xFFFFFFFFu, &ref), S_OK);
        ASSERT_EQ(dispatchView->GetRefTypeInfo(dispatchView.p, ref, &slotView.p), S_OK);
    }

    TypeInfo dispatchView;
    TypeInfo slotView;
};

TEST_P(TypeLibrary, DescribesAHiddenDualInterfaceUnderItsName)
{
    TYPEATTR *attr = nullptr;
    ASSERT_EQ(dispatchView->GetTypeAttr(dispatchView.p, &attr), S_OK);
    EXPECT_EQ(attr->typekind, TKIND_DISPATCH);
    EXPECT_EQ(attr->wTypeFlags & (TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE),
        TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE);
    dispatchView->ReleaseTypeAttr(dispatchView.p, attr);
    EXPECT_EQ(nameOf(dispatchView.p, MEMBERID_NIL), GetParam().name);
}

TEST_P(TypeLibrary, GivesEveryOperationItsSlotDispatchNumberAndParameters)
{
    const std::vector<Listed> &listed = GetParam().operations;
    TYPEATTR *attr = nullptr;
    ASSERT_EQ(slotView->GetTypeAttr(slotView.p, &attr), S_OK);
    ASSERT_EQ(attr->cFuncs, listed.size());
    slotView->ReleaseTypeAttr(slotView.p, attr);
    for (std::size_t i = 0; i < listed.size(); ++i) {
        SCOPED_TRACE(listed[i].name);
        FUNCDESC *desc = nullptr;
        ASSERT_EQ(slotView->GetFuncDesc(slotView.p, static_cast<std::uint32_t>(i), &desc), S_OK);
        EXPECT_EQ(nameOf(slotView.p, desc->memid), listed[i].name);
        EXPECT_EQ(desc->memid, listed[i].dispid);
        // after the seven slots of IDispatch, one pointer each
        EXPECT_EQ(desc->oVft, static_cast<int>((7 + i) * sizeof(void *)));
        ASSERT_EQ(desc->cParams, static_cast<int>(listed[i].params.size() + (listed[i].hasResult ? 1 : 0)));
        for (std::size_t p = 0; p < listed[i].params.size(); ++p) {
            const std::uint16_t flags = desc->lprgelemdescParam[p].paramdesc.wParamFlags;
            EXPECT_EQ((flags & PARAMFLAG_FOPT) != 0, listed[i].params[p] == 'o') << "parameter " << p;
        }
        if (listed[i].hasResult) {
            EXPECT_NE(desc->lprgelemdescParam[listed[i].params.size()].paramdesc.wParamFlags & PARAMFLAG_FRETVAL, 0);
        }
        slotView->ReleaseFuncDesc(slotView.p, desc);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Library, TypeLibrary, ::testing::ValuesIn(interfaces), [](const ::testing::TestParamInfo<Interface> &row) {
        return std::string(row.param.name).substr(1);
    });

} // namespace
