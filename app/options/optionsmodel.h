// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/library/libraryapifuns.h"

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace mrb::platform
{
class FileSystem;
}

namespace mrb::core
{

class SettingsStore;

// What OK asks the form to do.
enum class OkOutcome {
    Closed, // everything was written and reloaded: hide the dialog
    ValidationFailed, // show message with the exclamation icon, then select the
                      // whole text of text box focusTextBox and focus it; the dialog stays open
};

struct OkResult {
    OkOutcome outcome = OkOutcome::Closed;
    std::string message; // only for ValidationFailed
    int focusTextBox = -1; // txt index to select and focus, only for ValidationFailed
};

// The state of frmPubOptions without any window: which check boxes are ticked,
// which option buttons are selected, the texts, and which controls are enabled,
// together with the rules that tie them together and the OK, Restore, Close,
// choose-folder and date-format commands.
//
// Controls are addressed by the indexes of the dialog's control arrays:
// check boxes cbx 0-3 and 5-12 (there is no 4), option buttons opt 0-9 in three
// groups (file type, size unit, item kind: OptionGroup in the .cpp), text boxes txt 0, 1 and 3
// (there is no 2), labels lbl 0-11, and the separator combo box. A form shows
// these states, forwards every user action to the matching method and then
// reads the states back; it holds no rules of its own. An index that names no
// control reads as cleared, empty and disabled, and events on it do nothing.
//
// One object serves every opening of the dialog: open() starts the controls
// afresh from the settings record, while dateFormatVisited() stays set for the
// object's whole life once the date-format button was used.
class OptionsModel
{
public:
    // Check box indexes.
    static constexpr int StandardBox = 0; // Output.Standard
    static constexpr int HeaderBox = 1; // Output.Header
    static constexpr int DeleteBox = 2; // Output.Delete
    static constexpr int SubBox = 3; // Common.Sub
    static constexpr int NameBox = 5; // always ticked and disabled, never stored
    static constexpr int PathBox = 6; // Common.Path
    static constexpr int SizeBox = 7; // Common.Size
    static constexpr int TypeBox = 8; // Common.Type
    static constexpr int ModifiedBox = 9; // Common.Modified
    static constexpr int CreatedBox = 10; // Common.Created
    static constexpr int AccessedBox = 11; // Common.Accessed
    static constexpr int DialogBox = 12; // System.Dialog
    static constexpr int checkBoxCount = 13;

    // Option button indexes.
    static constexpr int PlaylistOption = 0, PbrOption = 1, CustomizeOption = 2;
    static constexpr int BytesOption = 3, KbOption = 4, MbOption = 5, GbOption = 6;
    static constexpr int FilesOption = 7, FoldersOption = 8, FilesAndFoldersOption = 9;
    static constexpr int optionCount = 10;

    // Text box indexes.
    static constexpr int RepeatText = 0; // Output.Repeat, one digit
    static constexpr int PathText = 1; // Output.Path
    static constexpr int PrecisionText = 3; // Common.Precision, one digit
    static constexpr int textBoxCount = 4;

    // Labels whose enabled state follows the Sub box ("under the selected
    // folder ..." and "add all"); every other label stays enabled.
    static constexpr int labelCount = 12;

    static constexpr char32_t backspace = 0x08;

    // The list of the separator combo box, in display order; any other text
    // may be typed.
    static constexpr std::array<std::string_view, 8> separatorChoices = {
        "{Tab}", "{Spaces}", "{New Line}", ";", ",", ".", "|", ":"};

    static constexpr std::string_view chooseFolderPrompt = "Please choose an output folder.";

    // applyDisplaySettings re-applies the display settings to the destination
    // listing; openRegionSettings opens the desktop's date and time format
    // settings without waiting (either may be empty: nothing is called).
    OptionsModel(SettingsStore &store,
        LibraryApiFuns &api,
        platform::FileSystem &fs,
        std::function<void()> applyDisplaySettings,
        std::function<void()> openRegionSettings);

    // Opening the dialog: every control back to its initial state, then the
    // loading steps from the settings record.
    void open();
    bool isOpen() const { return m_open; }

    // Control states.
    bool isChecked(int cbx) const;
    bool isCheckBoxEnabled(int cbx) const;
    bool isSelected(int opt) const;
    bool isOptionEnabled(int opt) const;
    const std::string &text(int txt) const;
    bool isTextEnabled(int txt) const;
    bool isLabelEnabled(int lbl) const;
    const std::string &separatorText() const { return m_separator; }
    bool isSeparatorEnabled() const { return m_separatorEnabled; }
    bool dateFormatVisited() const { return m_dateFormatVisited; }

    // User actions. A click on a disabled control is ignored (false).
    bool clickCheckBox(int cbx);
    bool selectOption(int opt);
    bool setSeparatorText(std::string text);

    // Key filter of the one-digit boxes txt 0 and txt 3: only the digits and
    // Backspace get through. Every character passes in txt 1.
    static bool acceptsKey(int txt, char32_t key);
    // Types one character at the end of digit box txt 0 or txt 3, as the key
    // filter and the one-character limit allow. False when it was discarded.
    bool typeCharacter(int txt, char32_t key);
    // The whole text as the form's edit now holds it (after a paste, a cut, an
    // overtyped selection). A digit box refuses anything but "" or one digit
    // and keeps its text (false); the form then shows text() again.
    bool setText(int txt, std::string value);

    // sbtChoose: asks for a folder; a non-empty answer replaces the path text.
    // True when the path text changed.
    bool chooseFolder(WinHandle owner);

    // sbtDTF: marks the date format as visited (for good) and opens the
    // region settings.
    void changeDateFormat();

    // sbtOK: validates the output folder, writes all 18 settings, reloads the
    // record and re-applies the display settings when they changed.
    OkResult ok();

    // sbtRestore: writes the defaults, reloads the record, runs the loading
    // steps again over the open dialog and re-applies the display settings.
    // The dialog stays open.
    void restore();

    // sbtClose: writes nothing.
    void close();

private:
    void resetToInitialState();
    void runLoadingSteps();
    bool displayChanged() const;
    void writeAllSettings();

    // Setting a box or an option from code raises the same reaction as a click
    // when the value changes.
    void setChecked(int cbx, bool ticked);
    void setSelected(int opt);
    void reactToCheckBox(int cbx);
    void reactToOption(int opt);
    void setOutputFormatEnabled(bool enabled);
    void enableOutputFormatByStandardMode();
    void setItemKindEnabled(bool enabled);

    SettingsStore &m_store;
    LibraryApiFuns &m_api;
    platform::FileSystem &m_fs;
    std::function<void()> m_applyDisplaySettings;
    std::function<void()> m_openRegionSettings;

    std::array<bool, checkBoxCount> m_checked {};
    std::array<bool, checkBoxCount> m_checkBoxEnabled {};
    std::array<bool, optionCount> m_selected {};
    std::array<bool, optionCount> m_optionEnabled {};
    std::array<std::string, textBoxCount> m_text;
    std::array<bool, textBoxCount> m_textEnabled {};
    std::array<bool, labelCount> m_labelEnabled {};
    std::string m_separator;
    bool m_separatorEnabled = false;
    bool m_open = false;
    bool m_dateFormatVisited = false;
};

} // namespace mrb::core
