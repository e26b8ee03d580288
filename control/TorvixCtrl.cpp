// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/TorvixCtrl.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <type_traits>

#include "platform/Dialogs.h"

namespace plc {

CTorvixCtrl::CTorvixCtrl(std::unique_ptr<EditorLink> editor) : m_editor(std::move(editor)) {}

CTorvixCtrl::CTorvixCtrl(Dialogs& dialogs) : CTorvixCtrl(CreateEditor(dialogs)) {}

CTorvixCtrl::CTorvixCtrl() : CTorvixCtrl(DesktopDialogs()) {}

CTorvixCtrl::~CTorvixCtrl() {
    // An open window goes with the editor object, without the save question
    // and without PlcOnCancel.
    m_editor->SetControl(nullptr);
    m_editor.reset();
}

void CTorvixCtrl::Activate() {
    QWidget* window = m_editor->Window();
    const bool wasVisible = window->isVisible();
    window->showNormal();
    window->raise();
    window->activateWindow();
    if (wasVisible) window->setFocus();
}

bool CTorvixCtrl::PlcCreate() {
    if (m_editor->IsWindow()) {
        Activate();
        return true;
    }
    if (!m_editor->Create(nullptr)) return false;
    QWidget* window = m_editor->Window();
    if (QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen()) {
        QRect frame = window->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
    m_editor->SetControl(this);
    return true;
}

bool CTorvixCtrl::PlcSetOnline() {
    m_editor->SetOnline();
    return true;
}

bool CTorvixCtrl::PlcSetOffline() {
    m_editor->SetOffline();
    return true;
}

bool CTorvixCtrl::PlcFileOpen(const std::string& lpFileName) {
    m_editor->OpenSourceFile(lpFileName);
    return true;
}

bool CTorvixCtrl::PlcDestroy() {
    if (!m_editor->IsWindow()) return false;
    m_editor->CloseEditor();
    return true;
}

bool CTorvixCtrl::PlcSetFocus() {
    if (!m_editor->IsWindow()) return false;
    Activate();
    return true;
}

void CTorvixCtrl::PlcSetTmpFileName(const std::string& fileName) { m_strTmpFileName = fileName; }

void CTorvixCtrl::PlcSetPlcProjPath(const std::string& projPath) { m_strPlcProjPath = projPath; }

bool CTorvixCtrl::PlcBinaryFileOpen(const std::string& lpFileName) {
    m_editor->OpenBinaryFile(lpFileName);
    return true;
}

// Simulate stays grayed until a host enables it; the choice holds for every
// window the editor opens from then on.
bool CTorvixCtrl::PlcSetSimulation(bool bEnable) {
    m_editor->EnableSimulation(bEnable);
    return true;
}

bool CTorvixCtrl::GetTmpFileName(std::string& name) const {
    name = m_strTmpFileName;
    return !name.empty();
}

bool CTorvixCtrl::GetPlcProjPath(std::string& path) const {
    path = m_strPlcProjPath;
    return !path.empty();
}

std::string CTorvixCtrl::NameOffer() {
    std::string offer(kNameOfferLength, '\0');
    offer[0] = ' ';
    return offer;
}

std::string CTorvixCtrl::NameFromAnswer(const std::string& answer) {
    return answer.substr(0, answer.find('\0'));
}

namespace {

// A name the host is to replace goes out as the offer and comes back as the
// host's answer up to its first NUL; whether that is empty is the event's
// answer. The other arguments go out as they are.
void PrepareArgument(std::string& name) { name = CTorvixCtrl::NameOffer(); }
template <class A>
void PrepareArgument(const A&) {}

bool TakeAnswer(std::string& name) {
    name = CTorvixCtrl::NameFromAnswer(name);
    return !name.empty();
}
template <class A>
bool TakeAnswer(const A&) {
    return true;
}

}  // namespace

template <class... P, class... A>
auto CTorvixCtrl::FireEvent(void (TorvixEvents::*event)(P...), A&... args) {
    (PrepareArgument(args), ...);
    if (m_sink) (m_sink->*event)(args...);
    if constexpr ((false || ... || std::is_same_v<P, std::string&>))
        return (true && ... && TakeAnswer(args));
}

#define TORVIX_FIRE_(id, name, r, ...)                                                 \
    TORVIX_FIRE_SIGNATURE(CTorvixCtrl::, id, name, r, __VA_ARGS__) {                  \
        return FireEvent(&TorvixEvents::name __VA_OPT__(, TORVIX_ARGS(__VA_ARGS__))); \
    }
TORVIX_EVENTS(TORVIX_FIRE_)
#undef TORVIX_FIRE_

// The editor's host link sits below the control and states the firing
// functions itself; here they are held to the list: each event has its
// function with the list's parameters, and the host link has no function
// that the list lacks (the control would be abstract).
#define TORVIX_CHECK_FIRE_(id, name, r, ...)                                        \
    static_assert(std::is_same_v<decltype(&HostLink::Fire##name),                   \
                                 TORVIX_FIRE_MEMBER_TYPE(HostLink, id, name, r, __VA_ARGS__)>, \
                  "HostLink::Fire" #name " differs from the event " #name " of the list");
TORVIX_EVENTS(TORVIX_CHECK_FIRE_)
#undef TORVIX_CHECK_FIRE_
static_assert(!std::is_abstract_v<CTorvixCtrl>, "HostLink has a function the list does not have");

}  // namespace plc
