#pragma once
// An in-memory dialog template without items, for dialogs whose controls are
// created in code. Its size is 0 x 0 dialog units: the dialog sizes itself
// in pixels when it initialises.
#include <windows.h>

#include <cstddef>
#include <cstring>
#include <string_view>
#include <vector>

namespace orvalet::win32 {

class DialogTemplate {
public:
    DialogTemplate(DWORD style, DWORD exStyle, std::wstring_view title) {
        DLGTEMPLATE header{};
        header.style = style;
        header.dwExtendedStyle = exStyle;
        // Header, then no menu, the system dialog class and the title, all
        // WORD-sized and WORD-aligned; the header itself starts DWORD-aligned.
        words_.resize((sizeof header + 1) / sizeof(WORD));
        std::memcpy(words_.data(), &header, sizeof header);
        words_.push_back(0);  // menu
        words_.push_back(0);  // window class
        words_.insert(words_.end(), title.begin(), title.end());
        words_.push_back(0);
    }

    // Memory from the allocator is aligned for any scalar type, DWORD included.
    const DLGTEMPLATE& Get() const { return *reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    std::vector<WORD> words_;
};

}  // namespace orvalet::win32
