// The exchange of programmes with device and archive through the host: the
// two save commands compile the text, write the binary programme file under
// the host's temporary file name, announce it by an event and write the text
// declaration file into the host's project directory; the two read commands
// and the host's binary file open ask for or take a file name, read the
// binary programme file into the image and list it as the new document.
//
// The host's handlers run inside the events. A handler may close the editor
// window or even release the control; the commands go on only while the
// editor and its window are still there.
#include <QPointer>
#include <QTemporaryFile>

#include "base/WholeFile.h"
#include "editor/DeviceCompare.h"

#include "compiler/CompileDriver.h"
#include "decoder/Listing.h"
#include "editor/HostLink.h"
#include "editor/PlcEditorDlg.h"
#include "platform/Dialogs.h"
#include "platform/MessageList.h"
#include "platform/SourceEdit.h"
#include "resources/StringTable.h"

namespace plc {

namespace {


// The name the host leaves when it does not answer a name offer.
constexpr const char* kUnchangedOffer = " ";

// The reason a binary programme file was refused, without the file name
// that the message already shows.
std::string RefusalReason(const std::string& name, const std::string& why) {
    const std::string prefix = "'" + name + "': ";
    return why.compare(0, prefix.size(), prefix) == 0 ? why.substr(prefix.size()) : why;
}

}  // namespace

void CPlcEditorDlg::OnSaveInFile() { SaveProgramFiles(SaveTarget::Archive); }

void CPlcEditorDlg::OnSaveInDevice() { SaveProgramFiles(SaveTarget::Device); }

void CPlcEditorDlg::OnReadFromFile() { ReadProgramFile(ReadSource::Archive, {}); }

void CPlcEditorDlg::OnReadFromDevice() { ReadProgramFile(ReadSource::Device, {}); }

void CPlcEditorDlg::OpenBinaryFile(const std::string& fileName) {
    // Without a window there is no document to list the programme into.
    if (!m_editSource) return;
    ReadProgramFile(ReadSource::Host, fileName);
}

void CPlcEditorDlg::SaveProgramFiles(SaveTarget target) {
    if (!m_pControl || !m_editSource) return;
    if (!CompileProgram()) return;

    std::string binaryFile;
    if (!m_pControl->GetTmpFileName(binaryFile)) {
        ShowError(LoadString(kIdsNoProgramFilePath));
        return;
    }
    const std::string requested = binaryFile;
    std::string why;
    if (!m_program.WriteBinaryFile(binaryFile, false, {}, &why)) {
        ShowError(requested + LoadString(kIdsNotCreated) + "\n" + why);
        return;
    }
    m_listMessages->Append(LoadString(kIdsBinaryFileMade) + binaryFile);

    const std::string programName = m_program.GetProgramName();
    QPointer<CPlcEditorDlg> self(this);
    auto stillOpen = [&] { return self && m_pControl && IsWindow(); };
    if (target == SaveTarget::Archive) {
        m_pControl->FirePlcUpDateProjName(programName, false);
        if (!stillOpen()) return;
        m_pControl->FirePlcFileToArchiv(binaryFile);
    } else {
        m_pControl->FirePlcFileToDevice(binaryFile);
    }
    if (!stillOpen()) return;

    std::string directory;
    if (!m_pControl->GetPlcProjPath(directory)) {
        ShowError(LoadString(kIdsNoDeclFilePath));
        return;
    }
    if (m_program.WriteTextDeclFile(directory, false))
        m_listMessages->Append(LoadString(kIdsDeclFileMade) + directory);

    if (target == SaveTarget::Device) m_pControl->FirePlcUpDateProjName(programName, true);
}

void CPlcEditorDlg::ReadProgramFile(ReadSource source, const std::string& hostName) {
    if (!m_editSource) return;
    std::string name = hostName;
    if (source != ReadSource::Host) {
        if (!m_pControl) return;
        QPointer<CPlcEditorDlg> self(this);
        const bool answered = source == ReadSource::Archive
                                  ? m_pControl->FirePlcFileFromArchiv(name)
                                  : m_pControl->FirePlcFileFromDevice(name);
        if (!self || !IsWindow()) return;
        if (!answered) {
            ShowError(LoadString(kIdsNoProgramFilePath));
            return;
        }
    }

    m_program.Clear();
    // An archive request the host did not answer is a silent no.
    if (source == ReadSource::Archive && name == kUnchangedOffer) return;

    std::string why;
    if (!m_program.ReadBinaryFile(name, &why)) {
        std::string text = LoadString(kIdsErrorOpening) + name + ".";
        if (!why.empty()) text += "\n" + RefusalReason(name, why);
        ShowError(text);
        return;
    }
    // The save question comes after the file was read; Cancel keeps the
    // old text, and the image keeps the programme just read.
    if (!NewDocument()) return;
    ListProgram(name);
}

void CPlcEditorDlg::OnCompareWithDevice() {
    if (!m_pControl || !m_editSource) return;
    // The editor's text into a programme of its own: the editor's image,
    // message list and document stay as they are.
    CPlcProgram mine;
    const CompileOutcome outcome = CompileProgramLines(
        mine, m_editSource->GetLineCount(), m_editSource->GetTextLength() == 0,
        [this](int32_t index, std::string& line) { return GetEditLine(index, line); });
    if (!outcome.success) {
        ShowError(LoadString(kIdsSyntaxCheckFailed));
        return;
    }
    std::string name;
    QPointer<CPlcEditorDlg> self(this);
    const bool answered = m_pControl->FirePlcFileFromDevice(name);
    if (!self || !IsWindow()) return;
    if (!answered) {
        ShowError(LoadString(kIdsNoProgramFilePath));
        return;
    }
    // The device's programme goes through a temporary file of its own.
    std::string data;
    QTemporaryFile copy;
    if (!ReadWholeFile(name, data) || !copy.open() ||
        copy.write(data.data(), static_cast<qint64>(data.size())) != static_cast<qint64>(data.size()) ||
        !copy.flush()) {
        ShowError(LoadString(kIdsErrorOpening) + name + ".");
        return;
    }
    CPlcProgram device;
    std::string why;
    if (!device.ReadBinaryFile(copy.fileName().toStdString(), &why)) {
        ShowError(LoadString(kIdsErrorOpening) + name + "." + (why.empty() ? "" : "\n" + why));
        return;
    }
    CompareView view(Window(), CompareImages(mine, device), mine, device);
    m_dialogs.Exec(view);
}

void CPlcEditorDlg::ListProgram(const std::string& fileName) {
    if (!m_editSource) return;
    const ListingOutcome listing =
        ListProgramImage(m_program, fileName, ListingDate(CurrentLocalTime()));
    for (const std::string& entry : listing.entries) m_listMessages->Append(entry);
    m_editSource->SetText(listing.text);
    m_bModified = true;
    if (listing.errorCount != 0) ShowError(listing.entries.back());
}

}  // namespace plc
