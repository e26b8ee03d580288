// SPDX-License-Identifier: GPL-3.0-or-later
// A minimal commissioning host of the Torvix control, built on the public
// header alone: it loads the module, creates the control, opens the editor on
// a programme and prints every event the control fires. Closing the editor
// ends it; with --close it closes the editor itself right after opening.
//
//   c++ -fPIC host.cpp $(pkg-config --cflags --libs torvix) -o torvix-host
//   ./torvix-host $(pkg-config --variable=module torvix) programme.plc [--close]
#include <dlfcn.h>
#include <torvix/torvix.h>

#include <QApplication>
#include <cstdio>
#include <cstring>

static const char* const kEvents[] = TORVIX_EVENT_NAMES_INIT;

// The event sink: a TorvixDispatch of our own that prints each event.
static TorvixResult SinkQueryInterface(TorvixDispatch* self, const TorvixGuid* iid, void** out) {
    const TorvixGuid events = TORVIX_IID_DTORVIXEVENTS_INIT, dispatch = TORVIX_IID_IDISPATCH_INIT;
    const bool known =
        !std::memcmp(iid, &events, sizeof events) || !std::memcmp(iid, &dispatch, sizeof dispatch);
    *out = known ? self : nullptr;
    return known ? TORVIX_S_OK : TORVIX_E_NOINTERFACE;
}
static uint32_t SinkAddRef(TorvixDispatch*) { return 1; }  // lives as long as the host
static uint32_t SinkRelease(TorvixDispatch*) { return 1; }
static TorvixResult SinkTypeInfo(TorvixDispatch*, const void**) { return TORVIX_E_NOTIMPL; }
static TorvixResult SinkIdOfName(TorvixDispatch*, const char*, int32_t*) {
    return TORVIX_E_NOTIMPL;
}
static TorvixResult SinkInvoke(TorvixDispatch*, int32_t id, TorvixVariant* args, uint32_t count,
                               TorvixVariant*) {
    std::printf("event %d %s(", id, id >= 1 && id <= TORVIX_EVENT_COUNT ? kEvents[id] : "?");
    for (uint32_t i = 0; i < count; ++i) {
        const TorvixVariant& a = args[i];
        if (a.type == TORVIX_VT_STRING)
            std::printf("%s\"%.*s\"", i ? ", " : "", int(a.strSize), a.str);
        if (a.type == TORVIX_VT_STRINGREF) std::printf("%sby reference", i ? ", " : "");
        if (a.type == TORVIX_VT_BOOL)
            std::printf("%s%s", i ? ", " : "", a.boolVal ? "TRUE" : "FALSE");
    }
    std::printf(")\n");
    std::fflush(stdout);
    if (id == TORVIX_DISPID_PlcOnCancel) QApplication::quit();
    return TORVIX_S_OK;
}
static const TorvixDispatchVtbl kSinkVtbl = {SinkQueryInterface, SinkAddRef,   SinkRelease,
                                             SinkTypeInfo,       SinkIdOfName, SinkInvoke};

// Calls a method with one string argument or none and answers its BOOL.
static bool Call(TorvixDispatch* control, int32_t id, const char* text = nullptr) {
    TorvixVariant arg{}, result{};
    arg.type = TORVIX_VT_STRING;
    arg.str = text;
    arg.strSize = text ? std::strlen(text) : 0;
    const TorvixResult hr = control->vtbl->Invoke(control, id, &arg, text ? 1 : 0, &result);
    return hr == TORVIX_S_OK && (result.type != TORVIX_VT_BOOL || result.boolVal);
}

int main(int argc, char** argv) {
    if (argc < 3)
        return std::fprintf(stderr, "usage: %s MODULE PROGRAMME.plc [--close]\n", argv[0]), 2;
    QApplication app(argc, argv);
    void* module = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    auto getClassObject =
        module ? (TorvixDllGetClassObjectFn)dlsym(module, "DllGetClassObject") : nullptr;
    if (!getClassObject) return std::fprintf(stderr, "cannot load %s: %s\n", argv[1], dlerror()), 2;

    const TorvixGuid clsid = TORVIX_CLSID_TORVIX_INIT, factoryIid = TORVIX_IID_ICLASSFACTORY_INIT;
    const TorvixGuid controlIid = TORVIX_IID_DTORVIX_INIT,
                     eventsIid = TORVIX_IID_DTORVIXEVENTS_INIT;
    const TorvixGuid containerIid = TORVIX_IID_ICONNECTIONPOINTCONTAINER_INIT;
    TorvixClassFactory* factory = nullptr;
    TorvixDispatch* control = nullptr;
    TorvixConnectionPointContainer* container = nullptr;
    TorvixConnectionPoint* point = nullptr;
    if (getClassObject(&clsid, &factoryIid, (void**)&factory) != TORVIX_S_OK ||
        factory->vtbl->CreateInstance(factory, nullptr, &controlIid, (void**)&control) !=
            TORVIX_S_OK ||
        control->vtbl->QueryInterface(control, &containerIid, (void**)&container) != TORVIX_S_OK ||
        container->vtbl->FindConnectionPoint(container, &eventsIid, &point) != TORVIX_S_OK)
        return std::fprintf(stderr, "the module offers no control\n"), 1;
    TorvixDispatch sink = {&kSinkVtbl};
    uint32_t cookie = 0;
    point->vtbl->Advise(point, (TorvixUnknown*)&sink, &cookie);

    bool ok = Call(control, TORVIX_DISPID_PlcCreate);
    std::printf("PlcCreate: %s\n", ok ? "TRUE" : "FALSE");
    ok = ok && Call(control, TORVIX_DISPID_PlcFileOpen, argv[2]);
    std::printf("PlcFileOpen: %s\n", ok ? "TRUE" : "FALSE");
    std::fflush(stdout);
    if (ok && argc > 3 && !std::strcmp(argv[3], "--close"))
        ok = Call(control, TORVIX_DISPID_PlcDestroy);
    else if (ok)
        app.exec();

    point->vtbl->Unadvise(point, cookie);
    point->vtbl->Release(point);
    container->vtbl->Release(container);
    control->vtbl->Release(control);
    return ok ? 0 : 1;
}
