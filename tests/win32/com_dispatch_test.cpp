// The in-memory Office exported as real COM objects and consumed again
// through IDispatch and connection points, the way the add-ins reach Office.

#include "common/HostError.h"
#include "common/win32/ComDispatch.h"
#include "common/win32/ComEventSink.h"
#include "common/win32/ComPtr.h"
#include "tests/doubles/FakeOffice.h"
#include "tests/hosts/ComExport.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace cq::win32 {
namespace {

using test::ComExport;
using test::FakeObject;
using test::FakeOffice;

constexpr const char* kInspectorsEvents = "{00063079-0000-0000-C000-000000000046}";
constexpr const char* kInspectorEvents = "{0006307D-0000-0000-C000-000000000046}";
constexpr const char* kExplorersEvents = "{00063078-0000-0000-C000-000000000046}";
constexpr const char* kExplorerEvents = "{0006304F-0000-0000-C000-000000000046}";
constexpr const char* kButtonEvents = "{000C0351-0000-0000-C000-000000000046}";
constexpr const char* kWordEvents2 = "{000209FE-0000-0000-C000-000000000046}";

IID iidOf(const char* text) {
    IID iid{};
    std::wstring wide(text, text + std::char_traits<char>::length(text));
    EXPECT_EQ(IIDFromString(wide.data(), &iid), S_OK);
    return iid;
}

// Records events; copies by-reference arguments' values.
struct Recorder final : EventSink {
    struct Event {
        std::string name;
        std::vector<Variant> args;
    };
    std::vector<Event> events;
    std::function<void(std::span<Variant>)> handler;

    void onEvent(std::string_view name, std::span<Variant> args) override {
        Event e{std::string(name), {}};
        for (auto& a : args) e.args.push_back(a.target());
        events.push_back(std::move(e));
        if (handler) handler(args);
    }
};

// A plain COM object from outside the in-memory Office: members "Value"
// (get/put) and "Fail"; counts its references and what is asked of it.
class Probe final : public IDispatch {
  public:
    Probe() { VariantInit(&value_); }
    ~Probe() { VariantClear(&value_); }

    ULONG refs = 1;
    std::map<std::wstring, int> lookups;
    WORD lastFlags = 0;
    UINT lastNamed = 0;
    DISPID lastNamedId = 0;
    HRESULT failWith = S_OK;       // what "Fail" answers (without EXCEPINFO)
    bool refuseObjectPut = false;  // DISPATCH_PROPERTYPUT of an object is not supported
    const VARIANT& value() const { return value_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
            *object = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
        *n = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID,
                                            DISPID* ids) override {
        std::wstring name = names[0];
        ++lookups[name];
        *ids = _wcsicmp(name.c_str(), L"Value") == 0  ? 1
               : _wcsicmp(name.c_str(), L"Fail") == 0 ? 2
                                                      : DISPID_UNKNOWN;
        return *ids == DISPID_UNKNOWN ? DISP_E_UNKNOWNNAME : S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO*, UINT*) override {
        lastFlags = flags;
        lastNamed = params->cNamedArgs;
        lastNamedId = params->cNamedArgs ? params->rgdispidNamedArgs[0] : 0;
        if (id == 2) return failWith;
        if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
            if (refuseObjectPut && flags == DISPATCH_PROPERTYPUT &&
                params->rgvarg[0].vt == VT_DISPATCH)
                return DISP_E_MEMBERNOTFOUND;
            return VariantCopy(&value_, &params->rgvarg[0]);
        }
        return result ? VariantCopy(result, &value_) : S_OK;
    }

  private:
    VARIANT value_;
};

