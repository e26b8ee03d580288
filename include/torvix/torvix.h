// SPDX-License-Identifier: GPL-3.0-or-later
/* torvix.h: what a host needs to embed the Torvix control module
 * (libtorvix.so.1), the PLC programme editor of the servo drive, in C or C++:
 * the module's entry points, the layouts of the interfaces a host calls, the
 * class and interface ids, the dispatch ids of the control's methods and
 * events, and the result codes.
 *
 * A host, step by step (examples/host-c/host.c does all of it in C99):
 *   1. TorvixInitialize(&argc, argv): the Qt application the editor's window
 *      needs, unless the host runs its own QApplication;
 *   2. DllRegisterServer() once, when the host wants the control in the
 *      registry file (not needed to use it);
 *   3. DllGetClassObject(TORVIX_CLSID_TORVIX, TORVIX_IID_ICLASSFACTORY) and
 *      CreateInstance(NULL, TORVIX_IID_DTORVIX): the control, a dispatch
 *      interface whose methods are called by dispatch id through Invoke;
 *   4. QueryInterface(TORVIX_IID_ICONNECTIONPOINTCONTAINER),
 *      FindConnectionPoint(TORVIX_IID_DTORVIXEVENTS) and Advise(sink): the
 *      host's own TorvixDispatch receives the events through its Invoke;
 *   5. PlcSetTmpFileName, PlcSetPlcProjPath, PlcCreate, PlcFileOpen, ...;
 *   6. TorvixRunEventLoop() (or TorvixProcessEvents() from the host's own
 *      loop) while the editor is open; the user's work reaches the host as
 *      events, the close as PlcOnCancel;
 *   7. Unadvise, Release every interface pointer, TorvixUninitialize().
 *
 * Interfaces. Every interface starts with a pointer to its table of
 * functions; each function takes the interface pointer as its first argument
 * ("self"): control->vtbl->Invoke(control, ...).
 *
 * Reference counting. A function that hands out an interface pointer
 * (DllGetClassObject, CreateInstance, QueryInterface, FindConnectionPoint)
 * has added a reference for the caller, who calls Release once when done
 * with it; a pointer the host copies it AddRefs first. The object goes with
 * its last reference: the control closes its editor window then, without
 * the save question and without PlcOnCancel (a changed text is kept as a
 * recovery copy in $XDG_STATE_HOME/plcedit/recovery/). Pointers passed into a
 * function (Advise's sink, the arguments of Invoke) stay the caller's: the
 * callee AddRefs what it keeps (Advise holds the sink until Unadvise or
 * until the control goes). The two class factories live as long as the
 * module: AddRef and Release on them do nothing, LockServer(TRUE) keeps the
 * module loaded until LockServer(FALSE). A host may release the control
 * inside an event's handler; the call that fired the event finishes safely.
 *
 * Strings. Strings cross the interface as bytes with a size (str/strSize,
 * TorvixStringRef's data/size) and need no terminating NUL. File and folder
 * names are passed to the file system as they are: UTF-8 on Linux, the
 * system's encoding of file names. Programme names and the programme text
 * are the drive's 8-bit text, ASCII in practice. Names (GetIDOfName) are
 * NUL-terminated. A string a callee receives is valid during the call
 * only: copy what you keep.
 *
 * Threads. The module is not thread-safe. The thread that creates the Qt
 * application (TorvixInitialize, or the host's own QApplication) is the
 * module's thread: every call into the module, the entry points and the
 * interface functions alike, comes from it, and the events arrive on it,
 * synchronously, from inside the call or the event loop that caused them.
 *
 * Versions. TORVIX_VERSION_MAJOR changes, together with the module's
 * soname (TORVIX_MODULE_NAME), only when a host built against an older
 * header could no longer use the module; TORVIX_VERSION_MINOR grows when
 * functions, methods or events are added. A host checks at run time that
 * the module fits it: TORVIX_VERSION_FITS(TorvixGetVersion()), the same
 * major version and at least the header's minor one.
 *
 * Results. TORVIX_S_OK is success; TORVIX_S_FALSE a success that did
 * nothing or answers "no"; the TORVIX_E_... codes, negative as int32_t, are
 * failures (TORVIX_FAILED). A method's own answer (the system's BOOL) comes
 * in Invoke's result, not in its TorvixResult.
 */
