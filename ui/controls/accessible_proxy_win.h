// What a screen reader learns about one owner-drawn control: its name,
// role, description and value, answered for the control's window while the
// system's standard object answers everything else.
#ifndef UI_CONTROLS_ACCESSIBLE_PROXY_WIN_H_
#define UI_CONTROLS_ACCESSIBLE_PROXY_WIN_H_

#include <windows.h>
#include <oleacc.h>

#include <string>

namespace lite {

// IID_IAccessible. The SDK's constant lives in oleacc's import library as
// data, which a delay-loaded import cannot carry.
inline constexpr IID kIAccessibleIid = {
    0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

class AccessibleProxy final : public IAccessible {
 public:
  // Takes the window's standard accessible object and subclasses |window| so
  // that WM_GETOBJECT for the client area is answered with this proxy (once
  // it has a name or a role). Created with one reference; the control holds
  // it and calls Detach() before it lets it go.
  static AccessibleProxy* Create(HWND window);

  // Puts the window procedure back (when nothing subclassed the window after
  // this proxy) and drops the standard object. Clients that still hold the
  // proxy get E_NOTIMPL for what it forwarded.
  void Detach();

  void set_role(long role) { role_ = role; }
  void set_name(std::wstring name) { name_ = std::move(name); }
  void set_description(std::wstring description) { description_ = std::move(description); }
  void set_value(std::wstring value) { value_ = std::move(value); }
  // The value becomes |percent| followed by "%", and accessibility clients
  // are told that it changed.
  void SetValueText(int percent);

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IDispatch: not offered.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                   EXCEPINFO*, UINT*) override;

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** dispatch) override;
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override;
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override;
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                        VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
  HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override;
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

 private:
  explicit AccessibleProxy(HWND window);
  ~AccessibleProxy();

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  // Answers from |text| when it is set and |child| is the control itself.
  bool AnswersText(const VARIANT& child, const std::wstring& text) const;

  LONG references_ = 1;
  HWND window_;
  IAccessible* standard_ = nullptr;
  long role_ = 0;
  std::wstring name_;
  std::wstring description_;
  std::wstring value_;
};

// Releases the proxy (after Detach) when the owner goes.
struct AccessibleProxyDeleter {
  void operator()(AccessibleProxy* proxy) const {
    proxy->Detach();
    proxy->Release();
  }
};

}  // namespace lite

#endif  // UI_CONTROLS_ACCESSIBLE_PROXY_WIN_H_
