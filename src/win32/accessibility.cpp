#include "win32/accessibility.h"

#include <initguid.h>
#include <oleacc.h>

#include "win32/convert.h"

namespace win32 {
namespace {

// The process's property service, made on first need; null where there is none.
IAccPropServices* Service() {
  static IAccPropServices* const kService = [] {
    IAccPropServices* service = nullptr;
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IAccPropServices, reinterpret_cast<void**>(&service))))
      return static_cast<IAccPropServices*>(nullptr);
    return service;
  }();
  return kService;
}

}  // namespace

void Describe(HWND handle, const ui::Control& model) {
  if (!handle || model.AccessibleName().empty()) return;
  IAccPropServices* service = Service();
  if (!service) return;
  const std::wstring name = Widen(model.AccessibleName());
  service->SetHwndPropStr(handle, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, PROPID_ACC_NAME,
                          name.c_str());
}

}  // namespace win32