// A raw event sink: records the wire form of each event and sets a
// by-reference Boolean it receives.
class RawSink final : public IDispatch {
  public:
    explicit RawSink(IID events, bool answersEvents = true)
        : events_(events), answersEvents_(answersEvents) {}
    ULONG refs = 1;
    std::vector<DISPID> ids;
    std::vector<std::vector<VARTYPE>> types;  // rgvarg order

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
            (answersEvents_ && IsEqualIID(riid, events_))) {
            *object = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
        *n = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                     EXCEPINFO*, UINT*) override {
        ids.push_back(id);
        std::vector<VARTYPE> vts;
        for (UINT i = 0; i < params->cArgs; ++i) {
            vts.push_back(params->rgvarg[i].vt);
            if (params->rgvarg[i].vt == (VT_BYREF | VT_BOOL))
                *params->rgvarg[i].pboolVal = VARIANT_TRUE;
        }
        types.push_back(vts);
        return S_OK;
    }

  private:
    IID events_;
    bool answersEvents_;
};

class ComDispatchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        app.set("Version", "11.0.8169")
            .set("Name", "Outlook")
            .readOnly("Name")
            .setObject("Inspectors", &inspectors)
            .setObject("COMAddIns", &addins)
            .method("Echo",
                    [this](std::span<Variant> args) {
                        echoed.clear();
                        for (auto& a : args) echoed.push_back(a.target());
                        return Variant(static_cast<std::int32_t>(args.size()));
                    })
            .method("GetStamp",
                    [](std::span<Variant> args) {
                        args[0].assign("12.03.2024 10:00:00");
                        args[1].assign("Insert date and time");
                        return Variant(true);
                    })
            .method("Produce",
                    [this](std::span<Variant> args) {
                        args[0].assign(Variant(inspector.handle()));
                        args[1].assign(std::int32_t{7});
                        args[2].assign(true);
                        return Variant();
                    })
            .method("Fail91",
                    [](std::span<Variant>) -> Variant {
                        throw HostError(91, "Object variable or With block variable not set");
                    })
            .method("FailHresult", [](std::span<Variant>) -> Variant {
                throw HostError(-2147024891, "Access is denied, says the host");
            });
        addins.method("Item", [this](std::span<Variant>) { return Variant(addin.handle()); });
        inspectors.method("Item",
                          [this](std::span<Variant>) { return Variant(inspector.handle()); });
    }

    void TearDown() override {
        recorder.events.clear();
        echoed.clear();
        EXPECT_EQ(office.liveReferences(), 0) << office.referenced();
        EXPECT_EQ(ComExport::live(), 0);
        EXPECT_EQ(ComDispatch::live(), 0);
        EXPECT_EQ(ComModule::objects(), 0);
        CoUninitialize();
    }

    // The fake object as the add-in would see it: through its COM object.
    Dispatch consume(FakeObject& object) {
        Dispatch d = adoptDispatch(exporter.exportObject(object));
        EXPECT_NE(dynamic_cast<ComDispatch*>(d.get()), nullptr);
        return d;
    }

    FakeOffice office;
    ComExport exporter;
    FakeObject& app = office.make("Application");
    FakeObject& inspectors = office.make("Inspectors");
    FakeObject& inspector = office.make("Inspector");
    FakeObject& addins = office.make("COMAddIns");
    FakeObject& addin = office.make("COMAddIn");
    FakeObject& button = office.make("CommandBarButton");
    Recorder recorder;
    std::vector<Variant> echoed;
};

TEST_F(ComDispatchTest, ValuesCrossBothWaysWithTheirKind) {
    const Variant values[] = {
        Variant("plain"),
        Variant("Grüße – 20 € \xF0\x9D\x84\x9E"),  // accents, euro sign, a surrogate pair
        Variant(""),
        Variant(std::int32_t{0}),
        Variant(std::int32_t{-2147483647 - 1}),
        Variant(std::int32_t{2147483647}),
        Variant(2.5),
        Variant(-1e300),
        Variant(true),
        Variant(false),
        Variant(),
        Variant::missing(),
    };
    Dispatch a = consume(app);
    for (const Variant& v : values) {
        SCOPED_TRACE(v.isString() ? v.toString() : "value");
        a.put("Stored", v);
        EXPECT_EQ(app.value("Stored"), v);
        Variant back = a.get("Stored");
        EXPECT_EQ(back, v);
        EXPECT_EQ(back.isNumber(), v.isNumber());
    }
}

