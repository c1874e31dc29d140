// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/options/optionsmodel.h"

#include "app/settings/settingsstore.h"
#include "app/settings/settingvalues.h"
#include "platform/fs/filesystem.h"

#include <utility>

namespace mrb::core
{

namespace
{

// The three groups of option buttons, each the options from first to before end.
struct OptionGroup {
    int first;
    int end;
};
constexpr OptionGroup fileTypeGroup {OptionsModel::PlaylistOption, OptionsModel::BytesOption};
constexpr OptionGroup unitGroup {OptionsModel::BytesOption, OptionsModel::FilesOption};
constexpr OptionGroup itemGroup {OptionsModel::FilesOption, OptionsModel::optionCount};
constexpr int addAllLabel = 11;
constexpr int underFolderLabel = 10;

// Stored values of the three option groups, by option index.
constexpr std::array<const char *, OptionsModel::optionCount> optionValues = {settingvalue::playlist,
    settingvalue::pbr,
    settingvalue::customize,
    settingvalue::bytes,
    settingvalue::kilobytes,
    settingvalue::megabytes,
    settingvalue::gigabytes,
    settingvalue::files,
    settingvalue::folders,
    settingvalue::filesAndFolders};

// The check boxes that count for the display, with their settings, in the
// order the change test looks at them.
struct DisplayBox {
    int cbx;
    Setting setting;
};
constexpr std::array<DisplayBox, 7> displayBoxes = {{
    {OptionsModel::PathBox, Setting::CommonPath},
    {OptionsModel::SizeBox, Setting::CommonSize},
    {OptionsModel::TypeBox, Setting::CommonType},
    {OptionsModel::ModifiedBox, Setting::CommonModified},
    {OptionsModel::CreatedBox, Setting::CommonCreated},
    {OptionsModel::AccessedBox, Setting::CommonAccessed},
    {OptionsModel::SubBox, Setting::CommonSub},
}};

bool isCheckBoxIndex(int cbx)
{
    return cbx >= 0 && cbx < OptionsModel::checkBoxCount && cbx != 4;
}

bool isOptionIndex(int opt)
{
    return opt >= 0 && opt < OptionsModel::optionCount;
}

bool isTextIndex(int txt)
{
    return txt == OptionsModel::RepeatText || txt == OptionsModel::PathText || txt == OptionsModel::PrecisionText;
}

bool isDigitBox(int txt)
{
    return txt == OptionsModel::RepeatText || txt == OptionsModel::PrecisionText;
}

bool isDigit(char32_t c)
{
    return c >= U'0' && c <= U'9';
}

// First and one-past-last option index of the group holding opt.
OptionGroup groupOf(int opt)
{
    for (const OptionGroup &group : {fileTypeGroup, unitGroup})
        if (opt < group.end)
            return group;
    return itemGroup;
}

const char *trueFalse(bool on)
{
    return on ? settingvalue::on : settingvalue::off;
}

} // namespace

OptionsModel::OptionsModel(SettingsStore &store,
    LibraryApiFuns &api,
    platform::FileSystem &fs,
    std::function<void()> applyDisplaySettings,
    std::function<void()> openRegionSettings)
    : m_store(store)
    , m_api(api)
    , m_fs(fs)
    , m_applyDisplaySettings(std::move(applyDisplaySettings))
    , m_openRegionSettings(std::move(openRegionSettings))
{
    resetToInitialState();
}

void OptionsModel::open()
{
    resetToInitialState();
    runLoadingSteps();
    m_open = true;
}

void OptionsModel::resetToInitialState()
{
    m_checked.fill(false);
    m_checked[StandardBox] = true;
    m_checked[NameBox] = true;
    m_checkBoxEnabled.fill(true);
    m_checkBoxEnabled[NameBox] = false;

    m_selected.fill(false);
    m_selected[PlaylistOption] = true;
    m_selected[FilesAndFoldersOption] = true;
    m_optionEnabled.fill(true);

    for (std::string &t : m_text)
        t.clear();
    m_textEnabled.fill(true);
    m_labelEnabled.fill(true);
    m_separator.clear();
    m_separatorEnabled = true;
}

void OptionsModel::runLoadingSteps()
{
    const SettingsRecord &r = m_store.record();
    const auto selectByValue = [this](const std::string &value, OptionGroup group) {
        for (int opt = group.first; opt < group.end; ++opt) {
            if (value == optionValues[opt]) {
                setSelected(opt);
                return;
            }
        }
        // any other value leaves the group as it is
    };

    selectByValue(r.value(Setting::OutputFileType), fileTypeGroup);

    m_separator = r.value(Setting::OutputSeparator);
    // Loaded texts are kept as stored, even when longer than the one character
    // a user can type.
    m_text[RepeatText] = r.value(Setting::OutputRepeat);

    setChecked(StandardBox, r.isOn(Setting::OutputStandard));
    setChecked(HeaderBox, r.isOn(Setting::OutputHeader));
    setChecked(DeleteBox, r.isOn(Setting::OutputDelete));

    m_text[PathText] = r.value(Setting::OutputPath);

    selectByValue(r.value(Setting::CommonUnit), unitGroup);

    m_text[PrecisionText] = r.value(Setting::CommonPrecision);

    setChecked(PathBox, r.isOn(Setting::CommonPath));
    setChecked(SizeBox, r.isOn(Setting::CommonSize));
    setChecked(TypeBox, r.isOn(Setting::CommonType));
    setChecked(CreatedBox, r.isOn(Setting::CommonCreated));
    setChecked(ModifiedBox, r.isOn(Setting::CommonModified));
    setChecked(AccessedBox, r.isOn(Setting::CommonAccessed));
    setChecked(SubBox, r.isOn(Setting::CommonSub));

    selectByValue(r.value(Setting::CommonItem), itemGroup);

    setChecked(DialogBox, r.isOn(Setting::SystemDialog));

    // These only disable; enabling is left to the click reactions above.
    if (r.value(Setting::OutputFileType) != settingvalue::customize)
        setOutputFormatEnabled(false);
    if (m_checked[StandardBox]) {
        m_separatorEnabled = false;
        m_textEnabled[RepeatText] = false;
        m_checkBoxEnabled[HeaderBox] = false;
    }
    if (!m_checked[SubBox])
        setItemKindEnabled(false);
}

bool OptionsModel::isChecked(int cbx) const
{
    return isCheckBoxIndex(cbx) && m_checked[cbx];
}

bool OptionsModel::isCheckBoxEnabled(int cbx) const
{
    return isCheckBoxIndex(cbx) && m_checkBoxEnabled[cbx];
}

bool OptionsModel::isSelected(int opt) const
{
    return isOptionIndex(opt) && m_selected[opt];
}

bool OptionsModel::isOptionEnabled(int opt) const
{
    return isOptionIndex(opt) && m_optionEnabled[opt];
}

const std::string &OptionsModel::text(int txt) const
{
    static const std::string none;
    return isTextIndex(txt) ? m_text[txt] : none;
}

bool OptionsModel::isTextEnabled(int txt) const
{
    return isTextIndex(txt) && m_textEnabled[txt];
}

bool OptionsModel::isLabelEnabled(int lbl) const
{
    return lbl >= 0 && lbl < labelCount && m_labelEnabled[lbl];
}

bool OptionsModel::clickCheckBox(int cbx)
{
    if (!isCheckBoxEnabled(cbx))
        return false;
    m_checked[cbx] = !m_checked[cbx];
    reactToCheckBox(cbx);
    return true;
}

bool OptionsModel::selectOption(int opt)
{
    if (!isOptionEnabled(opt))
        return false;
    setSelected(opt);
    return true;
}

bool OptionsModel::setSeparatorText(std::string text)
{
    if (!m_separatorEnabled)
        return false;
    m_separator = std::move(text);
    return true;
}

bool OptionsModel::acceptsKey(int txt, char32_t key)
{
    if (!isDigitBox(txt))
        return true;
    return isDigit(key) || key == backspace;
}

bool OptionsModel::typeCharacter(int txt, char32_t key)
{
    if (!isDigitBox(txt) || !m_textEnabled[txt] || !acceptsKey(txt, key))
        return false;
    std::string &t = m_text[txt];
    if (key == backspace) {
        if (t.empty())
            return false;
        // a stored text may hold more than one character, and not only ASCII:
        // step back over one whole UTF-8 sequence
        std::size_t end = t.size() - 1;
        while (end > 0 && (static_cast<unsigned char>(t[end]) & 0xC0) == 0x80)
            --end;
        t.erase(end);
        return true;
    }
    if (!t.empty()) // one character at most
        return false;
    t.push_back(static_cast<char>(key));
    return true;
}

bool OptionsModel::setText(int txt, std::string value)
{
    if (!isTextEnabled(txt))
        return false;
    if (isDigitBox(txt) && !(value.empty() || (value.size() == 1 && isDigit(static_cast<unsigned char>(value[0])))))
        return false;
    m_text[txt] = std::move(value);
    return true;
}

bool OptionsModel::chooseFolder(WinHandle owner)
{
    std::string folder = m_api.chooseFolder(owner, std::string(chooseFolderPrompt));
    // a cancelled browser answers "" and leaves the path as it was
    if (folder.empty())
        return false;
    m_text[PathText] = std::move(folder);
    return true;
}

void OptionsModel::changeDateFormat()
{
    m_dateFormatVisited = true;
    // Whether the region settings could be opened is not reported: the flag
    // counts either way.
    if (m_openRegionSettings)
        m_openRegionSettings();
}

OkResult OptionsModel::ok()
{
    const std::string &path = m_text[PathText];
    // An empty path would name the current folder to the file system; it
    // counts as missing.
    if (path.empty() || !m_fs.folderExists(path)) {
        OkResult failed;
        failed.outcome = OkOutcome::ValidationFailed;
        const std::string kind = path.empty() ? std::string() : m_fs.kindOf(path);
        failed.message = kind.empty() ? "'" + path + "' does not exist, please specify another!"
                                      : "'" + path + "' is " + kind + ", not a folder, please specify another!";
        failed.focusTextBox = PathText;
        return failed;
    }

    const bool changed = displayChanged();
    writeAllSettings();
    m_store.loadSettings();
    if ((changed || m_dateFormatVisited) && m_applyDisplaySettings)
        m_applyDisplaySettings();
    m_open = false;
    return {};
}

bool OptionsModel::displayChanged() const
{
    const SettingsRecord &r = m_store.record();
    if (m_text[PrecisionText] != r.value(Setting::CommonPrecision))
        return true;
    for (int opt = unitGroup.first; opt < unitGroup.end; ++opt) {
        // no unit selected counts as unchanged, whatever is stored
        if (m_selected[opt] && r.value(Setting::CommonUnit) != optionValues[opt])
            return true;
    }
    for (const DisplayBox &box : displayBoxes) {
        if (m_checked[box.cbx] != r.isOn(box.setting))
            return true;
    }
    for (int opt = itemGroup.first; opt < itemGroup.end; ++opt) {
        if (m_selected[opt] && r.value(Setting::CommonItem) != optionValues[opt])
            return true;
    }
    return false;
}

void OptionsModel::writeAllSettings()
{
    // The file name is asked for anew, so a moved settings file is followed.
    const std::string file = m_store.settingsFilePath();
    const auto write = [&](Setting s, const std::string &value) {
        const SettingKey &k = keyOf(s);
        // a failed write leaves the key as it was; the reload then shows the old value
        m_api.writeIni(file, k.section, k.key, value);
    };
    // The last option of a group is written when none of the group is selected.
    const auto groupValue = [this](OptionGroup group) {
        for (int opt = group.first; opt < group.end - 1; ++opt) {
            if (m_selected[opt])
                return std::string(optionValues[opt]);
        }
        return std::string(optionValues[group.end - 1]);
    };

    write(Setting::OutputFileType, groupValue(fileTypeGroup));
    write(Setting::OutputSeparator, m_separator);
    write(Setting::OutputRepeat, m_text[RepeatText]);
    write(Setting::OutputStandard, trueFalse(m_checked[StandardBox]));
    write(Setting::OutputHeader, trueFalse(m_checked[HeaderBox]));
    write(Setting::OutputDelete, trueFalse(m_checked[DeleteBox]));
    write(Setting::OutputPath, m_text[PathText]);
    write(Setting::CommonUnit, groupValue(unitGroup));
    write(Setting::CommonPrecision, m_text[PrecisionText].empty() ? std::string("0") : m_text[PrecisionText]);
    write(Setting::CommonPath, trueFalse(m_checked[PathBox]));
    write(Setting::CommonSize, trueFalse(m_checked[SizeBox]));
    write(Setting::CommonType, trueFalse(m_checked[TypeBox]));
    write(Setting::CommonCreated, trueFalse(m_checked[CreatedBox]));
    write(Setting::CommonModified, trueFalse(m_checked[ModifiedBox]));
    write(Setting::CommonAccessed, trueFalse(m_checked[AccessedBox]));
    write(Setting::CommonSub, trueFalse(m_checked[SubBox]));
    write(Setting::CommonItem, groupValue(itemGroup));
    write(Setting::SystemDialog, trueFalse(m_checked[DialogBox]));
}

void OptionsModel::restore()
{
    m_store.writeDefaultSettings();
    m_store.loadSettings();
    // The steps run over the controls as they stand, without going back to
    // the initial states first.
    runLoadingSteps();
    if (m_applyDisplaySettings)
        m_applyDisplaySettings();
}

void OptionsModel::close()
{
    m_open = false;
}

void OptionsModel::setChecked(int cbx, bool ticked)
{
    if (m_checked[cbx] == ticked)
        return;
    m_checked[cbx] = ticked;
    reactToCheckBox(cbx);
}

void OptionsModel::setSelected(int opt)
{
    if (m_selected[opt])
        return;
    const OptionGroup group = groupOf(opt);
    for (int other = group.first; other < group.end; ++other)
        m_selected[other] = false;
    m_selected[opt] = true;
    reactToOption(opt);
}

void OptionsModel::reactToCheckBox(int cbx)
{
    switch (cbx) {
    case StandardBox:
        enableOutputFormatByStandardMode();
        break;
    case DeleteBox:
    case PathBox:
        // Path cannot be cleared while Delete is ticked
        if (m_checked[DeleteBox])
            setChecked(PathBox, true);
        break;
    case SubBox:
        setItemKindEnabled(m_checked[SubBox]);
        break;
    default:
        break;
    }
}

void OptionsModel::reactToOption(int opt)
{
    switch (opt) {
    case PlaylistOption:
    case PbrOption:
        setOutputFormatEnabled(false);
        break;
    case CustomizeOption:
        m_checkBoxEnabled[StandardBox] = true;
        enableOutputFormatByStandardMode();
        break;
    default:
        break;
    }
}

void OptionsModel::setOutputFormatEnabled(bool enabled)
{
    m_separatorEnabled = enabled;
    m_textEnabled[RepeatText] = enabled;
    m_checkBoxEnabled[StandardBox] = enabled;
    m_checkBoxEnabled[HeaderBox] = enabled;
}

void OptionsModel::enableOutputFormatByStandardMode()
{
    const bool enabled = !m_checked[StandardBox];
    m_separatorEnabled = enabled;
    m_textEnabled[RepeatText] = enabled;
    m_checkBoxEnabled[HeaderBox] = enabled;
}

void OptionsModel::setItemKindEnabled(bool enabled)
{
    for (int opt = itemGroup.first; opt < itemGroup.end; ++opt)
        m_optionEnabled[opt] = enabled;
    m_labelEnabled[underFolderLabel] = enabled;
    m_labelEnabled[addAllLabel] = enabled;
}

} // namespace mrb::core
