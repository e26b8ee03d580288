// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/EditorExchange.h"

#include <QFileInfo>
#include <QPointer>
#include <QTemporaryFile>
#include <cerrno>
#include <cstring>

#include "base/WholeFile.h"
#include "compiler/CompileDriver.h"
#include "decoder/Listing.h"
#include "editor/DeviceCompare.h"
#include "editor/EditorCodeView.h"
#include "editor/HostLink.h"
#include "image/PlcProgram.h"
#include "editor/PlcEditorDoc.h"
#include "platform/Dialogs.h"
#include "platform/MessageList.h"
#include "platform/SourceEdit.h"
#include "platform/Text.h"
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

// The device's programme file is missing: the device holds no programme,
// which is no fault of a file.
bool DeviceIsEmpty(const std::string& name) {
    return !name.empty() && name != kUnchangedOffer && !QFileInfo::exists(FileNameToQString(name));
}

std::string EmptyDeviceMessage(const std::string& name) {
    return "The device holds no programme: " + name + " does not exist";
}

}  // namespace

EditorExchange::EditorExchange(const EditorContext& context,
                               CPlcEditorDoc& document, EditorCodeView& codeView)
    : m_context(context),
      m_document(document),
      m_codeView(codeView) {}

void EditorExchange::OnSaveInFile() { SaveProgramFiles(SaveTarget::Archive); }

void EditorExchange::OnSaveInDevice() { SaveProgramFiles(SaveTarget::Device); }

void EditorExchange::OnReadFromFile() { ReadProgramFile(ReadSource::Archive, {}); }

void EditorExchange::OnReadFromDevice() { ReadProgramFile(ReadSource::Device, {}); }

void EditorExchange::OpenBinaryFile(const std::string& fileName) {
    // Without a window there is no document to list the programme into.
    if (!m_context.edit) return;
    ReadProgramFile(ReadSource::Host, fileName);
}

void EditorExchange::SaveProgramFiles(SaveTarget target) {
    if (!m_context.control || !m_context.edit) return;
    if (!m_codeView.CompileProgram()) return;

    CPlcProgram& program = m_codeView.Program();
    std::string binaryFile;
    if (!m_context.control->GetTmpFileName(binaryFile)) {
        ShowError(m_context.dialogs, m_context.window, LoadString(kIdsNoProgramFilePath));
        return;
    }
    const std::string requested = binaryFile;
    std::string why;
    if (!program.WriteBinaryFile(binaryFile, false, {}, &why)) {
        ShowError(m_context.dialogs, m_context.window, requested + LoadString(kIdsNotCreated) + "\n" + why);
        return;
    }
    m_context.messages->Append(LoadString(kIdsBinaryFileMade) + binaryFile);

    const std::string programName = program.GetProgramName();
    QPointer<QObject> self(&m_alive);
    auto stillOpen = [&] { return self && m_context.control && m_context.window; };
    if (target == SaveTarget::Archive) {
        m_context.control->FirePlcUpDateProjName(programName, false);
        if (!stillOpen()) return;
        m_context.control->FirePlcFileToArchiv(binaryFile);
    } else {
        m_context.control->FirePlcFileToDevice(binaryFile);
    }
    if (!stillOpen()) return;

    std::string directory;
    if (!m_context.control->GetPlcProjPath(directory)) {
        ShowError(m_context.dialogs, m_context.window, LoadString(kIdsNoDeclFilePath));
        return;
    }
    if (program.WriteTextDeclFile(directory, false))
        m_context.messages->Append(LoadString(kIdsDeclFileMade) + directory);

    if (target == SaveTarget::Device) m_context.control->FirePlcUpDateProjName(programName, true);
}

