// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/browse/displaysettings.h"
#include "app/browse/filerows.h"
#include "app/browse/listeditem.h"
#include "app/browse/listingcolumns.h"
#include "app/library/localapifuns.h"
#include "app/library/localgenfuns.h"
#include "app/options/designfont.h"
#include "app/options/frmPubOptions.h"
#include "app/options/optionsmodel.h"
#include "app/settings/settingsstore.h"
#include "platform/controls/listmodel.h"
#include "platform/fs/posixfilesystem.h"
#include "platform/locale/localeformat.h"
#include "tests/support/fakelibrary.h"
#include "tests/support/temptree.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using mrb::test::ScopedEnv;
using mrb::test::TempTree;
using mrb::ui::frmPubOptions;

namespace
{

class OptionsForm : public ::testing::Test
{
protected:
    OptionsForm()
        : store(api, gen, fs, tree.root())
        , locale("en_US")
    {
        store.ensureSettings(); // no settings file yet: the defaults are written
        destination.setColumns(mrb::core::listingColumns(mrb::core::Listing::Destination));
        const std::string song = tree.file("music/song.mp3", 3'000'000);
        destination.append(mrb::core::toListRow(mrb::core::MakeFileRow(*fs.file(song), store.record(), locale)));
        destination.setStamp(mrb::core::displayStamp(store.record()));
        makeForm();
    }

    // A fresh dialog, in the application's font as it stands.
    void makeForm()
    {
        form = std::make_unique<frmPubOptions>(store, api, fs, [this] {
            ++displayApplied;
            mrb::core::ApplyDisplaySettings(destination, store.record(), fs, locale);
        });
        form->setRegionSettingsLauncher([this] { ++regionSettingsOpened; });
    }

    std::string settingsText() const { return TempTree::read(store.settingsFilePath()); }
    std::string sizeText() const { return std::string(destination.subItem(1, 2)); }

    template <typename T> T *control(const char *name) const
    {
        T *w = form->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    // Opens the dialog modally and runs steps inside it. A dialog that is
    // still open five seconds later is closed, and the test fails.
    int runModal(const std::function<void()> &steps)
    {
        bool timedOut = false;
        QTimer::singleShot(0, form.get(), steps);
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, form.get(), [&] {
            timedOut = true;
            if (QWidget *modal = QApplication::activeModalWidget(); modal && modal != form.get())
                modal->close();
            form->reject();
        });
        guard.start(5000);
        form->showModal();
        EXPECT_FALSE(timedOut) << "the dialog did not close";
        return form->result();
    }

    // Replaces the whole text of an edit as a user would: select all, type.
    static void retype(QLineEdit *edit, const QString &text)
    {
        edit->setFocus();
        edit->selectAll();
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Backspace);
        else
            QTest::keyClicks(edit, text);
    }

    ScopedEnv tz {"TZ", "Europe/Berlin"};
    TempTree tree;
    mrb::test::FakeApiFuns api;
    mrb::core::LocalGenFuns gen;
    mrb::platform::PosixFileSystem fs;
    mrb::core::SettingsStore store;
    mrb::platform::LocaleFormat locale;
    mrb::platform::ListModel destination;
    std::unique_ptr<frmPubOptions> form;
    int displayApplied = 0;
    int regionSettingsOpened = 0;
};