TEST_F(ComDispatchTest, ArgumentsArriveInCallOrder) {
    Dispatch a = consume(app);
    Variant n = a.call("Echo", std::int32_t{1}, "two", 3.5, true, Variant::missing(), Variant());
    EXPECT_EQ(n.toInt(), 6);
    ASSERT_EQ(echoed.size(), 6u);
    EXPECT_EQ(echoed[0], Variant(std::int32_t{1}));
    EXPECT_EQ(echoed[1], Variant("two"));
    EXPECT_EQ(echoed[2], Variant(3.5));
    EXPECT_EQ(echoed[3], Variant(true));
    EXPECT_TRUE(echoed[4].isMissing());
    EXPECT_TRUE(echoed[5].isEmpty());
    EXPECT_EQ(a.call("Echo").toInt(), 0);
}

TEST_F(ComDispatchTest, ByReferenceOutputsAreWrittenBack) {
    struct Case {
        Variant stamp, tooltip;
    };
    // Typed targets (a string, a Boolean) and untyped ones (Empty).
    const Case cases[] = {
        {Variant(""), Variant("")}, {Variant(), Variant()}, {Variant("old"), Variant("old tip")}};
    Dispatch a = consume(app);
    for (const Case& c : cases) {
        Variant stamp = c.stamp, tooltip = c.tooltip;
        Variant ok = a.call("GetStamp", Variant::ref(stamp), Variant::ref(tooltip));
        EXPECT_TRUE(ok.toBool());
        EXPECT_EQ(stamp, Variant("12.03.2024 10:00:00"));
        EXPECT_EQ(tooltip, Variant("Insert date and time"));
    }
    // An object, a number and a Boolean come back too; a by-reference
    // argument that the callee leaves alone keeps its value.
    Variant object, count = std::int32_t{0}, flag = false, untouched = "keep";
    a.call("Produce", Variant::ref(object), Variant::ref(count), Variant::ref(flag),
           Variant::ref(untouched));
    EXPECT_EQ(object.toObject(), consume(inspector));
    EXPECT_EQ(count, Variant(std::int32_t{7}));
    EXPECT_EQ(flag, Variant(true));
    EXPECT_EQ(untouched, Variant("keep"));
}

TEST_F(ComDispatchTest, FailuresKeepNumberAndDescription) {
    office.failing = {"Application.Version"};
    struct Case {
        std::function<void(Dispatch&)> call;
        std::int32_t number;
        std::string description;
    };
    const Case cases[] = {
        {[](Dispatch& a) { a.call("Fail91"); }, 91,
         "Object variable or With block variable not set"},
        {[](Dispatch& a) { a.call("FailHresult"); }, -2147024891,
         "Access is denied, says the host"},
        {[](Dispatch& a) { a.get("Nope"); }, 438,
         "Object doesn't support this property or method: Application.Nope"},
        {[](Dispatch& a) { a.put("Name", "Word"); }, -2147352567, "Property is read-only"},
        {[](Dispatch& a) { a.get("Version"); }, -2147467259, "Failure of Application.Version"},
        // Text cannot go back into a Boolean variable.
        {[](Dispatch& a) {
             Variant flag = false, tip;
             a.call("GetStamp", Variant::ref(flag), Variant::ref(tip));
         },
         13, "Type mismatch"},
    };
    Dispatch a = consume(app);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.description);
        try {
            c.call(a);
            ADD_FAILURE() << "no failure";
        } catch (const HostError& e) {
            EXPECT_EQ(e.number(), c.number);
            EXPECT_EQ(e.description(), c.description);
        }
    }
    EXPECT_EQ(app.value("Name"), Variant("Outlook"));
}

