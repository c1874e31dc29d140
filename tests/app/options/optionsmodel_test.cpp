// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/library/localapifuns.h"
#include "app/library/localgenfuns.h"
#include "app/options/optionsmodel.h"
#include "app/settings/settingsstore.h"
#include "platform/fs/posixfilesystem.h"
#include "tests/support/fakelibrary.h"
#include "tests/support/temptree.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

using mrb::core::OkOutcome;
using mrb::core::OptionsModel;
using mrb::core::Setting;
using mrb::test::TempTree;
using M = OptionsModel;

namespace
{

// Keys in the order a file made by the program holds them.
const std::vector<std::pair<std::string, std::string>> fileOrder = {
    {"Common", "Path"},
    {"Common", "Size"},
    {"Common", "Unit"},
    {"Common", "Precision"},
    {"Common", "Type"},
    {"Common", "Modified"},
    {"Common", "Created"},
    {"Common", "Accessed"},
    {"Common", "Sub"},
    {"Common", "Item"},
    {"Output", "FileType"},
    {"Output", "Separator"},
    {"Output", "Repeat"},
    {"Output", "Standard"},
    {"Output", "Path"},
    {"Output", "Header"},
    {"Output", "Delete"},
    {"System", "Dialog"},
};

class OptionsDialog : public ::testing::Test
{
protected:
    OptionsDialog()
        : store(api, gen, fs, tree.root())
        , model(
              store, api, fs, [this] { ++displayApplied; }, [this] { ++regionSettingsOpened; })
    {
        tree.dir("output");
    }

    std::string outputFolder() const { return tree.path("output"); }

    // The text of a complete settings file: the defaults, with the given
    // "Section.Key" values instead. "-" leaves a key out.
    std::string settingsText(const std::map<std::string, std::string> &changes = {}) const
    {
        std::string text;
        std::string section;
        for (const auto &[sec, key] : fileOrder) {
            const std::string name = sec + "." + key;
            std::string value =
                name == "Output.Path" ? outputFolder() : mrb::core::keyOf(*mrb::core::settingByName(name)).defaultText;
            if (auto it = changes.find(name); it != changes.end())
                value = it->second;
            if (value == "-")
                continue;
            if (sec != section) {
                text += "[" + sec + "]\r\n";
                section = sec;
            }
            text += key + "=" + value + "\r\n";
        }
        return text;
    }

    // Puts a settings file in place, loads it and opens the dialog.
    void openWith(const std::map<std::string, std::string> &changes = {})
    {
        tree.fileWith("options.dll", settingsText(changes));
        store.loadSettings();
        model.open();
    }

    std::string fileText() const { return TempTree::read(tree.path("options.dll")); }

    // Which of the given controls are enabled, as a string of 0 and 1.
    std::string enabledBoxes(std::initializer_list<int> boxes) const
    {
        std::string s;
        for (int b : boxes)
            s += model.isCheckBoxEnabled(b) ? '1' : '0';
        return s;
    }
    std::string outputFormatEnabled() const
    {
        // separator, repeat, standard mode, headers
        return std::string() + (model.isSeparatorEnabled() ? '1' : '0')
            + (model.isTextEnabled(M::RepeatText) ? '1' : '0') + enabledBoxes({M::StandardBox, M::HeaderBox});
    }
    std::string itemKindEnabled() const
    {
        std::string s;
        for (int opt : {M::FilesOption, M::FoldersOption, M::FilesAndFoldersOption})
            s += model.isOptionEnabled(opt) ? '1' : '0';
        for (int lbl : {10, 11})
            s += model.isLabelEnabled(lbl) ? '1' : '0';
        return s;
    }
    std::string selectedOptions() const
    {
        std::string s;
        for (int opt = 0; opt < M::optionCount; ++opt) {
            if (model.isSelected(opt))
                s += std::to_string(opt);
        }
        return s;
    }

    TempTree tree;
    mrb::test::FakeApiFuns api;
    mrb::core::LocalGenFuns gen;
    mrb::platform::PosixFileSystem fs;
    mrb::core::SettingsStore store;
    int displayApplied = 0;
    int regionSettingsOpened = 0;
    OptionsModel model;
};

} // namespace

