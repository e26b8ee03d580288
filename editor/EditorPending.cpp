// Commands of the editor whose function comes with later work. Each has its
// menu entry (and toolbar button) already, and does nothing yet:
//   Page setup, Print            - printing and page setup
//   Search/Replace               - search and replace
//   Renum, message double-click  - renumbering and error navigation
//   Save in file / Read from file (device setting), Save in device,
//   Read from device, and the host's binary file open
//                                - exchange with device and archive
#include "editor/PlcEditorDlg.h"

namespace plc {

void CPlcEditorDlg::OnPageSetup() {}           // NOT BUILT YET: page setup dialog
void CPlcEditorDlg::OnFilePrint() {}           // NOT BUILT YET: printing
void CPlcEditorDlg::OnSearchReplace() {}       // NOT BUILT YET: search and replace
void CPlcEditorDlg::OnRenum() {}               // NOT BUILT YET: renumbering
void CPlcEditorDlg::OnDblclkMessages() {}      // NOT BUILT YET: error navigation
void CPlcEditorDlg::OnSaveInFile() {}          // NOT BUILT YET: archive exchange
void CPlcEditorDlg::OnReadFromFile() {}        // NOT BUILT YET: archive exchange
void CPlcEditorDlg::OnSaveInDevice() {}        // NOT BUILT YET: device exchange
void CPlcEditorDlg::OnReadFromDevice() {}      // NOT BUILT YET: device exchange
void CPlcEditorDlg::OpenBinaryFile(const std::string&) {}  // NOT BUILT YET: binary files

}  // namespace plc