TEST_F(ComDispatchTest, AFailureIsAnAutomationExceptionOnTheWire) {
    ComPtr<IDispatch> raw = ComPtr<IDispatch>::adopt(exporter.exportObject(app));
    std::wstring name = L"Fail91";
    LPOLESTR names[] = {name.data()};
    DISPID id = 0;
    ASSERT_EQ(raw->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK);
    DISPPARAMS none{};
    EXCEPINFO info{};
    VARIANT result;
    EXPECT_EQ(raw->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &none, &result, &info, nullptr),
              DISP_E_EXCEPTION);
    EXPECT_EQ(static_cast<unsigned long>(info.scode), 0x800A005BUL);  // error 91
    EXPECT_STREQ(info.bstrDescription, L"Object variable or With block variable not set");
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrHelpFile);
    EXPECT_EQ(raw->Invoke(9999, IID_NULL, 0, DISPATCH_METHOD, &none, &result, nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);
}

TEST_F(ComDispatchTest, AnObjectHasOneComObjectAndOneWrapper) {
    Dispatch a = consume(app);
    Dispatch first = a.get("Inspectors").toObject();
    Dispatch second = a.get("Inspectors").toObject();
    EXPECT_EQ(first.get(), second.get());  // the same wrapper, its DISPIDs cached
    EXPECT_EQ(first, second);
    ComPtr<IDispatch> raw = ComPtr<IDispatch>::adopt(exporter.exportObject(inspectors));
    EXPECT_EQ(first.rawInterface(), raw.get());
    EXPECT_EQ(ComDispatch::live(), 2);
    EXPECT_EQ(ComExport::live(), 2);
    // Every handle is one reference on the object.
    EXPECT_EQ(inspectors.refs(), 3);
    first.reset();
    EXPECT_EQ(inspectors.refs(), 2);
    // Objects returned by calls (Item) are the same COM objects too.
    EXPECT_EQ(second.call("Item", std::int32_t{1}).toObject(), consume(inspector));
}

TEST_F(ComDispatchTest, ObjectsPutInTravelBackAsThemselves) {
    Probe connect;
    {
        Dispatch a = consume(app);
        Dispatch item =
            a.get("COMAddIns").toObject().call("Item", "Chronoquill.Connect").toObject();
        // A COM object from outside, like the add-in's own Connect object.
        item.put("Object", wrapDispatch(&connect));
        Dispatch back = item.get("Object").toObject();
        EXPECT_EQ(back.rawInterface(), static_cast<IDispatch*>(&connect));
        // An object of the Office itself arrives as that object.
        item.put("Owner", a.get("Inspectors"));
        EXPECT_EQ(addin.object("Owner"), &inspectors);
        addin.set("Object", Variant());
    }
    EXPECT_EQ(connect.refs, 1u);
}

TEST_F(ComDispatchTest, CallsThroughAForeignObject) {
    Probe probe;
    {
        Dispatch p = wrapDispatch(&probe);
        EXPECT_EQ(probe.refs, 2u);
        Dispatch copy = p;
        EXPECT_EQ(probe.refs, 3u);
        EXPECT_EQ(wrapDispatch(&probe).get(), p.get());

        p.put("Value", std::int32_t{5});
        EXPECT_EQ(probe.lastFlags, DISPATCH_PROPERTYPUT);
        EXPECT_EQ(probe.lastNamed, 1u);
        EXPECT_EQ(probe.lastNamedId, DISPID_PROPERTYPUT);
        EXPECT_EQ(p.get("value").toInt(), 5);
        EXPECT_EQ(probe.lastFlags, DISPATCH_PROPERTYGET | DISPATCH_METHOD);
        EXPECT_EQ(copy.call("VALUE").toInt(), 5);
        EXPECT_EQ(probe.lookups[L"Value"], 1);  // looked up once, whatever the case

        // An object value goes by PUTREF when the object has no PUT for it.
        probe.refuseObjectPut = true;
        Probe other;
        p.put("Value", wrapDispatch(&other));
        EXPECT_EQ(probe.lastFlags, DISPATCH_PROPERTYPUTREF);
        EXPECT_EQ(probe.value().vt, VT_DISPATCH);
        p.put("Value", std::int32_t{0});
        EXPECT_EQ(other.refs, 1u);
    }
    EXPECT_EQ(probe.refs, 1u);
}

