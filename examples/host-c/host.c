// SPDX-License-Identifier: GPL-3.0-or-later
/* A commissioning host of the Torvix control in plain C99, built on the
 * public header and the module alone, without Qt of its own: it checks the
 * module's version, registers the control, makes the Qt application through
 * the module, creates the control, opens the editor on a programme and
 * answers the control's events: the device is a folder whose program.bin is
 * what the drive holds. Closing the editor ends it; with --close it closes
 * the editor itself once the window is up.
 *
 *   cc -std=c99 host.c $(pkg-config --cflags --libs torvix) -o torvix-host-c
 *   ./torvix-host-c [--device DIR] [--online] [--close] PROGRAMME.plc
 */
#define _POSIX_C_SOURCE 200809L
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <torvix/torvix.h>
#include <unistd.h>

static const char* const kEvents[] = TORVIX_EVENT_NAMES_INIT;

/* ---- the event sink: a TorvixDispatch of the host's own ---- */

typedef struct Sink {
    TorvixDispatch dispatch; /* first: the control sees this */
    uint32_t refs;
    const char* device;      /* the drive's folder */
    char deviceFile[4096];   /* its program.bin */
    int closed;              /* PlcOnCancel came */
} Sink;

static int SameGuid(const TorvixGuid* a, const TorvixGuid* b) { return !memcmp(a, b, sizeof *a); }

static TorvixResult SinkQueryInterface(TorvixDispatch* self, const TorvixGuid* iid, void** out) {
    static const TorvixGuid events = TORVIX_IID_DTORVIXEVENTS_INIT;
    static const TorvixGuid dispatch = TORVIX_IID_IDISPATCH_INIT;
    static const TorvixGuid unknown = TORVIX_IID_IUNKNOWN_INIT;
    if (!out) return TORVIX_E_POINTER;
    *out = NULL;
    if (!iid || !(SameGuid(iid, &events) || SameGuid(iid, &dispatch) || SameGuid(iid, &unknown)))
        return TORVIX_E_NOINTERFACE;
    *out = self;
    self->vtbl->AddRef(self);
    return TORVIX_S_OK;
}

/* The sink lives in main's frame, longer than any reference the control
 * holds; the count only shows that the control keeps the rules. */
static uint32_t SinkAddRef(TorvixDispatch* self) { return ++((Sink*)self)->refs; }
static uint32_t SinkRelease(TorvixDispatch* self) { return --((Sink*)self)->refs; }

static TorvixResult SinkTypeInfo(TorvixDispatch* self, const void** info) {
    (void)self;
    if (info) *info = NULL;
    return TORVIX_E_NOTIMPL;
}

static TorvixResult SinkIdOfName(TorvixDispatch* self, const char* name, int32_t* dispid) {
    (void)self;
    (void)name;
    (void)dispid;
    return TORVIX_E_NOTIMPL;
}

/* Copies `from` into the device's program.bin through a temporary file, so
 * that a failed copy leaves the drive's programme as it was. */
static int CopyToDevice(const Sink* sink, const char* from, size_t fromSize) {
    char source[4096], temporary[4096 + 8];
    char buffer[8192];
    size_t n;
    int ok = 1;
    FILE *in, *out;
    if (fromSize >= sizeof source) return 0;
    memcpy(source, from, fromSize);
    source[fromSize] = '\0';
    snprintf(temporary, sizeof temporary, "%s.new", sink->deviceFile);
    in = fopen(source, "rb");
    if (!in) return 0;
    out = fopen(temporary, "wb");
    if (!out) {
        fclose(in);
        return 0;
    }
    while (ok && (n = fread(buffer, 1, sizeof buffer, in)) > 0) ok = fwrite(buffer, 1, n, out) == n;
    ok = ok && !ferror(in);
    fclose(in);
    ok = (fclose(out) == 0) && ok;
    if (ok) ok = rename(temporary, sink->deviceFile) == 0;
    if (!ok) remove(temporary);
    return ok;
}

