#include "base/win32/accessible_names_win.h"

#include <oleacc.h>

#include <utility>

#include "base/win32/system_function_win.h"
#include "base/win32/unique_handle.h"

namespace orvalet::win32 {
namespace {

// The service's class and the name property, as oleacc.h gives them, here
// so that no import library is needed for them.
constexpr GUID kAccPropServices{0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr GUID kAccPropServicesInterface{
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr GUID kNameProperty{0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};

void ReleaseInterface(IUnknown* object) noexcept { object->Release(); }

}  // namespace

// COM on this thread and the annotation service, while names stand.
class AccessibleNames::Service {
public:
    Service() {
        static const auto initialize =
            OnDemandSystemFunction<decltype(&::CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
        static const auto create =
            OnDemandSystemFunction<decltype(&::CoCreateInstance)>(L"ole32.dll", "CoCreateInstance");
        if (!initialize || !create) return;
        // A thread whose COM is already set up otherwise keeps it.
        uninitialize_ = SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED));
        IAccPropServices* service = nullptr;
        if (SUCCEEDED(create(kAccPropServices, nullptr, CLSCTX_INPROC_SERVER, kAccPropServicesInterface,
                             reinterpret_cast<void**>(&service))))
            service_.reset(service);
    }
    Service(const Service&) = delete;
    Service& operator=(const Service&) = delete;
    ~Service() {
        service_.reset();
        static const auto uninitialize =
            OnDemandSystemFunction<decltype(&::CoUninitialize)>(L"ole32.dll", "CoUninitialize");
        if (uninitialize_ && uninitialize) uninitialize();
    }

    void Set(HWND control, const wchar_t* name) noexcept {
        if (service_) service_.get()->SetHwndPropStr(control, OBJID_CLIENT, CHILDID_SELF, kNameProperty, name);
    }
    void Clear(HWND control) noexcept {
        MSAAPROPID name = kNameProperty;
        if (service_) service_.get()->ClearHwndProps(control, OBJID_CLIENT, CHILDID_SELF, &name, 1);
    }

private:
    bool uninitialize_ = false;
    UniqueHandle<IAccPropServices*, &ReleaseInterface> service_;
};

AccessibleNames::AccessibleNames(Annotate annotate) : annotate_(std::move(annotate)) {}

AccessibleNames::~AccessibleNames() { Clear(); }

void AccessibleNames::Set(HWND control, const wchar_t* name) {
    if (annotate_) {
        annotate_(control, name);
        return;
    }
    if (!service_) service_ = std::make_unique<Service>();
    service_->Set(control, name);
    named_.push_back(control);
}

void AccessibleNames::Clear() noexcept {
    if (!service_) return;
    for (const HWND control : named_) service_->Clear(control);
    named_.clear();
    service_.reset();
}

}  // namespace orvalet::win32