TEST_F(ComDispatchTest, FailuresWithoutExceptionInfo) {
    struct Case {
        HRESULT hr;
        std::int32_t number;
    };
    const Case cases[] = {
        {E_NOINTERFACE, -2147467262},
        {DISP_E_TYPEMISMATCH, 13},
        {static_cast<HRESULT>(0x800A01A8L), 424},  // a script error passed on
        {E_FAIL, -2147467259},
    };
    Probe probe;
    {
        Dispatch p = wrapDispatch(&probe);
        for (const Case& c : cases) {
            probe.failWith = c.hr;
            try {
                p.call("Fail");
                ADD_FAILURE() << "no failure";
            } catch (const HostError& e) {
                EXPECT_EQ(e.number(), c.number);
                EXPECT_FALSE(e.description().empty());
            }
        }
        try {
            p.get("Missing");
            ADD_FAILURE() << "no failure";
        } catch (const HostError& e) {
            EXPECT_EQ(e.number(), 438);
            EXPECT_EQ(e.description(), "Object doesn't support this property or method");
        }
    }
    EXPECT_EQ(probe.refs, 1u);
}

struct EventCase {
    const char* iid;
    const char* name;
    int objectArgs;
};

void PrintTo(const EventCase& c, std::ostream* os) { *os << c.name << " of " << c.iid; }

class ComEventTest : public ComDispatchTest, public ::testing::WithParamInterface<EventCase> {};

TEST_P(ComEventTest, EventsReachTheSinkByName) {
    const EventCase& c = GetParam();
    FakeObject& source = office.make("Source");
    FakeObject& arg1 = office.make("Arg1");
    FakeObject& arg2 = office.make("Arg2");
    {
        Dispatch s = consume(source);
        auto sub = s.advise(c.iid, recorder);
        EXPECT_EQ(source.subscribers(c.iid), 1);
        std::vector<Variant> args;
        if (c.objectArgs > 0) args.push_back(arg1.handle());
        if (c.objectArgs > 1) args.push_back(arg2.handle());
        source.fire(c.iid, c.name, args);
        ASSERT_EQ(recorder.events.size(), 1u);
        EXPECT_EQ(recorder.events[0].name, c.name);
        ASSERT_EQ(recorder.events[0].args.size(), args.size());
        const Dispatch expected[] = {consume(arg1), consume(arg2)};
        for (size_t i = 0; i < args.size(); ++i)
            EXPECT_EQ(recorder.events[0].args[i].toObject(), expected[i]);
    }
    recorder.events.clear();
    EXPECT_EQ(source.subscribers(c.iid), 0);
}

INSTANTIATE_TEST_SUITE_P(OfficeEvents, ComEventTest,
                         ::testing::Values(EventCase{kInspectorsEvents, "NewInspector", 1},
                                           EventCase{kExplorersEvents, "NewExplorer", 1},
                                           EventCase{kExplorerEvents, "Close", 0},
                                           EventCase{kInspectorEvents, "Activate", 0},
                                           EventCase{kInspectorEvents, "Close", 0},
                                           EventCase{kWordEvents2, "WindowActivate", 2}));

