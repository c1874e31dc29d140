// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

#include <functional>
#include <string_view>

class QLabel;
class QPushButton;

namespace mrb::ui
{

// The About box: product name, version text, two logos that open web pages,
// and the donation button. Links are handed to openLink; the box stays open.
// It has a fixed size and no button of its own for closing.
class frmPubAbout : public QDialog
{
    Q_OBJECT
public:
    using LinkOpener = std::function<void(std::string_view address)>;
    explicit frmPubAbout(LinkOpener openLink, QWidget *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    LinkOpener m_openLink;
    QLabel *m_productLogo = nullptr;
    QLabel *m_makerLogo = nullptr;
};

} // namespace mrb::ui
