// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/TorvixPropFrame.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <vector>

#include "control/ComRefCount.h"
#include "platform/Dialogs.h"
#include "platform/Text.h"

namespace plc {

using com::ComPtr;

int ShowPropertyFrame(com::IUnknown* object, const ClassObjectSource& classes, Dialogs& dialogs,
                      QWidget* parent, const QString& caption) {
    ComPtr<com::ISpecifyPropertyPages> specify;
    if (!object || object->QueryInterface(&com::IID_ISpecifyPropertyPages, specify.Out()) != com::S_OK)
        return -1;
    std::vector<com::Guid> clsids;
    if (specify->GetPages(&clsids) != com::S_OK || clsids.empty()) return -1;

    // Every page first, so that a page that cannot be made shows nothing.
    std::vector<ComPtr<com::IPropertyPage>> pages;
    for (const com::Guid& clsid : clsids) {
        ComPtr<com::IClassFactory> factory;
        ComPtr<com::IPropertyPage> page;
        if (classes(clsid, com::IID_IClassFactory, factory.Out()) != com::S_OK ||
            factory->CreateInstance(nullptr, &com::IID_IPropertyPage, page.Out()) != com::S_OK ||
            page->SetObjects({object}) != com::S_OK)
            return -1;
        pages.push_back(page);
    }

    QDialog frame(parent);
    frame.setObjectName("PropertyFrame");
    frame.setWindowTitle(caption);
    auto* tabs = new QTabWidget(&frame);
    for (const ComPtr<com::IPropertyPage>& page : pages) {
        com::PropPageInfo info;
        page->GetPageInfo(&info);
        auto* holder = new QWidget;
        QWidget* shown = nullptr;
        page->Activate(holder, &shown);
        tabs->addTab(holder, ToQString(info.title));
    }
    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, &frame);
    auto applyAll = [&pages] {
        for (const ComPtr<com::IPropertyPage>& page : pages) page->Apply();
    };
    QObject::connect(buttons, &QDialogButtonBox::accepted, &frame, [&] {
        applyAll();
        frame.accept();
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &frame, &QDialog::reject);
    QObject::connect(buttons->button(QDialogButtonBox::Apply), &QPushButton::clicked, &frame,
                     applyAll);
    auto* layout = new QVBoxLayout(&frame);
    layout->addWidget(tabs);
    layout->addWidget(buttons);

    const int result = dialogs.Exec(frame);
    for (const ComPtr<com::IPropertyPage>& page : pages) {
        page->Deactivate();
        page->SetObjects({});
    }
    return result;
}

}  // namespace plc
