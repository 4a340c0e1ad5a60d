#include "platform/win32/Win32Accessibility.h"

#include <oleacc.h>

namespace durmivela::win32 {
namespace {

// Spelt out here: MinGW's import library resolves these GUIDs to thunks,
// not to the data they stand for.
constexpr GUID kClsidAccPropServices{0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr GUID kIidAccPropServices{0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr GUID kPropidName{0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};
constexpr GUID kPropidDescription{0x4d48dfe4, 0xbd3f, 0x491f, {0xa6, 0x48, 0x49, 0x2d, 0x6f, 0x20, 0xc5, 0x88}};

}  // namespace

OleaccAnnotations::~OleaccAnnotations() {
    if (services_) services_->Release();
    if (comStarted_) CoUninitialize();
}

IAccPropServices* OleaccAnnotations::services() {
    if (tried_) return services_;
    tried_ = true;
    // S_FALSE (already started on this thread) is balanced by CoUninitialize
    // too; a thread already in the multithreaded apartment can use COM as is.
    const HRESULT started = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    comStarted_ = SUCCEEDED(started);
    void* made = nullptr;
    if (SUCCEEDED(CoCreateInstance(kClsidAccPropServices, nullptr, CLSCTX_INPROC_SERVER, kIidAccPropServices, &made)))
        services_ = static_cast<IAccPropServices*>(made);
    return services_;
}

void OleaccAnnotations::annotate(HWND window, const std::wstring& name, const std::wstring& description) {
    IAccPropServices* props = services();
    if (!props) return;
    const std::pair<const GUID&, const std::wstring&> texts[] = {{kPropidName, name}, {kPropidDescription, description}};
    for (const auto& [property, text] : texts) {
        MSAAPROPID id = property;
        if (text.empty()) props->ClearHwndProps(window, OBJID_CLIENT, CHILDID_SELF, &id, 1);
        else props->SetHwndPropStr(window, OBJID_CLIENT, CHILDID_SELF, id, text.c_str());
    }
    // A screen reader on the control reads the new words at once.
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window, OBJID_CLIENT, CHILDID_SELF);
    NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, window, OBJID_CLIENT, CHILDID_SELF);
}

void OleaccAnnotations::clear(HWND window) {
    if (!services_) return;  // nothing was ever annotated
    MSAAPROPID ids[] = {kPropidName, kPropidDescription};
    services_->ClearHwndProps(window, OBJID_CLIENT, CHILDID_SELF, ids, 2);
}

}  // namespace durmivela::win32
