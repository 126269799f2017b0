#include "ui/controls/accessible_proxy_win.h"

#include <map>
#include <mutex>

namespace lite {
namespace {

struct Subclassed {
  AccessibleProxy* proxy;  // null once the proxy let go while others sat on top
  WNDPROC previous;
};

// Dialogs, and the controls in them, are made on the window thread and, for
// an error after Install, on the engine's thread: the map is guarded, and no
// lock is held while a window handles a message.
std::mutex& WindowsLock() {
  static auto* lock = new std::mutex;
  return *lock;
}

std::map<HWND, Subclassed>& Windows() {
  static auto* windows = new std::map<HWND, Subclassed>;
  return *windows;
}

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

HRESULT ReturnText(const std::wstring& text, BSTR* out) {
  *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace

AccessibleProxy* AccessibleProxy::Create(HWND window) { return new AccessibleProxy(window); }

AccessibleProxy::AccessibleProxy(HWND window) : window_(window) {
  if (FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, kIAccessibleIid,
                                        reinterpret_cast<void**>(&standard_)))) {
    standard_ = nullptr;
  }
  const auto previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc)));
  if (previous) {
    std::lock_guard<std::mutex> guard(WindowsLock());
    Windows()[window] = {this, previous};
  }
}

AccessibleProxy::~AccessibleProxy() { Detach(); }

void AccessibleProxy::Detach() {
  std::unique_lock<std::mutex> guard(WindowsLock());
  auto it = Windows().find(window_);
  if (it != Windows().end() && it->second.proxy == this) {
    // Only the topmost subclass may unhook itself; below another one the
    // entry stays and passes every message on.
    if (GetWindowLongPtrW(window_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&WindowProc)) {
      SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(it->second.previous));
      Windows().erase(it);
    } else {
      it->second.proxy = nullptr;
    }
  }
  guard.unlock();
  if (standard_) {
    standard_->Release();
    standard_ = nullptr;
  }
}

LRESULT CALLBACK AccessibleProxy::WindowProc(HWND window, UINT message, WPARAM wparam,
                                             LPARAM lparam) {
  std::unique_lock<std::mutex> guard(WindowsLock());
  auto it = Windows().find(window);
  if (it == Windows().end()) {
    guard.unlock();
    return DefWindowProcW(window, message, wparam, lparam);
  }
  const Subclassed entry = it->second;
  if (message == WM_NCDESTROY) {
    // The window's last message: its handle may later be given to another.
    if (GetWindowLongPtrW(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&WindowProc)) {
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(entry.previous));
    }
    Windows().erase(it);
  }
  guard.unlock();
  AccessibleProxy* proxy = entry.proxy;
  if (message == WM_GETOBJECT && static_cast<LONG>(lparam) == OBJID_CLIENT && proxy &&
      (proxy->role_ != 0 || !proxy->name_.empty())) {
    return LresultFromObject(kIAccessibleIid, wparam, static_cast<IAccessible*>(proxy));
  }
  return CallWindowProcW(entry.previous, window, message, wparam, lparam);
}

void AccessibleProxy::SetValueText(int percent) {
  value_ = std::to_wstring(percent) + L"%";
  NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, window_, OBJID_CLIENT, CHILDID_SELF);
}

bool AccessibleProxy::AnswersText(const VARIANT& child, const std::wstring& text) const {
  return IsSelf(child) && !text.empty();
}

HRESULT AccessibleProxy::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_INVALIDARG;
  if (riid == IID_IUnknown || riid == IID_IDispatch || riid == kIAccessibleIid) {
    *object = static_cast<IAccessible*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG AccessibleProxy::AddRef() { return InterlockedIncrement(&references_); }

ULONG AccessibleProxy::Release() {
  const ULONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return left;
}

HRESULT AccessibleProxy::GetTypeInfoCount(UINT* count) {
  if (!count) return E_INVALIDARG;
  *count = 0;
  return S_OK;
}
HRESULT AccessibleProxy::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
HRESULT AccessibleProxy::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return E_NOTIMPL;
}
HRESULT AccessibleProxy::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                UINT*) {
  return E_NOTIMPL;
}

HRESULT AccessibleProxy::get_accParent(IDispatch** parent) {
  if (!parent) return E_INVALIDARG;
  return standard_ ? standard_->get_accParent(parent) : E_NOTIMPL;
}

HRESULT AccessibleProxy::get_accChildCount(long* count) {
  if (!count) return E_INVALIDARG;
  return standard_ ? standard_->get_accChildCount(count) : E_NOTIMPL;
}

