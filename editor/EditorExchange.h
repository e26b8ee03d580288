// SPDX-License-Identifier: GPL-3.0-or-later
// The exchange of programmes with device and archive through the host: the
// two save commands compile the text, write the binary programme file under
// the host's temporary file name, announce it by an event and write the text
// declaration file into the host's project directory; the two read commands
// and the host's binary file open ask for or take a file name, read the
// binary programme file into the image and list it as the new document.
// Compare with device shows the text's programme beside the device's.
//
// The host link is the control's back-reference, in the editor's context
// (null without a control: the exchange commands do nothing). The host's
// handlers run inside the events: a handler may close the editor window or
// even release the control, and with it the editor object; the commands go
// on only while the editor and its window are still there.
#pragma once

#include <QObject>
#include <string>

#include "editor/EditorContext.h"

namespace plc {

class CPlcEditorDoc;
class EditorCodeView;

class EditorExchange {
public:
    // `document` takes the listed programme, `codeView` compiles the text
    // into its programme image.
    EditorExchange(const EditorContext& context, CPlcEditorDoc& document,
                   EditorCodeView& codeView);

    void OnSaveInFile();
    void OnReadFromFile();
    void OnSaveInDevice();
    void OnReadFromDevice();
    void OnCompareWithDevice();
    void OpenBinaryFile(const std::string& fileName);
    // Lists the image as the document's text; entries go to the message list.
    void ListProgram(const std::string& fileName);

private:
    enum class SaveTarget { Archive, Device };
    enum class ReadSource { Archive, Device, Host };
    void SaveProgramFiles(SaveTarget target);
    void ReadProgramFile(ReadSource source, const std::string& hostName);

    const EditorContext& m_context;
    CPlcEditorDoc& m_document;
    EditorCodeView& m_codeView;
    // Goes with the editor object: a pointer to it that turns null after
    // an event tells that the host released the editor.
    QObject m_alive;
};

}  // namespace plc