#ifndef TORVIX_TORVIX_H
#define TORVIX_TORVIX_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* ---- version ---- */
/* The version of this header's interface; TorvixGetVersion() gives the
 * module's. TORVIX_VERSION compares in #if. */
#define TORVIX_VERSION_MAJOR 1
#define TORVIX_VERSION_MINOR 0
#define TORVIX_VERSION (TORVIX_VERSION_MAJOR * 65536 + TORVIX_VERSION_MINOR)
#define TORVIX_VERSION_MAJOR_OF(version) ((uint32_t)(version) >> 16)
#define TORVIX_VERSION_MINOR_OF(version) ((uint32_t)(version) & 0xFFFFu)
/* Whether a module of `version` (TorvixGetVersion()) serves a host built
 * against this header: the same major version, at least this minor one. */
#define TORVIX_VERSION_FITS(version)                            \
    (TORVIX_VERSION_MAJOR_OF(version) == TORVIX_VERSION_MAJOR && \
     (uint32_t)(version) >= (uint32_t)TORVIX_VERSION)

/* The module's file name: the shared library's soname, whose number is
 * TORVIX_VERSION_MAJOR. */
#define TORVIX_MODULE_NAME "libtorvix.so.1"

/* ---- results ---- */
typedef int32_t TorvixResult;

#define TORVIX_SUCCEEDED(result) ((TorvixResult)(result) >= 0)
#define TORVIX_FAILED(result) ((TorvixResult)(result) < 0)

#define TORVIX_S_OK ((TorvixResult)0)
#define TORVIX_S_FALSE ((TorvixResult)1)
#define TORVIX_E_NOTIMPL ((TorvixResult)0x80004001)
#define TORVIX_E_NOINTERFACE ((TorvixResult)0x80004002)
#define TORVIX_E_POINTER ((TorvixResult)0x80004003)
#define TORVIX_E_OUTOFMEMORY ((TorvixResult)0x8007000E)
#define TORVIX_E_FAIL ((TorvixResult)0x80004005)
#define TORVIX_E_UNEXPECTED ((TorvixResult)0x8000FFFF)
#define TORVIX_E_INVALIDARG ((TorvixResult)0x80070057)
#define TORVIX_CLASS_E_NOAGGREGATION ((TorvixResult)0x80040110)
#define TORVIX_CLASS_E_CLASSNOTAVAILABLE ((TorvixResult)0x80040111)
#define TORVIX_DISP_E_MEMBERNOTFOUND ((TorvixResult)0x80020003)
#define TORVIX_DISP_E_TYPEMISMATCH ((TorvixResult)0x80020005)
#define TORVIX_DISP_E_UNKNOWNNAME ((TorvixResult)0x80020006)
#define TORVIX_DISP_E_BADPARAMCOUNT ((TorvixResult)0x8002000E)
#define TORVIX_CONNECT_E_NOCONNECTION ((TorvixResult)0x80040200)
#define TORVIX_CONNECT_E_CANNOTCONNECT ((TorvixResult)0x80040202)
/* The registration's own codes stand apart from CONNECT_E_..., so that each
 * code names one failure. */
#define TORVIX_SELFREG_E_TYPELIB ((TorvixResult)0x80040210)
#define TORVIX_SELFREG_E_CLASS ((TorvixResult)0x80040211)

/* ---- identifiers ---- */
typedef struct TorvixGuid {
    uint32_t data1;
    uint16_t data2;
    uint16_t data3;
    uint8_t data4[8];
} TorvixGuid;

/* Initialisers of the ids, usable in constant expressions:
 *   static const TorvixGuid clsid = TORVIX_CLSID_TORVIX_INIT; */
