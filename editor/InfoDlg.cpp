// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/InfoDlg.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>
#include <algorithm>

#include "resources/icons/info.xpm"

namespace plc {

CInfoDlg::CInfoDlg(QWidget* parent) : QDialog(parent) {
    setObjectName("info");
    setWindowTitle("Info to PLC-Editor");
    auto* picture = new QLabel(this);
    picture->setObjectName("picture");
    picture->setPixmap(QPixmap(info_xpm));
    auto* name = new QLabel("PLC-Editor", this);
    name->setObjectName("name");
    auto* version = new QLabel("Version V1.30-03", this);
    version->setObjectName("version");
    auto* licence = new QLabel(
        "Free software under the GNU General Public License,\nversion 3 or later. There is NO WARRANTY.",
        this);
    licence->setObjectName("licence");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(name);
    texts->addWidget(version);
    texts->addWidget(licence);
    texts->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    // The window manager cuts a caption wider than the dialog: the dialog is
    // made wide enough for it and for the buttons of the title bar.
    const int caption = QFontMetrics(QApplication::font("QMdiSubWindowTitleBar"))
                            .horizontalAdvance(windowTitle());
    setMinimumWidth(std::max(layout->sizeHint().width(), caption + 160));
}

}  // namespace plc