void EditorExchange::ReadProgramFile(ReadSource source, const std::string& hostName) {
    if (!m_context.edit) return;
    std::string name = hostName;
    if (source != ReadSource::Host) {
        if (!m_context.control) return;
        QPointer<QObject> self(&m_alive);
        const bool answered = source == ReadSource::Archive
                                  ? m_context.control->FirePlcFileFromArchiv(name)
                                  : m_context.control->FirePlcFileFromDevice(name);
        if (!self || !m_context.window) return;
        if (!answered) {
            ShowError(m_context.dialogs, m_context.window, LoadString(kIdsNoProgramFilePath));
            return;
        }
    }

    CPlcProgram& program = m_codeView.Program();
    program.Clear();
    // An archive request the host did not answer is a silent no.
    if (source == ReadSource::Archive && name == kUnchangedOffer) return;
    if (source == ReadSource::Device && DeviceIsEmpty(name)) {
        ShowError(m_context.dialogs, m_context.window, EmptyDeviceMessage(name));
        return;
    }

    std::string why;
    if (!program.ReadBinaryFile(name, &why)) {
        std::string text = LoadString(kIdsErrorOpening) + name + ".";
        if (!why.empty()) text += "\n" + RefusalReason(name, why);
        ShowError(m_context.dialogs, m_context.window, text);
        return;
    }
    // The save question comes after the file was read; Cancel keeps the
    // old text, and the image keeps the programme just read.
    if (!m_document.NewDocument()) return;
    ListProgram(name);
}

void EditorExchange::OnCompareWithDevice() {
    if (!m_context.control || !m_context.edit) return;
    // The editor's text into a programme of its own: the editor's image,
    // message list and document stay as they are.
    CPlcProgram mine;
    const CompileOutcome outcome = CompileProgramLines(
        mine, m_context.edit->GetLineCount(), m_context.edit->GetTextLength() == 0,
        [this](int32_t index, std::string& line) { return m_context.edit->GetLine(index, line); });
    if (!outcome.success) {
        ShowError(m_context.dialogs, m_context.window, LoadString(kIdsSyntaxCheckFailed));
        return;
    }
    std::string name;
    QPointer<QObject> self(&m_alive);
    const bool answered = m_context.control->FirePlcFileFromDevice(name);
    if (!self || !m_context.window) return;
    if (!answered) {
        ShowError(m_context.dialogs, m_context.window, LoadString(kIdsNoProgramFilePath));
        return;
    }
    if (DeviceIsEmpty(name)) {
        ShowError(m_context.dialogs, m_context.window, EmptyDeviceMessage(name));
        return;
    }
    // The device's programme goes through a temporary file of its own.
    std::string data;
    if (const FileRead read = ReadWholeFile(name, data, {kMaxBinaryFileBytes, false}); !read) {
        ShowError(m_context.dialogs, m_context.window, LoadString(kIdsErrorOpening) + name + ".\n" + read.Reason());
        return;
    }
    QTemporaryFile copy;
    if (!copy.open() ||
        copy.write(data.data(), static_cast<qint64>(data.size())) != static_cast<qint64>(data.size()) ||
        !copy.flush()) {
        ShowError(m_context.dialogs, m_context.window,
                  LoadString(kIdsErrorOpening) + name + ".\n" + ToBytes(copy.errorString()));
        return;
    }
    CPlcProgram device;
    std::string why;
    if (!device.ReadBinaryFile(FileNameToBytes(copy.fileName()), &why)) {
        ShowError(m_context.dialogs, m_context.window,
                  LoadString(kIdsErrorOpening) + name + "." + (why.empty() ? "" : "\n" + why));
        return;
    }
    CompareView view(m_context.window, CompareImages(mine, device), mine, device);
    m_context.dialogs.Exec(view);
}

void EditorExchange::ListProgram(const std::string& fileName) {
    if (!m_context.edit) return;
    const ListingOutcome listing =
        ListProgramImage(m_codeView.Program(), fileName, ListingDate(CurrentLocalTime()));
    for (const std::string& entry : listing.entries) m_context.messages->Append(entry);
    m_context.edit->SetText(listing.text);
    m_document.SetModified(true);
    if (listing.errorCount != 0) ShowError(m_context.dialogs, m_context.window, listing.entries.back());
}

}  // namespace plc
