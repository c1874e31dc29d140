// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// Prints the IDL of the library's type library, made from the operation lists
// of interfaces.h, so the compiled type library cannot drift from the slots and
// dispatch numbers the library itself answers with. The Windows build compiles
// this with the build machine's own compiler and its output with widl.
#include "lib/frame/identities.h"
#include "lib/public/interfaces.h"
#include "platform/com/guid.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

namespace
{

struct Parameter {
    const char *kind;
    const char *name;
    bool optional;
    const char *defaultValue;
};

struct Method {
    unsigned offset; // the dispatch number less 0x60030000
    const char *result;
    const char *name;
    std::vector<Parameter> parameters;
};

// The lists spell an argument as ", Parameter{...}": the first, empty, entry
// only takes the leading comma.
#define IDL_ARGUMENT(Kind, Name)                                                                                       \
    , Parameter                                                                                                        \
    {                                                                                                                  \
#Kind, #Name, false, nullptr                                                                                   \
    }
#define IDL_OPTIONAL(Kind, Name, Default)                                                                              \
    , Parameter                                                                                                        \
    {                                                                                                                  \
#Kind, #Name, true, #Default                                                                                   \
    }
#define IDL_METHOD(n, Result, Name, Arguments) Method {n, #Result, #Name, {Parameter {} Arguments}},

std::string guidText(const GUID &id)
{
    const std::string braced = mrb::platform::formatGuid(id);
    return braced.substr(1, braced.size() - 2);
}

// The IDL type of each kind of argument and result of the lists.
struct KindType {
    const char *kind;
    const char *type;
};
constexpr KindType argumentTypes[] = {{"STR", "BSTR"},
    {"I16", "short"},
    {"I32", "long"},
    {"BOOL", "VARIANT_BOOL"},
    {"VARIANT", "VARIANT"},
    {"STR_REF", "BSTR*"},
    {"I32_REF", "long*"},
    {"BOOL_REF", "VARIANT_BOOL*"},
    {"OBJECT_REF", "IDispatch**"},
    {"ARRAY_REF", "SAFEARRAY(VARIANT)*"}};
constexpr KindType resultTypes[] = {{"STR", "BSTR*"},
    {"BSTR", "BSTR*"},
    {"I16", "short*"},
    {"I32", "long*"},
    {"BOOL", "VARIANT_BOOL*"},
    {"STR_ARRAY", "SAFEARRAY(BSTR)*"}};

template <std::size_t N> std::string typeFor(const KindType (&table)[N], const std::string &kind)
{
    for (const KindType &entry : table) {
        if (kind == entry.kind)
            return entry.type;
    }
    std::fprintf(stderr, "typelibrarysource: no IDL type for the kind %s\n", kind.c_str());
    std::exit(1);
}

// Registry roots and value types travel as the library's enumerations.
std::string typeOf(const Parameter &p)
{
    const std::string name = p.name;
    if (std::string(p.kind) == "I32_REF" && (name == "KeyRoot" || name == "KeyType"))
        return "enum " + name + "*";
    return typeFor(argumentTypes, p.kind);
}

struct EnumValue {
    const char *name;
    std::int32_t value;
};

void printEnum(const char *name, const GUID &id, std::initializer_list<EnumValue> values)
{
    std::printf("    [uuid(%s), version(1.0)] enum %s {\n", guidText(id).c_str(), name);
    const char *separator = "";
    for (const EnumValue &v : values) {
        std::printf("%s        %s = 0x%08X", separator, v.name, static_cast<std::uint32_t>(v.value));
        separator = ",\n";
    }
    std::printf("\n    };\n\n");
}

void printInterface(const char *name, const GUID &iid, const std::vector<Method> &methods)
{
    std::printf(
        "    [odl, uuid(%s), version(1.0), hidden, dual, nonextensible, oleautomation]\n", guidText(iid).c_str());
    std::printf("    interface %s : IDispatch {\n", name);
    for (const Method &m : methods) {
        char id[16];
        std::snprintf(id, sizeof id, "%08X", 0x60030000u + m.offset);
        std::string line = std::string("        [id(0x") + id + ")] HRESULT " + m.name + "(";
        std::vector<std::string> parts;
        for (std::size_t i = 1; i < m.parameters.size(); ++i) {
            const Parameter &p = m.parameters[i];
            const std::string type = typeOf(p);
            std::string attributes = type.back() == '*' ? "[in, out" : "[in";
            // widl takes no text default for a string passed by reference: left
            // out, it is the empty string all the same.
            if (p.optional && type == "BSTR*" && std::string(p.defaultValue) == "\"\"")
                attributes += ", optional";
            else if (p.optional)
                attributes += std::string(", optional, defaultvalue(") + p.defaultValue + ")";
            parts.push_back(attributes + "] " + type + " " + p.name);
        }
        if (std::string(m.result) != "NONE")
            parts.push_back("[out, retval] " + typeFor(resultTypes, m.result) + " Result");
        for (std::size_t i = 0; i < parts.size(); ++i)
            line += (i ? ", " : "") + parts[i];
        std::printf("%s);\n", line.c_str());
    }
    std::printf("    };\n\n");
}

void printClass(const char *name, const GUID &clsid, const char *iface)
{
    std::printf("    [uuid(%s), version(1.0)]\n    coclass %s {\n        [default] interface %s;\n    };\n\n",
        guidText(clsid).c_str(),
        name,
        iface);
}

} // namespace