TEST_F(ComDispatchTest, ClickWritesCancelDefaultBack) {
    Dispatch b = consume(button);
    recorder.handler = [](std::span<Variant> args) { args[1].assign(true); };
    auto sub = b.advise(kButtonEvents, recorder);
    Variant cancel = false;
    Variant args[] = {Variant(button.handle()), Variant::ref(cancel)};
    button.fire(kButtonEvents, "Click", args);
    ASSERT_EQ(recorder.events.size(), 1u);
    EXPECT_EQ(recorder.events[0].args[0].toObject(), b);
    EXPECT_EQ(recorder.events[0].args[1], Variant(false));
    EXPECT_EQ(cancel, Variant(true));
}

TEST_F(ComDispatchTest, TheWireFormOfAnEvent) {
    RawSink sink(iidOf(kButtonEvents));
    {
        ComPtr<IDispatch> raw = ComPtr<IDispatch>::adopt(exporter.exportObject(button));
        ComPtr<IConnectionPointContainer> container;
        ASSERT_EQ(raw->QueryInterface(IID_IConnectionPointContainer, container.putVoid()), S_OK);
        ComPtr<IConnectionPoint> point;
        ASSERT_EQ(container->FindConnectionPoint(iidOf(kButtonEvents), point.put()), S_OK);
        DWORD cookie = 0;
        ASSERT_EQ(point->Advise(&sink, &cookie), S_OK);

        Variant cancel = false;
        Variant args[] = {Variant(button.handle()), Variant::ref(cancel)};
        button.fire(kButtonEvents, "Click", args);
        ASSERT_EQ(sink.ids.size(), 1u);
        EXPECT_EQ(sink.ids[0], 1);  // Click
        // Reversed: rgvarg[1] is Ctrl, rgvarg[0] the by-reference CancelDefault.
        EXPECT_EQ(sink.types[0], (std::vector<VARTYPE>{VT_BYREF | VT_BOOL, VT_DISPATCH}));
        EXPECT_EQ(cancel, Variant(true));

        EXPECT_EQ(point->Unadvise(cookie), S_OK);
        EXPECT_EQ(point->Unadvise(cookie), CONNECT_E_NOCONNECTION);
        EXPECT_EQ(button.subscribers(kButtonEvents), 0);

        // A sink that does not answer the event interface is refused, as
        // Office refuses it; an interface that is not an Office one has no
        // connection point.
        RawSink deaf(iidOf(kButtonEvents), false);
        EXPECT_EQ(point->Advise(&deaf, &cookie), CONNECT_E_CANNOTCONNECT);
        EXPECT_EQ(deaf.refs, 1u);
        ComPtr<IConnectionPoint> none;
        EXPECT_EQ(container->FindConnectionPoint(IID_IDispatch, none.put()),
                  CONNECT_E_NOCONNECTION);
    }
    EXPECT_EQ(sink.refs, 1u);
}

TEST_F(ComDispatchTest, TheSinkReadsTheWireForm) {
    ComEventSink* sink = new ComEventSink(iidOf(kButtonEvents), kButtonEvents, recorder);
    for (const IID& iid : {IID_IUnknown, IID_IDispatch, iidOf(kButtonEvents)}) {
        ComPtr<IUnknown> answered;
        EXPECT_EQ(sink->QueryInterface(iid, answered.putVoid()), S_OK);
    }
    ComPtr<IUnknown> refused;
    EXPECT_EQ(sink->QueryInterface(IID_IConnectionPoint, refused.putVoid()), E_NOINTERFACE);

    recorder.handler = [](std::span<Variant> args) { args[1].assign(true); };
    ComPtr<IDispatch> ctrl = ComPtr<IDispatch>::adopt(exporter.exportObject(button));
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT rgvarg[2];
    rgvarg[0].vt = VT_BYREF | VT_BOOL;
    rgvarg[0].pboolVal = &cancel;
    rgvarg[1].vt = VT_DISPATCH;
    rgvarg[1].pdispVal = ctrl.get();
    DISPPARAMS params{rgvarg, nullptr, 2, 0};
    EXPECT_EQ(sink->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr),
              S_OK);
    EXPECT_EQ(cancel, VARIANT_TRUE);
    ASSERT_EQ(recorder.events.size(), 1u);
    EXPECT_EQ(recorder.events[0].name, "Click");
    EXPECT_EQ(recorder.events[0].args[0].toObject().rawInterface(), ctrl.get());

    EXPECT_EQ(sink->Invoke(77, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);

    // Nothing a handler throws leaves Invoke.
    recorder.handler = [](std::span<Variant>) { throw HostError(5, "handler failed"); };
    EXCEPINFO info{};
    EXPECT_EQ(sink->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, &info, nullptr),
              DISP_E_EXCEPTION);
    EXPECT_EQ(static_cast<unsigned long>(info.scode), 0x800A0005UL);
    EXPECT_STREQ(info.bstrDescription, L"handler failed");
    SysFreeString(info.bstrDescription);

    // Detached, it delivers nothing.
    sink->detach();
    EXPECT_EQ(sink->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr),
              S_OK);
    EXPECT_EQ(recorder.events.size(), 2u);
    sink->Release();
}

