/* torvix.h: what a host needs to embed the Torvix control module
 * (libtorvix.so) — the module's entry points, the layouts of the interfaces
 * a host calls, the class and interface ids, the dispatch ids of the
 * control's methods and events, and the result codes. C and C++.
 *
 * A host loads the module (dlopen), takes the class factory of
 * TORVIX_CLSID_TORVIX from DllGetClassObject, creates the control with the
 * interface TORVIX_IID_DTORVIX (a dispatch interface), advises an event sink
 * at its connection point for TORVIX_IID_DTORVIXEVENTS, and calls the methods
 * by dispatch id through Invoke. The module's editor is a Qt window: the host
 * runs a Qt application (QApplication) on the thread that calls the module.
 *
 * Every interface starts with a pointer to its table of functions; each
 * function takes the interface pointer as its first argument ("self").
 */
#ifndef TORVIX_TORVIX_H
#define TORVIX_TORVIX_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* ---- results ---- */
typedef int32_t TorvixResult;

#define TORVIX_S_OK ((TorvixResult)0)
#define TORVIX_S_FALSE ((TorvixResult)1)
#define TORVIX_E_NOTIMPL ((TorvixResult)0x80004001)
#define TORVIX_E_NOINTERFACE ((TorvixResult)0x80004002)
#define TORVIX_E_POINTER ((TorvixResult)0x80004003)
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
#define TORVIX_SELFREG_E_TYPELIB ((TorvixResult)0x80040200)
#define TORVIX_SELFREG_E_CLASS ((TorvixResult)0x80040201)

/* ---- identifiers ---- */
typedef struct TorvixGuid {
    uint32_t data1;
    uint16_t data2;
    uint16_t data3;
    uint8_t data4[8];
} TorvixGuid;

/* Initialisers of the ids, usable in constant expressions. */
#define TORVIX_GUID_TORVIX_(last) \
    { 0x5A61E0##last, 0x2B7C, 0x4D19, { 0x8E, 0x3F, 0x6C, 0x0D, 0x4B, 0x9A, 0x7E, 0x21 } }
#define TORVIX_LIBID_TORVIXLIB_INIT TORVIX_GUID_TORVIX_(3C)
#define TORVIX_IID_DTORVIX_INIT TORVIX_GUID_TORVIX_(3D)
#define TORVIX_IID_DTORVIXEVENTS_INIT TORVIX_GUID_TORVIX_(3E)
#define TORVIX_CLSID_TORVIX_INIT TORVIX_GUID_TORVIX_(3F)
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

/* The ProgID of the control. */
#define TORVIX_PROGID_CONTROL "TORVIX.TorvixCtrl.1"

/* ---- dispatch ids ---- */
/* Methods of _DTorvix: BOOL results; the file names are strings. */
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

/* Events of _DTorvixEvents, fired synchronously to the advised sinks. */
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
    TORVIX_VT_INT = 2,       /* intVal */
    TORVIX_VT_STRING = 3,    /* str, strSize: 8-bit text owned by the caller */
    TORVIX_VT_STRINGREF = 4  /* ref: a string the callee may replace */
};

/* A string passed by reference: the callee reads data/size and replaces
 * the text through assign, which copies it; data/size then show the new
 * text. */
typedef struct TorvixStringRef TorvixStringRef;
struct TorvixStringRef {
    const char* data;
    size_t size;
    void (*assign)(TorvixStringRef* self, const char* text, size_t size);
};

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

typedef struct TorvixClassFactoryVtbl {
    TORVIX_UNKNOWN_FUNCTIONS_(TorvixClassFactory);
    TorvixResult (*CreateInstance)(TorvixClassFactory* self, TorvixUnknown* outer,
                                   const TorvixGuid* iid, void** object);
    TorvixResult (*LockServer)(TorvixClassFactory* self, TORVIX_BOOL_ lock);
} TorvixClassFactoryVtbl;
struct TorvixClassFactory {
    const TorvixClassFactoryVtbl* vtbl;
};

/* Invoke takes the arguments in declaration order; result may be null. An
 * event sink implements this interface too. GetTypeInfo hands out the
 * module's own description, opaque here. */
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

typedef struct TorvixConnectionPointContainerVtbl {
    TORVIX_UNKNOWN_FUNCTIONS_(TorvixConnectionPointContainer);
    TorvixResult (*FindConnectionPoint)(TorvixConnectionPointContainer* self,
                                        const TorvixGuid* iid, TorvixConnectionPoint** point);
} TorvixConnectionPointContainerVtbl;
struct TorvixConnectionPointContainer {
    const TorvixConnectionPointContainerVtbl* vtbl;
};

/* Advise holds a reference to the sink, which must answer
 * TORVIX_IID_DTORVIXEVENTS or TORVIX_IID_IDISPATCH, until Unadvise. */
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
TorvixResult DllRegisterServer(void);
TorvixResult DllUnregisterServer(void);
TorvixResult DllGetClassObject(const TorvixGuid* clsid, const TorvixGuid* iid, void** object);
TorvixResult DllCanUnloadNow(void);

/* The same as types, for dlsym. */
typedef TorvixResult (*TorvixDllRegisterServerFn)(void);
typedef TorvixResult (*TorvixDllUnregisterServerFn)(void);
typedef TorvixResult (*TorvixDllGetClassObjectFn)(const TorvixGuid* clsid, const TorvixGuid* iid,
                                                  void** object);
typedef TorvixResult (*TorvixDllCanUnloadNowFn)(void);

/* The module's file name: the shared library's soname, whose number changes
 * only when a host built against this header could no longer use it. */
#define TORVIX_MODULE_NAME "libtorvix.so.1"

#ifdef __cplusplus
}
#endif

#endif /* TORVIX_TORVIX_H */
