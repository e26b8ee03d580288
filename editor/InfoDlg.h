// SPDX-License-Identifier: GPL-3.0-or-later
// Dialog 205: the editor's name and version with its picture and an OK button.
#pragma once

#include <QDialog>

namespace plc {

class CInfoDlg : public QDialog {
    Q_OBJECT
public:
    explicit CInfoDlg(QWidget* parent = nullptr);
};

}  // namespace plc
