#pragma once
// Names for screen readers of the controls that no visible label names.
// Windows' accessibility proxy names a list or a track bar after the static
// just before it; where none stands, the name is given by dynamic annotation:
// the accessibility library's property service (IAccPropServices) gives the
// proxy the name of the control's client object. The library and COM are
// loaded with the first name given; a system without them leaves the
// controls unnamed.
#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

namespace orvalet::win32 {

class AccessibleNames {
public:
    // How a name reaches the system; empty: the annotation service.
    using Annotate = std::function<void(HWND control, const wchar_t* name)>;

    explicit AccessibleNames(Annotate annotate = {});
    AccessibleNames(const AccessibleNames&) = delete;
    AccessibleNames& operator=(const AccessibleNames&) = delete;
    ~AccessibleNames();

    void Set(HWND control, const wchar_t* name);
    // Takes back the names given, while their controls still exist.
    void Clear() noexcept;

private:
    class Service;

    Annotate annotate_;
    std::unique_ptr<Service> service_;
    std::vector<HWND> named_;
};

}  // namespace orvalet::win32
