// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// Registering the built library into a private registry store, and creating
// its classes by class identifier through the component runtime.
#include "lib/public/interfaces.h"
#include "platform/com/bstr.h"
#include "platform/com/guid.h"
#include "platform/com/runtime.h"
#include "platform/registry/registrystore.h"
#include "tests/lib/libraryfile.h"
#include "tests/support/isolation.h"
#include "tests/support/temptree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <string>
#include <sys/wait.h>
#include <tuple>
#include <vector>

namespace
{

using namespace mrb::platform;
using mrb::test::libraryFile;
using mrb::test::ScopedEnv;
using mrb::test::TempTree;

using Entry = std::tuple<std::string, std::string, std::string>; // key, value name, value

constexpr CLSID clsidAPIFuns = QFC_CLSID_APIFUNS_INIT;
constexpr IID iidAPIFuns = QFC_IID_APIFUNS_INIT;
constexpr CLSID clsidGenFuns = QFC_CLSID_GENFUNS_INIT;

void collect(const RegistryKey &key, const std::string &path, std::vector<Entry> &out)
{
    for (const auto &[name, value] : key.values())
        out.emplace_back(path, name, value.data);
    for (const std::string &child : key.subKeyNames())
        collect(*key.find(child), path.empty() ? child : path + "\\" + child, out);
}

std::vector<Entry> classesRootValues()
{
    const auto root = RegistryStore().load(RegistryRoot::ClassesRoot);
    EXPECT_TRUE(root.ok());
    std::vector<Entry> out;
    if (root)
        collect(*root, "", out);
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<std::string> classesRootKeys()
{
    const auto root = RegistryStore().load(RegistryRoot::ClassesRoot);
    std::vector<std::string> out;
    std::vector<std::pair<const RegistryKey *, std::string>> stack {{&*root, ""}};
    while (!stack.empty()) {
        auto [key, path] = stack.back();
        stack.pop_back();
        for (const std::string &child : key->subKeyNames()) {
            const std::string childPath = path.empty() ? child : path + "\\" + child;
            out.push_back(childPath);
            stack.emplace_back(key->find(child), childPath);
        }
    }
    std::sort(out.begin(), out.end());
    return out;
}

class Registration : public ::testing::Test
{
protected:
    TempTree tree;
    ScopedEnv registry {"QFC_REGISTRY_DIR", tree.path("registry")};
    const std::string library = libraryFile();
};

TEST_F(Registration, WritesExactlyTheClassAndTypeLibraryEntries)
{
    ASSERT_EQ(registerLibrary(library), S_OK);

    const std::string &lib = library;
    std::vector<Entry> expected = {
        {"CLSID\\{4D25CE52-8FCA-409A-B19A-2B1B2B3C16B5}\\InprocServer32", "", lib},
        {"CLSID\\{4D25CE52-8FCA-409A-B19A-2B1B2B3C16B5}\\InprocServer32", "ThreadingModel", "Apartment"},
        {"CLSID\\{4D25CE52-8FCA-409A-B19A-2B1B2B3C16B5}\\ProgID", "", "QFC_MRB.APIFuns"},
        {"CLSID\\{82C12EAA-540A-47C9-A0A0-BCD046E588CA}\\InprocServer32", "", lib},
        {"CLSID\\{82C12EAA-540A-47C9-A0A0-BCD046E588CA}\\InprocServer32", "ThreadingModel", "Apartment"},
        {"CLSID\\{82C12EAA-540A-47C9-A0A0-BCD046E588CA}\\ProgID", "", "QFC_MRB.GenFuns"},
        {"CLSID\\{E7EBD814-D705-4D9F-9451-0E317902DFF2}\\InprocServer32", "", lib},
        {"CLSID\\{E7EBD814-D705-4D9F-9451-0E317902DFF2}\\InprocServer32", "ThreadingModel", "Apartment"},
        {"CLSID\\{E7EBD814-D705-4D9F-9451-0E317902DFF2}\\ProgID", "", "QFC_MRB.Registry"},
        {"CLSID\\{FD29AA50-2559-47A2-AE8C-381250D543D9}\\InprocServer32", "", lib},
        {"CLSID\\{FD29AA50-2559-47A2-AE8C-381250D543D9}\\InprocServer32", "ThreadingModel", "Apartment"},
        {"CLSID\\{FD29AA50-2559-47A2-AE8C-381250D543D9}\\ProgID", "", "QFC_MRB.Base64"},
        {"CLSID\\{FD836FF0-47AA-4B09-B25A-2DCE1995BE0F}\\InprocServer32", "", lib},
        {"CLSID\\{FD836FF0-47AA-4B09-B25A-2DCE1995BE0F}\\InprocServer32", "ThreadingModel", "Apartment"},
        {"CLSID\\{FD836FF0-47AA-4B09-B25A-2DCE1995BE0F}\\ProgID", "", "QFC_MRB.TxtFile"},
        {"QFC_MRB.APIFuns\\CLSID", "", "{4D25CE52-8FCA-409A-B19A-2B1B2B3C16B5}"},
        {"QFC_MRB.Base64\\CLSID", "", "{FD29AA50-2559-47A2-AE8C-381250D543D9}"},
        {"QFC_MRB.GenFuns\\CLSID", "", "{82C12EAA-540A-47C9-A0A0-BCD046E588CA}"},
        {"QFC_MRB.Registry\\CLSID", "", "{E7EBD814-D705-4D9F-9451-0E317902DFF2}"},
        {"QFC_MRB.TxtFile\\CLSID", "", "{FD836FF0-47AA-4B09-B25A-2DCE1995BE0F}"},
        {"TypeLib\\{9505D27B-17A9-4F1B-AE6F-4972AF601C5A}\\1.0", "", "QARN Foundation Classes for Marrowby."},
        {"TypeLib\\{9505D27B-17A9-4F1B-AE6F-4972AF601C5A}\\1.0\\409\\linux64", "", lib},
    };
    std::sort(expected.begin(), expected.end());
    std::vector<Entry> classes;
    std::vector<Entry> codePages;
    for (const Entry &entry : classesRootValues())
        (std::get<0>(entry).starts_with("MIME\\") ? codePages : classes).push_back(entry);
    EXPECT_EQ(classes, expected);

    // The code-page table that GetCharsetList reads: one key per page, with
    // its charset and description.
    for (const Entry &page : std::vector<Entry> {
             {"MIME\\Database\\Codepage\\1200", "BodyCharset", "unicode"},
             {"MIME\\Database\\Codepage\\1252", "BodyCharset", "windows-1252"},
             {"MIME\\Database\\Codepage\\1252", "Description", "Western European (Windows)"},
             {"MIME\\Database\\Codepage\\65001", "BodyCharset", "utf-8"},
         })
        EXPECT_NE(std::find(codePages.begin(), codePages.end(), page), codePages.end()) << std::get<0>(page);
    for (const Entry &entry : codePages)
        EXPECT_TRUE(std::get<1>(entry) == "BodyCharset" || std::get<1>(entry) == "Description") << std::get<1>(entry);
}

TEST_F(Registration, RegisteringTwiceChangesNothing)
{
    ASSERT_EQ(registerLibrary(library), S_OK);
    const std::string first = TempTree::read(RegistryStore().fileOf(RegistryRoot::ClassesRoot));
    ASSERT_EQ(registerLibrary(library), S_OK);
    EXPECT_EQ(TempTree::read(RegistryStore().fileOf(RegistryRoot::ClassesRoot)), first);
}

TEST_F(Registration, UnregistrationRemovesExactlyThoseEntries)
{
    RegistryStore store;
    // Someone else's class, a file type, and a value of someone else's beside ours.
    ASSERT_TRUE(store.setValue(RegistryRoot::ClassesRoot,
        "CLSID\\{11111111-2222-3333-4444-555555555555}\\InprocServer32",
        "",
        RegValue::string("/opt/other/libother.so")));
    ASSERT_TRUE(store.setValue(RegistryRoot::ClassesRoot, ".m3u", "", RegValue::string("m3ufile")));
    ASSERT_TRUE(store.setValue(RegistryRoot::ClassesRoot,
        "CLSID\\{4D25CE52-8FCA-409A-B19A-2B1B2B3C16B5}\\InprocServer32",
        "Comment",
        RegValue::string("kept")));
    ASSERT_TRUE(store.setValue(RegistryRoot::CurrentUser, "Software\\Marrowby", "x", RegValue::dword(1)));
    const auto valuesBefore = classesRootValues();
    const auto keysBefore = classesRootKeys();
    const std::string userBefore = TempTree::read(store.fileOf(RegistryRoot::CurrentUser));

    ASSERT_EQ(registerLibrary(library), S_OK);
    EXPECT_GT(classesRootValues().size(), valuesBefore.size());
    ASSERT_EQ(unregisterLibrary(library), S_OK);

    EXPECT_EQ(classesRootValues(), valuesBefore);
    auto keysAfter = classesRootKeys();
    // The shared TypeLib key is created by registration and stays.
    keysAfter.erase(std::remove(keysAfter.begin(), keysAfter.end(), "TypeLib"), keysAfter.end());
    EXPECT_EQ(keysAfter, keysBefore);
    EXPECT_EQ(TempTree::read(store.fileOf(RegistryRoot::CurrentUser)), userBefore);
}

TEST_F(Registration, UnregisteringWhatWasNeverRegisteredSucceeds)
{
    EXPECT_EQ(unregisterLibrary(library), S_OK);
    EXPECT_TRUE(classesRootValues().empty());
}

TEST_F(Registration, RefusesToWriteOverAStoreItCannotRead)
{
    const std::string store = tree.fileWith("registry/HKEY_CLASSES_ROOT.reg", "this is not a registry file\n");
    std::string why;
    EXPECT_EQ(registerLibrary(library, &why), SELFREG_E_CLASS);
    EXPECT_EQ(TempTree::read(store), "this is not a registry file\n");
    // It used to say only "class registration failed (0x80040201)".
    EXPECT_NE(why.find(store + ": line 1: not a registry file"), std::string::npos) << why;

    // At creation, the class is missing because its store cannot be read: both are said.
    void *object = nullptr;
    EXPECT_EQ(createInstance(clsidAPIFuns, iidAPIFuns, &object, &why), REGDB_E_CLASSNOTREG);
    EXPECT_NE(why.find(store + ": line 1: not a registry file"), std::string::npos) << why;
}

// Runs mrb-register (beside the library) and gives its exit code.
int runTool(const std::string &library, const std::string &arguments)
{
    const std::string tool = library.substr(0, library.rfind('/')) + "/mrb-register";
    const int rc = std::system(("'" + tool + "' " + arguments + " >/dev/null 2>&1").c_str());
    return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

TEST_F(Registration, ToolRegistersAndUnregisters)
{
    EXPECT_EQ(runTool(library, "'" + library + "'"), 0);
    EXPECT_TRUE(findClass(clsidAPIFuns).has_value());
    EXPECT_EQ(runTool(library, "'" + library + "' --unregister"), 0);
    EXPECT_FALSE(findClass(clsidAPIFuns).has_value());

    EXPECT_EQ(runTool(library, "'" + tree.path("nothing.so") + "'"), 1);
    EXPECT_EQ(runTool(library, ""), 2);
    EXPECT_EQ(runTool(library, "--frobnicate"), 2);
}

class ClassCreation : public Registration
{
};

TEST_F(ClassCreation, FailsCleanlyBeforeRegistration)
{
    void *object = reinterpret_cast<void *>(1);
    std::string why;
    EXPECT_EQ(createInstance(clsidAPIFuns, iidAPIFuns, &object, &why), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(object, nullptr);
    EXPECT_NE(why.find("not registered"), std::string::npos) << why;
    EXPECT_FALSE(classIdFromProgId("QFC_MRB.APIFuns").has_value());
}

TEST_F(ClassCreation, WorksAfterRegistrationByIdAndByProgId)
{
    ASSERT_EQ(registerLibrary(library), S_OK);
    const auto entry = findClass(clsidAPIFuns);
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ(entry->threadingModel, "Apartment");
    EXPECT_EQ(entry->progId, "QFC_MRB.APIFuns");

    HRESULT status = E_FAIL;
    auto api = createInstance<QfcAPIFuns>(clsidAPIFuns, iidAPIFuns, &status);
    ASSERT_EQ(status, S_OK);
    ASSERT_TRUE(api);
    tree.fileWith("set.ini", "[Output]\r\nPath=/srv/out\r\n");
    Bstr file(tree.path("set.ini"));
    Bstr section("output");
    Bstr key("PATH");
    Bstr value;
    EXPECT_EQ(api->lpVtbl->ReadIni(api.get(), file.get(), section.get(), key.get(), value.out()), S_OK);
    EXPECT_EQ(value.utf8(), "/srv/out");

    const auto byProgId = classIdFromProgId("qfc_mrb.genfuns");
    ASSERT_TRUE(byProgId.has_value());
    EXPECT_EQ(*byProgId, clsidGenFuns);
}

TEST_F(ClassCreation, FailsAgainAfterUnregistration)
{
    ASSERT_EQ(registerLibrary(library), S_OK);
    ASSERT_EQ(unregisterLibrary(library), S_OK);
    HRESULT status = S_OK;
    EXPECT_FALSE(createInstance<QfcAPIFuns>(clsidAPIFuns, iidAPIFuns, &status));
    EXPECT_EQ(status, REGDB_E_CLASSNOTREG);
}

TEST_F(ClassCreation, ReportsAServerThatCannotBeLoadedOrIsNoComponent)
{
    RegistryStore store;
    const std::string key = "CLSID\\" + formatGuid(clsidAPIFuns) + "\\InprocServer32";

    store.setValue(RegistryRoot::ClassesRoot, key, "", RegValue::string(tree.path("gone/libQFC_MRB.so")));
    std::string why;
    void *object = nullptr;
    EXPECT_EQ(createInstance(clsidAPIFuns, iidAPIFuns, &object, &why), CO_E_DLLNOTFOUND);
    EXPECT_NE(why.find("cannot load"), std::string::npos) << why;

    store.setValue(RegistryRoot::ClassesRoot, key, "", RegValue::string(tree.fileWith("fake.so", "not a library")));
    EXPECT_EQ(createInstance(clsidAPIFuns, iidAPIFuns, &object, &why), CO_E_DLLNOTFOUND);

    // A real shared library without the component entry points.
    Dl_info info {};
    ASSERT_NE(::dladdr(reinterpret_cast<void *>(static_cast<double (*)(double)>(&std::cos)), &info), 0);
    store.setValue(RegistryRoot::ClassesRoot, key, "", RegValue::string(info.dli_fname));
    EXPECT_EQ(createInstance(clsidAPIFuns, iidAPIFuns, &object, &why), CO_E_ERRORINDLL);
    EXPECT_EQ(object, nullptr);
}

// Each used to hang or kill the process that loads the library: a FIFO held
// the loader's open for ever, and the first 100 kB of the library made the
// loader die of SIGBUS. Each is refused before the loader sees it.
TEST_F(ClassCreation, RefusesServerFilesTheLoaderCannotTakeWithTheReason)
{
    const std::string whole = TempTree::read(library);
    const struct {
        const char *name;
        std::string path;
        const char *reason;
    } cases[] = {
        {"cut short", tree.fileWith("short/libQFC_MRB.so", whole.substr(0, 100 * 1024)), "it is cut short"},
        {"fifo", tree.fifo("fifo/libQFC_MRB.so"), "it is not a regular file"},
        {"folder", tree.dir("folder/libQFC_MRB.so"), "it is a folder"},
        {"text", tree.fileWith("text/libQFC_MRB.so", "not a library"), "it is not a library (no ELF header)"},
    };
    const std::string key = "CLSID\\" + formatGuid(clsidAPIFuns) + "\\InprocServer32";
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(RegistryStore().setValue(RegistryRoot::ClassesRoot, key, "", RegValue::string(c.path)));
        const auto create = [&] {
            std::string why;
            void *object = nullptr;
            EXPECT_EQ(createInstance(clsidAPIFuns, iidAPIFuns, &object, &why), CO_E_DLLNOTFOUND);
            EXPECT_NE(why.find("cannot load " + c.path + ": " + c.reason), std::string::npos) << why;
            return ::testing::Test::HasFailure() ? 1 : 0;
        };
        EXPECT_EQ(mrb::test::runInChild(create, std::chrono::seconds(10)), 0);
    }
}

TEST_F(ClassCreation, AnInterfaceTheClassLacksIsRefused)
{
    ASSERT_EQ(registerLibrary(library), S_OK);
    constexpr IID iidGenFuns = QFC_IID_GENFUNS_INIT;
    void *object = reinterpret_cast<void *>(1);
    EXPECT_EQ(createInstance(clsidAPIFuns, iidGenFuns, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
}

} // namespace