bool contains(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

TEST_F(OptionsForm, OkStoresUnitAndPrecisionAndRemakesDestinationSizes)
{
    ASSERT_EQ(sizeText(), "2,929.69 KB");
    const int result = runModal([this] {
        QTest::mouseClick(control<QRadioButton>("opt5"), Qt::LeftButton); // MB
        retype(control<QLineEdit>("txt3"), QStringLiteral("3"));
        QTest::mouseClick(control<QPushButton>("sbtOK"), Qt::LeftButton);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_FALSE(form->isVisible());
    const std::string ini = settingsText();
    EXPECT_TRUE(contains(ini, "Unit=MB")) << ini;
    EXPECT_TRUE(contains(ini, "Precision=3")) << ini;
    EXPECT_EQ(store.record().value(mrb::core::Setting::CommonUnit), "MB");
    EXPECT_EQ(displayApplied, 1);
    EXPECT_EQ(sizeText(), "2.861 MB");
}

TEST_F(OptionsForm, EachOpeningStartsFromTheStoredSettings)
{
    runModal([this] {
        QTest::mouseClick(control<QRadioButton>("opt6"), Qt::LeftButton);
        QTest::mouseClick(control<QCheckBox>("cbx7"), Qt::LeftButton);
        form->reject();
    });
    // the same object opened again shows the file's values, not the last edits
    runModal([this] {
        EXPECT_TRUE(control<QRadioButton>("opt4")->isChecked());
        EXPECT_FALSE(control<QRadioButton>("opt6")->isChecked());
        EXPECT_TRUE(control<QCheckBox>("cbx7")->isChecked());
        form->reject();
    });
}

TEST_F(OptionsForm, MissingFolderWarnsAndSelectsThePath)
{
    const std::string before = settingsText();
    // '<' and '&' must show as typed, not as markup or an access key
    const QString missing = QString::fromStdString(tree.path("no such & <folder>"));
    QString shownText, shownTitle;
    QMessageBox::Icon shownIcon = QMessageBox::NoIcon;
    bool pathSelected = false;

    const int result = runModal([&] {
        QLineEdit *path = control<QLineEdit>("txt1");
        retype(path, missing);
        QTimer::singleShot(0, form.get(), [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            shownText = box->text();
            shownTitle = box->windowTitle();
            shownIcon = box->icon();
            box->button(QMessageBox::Ok)->click();
        });
        QTest::mouseClick(control<QPushButton>("sbtOK"), Qt::LeftButton);
        // back in the dialog after the message
        EXPECT_TRUE(form->isVisible());
        pathSelected = path->hasSelectedText() && path->selectedText() == missing && path->selectionStart() == 0;
        EXPECT_EQ(form->focusWidget(), path);
        form->reject();
    });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(shownText, "'" + missing + "' does not exist, please specify another!");
    EXPECT_EQ(shownTitle, QStringLiteral("Marrowby"));
    EXPECT_EQ(shownIcon, QMessageBox::Warning);
    EXPECT_TRUE(pathSelected);
    EXPECT_EQ(settingsText(), before);
    EXPECT_EQ(displayApplied, 0);
}

TEST_F(OptionsForm, DigitBoxesTakeOneDigitOnly)
{
    runModal([this] {
        QLineEdit *precision = control<QLineEdit>("txt3");
        retype(precision, QString());
        QTest::keyClicks(precision, QStringLiteral("a-5x"));
        EXPECT_EQ(precision->text(), QStringLiteral("5"));
        QTest::keyClicks(precision, QStringLiteral("7")); // a second digit
        EXPECT_EQ(precision->text(), QStringLiteral("5"));
        // a pasted text is refused as a whole
        QApplication::clipboard()->setText(QStringLiteral("x9"));
        precision->selectAll();
        precision->paste();
        EXPECT_EQ(precision->text(), QStringLiteral("5"));
        EXPECT_EQ(form->model().text(mrb::core::OptionsModel::PrecisionText), "5");
        QTest::keyClick(precision, Qt::Key_Backspace);
        EXPECT_EQ(precision->text(), QString());

        // Tab is not a typed character: it still moves the focus on
        precision->setFocus();
        QTest::keyClick(precision, Qt::Key_Tab);
        EXPECT_NE(form->focusWidget(), precision);

        // the path box takes letters
        QLineEdit *path = control<QLineEdit>("txt1");
        retype(path, QStringLiteral("abc"));
        EXPECT_EQ(path->text(), QStringLiteral("abc"));
        form->reject();
    });
}

TEST_F(OptionsForm, EscClosesWithoutWriting)
{
    const std::string before = settingsText();
    const int result = runModal([this] {
        QTest::mouseClick(control<QRadioButton>("opt3"), Qt::LeftButton);
        retype(control<QLineEdit>("txt1"), QStringLiteral("/elsewhere"));
        QTest::keyClick(control<QLineEdit>("txt1"), Qt::Key_Escape);
    });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(settingsText(), before);
    EXPECT_EQ(displayApplied, 0);
    EXPECT_EQ(sizeText(), "2,929.69 KB");
}

TEST_F(OptionsForm, ControlsFollowTheDependencyRules)
{
    runModal([this] {
        auto *separator = control<QComboBox>("cbbSeparator");
        auto *repeat = control<QLineEdit>("txt0");
        auto *standard = control<QCheckBox>("cbx0");
        auto *headers = control<QCheckBox>("cbx1");
        // the defaults: Playlist, standard mode
        EXPECT_FALSE(separator->isEnabled());
        EXPECT_FALSE(standard->isEnabled());
        EXPECT_TRUE(control<QRadioButton>("opt0")->isChecked());

        QTest::mouseClick(control<QRadioButton>("opt2"), Qt::LeftButton);
        EXPECT_TRUE(standard->isEnabled());
        EXPECT_FALSE(separator->isEnabled()); // standard mode still ticked
        QTest::mouseClick(standard, Qt::LeftButton);
        EXPECT_TRUE(separator->isEnabled());
        EXPECT_TRUE(repeat->isEnabled());
        EXPECT_TRUE(headers->isEnabled());
        QTest::mouseClick(control<QRadioButton>("opt1"), Qt::LeftButton);
        EXPECT_FALSE(separator->isEnabled());
        EXPECT_FALSE(headers->isEnabled());
        EXPECT_FALSE(control<QRadioButton>("opt2")->isChecked());

        // Delete keeps Path ticked
        auto *path = control<QCheckBox>("cbx6");
        QTest::mouseClick(control<QCheckBox>("cbx2"), Qt::LeftButton);
        QTest::mouseClick(path, Qt::LeftButton);
        EXPECT_TRUE(path->isChecked());

        // the item kinds follow the Sub box
        EXPECT_FALSE(control<QRadioButton>("opt7")->isEnabled());
        EXPECT_FALSE(control<QLabel>("lbl10")->isEnabled());
        QTest::mouseClick(control<QCheckBox>("cbx3"), Qt::LeftButton);
        EXPECT_TRUE(control<QRadioButton>("opt7")->isEnabled());
        EXPECT_TRUE(control<QLabel>("lbl11")->isEnabled());

        auto *name = control<QCheckBox>("cbx5");
        EXPECT_TRUE(name->isChecked());
        EXPECT_FALSE(name->isEnabled());
        form->reject();
    });
}

TEST_F(OptionsForm, UnknownUnitShowsNoUnitSelected)
{
    api.writeIni(store.settingsFilePath(), "Common", "Unit", "TB");
    store.loadSettings();
    runModal([this] {
        for (const char *name : {"opt3", "opt4", "opt5", "opt6"})
            EXPECT_FALSE(control<QRadioButton>(name)->isChecked()) << name;
        form->reject();
    });
    // a later opening with a known unit selects it again
    api.writeIni(store.settingsFilePath(), "Common", "Unit", "GB");
    store.loadSettings();
    runModal([this] {
        EXPECT_TRUE(control<QRadioButton>("opt6")->isChecked());
        form->reject();
    });
}

TEST_F(OptionsForm, ChooseFolderRestoreAndDateFormat)
{
    const std::string chosen = tree.dir("chosen");
    api.chosenFolder = chosen;
    runModal([&] {
        QTest::mouseClick(control<QToolButton>("sbtChoose"), Qt::LeftButton);
        EXPECT_EQ(control<QLineEdit>("txt1")->text().toStdString(), chosen);

        // Restore writes the defaults, shows them and keeps the dialog open
        QTest::mouseClick(control<QRadioButton>("opt6"), Qt::LeftButton);
        QTest::mouseClick(control<QPushButton>("sbtRestore"), Qt::LeftButton);
        EXPECT_TRUE(form->isVisible());
        EXPECT_TRUE(control<QRadioButton>("opt4")->isChecked());
        EXPECT_EQ(control<QLineEdit>("txt1")->text().toStdString(), store.outputFolder());
        EXPECT_EQ(displayApplied, 1);

        QTest::mouseClick(control<QToolButton>("sbtDTF"), Qt::LeftButton);
        QTest::mouseClick(control<QPushButton>("sbtOK"), Qt::LeftButton);
    });
    EXPECT_EQ(api.chooseFolderPrompts, std::vector<std::string> {"Please choose an output folder."});
    EXPECT_EQ(regionSettingsOpened, 1);
    // nothing changed since Restore, but the date format was visited
    EXPECT_EQ(displayApplied, 2);
}

TEST_F(OptionsForm, LayoutAndLook)
{
    // in the face the design was drawn for, its twips are the dialog's
    const QFont desktop = QApplication::font();
    QApplication::setFont(mrb::ui::designFont());
    makeForm();
    QApplication::setFont(desktop);
    // the offscreen screen has 96 dots per inch: 15 twips a pixel
    ASSERT_EQ(form->logicalDpiX(), 96);
    EXPECT_EQ(form->size(), QSize(604, 296));
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Options"));
    EXPECT_EQ(control<QPushButton>("sbtClose")->geometry(), QRect(532, 266, 66, 24));
    EXPECT_EQ(control<QGroupBox>("fra1")->geometry(), QRect(6, 121, 593, 139));
    EXPECT_EQ(control<QLineEdit>("txt1")->geometry(), QRect(71, 83, 489, 20));
    EXPECT_EQ(control<QWidget>("Frame1")->parentWidget(), control<QGroupBox>("fra1"));
    EXPECT_EQ(control<QRadioButton>("opt5")->parentWidget(), control<QWidget>("Frame1"));

    auto *separator = control<QComboBox>("cbbSeparator");
    EXPECT_TRUE(separator->isEditable());
    QStringList choices;
    for (int i = 0; i < separator->count(); ++i)
        choices << separator->itemText(i);
    EXPECT_EQ(choices, (QStringList {"{Tab}", "{Spaces}", "{New Line}", ";", ",", ".", "|", ":"}));

    EXPECT_EQ(control<QRadioButton>("opt9")->text(), QStringLiteral("files && folders"));
    EXPECT_EQ(control<QPushButton>("sbtClose")->toolTip(),
        QStringLiteral("Cancels your changes and closes this dialog box <Esc>."));
    EXPECT_EQ(control<QToolButton>("sbtDTF")->toolTip(), QStringLiteral("Changes the date time format."));
    EXPECT_FALSE(control<QToolButton>("sbtChoose")->icon().isNull());

    const QColor blue(0, 0, 255), red(255, 0, 0);
    EXPECT_EQ(control<QLabel>("lbl2")->palette().color(QPalette::Active, QPalette::WindowText), blue);
    EXPECT_EQ(control<QLabel>("lbl8")->palette().color(QPalette::Active, QPalette::WindowText), blue);
    EXPECT_EQ(control<QCheckBox>("cbx2")->palette().color(QPalette::Active, QPalette::WindowText), red);
    EXPECT_NE(control<QCheckBox>("cbx1")->palette().color(QPalette::Active, QPalette::WindowText), red);
}

// The dialog grows with the desktop's font: no caption is cut, and no
// widened control runs into its neighbour, in the design face and in wider ones.
TEST_F(OptionsForm, CaptionsFitInEveryFont)
{
    QFont wide(QStringLiteral("DejaVu Sans"));
    wide.setPointSize(12);
    // wide blanks and full stops
    QFont mono(QStringLiteral("DejaVu Sans Mono"));
    mono.setPointSize(9);
    const QFont desktop = QApplication::font();
    for (const QFont &font : {mrb::ui::designFont(), desktop, wide, mono}) {
        SCOPED_TRACE(font.toString().toStdString());
        QApplication::setFont(font);
        makeForm();
        // No caption is cut, and no widened control runs into its neighbour.
        std::vector<std::pair<QWidget *, QRect>> inks;
        for (QWidget *w : form->findChildren<QWidget *>()) {
            QString caption;
            int textLeft = 0;
            if (auto *l = qobject_cast<QLabel *>(w)) {
                caption = l->text();
            } else if (auto *b = qobject_cast<QAbstractButton *>(w);
                       b && (qobject_cast<QCheckBox *>(w) || qobject_cast<QRadioButton *>(w))) {
                caption = b->text().replace(QStringLiteral("&&"), QStringLiteral("&"));
                QStyleOptionButton option;
                option.initFrom(b);
                option.text = b->text();
                const auto element =
                    qobject_cast<QCheckBox *>(w) ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents;
                textLeft = w->style()->subElementRect(element, &option, w).left();
            } else {
                continue;
            }
            SCOPED_TRACE(w->objectName().toStdString());
            EXPECT_GE(w->width(), w->sizeHint().width());
            EXPECT_GE(w->height(), w->fontMetrics().height());
            // where the caption is drawn, in the parent's coordinates
            const QRect ink(w->x(), w->y(), textLeft + w->fontMetrics().horizontalAdvance(caption), w->height());
            EXPECT_TRUE(w->parentWidget()->rect().contains(ink)) << "outside its frame";
            inks.emplace_back(w, ink);
        }
        // A caption keeps a few pixels clear of the next control, as much as
        // "Playlist" keeps from "PowerBuilder Resources" ("Customize" and
        // "Standard mode ..." used to touch their neighbours).
        constexpr int clearance = 4;
        for (const auto &[w, ink] : inks) {
            for (const auto &[other, otherInk] : inks) {
                if (other != w && other->parentWidget() == w->parentWidget()) {
                    EXPECT_FALSE(ink.adjusted(0, 0, clearance, 0).intersects(otherInk))
                        << w->objectName().toStdString() << " runs into " << other->objectName().toStdString();
                }
            }
        }
        QApplication::setFont(desktop);
    }
}

// Enter in the dialog pressed nothing.
TEST_F(OptionsForm, EnterPressesOk)
{
    int result = runModal([this] {
        auto *precision = control<QLineEdit>("txt3");
        retype(precision, "3");
        QTest::keyClick(precision, Qt::Key_Return);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_TRUE(contains(settingsText(), "Precision=3"));

    // the separator's box, an editable combo box, would keep the key
    api.writeIni(store.settingsFilePath(), "Output", "FileType", "Customize");
    api.writeIni(store.settingsFilePath(), "Output", "Standard", "False");
    store.loadSettings();
    result = runModal([this] {
        QLineEdit *separator = control<QComboBox>("cbbSeparator")->lineEdit();
        retype(separator, "|");
        QTest::keyClick(separator, Qt::Key_Return);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_TRUE(contains(settingsText(), "Separator=|"));
}

TEST_F(OptionsForm, FrameCaptionsAreBlue)
{
    form->show();
    for (const char *name : {"fra0", "fra1"}) {
        QGroupBox *frame = control<QGroupBox>(name);
        const QImage image = frame->grab().toImage();
        int bluePixels = 0;
        for (int y = 0; y < 16 && y < image.height(); ++y) {
            for (int x = 0; x < 80 && x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.blue() > 180 && c.red() < 120 && c.green() < 120)
                    ++bluePixels;
            }
        }
        EXPECT_GT(bluePixels, 10) << name;
    }
    form->hide();
}

// Saves a picture of the dialog with every control enabled when
// MRB_OPTIONS_SCREENSHOT names a file.
TEST_F(OptionsForm, Screenshot)
{
    const QString file = qEnvironmentVariable("MRB_OPTIONS_SCREENSHOT");
    if (file.isEmpty())
        GTEST_SKIP() << "MRB_OPTIONS_SCREENSHOT is not set";
    api.writeIni(store.settingsFilePath(), "Output", "FileType", "Customize");
    api.writeIni(store.settingsFilePath(), "Output", "Standard", "False");
    api.writeIni(store.settingsFilePath(), "Common", "Sub", "True");
    api.writeIni(store.settingsFilePath(), "Output", "Path", "/home/user/Music/Listings");
    store.loadSettings();
    bool saved = false;
    runModal([&] {
        QTest::qWait(200);
        saved = form->grab().save(file);
        form->reject();
    });
    EXPECT_TRUE(saved);
}

} // namespace