TEST_F(ComDispatchTest, DestroyingTheSubscriptionUnadvises) {
    Dispatch i = consume(inspectors);
    auto sub = i.advise(kInspectorsEvents, recorder);
    Variant args[] = {Variant(inspector.handle())};
    inspectors.fire(kInspectorsEvents, "NewInspector", args);
    EXPECT_EQ(recorder.events.size(), 1u);
    sub.reset();
    EXPECT_EQ(inspectors.subscribers(kInspectorsEvents), 0);
    inspectors.fire(kInspectorsEvents, "NewInspector", args);
    EXPECT_EQ(recorder.events.size(), 1u);
}

TEST_F(ComDispatchTest, AHandlerMayEndItsOwnSubscription) {
    std::unique_ptr<Subscription> sub;
    {
        Dispatch i = consume(inspector);
        sub = i.advise(kInspectorEvents, recorder);
    }
    // The subscription alone keeps the inspector's connection point.
    recorder.handler = [&](std::span<Variant>) { sub.reset(); };
    inspector.fire(kInspectorEvents, "Close", {});
    inspector.fire(kInspectorEvents, "Close", {});
    EXPECT_EQ(recorder.events.size(), 1u);
    EXPECT_EQ(sub, nullptr);
}

TEST_F(ComDispatchTest, SubscriptionsThatCannotBeMade) {
    Probe probe;
    {
        Dispatch i = consume(inspectors);
        Dispatch p = wrapDispatch(&probe);
        office.failing = {"Inspectors.advise"};
        struct Case {
            std::function<void()> advise;
            std::int32_t number;
        };
        const Case cases[] = {
            {[&] { i.advise("not an id", recorder); }, 5},
            {[&] { i.advise("{12345678-1234-1234-1234-123456789ABC}", recorder); }, 5},
            {[&] { p.advise(kInspectorsEvents, recorder); }, -2147467262},  // no connection points
            {[&] { i.advise(kInspectorsEvents, recorder); }, -2147467259},  // the source refuses
        };
        for (const Case& c : cases) {
            try {
                c.advise();
                ADD_FAILURE() << "subscribed";
            } catch (const HostError& e) {
                EXPECT_EQ(e.number(), c.number);
            }
        }
        EXPECT_EQ(inspectors.subscribers(kInspectorsEvents), 0);
    }
    EXPECT_EQ(probe.refs, 1u);
}

TEST_F(ComDispatchTest, FiringAnEventTheInterfaceLacksIsAnError) {
    Dispatch i = consume(inspectors);
    auto sub = i.advise(kInspectorsEvents, recorder);
    EXPECT_THROW(inspectors.fire(kInspectorsEvents, "NewExplorer", {}), HostError);
    EXPECT_TRUE(recorder.events.empty());
}

}  // namespace
}  // namespace cq::win32
