// What screen readers read of a form window's controls beyond what Windows
// derives itself: the names and descriptions of the model, handed over by
// Dynamic Annotation (oleacc's IAccPropServices).
#pragma once

#include <windows.h>

#include <string>

struct IAccPropServices;

namespace durmivela::win32 {

class AccessibleAnnotations {
public:
    virtual ~AccessibleAnnotations() = default;
    // The name and description assistive technology reads for the child
    // window; an empty text leaves that property to Windows' own rules.
    virtual void annotate(HWND window, const std::wstring& name, const std::wstring& description) = 0;
    // Forgets the window's annotations; called before the window goes.
    virtual void clear(HWND window) = 0;
};

// The system's Dynamic Annotation. COM is started on the calling (the user
// interface) thread on first use, and ended with this object.
class OleaccAnnotations final : public AccessibleAnnotations {
public:
    OleaccAnnotations() = default;
    ~OleaccAnnotations() override;
    OleaccAnnotations(const OleaccAnnotations&) = delete;
    OleaccAnnotations& operator=(const OleaccAnnotations&) = delete;

    void annotate(HWND window, const std::wstring& name, const std::wstring& description) override;
    void clear(HWND window) override;

private:
    IAccPropServices* services();

    IAccPropServices* services_ = nullptr;
    bool tried_ = false;
    bool comStarted_ = false;
};

}  // namespace durmivela::win32