#define TORVIX_GUID_TORVIX_(last) \
    { 0x5A61E0##last, 0x2B7C, 0x4D19, { 0x8E, 0x3F, 0x6C, 0x0D, 0x4B, 0x9A, 0x7E, 0x21 } }
/* The type library (the module's description of the control, DllGetTypeLib). */
#define TORVIX_LIBID_TORVIXLIB_INIT TORVIX_GUID_TORVIX_(3C)
/* _DTorvix, the control's dispatch interface: its methods. */
#define TORVIX_IID_DTORVIX_INIT TORVIX_GUID_TORVIX_(3D)
/* _DTorvixEvents, the dispatch interface a host's event sink implements. */
#define TORVIX_IID_DTORVIXEVENTS_INIT TORVIX_GUID_TORVIX_(3E)
/* The control's class. */
#define TORVIX_CLSID_TORVIX_INIT TORVIX_GUID_TORVIX_(3F)
/* The class of the control's property page (the version and copyright box). */
#define TORVIX_CLSID_TORVIXPROPPAGE_INIT TORVIX_GUID_TORVIX_(40)
#define TORVIX_IID_IUNKNOWN_INIT \
    { 0x00000000, 0x0000, 0x0000, { 0xC0, 0, 0, 0, 0, 0, 0, 0x46 } }
#define TORVIX_IID_ICLASSFACTORY_INIT \
    { 0x00000001, 0x0000, 0x0000, { 0xC0, 0, 0, 0, 0, 0, 0, 0x46 } }
#define TORVIX_IID_IDISPATCH_INIT \
    { 0x00020400, 0x0000, 0x0000, { 0xC0, 0, 0, 0, 0, 0, 0, 0x46 } }
#define TORVIX_IID_ICONNECTIONPOINTCONTAINER_INIT \
    { 0xB196B284, 0xBAB4, 0x101A, { 0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07 } }
#define TORVIX_IID_ICONNECTIONPOINT_INIT \
    { 0xB196B286, 0xBAB4, 0x101A, { 0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07 } }

/* The ProgID of the control, under which DllRegisterServer records it. */
#define TORVIX_PROGID_CONTROL "TORVIX.TorvixCtrl.1"

/* ---- the control's methods (_DTorvix) ----
 * Called through Invoke with their dispatch id. Invoke answers TORVIX_S_OK
 * when the method ran, whatever its own answer; the method's answer, a
 * TORVIX_VT_BOOL, is in Invoke's result (TRUE: done, FALSE: refused), and
 * methods without an answer leave TORVIX_VT_EMPTY there. A string parameter
 * takes a TORVIX_VT_STRING (or a TORVIX_VT_STRINGREF, read only).
 *
 * One control at a time: the module has one editor. Creating a second
 * control takes the editor over; once a control is released, the methods of
 * any other control still held answer FALSE.
 *
 * PlcCreate()
 *     Opens the editor window, centred on the screen; when it is open,
 *     restores, raises and activates it. TRUE; FALSE when the window cannot
 *     be made or the control has no editor (see above).
 * PlcSetOnline()
 *     The drive is connected: enables Save in device, Read from device and
 *     Compare with device, which fire PlcFileToDevice and PlcFileFromDevice.
 *     The window need not be open. TRUE; FALSE without an editor.
 * PlcSetOffline()
 *     Disables those three commands again (the initial state). TRUE; FALSE
 *     without an editor.
 * PlcFileOpen(lpFileName)
 *     Opens the programme text `lpFileName` in the open window, without the
 *     save question: a changed text is first kept as a recovery copy, whose
 *     name the message list shows. A file that cannot be read is reported in
 *     the editor's message box. TRUE when the control has an editor (even if
 *     the window is closed, which opens nothing); FALSE without one.
 * PlcDestroy()
 *     Closes the window as the user's Close does: the editor asks whether to
 *     save a changed text (Cancel keeps the window open), then fires
 *     PlcOnCancel and closes. TRUE when the window was open; FALSE when no
 *     window is open.
 * PlcSetFocus()
 *     Restores, raises and activates the open window and gives it the
 *     keyboard focus. TRUE; FALSE when no window is open.
 * PlcSetTmpFileName(FileName)
 *     The binary programme file the editor writes for Save in file and Save
 *     in device, then announces in PlcFileToArchiv or PlcFileToDevice;
 *     default "PlcTmp.txt" in the current folder. An empty name makes those
 *     commands report that no file name is set. No answer.
 * PlcSetPlcProjPath(ProjPath)
 *     The folder where the editor writes the text declaration file (the
 *     programme's DEF names, NAME.txt) after each save; default "./". No
 *     answer.
 * PlcBinaryFileOpen(lpFileName)
 *     Reads the binary programme file `lpFileName` and lists it in the open
 *     window as canonical source text, after the save question for a
 *     changed text; a file that cannot be read is reported in the editor's
 *     message box. TRUE when the control has an editor (a closed window
 *     lists nothing); FALSE without one.
 */
enum TorvixMethodId {
    TORVIX_DISPID_PlcCreate = 1,         /* BOOL PlcCreate() */
    TORVIX_DISPID_PlcSetOnline = 2,      /* BOOL PlcSetOnline() */
    TORVIX_DISPID_PlcSetOffline = 3,     /* BOOL PlcSetOffline() */
    TORVIX_DISPID_PlcFileOpen = 4,       /* BOOL PlcFileOpen(BSTR lpFileName) */
    TORVIX_DISPID_PlcDestroy = 5,        /* BOOL PlcDestroy() */
    TORVIX_DISPID_PlcSetFocus = 6,       /* BOOL PlcSetFocus() */
    TORVIX_DISPID_PlcSetTmpFileName = 7, /* void PlcSetTmpFileName(BSTR FileName) */
    TORVIX_DISPID_PlcSetPlcProjPath = 8, /* void PlcSetPlcProjPath(BSTR ProjPath) */
    TORVIX_DISPID_PlcBinaryFileOpen = 9, /* BOOL PlcBinaryFileOpen(BSTR lpFileName) */
    TORVIX_DISPID_PlcSetSimulation = 10  /* BOOL PlcSetSimulation(BOOL bEnable): Simulate... enabled
                                          * (TRUE) or grayed (FALSE, as it starts) */
};
#define TORVIX_METHOD_COUNT 10

/* ---- the control's events (_DTorvixEvents) ----
 * Fired synchronously, in the order of advising, to every sink advised at
 * the connection point: the control calls the sink's Invoke with the
 * event's dispatch id and its arguments, and result NULL. What the sink's
 * Invoke returns is ignored; a sink that does not handle an event returns
 * TORVIX_S_OK (or TORVIX_DISP_E_MEMBERNOTFOUND) and does nothing. The
 * editor waits for the handler to return.
 *
 * PlcFileToArchiv(lpFileName)
 *     Save in file: the editor compiled the programme and wrote the binary
 *     programme file `lpFileName` (the name PlcSetTmpFileName set). The host
 *     files it in its archive. PlcUpDateProjName(name, FALSE) comes just
 *     before, the text declaration file is written after.
 * PlcFileFromArchiv(pbstrFileName), by reference
 *     Read from file: the host answers with the name of a binary programme
 *     file from its archive, which the editor reads and lists (after the
 *     save question). Left unchanged, the request is declined and nothing
 *     happens; an empty answer is reported as a missing file name.
 * PlcOnCancel()
 *     The editor window closes (the user's Close, or PlcDestroy), after the
 *     save question; the window goes when the handler returns. The host may
 *     release the control or end its event loop (TorvixQuitEventLoop) here.
 * PlcFileFromDevice(pbstrFileName), by reference
 *     Read from device and Compare with device (enabled by PlcSetOnline):
 *     the host fetches the drive's programme and answers with the name of
 *     the binary programme file holding it. The editor reads it (Read) or
 *     compares it record by record with its own compiled text (Compare). An
 *     empty answer is reported as a missing file name; an answer left
 *     unchanged is a file the editor cannot open, which it reports.
 * PlcFileToDevice(lpFileName)
 *     Save in device: as PlcFileToArchiv, for the drive: the host transfers
 *     the binary programme file `lpFileName` to the drive. After the text
 *     declaration file, PlcUpDateProjName(name, TRUE) follows.
 * PlcUpDateProjName(lpProjName, bOnline)
 *     The programme saved is named `lpProjName` (its %TEXT(NAME) line; empty
 *     without one); bOnline is TRUE for a save in the device, FALSE for one
 *     in the archive. The host updates its project view.
 *
 * Answering by reference: the argument is a TORVIX_VT_STRINGREF whose
 * ref->data/ref->size hold the editor's offer, a blank followed by NUL
 * bytes (260 bytes in all). The host answers by calling
 *     args[0].ref->assign(args[0].ref, name, strlen(name));
 * inside its handler; assign copies the text. The editor takes the answer
 * up to its first NUL byte.
 */
enum TorvixEventId {
    TORVIX_DISPID_PlcFileToArchiv = 1,   /* PlcFileToArchiv(BSTR lpFileName) */
    TORVIX_DISPID_PlcFileFromArchiv = 2, /* PlcFileFromArchiv(BSTR* pbstrFileName) */
    TORVIX_DISPID_PlcOnCancel = 3,       /* PlcOnCancel() */
    TORVIX_DISPID_PlcFileFromDevice = 4, /* PlcFileFromDevice(BSTR* pbstrFileName) */
    TORVIX_DISPID_PlcFileToDevice = 5,   /* PlcFileToDevice(BSTR lpFileName) */
    TORVIX_DISPID_PlcUpDateProjName = 6  /* PlcUpDateProjName(BSTR lpProjName, BOOL bOnline) */
};
#define TORVIX_EVENT_COUNT 6

/* The names of the events by dispatch id, index 0 unused, for a host that
 * shows or logs what it receives:
 *   static const char* const names[] = TORVIX_EVENT_NAMES_INIT; */
#define TORVIX_EVENT_NAMES_INIT                                         \
    { "", "PlcFileToArchiv", "PlcFileFromArchiv", "PlcOnCancel",        \
      "PlcFileFromDevice", "PlcFileToDevice", "PlcUpDateProjName" }

/* ---- dispatch arguments ---- */
enum TorvixVarType {
    TORVIX_VT_EMPTY = 0,
    TORVIX_VT_BOOL = 1,      /* boolVal: nonzero is TRUE */
    TORVIX_VT_INT = 2,       /* intVal; a BOOL parameter takes it too */
    TORVIX_VT_STRING = 3,    /* str, strSize: bytes owned by the caller */
    TORVIX_VT_STRINGREF = 4  /* ref: a string the callee may replace */
};

/* A string passed by reference: the callee reads data/size and replaces
 * the text through assign, which copies it; data/size then show the new
 * text. Valid during the call only. */
typedef struct TorvixStringRef TorvixStringRef;
struct TorvixStringRef {
    const char* data;
    size_t size;
    void (*assign)(TorvixStringRef* self, const char* text, size_t size);
};

/* One argument or result; the fields its type does not name are ignored
 * (zero them: TorvixVariant v = {0}). */
typedef struct TorvixVariant {
    int32_t type; /* enum TorvixVarType */
    int32_t boolVal;
    int32_t intVal;
    const char* str;
    size_t strSize;
    TorvixStringRef* ref;
} TorvixVariant;

/* ---- interfaces ---- */
#ifdef __cplusplus
#define TORVIX_BOOL_ bool
#else
#define TORVIX_BOOL_ _Bool
#endif

typedef struct TorvixUnknown TorvixUnknown;
typedef struct TorvixClassFactory TorvixClassFactory;
typedef struct TorvixDispatch TorvixDispatch;
typedef struct TorvixConnectionPointContainer TorvixConnectionPointContainer;
typedef struct TorvixConnectionPoint TorvixConnectionPoint;

/* The three functions every interface starts with.
 * QueryInterface(self, iid, object): *object is the object's interface
 *     `iid` with a reference added, and TORVIX_S_OK; NULL and
 *     TORVIX_E_NOINTERFACE when the object has no such interface;
 *     TORVIX_E_POINTER when object is NULL.
 * AddRef(self), Release(self): add or drop one reference; they answer the
 *     count after the call (for information only). */
#define TORVIX_UNKNOWN_FUNCTIONS_(Self)                                                  \
    TorvixResult (*QueryInterface)(Self * self, const TorvixGuid* iid, void** object); \
    uint32_t (*AddRef)(Self * self);                                                   \
    uint32_t (*Release)(Self * self)

typedef struct TorvixUnknownVtbl {
    TORVIX_UNKNOWN_FUNCTIONS_(TorvixUnknown);
} TorvixUnknownVtbl;
struct TorvixUnknown {
    const TorvixUnknownVtbl* vtbl;
};

/* CreateInstance(self, outer, iid, object): a new object of the factory's
 *     class, as its interface `iid`, in *object with one reference:
 *     TORVIX_S_OK. TORVIX_CLASS_E_NOAGGREGATION when outer is not NULL;
 *     TORVIX_E_NOINTERFACE for an interface the object lacks; for the
 *     control TORVIX_E_UNEXPECTED when the process has no Qt application
 *     (call TorvixInitialize first). The control answers TORVIX_IID_DTORVIX,
 *     TORVIX_IID_IDISPATCH, TORVIX_IID_IUNKNOWN,
 *     TORVIX_IID_ICONNECTIONPOINTCONTAINER and TORVIX_IID_ICONNECTIONPOINT.
 * LockServer(self, lock): TRUE keeps the module loaded (DllCanUnloadNow
 *     answers TORVIX_S_FALSE) until as many calls with FALSE; TORVIX_S_OK. */
typedef struct TorvixClassFactoryVtbl {
    TORVIX_UNKNOWN_FUNCTIONS_(TorvixClassFactory);
    TorvixResult (*CreateInstance)(TorvixClassFactory* self, TorvixUnknown* outer,
                                   const TorvixGuid* iid, void** object);
    TorvixResult (*LockServer)(TorvixClassFactory* self, TORVIX_BOOL_ lock);
} TorvixClassFactoryVtbl;
struct TorvixClassFactory {
    const TorvixClassFactoryVtbl* vtbl;
};

/* The control's dispatch interface, and the one a host's event sink
 * implements (the control calls only the sink's QueryInterface, AddRef,
 * Release and Invoke).
 * GetTypeInfo(self, info): the module's own description of the interface,
 *     opaque here; TORVIX_S_OK.
 * GetIDOfName(self, name, dispid): the dispatch id of the method `name`
 *     (ASCII case does not matter); TORVIX_DISP_E_UNKNOWNNAME for an unknown
 *     name.
 * Invoke(self, dispid, args, count, result): calls the method `dispid` with
 *     `count` arguments in declaration order; result may be NULL. Answers
 *     TORVIX_S_OK when the method ran (its own answer is in result),
 *     TORVIX_DISP_E_MEMBERNOTFOUND for an unknown id,
 *     TORVIX_DISP_E_BADPARAMCOUNT for the wrong number of arguments,
 *     TORVIX_DISP_E_TYPEMISMATCH for an argument of the wrong type, and
 *     TORVIX_E_POINTER when count is not 0 but args is NULL. */
typedef struct TorvixDispatchVtbl {
    TORVIX_UNKNOWN_FUNCTIONS_(TorvixDispatch);
    TorvixResult (*GetTypeInfo)(TorvixDispatch* self, const void** info);
    TorvixResult (*GetIDOfName)(TorvixDispatch* self, const char* name, int32_t* dispid);
    TorvixResult (*Invoke)(TorvixDispatch* self, int32_t dispid, TorvixVariant* args,
                           uint32_t count, TorvixVariant* result);
} TorvixDispatchVtbl;
struct TorvixDispatch {
    const TorvixDispatchVtbl* vtbl;
};

/* FindConnectionPoint(self, iid, point): the connection point of the
 *     events `iid` (TORVIX_IID_DTORVIXEVENTS), with a reference, in *point;
 *     TORVIX_CONNECT_E_NOCONNECTION for any other id. */
typedef struct TorvixConnectionPointContainerVtbl {
    TORVIX_UNKNOWN_FUNCTIONS_(TorvixConnectionPointContainer);
    TorvixResult (*FindConnectionPoint)(TorvixConnectionPointContainer* self,
                                        const TorvixGuid* iid, TorvixConnectionPoint** point);
} TorvixConnectionPointContainerVtbl;
struct TorvixConnectionPointContainer {
    const TorvixConnectionPointContainerVtbl* vtbl;
};

/* GetConnectionInterface(self, iid): TORVIX_IID_DTORVIXEVENTS in *iid.
 * Advise(self, sink, cookie): the events go to `sink` as well, which must
 *     answer TORVIX_IID_DTORVIXEVENTS or TORVIX_IID_IDISPATCH by
 *     QueryInterface (else TORVIX_CONNECT_E_CANNOTCONNECT); the control
 *     holds that reference until Unadvise or until it goes. *cookie names
 *     the connection for Unadvise.
 * Unadvise(self, cookie): ends the connection and releases the sink;
 *     TORVIX_CONNECT_E_NOCONNECTION for an unknown cookie. */
typedef struct TorvixConnectionPointVtbl {
    TORVIX_UNKNOWN_FUNCTIONS_(TorvixConnectionPoint);
    TorvixResult (*GetConnectionInterface)(TorvixConnectionPoint* self, TorvixGuid* iid);
    TorvixResult (*Advise)(TorvixConnectionPoint* self, TorvixUnknown* sink, uint32_t* cookie);
    TorvixResult (*Unadvise)(TorvixConnectionPoint* self, uint32_t cookie);
} TorvixConnectionPointVtbl;
struct TorvixConnectionPoint {
    const TorvixConnectionPointVtbl* vtbl;
};

/* ---- entry points of the module ---- */

/* Records the control, its property page and the type library in the
 * registry file ($TORVIX_REGISTRY, else $XDG_CONFIG_HOME/torvix/registry.ini,
 * its folder made when missing) with this module's path; other entries of
 * the file stay. TORVIX_S_OK; TORVIX_SELFREG_E_TYPELIB when the file cannot
 * be written, TORVIX_SELFREG_E_CLASS when the classes cannot. */
TorvixResult DllRegisterServer(void);
/* Removes exactly what DllRegisterServer wrote; the same results. */
TorvixResult DllUnregisterServer(void);
/* The class factory of `clsid` (TORVIX_CLSID_TORVIX or
 * TORVIX_CLSID_TORVIXPROPPAGE) as interface `iid`
 * (TORVIX_IID_ICLASSFACTORY or TORVIX_IID_IUNKNOWN) in *object: TORVIX_S_OK.
 * TORVIX_CLASS_E_CLASSNOTAVAILABLE for another class, TORVIX_E_NOINTERFACE
 * for another interface, TORVIX_E_POINTER for a NULL argument. */
TorvixResult DllGetClassObject(const TorvixGuid* clsid, const TorvixGuid* iid, void** object);
/* TORVIX_S_OK when no object of the module is alive and no LockServer holds
 * it, so that a host that loaded the module with dlopen may dlclose it;
 * else TORVIX_S_FALSE. */
TorvixResult DllCanUnloadNow(void);

typedef struct TorvixTypeLibrary TorvixTypeLibrary;
/* The module's type library: its description of the classes, interfaces,
 * methods and events (what control/torvix.idl declares and this header
 * spells out), as data of the module's component layer. Its layout is that
 * layer's, known to PlcEdit's own hosts built from the same source (plcedit
 * reads the event interface from it); to any other host it is opaque, and
 * everything it says is in this header. *lib receives it, valid while the
 * module stays loaded: TORVIX_S_OK; TORVIX_E_POINTER when lib is NULL. */
TorvixResult DllGetTypeLib(const TorvixTypeLibrary** lib);

/* The module's version, TORVIX_VERSION_MAJOR * 65536 + TORVIX_VERSION_MINOR
 * of the header it was built with (see "Versions" above). Any thread. */
uint32_t TorvixGetVersion(void);

/* Makes the Qt application the editor's window needs, for hosts that do not
 * run one themselves (a C host), on the calling thread, which becomes the
 * module's thread. argc and argv are main's: Qt takes its own options
 * (-platform NAME, -display DISPLAY, ...) out of them and keeps both, so
 * they must stay valid until TorvixUninitialize; NULL for both is a program
 * name of the module's own. The editor's windows go on the display of
 * $DISPLAY or $WAYLAND_DISPLAY, or on the platform that $QT_QPA_PLATFORM or
 * -platform names (QT_QPA_PLATFORM=offscreen: no window is shown at all).
 *   TORVIX_S_OK           the application was made;
 *   TORVIX_S_FALSE        the process already has one (the host's own
 *                         QApplication, or an earlier call), nothing done;
 *   TORVIX_E_FAIL         no display is named: no window could be shown
 *                         (without this check Qt would end the process);
 *   TORVIX_E_UNEXPECTED   the process has a Qt application without widgets
 *                         (QCoreApplication, QGuiApplication), or one of
 *                         another thread;
 *   TORVIX_E_INVALIDARG   *argc is negative, or argc is NULL but argv not;
 *   TORVIX_E_POINTER      *argc is positive but argv is NULL. */
TorvixResult TorvixInitialize(int* argc, char** argv);

/* Destroys the application TorvixInitialize made. TORVIX_S_OK;
 * TORVIX_S_FALSE when the module made none (a host's own application is
 * the host's); TORVIX_E_UNEXPECTED when an object of the module is still
 * alive, an event loop is running, or the call comes from another thread
 * than TorvixInitialize's. A host that ends without it loses nothing. */
TorvixResult TorvixUninitialize(void);

/* Runs the Qt event loop: the editor window works and fires its events
 * from inside this call, until TorvixQuitEventLoop (typically from the
 * handler of PlcOnCancel). Closing the last window alone does not end it.
 * TORVIX_S_OK when the loop ended; TORVIX_E_UNEXPECTED without an
 * application, from another thread than the application's, or when a loop
 * of the module's thread already runs (a host inside an event handler). */
TorvixResult TorvixRunEventLoop(void);

/* Ends the running event loop: TorvixRunEventLoop returns once the
 * current handler has returned. TORVIX_S_OK; TORVIX_S_FALSE when no loop
 * runs (nothing is remembered for a later one); TORVIX_E_UNEXPECTED
 * without an application or from another thread. */
TorvixResult TorvixQuitEventLoop(void);

/* For a host with a loop of its own: handles the window system's and the
 * editor's pending events (and the objects waiting to be freed), fires the
 * events they cause, and returns without waiting. Call it often (every 10
 * to 50 ms) while the editor window is open. TORVIX_S_OK;
 * TORVIX_E_UNEXPECTED without an application or from another thread. */
TorvixResult TorvixProcessEvents(void);

/* The entry points as types, for dlsym. */
typedef TorvixResult (*TorvixDllRegisterServerFn)(void);
typedef TorvixResult (*TorvixDllUnregisterServerFn)(void);
typedef TorvixResult (*TorvixDllGetClassObjectFn)(const TorvixGuid* clsid, const TorvixGuid* iid,
                                                  void** object);
typedef TorvixResult (*TorvixDllCanUnloadNowFn)(void);
typedef TorvixResult (*TorvixDllGetTypeLibFn)(const TorvixTypeLibrary** lib);
typedef uint32_t (*TorvixGetVersionFn)(void);
typedef TorvixResult (*TorvixInitializeFn)(int* argc, char** argv);
typedef TorvixResult (*TorvixUninitializeFn)(void);
typedef TorvixResult (*TorvixRunEventLoopFn)(void);
typedef TorvixResult (*TorvixQuitEventLoopFn)(void);
typedef TorvixResult (*TorvixProcessEventsFn)(void);

#ifdef __cplusplus
}
#endif

#endif /* TORVIX_TORVIX_H */
