// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// The open, save, colour and folder dialogs of APIFuns on Windows, answered
// by a person of the tests on another thread: what each operation returns
// for OK and for Cancel.
#include "platform/com/bstr.h"
#include "platform/com/variant.h"
#include "tests/windows/earlybound.h"
#include "tests/windows/win32dialogs.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace
{

using mrb::platform::Bstr;
using win32client::DialogInput;

enum class Operation { Save, OpenOne, OpenSeveral, Colour, Folder };

struct DialogCase {
    const char *name;
    Operation operation;
    DialogInput::Kind kind;
    const char *text; // "{dir}" stands for the test's folder
    std::uint32_t colour;
    bool ok;
    std::vector<std::string> expected;
};

void PrintTo(const DialogCase &c, std::ostream *out)
{
    *out << c.name;
}

std::string withFolder(std::string text, const std::string &folder)
{
    for (auto at = text.find("{dir}"); at != std::string::npos; at = text.find("{dir}"))
        text.replace(at, 5, folder);
    return text;
}

class Dialogs : public win32client::EarlyBound, public ::testing::WithParamInterface<DialogCase>
{
protected:
    void SetUp() override
    {
        EarlyBound::SetUp();
        m_start = std::filesystem::current_path();
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        m_folder = std::filesystem::temp_directory_path() / ("mrb-dialogs-" + std::to_string(stamp));
        std::filesystem::create_directory(m_folder);
        for (const char *name : {"a.txt", "b.txt", "c.txt"})
            std::ofstream(m_folder / name) << name;
    }
    void TearDown() override
    {
        // The file dialogs make the folder chosen the process's current one.
        std::filesystem::current_path(m_start);
        std::filesystem::remove_all(m_folder);
    }

    std::string folder() const { return m_folder.string(); }

    // The operation's answer as text: names, or the colour's number.
    std::vector<std::string> call(QfcAPIFuns *api, Operation operation)
    {
        const Bstr filter(std::string("Playlists\0*.m3u\0Text\0*.txt", 26));
        Bstr dir(folder());
        Bstr text;
        switch (operation) {
        case Operation::Save:
            EXPECT_EQ(api->lpVtbl->GetFileSaveName(api,
                          0,
                          Bstr("Save the list").get(),
                          Bstr("").get(),
                          filter.get(),
                          dir.get(),
                          Bstr("m3u").get(),
                          text.out()),
                S_OK);
            return {text.utf8()};
        case Operation::OpenOne:
        case Operation::OpenSeveral: {
            BSTR dirArg = dir.get();
            VARIANT_BOOL several = operation == Operation::OpenSeveral ? VARIANT_TRUE : VARIANT_FALSE;
            mrb::platform::SafeArrayPtr names;
            EXPECT_EQ(
                api->lpVtbl->GetFilesOpenName(api, 0, Bstr("Open").get(), filter.get(), &dirArg, &several, names.out()),
                S_OK);
            return mrb::platform::stringsOf(names.get());
        }
        case Operation::Colour: {
            std::int32_t colour = 0;
            EXPECT_EQ(api->lpVtbl->SelectColor(api, 0, &colour), S_OK);
            return {std::to_string(colour)};
        }
        case Operation::Folder:
            EXPECT_EQ(
                api->lpVtbl->ChooseFolder(api, 0, Bstr("Please choose an output folder.").get(), text.out()), S_OK);
            return {text.utf8()};
        }
        return {};
    }

private:
    std::filesystem::path m_start;
    std::filesystem::path m_folder;
};

TEST_P(Dialogs, ReturnWhatThePersonChose)
{
    const DialogCase &c = GetParam();
    mrb::platform::ComPtr<QfcAPIFuns> api = makeApiFuns();
    ASSERT_TRUE(api);
    const DialogInput input {c.kind, withFolder(c.text, folder()), c.colour, c.ok};
    std::vector<std::string> answer;
    {
        win32client::DialogPerson person(input);
        answer = call(api.get(), c.operation);
        EXPECT_TRUE(person.answered()) << "no dialog came, or it stayed open";
    }
    std::vector<std::string> expected;
    for (const std::string &e : c.expected)
        expected.push_back(withFolder(e, folder()));
    EXPECT_EQ(answer, expected);
}

std::string caseName(const ::testing::TestParamInfo<DialogCase> &c)
{
    return c.param.name;
}

constexpr auto fileName = DialogInput::FileName;

INSTANTIATE_TEST_SUITE_P(Windows,
    Dialogs,
    ::testing::Values(
        DialogCase {"SaveAddsTheDefaultExtension", Operation::Save, fileName, "list", 0, true, {"{dir}\\list.m3u"}},
        DialogCase {"SaveCancelled", Operation::Save, fileName, "", 0, false, {""}},
        DialogCase {"OpenOneFile", Operation::OpenOne, fileName, "b.txt", 0, true, {"{dir}\\b.txt"}},
        DialogCase {"OpenThreeFiles",
            Operation::OpenSeveral,
            fileName,
            "\"a.txt\" \"b.txt\" \"c.txt\"",
            0,
            true,
            {"{dir}", "a.txt", "b.txt", "c.txt"}},
        DialogCase {"OpenCancelled", Operation::OpenOne, fileName, "", 0, false, {}},
        DialogCase {"ColourChosen", Operation::Colour, DialogInput::Colour, "", 0x00030201, true, {"197121"}},
        DialogCase {"ColourCancelled", Operation::Colour, DialogInput::Colour, "", 0, false, {"-1"}},
        DialogCase {"FolderChosen", Operation::Folder, DialogInput::Folder, "{dir}", 0, true, {"{dir}"}},
        DialogCase {"FolderCancelled", Operation::Folder, DialogInput::Folder, "", 0, false, {""}}),
    caseName);

} // namespace
