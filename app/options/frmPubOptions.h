// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

#include <array>
#include <functional>
#include <memory>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace mrb::platform
{
class FileSystem;
}

namespace mrb::core
{
class LibraryApiFuns;
class OptionsModel;
class SettingsStore;
} // namespace mrb::core

namespace mrb::ui
{

// The options dialog: a fixed-size modal window over OptionsModel. Every user
// action goes to the model, and every control is then read back from it; the
// form itself decides nothing.
//
// The owner makes one object on first use and keeps it: showModal() starts
// the controls afresh from the settings record each time, while the model's
// date-format flag lasts as long as this object. applyDisplaySettings is
// called after OK (when the display settings changed or the date format was
// visited) and after Restore.
class frmPubOptions : public QDialog
{
    Q_OBJECT
public:
    frmPubOptions(core::SettingsStore &store,
        core::LibraryApiFuns &api,
        platform::FileSystem &fs,
        std::function<void()> applyDisplaySettings,
        QWidget *parent = nullptr);
    ~frmPubOptions() override;

    // Loads the controls from the settings record and waits until the dialog
    // is closed by OK, Close or Esc.
    void showModal();

    // What the date and time button opens; the desktop's region settings
    // unless replaced (tests hand in a stand-in).
    void setRegionSettingsLauncher(std::function<void()> launcher);

    core::OptionsModel &model() { return *m_model; }

public Q_SLOTS:
    // Esc and the window's close button act as Close.
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void connectControls();
    void refresh();

    void onCheckBoxClicked(int index);
    void onOptionClicked(int index);
    void onTextEdited(int index, const QString &text);
    void onSeparatorEdited(const QString &text);
    void onChooseFolder();
    void onDateFormat();
    void onOk();
    void onRestore();

    std::unique_ptr<core::OptionsModel> m_model;
    std::function<void()> m_openRegionSettings;

    // The control arrays, by index; the holes (cbx 4, txt 2) stay empty.
    std::array<QCheckBox *, 13> cbx {};
    std::array<QRadioButton *, 10> opt {};
    std::array<QLineEdit *, 4> txt {};
    std::array<QLabel *, 12> lbl {};
    std::array<QGroupBox *, 2> fra {};
    QWidget *Frame1 = nullptr;
    QComboBox *cbbSeparator = nullptr;
    QToolButton *sbtChoose = nullptr;
    QToolButton *sbtDTF = nullptr;
    QPushButton *sbtOK = nullptr;
    QPushButton *sbtRestore = nullptr;
    QPushButton *sbtClose = nullptr;
};

} // namespace mrb::ui