int main()
{
    using namespace qfc;
    const std::vector<Method> genFuns = {QFC_GENFUNS_OPERATIONS(IDL_METHOD, IDL_ARGUMENT, IDL_OPTIONAL)};
    const std::vector<Method> apiFuns = {QFC_APIFUNS_OPERATIONS(IDL_METHOD, IDL_ARGUMENT, IDL_OPTIONAL)};
    const std::vector<Method> txtFile = {QFC_TXTFILE_OPERATIONS(IDL_METHOD, IDL_ARGUMENT, IDL_OPTIONAL)};
    const std::vector<Method> base64 = {QFC_BASE64_OPERATIONS(IDL_METHOD, IDL_ARGUMENT, IDL_OPTIONAL)};
    const std::vector<Method> registry = {QFC_REGISTRY_OPERATIONS(IDL_METHOD, IDL_ARGUMENT, IDL_OPTIONAL)};
    const GUID keyRoot = QFC_ENUM_KEYROOT_INIT;
    const GUID keyType = QFC_ENUM_KEYTYPE_INIT;

    std::printf("// Made by the build from lib/public/interfaces.h; do not edit.\n");
    std::printf("import \"automation.idl\";\n\n");
    std::printf("[uuid(%s), version(%s), lcid(0x%x), helpstring(\"%s\")]\n",
        guidText(LIBID_QFC_MRB).c_str(),
        libraryVersion,
        static_cast<unsigned>(libraryLocale),
        libraryDescription);
    std::printf("library %s\n{\n    importlib(\"stdole2.tlb\");\n\n", libraryName);
    std::printf("    interface _GenFuns;\n    interface _APIFuns;\n    interface _TxtFile;\n");
    std::printf("    interface _Base64;\n    interface _Registry;\n\n");
    printEnum("KeyRoot",
        keyRoot,
        {{"HKEY_CLASSES_ROOT", QFC_HKEY_CLASSES_ROOT},
            {"HKEY_CURRENT_CONFIG", QFC_HKEY_CURRENT_CONFIG},
            {"HKEY_CURRENT_USER", QFC_HKEY_CURRENT_USER},
            {"HKEY_LOCAL_MACHINE", QFC_HKEY_LOCAL_MACHINE},
            {"HKEY_USERS", QFC_HKEY_USERS}});
    printEnum("KeyType",
        keyType,
        {{"REG_BINARY", QFC_REG_BINARY},
            {"REG_EXPAND_SZ", QFC_REG_EXPAND_SZ},
            {"REG_DWORD", QFC_REG_DWORD},
            {"REG_SZ", QFC_REG_SZ}});
    printInterface("_GenFuns", IID_GenFuns, genFuns);
    printInterface("_APIFuns", IID_APIFuns, apiFuns);
    printInterface("_TxtFile", IID_TxtFile, txtFile);
    printInterface("_Base64", IID_Base64, base64);
    printInterface("_Registry", IID_Registry, registry);
    printClass("GenFuns", CLSID_GenFuns, "_GenFuns");
    printClass("APIFuns", CLSID_APIFuns, "_APIFuns");
    printClass("TxtFile", CLSID_TxtFile, "_TxtFile");
    printClass("Base64", CLSID_Base64, "_Base64");
    printClass("Registry", CLSID_Registry, "_Registry");
    std::printf("};\n");
    return 0;
}