HRESULT AccessibleProxy::get_accChild(VARIANT child, IDispatch** dispatch) {
  if (!dispatch) return E_INVALIDARG;
  if (IsSelf(child)) {
    *dispatch = static_cast<IAccessible*>(this);
    AddRef();
    return S_OK;
  }
  return standard_ ? standard_->get_accChild(child, dispatch) : E_NOTIMPL;
}

HRESULT AccessibleProxy::get_accName(VARIANT child, BSTR* name) {
  if (!name) return E_INVALIDARG;
  if (AnswersText(child, name_)) return ReturnText(name_, name);
  return standard_ ? standard_->get_accName(child, name) : E_NOTIMPL;
}

HRESULT AccessibleProxy::get_accValue(VARIANT child, BSTR* value) {
  if (!value) return E_INVALIDARG;
  if (AnswersText(child, value_)) return ReturnText(value_, value);
  return standard_ ? standard_->get_accValue(child, value) : E_NOTIMPL;
}

HRESULT AccessibleProxy::get_accDescription(VARIANT child, BSTR* description) {
  if (!description) return E_INVALIDARG;
  if (AnswersText(child, description_)) return ReturnText(description_, description);
  return standard_ ? standard_->get_accDescription(child, description) : E_NOTIMPL;
}

HRESULT AccessibleProxy::get_accRole(VARIANT child, VARIANT* role) {
  if (!role) return E_INVALIDARG;
  if (IsSelf(child) && role_ != 0) {
    VariantInit(role);
    role->vt = VT_I4;
    role->lVal = role_;
    return S_OK;
  }
  return standard_ ? standard_->get_accRole(child, role) : E_NOTIMPL;
}

HRESULT AccessibleProxy::get_accState(VARIANT child, VARIANT* state) {
  if (!state) return E_INVALIDARG;
  return standard_ ? standard_->get_accState(child, state) : E_NOTIMPL;
}

HRESULT AccessibleProxy::get_accHelp(VARIANT child, BSTR* help) {
  if (!help) return E_INVALIDARG;
  return standard_ ? standard_->get_accHelp(child, help) : E_NOTIMPL;
}

HRESULT AccessibleProxy::get_accHelpTopic(BSTR* file, VARIANT child, long* topic) {
  if (!file || !topic) return E_INVALIDARG;
  return standard_ ? standard_->get_accHelpTopic(file, child, topic) : E_NOTIMPL;
}

HRESULT AccessibleProxy::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
  if (!shortcut) return E_INVALIDARG;
  return standard_ ? standard_->get_accKeyboardShortcut(child, shortcut) : E_NOTIMPL;
}

HRESULT AccessibleProxy::get_accFocus(VARIANT* child) {
  if (!child) return E_INVALIDARG;
  return standard_ ? standard_->get_accFocus(child) : E_NOTIMPL;
}

HRESULT AccessibleProxy::get_accSelection(VARIANT* children) {
  if (!children) return E_INVALIDARG;
  return standard_ ? standard_->get_accSelection(children) : E_NOTIMPL;
}

HRESULT AccessibleProxy::get_accDefaultAction(VARIANT child, BSTR* action) {
  if (!action) return E_INVALIDARG;
  return standard_ ? standard_->get_accDefaultAction(child, action) : E_NOTIMPL;
}

HRESULT AccessibleProxy::accSelect(long flags, VARIANT child) {
  return standard_ ? standard_->accSelect(flags, child) : E_NOTIMPL;
}

HRESULT AccessibleProxy::accLocation(long* left, long* top, long* width, long* height,
                                     VARIANT child) {
  if (!left || !top || !width || !height) return E_INVALIDARG;
  return standard_ ? standard_->accLocation(left, top, width, height, child) : E_NOTIMPL;
}

HRESULT AccessibleProxy::accNavigate(long direction, VARIANT start, VARIANT* end) {
  if (!end) return E_INVALIDARG;
  return standard_ ? standard_->accNavigate(direction, start, end) : E_NOTIMPL;
}

HRESULT AccessibleProxy::accHitTest(long left, long top, VARIANT* child) {
  if (!child) return E_INVALIDARG;
  return standard_ ? standard_->accHitTest(left, top, child) : E_NOTIMPL;
}

HRESULT AccessibleProxy::accDoDefaultAction(VARIANT child) {
  return standard_ ? standard_->accDoDefaultAction(child) : E_NOTIMPL;
}

HRESULT AccessibleProxy::put_accName(VARIANT child, BSTR name) {
  return standard_ ? standard_->put_accName(child, name) : E_NOTIMPL;
}

HRESULT AccessibleProxy::put_accValue(VARIANT child, BSTR value) {
  return standard_ ? standard_->put_accValue(child, value) : E_NOTIMPL;
}

}  // namespace lite
