// SPDX-License-Identifier: GPL-3.0-or-later
/* Every entry point and interface method of the module, called from C as a
 * careless host would: null pointers where the module writes or reads,
 * counts far beyond the arguments passed, strings that claim terabytes.
 * Each call must answer with its error, and nothing may crash. Run by
 * tst_module, which provides the application the control needs. */
#include <dlfcn.h>
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <torvix/torvix.h>

#define EXPECT(call, expected)                                                                   \
    do {                                                                                         \
        const TorvixResult hr_ = (call);                                                         \
        if (hr_ != (TorvixResult)(expected)) {                                                   \
            snprintf(failure, size, "%s answered 0x%08x, not 0x%08x", #call, (unsigned)hr_,      \
                     (unsigned)(expected));                                                      \
            return 0;                                                                            \
        }                                                                                        \
    } while (0)

static TorvixResult SinkQueryInterface(TorvixUnknown* self, const TorvixGuid* iid, void** object) {
    (void)self;
    (void)iid;
    if (object) *object = NULL;
    return TORVIX_E_NOINTERFACE;
}
static uint32_t SinkAddRef(TorvixUnknown* self) { (void)self; return 1; }
static uint32_t SinkRelease(TorvixUnknown* self) { (void)self; return 1; }
static const TorvixUnknownVtbl kSinkVtbl = {SinkQueryInterface, SinkAddRef, SinkRelease};

static void NoAssign(TorvixStringRef* self, const char* text, size_t size) {
    (void)self;
    (void)text;
    (void)size;
}