// ---- loading -------------------------------------------------------------

TEST_F(OptionsDialog, DefaultsOpenAsStored)
{
    openWith();
    EXPECT_TRUE(model.isOpen());
    EXPECT_EQ(selectedOptions(), "047");
    for (int cbx :
        {M::StandardBox, M::NameBox, M::PathBox, M::SizeBox, M::TypeBox, M::ModifiedBox, M::CreatedBox, M::AccessedBox})
        EXPECT_TRUE(model.isChecked(cbx)) << cbx;
    for (int cbx : {M::HeaderBox, M::DeleteBox, M::SubBox, M::DialogBox})
        EXPECT_FALSE(model.isChecked(cbx)) << cbx;
    EXPECT_EQ(model.separatorText(), "{Tab}");
    EXPECT_EQ(model.text(M::RepeatText), "0");
    EXPECT_EQ(model.text(M::PathText), outputFolder());
    EXPECT_EQ(model.text(M::PrecisionText), "2");

    // Playlist output has no format to choose, and without Sub no item kind.
    EXPECT_EQ(outputFormatEnabled(), "0000");
    EXPECT_EQ(itemKindEnabled(), "00000");
    EXPECT_FALSE(model.isCheckBoxEnabled(M::NameBox));
    EXPECT_EQ(enabledBoxes({M::DeleteBox,
                  M::SubBox,
                  M::PathBox,
                  M::SizeBox,
                  M::TypeBox,
                  M::ModifiedBox,
                  M::CreatedBox,
                  M::AccessedBox,
                  M::DialogBox}),
        "111111111");
    EXPECT_TRUE(model.isTextEnabled(M::PathText));
    EXPECT_TRUE(model.isTextEnabled(M::PrecisionText));
    for (int opt = M::PlaylistOption; opt <= M::GbOption; ++opt)
        EXPECT_TRUE(model.isOptionEnabled(opt)) << opt;
}

TEST_F(OptionsDialog, UnknownGroupValuesLeaveTheInitialSelection)
{
    openWith({{"Output.FileType", "Custom"}, {"Common.Unit", "TB"}, {"Common.Item", "files"}});
    // file type stays on Playlist, no unit, item kind on files && folders
    EXPECT_EQ(selectedOptions(), "09");
    EXPECT_EQ(outputFormatEnabled(), "0000");
}

TEST_F(OptionsDialog, SwitchesAreOnOnlyForExactTrue)
{
    openWith({{"Common.Size", "true"}, {"Common.Type", "TRUE"}, {"Common.Sub", "1"}, {"System.Dialog", "-"}});
    EXPECT_FALSE(model.isChecked(M::SizeBox));
    EXPECT_FALSE(model.isChecked(M::TypeBox));
    EXPECT_FALSE(model.isChecked(M::SubBox));
    EXPECT_FALSE(model.isChecked(M::DialogBox));
    EXPECT_EQ(itemKindEnabled(), "00000");
}

TEST_F(OptionsDialog, StoredDeleteTicksPathEvenWhenPathIsOff)
{
    openWith({{"Output.Delete", "True"}, {"Common.Path", "False"}});
    EXPECT_TRUE(model.isChecked(M::DeleteBox));
    EXPECT_TRUE(model.isChecked(M::PathBox));
}