static TorvixResult SinkInvoke(TorvixDispatch* self, int32_t id, TorvixVariant* args,
                               uint32_t count, TorvixVariant* result) {
    Sink* sink = (Sink*)self;
    uint32_t i;
    (void)result;
    printf("event %d %s(", (int)id, id >= 1 && id <= TORVIX_EVENT_COUNT ? kEvents[id] : "?");
    for (i = 0; i < count; ++i) {
        const TorvixVariant* a = &args[i];
        if (a->type == TORVIX_VT_STRING)
            printf("%s\"%.*s\"", i ? ", " : "", (int)a->strSize, a->str ? a->str : "");
        if (a->type == TORVIX_VT_STRINGREF) printf("%sby reference", i ? ", " : "");
        if (a->type == TORVIX_VT_BOOL) printf("%s%s", i ? ", " : "", a->boolVal ? "TRUE" : "FALSE");
    }
    printf(")\n");

    switch (id) {
        case TORVIX_DISPID_PlcFileFromDevice:
            /* The drive's programme: answer with the file that holds it. */
            if (count == 1 && args[0].type == TORVIX_VT_STRINGREF)
                args[0].ref->assign(args[0].ref, sink->deviceFile, strlen(sink->deviceFile));
            printf("  answered %s\n", sink->deviceFile);
            break;
        case TORVIX_DISPID_PlcFileFromArchiv:
            /* No archive here: the offer stays as it is, which declines. */
            printf("  declined\n");
            break;
        case TORVIX_DISPID_PlcFileToDevice:
            if (count == 1 && args[0].type == TORVIX_VT_STRING)
                printf("  %s %s\n",
                       CopyToDevice(sink, args[0].str, args[0].strSize) ? "copied to"
                                                                          : "could not copy to",
                       sink->deviceFile);
            break;
        case TORVIX_DISPID_PlcOnCancel:
            sink->closed = 1;
            TorvixQuitEventLoop();
            break;
        default: break;
    }
    fflush(stdout);
    return TORVIX_S_OK;
}

static const TorvixDispatchVtbl kSinkVtbl = {SinkQueryInterface, SinkAddRef,   SinkRelease,
                                             SinkTypeInfo,       SinkIdOfName, SinkInvoke};

/* ---- calling the control ---- */

/* Calls a method with one string argument or none; its BOOL answer, or
 * TRUE for a method without one. */
static int Call(TorvixDispatch* control, int32_t id, const char* text) {
    TorvixVariant arg = {0}, answer = {0};
    TorvixResult hr;
    arg.type = TORVIX_VT_STRING;
    arg.str = text;
    arg.strSize = text ? strlen(text) : 0;
    hr = control->vtbl->Invoke(control, id, &arg, text ? 1 : 0, &answer);
    return hr == TORVIX_S_OK && (answer.type != TORVIX_VT_BOOL || answer.boolVal);
}

static int Report(const char* what, int ok) {
    printf("%s: %s\n", what, ok ? "TRUE" : "FALSE");
    fflush(stdout);
    return ok;
}

static int Fail(const char* what, TorvixResult hr) {
    fprintf(stderr, "torvix-host-c: %s failed (0x%08lX)\n", what, (unsigned long)(uint32_t)hr);
    return 1;
}

