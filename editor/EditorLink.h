// SPDX-License-Identifier: GPL-3.0-or-later
// What the control and its host need of the editor: the calls they really
// make, and nothing else. The control owns the editor object through this
// interface and forwards its methods here; a host reaches the editor of its
// control the same way (through the control, never through a global), to
// parent its own message boxes on the editor window and to note in the
// status bar what it did with a file.
//
// HostLink.h is the other direction: what the editor needs of its control.
#pragma once

#include <memory>
#include <string>

class QWidget;

namespace plc {

class Dialogs;
class HostLink;

class EditorLink {
public:
    virtual ~EditorLink() = default;

    // ---- the window ----
    // Builds the window; true when it exists afterwards.
    virtual bool Create(QWidget* parent) = 0;
    virtual bool IsWindow() const = 0;
    // The editor window; null while there is none.
    virtual QWidget* Window() const = 0;
    // The close sequence: the save question, PlcOnCancel, the window goes.
    virtual void CloseEditor() = 0;

    // ---- the host ----
    // The control's back-reference; null detaches the editor from it.
    virtual void SetControl(HostLink* control) = 0;
    // The device commands follow the host's online state.
    virtual void SetOnline() = 0;
    virtual void SetOffline() = 0;
    // Simulate enabled or grayed (an open dry run closes with it).
    virtual void EnableSimulation(bool enable) = 0;
    // The host's open of a source file, and of a binary programme file
    // listed as a new document.
    virtual void OpenSourceFile(const std::string& fileName) = 0;
    virtual void OpenBinaryFile(const std::string& fileName) = 0;
    // A note in the status bar, until the next one.
    virtual void ShowStatusMessage(const std::string& text) = 0;
};

// A new editor object, without a window yet; its message boxes and file
// dialogs go to `dialogs`.
std::unique_ptr<EditorLink> CreateEditor(Dialogs& dialogs);

}  // namespace plc
