#include "control/TorvixCtrl.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "editor/PlcEditorDlg.h"
#include "platform/Dialogs.h"

namespace plc {

CPlcEditorDlg* g_pPlcEditor = nullptr;

CTorvixCtrl::CTorvixCtrl(Dialogs& dialogs) : m_pEditor(new CPlcEditorDlg(dialogs)) {
    g_pPlcEditor = m_pEditor;
}

CTorvixCtrl::CTorvixCtrl() : CTorvixCtrl(DesktopDialogs()) {}

CTorvixCtrl::~CTorvixCtrl() {
    // An open window goes with the editor object, without the save question
    // and without PlcOnCancel.
    // Only one control at a time is supported; a second one took over the
    // module's slot, and each control still frees only its own editor.
    if (g_pPlcEditor == m_pEditor) g_pPlcEditor = nullptr;
    m_pEditor->SetControl(nullptr);
    delete m_pEditor;
}

void CTorvixCtrl::Activate() {
    QWidget* window = g_pPlcEditor->Window();
    const bool wasVisible = window->isVisible();
    window->showNormal();
    window->raise();
    window->activateWindow();
    if (wasVisible) window->setFocus();
}

bool CTorvixCtrl::PlcCreate() {
    if (!g_pPlcEditor) return false;
    if (g_pPlcEditor->IsWindow()) {
        Activate();
        return true;
    }
    if (!g_pPlcEditor->Create(nullptr)) return false;
    QWidget* window = g_pPlcEditor->Window();
    if (QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen()) {
        QRect frame = window->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
    g_pPlcEditor->SetControl(this);
    return true;
}

bool CTorvixCtrl::PlcSetOnline() {
    if (!g_pPlcEditor) return false;
    g_pPlcEditor->SetOnline();
    return true;
}

bool CTorvixCtrl::PlcSetOffline() {
    if (!g_pPlcEditor) return false;
    g_pPlcEditor->SetOffline();
    return true;
}

bool CTorvixCtrl::PlcFileOpen(const std::string& lpFileName) {
    if (!g_pPlcEditor) return false;
    g_pPlcEditor->OpenSourceFile(lpFileName);
    return true;
}

bool CTorvixCtrl::PlcDestroy() {
    if (!g_pPlcEditor || !g_pPlcEditor->IsWindow()) return false;
    g_pPlcEditor->CloseEditor();
    return true;
}

bool CTorvixCtrl::PlcSetFocus() {
    if (!g_pPlcEditor || !g_pPlcEditor->IsWindow()) return false;
    Activate();
    return true;
}

void CTorvixCtrl::PlcSetTmpFileName(const std::string& fileName) { m_strTmpFileName = fileName; }

void CTorvixCtrl::PlcSetPlcProjPath(const std::string& projPath) { m_strPlcProjPath = projPath; }

bool CTorvixCtrl::PlcBinaryFileOpen(const std::string& lpFileName) {
    if (!g_pPlcEditor) return false;
    g_pPlcEditor->OpenBinaryFile(lpFileName);
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

std::string CTorvixCtrl::RequestFileName(void (TorvixEvents::*event)(std::string&)) {
    std::string offer = NameOffer();
    if (m_sink) (m_sink->*event)(offer);
    return NameFromAnswer(offer);
}

void CTorvixCtrl::FirePlcFileToArchiv(const std::string& fileName) {
    if (m_sink) m_sink->PlcFileToArchiv(fileName);
}

bool CTorvixCtrl::FirePlcFileFromArchiv(std::string& fileName) {
    fileName = RequestFileName(&TorvixEvents::PlcFileFromArchiv);
    return !fileName.empty();
}

void CTorvixCtrl::FirePlcOnCancel() {
    if (m_sink) m_sink->PlcOnCancel();
}

bool CTorvixCtrl::FirePlcFileFromDevice(std::string& fileName) {
    fileName = RequestFileName(&TorvixEvents::PlcFileFromDevice);
    return !fileName.empty();
}

void CTorvixCtrl::FirePlcFileToDevice(const std::string& fileName) {
    if (m_sink) m_sink->PlcFileToDevice(fileName);
}

void CTorvixCtrl::FirePlcUpDateProjName(const std::string& projName, bool online) {
    if (m_sink) m_sink->PlcUpDateProjName(projName, online);
}

}  // namespace plc