int TorvixBoundaryCalls(const char* modulePath, char* failure, size_t size) {
    void* module = dlopen(modulePath, RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        snprintf(failure, size, "cannot load %s", modulePath);
        return 0;
    }
    TorvixDllGetClassObjectFn getClassObject = (TorvixDllGetClassObjectFn)dlsym(module, "DllGetClassObject");
    TorvixDllRegisterServerFn registerServer = (TorvixDllRegisterServerFn)dlsym(module, "DllRegisterServer");
    TorvixDllUnregisterServerFn unregisterServer = (TorvixDllUnregisterServerFn)dlsym(module, "DllUnregisterServer");
    if (!getClassObject || !registerServer || !unregisterServer) {
        snprintf(failure, size, "the module lacks an entry point");
        return 0;
    }
    const TorvixGuid clsid = TORVIX_CLSID_TORVIX_INIT, pageClsid = TORVIX_CLSID_TORVIXPROPPAGE_INIT;
    const TorvixGuid factoryIid = TORVIX_IID_ICLASSFACTORY_INIT, controlIid = TORVIX_IID_DTORVIX_INIT;
    const TorvixGuid containerIid = TORVIX_IID_ICONNECTIONPOINTCONTAINER_INIT;
    const TorvixGuid eventsIid = TORVIX_IID_DTORVIXEVENTS_INIT, unknownIid = TORVIX_IID_IUNKNOWN_INIT;
    void* object = NULL;
    int32_t dispid = 0;
    uint32_t cookie = 0;

    /* The registry is a device here: refused, never read or grown. */
    EXPECT(registerServer(), TORVIX_SELFREG_E_TYPELIB);
    EXPECT(unregisterServer(), TORVIX_SELFREG_E_TYPELIB);

    EXPECT(getClassObject(NULL, &factoryIid, &object), TORVIX_E_POINTER);
    EXPECT(getClassObject(&clsid, NULL, &object), TORVIX_E_POINTER);
    EXPECT(getClassObject(&clsid, &factoryIid, NULL), TORVIX_E_POINTER);
    for (int k = 0; k < 2; ++k) {
        TorvixClassFactory* factory = NULL;
        EXPECT(getClassObject(k ? &pageClsid : &clsid, &factoryIid, (void**)&factory), TORVIX_S_OK);
        EXPECT(factory->vtbl->QueryInterface(factory, NULL, &object), TORVIX_E_POINTER);
        EXPECT(factory->vtbl->QueryInterface(factory, &unknownIid, NULL), TORVIX_E_POINTER);
        EXPECT(factory->vtbl->CreateInstance(factory, NULL, NULL, &object), TORVIX_E_POINTER);
        EXPECT(factory->vtbl->CreateInstance(factory, NULL, &unknownIid, NULL), TORVIX_E_POINTER);
        if (k == 1) {
            TorvixUnknown* page = NULL;
            EXPECT(factory->vtbl->CreateInstance(factory, NULL, &unknownIid, (void**)&page), TORVIX_S_OK);
            EXPECT(page->vtbl->QueryInterface(page, NULL, &object), TORVIX_E_POINTER);
            EXPECT(page->vtbl->QueryInterface(page, &unknownIid, NULL), TORVIX_E_POINTER);
            page->vtbl->Release(page);
        }
        factory->vtbl->Release(factory);
    }

    TorvixClassFactory* factory = NULL;
    TorvixDispatch* control = NULL;
    EXPECT(getClassObject(&clsid, &factoryIid, (void**)&factory), TORVIX_S_OK);
    EXPECT(factory->vtbl->CreateInstance(factory, NULL, &controlIid, (void**)&control), TORVIX_S_OK);
    factory->vtbl->Release(factory);
    EXPECT(control->vtbl->QueryInterface(control, NULL, &object), TORVIX_E_POINTER);
    EXPECT(control->vtbl->QueryInterface(control, &unknownIid, NULL), TORVIX_E_POINTER);
    EXPECT(control->vtbl->GetTypeInfo(control, NULL), TORVIX_E_POINTER);
    EXPECT(control->vtbl->GetIDOfName(control, NULL, &dispid), TORVIX_E_POINTER);
    EXPECT(control->vtbl->GetIDOfName(control, "PlcCreate", NULL), TORVIX_E_POINTER);

    /* Invoke: the member and the count before any argument is read. */
    TorvixVariant arg = {0}, result = {0};
    arg.type = TORVIX_VT_STRING;
    arg.str = "x.plc";
    arg.strSize = 5;
    EXPECT(control->vtbl->Invoke(control, TORVIX_DISPID_PlcFileOpen, &arg, 0xFFFFFFFFu, &result),
           TORVIX_DISP_E_BADPARAMCOUNT);
    EXPECT(control->vtbl->Invoke(control, TORVIX_DISPID_PlcFileOpen, &arg, 1000000u, &result),
           TORVIX_DISP_E_BADPARAMCOUNT);
    EXPECT(control->vtbl->Invoke(control, 12345, &arg, 0xFFFFFFFFu, NULL), TORVIX_DISP_E_MEMBERNOTFOUND);
    EXPECT(control->vtbl->Invoke(control, TORVIX_DISPID_PlcFileOpen, NULL, 1, &result), TORVIX_E_POINTER);
    arg.strSize = (size_t)1 << 40;
    EXPECT(control->vtbl->Invoke(control, TORVIX_DISPID_PlcFileOpen, &arg, 1, &result), TORVIX_E_INVALIDARG);
    arg.str = NULL;
    arg.strSize = 5;
    EXPECT(control->vtbl->Invoke(control, TORVIX_DISPID_PlcFileOpen, &arg, 1, &result), TORVIX_E_POINTER);
    TorvixStringRef ref = {"out.bin", 7, NULL};
    arg.type = TORVIX_VT_STRINGREF;
    arg.ref = NULL;
    EXPECT(control->vtbl->Invoke(control, TORVIX_DISPID_PlcSetTmpFileName, &arg, 1, NULL), TORVIX_E_POINTER);
    arg.ref = &ref;
    EXPECT(control->vtbl->Invoke(control, TORVIX_DISPID_PlcSetTmpFileName, &arg, 1, NULL), TORVIX_E_POINTER);
    ref.assign = NoAssign;
    ref.size = (size_t)1 << 40;
    EXPECT(control->vtbl->Invoke(control, TORVIX_DISPID_PlcSetTmpFileName, &arg, 1, NULL), TORVIX_E_INVALIDARG);

    TorvixConnectionPointContainer* container = NULL;
    TorvixConnectionPoint* point = NULL;
    TorvixUnknown sink = {&kSinkVtbl};
    EXPECT(control->vtbl->QueryInterface(control, &containerIid, (void**)&container), TORVIX_S_OK);
    EXPECT(container->vtbl->FindConnectionPoint(container, NULL, &point), TORVIX_E_POINTER);
    EXPECT(container->vtbl->FindConnectionPoint(container, &eventsIid, NULL), TORVIX_E_POINTER);
    EXPECT(container->vtbl->FindConnectionPoint(container, &eventsIid, &point), TORVIX_S_OK);
    EXPECT(point->vtbl->GetConnectionInterface(point, NULL), TORVIX_E_POINTER);
    EXPECT(point->vtbl->Advise(point, NULL, &cookie), TORVIX_E_POINTER);
    EXPECT(point->vtbl->Advise(point, &sink, NULL), TORVIX_E_POINTER);
    EXPECT(point->vtbl->Advise(point, &sink, &cookie), TORVIX_CONNECT_E_CANNOTCONNECT);
    EXPECT(point->vtbl->Unadvise(point, 0xFFFFFFFFu), TORVIX_CONNECT_E_NOCONNECTION);
    point->vtbl->Release(point);
    container->vtbl->Release(container);
    control->vtbl->Release(control);
    return 1;
}