TEST_F(OptionsDialog, EnabledStatesFollowFileTypeAndStandardMode)
{
    struct Row {
        const char *name;
        const char *fileType;
        const char *standard;
        const char *selected;
        const char *enabled; // separator, repeat, standard mode, headers
    };
    const Row rows[] = {
        {"playlist-standard", "Playlist", "True", "0", "0000"},
        {"playlist-custom-fields", "Playlist", "False", "0", "0000"},
        {"pbr-standard", "PBR", "True", "1", "0000"},
        {"pbr-custom-fields", "PBR", "False", "1", "0000"},
        {"customize-standard", "Customize", "True", "2", "0010"},
        {"customize-custom-fields", "Customize", "False", "2", "1111"},
        {"unknown-custom-fields", "", "False", "0", "0000"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        openWith({{"Output.FileType", row.fileType}, {"Output.Standard", row.standard}});
        EXPECT_EQ(selectedOptions().substr(0, 1), row.selected);
        EXPECT_EQ(outputFormatEnabled(), row.enabled);
    }
}

TEST_F(OptionsDialog, SubEnablesTheItemKinds)
{
    openWith({{"Common.Sub", "True"}, {"Common.Item", "Folders"}});
    EXPECT_EQ(itemKindEnabled(), "11111");
    EXPECT_TRUE(model.isSelected(M::FoldersOption));
}

TEST_F(OptionsDialog, StoredTextsAreShownAsTheyAre)
{
    // Only typing is limited to one digit; stored texts are not cut.
    openWith(
        {{"Common.Precision", "12"}, {"Output.Repeat", "x"}, {"Output.Separator", "--"}, {"Output.Path", "/no/such/"}});
    EXPECT_EQ(model.text(M::PrecisionText), "12");
    EXPECT_EQ(model.text(M::RepeatText), "x");
    EXPECT_EQ(model.separatorText(), "--");
    EXPECT_EQ(model.text(M::PathText), "/no/such/");
}

TEST_F(OptionsDialog, EveryOpeningStartsAfreshFromTheRecord)
{
    openWith({{"Common.Unit", "TB"}, {"Output.FileType", "Customize"}, {"Output.Standard", "False"}});
    model.selectOption(M::MbOption);
    model.selectOption(M::PbrOption);
    model.clickCheckBox(M::SizeBox);
    model.setText(M::PrecisionText, "");
    model.close();
    EXPECT_FALSE(model.isOpen());

    model.open();
    EXPECT_EQ(selectedOptions(), "27");
    EXPECT_TRUE(model.isChecked(M::SizeBox));
    EXPECT_EQ(model.text(M::PrecisionText), "2");
    EXPECT_EQ(outputFormatEnabled(), "1111");
}

// ---- dependency rules ----------------------------------------------------

TEST_F(OptionsDialog, PathCannotBeClearedWhileDeleteIsTicked)
{
    openWith();
    ASSERT_TRUE(model.clickCheckBox(M::DeleteBox));
    EXPECT_TRUE(model.isChecked(M::PathBox));

    EXPECT_TRUE(model.clickCheckBox(M::PathBox));
    EXPECT_TRUE(model.isChecked(M::PathBox));

    model.clickCheckBox(M::DeleteBox);
    model.clickCheckBox(M::PathBox);
    EXPECT_FALSE(model.isChecked(M::PathBox));

    // ticking Delete ticks a cleared Path
    model.clickCheckBox(M::DeleteBox);
    EXPECT_TRUE(model.isChecked(M::PathBox));
}

TEST_F(OptionsDialog, FileTypeAndStandardModeClicks)
{
    openWith();
    EXPECT_FALSE(model.clickCheckBox(M::StandardBox)); // disabled under Playlist

    model.selectOption(M::CustomizeOption);
    EXPECT_EQ(outputFormatEnabled(), "0010");
    model.clickCheckBox(M::StandardBox);
    EXPECT_EQ(outputFormatEnabled(), "1111");

    model.selectOption(M::PbrOption);
    EXPECT_EQ(outputFormatEnabled(), "0000");
    EXPECT_FALSE(model.isChecked(M::StandardBox)); // values stay, only states change

    model.selectOption(M::CustomizeOption);
    EXPECT_EQ(outputFormatEnabled(), "1111");
    model.clickCheckBox(M::StandardBox);
    EXPECT_EQ(outputFormatEnabled(), "0010");
}

TEST_F(OptionsDialog, SubClicksSwitchTheItemKinds)
{
    openWith();
    EXPECT_FALSE(model.selectOption(M::FoldersOption));
    model.clickCheckBox(M::SubBox);
    EXPECT_EQ(itemKindEnabled(), "11111");
    EXPECT_TRUE(model.selectOption(M::FoldersOption));
    model.clickCheckBox(M::SubBox);
    EXPECT_EQ(itemKindEnabled(), "00000");
    EXPECT_TRUE(model.isSelected(M::FoldersOption));
}

TEST_F(OptionsDialog, GroupsAreIndependentAndExclusive)
{
    openWith();
    model.selectOption(M::GbOption);
    EXPECT_EQ(selectedOptions(), "067");
    model.selectOption(M::BytesOption);
    model.selectOption(M::PbrOption);
    EXPECT_EQ(selectedOptions(), "137");
}

TEST_F(OptionsDialog, ControlsThatDoNotExist)
{
    openWith();
    EXPECT_FALSE(model.clickCheckBox(M::NameBox));
    EXPECT_TRUE(model.isChecked(M::NameBox));
    for (int bad : {-1, 4, 13}) {
        EXPECT_FALSE(model.isChecked(bad));
        EXPECT_FALSE(model.clickCheckBox(bad));
    }
    EXPECT_FALSE(model.selectOption(10));
    EXPECT_FALSE(model.setText(2, "x"));
    EXPECT_EQ(model.text(2), "");
    EXPECT_FALSE(model.isLabelEnabled(12));
}

// ---- key filter ------------------------------------------------------------

TEST_F(OptionsDialog, DigitBoxesTakeOneDigitOrBackspace)
{
    for (int txt : {M::RepeatText, M::PrecisionText}) {
        SCOPED_TRACE(txt);
        for (char32_t key : {U'0', U'5', U'9', M::backspace})
            EXPECT_TRUE(M::acceptsKey(txt, key));
        for (char32_t key :
            {U'a', U'-', U'+', U'.', U' ', U'\r', char32_t(0x16) /* Ctrl+V */, U'\u0663' /* Arabic-Indic 3 */})
            EXPECT_FALSE(M::acceptsKey(txt, key));
    }
    EXPECT_TRUE(M::acceptsKey(M::PathText, U'a'));
    EXPECT_TRUE(M::acceptsKey(M::PathText, U'/'));

    openWith({{"Output.FileType", "Customize"}, {"Output.Standard", "False"}, {"Common.Precision", ""}});
    EXPECT_FALSE(model.typeCharacter(M::PrecisionText, U'x'));
    EXPECT_TRUE(model.typeCharacter(M::PrecisionText, U'7'));
    EXPECT_FALSE(model.typeCharacter(M::PrecisionText, U'8'));
    EXPECT_EQ(model.text(M::PrecisionText), "7");
    EXPECT_TRUE(model.typeCharacter(M::PrecisionText, M::backspace));
    EXPECT_EQ(model.text(M::PrecisionText), "");
    EXPECT_FALSE(model.typeCharacter(M::PrecisionText, M::backspace));

    EXPECT_TRUE(model.typeCharacter(M::RepeatText, M::backspace));
    EXPECT_TRUE(model.typeCharacter(M::RepeatText, U'3'));
    EXPECT_EQ(model.text(M::RepeatText), "3");
    EXPECT_FALSE(model.typeCharacter(M::PathText, U'a')); // edited as a whole through setText
}

TEST_F(OptionsDialog, WholeTextsOfDigitBoxesAreCheckedToo)
{
    openWith({{"Output.FileType", "Customize"}, {"Output.Standard", "False"}, {"Common.Precision", "é"}});
    EXPECT_TRUE(model.typeCharacter(M::PrecisionText, M::backspace));
    EXPECT_EQ(model.text(M::PrecisionText), "");

    for (const char *refused : {"12", "a", " ", "-1", "\xd9\xa3"})
        EXPECT_FALSE(model.setText(M::RepeatText, refused)) << refused;
    EXPECT_EQ(model.text(M::RepeatText), "0");
    EXPECT_TRUE(model.setText(M::RepeatText, "9"));
    EXPECT_TRUE(model.setText(M::RepeatText, ""));
    EXPECT_TRUE(model.setText(M::PathText, "any text at all"));

    model.clickCheckBox(M::StandardBox); // standard mode disables the repeat box and the separator
    EXPECT_FALSE(model.setSeparatorText("|"));
    EXPECT_FALSE(model.setText(M::RepeatText, "1"));
    EXPECT_FALSE(model.typeCharacter(M::RepeatText, U'1'));
    EXPECT_EQ(model.text(M::RepeatText), "");
}

// ---- OK --------------------------------------------------------------------

TEST_F(OptionsDialog, OkWritesEveryControlAndReloads)
{
    openWith();
    model.selectOption(M::CustomizeOption);
    model.clickCheckBox(M::StandardBox);
    model.setSeparatorText(";");
    model.setText(M::RepeatText, "3");
    model.clickCheckBox(M::HeaderBox);
    model.clickCheckBox(M::DeleteBox);
    const std::string other = tree.dir("elsewhere") + "/";
    model.setText(M::PathText, other);
    model.selectOption(M::MbOption);
    model.setText(M::PrecisionText, "");
    model.clickCheckBox(M::SizeBox);
    model.clickCheckBox(M::TypeBox);
    model.clickCheckBox(M::CreatedBox);
    model.clickCheckBox(M::ModifiedBox);
    model.clickCheckBox(M::AccessedBox);
    model.clickCheckBox(M::SubBox);
    model.selectOption(M::FoldersOption);
    model.clickCheckBox(M::DialogBox);

    const mrb::core::OkResult result = model.ok();
    EXPECT_EQ(result.outcome, OkOutcome::Closed);
    EXPECT_FALSE(model.isOpen());
    EXPECT_EQ(fileText(),
        settingsText({{"Output.FileType", "Customize"},
            {"Output.Separator", ";"},
            {"Output.Repeat", "3"},
            {"Output.Standard", "False"},
            {"Output.Header", "True"},
            {"Output.Delete", "True"},
            {"Output.Path", other},
            {"Common.Unit", "MB"},
            {"Common.Precision", "0"},
            {"Common.Size", "False"},
            {"Common.Type", "False"},
            {"Common.Created", "False"},
            {"Common.Modified", "False"},
            {"Common.Accessed", "False"},
            {"Common.Sub", "True"},
            {"Common.Item", "Folders"},
            {"System.Dialog", "True"}}));
    EXPECT_EQ(store.record().value(Setting::CommonUnit), "MB");
    EXPECT_EQ(store.record().value(Setting::OutputPath), other);
    EXPECT_EQ(displayApplied, 1);
}

TEST_F(OptionsDialog, OkWritesTheKeysInTheirOrder)
{
    // Into a file that lacks them, each key is added where its write puts it.
    tree.fileWith("options.dll", "[Common]\r\nPath=True\r\n");
    store.loadSettings();
    model.open();
    model.setText(M::PathText, outputFolder());
    ASSERT_EQ(model.ok().outcome, OkOutcome::Closed);
    EXPECT_EQ(fileText(),
        "[Common]\r\nPath=True\r\nUnit=GB\r\nPrecision=0\r\nSize=False\r\nType=False\r\nCreated=False\r\n"
        "Modified=False\r\nAccessed=False\r\nSub=False\r\nItem=FF\r\n"
        "[Output]\r\nFileType=Playlist\r\nSeparator=\r\nRepeat=\r\nStandard=False\r\nHeader=False\r\n"
        "Delete=False\r\nPath="
            + outputFolder() + "\r\n[System]\r\nDialog=False\r\n");
}

TEST_F(OptionsDialog, UnknownGroupValuesAreWrittenAsTheirFallBacks)
{
    openWith({{"Output.FileType", "Custom"}, {"Common.Unit", "TB"}, {"Common.Item", "files"}});
    ASSERT_EQ(model.ok().outcome, OkOutcome::Closed);
    EXPECT_EQ(
        fileText(), settingsText({{"Output.FileType", "Playlist"}, {"Common.Unit", "GB"}, {"Common.Item", "FF"}}));
}

TEST_F(OptionsDialog, EmptyBoxesAreWrittenAsZeroPrecisionAndEmptyRepeat)
{
    openWith({{"Output.FileType", "Customize"}, {"Output.Standard", "False"}});
    model.setText(M::PrecisionText, "");
    model.setText(M::RepeatText, "");
    model.setSeparatorText("");
    ASSERT_EQ(model.ok().outcome, OkOutcome::Closed);
    EXPECT_EQ(fileText(),
        settingsText({{"Output.FileType", "Customize"},
            {"Output.Standard", "False"},
            {"Common.Precision", "0"},
            {"Output.Repeat", ""},
            {"Output.Separator", ""}}));
}

TEST_F(OptionsDialog, DeleteStoresPathOn)
{
    openWith({{"Output.Delete", "True"}, {"Common.Path", "False"}});
    ASSERT_EQ(model.ok().outcome, OkOutcome::Closed);
    EXPECT_EQ(fileText(), settingsText({{"Output.Delete", "True"}, {"Common.Path", "True"}}));
    EXPECT_EQ(store.record().value(Setting::CommonPath), "True");
}

// What is there in place of a folder used to be one that "does not exist".
TEST_F(OptionsDialog, MissingOutputFolderStopsOk)
{
    const std::string file = tree.file("a-file.txt", 10);
    const std::string fifo = tree.fifo("fifo");
    const std::string opened = settingsText({{"Common.Size", "False"}});
    const struct {
        std::string path;
        std::string said;
    } cases[] = {
        {tree.path("gone"), "does not exist"},
        {std::string(), "does not exist"},
        {file, "is a file, not a folder"},
        {fifo, "is a FIFO, not a folder"},
    };
    for (const auto &[path, said] : cases) {
        SCOPED_TRACE(path);
        openWith({{"Common.Size", "False"}});
        model.clickCheckBox(M::SizeBox);
        model.setText(M::PathText, path);

        const mrb::core::OkResult result = model.ok();
        EXPECT_EQ(result.outcome, OkOutcome::ValidationFailed);
        EXPECT_EQ(result.message, "'" + path + "' " + said + ", please specify another!");
        EXPECT_EQ(result.focusTextBox, M::PathText);
        EXPECT_TRUE(model.isOpen());
        EXPECT_EQ(fileText(), opened);
        EXPECT_EQ(store.record().value(Setting::CommonSize), "False");
        EXPECT_EQ(displayApplied, 0);
    }
}

TEST_F(OptionsDialog, OkAppliesTheDisplayOnlyWhenItChanged)
{
    struct Row {
        const char *name;
        std::map<std::string, std::string> stored;
        std::function<void(OptionsModel &)> edit;
        int applied;
    };
    const std::vector<Row> rows = {
        {"nothing", {}, [](OptionsModel &) {}, 0},
        {"output-only",
            {},
            [](OptionsModel &m) {
                m.clickCheckBox(M::DeleteBox);
                m.clickCheckBox(M::DialogBox);
                m.selectOption(M::PbrOption);
            },
            0},
        {"precision", {}, [](OptionsModel &m) { m.setText(M::PrecisionText, "3"); }, 1},
        {"precision-empty-stored-zero",
            {{"Common.Precision", "0"}},
            [](OptionsModel &m) { m.setText(M::PrecisionText, ""); },
            1},
        {"unit", {}, [](OptionsModel &m) { m.selectOption(M::BytesOption); }, 1},
        {"unit-unknown-none-selected", {{"Common.Unit", "TB"}}, [](OptionsModel &) {}, 0},
        {"path-column", {}, [](OptionsModel &m) { m.clickCheckBox(M::PathBox); }, 1},
        {"accessed-column", {}, [](OptionsModel &m) { m.clickCheckBox(M::AccessedBox); }, 1},
        {"sub", {}, [](OptionsModel &m) { m.clickCheckBox(M::SubBox); }, 1},
        {"item", {{"Common.Sub", "True"}}, [](OptionsModel &m) { m.selectOption(M::FilesAndFoldersOption); }, 1},
        {"item-unknown-shown-as-ff", {{"Common.Item", "x"}}, [](OptionsModel &) {}, 1},
        {"switch-off-by-spelling", {{"Common.Type", "true"}}, [](OptionsModel &) {}, 0},
        {"delete-ticks-path", {{"Output.Delete", "True"}, {"Common.Path", "False"}}, [](OptionsModel &) {}, 1},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        displayApplied = 0;
        openWith(row.stored);
        row.edit(model);
        ASSERT_EQ(model.ok().outcome, OkOutcome::Closed);
        EXPECT_EQ(displayApplied, row.applied);
    }
}

// ---- date format -----------------------------------------------------------

TEST_F(OptionsDialog, DateFormatButtonMakesEveryLaterOkApplyTheDisplay)
{
    openWith();
    model.changeDateFormat();
    EXPECT_TRUE(model.dateFormatVisited());
    EXPECT_EQ(regionSettingsOpened, 1);
    model.close();
    EXPECT_EQ(displayApplied, 0);

    // The flag outlives the opening it was set in.
    model.open();
    EXPECT_TRUE(model.dateFormatVisited());
    ASSERT_EQ(model.ok().outcome, OkOutcome::Closed);
    EXPECT_EQ(displayApplied, 1);
    EXPECT_EQ(fileText(), settingsText());

    model.open();
    ASSERT_EQ(model.ok().outcome, OkOutcome::Closed);
    EXPECT_EQ(displayApplied, 2);
    EXPECT_EQ(regionSettingsOpened, 1);
}

TEST_F(OptionsDialog, DateFormatButtonWithoutLauncherStillCounts)
{
    OptionsModel bare(store, api, fs, nullptr, nullptr);
    openWith();
    bare.open();
    bare.changeDateFormat();
    EXPECT_TRUE(bare.dateFormatVisited());
    EXPECT_EQ(bare.ok().outcome, OkOutcome::Closed);
}

// ---- Restore, Close, Choose ------------------------------------------------

TEST_F(OptionsDialog, RestoreWritesTheDefaultsAndStaysOpen)
{
    openWith({{"Output.FileType", "Customize"},
        {"Output.Standard", "False"},
        {"Common.Unit", "GB"},
        {"Common.Sub", "True"},
        {"Common.Item", "FF"},
        {"Output.Delete", "True"},
        {"Common.Precision", "5"}});
    const std::string defaults = settingsText();
    model.clickCheckBox(M::DialogBox);

    model.restore();
    EXPECT_TRUE(model.isOpen());
    EXPECT_EQ(fileText(), defaults);
    EXPECT_EQ(store.record().value(Setting::CommonPrecision), "2");
    EXPECT_EQ(displayApplied, 1);
    EXPECT_EQ(selectedOptions(), "047");
    EXPECT_EQ(outputFormatEnabled(), "0000");
    EXPECT_EQ(itemKindEnabled(), "00000");
    EXPECT_FALSE(model.isChecked(M::DeleteBox));
    EXPECT_FALSE(model.isChecked(M::DialogBox));
    EXPECT_EQ(model.text(M::PrecisionText), "2");

    model.close();
    EXPECT_EQ(fileText(), defaults);
}

TEST_F(OptionsDialog, CloseWritesNothing)
{
    openWith({{"Common.Unit", "Bytes"}});
    const std::string before = fileText();
    model.selectOption(M::GbOption);
    model.clickCheckBox(M::DeleteBox);
    model.setText(M::PathText, "/");
    model.close();
    EXPECT_FALSE(model.isOpen());
    EXPECT_EQ(fileText(), before);
    EXPECT_EQ(store.record().value(Setting::CommonUnit), "Bytes");
    EXPECT_EQ(displayApplied, 0);
}

TEST_F(OptionsDialog, ChooseFolderReplacesThePathUnlessCancelled)
{
    openWith();
    api.chosenFolder = "";
    EXPECT_FALSE(model.chooseFolder(7));
    EXPECT_EQ(model.text(M::PathText), outputFolder());

    api.chosenFolder = tree.dir("picked");
    EXPECT_TRUE(model.chooseFolder(7));
    EXPECT_EQ(model.text(M::PathText), tree.path("picked"));
    EXPECT_EQ(api.chooseFolderPrompts, (std::vector<std::string>(2, "Please choose an output folder.")));
}
