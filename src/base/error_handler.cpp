#include "base/error_handler.h"

#include <utility>

namespace orvalet {
namespace {

ErrorHandler& CurrentHandler() {
    static ErrorHandler handler;
    return handler;
}

std::wstring Widen(const char* text) {
    std::wstring result;
    for (; *text; ++text) result.push_back(static_cast<unsigned char>(*text));
    return result;
}

std::wstring DescribeCurrentException() {
    try {
        throw;
    } catch (const std::exception& e) {
        return Widen(e.what());
    } catch (...) {
        return L"Unknown error";
    }
}

}  // namespace

ErrorHandler SetErrorHandler(ErrorHandler handler) {
    return std::exchange(CurrentHandler(), std::move(handler));
}

void ReportCurrentException() noexcept {
    try {
        const std::wstring message = DescribeCurrentException();
        if (CurrentHandler()) CurrentHandler()(message);
    } catch (...) {
        // A handler that fails itself has nowhere left to report to.
    }
}

}  // namespace orvalet
