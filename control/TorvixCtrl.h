// SPDX-License-Identifier: GPL-3.0-or-later
// The control: the one object a host sees. It owns the module's editor
// object and reaches it only through the calls of EditorLink: it opens and
// closes the editor window on the host's request, forwards file and online
// requests to it, keeps the two file locations the host sets, and fires the
// six events to the host's sink.
//
// The methods keep their results as plain C++ values here (true for TRUE);
// the component layer that dispatches them by id to a host is built on top.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "control/TorvixInterface.h"
#include "editor/EditorLink.h"
#include "editor/HostLink.h"

namespace plc {

class Dialogs;

// The event interface a host advises: events 1 to 6 in dispatch order. The
// default handlers ignore the event, as a host without a handler does.
class TorvixEvents {
public:
    enum DispatchId : int32_t { TORVIX_EVENTS(TORVIX_ENUMERATOR) };

    virtual ~TorvixEvents() = default;
    // PlcFileToArchiv(lpFileName) ... PlcUpDateProjName(lpProjName, bOnline);
    // in the by-reference events the host replaces the offered name with a
    // file name.
#define TORVIX_HANDLER_(...) virtual TORVIX_HANDLER_SIGNATURE(__VA_ARGS__) {}
    TORVIX_EVENTS(TORVIX_HANDLER_)
#undef TORVIX_HANDLER_
};

class CTorvixCtrl : public HostLink {
public:
    enum DispatchId : int32_t { TORVIX_METHODS(TORVIX_ENUMERATOR) };

    static constexpr const char* kDefaultTmpFileName = "PlcTmp.txt";
    static constexpr const char* kDefaultPlcProjPath = "./";
    // Length of the name offered to the host for it to replace.
    static constexpr size_t kNameOfferLength = 260;

    // The editor's message boxes and file dialogs go to `dialogs`.
    explicit CTorvixCtrl(Dialogs& dialogs);
    CTorvixCtrl();
    // The control of an editor object made elsewhere (an application or a
    // test that also drives the editor's own parts).
    explicit CTorvixCtrl(std::unique_ptr<EditorLink> editor);
    ~CTorvixCtrl() override;
    CTorvixCtrl(const CTorvixCtrl&) = delete;
    CTorvixCtrl& operator=(const CTorvixCtrl&) = delete;

    // The host's event sink (not owned); nullptr detaches it.
    void Advise(TorvixEvents* sink) { m_sink = sink; }
    // The control's editor; it lives as long as the control.
    EditorLink& Editor() const { return *m_editor; }

    // ---- methods: PlcCreate ... PlcSetSimulation ----
#define TORVIX_METHOD_(...) TORVIX_SIGNATURE(__VA_ARGS__);
    TORVIX_METHODS(TORVIX_METHOD_)
#undef TORVIX_METHOD_

    // ---- host link (what the editor uses) ----
    bool GetTmpFileName(std::string& name) const override;
    bool GetPlcProjPath(std::string& path) const override;
    // FirePlcFileToArchiv(lpFileName) ... FirePlcUpDateProjName(lpProjName,
    // bOnline), one for each event of the list: the by-reference events
    // offer the host a name (NameOffer) and answer whether its answer, up
    // to the first NUL, is not empty.
#define TORVIX_FIRE_(...) TORVIX_FIRE_SIGNATURE(, __VA_ARGS__) override;
    TORVIX_EVENTS(TORVIX_FIRE_)
#undef TORVIX_FIRE_

    // The name offer: one blank and NUL characters, kNameOfferLength in all.
    static std::string NameOffer();
    // The host's answer up to its first NUL character.
    static std::string NameFromAnswer(const std::string& answer);

private:
    // Restores and activates the editor window; it also gets the keyboard
    // focus when it was visible before.
    void Activate();
    // Fires `event` to the host's sink; see the firing functions above.
    template <class... P, class... A>
    auto FireEvent(void (TorvixEvents::*event)(P...), A&... args);

    std::string m_strTmpFileName = kDefaultTmpFileName;
    std::string m_strPlcProjPath = kDefaultPlcProjPath;
    TorvixEvents* m_sink = nullptr;
    std::unique_ptr<EditorLink> m_editor;
};

}  // namespace plc