int main(int argc, char** argv) {
    static const TorvixGuid clsid = TORVIX_CLSID_TORVIX_INIT;
    static const TorvixGuid factoryIid = TORVIX_IID_ICLASSFACTORY_INIT;
    static const TorvixGuid controlIid = TORVIX_IID_DTORVIX_INIT;
    static const TorvixGuid containerIid = TORVIX_IID_ICONNECTIONPOINTCONTAINER_INIT;
    static const TorvixGuid eventsIid = TORVIX_IID_DTORVIXEVENTS_INIT;
    const uint32_t version = TorvixGetVersion();
    TorvixClassFactory* factory = NULL;
    TorvixDispatch* control = NULL;
    TorvixConnectionPointContainer* container = NULL;
    TorvixConnectionPoint* point = NULL;
    Sink sink;
    const char* programme = NULL;
    char tmpFile[4096];
    uint32_t cookie = 0;
    int online = 0, closeAtOnce = 0, ok, i, round;
    TorvixResult hr;

    /* A module of another major version, or older than this header, lacks
     * what the host was built for. */
    printf("module version %lu.%lu\n", (unsigned long)TORVIX_VERSION_MAJOR_OF(version),
           (unsigned long)TORVIX_VERSION_MINOR_OF(version));
    if (!TORVIX_VERSION_FITS(version)) {
        fprintf(stderr, "torvix-host-c: the module's version does not fit this host\n");
        return 1;
    }

    /* Qt takes its own options (-platform, -display) out of argv. */
    hr = TorvixInitialize(&argc, argv);
    if (hr == TORVIX_E_FAIL) {
        fprintf(stderr, "torvix-host-c: no display to show the editor on (set DISPLAY)\n");
        return 1;
    }
    if (TORVIX_FAILED(hr)) return Fail("TorvixInitialize", hr);

    memset(&sink, 0, sizeof sink);
    sink.dispatch.vtbl = &kSinkVtbl;
    sink.device = ".";
    for (i = 1; i < argc; ++i) {
        if (!strcmp(argv[i], "--device") && i + 1 < argc)
            sink.device = argv[++i];
        else if (!strcmp(argv[i], "--online"))
            online = 1;
        else if (!strcmp(argv[i], "--close"))
            closeAtOnce = 1;
        else if (argv[i][0] != '-' && !programme)
            programme = argv[i];
        else {
            programme = NULL;
            break;
        }
    }
    if (!programme) {
        fprintf(stderr, "usage: %s [--device DIR] [--online] [--close] PROGRAMME.plc\n", argv[0]);
        return 2;
    }
    snprintf(sink.deviceFile, sizeof sink.deviceFile, "%s/program.bin", sink.device);
    snprintf(tmpFile, sizeof tmpFile, "%s/torvix-host-%ld.bin",
             getenv("TMPDIR") ? getenv("TMPDIR") : "/tmp", (long)getpid());

    hr = DllRegisterServer();
    if (hr != TORVIX_S_OK) return Fail("DllRegisterServer", hr);
    printf("registered\n");

    hr = DllGetClassObject(&clsid, &factoryIid, (void**)&factory);
    if (hr != TORVIX_S_OK) return Fail("DllGetClassObject", hr);
    hr = factory->vtbl->CreateInstance(factory, NULL, &controlIid, (void**)&control);
    factory->vtbl->Release(factory);
    if (hr != TORVIX_S_OK) return Fail("CreateInstance", hr);
    hr = control->vtbl->QueryInterface(control, &containerIid, (void**)&container);
    if (hr == TORVIX_S_OK)
        hr = container->vtbl->FindConnectionPoint(container, &eventsIid, &point);
    if (hr == TORVIX_S_OK) hr = point->vtbl->Advise(point, (TorvixUnknown*)&sink, &cookie);
    if (hr != TORVIX_S_OK) return Fail("advising the events", hr);

    Call(control, TORVIX_DISPID_PlcSetTmpFileName, tmpFile);
    Call(control, TORVIX_DISPID_PlcSetPlcProjPath, sink.device);
    ok = Report("PlcCreate", Call(control, TORVIX_DISPID_PlcCreate, NULL));
    ok = ok && Report("PlcFileOpen", Call(control, TORVIX_DISPID_PlcFileOpen, programme));
    if (ok && online) ok = Report("PlcSetOnline", Call(control, TORVIX_DISPID_PlcSetOnline, NULL));

    if (ok && closeAtOnce) {
        /* A loop of the host's own: let the window come up, then close it
         * as a host does when its user leaves the programme. */
        const struct timespec pause = {0, 10 * 1000 * 1000};
        for (round = 0; round < 20; ++round) {
            TorvixProcessEvents();
            nanosleep(&pause, NULL);
        }
        ok = Report("PlcDestroy", Call(control, TORVIX_DISPID_PlcDestroy, NULL));
    } else if (ok) {
        TorvixRunEventLoop();
    }
    printf("editor %s\n", sink.closed ? "closed" : "still open");

    point->vtbl->Unadvise(point, cookie);
    point->vtbl->Release(point);
    container->vtbl->Release(container);
    control->vtbl->Release(control);
    printf("sink references left: %lu\n", (unsigned long)sink.refs);
    remove(tmpFile);
    hr = TorvixUninitialize();
    printf("TorvixUninitialize: %s\n", hr == TORVIX_S_OK ? "S_OK" : "failed");
    return ok && sink.closed && sink.refs == 0 && hr == TORVIX_S_OK ? 0 : 1;
}
