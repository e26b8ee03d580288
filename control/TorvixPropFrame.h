// SPDX-License-Identifier: GPL-3.0-or-later
// The property frame that the control's Properties verb opens: one tab per
// property page the object names, with OK, Cancel and Apply.
#pragma once

#include <QString>
#include <functional>

#include "control/ComInterfaces.h"

class QWidget;

namespace plc {

class Dialogs;

// Hands out the class object of a class id (a module's DllGetClassObject).
using ClassObjectSource =
    std::function<com::HRESULT(const com::Guid& clsid, const com::Guid& iid, void** object)>;

// Shows the frame for `object` modally through `dialogs` and returns the
// dialog's result; -1 when the object names no page or a page cannot be made
// (no frame is shown then).
int ShowPropertyFrame(com::IUnknown* object, const ClassObjectSource& classes, Dialogs& dialogs,
                      QWidget* parent, const QString& caption);

}  // namespace plc
